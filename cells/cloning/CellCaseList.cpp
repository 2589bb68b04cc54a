#include "cells/CellCases.h"

namespace {

// Every file of cases, in no particular order: each registers its own cells.
constexpr void (*kRegistrars[])(CellCaseList&) = {
    RegisterCommandCells,  RegisterDebugCells, RegisterBankCells,       RegisterChannelCells,
    RegisterSettingsCells, RegisterMskCells,   RegisterKeyDisplayCells, RegisterDigitalCells,
    RegisterLtrCells,      RegisterMdcCells,   RegisterMakerCells,      RegisterToneSequenceCells,
    RegisterDtmfToneCells, RegisterScanCells,
};

CellCaseList BuildList() {
    CellCaseList list;
    for (auto registrar : kRegistrars)
        registrar(list);
    return list;
}

} // namespace

const CellCaseList& CloningCellCases() {
    static const CellCaseList list = BuildList();
    return list;
}
