#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of maker settings.
void RegisterMakerCells(CellCaseList& list) {
    (void)list;
}
