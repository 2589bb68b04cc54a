// Rows removed and inserted through the main window's reactions to events 26
// to 29, over the start-up data: the other rows shift, counts follow, every
// channel number still names its channel, and an event that does not fit the
// image changes nothing.
#include "tests/image/RowEditFixture.h"
#include "tests/support/ParamNames.h"

#include <algorithm>

namespace {

using testsupport::PrintTo;

using rowtest::Heard;

class RowEventTest : public rowtest::RowEditFixture {
protected:
    int32_t Handle(int32_t type, intptr_t p1, intptr_t p2) {
        heard.clear();
        change = 0;
        bus->Send(type, p1, p2);
        return change;
    }
    std::vector<Heard> Reactions() {
        std::vector<Heard> all = Take();
        return {all.begin() + 1, all.end()};
    }
};

struct ChannelCase {
    const char* name;
    int32_t type;
    int32_t bank;
    int32_t row;
};

class ChannelRowEvent : public RowEventTest, public ::testing::WithParamInterface<ChannelCase> {};

TEST_P(ChannelRowEvent, ShiftsTheRowsAndKeepsEveryReference) {
    const ChannelCase& c = GetParam();
    const bool insert = c.type == evInsertChannelRow;
    const std::vector<rowtest::Named> before = References();
    std::vector<int32_t> expected = Channels(0, 9);
    const std::vector<int32_t> removed =
        insert ? std::vector<int32_t>{} : std::vector<int32_t>{expected[static_cast<size_t>(c.row)]};
    if (insert) {
        expected.insert(expected.begin() + c.row, 0);
    } else {
        expected.erase(expected.begin() + c.row);
        expected.push_back(0);
    }
    expected.resize(10);
    const int32_t count = GetBankChannelCount(image, c.bank);

    EXPECT_EQ(Handle(c.type, c.bank, c.row), kChangeRowsShifted | kChangeRowRewritten);

    EXPECT_EQ(Channels(0, 9), expected);
    EXPECT_EQ(GetBankChannelCount(image, c.bank), count + (insert ? 1 : -1));
    ExpectReferencesFollow(before, removed);
    // The bank bits stay with the banks.
    for (int32_t b = 0; b < 6; ++b)
        EXPECT_EQ(IsSmarTrunkBank(image, b), b == 1) << b;
    // The row that the shift empties is the reference image's.
    const int32_t emptied = insert ? c.row : layout::kChannelRows - 1;
    EXPECT_EQ(image.GetWord(layout::kChannelS + 30 * emptied + 8),
              reference.GetWord(layout::kChannelS + 30 * emptied + 8));
    const std::vector<Heard> sent =
        insert ? std::vector<Heard>{{evAddRow, 0, 0, ""}, {evRefreshCaption, 0, 0, ""}}
               : std::vector<Heard>{
                     {evRemoveLastRow, 0, 0, ""}, {evRefreshCaption, 0, 0, ""}, {evRowDeleted, 0, c.row, ""}};
    EXPECT_EQ(Reactions(), sent);
}

INSTANTIATE_TEST_SUITE_P(Rows, ChannelRowEvent,
                         ::testing::Values(ChannelCase{"InsertAtTheFirstRow", evInsertChannelRow, 0, 0},
                                           ChannelCase{"InsertAfterTheLastRow", evInsertChannelRow, 3, 8},
                                           ChannelCase{"InsertBeforeTheOnlyRow", evInsertChannelRow, 2, 5},
                                           ChannelCase{"InsertIntoAnEmptyBank", evInsertChannelRow, 4, 8},
                                           ChannelCase{"RemoveTheFirstRow", evRemoveChannelRow, 0, 0},
                                           ChannelCase{"RemoveTheLastRow", evRemoveChannelRow, 3, 7},
                                           ChannelCase{"RemoveTheOnlyRow", evRemoveChannelRow, 2, 5},
                                           ChannelCase{"RemoveAMiddleRow", evRemoveChannelRow, 0, 2}),
                         testsupport::CaseName());

// Removing a channel that scan lists name leaves them naming no channel.
TEST_F(RowEventTest, RemovingANamedChannelSwitchesItsScanListEntriesOff) {
    Handle(evRemoveChannelRow, 1, 3);
    datCh list(&image);
    list.Load(8, 3); // its transmit channel was row 3
    EXPECT_EQ(list.txCh, 0);
    EXPECT_EQ(list.txChMode, 0);
    EXPECT_TRUE(list.slTxBit);
    list.Load(8, 0); // priority 1
    EXPECT_EQ(list.prio1Ch, 0);
    EXPECT_EQ(list.prio1Mode, 1);
    list.Load(8, 6); // priority 2
    EXPECT_EQ(list.prio2Ch, 0);
    EXPECT_EQ(list.prio2Mode, 0);
    EXPECT_FALSE(list.slTxBit);
    list.Load(8, 4); // names rows 4, 7 and 1: above the removed row they move down, below they stay
    EXPECT_EQ(list.txCh, 3);
    EXPECT_EQ(list.prio1Ch, 6);
    EXPECT_EQ(list.prio2Ch, 1);
}

// The numbers of rows outside every bank may be anything a file holds.
TEST_F(RowEventTest, NumbersOutsideTheTableAreLeftAlone) {
    datCh list(&image);
    list.Load(8, 0);
    list.txCh = 0xFFFF;
    list.prio1Ch = 511;
    list.Store(8, 0);
    Handle(evInsertChannelRow, 0, 0);
    list.Load(8, 0);
    EXPECT_EQ(list.txCh, 0xFFFF);
    EXPECT_EQ(list.prio1Ch, 511);
    Handle(evRemoveChannelRow, 0, 0);
    list.Load(8, 0);
    EXPECT_EQ(list.txCh, 0xFFFF);
    EXPECT_EQ(list.prio1Ch, 510);
}

struct Refusal {
    const char* name;
    int32_t type;
    intptr_t p1;
    intptr_t p2;
};

class RefusedRowEvent : public RowEventTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedRowEvent, ChangesNothing) {
    const Refusal& c = GetParam();
    if (std::string(c.name) == "ChannelTableFull") SetBankChannelCount(image, 5, 504);
    if (std::string(c.name) == "PoolFull") {
        for (int32_t site = 2; site < 12; ++site)
            SetSiteChannelCount(image, site, 255);
        SetSiteChannelCount(image, 12, 5);
        ASSERT_EQ(GetTotalSiteChannels(image), layout::kPoolRows);
    }
    if (std::string(c.name) == "SiteCountAtItsLimit") SetSiteChannelCount(image, 1, 255);
    const cmcEeprom before = image;
    EXPECT_EQ(Handle(c.type, c.p1, c.p2), 0);
    EXPECT_TRUE(image.IsEqual(before));
    EXPECT_EQ(Reactions(), std::vector<Heard>{});
}

