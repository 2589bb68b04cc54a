#pragma once
#include "ui/iuiRptSetWin.h"

namespace adj {

// The adjustment program's repeater-site window: OK and Cancel only, the
// program's own site sheet, redrawn on event 37, and Cancel or the close box
// putting back the image as it was at opening without asking.
class iuiRptSetWin : public ::iuiRptSetWin {
public:
    iuiRptSetWin(const CellEngine& engine, QWidget* owner, const std::string& caption, cmcGTex& texts,
                 const std::string& name, const cuiSheet::ImageList* images, const cmcCellCapsule& opening);
};

} // namespace adj
