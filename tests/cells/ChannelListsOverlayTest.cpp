// The shipped overlay holds every key that the channel row cells read, each
// list as a pop-up sheet with the values its column stores.
#include "cells/LayoutCache.h"
#include "cells/ListConv.h"
#include "cells/cloning/ChannelCells.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "tests/cells/ShippedOverlayFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using ChannelListsOverlayTest = ShippedOverlayFixture;

TEST_F(ChannelListsOverlayTest, EveryKeyIsThereAndEveryListHoldsItsValuesOnce) {
    for (const ChannelKeyInfo& info : kChannelKeys) {
        SCOPED_TRACE(info.key);
        const std::string key = info.key;
        if (info.use == KeyUse::Text) {
            const std::vector<std::string> lines = Lines(key);
            ASSERT_FALSE(lines.empty());
            EXPECT_FALSE(lines[0].empty());
            continue;
        }
        for (const ListItems& items : info.items)
            if (items.cellId != 0) ExpectPopupList(key, items.cellId, items.first, items.last);
    }
}

// The MSK repeater column's first list stands for the codes of the second
// with its number item; no repeater lies outside the codes.
TEST_F(ChannelListsOverlayTest, TheMskRepeaterListsSpanTheCodes) {
    EXPECT_EQ(ListFirstItem(chlist::kMskRptFirst, listcell::Flex0), chlist::kMskRptNumberItem);
    const int32_t lastCode = ListLastItem(chlist::kMskRptSecond, listcell::Flex1);
    EXPECT_GE(lastCode, chlist::kMskRptNumberItem);
    EXPECT_LT(lastCode, chlist::kMskNoRepeater);
}

} // namespace
