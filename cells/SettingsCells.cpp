#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of general and expansion settings.
void RegisterSettingsCells(CellCaseTable& table) {
    (void)table;
}
