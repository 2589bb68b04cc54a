#pragma once
#include "ui/GridGeometry.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QRect>
#include <QRegion>

#include <functional>
#include <memory>

class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;
class QPainter;

namespace plat {
class Timer;
}

// The grid under every sheet. It holds no cell data and draws nothing of a
// cell itself: its owner draws each cell and decides each move through the
// closures below. The grid keeps the layout (sizes, fixed part, scroll
// position), the current cell, the scroll bars and the mouse and key
// plumbing. No grid lines, no editing, no sizing or moving of columns and rows,
// no range selection of its own: the sheet does all of that.
//
// Every change of the current cell, whoever makes it (keys, mouse, code),
// first asks the select-cell closure, which may refuse. No closure is ever
// called with a column or row outside the grid.
class cuiGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    // State bits handed to the draw-cell closure.
    enum DrawState : unsigned {
        kDrawSelected = 1, // the current cell
        kDrawFocused = 2,  // the current cell while the grid has the focus
        kDrawFixed = 4,    // a cell of the fixed columns or rows
    };
    // Directions handed to the timed-scroll closure (a set of them).
    enum ScrollDirection : unsigned {
        kScrollLeft = 1,
        kScrollRight = 2,
        kScrollUp = 4,
        kScrollDown = 8,
    };
    // How often the grid looks for the pointer past its edge while a button
    // is held on it.
    static constexpr int kTimedScrollMs = 60;

    using Coord = GridGeometry::Coord;

    // Answers whether (col, row) may become the current cell.
    using SelectCellHandler = std::function<bool(int col, int row)>;
    // Draws one cell on the painter (the screen's, or any other surface given
    // to DrawCells) inside rect; state is a set of DrawState bits.
    using DrawCellHandler =
        std::function<void(QPainter& painter, int col, int row, const QRect& rect, unsigned state)>;
    using NotifyHandler = std::function<void()>;
    // directions: a set of ScrollDirection bits.
    using TimedScrollHandler = std::function<void(unsigned directions)>;
    // Key down: returns true when it handled the key, which then gets none of
    // the grid's own moves.
    using KeyDownHandler = std::function<bool(QKeyEvent& event)>;
    using KeyHandler = std::function<void(QKeyEvent& event)>;
    // Positions of mouse events are in client (viewport) coordinates, as
    // CellRect and MouseToCell use them.
    using MouseHandler = std::function<void(QMouseEvent& event)>;
    using ContextPopupHandler = std::function<void(QContextMenuEvent& event)>;

    explicit cuiGrid(QWidget* parent = nullptr);
    ~cuiGrid() override;

    // Layout (see GridGeometry). Changing it keeps the current cell inside the
    // grid and the scroll bars in step.
    int ColCount() const { return geometry_.ColCount(); }
    int RowCount() const { return geometry_.RowCount(); }
    void SetColCount(int count);
    void SetRowCount(int count);
    int FixedCols() const { return geometry_.FixedCols(); }
    int FixedRows() const { return geometry_.FixedRows(); }
    void SetFixedCols(int count);
    void SetFixedRows(int count);
    int DefaultColWidth() const { return geometry_.DefaultColWidth(); }
    int DefaultRowHeight() const { return geometry_.DefaultRowHeight(); }
    void SetDefaultColWidth(int width);
    void SetDefaultRowHeight(int height);
    int ColWidth(int col) const { return geometry_.ColWidth(col); }
    int RowHeight(int row) const { return geometry_.RowHeight(row); }
    void SetColWidth(int col, int width);
    void SetRowHeight(int row, int height);
    const GridGeometry& Geometry() const { return geometry_; }

    // Scroll position: the first scrolled column and row shown. Changing it
    // moves the scroll bars and calls the top-left-changed closure.
    int LeftCol() const { return geometry_.LeftCol(); }
    int TopRow() const { return geometry_.TopRow(); }
    void SetLeftCol(int col);
    void SetTopRow(int row);
    int VisibleColCount() const { return geometry_.VisibleColCount(); }
    int VisibleRowCount() const { return geometry_.VisibleRowCount(); }
    // The cells do not all fit: at least one scroll bar is shown.
    bool ShowsScrollBars() const { return geometry_.NeedsHorzScroll() || geometry_.NeedsVertScroll(); }

    // The current cell.
    int Col() const { return col_; }
    int Row() const { return row_; }
    // Move the current cell and scroll it into view; false when the cell does
    // not exist or the select-cell closure refused (the cell stays).
    bool SetCol(int col);
    bool SetRow(int row);
    // Moves the current cell to (col, row) when it exists and the select-cell
    // closure allows it; moveAnchor also moves the anchor there, show scrolls
    // the cell into view. Returns whether the current cell is now (col, row).
    bool MoveColRow(int col, int row, bool moveAnchor, bool show);
    // Where the last move with moveAnchor left the anchor.
    Coord Anchor() const { return anchor_; }

    // Client (viewport) coordinates; an empty rectangle for a cell not shown.
    QRect CellRect(int col, int row) const { return geometry_.CellRect(col, row); }
    // The cell under a client point; both -1 when the point is on no cell.
    Coord MouseToCell(int x, int y) const { return geometry_.CellAt(x, y); }
    // Redraws the cell (through the draw-cell closure) when it is shown.
    void InvalidateCell(int col, int row);
    void InvalidateGrid();

    // The colour of the client area that no cell covers.
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    // The one drawing routine: fills the area no cell covers with the grid's
    // colour and hands every shown cell that meets region to the draw-cell
    // closure, fixed cells too. The screen calls it from its paint event;
    // anything else that wants the grid's picture gives its own painter.
    void DrawCells(QPainter& painter, const QRegion& region);

    // Closures; empty after construction. Without one the grid does its own
    // plain thing: allow every move, draw nothing, scroll by one cell.
    void SetSelectCellHandler(SelectCellHandler handler) { onSelectCell_ = std::move(handler); }
    void SetDrawCellHandler(DrawCellHandler handler) { onDrawCell_ = std::move(handler); }
    void SetTopLeftChangedHandler(NotifyHandler handler) { onTopLeftChanged_ = std::move(handler); }
    void SetTimedScrollHandler(TimedScrollHandler handler) { onTimedScroll_ = std::move(handler); }
    // Called before the widget's own focus handling. A focus change caused by
    // a pop-up menu opening or closing is none for the owner and calls neither.
    void SetFocusGainedHandler(NotifyHandler handler) { onFocusGained_ = std::move(handler); }
    void SetFocusLostHandler(NotifyHandler handler) { onFocusLost_ = std::move(handler); }
    // A key press is first offered to key down; then, when it types a
    // character, key press gets it (as a keyboard sends a character after its
    // key-down, whatever the key-down handler did).
    void SetKeyDownHandler(KeyDownHandler handler) { onKeyDown_ = std::move(handler); }
    void SetKeyPressHandler(KeyHandler handler) { onKeyPress_ = std::move(handler); }
    void SetKeyUpHandler(KeyHandler handler) { onKeyUp_ = std::move(handler); }
    // Called after the grid's own handling of the event: a left press has
    // already moved the current cell.
    void SetMouseDownHandler(MouseHandler handler) { onMouseDown_ = std::move(handler); }
    void SetMouseUpHandler(MouseHandler handler) { onMouseUp_ = std::move(handler); }
    void SetDoubleClickHandler(MouseHandler handler) { onDoubleClick_ = std::move(handler); }
    void SetMouseMoveHandler(MouseHandler handler) { onMouseMove_ = std::move(handler); }
    // The context-menu key or the platform's context-menu request.
    void SetContextPopupHandler(ContextPopupHandler handler) { onContextPopup_ = std::move(handler); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void LayoutChanged();
    void SyncScrollBars();
    void ClampCurrent();
    // Calls the top-left-changed closure when the scroll position differs
    // from the one last reported.
    void NoteTopLeft();
    // Shows the view scrolled from that top left cell: a scroll along one
    // axis by less than the scrolled part moves the pixels already drawn and
    // repaints only what comes into view; anything else repaints it all.
    void ShowScrolledFrom(int oldLeftCol, int oldTopRow);
    void ScrollTo(int leftCol, int topRow);
    void MoveBy(int dx, int dy);
    void StartSelecting(const QPoint& pos);
    void StopSelecting();
    void OnSelectTimer();

    GridGeometry geometry_;
    int col_ = GridGeometry::kDefaultFixed;
    int row_ = GridGeometry::kDefaultFixed;
    Coord anchor_{GridGeometry::kDefaultFixed, GridGeometry::kDefaultFixed};
    Coord toldTopLeft_{GridGeometry::kDefaultFixed, GridGeometry::kDefaultFixed};
    QColor color_;
    // The owner was told of a focus gain and no loss since.
    bool focused_ = false;
    // A left button held on a cell: dragging moves the current cell, and the
    // timer scrolls while the pointer is past the edge.
    bool selecting_ = false;
    QPoint pointer_;
    std::unique_ptr<plat::Timer> selectTimer_;
    // Scroll bar updates the grid makes itself are no user scrolling.
    bool syncingBars_ = false;

    SelectCellHandler onSelectCell_;
    DrawCellHandler onDrawCell_;
    NotifyHandler onTopLeftChanged_;
    TimedScrollHandler onTimedScroll_;
    NotifyHandler onFocusGained_;
    NotifyHandler onFocusLost_;
    KeyDownHandler onKeyDown_;
    KeyHandler onKeyPress_;
    KeyHandler onKeyUp_;
    MouseHandler onMouseDown_;
    MouseHandler onMouseUp_;
    MouseHandler onDoubleClick_;
    MouseHandler onMouseMove_;
    ContextPopupHandler onContextPopup_;
};
