#include "ui/cuiGrid.h"

#include "platform/Timer.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

cuiGrid::cuiGrid(QWidget* parent) : QAbstractScrollArea(parent), color_(palette().color(QPalette::Base)) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The owner paints every pixel of the cells; the rest is filled with the
    // grid's colour, so Qt need not clear the viewport first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    LayoutChanged();
}

cuiGrid::~cuiGrid() = default;

void cuiGrid::SetColCount(int count) {
    geometry_.SetColCount(count);
    LayoutChanged();
}

void cuiGrid::SetRowCount(int count) {
    geometry_.SetRowCount(count);
    LayoutChanged();
}

void cuiGrid::SetFixedCols(int count) {
    geometry_.SetFixedCols(count);
    LayoutChanged();
}

void cuiGrid::SetFixedRows(int count) {
    geometry_.SetFixedRows(count);
    LayoutChanged();
}

void cuiGrid::SetDefaultColWidth(int width) {
    geometry_.SetDefaultColWidth(width);
    LayoutChanged();
}

void cuiGrid::SetDefaultRowHeight(int height) {
    geometry_.SetDefaultRowHeight(height);
    LayoutChanged();
}

void cuiGrid::SetColWidth(int col, int width) {
    geometry_.SetColWidth(col, width);
    LayoutChanged();
}

void cuiGrid::SetRowHeight(int row, int height) {
    geometry_.SetRowHeight(row, height);
    LayoutChanged();
}

void cuiGrid::SetLeftCol(int col) {
    ScrollTo(col, geometry_.TopRow());
}

void cuiGrid::SetTopRow(int row) {
    ScrollTo(geometry_.LeftCol(), row);
}

void cuiGrid::ScrollTo(int leftCol, int topRow) {
    const int oldLeft = geometry_.LeftCol();
    const int oldTop = geometry_.TopRow();
    const bool moved = geometry_.SetLeftCol(leftCol) | geometry_.SetTopRow(topRow);
    if (!moved) return;
    SyncScrollBars();
    ShowScrolledFrom(oldLeft, oldTop);
    NoteTopLeft();
}

void cuiGrid::ShowScrolledFrom(int oldLeftCol, int oldTopRow) {
    // The pixels the view moves by: the sizes of the columns (rows) that
    // went out of view or came into it at the start of the scrolled part.
    const auto shift = [](int from, int to, auto size) {
        int pixels = 0;
        for (int i = std::min(from, to); i < std::max(from, to); ++i)
            pixels += size(i);
        return from < to ? -pixels : pixels;
    };
    const int dx = shift(oldLeftCol, LeftCol(), [this](int c) { return ColWidth(c); });
    const int dy = shift(oldTopRow, TopRow(), [this](int r) { return RowHeight(r); });
    const QRect view = viewport()->rect();
    // The fixed rows scroll sideways with the columns, the fixed columns up
    // and down with the rows.
    const QRect rows = view.adjusted(0, geometry_.FixedHeight(), 0, 0);
    const QRect cols = view.adjusted(geometry_.FixedWidth(), 0, 0, 0);
    if (dx == 0 && dy != 0 && std::abs(dy) < rows.height())
        viewport()->scroll(0, dy, rows);
    else if (dy == 0 && dx != 0 && std::abs(dx) < cols.width())
        viewport()->scroll(dx, 0, cols);
    else
        viewport()->update();
}

bool cuiGrid::SetCol(int col) {
    return MoveColRow(col, row_, true, true);
}

bool cuiGrid::SetRow(int row) {
    return MoveColRow(col_, row, true, true);
}

bool cuiGrid::MoveColRow(int col, int row, bool moveAnchor, bool show) {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return false;
    if (onSelectCell_ && !onSelectCell_(col, row)) return false;
    // The closure may have moved the current cell itself; the old cell is
    // whatever is current now.
    const int oldCol = col_;
    const int oldRow = row_;
    col_ = col;
    row_ = row;
    if (moveAnchor) anchor_ = {col, row};
    const int oldLeft = geometry_.LeftCol();
    const int oldTop = geometry_.TopRow();
    if (show && geometry_.ScrollIntoView(col, row)) {
        SyncScrollBars();
        ShowScrolledFrom(oldLeft, oldTop);
        NoteTopLeft();
    }
    InvalidateCell(oldCol, oldRow);
    InvalidateCell(col, row);
    return true;
}

void cuiGrid::InvalidateCell(int col, int row) {
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty()) viewport()->update(rect);
}

void cuiGrid::InvalidateGrid() {
    viewport()->update();
}

void cuiGrid::SetColor(const QColor& color) {
    color_ = color;
    viewport()->update();
}

