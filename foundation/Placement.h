#pragma once
#include "platform/Screen.h"

#include <string>

// Measures one line of text in the font of whatever draws it; the window
// layer answers from the toolkit's font metrics.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int TextWidth(const std::string& line) const = 0;
    virtual int TextHeight(const std::string& line) const = 0;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// The widest line and the height of all lines (lines end at line feeds).
TextExtent MeasureText(const TextMeasurer& canvas, const std::string& text);

// Centres the control over the form, then keeps it inside the work area.
void CenterOnForm(plat::Rect& control, const plat::Rect& form);
// Moves the control back inside the desktop work area; one larger than the
// work area ends at the work area's top left corner.
void ClampToWorkArea(plat::Rect& control);

// A main form's saved bounds moved back so that the form can still be reached
// in the work area: at least margin pixels of it inside the work area's right
// and bottom edges and at its left, and its top (with the title bar) never
// above the work area.
void KeepFormReachable(plat::Rect& form, const plat::Rect& workArea, int margin);
