#pragma once
#include "foundation/ColorName.h"

#include <functional>
#include <vector>

// One run of pixel columns of the progress bar in one colour.
struct ProgressSpan {
    int left;
    int width;
    ColorValue colour;
};

inline constexpr ColorValue kProgressFilled = clHighlight;
inline constexpr ColorValue kProgressEmpty = clWindow;
inline constexpr int kProgressCells = 32;

// The bar in a paint box of the given width when done of total bytes have
// moved: 32 cells, each w - 1 columns of its colour and one empty column,
// w = (width + 1) div 32.
std::vector<ProgressSpan> ProgressSpans(int width, int done, int total);
// Cells shown filled for done of total bytes (0 when total is 0).
int ProgressFilledCells(int done, int total);

// The "Cloning" window and the main form as the clone manager sees them. The
// window layer implements it with a tool window over the main form; tests
// record what the manager asked for.
class CloneProgressView {
public:
    // Gives the spans to fill for a paint box of the given width.
    using SpanSource = std::function<std::vector<ProgressSpan>(int width)>;

    virtual ~CloneProgressView() = default;
    // Shows the window centred over the main form and disables the main
    // form; nothing when the window is open. The paint box paints through source.
    virtual void Open(SpanSource source) = 0;
    // Hides and deletes the window if it is open.
    virtual void Close() = 0;
    // False also when the window was destroyed from elsewhere.
    virtual bool IsOpen() const = 0;
    // Paints the paint box now.
    virtual void Repaint() = 0;
    // Enabling also gives the main form the focus.
    virtual void SetMainFormEnabled(bool enabled) = 0;
};
