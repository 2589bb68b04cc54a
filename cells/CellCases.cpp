#include "cells/CellCases.h"

#include "cells/CellVocabulary.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <optional>
#include <string>

void CellCaseList::Add(std::string name, CellCase fn) {
    std::string last = name;
    entries_.push_back({std::move(name), std::move(last), fn});
}

void CellCaseList::Add(std::string first, std::string last, CellCase fn) {
    entries_.push_back({std::move(first), std::move(last), fn});
}

CellCaseTable::CellCaseTable(const CellVocabulary& vocabulary, std::span<const CellIdRange> emptyIds)
    : vocabulary_(&vocabulary),
      cases_(static_cast<size_t>(std::max(vocabulary.NoCell() + 1, vocabulary.CellCount()))),
      empty_(cases_.size(), false) {
    empty_.front() = true;
    empty_[static_cast<size_t>(vocabulary.NoCell())] = true;
    for (const CellIdRange& run : emptyIds)
        for (int32_t id = run.first; id <= run.last; ++id)
            if (id >= 0 && id < Size()) empty_[static_cast<size_t>(id)] = true;
}

void CellCaseTable::Add(int32_t id, Case fn) {
    Add(id, id, fn);
}

void CellCaseTable::Add(int32_t first, int32_t last, Case fn) {
    // The whole run is checked before any of it is entered.
    if (first > last) plat::Fatal("Cell case out of the table. (" + std::to_string(first) + ")");
    for (int32_t id = first; id <= last; ++id) {
        if (id < 0 || id >= Size() || IsEmptyId(id) || fn == nullptr)
            plat::Fatal("Cell case out of the table. (" + std::to_string(id) + ")");
        if (cases_[static_cast<size_t>(id)] != nullptr)
            plat::Fatal("Overlapped cell case. (" + std::to_string(id) + ")");
    }
    for (int32_t id = first; id <= last; ++id)
        cases_[static_cast<size_t>(id)] = fn;
}

void CellCaseTable::Take(const CellCaseList& list) {
    for (const CellCaseList::Entry& e : list.Entries())
        Add(vocabulary_->CellIndex(e.first), vocabulary_->CellIndex(e.last), e.fn);
}

void CellCaseTable::Take(const CellCaseList& list, std::span<const std::string_view> names) {
    for (std::string_view name : names) {
        const int32_t id = vocabulary_->CellIndex(std::string(name));
        const CellCaseList::Entry* found = nullptr;
        for (const CellCaseList::Entry& e : list.Entries()) {
            if (e.first == name || e.last == name) {
                found = &e;
                break;
            }
            // A run is only as good as this vocabulary's order of its two ends.
            const std::optional<int32_t> first = vocabulary_->FindCell(e.first);
            const std::optional<int32_t> last = vocabulary_->FindCell(e.last);
            if (first && last && *first <= id && id <= *last) {
                found = &e;
                break;
            }
        }
        if (!found) plat::Fatal("No cell case for '" + std::string(name) + "'.");
        Add(id, found->fn);
    }
}
