// The sheet grid's layout without a widget: sizes, hidden and fixed columns
// and rows, scroll limits, cell rectangles and hit tests.
#include "ui/GridGeometry.h"

#include <gtest/gtest.h>

namespace {

// Columns 30 | (hidden) | 40 | 50 | 60 | 20, the first fixed; rows 10 | 20 |
// (hidden) | 20 | 20 | 20, the first fixed; a client area of 120 x 50.
GridGeometry SmallGrid() {
    GridGeometry g;
    g.SetColCount(6);
    g.SetRowCount(6);
    const int widths[] = {30, 0, 40, 50, 60, 20};
    const int heights[] = {10, 20, 0, 20, 20, 20};
    for (int i = 0; i < 6; ++i) {
        g.SetColWidth(i, widths[i]);
        g.SetRowHeight(i, heights[i]);
    }
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.SetClientSize(120, 50);
    return g;
}

struct RectCase {
    int left, top, col, row;
    QRect expected;
};

TEST(GridGeometry, CellRectsAtScrollPositions) {
    const RectCase cases[] = {
        // Scrolled to the first non-fixed column and row.
        {1, 1, 0, 0, {0, 0, 30, 10}},
        {1, 1, 1, 0, {}}, // hidden column
        {1, 1, 2, 0, {30, 0, 40, 10}},
        {1, 1, 2, 1, {30, 10, 40, 20}},
        {1, 1, 2, 2, {}}, // hidden row
        {1, 1, 3, 3, {70, 30, 50, 20}},
        {1, 1, 4, 1, {}}, // begins at the right edge of the client area
        {1, 1, 2, 4, {}}, // begins at its bottom edge
        {1, 1, -1, 0, {}},
        {1, 1, 0, -1, {}},
        {1, 1, 6, 1, {}},
        {1, 1, 1, 6, {}},
        // Scrolled right and down: fixed cells stay, scrolled-away cells are gone.
        {3, 3, 0, 0, {0, 0, 30, 10}},
        {3, 3, 0, 3, {0, 10, 30, 20}},
        {3, 3, 3, 0, {30, 0, 50, 10}},
        {3, 3, 2, 3, {}},
        {3, 3, 3, 1, {}},
        {3, 3, 4, 4, {80, 30, 60, 20}}, // partly in view: its whole rectangle
        {4, 4, 5, 5, {90, 30, 20, 20}},
    };
    for (const RectCase& c : cases) {
        GridGeometry g = SmallGrid();
        g.SetLeftCol(c.left);
        g.SetTopRow(c.top);
        ASSERT_EQ(g.LeftCol(), c.left);
        ASSERT_EQ(g.TopRow(), c.top);
        EXPECT_EQ(g.CellRect(c.col, c.row), c.expected)
            << "cell " << c.col << "," << c.row << " scrolled to " << c.left << "," << c.top;
    }
}

struct HitCase {
    int left, top, x, y, col, row;
};

TEST(GridGeometry, PointsToCellsAndMinusOneOffTheCells) {
    const HitCase cases[] = {
        {1, 1, 0, 0, 0, 0},     {1, 1, 29, 9, 0, 0},   {1, 1, 30, 10, 2, 1},    {1, 1, 69, 29, 2, 1},
        {1, 1, 70, 30, 3, 3},   {1, 1, 119, 49, 3, 3}, {1, 1, 120, 10, -1, -1}, // right of the client area
        {1, 1, 40, 50, -1, -1},                                                 // below it
        {1, 1, -1, 5, -1, -1},  {1, 1, 5, -1, -1, -1}, {3, 3, 35, 15, 3, 3},    {3, 3, 10, 15, 0, 3},
        {3, 3, 90, 5, 4, 0},    {4, 4, 100, 45, 5, 5}, {4, 4, 115, 45, -1, -1}, // beyond the last column,
                                                                                // inside the client area {4,
                                                                                // 4, 119, 45, -1, -1}, //
                                                                                // beyond the last column,
                                                                                // inside the client area
    };
    for (const HitCase& c : cases) {
        GridGeometry g = SmallGrid();
        g.SetLeftCol(c.left);
        g.SetTopRow(c.top);
        EXPECT_EQ(g.CellAt(c.x, c.y), (GridGeometry::Coord{c.col, c.row}))
            << "point " << c.x << "," << c.y << " scrolled to " << c.left << "," << c.top;
    }
}

TEST(GridGeometry, HitTestAgreesWithTheRectangles) {
    GridGeometry g = SmallGrid();
    for (int left = 1; left <= g.MaxLeftCol(); ++left)
        for (int top = 1; top <= g.MaxTopRow(); ++top) {
            g.SetLeftCol(left);
            g.SetTopRow(top);
            for (int x = -2; x < 125; ++x)
                for (int y = -2; y < 55; ++y) {
                    const GridGeometry::Coord hit = g.CellAt(x, y);
                    if (hit.col < 0) {
                        EXPECT_EQ(hit.row, -1);
                        continue;
                    }
                    ASSERT_TRUE(g.CellRect(hit.col, hit.row).contains(x, y)) << x << "," << y;
                }
        }
}

TEST(GridGeometry, ScrollLimitsLetTheLastCellsFill) {
    GridGeometry g = SmallGrid();
    // 90 pixels beside the fixed column hold 60 + 20 but not 50 + 60 + 20.
    EXPECT_EQ(g.MaxLeftCol(), 4);
    EXPECT_EQ(g.MaxTopRow(), 4);
    EXPECT_TRUE(g.SetLeftCol(9));
    EXPECT_EQ(g.LeftCol(), 4);
    EXPECT_TRUE(g.SetLeftCol(-3));
    EXPECT_EQ(g.LeftCol(), 1) << "never into the fixed part";
    EXPECT_FALSE(g.SetLeftCol(0));

    g.SetClientSize(400, 200);
    EXPECT_EQ(g.MaxLeftCol(), 1);
    EXPECT_EQ(g.MaxTopRow(), 1);
    EXPECT_FALSE(g.NeedsHorzScroll());
    EXPECT_FALSE(g.NeedsVertScroll());

    // A last column wider than the room can still be scrolled to.
    g.SetClientSize(60, 200);
    EXPECT_EQ(g.MaxLeftCol(), 5);
    EXPECT_TRUE(g.NeedsHorzScroll());
}

TEST(GridGeometry, ShrinkingTheClientAreaPullsTheScrollPositionBack) {
    GridGeometry g = SmallGrid();
    g.SetLeftCol(4);
    g.SetClientSize(400, 50);
    EXPECT_EQ(g.LeftCol(), 1);
}

struct ShowCase {
    int left, top, col, row, newLeft, newTop;
};

TEST(GridGeometry, ScrollIntoViewMovesTheLeast) {
    const ShowCase cases[] = {
        {1, 1, 2, 1, 1, 1},                     // already wholly in view
        {1, 1, 3, 3, 1, 1}, {1, 1, 4, 1, 4, 1}, // 50 + 60 do not fit in 90
        {1, 1, 5, 1, 4, 1}, {4, 1, 3, 1, 3, 1},
        {4, 4, 2, 1, 2, 1}, {4, 4, 0, 0, 4, 4}, // fixed cells are always in view
        {1, 1, 1, 4, 1, 3},                     // row 4 under row 3 fits the 40 pixels
        {1, 1, 1, 5, 1, 4},
    };
    for (const ShowCase& c : cases) {
        GridGeometry g = SmallGrid();
        g.SetLeftCol(c.left);
        g.SetTopRow(c.top);
        const bool changed = g.ScrollIntoView(c.col, c.row);
        EXPECT_EQ(g.LeftCol(), c.newLeft) << "cell " << c.col << "," << c.row;
        EXPECT_EQ(g.TopRow(), c.newTop) << "cell " << c.col << "," << c.row;
        EXPECT_EQ(changed, c.newLeft != c.left || c.newTop != c.top);
    }
}

TEST(GridGeometry, VisibleCountsAreTheWhollyShownScrolledCells) {
    GridGeometry g = SmallGrid();
    g.SetLeftCol(2);
    EXPECT_EQ(g.VisibleColCount(), 2); // 40 + 50 = 90
    g.SetLeftCol(3);
    EXPECT_EQ(g.VisibleColCount(), 1); // 50, then 60 does not fit
    EXPECT_EQ(g.VisibleRowCount(), 3); // 20, hidden, 20
    g.SetClientSize(10, 5);
    EXPECT_EQ(g.VisibleColCount(), 1) << "at least one";
}

TEST(GridGeometry, ShownSpansSkipHiddenAndScrolledAway) {
    GridGeometry g = SmallGrid();
    g.SetLeftCol(3);
    const std::vector<GridGeometry::Span> cols{{0, 0, 30}, {3, 30, 50}, {4, 80, 60}};
    EXPECT_EQ(g.ShownCols(), cols);
    const std::vector<GridGeometry::Span> rows{{0, 0, 10}, {1, 10, 20}, {3, 30, 20}};
    EXPECT_EQ(g.ShownRows(), rows);
}

TEST(GridGeometry, CountsKeepOneScrolledColumnAndTheirSizes) {
    GridGeometry g;
    g.SetDefaultColWidth(7);
    g.SetColCount(3);
    g.SetColWidth(2, 50);
    g.SetFixedCols(2);
    g.SetColCount(4);
    EXPECT_EQ(g.ColWidth(2), 50) << "kept";
    EXPECT_EQ(g.ColWidth(3), 7) << "a new column takes the default width";
    g.SetColCount(2);
    EXPECT_EQ(g.FixedCols(), 1);
    g.SetColCount(0);
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.FixedCols(), 0);
    g.SetColWidth(5, 99); // out of range: ignored
    EXPECT_EQ(g.ColWidth(5), 0);
    g.SetColWidth(0, -4);
    EXPECT_EQ(g.ColWidth(0), 0);
    g.SetColCount(3);
    g.SetDefaultColWidth(12);
    EXPECT_EQ(g.ColWidth(0), 12) << "a new default gives every column that width";
    EXPECT_EQ(g.ColWidth(2), 12);
}

} // namespace
