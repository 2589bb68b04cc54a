// The shipped overlay holds every list that the MSK, digital-system and MDC
// cells read, each as a pop-up sheet holding exactly the values its cells
// store, none wider than their field; the lists of table entries read as
// their numbers, so that a typed number finds its item.
#include "cells/ConvKeys.h"
#include "cells/cloning/SignallingLists.h"
#include "tests/cells/ShippedOverlayFixture.h"

#include <gtest/gtest.h>

#include <charconv>
#include <set>
#include <string>

namespace {

class SignallingListsOverlayTest : public ShippedOverlayFixture {
protected:
    static std::set<int32_t> ValuesOf(const siglist::List& list) {
        return ShippedOverlayFixture::ValuesOf(setlist::List{list.key, {list.values}});
    }
};

TEST_F(SignallingListsOverlayTest, EveryListIsAPopUpSheetOfExactlyItsValues) {
    for (const siglist::List& list : siglist::kLists) {
        ExpectPopupListOf(list.key, listcell::Flex0, ValuesOf(list));
        for (const cmcCellObj& cell : Cells(list.key)) {
            SCOPED_TRACE(list.key);
            EXPECT_GE(cell.index, 0);
            EXPECT_LE(cell.index, list.widest) << "wider than its field";
        }
    }
}

TEST_F(SignallingListsOverlayTest, EntryListsReadAsTheirNumbers) {
    int32_t numbered = 0;
    for (const siglist::List& list : siglist::kLists) {
        if (!list.numbered) continue;
        ++numbered;
        for (const int32_t value : ValuesOf(list)) {
            SCOPED_TRACE(testing::Message() << list.key << " " << value);
            const std::string text = cache.Text(list.key, listcell::Flex0, value);
            int32_t read = -1;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), read);
            EXPECT_EQ(ec, std::errc());
            EXPECT_EQ(end, text.data() + text.size());
            EXPECT_EQ(read, value);
        }
    }
    EXPECT_EQ(numbered, 12) << "a channel's system and the eleven choices of a system";
}

// The lists shared with other cells: a beep fits the ID group's three bits,
// the on/off lists one bit.
TEST_F(SignallingListsOverlayTest, SharedListsFitTheSignallingFields) {
    ExpectPopupListOf(siglist::kRxCBeep, listcell::Flex0, {0, 1, 2, 3, 4, 5, 6, 7});
    for (const char* oneBit : {siglist::kOnOff, siglist::kOnOffInv, siglist::kOnOff2, siglist::kOnOff2Inv,
                               siglist::kEnable, siglist::kEnable2, siglist::kEnable3})
        ExpectPopupListOf(oneBit, listcell::Flex0, {0, 1});
}

} // namespace
