// The sheet on the event bus: redrawing the cells an event or a changed cell
// names, answering for its pop-up menu, committing the editor on request.
#include "ui/cuiSheet.h"

#include "cells/CellEngine.h"
#include "foundation/cmcEvMan.h"
#include "ui/cuiGrid.h"
#include "ui/cuiMenu.h"

#include <QMenu>

#include <cstdlib>

namespace {

// Selector bits of InvalidateMatching.
constexpr uint32_t kMatchCellAndIndex = 1u << 0;
constexpr uint32_t kMatchCategory = 1u << 1;
constexpr uint32_t kMatchCellId = 1u << 2;
constexpr uint32_t kMatchIndex = 1u << 3;
constexpr uint32_t kMatchNeighbours = 1u << 4;
constexpr uint32_t kMatchAll = 1u << 5;
constexpr uint32_t kMatchIndexFrom = 1u << 6;
constexpr uint32_t kMatchIndexUpTo = 1u << 7;

// The events that redraw the cells matching one field, the event's second value.
struct RedrawEvent {
    int32_t type;
    uint32_t selector;
    int32_t cmcCellObj::*field;
};
constexpr RedrawEvent kRedrawEvents[] = {
    {evRedrawCategory, kMatchCategory, &cmcCellObj::category},
    {evRedrawCellId, kMatchCellId, &cmcCellObj::cellId},
    {evRedrawRow, kMatchIndex, &cmcCellObj::index},
    {evRedrawIndex, kMatchIndexUpTo, &cmcCellObj::index},
    {evRowDeleted, kMatchIndexFrom, &cmcCellObj::index},
};

// A pattern no field of which matches by accident: the caller sets the one it asks about.
cmcCellObj BlankPattern() {
    cmcCellObj pattern;
    pattern.category = 0;
    pattern.cellId = 0;
    pattern.index = -1;
    return pattern;
}

} // namespace

void cuiSheet::OnCellChanged(const cmcCellCapsule& request, int32_t resultFlags) {
    if (!request.cell) return;
    uint32_t selector = 0;
    if (resultFlags & 1) selector |= kMatchCellAndIndex;
    if (resultFlags & 8) selector |= kMatchIndex;
    if (resultFlags & (4 | 32)) selector |= kMatchAll;
    InvalidateMatching(*request.cell, selector);
}

void cuiSheet::InvalidateMatching(const cmcCellObj& p, uint32_t selector) {
    if (!grid_ || slots_.empty()) return;
    const int32_t rowEnd = std::min(grid_->TopRow() + grid_->VisibleRowCount() + 1, rows_);
    const int32_t colEnd = std::min(grid_->LeftCol() + grid_->VisibleColCount() + 1, cols_);
    const int32_t noCell = engine_.Vocabulary().NoCell();
    const bool patternReal = p.category != engine_.Vocabulary().NoCategory();
    for (int32_t r = 0; r < rowEnd; ++r)
        for (int32_t c = 0; c < colEnd; ++c) {
            const cmcCellObj& x = *GetCellId(c, r).cell;
            const bool real = patternReal && x.cellId != noCell;
            const bool hit =
                ((selector & kMatchCategory) && x.category == p.category) ||
                ((selector & kMatchCellId) && x.cellId == p.cellId) ||
                ((selector & kMatchIndex) && real && x.index == p.index) ||
                ((selector & kMatchIndexUpTo) && real && x.index <= p.index) ||
                ((selector & kMatchIndexFrom) && real && x.index >= p.index) ||
                ((selector & kMatchCellAndIndex) && x.cellId == p.cellId && x.index == p.index) ||
                ((selector & kMatchNeighbours) && x.category == p.category && x.cellId != noCell &&
                 std::abs(x.index - p.index) <= 1) ||
                ((selector & kMatchAll) && x.cellId != noCell);
            if (hit) grid_->InvalidateCell(c, r);
        }
}

void cuiSheet::RedrawCells() {
    InvalidateMatching(BlankPattern(), kMatchAll);
}

void cuiSheet::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<cuiSheet*>(user)->OnEvent(ev);
}

void cuiSheet::OnEvent(const cmcEvent& ev) {
    if (!grid_ || slots_.empty()) return;
    switch (ev.type) {
    case evQueryCurrentCell:
        if (OwnsMenu(ev.p1) && InGrid(CurrentCol(), CurrentRow()))
            cuiMenu::AnswerCell(GetCell(CurrentCol(), CurrentRow()));
        return;
    case evRedrawSheet:
        RedrawCells();
        return;
    case evEndEditing:
        CommitEditor();
        return;
    default:
        break;
    }
    for (const RedrawEvent& r : kRedrawEvents) {
        if (r.type != ev.type) continue;
        cmcCellObj pattern = BlankPattern();
        pattern.*r.field = static_cast<int32_t>(ev.p2);
        InvalidateMatching(pattern, r.selector);
        return;
    }
}
