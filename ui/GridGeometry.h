#pragma once
#include <QRect>

#include <cstdint>
#include <vector>

// Where the cells of a sheet grid lie: column widths and row heights (0 hides
// a column or row), the fixed columns and rows that never scroll, the first
// scrolled column and row shown, and the client area they are shown in.
// Plain arithmetic, so the grid's layout is testable without a widget and the
// screen and a printer share it.
class GridGeometry {
public:
    // The class library's grid starts with these, and so does ours.
    static constexpr int kDefaultCount = 5;
    static constexpr int kDefaultFixed = 1;
    static constexpr int kDefaultColWidth = 64;
    static constexpr int kDefaultRowHeight = 24;

    GridGeometry();

    // Counts are at least 1; the fixed columns and rows shrink to leave one
    // scrolled column and row. New columns and rows take the default size.
    int ColCount() const { return static_cast<int>(colWidths_.size()); }
    int RowCount() const { return static_cast<int>(rowHeights_.size()); }
    void SetColCount(int count);
    void SetRowCount(int count);

    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    void SetFixedCols(int count);
    void SetFixedRows(int count);

    // Setting a default size gives every column (row) that size.
    int DefaultColWidth() const { return defaultColWidth_; }
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultColWidth(int width);
    void SetDefaultRowHeight(int height);

    // Out-of-range indexes read as 0 and are not written; negative sizes are 0.
    int ColWidth(int col) const;
    int RowHeight(int row) const;
    void SetColWidth(int col, int width);
    void SetRowHeight(int row, int height);

    // The client area the cells are shown in.
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    void SetClientSize(int width, int height);

    // The first scrolled column and row shown; kept within
    // [FixedCols, MaxLeftCol] and [FixedRows, MaxTopRow]. The setters tell
    // whether the value changed.
    int LeftCol() const { return leftCol_; }
    int TopRow() const { return topRow_; }
    bool SetLeftCol(int col);
    bool SetTopRow(int row);
    // The largest left column (top row) that still fills the client area:
    // scrolled that far, the last column (row) is wholly in view.
    int MaxLeftCol() const;
    int MaxTopRow() const;
    // The client area cannot show all columns (rows): a scroll bar is needed.
    bool NeedsHorzScroll() const { return MaxLeftCol() > fixedCols_; }
    bool NeedsVertScroll() const { return MaxTopRow() > fixedRows_; }

    // Scrolled columns (rows) from the left column (top row) that are wholly
    // in view, at least 1.
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // Width of the fixed columns, height of the fixed rows: where the
    // scrolled part of the client area begins.
    int FixedWidth() const;
    int FixedHeight() const;

    // The cell's rectangle in client coordinates; an empty rectangle when the
    // cell does not exist, is hidden (width or height 0), is scrolled out of
    // view or lies wholly beyond the client area. A cell partly in view gets
    // its whole rectangle.
    QRect CellRect(int col, int row) const;
    // The shown cell under a client point, or {-1, -1} (both) when the point
    // is on no cell.
    struct Coord {
        int col = -1;
        int row = -1;
        bool operator==(const Coord&) const = default;
    };
    Coord CellAt(int x, int y) const;

    // A column or row as shown: its index, where it starts and its size.
    struct Span {
        int index = 0;
        int start = 0;
        int size = 0;
        bool operator==(const Span&) const = default;
    };
    // The columns (rows) shown, left to right (top to bottom): the fixed ones,
    // then the scrolled ones from the left column (top row) on, up to the last
    // that begins inside the client area; hidden ones are left out.
    std::vector<Span> ShownCols() const;
    std::vector<Span> ShownRows() const;

    // Scrolls the least that brings the cell wholly into view (as far as it
    // fits); fixed columns and rows are always in view. Tells whether the
    // left column or top row changed.
    bool ScrollIntoView(int col, int row);

private:
    int MaxFirst(const std::vector<int>& sizes, int fixed, int room) const;
    int FullyShown(const std::vector<int>& sizes, int first, int room) const;
    void Clamp();

    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int fixedCols_ = kDefaultFixed;
    int fixedRows_ = kDefaultFixed;
    int defaultColWidth_ = kDefaultColWidth;
    int defaultRowHeight_ = kDefaultRowHeight;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int leftCol_ = kDefaultFixed;
    int topRow_ = kDefaultFixed;
};
