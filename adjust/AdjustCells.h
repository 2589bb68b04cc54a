#pragma once
#include "cells/CellCases.h"

namespace adj {

// The adjustment program's own cases, one registrar per file of cases.
void RegisterAdjustItemCells(CellCaseList& list);    // adjustment items, procedures, test channel
void RegisterAdjustMonitorCells(CellCaseList& list); // A/D monitor and adjustment-parameter rows

// Every case of the adjustment program's table, filled on first use: its
// own, and the cloning program's cases that find their rows by cell name for
// the cells both programs have.
const CellCaseList& AdjustCellCases();

} // namespace adj