INSTANTIATE_TEST_SUITE_P(Events, RefusedRowEvent,
                         ::testing::Values(Refusal{"RemoveARowOfAnotherBank", evRemoveChannelRow, 0, 3},
                                           Refusal{"RemoveFromAnEmptyBank", evRemoveChannelRow, 4, 8},
                                           Refusal{"InsertOutsideTheBank", evInsertChannelRow, 0, 5},
                                           Refusal{"InsertIntoNoBank", evInsertChannelRow, 128, 0},
                                           Refusal{"InsertAtANegativeRow", evInsertChannelRow, 0, -1},
                                           Refusal{"InsertPastTheTable", evInsertChannelRow, 0, 512},
                                           Refusal{"HugeBank", evRemoveChannelRow, intptr_t{1} << 40, 0},
                                           Refusal{"ChannelTableFull", evInsertChannelRow, 3, 8},
                                           Refusal{"RemoveFromAnEmptySite", evRemovePoolRow, 2, 5},
                                           Refusal{"InsertOutsideTheSite", evInsertPoolRow, 0, 4},
                                           Refusal{"PoolFull", evInsertPoolRow, 1, 2},
                                           Refusal{"SiteCountAtItsLimit", evInsertPoolRow, 1, 2}),
                         testsupport::CaseName());

// A site's marked entry stays marked: inside the open site its position follows it.
TEST_F(RowEventTest, PoolRowsShiftWithTheirSitesMark) {
    openSite = 1;
    const int32_t markAt = layout::kGroupRecords + layout::kGroupRecordSize * 1 + 7;
    image.SetByte(markAt, 2); // row 3, the second entry of site 1
    const std::vector<int32_t> entries = {PoolFreq(0), PoolFreq(1), PoolFreq(2), PoolFreq(3), PoolFreq(4)};

    EXPECT_NE(Handle(evInsertPoolRow, 1, 2), 0);
    EXPECT_EQ(GetSiteChannelCount(image, 1), 4);
    EXPECT_EQ(PoolFreq(2), 0);
    EXPECT_EQ(PoolFreq(4), entries[3]);
    EXPECT_EQ(image.GetByte(markAt), 3);
    EXPECT_EQ(Reactions(), (std::vector<Heard>{{evAddRow, 0, 0, ""}, {evRefreshCaption, 0, 0, ""}}));

    Handle(evRemovePoolRow, 1, 2);
    EXPECT_EQ(image.GetByte(markAt), 2);
    // Removing an entry of the site before moves site 1 up a row; the mark
    // keeps to its entry, which stays the site's second.
    Handle(evRemovePoolRow, 0, 0);
    EXPECT_EQ(GetSiteChannelCount(image, 0), 1);
    EXPECT_EQ(image.GetByte(markAt), 2);
    EXPECT_EQ(PoolFreq(2), entries[3]);
    EXPECT_EQ(PoolFreq(4), 0);
}

} // namespace
