#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of the digital system.
void RegisterDigitalCells(CellCaseList& list) {
    (void)list;
}
