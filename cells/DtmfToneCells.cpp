#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of DTMF, tone memories and user tones.
void RegisterDtmfToneCells(CellCaseList& list) {
    (void)list;
}
