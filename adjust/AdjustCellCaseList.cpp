#include "adjust/AdjustCells.h"

namespace adj {
namespace {

// Every file of the adjustment program's own cases.
constexpr void (*kRegistrars[])(CellCaseList&) = {RegisterAdjustItemCells, RegisterAdjustMonitorCells};

CellCaseList BuildList() {
    CellCaseList list;
    for (auto registrar : kRegistrars)
        registrar(list);
    return list;
}

} // namespace

const CellCaseList& AdjustCellCases() {
    static const CellCaseList list = BuildList();
    return list;
}

} // namespace adj
