// The settings cells on fixed image places that this program reads otherwise
// than the cloning program: the squelch level as a plain number.
#include "adjust/AdjustCells.h"
#include "cells/CellFrame.h"
#include "cells/NumberConv.h"
#include "image/cmcEeprom.h"

namespace adj {
namespace {

constexpr int32_t kSquelchLevel = 82224;

void SquelchLevel(CellFrame& f) {
    uint8_t value = f.image.GetByte(kSquelchLevel);
    if (ConvByteCell(f.request, value, 0, 255, f.result) == 1) f.image.SetByte(kSquelchLevel, value);
}

} // namespace

void RegisterAdjustSettingsCells(CellCaseList& list) {
    list.Add("CL_SetM_SqlLev", SquelchLevel);
}

} // namespace adj
