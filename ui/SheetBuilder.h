#pragma once
#include "cells/SheetLines.h"

#include <QFontMetrics>
#include <QPointer>
#include <QSize>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class CellCanvas;
class QFrame;
class QLabel;
class QWidget;
class cuiGrid;
struct CellRect;

// The pieces a sheet is built of that need nothing of the sheet's cells: the
// panels it shows in, the basic cell's text and the room cells take.
namespace SheetBuilder {

// The title panel (when the style has a title) and the sheet panel with its
// grid, hidden, laid out one above the other in parent.
struct Panels {
    QPointer<QFrame> title;
    QPointer<QLabel> titleLabel;
    QPointer<QFrame> sheet;
    QPointer<cuiGrid> grid;
};
Panels MakePanels(QWidget* parent, const SheetStyle& style, bool listMode);

// The "<Name>_BasicCell" text with the font size the sheet is drawn at: a
// fixed height when given (not 0), else the user's zoom in percent, and on
// paper the style's print ratio on top.
std::string BasicCellText(const std::string& basic, int32_t fontHeight, int32_t zoom, bool printing,
                          int32_t printFontRatio);

// The room a caption of one or more lines takes in a cell at the scale.
QSize CaptionRoom(const QFontMetrics& metrics, const std::string& caption, int32_t scale);

// Pixels a radio-display dot takes beside text lines of that height, at the
// scale: a whole number, two at the least.
int32_t GlyphDotPixels(int lineHeight, int32_t scale);

// The room a cell that paints radio-display glyphs takes at dot pixels a
// dot; none when it paints none. paint lets the cell's owner paint it on a
// canvas that only notes the glyphs laid out.
std::optional<QSize> GlyphRoom(const std::function<void(CellCanvas&, const CellRect&)>& paint, int32_t dot);

} // namespace SheetBuilder
