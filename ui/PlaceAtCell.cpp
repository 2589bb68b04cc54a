#include "ui/PlaceAtCell.h"

#include "cells/cmcCellCapsule.h"
#include "ui/cuiGrid.h"

#include <QWidget>

namespace {

// How far right of the cell's left edge a pop-up starts.
constexpr int kIndent = 8;

} // namespace

PopupPlace PlaceBesideCell(const plat::Rect& cell, int w, int h, const plat::Rect& workArea) {
    PopupPlace place;
    place.top = cell.Bottom();
    if (cell.Bottom() + h > workArea.Bottom()) {
        if (h < cell.top - workArea.top) {
            place.top = cell.top - h;
        } else {
            place.top = workArea.Bottom() - h;
            place.overlaps = true;
        }
    }
    place.left = cell.left + kIndent;
    if (cell.left + kIndent + w > workArea.Right()) {
        place.left = workArea.Right() - w;
        if (place.overlaps && w < cell.left - workArea.left) place.left = cell.left - w;
    }
    return place;
}

void PlaceAtCell(const cmcCellCapsule& request, QWidget& window) {
    if (!request.grid || !request.cellRect) return;
    const CellRect& r = *request.cellRect;
    const QPoint at = request.grid->viewport()->mapToGlobal(QPoint(r.left, r.top));
    const plat::Rect cell{at.x(), at.y(), r.right - r.left, r.bottom - r.top};
    const PopupPlace place =
        PlaceBesideCell(cell, window.width(), window.height(), plat::Screen().WorkArea());
    window.move(place.left, place.top);
}
