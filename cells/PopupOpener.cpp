#include "cells/PopupOpener.h"

#include "platform/Fatal.h"

namespace {

class NoPopupOpener : public PopupOpener {
public:
    void OpenList(const cmcCellCapsule&, int32_t, int32_t, cmcGTex*, const std::string& listKey) override {
        Missing("list " + listKey);
    }
    void OpenChannelList(const cmcCellCapsule&, int32_t, cmcGTex*, const std::string& listKey,
                         const std::string&) override {
        Missing("channel list " + listKey);
    }
    void OpenBitsEditor(const cmcCellCapsule&, cmcGTex*, int32_t, int32_t, int32_t, int32_t, int32_t,
                        const std::string& dialogKey) override {
        Missing("bit editor " + dialogKey);
    }
    void OpenTextEditor(const cmcCellCapsule&, cmcGTex*, const std::string&, bool, int32_t) override {
        Missing("text editor");
    }
    void OpenCharEditor(const cmcCellCapsule&, int32_t, int32_t, int32_t,
                        const std::vector<uint8_t>&) override {
        Missing("character editor");
    }

private:
    [[noreturn]] static void Missing(const std::string& what) {
        plat::Fatal("No pop-up host for the " + what);
    }
};

NoPopupOpener gNone;
PopupOpener* gOpener = &gNone;

} // namespace

PopupOpener& Popups() {
    return *gOpener;
}

void SetPopupOpener(PopupOpener* opener) {
    gOpener = opener ? opener : &gNone;
}
