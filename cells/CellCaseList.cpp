#include "cells/CellCases.h"

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

} // namespace

const CellCaseTable& CellCases() {
    static const CellCaseTable table = BuildTable();
    return table;
}