void cuiGrid::DrawCells(QPainter& painter, const QRegion& region) {
    QRegion uncovered = region;
    const bool focused = hasFocus();
    const std::vector<GridGeometry::Span> cols = geometry_.ShownCols();
    for (const GridGeometry::Span& row : geometry_.ShownRows()) {
        for (const GridGeometry::Span& col : cols) {
            const QRect rect(col.start, row.start, col.size, row.size);
            // Without a draw-cell closure a cell shows the grid's colour: no contents.
            if (!onDrawCell_ || !region.intersects(rect)) continue;
            uncovered -= rect;
            unsigned state = 0;
            if (col.index < FixedCols() || row.index < FixedRows()) state |= kDrawFixed;
            if (col.index == col_ && row.index == row_) {
                state |= kDrawSelected;
                if (focused) state |= kDrawFocused;
            }
            onDrawCell_(painter, col.index, row.index, rect, state);
        }
    }
    if (!uncovered.isEmpty()) {
        painter.save();
        painter.setClipRegion(uncovered, Qt::IntersectClip);
        painter.fillRect(uncovered.boundingRect(), color_);
        painter.restore();
    }
}

void cuiGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    DrawCells(painter, event->region());
}

void cuiGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    LayoutChanged();
}

void cuiGrid::scrollContentsBy(int, int) {
    if (syncingBars_) return;
    ScrollTo(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void cuiGrid::LayoutChanged() {
    geometry_.SetClientSize(viewport()->width(), viewport()->height());
    ClampCurrent();
    SyncScrollBars();
    viewport()->update();
    // Fewer or smaller cells, or a larger window, can pull the scroll position back.
    NoteTopLeft();
}

void cuiGrid::NoteTopLeft() {
    const Coord now{geometry_.LeftCol(), geometry_.TopRow()};
    if (now == toldTopLeft_) return;
    toldTopLeft_ = now;
    if (onTopLeftChanged_) onTopLeftChanged_();
}

// A layout change that removes the current cell leaves it on the nearest one
// that exists: the old one is gone, so there is nothing to refuse.
void cuiGrid::ClampCurrent() {
    col_ = std::min(col_, ColCount() - 1);
    row_ = std::min(row_, RowCount() - 1);
    anchor_.col = std::min(anchor_.col, ColCount() - 1);
    anchor_.row = std::min(anchor_.row, RowCount() - 1);
}

void cuiGrid::SyncScrollBars() {
    syncingBars_ = true;
    QScrollBar* h = horizontalScrollBar();
    h->setRange(geometry_.FixedCols(), geometry_.MaxLeftCol());
    h->setPageStep(geometry_.VisibleColCount());
    h->setSingleStep(1);
    h->setValue(geometry_.LeftCol());
    QScrollBar* v = verticalScrollBar();
    v->setRange(geometry_.FixedRows(), geometry_.MaxTopRow());
    v->setPageStep(geometry_.VisibleRowCount());
    v->setSingleStep(1);
    v->setValue(geometry_.TopRow());
    syncingBars_ = false;
}

// The grid's own moves step over hidden columns and rows and stop at the
// fixed part and the far edge.
static int StepShown(const GridGeometry& g, int from, int steps, bool cols) {
    const int first = cols ? g.FixedCols() : g.FixedRows();
    const int count = cols ? g.ColCount() : g.RowCount();
    const auto size = [&](int i) { return cols ? g.ColWidth(i) : g.RowHeight(i); };
    const int step = steps < 0 ? -1 : 1;
    int at = from;
    for (int n = std::abs(steps); n > 0; --n) {
        int next = at + step;
        while (next >= first && next < count && size(next) == 0)
            next += step;
        if (next < first || next >= count) break;
        at = next;
    }
    return at;
}

void cuiGrid::MoveBy(int dx, int dy) {
    const int col = StepShown(geometry_, col_, dx, true);
    const int row = StepShown(geometry_, row_, dy, false);
    if (col != col_ || row != row_) MoveColRow(col, row, true, true);
}

void cuiGrid::keyPressEvent(QKeyEvent* event) {
    const bool handled = onKeyDown_ && onKeyDown_(*event);
    if (!handled) {
        switch (event->key()) {
        case Qt::Key_Left:
            MoveBy(-1, 0);
            break;
        case Qt::Key_Right:
            MoveBy(1, 0);
            break;
        case Qt::Key_Up:
            MoveBy(0, -1);
            break;
        case Qt::Key_Down:
            MoveBy(0, 1);
            break;
        case Qt::Key_PageUp:
            MoveBy(0, -geometry_.VisibleRowCount());
            break;
        case Qt::Key_PageDown:
            MoveBy(0, geometry_.VisibleRowCount());
            break;
        case Qt::Key_Home:
            MoveBy(FixedCols() - col_, 0);
            break;
        case Qt::Key_End:
            MoveBy(ColCount() - 1 - col_, 0);
            break;
        default:
            break;
        }
    }
    if (!event->text().isEmpty() && onKeyPress_) onKeyPress_(*event);
    event->accept();
}

void cuiGrid::keyReleaseEvent(QKeyEvent* event) {
    if (onKeyUp_) onKeyUp_(*event);
    event->accept();
}

void cuiGrid::mousePressEvent(QMouseEvent* event) {
    pointer_ = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const Coord cell = MouseToCell(pointer_.x(), pointer_.y());
        if (cell.col >= FixedCols() && cell.row >= FixedRows()) {
            MoveColRow(cell.col, cell.row, true, true);
            StartSelecting(pointer_);
        }
    }
    if (onMouseDown_) onMouseDown_(*event);
    event->accept();
}

void cuiGrid::mouseReleaseEvent(QMouseEvent* event) {
    pointer_ = event->position().toPoint();
    if (event->button() == Qt::LeftButton) StopSelecting();
    if (onMouseUp_) onMouseUp_(*event);
    event->accept();
}

void cuiGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    pointer_ = event->position().toPoint();
    if (onDoubleClick_) onDoubleClick_(*event);
    event->accept();
}

