#pragma once
#include "cells/CellCanvas.h"
#include "foundation/FontDesc.h"

#include <QFont>
#include <QPalette>
#include <QPoint>
#include <QSize>

#include <string>

class QPainter;

// The surface a cell is drawn on, over a QPainter (the grid's on screen, a
// printer's when printing). Colours are GUI-library colour values, turned
// into the toolkit's through the palette; the font comes from a FontDesc.
// Besides what the cells draw through, the host draws the cell's text and
// rules through it, so a colour a cell set (a greyed text) is the one the
// text is drawn in.
class QtCellCanvas : public CellCanvas {
public:
    // The painter must outlive the canvas. base is the font a FontDesc with
    // an empty face starts from.
    QtCellCanvas(QPainter& painter, const QPalette& palette, const QFont& base);

    ColorValue FontColor() const override { return fontColor_; }
    void SetFontColor(ColorValue color) override { fontColor_ = color; }
    ColorValue BrushColor() const override { return brushColor_; }
    void SetBrushColor(ColorValue color) override { brushColor_ = color; }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorValue color) override;

    // The font for the texts that follow; its colour becomes the font colour.
    void SetFont(const FontDesc& font);
    const QFont& Font() const { return font_; }

    // Draws a text with its top left at (x, y) in the font colour on a
    // transparent background, and leaves the pen position at its right end.
    void TextOut(int x, int y, const std::string& text);
    // Width of the text and height of a line of it in the current font.
    QSize TextExtent(const std::string& text) const;
    // Where the last text ended: right end, top.
    QPoint PenPos() const { return penPos_; }

    ColorValue PenColor() const { return penColor_; }
    void SetPenColor(ColorValue color) { penColor_ = color; }
    // A one-pixel line in the pen colour, both end points drawn.
    void DrawLine(int x1, int y1, int x2, int y2);

    QPainter& Painter() { return painter_; }

private:
    QPainter& painter_;
    QPalette palette_;
    QFont base_;
    QFont font_;
    ColorValue fontColor_ = FontDesc().color;
    ColorValue brushColor_ = clWindow;
    ColorValue penColor_ = 0x000000;
    QPoint penPos_;
};
