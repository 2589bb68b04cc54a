// The shipped overlay holds every list that the two-tone, five-tone, DTMF,
// scan and maker cells read, each as a pop-up sheet holding exactly the
// values its cells store, each once, and none wider than the field a cell
// writes it into.
#include "cells/cloning/ToneScanMakerLists.h"
#include "tests/cells/ShippedOverlayFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr int32_t kFlex0 = 1;

using ToneScanMakerListsOverlayTest = ShippedOverlayFixture;

TEST_F(ToneScanMakerListsOverlayTest, EveryListIsAPopUpSheetOfExactlyItsValues) {
    for (const tsmlist::FieldList& l : tsmlist::kLists)
        ExpectPopupListOf(l.list.key, kFlex0, ValuesOf(l.list));
}

TEST_F(ToneScanMakerListsOverlayTest, NoItemIsWiderThanItsField) {
    for (const tsmlist::FieldList& l : tsmlist::kLists) {
        SCOPED_TRACE(l.list.key);
        for (const cmcCellObj& cell : Cells(l.list.key)) {
            if (cell.cellId != kFlex0) continue;
            EXPECT_GE(cell.index, 0);
            EXPECT_LT(cell.index, 1 << l.bits);
        }
    }
}

} // namespace
