#include "cells/ListConv.h"

#include "cells/ConvKeys.h"
#include "cells/ConvSupport.h"
#include "cells/LayoutCache.h"
#include "cells/PopupOpener.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/ByteUtil.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "platform/Fatal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

using conv::HasKey;
using conv::kKeyBackspace;
using conv::kKeySpace;

namespace {

struct ListItem {
    int32_t value;
    std::string text;
};

// Every cell of the list's lines, line by line, up to the first line that
// begins with '#'; the channel parameters run on from cell to cell, as in the
// layout cache.
void ForEachListCell(cmcGTex& texts, const std::string& listKey,
                     const std::function<void(int32_t line, const cmcCellObj& cell)>& visit) {
    const std::string key = listKey + "_Cells";
    std::array<int32_t, cmcCellObj::kChParams> chParams{};
    for (int32_t n = 0;; ++n) {
        std::optional<std::string> line = texts.TryGetTextLine(key, n);
        if (!line || line->starts_with('#')) break;
        std::string rest = std::move(*line);
        while (!rest.empty()) {
            cmcCellObj cell;
            rest = cell.Parse(rest, chParams.data(), nullptr);
            visit(n, cell);
        }
    }
}

std::vector<ListItem> ItemsOf(cmcGTex& texts, const std::string& listKey, int32_t listCell) {
    std::vector<ListItem> items;
    ForEachListCell(texts, listKey, [&](int32_t, const cmcCellObj& cell) {
        if (cell.cellId != listCell) return;
        items.push_back(
            {cell.index, cell.argument && !cell.argument->empty() ? *cell.argument : cell.GetCaption()});
    });
    return items;
}

cmcGTex& ProgramTexts() {
    if (!gGTex) plat::Fatal("No text table for the lists.");
    return *gGTex;
}

// The leading decimal number of a text; 0 when it has none.
double LeadingNumber(const std::string& text) {
    double value = 0;
    const std::string t = conv::Trimmed(text);
    std::from_chars(t.data(), t.data() + t.size(), value);
    return value;
}

std::optional<int32_t> FirstWithPrefix(const std::vector<ListItem>& items, const std::string& typed) {
    for (const ListItem& item : items)
        if (conv::UpperCased(item.text).starts_with(typed)) return item.value;
    return std::nullopt;
}

std::optional<int32_t> NearestNumber(const std::vector<ListItem>& items, const std::string& typed) {
    const double wanted = LeadingNumber(typed);
    std::optional<int32_t> best;
    double bestDistance = 0;
    for (const ListItem& item : items) {
        const double distance = std::fabs(LeadingNumber(item.text) - wanted);
        if (!best || distance < bestDistance) {
            best = item.value;
            bestDistance = distance;
        }
    }
    return best;
}

int ListCell(cmcCellCapsule& request, const std::string& listKey, int32_t listCell, int32_t& value,
             int32_t& out, bool otherPickIsNoPick) {
    const int32_t picked = conv::PickedList(request);
    if (picked != 0) {
        if (picked == listCell) {
            value = conv::PickedItem(request)->index;
            conv::Show(request, LayoutCache().Text(listKey, listCell, value));
            return 1;
        }
        if (!otherPickIsNoPick) return 0;
    }
    cmcFCache& cache = LayoutCache();
    int changed = 0;
    std::string text = cache.Text(listKey, listCell, value);
    if (HasKey(request) && (request.key == kKeySpace || request.key == kKeyBackspace)) {
        int32_t next = value;
        if (cache.Step(listKey, listCell, value, request.key == kKeySpace ? 1 : -1, next) && next != value) {
            value = next;
            changed = 1;
            text = cache.Text(listKey, listCell, value);
        }
    }
    conv::Show(request, text);
    if (HasKey(request) && conv::IsEnter(request)) {
        Popups().OpenList(request, listCell, value, request.texts, listKey);
        out = cmcCellCapsule::kResultPopupOpened;
    }
    return changed;
}

} // namespace

int ConvListCell(cmcCellCapsule& request, const std::string& listKey, int32_t listCell, int32_t& value,
                 int32_t& out) {
    return ListCell(request, listKey, listCell, value, out, false);
}

int ConvListCellFrom(cmcCellCapsule& request, const std::string& listKey, int32_t listCell, int32_t& value,
                     int32_t& out) {
    return ListCell(request, listKey, listCell, value, out, true);
}

