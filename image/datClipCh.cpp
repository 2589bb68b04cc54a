#include "image/datClipCh.h"

#include "platform/Fatal.h"

namespace {
datClipCh* gClipboard = nullptr;
}

void datClipCh::StoreOne(cmcEeprom& image, int32_t k, int32_t row, datCh& record) {
    scratch->SetImage(&image);
    scratch->Load(k, row);
    // The clipboard's own record stays as copied: the flags are the destination's business.
    datCh out = record;
    if (keepAttributes) {
        out.isRefA = scratch->isRefA;
        out.isRefB = scratch->isRefB;
        out.isRefC = scratch->isRefC;
        out.siteMark = scratch->siteMark;
        out.siteMarkClear = scratch->siteMarkClear;
    }
    KeepPositionFlags(out, *scratch);
    cmcClipCh::StoreOne(image, k, row, out);
}

void datClipCh::KeepPositionFlags(datCh& out, const datCh& destination) const {
    out.refCOff = destination.refCOff;
    out.smarTrunkBank = destination.smarTrunkBank;
    out.ltrBank = destination.ltrBank;
}

void datClipCh::PasteKeepingAttributes(cmcEeprom& image, int32_t k, int32_t first, int32_t n) {
    keepAttributes = true;
    Paste(image, k, first, n);
    keepAttributes = false;
}

datClipCh& ProgramClipboard() {
    if (!gClipboard) plat::Fatal("No channel clipboard.");
    return *gClipboard;
}

void SetProgramClipboard(datClipCh* clipboard) {
    gClipboard = clipboard;
}
