#include "ui/GridGeometry.h"

#include <algorithm>

GridGeometry::GridGeometry()
    : colWidths_(kDefaultCount, kDefaultColWidth), rowHeights_(kDefaultCount, kDefaultRowHeight) {}

void GridGeometry::SetColCount(int count) {
    colWidths_.resize(static_cast<size_t>(std::max(count, 1)), defaultColWidth_);
    Clamp();
}

void GridGeometry::SetRowCount(int count) {
    rowHeights_.resize(static_cast<size_t>(std::max(count, 1)), defaultRowHeight_);
    Clamp();
}

void GridGeometry::SetFixedCols(int count) {
    fixedCols_ = count;
    Clamp();
}

void GridGeometry::SetFixedRows(int count) {
    fixedRows_ = count;
    Clamp();
}

void GridGeometry::SetDefaultColWidth(int width) {
    defaultColWidth_ = std::max(width, 0);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    Clamp();
}

void GridGeometry::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = std::max(height, 0);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    Clamp();
}

int GridGeometry::ColWidth(int col) const {
    return col >= 0 && col < ColCount() ? colWidths_[static_cast<size_t>(col)] : 0;
}

int GridGeometry::RowHeight(int row) const {
    return row >= 0 && row < RowCount() ? rowHeights_[static_cast<size_t>(row)] : 0;
}

void GridGeometry::SetColWidth(int col, int width) {
    if (col < 0 || col >= ColCount()) return;
    colWidths_[static_cast<size_t>(col)] = std::max(width, 0);
    Clamp();
}

void GridGeometry::SetRowHeight(int row, int height) {
    if (row < 0 || row >= RowCount()) return;
    rowHeights_[static_cast<size_t>(row)] = std::max(height, 0);
    Clamp();
}

void GridGeometry::SetClientSize(int width, int height) {
    clientWidth_ = std::max(width, 0);
    clientHeight_ = std::max(height, 0);
    Clamp();
}

bool GridGeometry::SetLeftCol(int col) {
    const int old = leftCol_;
    leftCol_ = std::clamp(col, fixedCols_, MaxLeftCol());
    return leftCol_ != old;
}

bool GridGeometry::SetTopRow(int row) {
    const int old = topRow_;
    topRow_ = std::clamp(row, fixedRows_, MaxTopRow());
    return topRow_ != old;
}

static int SumOf(const std::vector<int>& sizes, int from, int to) {
    int sum = 0;
    for (int i = from; i < to; ++i)
        sum += sizes[static_cast<size_t>(i)];
    return sum;
}

// Walks back from the last column while the columns from there on still fit
// the room left beside the fixed part.
int GridGeometry::MaxFirst(const std::vector<int>& sizes, int fixed, int room) const {
    const int count = static_cast<int>(sizes.size());
    int first = count;
    int used = 0;
    while (first > fixed && used + sizes[static_cast<size_t>(first - 1)] <= room) {
        used += sizes[static_cast<size_t>(first - 1)];
        --first;
    }
    // Even the last column alone may be wider than the room: it must still be reachable.
    return std::clamp(first, fixed, count - 1);
}

int GridGeometry::MaxLeftCol() const {
    return MaxFirst(colWidths_, fixedCols_, clientWidth_ - FixedWidth());
}

int GridGeometry::MaxTopRow() const {
    return MaxFirst(rowHeights_, fixedRows_, clientHeight_ - FixedHeight());
}

int GridGeometry::FullyShown(const std::vector<int>& sizes, int first, int room) const {
    const int count = static_cast<int>(sizes.size());
    int shown = 0;
    int used = 0;
    for (int i = first; i < count && used + sizes[static_cast<size_t>(i)] <= room; ++i) {
        used += sizes[static_cast<size_t>(i)];
        ++shown;
    }
    return std::max(shown, 1);
}

int GridGeometry::VisibleColCount() const {
    return FullyShown(colWidths_, leftCol_, clientWidth_ - FixedWidth());
}

int GridGeometry::VisibleRowCount() const {
    return FullyShown(rowHeights_, topRow_, clientHeight_ - FixedHeight());
}