void cuiGrid::mouseMoveEvent(QMouseEvent* event) {
    pointer_ = event->position().toPoint();
    if (selecting_) {
        const Coord cell = MouseToCell(pointer_.x(), pointer_.y());
        if (cell.col >= FixedCols() && cell.row >= FixedRows() && (cell.col != col_ || cell.row != row_))
            MoveColRow(cell.col, cell.row, false, true);
    }
    if (onMouseMove_) onMouseMove_(*event);
    event->accept();
}

void cuiGrid::StartSelecting(const QPoint& pos) {
    selecting_ = true;
    pointer_ = pos;
    selectTimer_ = plat::Timers().CreateTimer([this] { OnSelectTimer(); });
    selectTimer_->Start(kTimedScrollMs);
}

void cuiGrid::StopSelecting() {
    selecting_ = false;
    selectTimer_.reset();
}

// Where the last wholly shown column (row) ends.
static int FullyShownEnd(const std::vector<GridGeometry::Span>& spans, int room) {
    int end = 0;
    for (const GridGeometry::Span& s : spans)
        if (s.start + s.size <= room) end = s.start + s.size;
    return end;
}

// While the button is held with the pointer past the scrolled part's edges,
// scroll towards it.
void cuiGrid::OnSelectTimer() {
    if (!selecting_) return;
    unsigned directions = 0;
    const int fullRight = FullyShownEnd(geometry_.ShownCols(), geometry_.ClientWidth());
    const int fullBottom = FullyShownEnd(geometry_.ShownRows(), geometry_.ClientHeight());
    if (pointer_.x() < geometry_.FixedWidth())
        directions |= kScrollLeft;
    else if (pointer_.x() > fullRight)
        directions |= kScrollRight;
    if (pointer_.y() < geometry_.FixedHeight())
        directions |= kScrollUp;
    else if (pointer_.y() > fullBottom)
        directions |= kScrollDown;
    if (directions == 0) return;
    if (onTimedScroll_) {
        onTimedScroll_(directions);
        return;
    }
    const int dx = ((directions & kScrollRight) ? 1 : 0) - ((directions & kScrollLeft) ? 1 : 0);
    const int dy = ((directions & kScrollDown) ? 1 : 0) - ((directions & kScrollUp) ? 1 : 0);
    MoveBy(dx, dy);
}

// A pop-up menu takes the keyboard while it is open and gives it back when it
// closes; for the owner the grid keeps the focus all the while. A focus-in
// from a pop-up the grid did not lose the focus to is a real gain.
void cuiGrid::focusInEvent(QFocusEvent* event) {
    if (event->reason() != Qt::PopupFocusReason || !focused_) {
        focused_ = true;
        if (onFocusGained_) onFocusGained_();
        InvalidateCell(col_, row_);
    }
    QAbstractScrollArea::focusInEvent(event);
}

void cuiGrid::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::PopupFocusReason) {
        focused_ = false;
        // Losing the focus ends a drag: the button release goes elsewhere.
        StopSelecting();
        if (onFocusLost_) onFocusLost_();
        InvalidateCell(col_, row_);
    }
    QAbstractScrollArea::focusOutEvent(event);
}

void cuiGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (!onContextPopup_) {
        QAbstractScrollArea::contextMenuEvent(event);
        return;
    }
    onContextPopup_(*event);
    event->accept();
}
