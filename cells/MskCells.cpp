#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of MSK signalling.
void RegisterMskCells(CellCaseList& list) {
    (void)list;
}
