#include "adjust/ui/PopupOpener.h"

#include "adjust/ui/cuiCEdit.h"
#include "adjust/ui/cuiFBitsR.h"
#include "cells/CellEngine.h"
#include "foundation/Globals.h"

namespace adj {

// The editors own themselves from here on, as the shared host's do.
void PopupOpener::OpenBitsEditor(const cmcCellCapsule& request, cmcGTex* texts, int32_t value,
                                 int32_t firstDigit, int32_t lastDigit, int32_t style, int32_t markStyle,
                                 const std::string& dialogKey) {
    new adj::cuiFBitsR(InstalledCellEngine(), request, texts ? *texts : *gGTex, value, firstDigit, lastDigit,
                       style, markStyle, dialogKey);
}

void PopupOpener::OpenCharEditor(const cmcCellCapsule& request, int32_t dotSize, int32_t width,
                                 int32_t height, const std::vector<uint8_t>& dots) {
    new adj::cuiCEdit(InstalledCellEngine(), request, dotSize, width, height, dots, ToolImages());
}

} // namespace adj
