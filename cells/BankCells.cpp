#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of banks, LTR banks and row numbers.
void RegisterBankCells(CellCaseTable& table) {
    (void)table;
}
