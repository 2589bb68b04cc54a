#pragma once
#include "cells/CellCanvas.h"
#include "cells/cmcCellCapsule.h"

#include <QFont>
#include <QIcon>
#include <QList>
#include <QPalette>
#include <QRect>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPainter;
class cmcCellObj;
struct FontDesc;

// A cell's text split at its line feeds; a text without one is one line.
std::vector<std::string> SplitCellLines(const std::string& text);

// The one drawing routine of a sheet cell, for the screen and for paper
// alike: background, bottom rule, the cell's own painting through its owner,
// its text lines and its warning or error mark. The sheet says how the cell
// stands (marked, focused, printing); the painter knows nothing of the grid.
class SheetPainter {
public:
    // What the owner answered when asked to paint the cell.
    struct Answer {
        std::string text;
        bool warning = false;
        bool error = false;
        // Where the mark goes: 1 left, 3 after the text, else right; 0 by alignment.
        int32_t markPosition = 0;
    };
    // Asks the owner to paint the cell on the canvas within the rectangle;
    // marked is whether the cell shows as selected.
    using Owner = std::function<Answer(CellCanvas& canvas, const CellRect& rect, bool marked)>;

    struct Look {
        bool marked = false;
        bool printing = false;
        // The grid has the keyboard, or the sheet is a list: a marked cell
        // shows the highlight rather than the button face.
        bool active = false;
        // The in-place editor is open: no cell shows as marked.
        bool editing = false;
    };

    // sheetFont is what most cells draw in, lineHeight a line of it; scale
    // is 1 on screen and the printer's pixels per screen pixel on paper;
    // images holds the warning and error marks, or is none.
    SheetPainter(const QPalette& palette, const QFont& sheetFont, int lineHeight, int32_t scale,
                 const QList<QIcon>* images)
        : palette_(palette), sheetFont_(sheetFont), lineHeight_(lineHeight), scale_(scale), images_(images) {}

    // Draws the cell into rect (which may reach left of clip, for a cell
    // drawn over the columns it spans), clipped to clip. baseFont is the
    // sheet's basic cell's font, or none.
    void Draw(QPainter& painter, const QRect& clip, const QRect& rect, const cmcCellObj& cell,
              const FontDesc* baseFont, const Look& look, const Owner& owner) const;

private:
    // The printed look of a warning or error mark, drawn rather than taken
    // from the screen's pictures so that it keeps its edges on paper.
    static void DrawPrintedMark(QPainter& painter, bool error, int x, int y, int e);

    const QPalette& palette_;
    const QFont& sheetFont_;
    int lineHeight_;
    int32_t scale_;
    const QList<QIcon>* images_;
};
