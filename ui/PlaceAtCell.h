#pragma once
#include "platform/Screen.h"

class QWidget;
class cmcCellCapsule;

// Where a pop-up of width w and height h goes beside a cell whose rectangle
// on the screen is cell: below the cell, 8 pixels in from its left edge;
// above it when the work area has no room below; with room neither below
// nor above, at the bottom of the work area, and then to the left of the
// cell when it fits there, so that it covers the cell as little as it can.
// It never reaches past the work area's right edge.
struct PopupPlace {
    int left = 0;
    int top = 0;
    // The pop-up lies over the cell.
    bool overlaps = false;
};
PopupPlace PlaceBesideCell(const plat::Rect& cell, int w, int h, const plat::Rect& workArea);

// Moves the window beside the request's cell, in the desktop's work area.
void PlaceAtCell(const cmcCellCapsule& request, QWidget& window);