int GridGeometry::FixedWidth() const {
    return SumOf(colWidths_, 0, fixedCols_);
}

int GridGeometry::FixedHeight() const {
    return SumOf(rowHeights_, 0, fixedRows_);
}

// Start of a column (row) on screen, or -1 when it is scrolled away.
static int StartOf(const std::vector<int>& sizes, int fixed, int first, int index) {
    if (index < fixed) return SumOf(sizes, 0, index);
    if (index < first) return -1;
    return SumOf(sizes, 0, fixed) + SumOf(sizes, first, index);
}

QRect GridGeometry::CellRect(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return {};
    const int w = ColWidth(col);
    const int h = RowHeight(row);
    if (w == 0 || h == 0) return {};
    const int x = StartOf(colWidths_, fixedCols_, leftCol_, col);
    const int y = StartOf(rowHeights_, fixedRows_, topRow_, row);
    if (x < 0 || y < 0 || x >= clientWidth_ || y >= clientHeight_) return {};
    return {x, y, w, h};
}

static std::vector<GridGeometry::Span> Shown(const std::vector<int>& sizes, int fixed, int first, int room) {
    std::vector<GridGeometry::Span> spans;
    const int count = static_cast<int>(sizes.size());
    int edge = 0;
    for (int i = 0; i < count && edge < room; ++i) {
        if (i == fixed) i = std::max(first, fixed);
        if (i >= count) break;
        const int size = sizes[static_cast<size_t>(i)];
        if (size == 0) continue;
        spans.push_back({i, edge, size});
        edge += size;
    }
    return spans;
}

std::vector<GridGeometry::Span> GridGeometry::ShownCols() const {
    return Shown(colWidths_, fixedCols_, leftCol_, clientWidth_);
}

std::vector<GridGeometry::Span> GridGeometry::ShownRows() const {
    return Shown(rowHeights_, fixedRows_, topRow_, clientHeight_);
}

static int IndexAt(const std::vector<GridGeometry::Span>& spans, int p) {
    for (const GridGeometry::Span& s : spans)
        if (p >= s.start && p < s.start + s.size) return s.index;
    return -1;
}

GridGeometry::Coord GridGeometry::CellAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= clientWidth_ || y >= clientHeight_) return {};
    const int col = IndexAt(ShownCols(), x);
    const int row = IndexAt(ShownRows(), y);
    if (col < 0 || row < 0) return {};
    return {col, row};
}

// The first column (row) to show so that index ends inside the room, as
// close to the current first as possible.
static int FirstToShow(const std::vector<int>& sizes, int first, int index, int room) {
    if (index < first) return index;
    int used = 0;
    int start = index + 1;
    while (start > first && used + sizes[static_cast<size_t>(start - 1)] <= room) {
        used += sizes[static_cast<size_t>(start - 1)];
        --start;
    }
    // A cell wider than the room is shown from its start; hidden ones at the
    // start would only be scrolled to for nothing.
    if (start == first) return first;
    start = std::min(start, index);
    while (start < index && sizes[static_cast<size_t>(start)] == 0)
        ++start;
    return start;
}

bool GridGeometry::ScrollIntoView(int col, int row) {
    bool changed = false;
    if (col >= fixedCols_ && col < ColCount())
        changed |= SetLeftCol(FirstToShow(colWidths_, leftCol_, col, clientWidth_ - FixedWidth()));
    if (row >= fixedRows_ && row < RowCount())
        changed |= SetTopRow(FirstToShow(rowHeights_, topRow_, row, clientHeight_ - FixedHeight()));
    return changed;
}

void GridGeometry::Clamp() {
    fixedCols_ = std::clamp(fixedCols_, 0, ColCount() - 1);
    fixedRows_ = std::clamp(fixedRows_, 0, RowCount() - 1);
    leftCol_ = std::clamp(leftCol_, fixedCols_, MaxLeftCol());
    topRow_ = std::clamp(topRow_, fixedRows_, MaxTopRow());
}
