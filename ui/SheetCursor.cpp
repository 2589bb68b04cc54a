#include "ui/SheetCursor.h"

#include <algorithm>
#include <cstdlib>

namespace {

int Sign(int32_t v) {
    return (v > 0) - (v < 0);
}

} // namespace

bool SheetCursor::IsSelectable(int32_t col, int32_t row) const {
    return InGrid(col, row) && cells_.TakesCursor(col, row);
}

bool SheetCursor::FindSpanStart(int32_t& col, int32_t row) const {
    for (int32_t c = col; c >= 0; --c) {
        if (IsSelectable(c, row)) {
            col = c;
            return true;
        }
        if (!InGrid(c, row) || !cells_.ContinuesLeft(c, row)) return false;
    }
    return false;
}

bool SheetCursor::Step(int32_t sx, int32_t sy, bool wrap, bool nearest, Cell& at) const {
    const int32_t cols = cells_.CellCols(), rows = cells_.CellRows();
    int32_t g = at.col, h = at.row;
    for (;;) {
        g += sx;
        h += sy;
        if (wrap) {
            g = (g % cols + cols) % cols;
            h = (h % rows + rows) % rows;
            if (g == at.col && h == at.row) break;
        } else if (!InGrid(g, h)) {
            break;
        }
        if (IsSelectable(g, h)) {
            at = {g, h};
            return true;
        }
    }
    if (!nearest) return false;
    // Nothing straight ahead: the nearest selectable cell of the next row
    // (column) that has one, near the column (row) last aimed at.
    const bool horizontal = sx != 0;
    int32_t l = (horizontal ? at.col : target_.col) + sx;
    int32_t m = (horizontal ? target_.row : at.row) + sy;
    while (InGrid(l, m)) {
        const int32_t span = horizontal ? rows : cols;
        const int32_t from = horizontal ? m : l;
        for (int32_t d = 0; d < span; ++d) {
            for (int32_t k : {from - d, from + d}) {
                const int32_t c = horizontal ? l : k;
                const int32_t r = horizontal ? k : m;
                if (IsSelectable(c, r)) {
                    at = {c, r};
                    return true;
                }
            }
        }
        l += sx;
        m += sy;
    }
    return false;
}

SheetCursor::Cell SheetCursor::Move(Cell from, int32_t dx, int32_t dy, bool wrap, bool nearest) {
    if (dx != 0) dy = 0;
    const int32_t sx = Sign(dx), sy = Sign(dy);
    if (sx == 0 && sy == 0) return from;
    if (target_.col < 0) target_ = from;
    const int32_t steps = std::abs(dx != 0 ? dx : dy);
    Cell at = from;
    for (int32_t i = 0; i < steps; ++i) {
        Step(sx, sy, wrap, nearest, at);
        target_ = at;
    }
    return at;
}

void SheetCursor::Follow(Cell to, bool extending) {
    if (!extending || anchor_.col < 0) anchor_ = to;
}

SheetCursor::Block SheetCursor::Reach(Cell current, Cell to) const {
    return {{std::min({anchor_.col, current.col, to.col}), std::min({anchor_.row, current.row, to.row})},
            {std::max({anchor_.col, current.col, to.col}), std::max({anchor_.row, current.row, to.row})}};
}

SheetCursor::Block SheetCursor::Range(Cell to) const {
    return {{std::min(anchor_.col, to.col), std::min(anchor_.row, to.row)},
            {std::max(anchor_.col, to.col), std::max(anchor_.row, to.row)}};
}
