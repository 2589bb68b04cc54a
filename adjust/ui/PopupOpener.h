#pragma once
#include "ui/ProgramPopupOpener.h"

namespace adj {

// The adjustment program's pop-up host: its own bit-field and glyph editors,
// the shared lists and text editor.
class PopupOpener : public ProgramPopupOpener {
public:
    void OpenBitsEditor(const cmcCellCapsule& request, cmcGTex* texts, int32_t value, int32_t firstDigit,
                        int32_t lastDigit, int32_t style, int32_t markStyle,
                        const std::string& dialogKey) override;
    void OpenCharEditor(const cmcCellCapsule& request, int32_t dotSize, int32_t width, int32_t height,
                        const std::vector<uint8_t>& dots) override;
};

} // namespace adj
