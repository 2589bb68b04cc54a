#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of keys, display and set mode.
void RegisterKeyDisplayCells(CellCaseList& list) {
    (void)list;
}
