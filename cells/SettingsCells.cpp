#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of general and expansion settings.
void RegisterSettingsCells(CellCaseList& list) {
    (void)list;
}
