#include "adjust/ui/iuiSh_Mch.h"

#include "adjust/AdjustVocabulary.h"
#include "image/CurrentImage.h"

#include <cstdio>

namespace adj {

void iuiSh_Mch::Build() {
    ::iuiSh_Mch::Build();
    if (Kind() != 'R' || !style_.title) return;
    char site[16];
    std::snprintf(site, sizeof site, "%3d", Site() + 1);
    ShowCaption(" " + *style_.title + " (Site:" + site + ")");
}

int32_t iuiSh_Mch::SiteFirstRow(int32_t) const {
    return 0;
}

int32_t iuiSh_Mch::SiteCount(int32_t site) const {
    return GetSiteRange(CurrentImage(), site).count;
}

int32_t iuiSh_Mch::RowAfterRemoval(int32_t row, int32_t, int32_t) const {
    return row;
}

} // namespace adj
