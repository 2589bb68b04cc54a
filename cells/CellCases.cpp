#include "cells/CellCases.h"

#include "platform/Fatal.h"

#include <string>

void CellCaseTable::Add(int32_t id, Case fn) {
    Add(id, id, fn);
}

void CellCaseTable::Add(int32_t first, int32_t last, Case fn) {
    // The whole run is checked before any of it is entered.
    for (int32_t id = first; id <= last; ++id) {
        if (id < 0 || id >= kCells || IsEmptyId(id) || fn == nullptr)
            plat::Fatal("Cell case out of the table. (" + std::to_string(id) + ")");
        if (cases_[static_cast<size_t>(id)] != nullptr)
            plat::Fatal("Overlapped cell case. (" + std::to_string(id) + ")");
    }
    for (int32_t id = first; id <= last; ++id)
        cases_[static_cast<size_t>(id)] = fn;
}

CellCaseTable::Case CellCaseTable::Find(int32_t id) const {
    if (id < 0 || id >= kCells) return nullptr;
    return cases_[static_cast<size_t>(id)];
}
