#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of scan lists and common scan settings.
void RegisterScanCells(CellCaseList& list) {
    (void)list;
}
