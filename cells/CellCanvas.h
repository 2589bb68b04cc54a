#pragma once
#include "foundation/ColorName.h"

#include <cstdint>

// What the cells that draw (radio-display texts, glyphs) need of the surface
// the host paints a cell on. The window layer implements it over its painter;
// tests record the calls.
class CellCanvas {
public:
    virtual ~CellCanvas() = default;

    // The colour of the cell's text.
    virtual ColorValue FontColor() const = 0;
    // Greyed cells change the colour their text is drawn in.
    virtual void SetFontColor(ColorValue color) = 0;
    virtual ColorValue BrushColor() const = 0;
    virtual void SetBrushColor(ColorValue color) = 0;
    // Fills the pixels left..right-1, top..bottom-1 with the brush colour.
    virtual void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    // Draws the outline of that rectangle in the colour and leaves its inside as it is.
    virtual void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorValue color) = 0;
    // The radio-display painter tells the surface what it lays out before it
    // paints: glyphs a line, lines, and a glyph's size in dots. A host that
    // sizes its cells to the glyphs listens; painting surfaces need not.
    virtual void NoteGlyphs(int32_t /*perLine*/, int32_t /*lines*/, int32_t /*dotsWide*/,
                            int32_t /*dotsHigh*/) {}
};
