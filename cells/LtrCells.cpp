#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of LTR groups, repeaters and LTR options.
void RegisterLtrCells(CellCaseTable& table) {
    (void)table;
}
