#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of channel rows.
void RegisterChannelCells(CellCaseTable& table) {
    (void)table;
}
