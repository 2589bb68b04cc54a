#pragma once
#include "ui/iuiSh_Mch.h"

namespace adj {

// The adjustment program's channel-pool sheet: a repeater-site sheet shows
// the current site's own table from its first row with the site's entry
// count and a caption set once, has no scan-list bank kind, and after rows are
// deleted the cursor stays on its cell wherever it still can.
class iuiSh_Mch : public ::iuiSh_Mch {
public:
    using ::iuiSh_Mch::iuiSh_Mch;

    // A site's sheet is captioned once, when it is built.
    void Build() override;

protected:
    int32_t SiteFirstRow(int32_t site) const override;
    int32_t SiteCount(int32_t site) const override;
    bool ShowsScanSelectionBank() const override { return false; }
    bool FollowsCaption() const override { return false; }
    int32_t RowAfterRemoval(int32_t row, int32_t n, int32_t last) const override;
};

} // namespace adj
