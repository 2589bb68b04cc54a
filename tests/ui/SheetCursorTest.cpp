// The sheet's cursor without a widget: keyboard moves over a mask of cells,
// the span a continuing cell belongs to, and the anchor and blocks of a range.
#include "ui/SheetCursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One text a row: 'S' takes the cursor, 'T' continues the cell on its left,
// anything else is neither.
class Mask : public SheetCursor::Cells {
public:
    explicit Mask(std::vector<std::string> rows) : rows_(std::move(rows)) {}
    int32_t CellCols() const override { return rows_.empty() ? 0 : static_cast<int32_t>(rows_[0].size()); }
    int32_t CellRows() const override { return static_cast<int32_t>(rows_.size()); }
    bool TakesCursor(int32_t col, int32_t row) const override { return At(col, row) == 'S'; }
    bool ContinuesLeft(int32_t col, int32_t row) const override { return At(col, row) == 'T'; }

private:
    char At(int32_t col, int32_t row) const {
        return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
    }
    std::vector<std::string> rows_;
};

using Cell = SheetCursor::Cell;

struct MoveCase {
    const char* what;
    std::vector<std::string> mask;
    Cell from;
    int32_t dx, dy;
    bool wrap, nearest;
    Cell expected;
};

TEST(SheetCursor, MovesFromOneCell) {
    const std::vector<std::string> sparse = {"S.S.", "....", ".S..", "S..S"};
    const MoveCase cases[] = {
        {"right skips cells that take no cursor", {"S..S"}, {0, 0}, 1, 0, false, true, {3, 0}},
        {"left at the edge stays", {"S..S"}, {0, 0}, -1, 0, false, true, {0, 0}},
        {"down in the same column", {"S.", "..", "S."}, {0, 0}, 0, 1, false, true, {0, 2}},
        {"a horizontal move drops its vertical part", sparse, {0, 0}, 1, 1, false, true, {2, 0}},
        {"no move at all", sparse, {2, 0}, 0, 0, false, true, {2, 0}},
        {"down with nothing below: the next row that has one, nearest column",
         sparse,
         {2, 0},
         0,
         1,
         false,
         true,
         {1, 2}},
        {"down without looking aside stays", sparse, {2, 0}, 0, 1, false, false, {2, 0}},
        {"a tie goes to the smaller index", {".S.", "...", "S.S"}, {1, 0}, 0, 1, false, true, {0, 2}},
        {"right with nothing ahead: the next column that has one, nearest row",
         {"S..", "...", "..S"},
         {0, 0},
         1,
         0,
         false,
         true,
         {2, 2}},
        {"page down takes ten steps and stops at the last",
         {"S", "S", "S", "S"},
         {0, 0},
         0,
         10,
         false,
         true,
         {0, 3}},
        {"page up from the bottom", {"S", ".", "S", "S"}, {0, 3}, 0, -10, false, true, {0, 0}},
        {"a list runs round at the bottom", {"S", "S", "S"}, {0, 2}, 0, 1, true, false, {0, 0}},
        {"a list runs round at the top", {"S", ".", "S"}, {0, 0}, 0, -1, true, false, {0, 2}},
        {"a full circle without another cell stays", {"S", ".", "."}, {0, 0}, 0, 1, true, false, {0, 0}},
    };
    for (const MoveCase& c : cases) {
        const Mask mask(c.mask);
        SheetCursor cursor(mask);
        EXPECT_EQ(cursor.Move(c.from, c.dx, c.dy, c.wrap, c.nearest), c.expected) << c.what;
        if (c.dx != 0 || c.dy != 0) {
            EXPECT_EQ(cursor.Target(), c.expected) << c.what;
        }
    }
}

TEST(SheetCursor, LooksAsideNearTheCellLastAimedAt) {
    // Column 0 has nothing below row 0, so down looks along row 2 near the
    // column the keyboard last aimed at: column 3 after a move there, even
    // when the cursor was put back on (0, 0) by other means since.
    const Mask mask({"S..S", "....", ".S.S"});
    SheetCursor fresh(mask);
    EXPECT_EQ(fresh.Move({0, 0}, 0, 1, false, true), (Cell{1, 2}));
    SheetCursor aimed(mask);
    EXPECT_EQ(aimed.Move({0, 0}, 1, 0, false, true), (Cell{3, 0}));
    EXPECT_EQ(aimed.Move({0, 0}, 0, 1, false, true), (Cell{3, 2}));
}

TEST(SheetCursor, FindsTheCellASpanBelongsTo) {
    const Mask mask({"STT.T", "TTS.."});
    SheetCursor cursor(mask);
    struct Case {
        int32_t col, row;
        bool found;
        int32_t startCol;
    } cases[] = {
        {0, 0, true, 0},  {2, 0, true, 0}, {3, 0, false, 3}, {4, 0, false, 4},
        {1, 1, false, 1}, {2, 1, true, 2}, {4, 1, false, 4},
    };
    for (const Case& c : cases) {
        int32_t col = c.col;
        EXPECT_EQ(cursor.FindSpanStart(col, c.row), c.found) << c.col << "," << c.row;
        EXPECT_EQ(col, c.startCol) << c.col << "," << c.row;
    }
}

TEST(SheetCursor, AnchorStaysWhileTheRangeGrows) {
    const Mask mask({"SSS", "SSS", "SSS", "SSS"});
    SheetCursor cursor(mask);
    EXPECT_EQ(cursor.Anchor(), (Cell{}));
    // The first move sets the anchor even when it extends.
    cursor.Follow({1, 0}, true);
    EXPECT_EQ(cursor.Anchor(), (Cell{1, 0}));
    cursor.Follow({1, 2}, true);
    EXPECT_EQ(cursor.Anchor(), (Cell{1, 0}));
    const SheetCursor::Block range = cursor.Range({0, 2});
    EXPECT_EQ(range.first, (Cell{0, 0}));
    EXPECT_EQ(range.last, (Cell{1, 2}));
    EXPECT_TRUE(range.Contains(0, 1));
    EXPECT_FALSE(range.Contains(2, 1));
    EXPECT_FALSE(range.Contains(1, 3));
    // Shrinking back from (1, 3) to (0, 1): the cells to look at cover the
    // old range's rows too, so that they can be unmarked.
    const SheetCursor::Block reach = cursor.Reach({1, 3}, {0, 1});
    EXPECT_EQ(reach.first, (Cell{0, 0}));
    EXPECT_EQ(reach.last, (Cell{1, 3}));
    // A plain move takes the anchor along.
    cursor.Follow({2, 3}, false);
    EXPECT_EQ(cursor.Anchor(), (Cell{2, 3}));
    cursor.SetAnchorRow(1);
    EXPECT_EQ(cursor.Anchor(), (Cell{2, 1}));
}

} // namespace
