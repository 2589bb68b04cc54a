#include "adjust/ui/cuiCEdit.h"

#include "foundation/ModelClass.h"

namespace adj {

bool cuiCEdit::IsUsable(int32_t x, int32_t y) const {
    const int32_t w = Width();
    const int32_t h = Height();
    if (x == w - 1) return false;
    // The handheld display hides the top three rows and the bottom two.
    if (IsModelHandheld()) return y >= 3 && y < h - 2;
    if (y == 0) return false;
    // The small form leaves row 1 and the bottom three rows dark too.
    return LargeGlyphs() || (y != 1 && y < h - 3);
}

} // namespace adj
