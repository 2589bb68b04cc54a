#pragma once
#include <cstdint>

// Where the keyboard goes on a sheet and what a selection spans, worked out
// over two questions about the sheet's cells: which take the cursor (flag S)
// and which continue the cell on their left (flag T). Nothing here draws or
// holds a widget: the grid keeps the current cell, the sheet asks here where
// it goes next and which cells a selection covers.
class SheetCursor {
public:
    struct Cell {
        int32_t col = -1;
        int32_t row = -1;
        bool operator==(const Cell&) const = default;
    };
    // An inclusive block of cells.
    struct Block {
        Cell first, last;
        bool Contains(int32_t col, int32_t row) const {
            return col >= first.col && col <= last.col && row >= first.row && row <= last.row;
        }
    };
    // The cells the cursor moves over; asked about cells inside the grid only.
    class Cells {
    public:
        virtual ~Cells() = default;
        virtual int32_t CellCols() const = 0;
        virtual int32_t CellRows() const = 0;
        virtual bool TakesCursor(int32_t col, int32_t row) const = 0;
        virtual bool ContinuesLeft(int32_t col, int32_t row) const = 0;
    };

    // The cells must outlive the cursor.
    explicit SheetCursor(const Cells& cells) : cells_(cells) {}

    bool InGrid(int32_t col, int32_t row) const {
        return col >= 0 && row >= 0 && col < cells_.CellCols() && row < cells_.CellRows();
    }
    bool IsSelectable(int32_t col, int32_t row) const;
    // The selectable cell a run of continuing cells belongs to, walking left
    // from col; col becomes its column.
    bool FindSpanStart(int32_t& col, int32_t row) const;

    // Where a keyboard move of (dx, dy) from the cell lands. A horizontal
    // move takes no vertical part; each unit step goes to the next
    // selectable cell straight ahead. wrap: the steps run round the edges;
    // nearest: with none ahead, the next column (row) that has one gives its
    // cell nearest the row (column) last aimed at. A step that finds nothing
    // stays. The cell landed on is the new aim.
    Cell Move(Cell from, int32_t dx, int32_t dy, bool wrap, bool nearest);
    // The cell the keyboard last aimed at; none before the first move.
    Cell Target() const { return target_; }

    // The fixed corner of a range. A move that does not extend the range,
    // or the first move of all, puts it on the cell moved to.
    Cell Anchor() const { return anchor_; }
    void Follow(Cell to, bool extending);
    void SetAnchorRow(int32_t row) { anchor_.row = row; }
    // Cells to look at when a range is stretched from the current cell to
    // another one: everything the old and the new range cover.
    Block Reach(Cell current, Cell to) const;
    // The range from the anchor to the cell.
    Block Range(Cell to) const;

    bool RangeShown() const { return rangeShown_; }
    void SetRangeShown(bool on) { rangeShown_ = on; }

private:
    bool Step(int32_t sx, int32_t sy, bool wrap, bool nearest, Cell& at) const;

    const Cells& cells_;
    Cell target_;
    Cell anchor_;
    bool rangeShown_ = false;
};
