#include "cells/cmcFCache.h"

#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <array>
#include <optional>

std::string cmcFCache::KeyText(const std::string& name, int32_t cellId) {
    return name + "#" + std::to_string(cellId);
}

const cmcFCache::Entry* cmcFCache::FindEntry(const std::string& name, int32_t cellId) const {
    const cmcHash2<Entry>::Entry* found = index_.Find(KeyText(name, cellId));
    return found ? found->value : nullptr;
}

void cmcFCache::Load(const std::string& name, int32_t cellId) {
    auto owned = std::make_unique<Entry>();
    Entry& entry = *owned;
    index_.Add(KeyText(name, cellId), &entry);
    entries_.push_back(std::move(owned));

    const std::string key = name + "_Cells";
    if (!gGTex) plat::Fatal("GTEX Error !\nThe index '" + key + "' was not found.");
    // Items may number themselves through the channel parameters, which run
    // on from cell to cell over the whole list.
    std::array<int32_t, cmcCellObj::kChParams> chParams{};
    // Exactly the key's own lines: the next key's "#" line or the end of the
    // overlay ends the list.
    int32_t n = 0;
    for (;; ++n) {
        std::optional<std::string> line = gGTex->TryGetTextLine(key, n);
        if (!line || line->starts_with('#')) break;
        int32_t position = 0;
        std::string rest = std::move(*line);
        while (!rest.empty()) {
            cmcCellObj cell;
            rest = cell.Parse(rest, chParams.data(), nullptr);
            if (cell.cellId == cellId) {
                std::string text =
                    cell.argument && !cell.argument->empty() ? *cell.argument : cell.GetCaption();
                entry.byValue.push_back(Item{n, position, cell.index, std::move(text)});
            }
            ++position;
        }
        entry.maxCellsOnALine = std::max(entry.maxCellsOnALine, position);
    }
    entry.lineCount = n;

    std::stable_sort(entry.byValue.begin(), entry.byValue.end(),
                     [](const Item& a, const Item& b) { return a.value < b.value; });
    // Column by column, top to bottom.
    entry.screenOrder = entry.byValue;
    const int64_t lines = entry.lineCount;
    auto screenKey = [lines](const Item& item) { return item.line + int64_t(item.position) * lines; };
    std::stable_sort(entry.screenOrder.begin(), entry.screenOrder.end(),
                     [&](const Item& a, const Item& b) { return screenKey(a) < screenKey(b); });
}

bool cmcFCache::Find(const std::string& name, int32_t cellId, int32_t value, std::string& out) const {
    const Entry* entry = FindEntry(name, cellId);
    if (!entry) return false;
    const std::vector<Item>& items = entry->byValue;
    out = "error";
    if (items.empty() || value < items.front().value || value > items.back().value) return true;
    size_t low = 0, high = items.size() - 1;
    while (low <= high) {
        size_t mid = (low + high) / 2;
        if (items[mid].value == value) {
            out = items[mid].text;
            break;
        }
        if (items[mid].value < value) {
            low = mid + 1;
        } else {
            if (mid == 0) break;
            high = mid - 1;
        }
    }
    return true;
}

std::string cmcFCache::Text(const std::string& name, int32_t cellId, int32_t value) {
    std::string text;
    if (Find(name, cellId, value, text)) return text;
    Load(name, cellId);
    if (Find(name, cellId, value, text)) return text;
    return std::string();
}

bool cmcFCache::Step(const std::string& name, int32_t cellId, int32_t current, int32_t delta, int32_t& out) {
    const Entry* entry = FindEntry(name, cellId);
    if (!entry || entry->screenOrder.empty()) return false;
    const std::vector<Item>& items = entry->screenOrder;
    const int64_t count = static_cast<int64_t>(items.size());
    int64_t p = count + 1;
    for (int64_t i = 0; i < count; ++i) {
        if (items[size_t(i)].value == current) {
            p = i;
            break;
        }
    }
    int64_t q = p + delta;
    if (q >= count) q = 0;
    if (q < 0) q = count - 1;
    out = items[size_t(q)].value;
    return true;
}
