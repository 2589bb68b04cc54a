#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of MDC signalling.
void RegisterMdcCells(CellCaseList& list) {
    (void)list;
}
