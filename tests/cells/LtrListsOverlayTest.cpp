// The shipped overlay holds every key the LTR cells read, in a form their
// converters can use: a missing key ends the program for a user, and a list
// without a value its cell stores shows "error".
#include "cells/LayoutCache.h"
#include "cells/cloning/LtrCells.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "tests/cells/ShippedOverlayFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int32_t kFlex0 = 1;

class LtrListsOverlayTest : public ShippedOverlayFixture {
protected:
    void CheckList(const ltrkeys::List& list) { ExpectPopupList(list.key, kFlex0, list.first, list.last); }
};

TEST_F(LtrListsOverlayTest, TheLtrListsAreShippedAsPopUpSheetsWithTheirValues) {
    for (const ltrkeys::List& list : ltrkeys::kLists) {
        if (!list.ownFragment) continue;
        SCOPED_TRACE(list.key);
        CheckList(list);
    }
}

TEST_F(LtrListsOverlayTest, TheSiteMarkListOffersTheHomeRepeater) {
    EXPECT_EQ(cache.Text(ltrkeys::kRptAtr, kFlex0, 1), "H");
}

// Lists and texts that other fragments ship: the LTR cells need them too. A
// key not shipped yet is named, not failed, here; the fragment that owns it
// has its own test.
TEST_F(LtrListsOverlayTest, TheSharedKeysHoldWhatTheLtrCellsRead) {
    for (const ltrkeys::List& list : ltrkeys::kLists) {
        if (list.ownFragment) continue;
        CheckList(list);
    }
    EXPECT_TRUE(Has(ltrkeys::kNewRowTitle));
}

TEST_F(LtrListsOverlayTest, TheTextsAreShipped) {
    // One line for a clear area bit, one for a set one.
    const std::vector<std::string> area = Lines(ltrkeys::kAreaBitText);
    ASSERT_EQ(area.size(), 2u);
    EXPECT_FALSE(area[0].empty());
    EXPECT_FALSE(area[1].empty());
    EXPECT_NE(area[0], area[1]);
    ASSERT_FALSE(Lines(ltrkeys::kOverflow).empty());
}

} // namespace
