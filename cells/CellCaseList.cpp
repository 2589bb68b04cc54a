#include "cells/CellCases.h"

#include <cstddef>

namespace {

// Every file of cases, in no particular order: each registers its own ids.
constexpr void (*kRegistrars[])(CellCaseTable&) = {
    RegisterCommandCells, RegisterBankCells,       RegisterChannelCells,      RegisterSettingsCells,
    RegisterMskCells,     RegisterKeyDisplayCells, RegisterDigitalCells,      RegisterLtrCells,
    RegisterMdcCells,     RegisterMakerCells,      RegisterToneSequenceCells, RegisterDtmfToneCells,
    RegisterScanCells,
};

CellCaseTable BuildTable() {
    CellCaseTable table;
    for (auto registrar : kRegistrars)
        registrar(table);
    return table;
}

CellCaseTable& Table() {
    static CellCaseTable table = BuildTable();
    return table;
}

} // namespace

const CellCaseTable& CellCases() {
    return Table();
}

ScopedCellCase::ScopedCellCase(int32_t id, CellCaseTable::Case standIn) : id_(id), old_(Table().Find(id)) {
    if (id >= 0 && id < CellCaseTable::kCells) Table().cases_[static_cast<size_t>(id)] = standIn;
}

ScopedCellCase::~ScopedCellCase() {
    if (id_ >= 0 && id_ < CellCaseTable::kCells) Table().cases_[static_cast<size_t>(id_)] = old_;
}
