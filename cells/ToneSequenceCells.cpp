#include "cells/CellCases.h"
#include "cells/CellFrame.h"

// The cells of two-tone and five-tone signalling.
void RegisterToneSequenceCells(CellCaseList& list) {
    (void)list;
}
