#pragma once
#include "ui/iuiSh_RowStock.h"

#include <cstdint>
#include <string>

// Channel rows of a pool, by the first letter of its parameters: 'R' the
// repeater entries of one site (with an empty row for a new entry), 'C' the
// channels of the bank the last scan-list channel selection chose, anything
// else a plain channel list.
class iuiSh_Mch : public iuiSh_RowStock {
public:
    // The site is the index of the opening request's cell, else 0.
    iuiSh_Mch(const CellEngine& engine, QWidget* parent, const cmcCellCapsule* opening, int32_t initialCellId,
              int32_t initialIndex, cmcGTex& texts, const std::string& name,
              const ImageList* images = nullptr);

    std::string SetParams(const std::string& params) override;
    void SetRowDirective(const std::string& text) override;
    void OnLayoutRow(int32_t row) override;
    std::string GetTitle() const override;
    int32_t IsPrintable() const override;

    char Kind() const { return kind_; }
    int32_t Site() const { return site_; }
    int32_t ChannelCount() const { return count_; }
    int32_t FirstPoolIndex() const { return firstIndex_; }
    std::string Caption() const;

protected:
    int32_t PoolCount() const override;
    int32_t ExtraRows() const override { return kind_ == 'R' ? 1 : 0; }
    bool FollowsRows() const override { return kind_ == 'R'; }
    void OnRowsFollowed(int32_t count) override { count_ = count; }
    void OnKindEvent(const cmcEvent& ev) override;
    // The site's first pool row and its entry count.
    virtual int32_t SiteFirstRow(int32_t site) const;
    virtual int32_t SiteCount(int32_t site) const;
    // Whether a 'C' sheet shows the bank of the last scan-list channel
    // selection, and whether the site's caption follows event 31.
    virtual bool ShowsScanSelectionBank() const { return true; }
    virtual bool FollowsCaption() const { return true; }
    // The caption line over the sheet, in yellow.
    void ShowCaption(const std::string& text);

private:
    void RefreshCaption();

    char kind_ = 0;
    int32_t site_ = 0;
    int32_t count_ = 0;
    int32_t firstIndex_ = 0;
};
