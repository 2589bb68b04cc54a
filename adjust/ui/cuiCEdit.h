#pragma once
#include "ui/cuiCEdit.h"

namespace adj {

// The adjustment program's glyph editor: which dots the radio's display
// shows follows the model (handheld or mobile) and the display form.
class cuiCEdit : public ::cuiCEdit {
public:
    using ::cuiCEdit::cuiCEdit;

    bool IsUsable(int32_t x, int32_t y) const override;
};

} // namespace adj
