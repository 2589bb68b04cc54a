#pragma once
#include "ui/iuiSh_RowStock.h"

#include <cstdint>
#include <string>

// The channels of one bank, one row each, with an empty row at the end for a
// new channel. The parameters name the bank ("Bank n"); the columns of the
// other bank type are hidden; the title shows the bank's name and how many
// channels still fit the radio.
class iuiSh_ChBank : public iuiSh_RowStock {
public:
    iuiSh_ChBank(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening,
                 int32_t initialCellId, int32_t initialIndex, cmcGTex& texts, const std::string& name,
                 const ImageList* images = nullptr);

    std::string SetParams(const std::string& params) override;
    void Build() override;
    void SetRowDirective(const std::string& text) override;
    void OnLayoutRow(int32_t row) override;
    std::string GetTitle() const override;
    int32_t IsPrintable() const override;

    int32_t Bank() const { return bank_; }
    int32_t ChannelCount() const { return count_; }
    int32_t FirstChannelIndex() const { return firstIndex_; }
    // The title line as shown, empty without a title.
    std::string Caption() const;

protected:
    int32_t PoolCount() const override;
    int32_t ExtraRows() const override { return 1; }
    void OnRowsFollowed(int32_t count) override { count_ = count; }
    void OnKindEvent(const cmcEvent& ev) override;
    void HideColumns() override;

private:
    void RefreshCaption();
    // The bank's name and its SmarTrunk mark, as the caption and the printed header show them.
    std::string NameAndMark() const;

    int32_t bank_ = 0;
    int32_t count_ = 0;
    int32_t firstIndex_ = 0;
};