int ConvSelCell(cmcCellCapsule& request, const std::string& listKey, int32_t& value, int32_t& out) {
    return ConvListCell(request, listKey, listcell::Flex0, value, out);
}

int ConvSelCell4(cmcCellCapsule& request, const std::string& listKey, int32_t& value, int32_t& out) {
    return ConvListCell(request, listKey, listcell::FlexMark, value, out);
}

int ConvSelByteCell(cmcCellCapsule& request, const std::string& listKey, uint8_t& field, int32_t& out) {
    int32_t value = field;
    const int changed = ConvSelCell(request, listKey, value, out);
    if (changed) field = static_cast<uint8_t>(value);
    return changed;
}

int ConvSelPtrCell(cmcCellCapsule& request, const std::string& listKey, int32_t& value, int32_t& out) {
    return ConvListCellFrom(request, listKey, listcell::Flex0, value, out);
}

int ConvSelListCell(cmcCellCapsule& request, const std::string& listKey, int32_t listCell, int32_t& value,
                    int32_t matchMode, int32_t& out) {
    int changed = 0;
    if (request.mode == cmcCellCapsule::kModeCommit) {
        std::string typed = conv::UpperCased(conv::Trimmed(request.editText));
        const std::vector<ListItem> items = ItemsOf(conv::TextsOf(request), listKey, listCell);
        std::optional<int32_t> match;
        if (matchMode == 1) {
            match = FirstWithPrefix(items, typed);
        } else if (matchMode == 0) {
            if (typed.size() > 1 && typed.starts_with("OF"))
                match = NearestNumber(items, "0");
            else if (!(typed.size() > 1 && typed[0] == 'O'))
                match = NearestNumber(items, typed);
        } else if (matchMode == 2 && typed.size() >= 2) {
            match = FirstWithPrefix(items, typed);
            if (!match) match = NearestNumber(items, typed);
        }
        if (match) {
            value = *match;
            changed = 1;
        }
    }
    const int32_t key = request.key;
    const bool typing =
        HasKey(request) && (matchMode == 0 ? (conv::IsDigitKey(key) || key == 'o' || key == 'O')
                                           : (conv::IsPrintableKey(key) && key != kKeySpace));
    if (typing) {
        changed |= ConvListCell(request, listKey, listCell, value, out);
        conv::OpenEditor(request, std::string(), out);
        return changed;
    }
    return changed | ConvListCell(request, listKey, listCell, value, out);
}

int ConvTwoLevelListCell(cmcCellCapsule& request, const std::string& firstKey, const std::string& secondKey,
                         int32_t firstCell, int32_t secondCell, int32_t& value, bool offAllowed,
                         int32_t& out) {
    const int32_t numberItem = ListFirstItem(firstKey, firstCell);
    const int32_t lastNumber = ListLastItem(secondKey, secondCell);
    auto inSpan = [&](int32_t v) { return v >= numberItem && v <= lastNumber; };
    int changed = 0;

    if (request.mode == cmcCellCapsule::kModeCommit) {
        if (offAllowed && conv::UpperCased(conv::Trimmed(request.editText)).starts_with("OF")) {
            value = 0;
            changed = 1;
        } else {
            std::string digits;
            for (char c : request.editText)
                if (c >= '0' && c <= '9') digits += c;
            if (!digits.empty()) {
                int64_t n = 0;
                std::from_chars(digits.data(), digits.data() + std::min<size_t>(digits.size(), 18), n);
                if (!(offAllowed && n == 0))
                    n = std::clamp<int64_t>(n, numberItem, std::max(numberItem, lastNumber));
                value = static_cast<int32_t>(n);
                changed = 1;
            }
        }
    }

    const int32_t picked = conv::PickedList(request);
    if (picked == secondCell) {
        value = conv::PickedItem(request)->index;
        conv::Show(request, conv::Format("%d", value));
        return 1;
    }
    if (picked == firstCell) {
        const int32_t item = conv::PickedItem(request)->index;
        if (item == numberItem) {
            Popups().OpenList(conv::OpenerOf(request), secondCell, value, request.texts, secondKey);
            out = cmcCellCapsule::kResultPopupOpened;
            return 0;
        }
        value = item;
        changed = 1;
    }

    const int32_t key = request.key;
    if (HasKey(request) && (conv::IsDigitKey(key) || key == '.' || key == 'O' || key == 'o')) {
        conv::OpenEditor(request, std::string(), out);
        return changed;
    }
    int32_t shown = inSpan(value) ? numberItem : value;
    if (HasKey(request) && (key == kKeySpace || key == kKeyBackspace)) {
        cmcFCache& cache = LayoutCache();
        cache.Text(firstKey, firstCell, shown);
        const int32_t delta = key == kKeySpace ? 1 : -1;
        int32_t next = shown;
        if (cache.Step(firstKey, firstCell, shown, delta, next) && next == numberItem)
            cache.Step(firstKey, firstCell, next, delta, next);
        if (next != value) {
            value = next;
            changed = 1;
        }
        shown = inSpan(value) ? numberItem : value;
    }
    cmcCellCapsule plain = request;
    plain.key = (HasKey(request) && conv::IsEnter(request)) ? request.key : 0;
    plain.mode = cmcCellCapsule::kModeFormat;
    plain.linkedRequest = nullptr;
    ConvListCell(plain, firstKey, firstCell, shown, out);
    conv::Show(request, inSpan(value) ? conv::Format("%d", value) : plain.displayText);
    return changed;
}

