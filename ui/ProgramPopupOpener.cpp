#include "ui/ProgramPopupOpener.h"

#include "cells/CellEngine.h"
#include "foundation/Globals.h"
#include "ui/AppIcons.h"
#include "ui/cuiCEdit.h"
#include "ui/cuiFBitsR.h"
#include "ui/cuiFText.h"
#include "ui/cuiFlector.h"
#include "ui/indFlector.h"

namespace {

cmcGTex& TextsOr(cmcGTex* texts) {
    return texts ? *texts : *gGTex;
}

} // namespace

ProgramPopupOpener::ProgramPopupOpener() : before_(Popups()) {
    SetPopupOpener(this);
}

ProgramPopupOpener::~ProgramPopupOpener() {
    if (&Popups() == this) SetPopupOpener(&before_);
}

// The hosts own themselves from here on: each goes when its pop-up closes.
void ProgramPopupOpener::OpenList(const cmcCellCapsule& request, int32_t listCellId, int32_t currentValue,
                                  cmcGTex* texts, const std::string& listKey) {
    last_ = new cuiFlector(InstalledCellEngine(), request, listCellId, currentValue, TextsOr(texts), listKey);
}

void ProgramPopupOpener::OpenChannelList(const cmcCellCapsule& request, int32_t listCellId, cmcGTex* texts,
                                         const std::string& listKey, const std::string& text) {
    last_ = new indFlector(InstalledCellEngine(), request, listCellId, 0, TextsOr(texts), listKey, text);
}

void ProgramPopupOpener::OpenBitsEditor(const cmcCellCapsule& request, cmcGTex* texts, int32_t value,
                                        int32_t firstDigit, int32_t lastDigit, int32_t style,
                                        int32_t markStyle, const std::string& dialogKey) {
    // An empty dialog key: the editor's own sheet.
    new cuiFBitsR(InstalledCellEngine(), request, TextsOr(texts), value, firstDigit, lastDigit, style,
                  markStyle, dialogKey);
}

void ProgramPopupOpener::OpenTextEditor(const cmcCellCapsule& request, cmcGTex* texts,
                                        const std::string& bytes, bool openedByEnter, int32_t maxLength) {
    new cuiFText(InstalledCellEngine(), request, TextsOr(texts), bytes, openedByEnter, maxLength);
}

void ProgramPopupOpener::OpenCharEditor(const cmcCellCapsule& request, int32_t dotSize, int32_t width,
                                        int32_t height, const std::vector<uint8_t>& dots) {
    new cuiCEdit(InstalledCellEngine(), request, dotSize, width, height, dots, ToolImages());
}

const ImageList* ProgramPopupOpener::ToolImages() const {
    if (!toolImages_) toolImages_ = MakeToolBarImageList();
    return &*toolImages_;
}
