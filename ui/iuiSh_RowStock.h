#pragma once
#include "ui/cuiSheet.h"

#include <cstdint>
#include <string>

struct cmcEvent;

// A sheet whose channel loop shows the rows of a pool (a bank's channels, a
// repeater site's entries): its cells are laid out for a stock of rows once,
// so rows can be added and removed as the pool grows and shrinks without
// rebuilding. The rows follow the pool's count in the image: each row event
// adds or removes only the difference, so an event about another bank or
// site leaves this sheet alone.
class iuiSh_RowStock : public cuiSheet {
public:
    // Enough for the 512 channels with the header rows and the empty row.
    static constexpr int32_t kStockRows = 522;

    iuiSh_RowStock(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening,
                   int32_t initialCellId, int32_t initialIndex, cmcGTex& texts, const std::string& name,
                   const ImageList* images = nullptr);
    ~iuiSh_RowStock() override;

    void LoadCells() override;
    void ParseCellLines(const std::string& cellsKey) override;
    void Layout(const std::string& cellsKey) override;

    // The grid row of the loop's first pool row; -1 without a channel loop.
    int32_t FirstLoopRow() const { return firstLoopRow_; }
    // The slot of a stock row beyond the grid's rows (tests look at the stock).
    const clsSheetCellId& StockSlot(int32_t col, int32_t row) const;

protected:
    // The pool's rows now in the image, and the rows the loop shows beyond
    // them (the empty row for a new entry: 1, else 0).
    virtual int32_t PoolCount() const = 0;
    virtual int32_t ExtraRows() const { return 0; }
    // Whether the row events are this sheet's to follow.
    virtual bool FollowsRows() const { return true; }
    // Columns the kind hides (width 0) once the cells are laid out.
    virtual void HideColumns() {}
    // After the rows changed: the pool count they now show.
    virtual void OnRowsFollowed(int32_t /*count*/) {}
    // The bus events of the kind; 33 and 34 are handled here first.
    virtual void OnKindEvent(const cmcEvent& /*ev*/) {}
    // Where the cursor goes when n rows go from the end of the grid while it
    // stands on row (the last row being last): one row gone, up one;
    // several, up only as far as it must to stay on a remaining row.
    virtual int32_t RowAfterRemoval(int32_t row, int32_t n, int32_t last) const;

    // Starts the channel loop at the current line with loop count rows, no
    // more than the stock has left; the loop's first row is the next one.
    void StartChannelLoop(int32_t count);
    // Rows added or removed at the end of the grid.
    void AddRows(int32_t n);
    void RemoveRows(int32_t n);

    int32_t firstLoopRow_ = -1;

private:
    static void OnEventThunk(void* user, const cmcEvent& ev);
    void OnEvent(const cmcEvent& ev);
    void FollowPool(bool add);
    void SetRowMayJoin(int32_t row, bool on);
};