int ConvSelPairCell(cmcCellCapsule& request, const std::string& firstKey, const std::string& secondKey,
                    int32_t& value, int32_t& out) {
    return ConvTwoLevelListCell(request, firstKey, secondKey, listcell::Flex0, listcell::Flex1, value, true,
                                out);
}

int ConvAttributeCell(cmcCellCapsule& request, const std::string& listKey, uint8_t& flags, int32_t& out,
                      int32_t lastItem) {
    int changed = 0;
    if (conv::PickedList(request) == listcell::Flex0) {
        uint8_t v = flags;
        const int32_t item = conv::PickedItem(request)->index;
        switch (item > lastItem ? 0 : item) {
        case 1:
            v |= 0x01;
            break;
        case 2:
            v |= 0x02;
            break;
        case 3:
            v = static_cast<uint8_t>((v | 0x04) & ~0x08);
            break;
        case 4:
            v = static_cast<uint8_t>((v & ~0x04) | 0x08);
            break;
        case 5:
            v ^= 0x10;
            break;
        case 6:
            v ^= 0x20;
            break;
        default:
            break;
        }
        if (v != flags) {
            flags = v;
            changed = 1;
            if (gEvMan) {
                gEvMan->Post(evRebuildTree);
                gEvMan->Post(evRefreshCaption);
            }
        }
    }
    std::string text;
    if (flags & 0x01) text += 'A';
    if (flags & 0x02) text += 'B';
    if ((flags & 0x04) && !(flags & 0x08)) text += 'E';
    conv::Show(request, text);
    if (HasKey(request) && conv::IsEnter(request)) {
        Popups().OpenList(request, listcell::Flex0, flags, request.texts, listKey);
        out = cmcCellCapsule::kResultPopupOpened;
    }
    return changed;
}

int ConvUserSetEnableCell(cmcCellCapsule& request, uint8_t* bytes, int32_t length, int32_t bit,
                          int32_t& out) {
    if (bit < 0 || bit / 8 >= length) return 0;
    int32_t value = GetBitMsb(bytes, length, bit);
    const int changed = ConvSelCell(request, ConvKeyText(ConvKey::UserSetEnable), value, out);
    if (changed) {
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (bit % 8));
        uint8_t& byte = bytes[bit / 8];
        byte = value ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
    }
    return changed;
}

int32_t ListFirstItem(const std::string& listKey, int32_t listCell) {
    int32_t result = -1;
    int32_t resultLine = -1;
    ForEachListCell(ProgramTexts(), listKey, [&](int32_t line, const cmcCellObj& cell) {
        if (cell.cellId != listCell || line == resultLine) return;
        result = cell.index;
        resultLine = line;
    });
    return result;
}

int32_t ListLastItem(const std::string& listKey, int32_t listCell) {
    std::optional<int32_t> highest;
    ForEachListCell(ProgramTexts(), listKey, [&](int32_t, const cmcCellObj& cell) {
        if (cell.cellId == listCell && (!highest || cell.index > *highest)) highest = cell.index;
    });
    return highest.value_or(-1);
}
