#include "ui/iuiSh_RowStock.h"

#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "platform/Fatal.h"
#include "ui/cuiGrid.h"

#include <algorithm>

iuiSh_RowStock::iuiSh_RowStock(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening,
                               int32_t initialCellId, int32_t initialIndex, cmcGTex& texts,
                               const std::string& name, const ImageList* images)
    : cuiSheet(engine, parent, opening, initialCellId, initialIndex, texts, name, images) {
    if (gEvMan) gEvMan->AddListener(&iuiSh_RowStock::OnEventThunk, this);
}

iuiSh_RowStock::~iuiSh_RowStock() {
    if (gEvMan) gEvMan->RemoveListener(&iuiSh_RowStock::OnEventThunk, this);
}

void iuiSh_RowStock::StartChannelLoop(int32_t count) {
    lines_.loopFrom = lines_.currentLine;
    const auto appended = static_cast<int32_t>(lines_.rows.size());
    lines_.loopCount = std::clamp(count, 0, std::max(kStockRows - appended, 0));
    if (firstLoopRow_ < 0) firstLoopRow_ = appended;
}

void iuiSh_RowStock::ParseCellLines(const std::string& cellsKey) {
    cuiSheet::ParseCellLines(cellsKey);
    std::vector<clsSheeRowAtr>& rows = lines_.rows;
    // Lines after the loop could still reach past the stock.
    if (rows.size() > static_cast<size_t>(kStockRows)) {
        rows.resize(kStockRows);
        rows_ = kStockRows;
        grid_->SetRowCount(rows_);
    }
    // Every pool row may join a multi-selection but the empty row for a new
    // entry, whatever the header lines' layout; the directives' select
    // switches do not apply to these sheets.
    for (clsSheeRowAtr& row : rows)
        row.flags |= clsSheeRowAtr::kSelect;
    if (firstLoopRow_ >= 0 && ExtraRows() > 0 && rows_ > firstLoopRow_)
        rows.back().flags &= static_cast<uint8_t>(~clsSheeRowAtr::kSelect);
}

void iuiSh_RowStock::LoadCells() {
    cuiSheet::LoadCells();
    // The spare rows continue the last row: each is a copy of the row above
    // with the next index, ready to be shown when the pool grows.
    const auto cols = static_cast<size_t>(cols_);
    slots_.resize(cols * kStockRows);
    for (int32_t r = std::max(rows_, 1); r < kStockRows; ++r)
        for (size_t c = 0; c < cols; ++c) {
            const clsSheetCellId& above = slots_[c + static_cast<size_t>(r - 1) * cols];
            clsSheetCellId& slot = slots_[c + static_cast<size_t>(r) * cols];
            *slot.cell = *above.cell;
            ++slot.cell->index;
            slot.flags = above.flags;
        }
}

void iuiSh_RowStock::Layout(const std::string& cellsKey) {
    cuiSheet::Layout(cellsKey);
    HideColumns();
    UnselectHiddenColumns();
}

const clsSheetCellId& iuiSh_RowStock::StockSlot(int32_t col, int32_t row) const {
    if (col < 0 || row < 0 || col >= cols_ || row >= kStockRows ||
        slots_.size() < static_cast<size_t>(cols_) * kStockRows)
        plat::Fatal("Illegal Cell selection");
    return slots_[static_cast<size_t>(col) + static_cast<size_t>(row) * static_cast<size_t>(cols_)];
}

void iuiSh_RowStock::SetRowMayJoin(int32_t row, bool on) {
    const bool mayJoin = on && style_.multiSelect != 0;
    for (int32_t c = 0; c < cols_; ++c) {
        clsSheetCellId& slot = slots_[static_cast<size_t>(c) + static_cast<size_t>(row) * cols_];
        slot.flags = static_cast<uint8_t>(mayJoin ? clsSheetCellId::kMayJoin : 0);
    }
}

void iuiSh_RowStock::AddRows(int32_t n) {
    for (; n > 0 && rows_ < kStockRows && rows_ > 0; --n) {
        // The former last row joins multi-selections, the new last one does not.
        SetRowMayJoin(rows_ - 1, true);
        SetRowMayJoin(rows_, false);
        lines_.rows.back().flags |= clsSheeRowAtr::kSelect;
        lines_.rows.emplace_back(lines_.rows.back().line, false);
        ++rows_;
        grid_->SetRowCount(rows_);
        grid_->SetRowHeight(rows_ - 1, grid_->RowHeight(rows_ - 2));
    }
}

void iuiSh_RowStock::RemoveRows(int32_t n) {
    const int32_t lowest = std::max(firstLoopRow_, 0);
    n = std::min(n, rows_ - lowest - 1);
    if (n <= 0) return;
    const int32_t last = rows_ - 1;
    const int32_t newRows = rows_ - n;
    const int32_t col = CurrentCol(), row = CurrentRow();
    // Never above the first pool row.
    const int32_t target = std::clamp(RowAfterRemoval(row, n, last), lowest, newRows - 1);
    if (target != row) MoveCurrent(col, target);
    for (int32_t r = newRows; r < rows_; ++r)
        for (int32_t c = 0; c < cols_; ++c)
            slots_[static_cast<size_t>(c) + static_cast<size_t>(r) * cols_].flags &=
                static_cast<uint8_t>(~(clsSheetCellId::kSelected | clsSheetCellId::kRowMark));
    SetRowMayJoin(newRows - 1, false);
    lines_.rows.resize(static_cast<size_t>(newRows));
    lines_.rows.back().flags &= static_cast<uint8_t>(~clsSheeRowAtr::kSelect);
    rows_ = newRows;
    grid_->SetRowCount(rows_);
    grid_->viewport()->update();
}

int32_t iuiSh_RowStock::RowAfterRemoval(int32_t row, int32_t n, int32_t last) const {
    return n == 1 ? row - 1 : (last - n < row ? row - (n + row - last) : row);
}

void iuiSh_RowStock::FollowPool(bool add) {
    if (!FollowsRows() || firstLoopRow_ < 0 || !grid_ || slots_.empty()) return;
    const int32_t count = std::max(PoolCount(), 0);
    const int32_t wanted = std::min(firstLoopRow_ + count + ExtraRows(), kStockRows);
    if (add && wanted > rows_) AddRows(wanted - rows_);
    if (!add && wanted < rows_) RemoveRows(rows_ - wanted);
    OnRowsFollowed(count);
}

void iuiSh_RowStock::OnEventThunk(void* user, const cmcEvent& ev) {
    static_cast<iuiSh_RowStock*>(user)->OnEvent(ev);
}

void iuiSh_RowStock::OnEvent(const cmcEvent& ev) {
    if (ev.type == evAddRow) FollowPool(true);
    if (ev.type == evRemoveLastRow) FollowPool(false);
    OnKindEvent(ev);
}
