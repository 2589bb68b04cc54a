#include "foundation/Placement.h"

#include "foundation/TextUtil.h"

#include <algorithm>

TextExtent MeasureText(const TextMeasurer& canvas, const std::string& text) {
    TextExtent extent;
    for (const std::string& line : SplitFields(text, "\n")) {
        extent.width = std::max(extent.width, canvas.TextWidth(line));
        extent.height += canvas.TextHeight(line);
    }
    return extent;
}

void CenterOnForm(plat::Rect& control, const plat::Rect& form) {
    control.left = form.left + (form.width - control.width) / 2;
    control.top = form.top + (form.height - control.height) / 2;
    ClampToWorkArea(control);
}

void ClampToWorkArea(plat::Rect& control) {
    const plat::Rect work = plat::Screen().WorkArea();
    if (control.Right() > work.Right()) control.left = work.Right() - control.width;
    if (control.left < work.left) control.left = work.left;
    if (control.Bottom() > work.Bottom()) control.top = work.Bottom() - control.height;
    if (control.top < work.top) control.top = work.top;
}

void KeepFormReachable(plat::Rect& form, const plat::Rect& workArea, int margin) {
    if (workArea.Right() - margin < form.left) form.left = workArea.Right() - margin;
    if (workArea.Bottom() - margin < form.top) form.top = workArea.Bottom() - margin;
    if (form.left + form.width < workArea.left + margin) form.left = workArea.left + margin - form.width;
    if (form.top < workArea.top) form.top = workArea.top;
}
