// The row commands of the adjustment program's sheets, run through its cell
// engine: deleting and inserting act on channel rows only, with the program's
// own command codes.
#include "tests/adjust/AdjustCellFixture.h"

#include "adjust/AdjustProfile.h"
#include "adjust/AdjustRecords.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/RecordLayout.h"
#include "image/datCh.h"
#include "platform/MessageBox.h"

#include <algorithm>

namespace adjtest {
namespace {

constexpr int32_t kCopy = 85;
constexpr int32_t kDelete = 90;
constexpr int32_t kInsert = 91;

class AdjustRowEditTest : public AdjustCellFixture {
protected:
    // A row command on row `row` of a category, with rows first..last selected.
    void RunRowCommand(const std::string& category, int32_t row, int32_t command, int32_t first,
                       int32_t last) {
        h.Run({Category(category), Id("CL_CEdit"), row}, [&](cmcCellCapsule& r) {
            r.command = command;
            r.rangeSelected = true;
            r.rangeFirst = first;
            r.rangeLast = last;
        });
    }

    int RowEvents(int32_t type) {
        const std::vector<cmcEvent> events = h.Events();
        return static_cast<int>(
            std::count_if(events.begin(), events.end(), [&](const cmcEvent& ev) { return ev.type == type; }));
    }

    bool ImageUnchanged(const cmcEeprom& before) {
        return std::equal(before.Data(), before.Data() + before.GetSize(), h.Image().Data());
    }
};

class NonChannelRows : public AdjustRowEditTest, public ::testing::WithParamInterface<const char*> {};

// The digital NAC table shares its kind number with the other program's
// repeater pool, and the pool itself is no editable kind here: neither may
// take a row event and so remove or add channels or pool entries.
TEST_P(NonChannelRows, DeleteAndInsertSendNoRowEventAndChangeNothing) {
    h.LoadStartupData(0);
    // A copy changes nothing but lets the frame pack the image as every row command does.
    RunRowCommand(GetParam(), 1, kCopy, 1, 3);
    const cmcEeprom before = h.Image();
    h.Events();
    for (int32_t command : {kDelete, kInsert}) {
        RunRowCommand(GetParam(), 1, command, 1, 3);
        const std::vector<cmcEvent> events = h.Events();
        for (const cmcEvent& ev : events)
            EXPECT_TRUE(ev.type < evInsertChannelRow || ev.type > evRemovePoolRow)
                << "command " << command << " sent row event " << ev.type;
    }
    EXPECT_TRUE(ImageUnchanged(before));
    EXPECT_TRUE(h.boxes.Done());
}

INSTANTIATE_TEST_SUITE_P(Kinds, NonChannelRows, ::testing::Values("CT_DIG_NacCh", "CT_Rpt", "CT_CEdit"));

TEST_F(AdjustRowEditTest, ChannelRowsAreInsertedAndDeletedOneEventARowAndBlankRowsGoUnasked) {
    h.LoadStartupData(0);
    h.OpenBank(0);
    const int32_t first = GetBankFirstChannel(h.Image(), 0);
    const int32_t count = GetBankChannelCount(h.Image(), 0);
    h.Events();
    // An empty bank takes rows one at a time on its new row.
    for (int k = 0; k < 4; ++k)
        RunRowCommand("CT_Mch", first, kInsert, first, first);
    EXPECT_EQ(RowEvents(evInsertChannelRow), 4);
    ASSERT_EQ(GetBankChannelCount(h.Image(), 0), count + 4);
    // The inserted rows hold no channel: nothing to confirm, one event a row.
    RunRowCommand("CT_Mch", first + 1, kDelete, first + 1, first + 3);
    EXPECT_EQ(RowEvents(evRemoveChannelRow), 3);
    EXPECT_EQ(GetBankChannelCount(h.Image(), 0), count + 1);
    EXPECT_TRUE(h.boxes.Done());
    EXPECT_TRUE(h.boxes.Log().empty());
}

// Bank 0 with four programmed channels, scan list 0 naming rows 0, 2 and 3.
class AdjustProgrammedRowsTest : public AdjustRowEditTest {
protected:
    AdjustProgrammedRowsTest() {
        h.LoadStartupData(0);
        h.OpenBank(0);
        SetBankChannelCount(h.Image(), 0, 4);
        first = GetBankFirstChannel(h.Image(), 0);
        datCh row(&h.Image());
        for (int32_t r = first; r < first + 4; ++r) {
            row.Load(kind, r);
            row.rxFreq = row.txFreq = 146000000 + 12500 * r;
            row.Store(kind, r);
        }
        SetScanRefs(first, first + 2, first + 3);
        h.Image().SetWord(layout::kRefAChannel, 0xFFFF);
    }

    void SetScanRefs(int32_t tx, int32_t prio1, int32_t prio2) {
        datCh list(&h.Image());
        list.Load(kindScanList, 0);
        list.txCh = tx;
        list.prio1Ch = prio1;
        list.prio2Ch = prio2;
        list.Store(kindScanList, 0);
    }
    datCh ScanList() {
        datCh list(&h.Image());
        list.Load(kindScanList, 0);
        return list;
    }

    // The boxes take the program's caption.
    ScopedProgramProfile profile{adj::AdjustProfile()};
    const int32_t kind = GetModelClass();
    int32_t first = 0;
};

TEST_F(AdjustProgrammedRowsTest, ScanListNumbersFollowADelete) {
    h.boxes.Expect("", plat::IDOK); // the rows hold channels: the delete asks
    RunRowCommand("CT_Mch", first + 1, kDelete, first + 1, first + 1);
    EXPECT_EQ(GetBankChannelCount(h.Image(), 0), 3);
    const datCh list = ScanList();
    EXPECT_EQ(list.txCh, first);
    EXPECT_EQ(list.prio1Ch, first + 1);
    EXPECT_EQ(list.prio2Ch, first + 2);
    EXPECT_TRUE(h.boxes.Done());
}

TEST_F(AdjustProgrammedRowsTest, ScanListNumbersFollowAnInsert) {
    RunRowCommand("CT_Mch", first + 1, kInsert, first + 1, first + 1);
    EXPECT_EQ(GetBankChannelCount(h.Image(), 0), 5);
    const datCh list = ScanList();
    EXPECT_EQ(list.txCh, first);
    EXPECT_EQ(list.prio1Ch, first + 3);
    EXPECT_EQ(list.prio2Ch, first + 4);
    EXPECT_TRUE(h.boxes.Done());
}

TEST_F(AdjustProgrammedRowsTest, DeletingTheRowMarkedAIsRefusedAndTheRowsStay) {
    h.Image().SetWord(layout::kRefAChannel, static_cast<uint16_t>(first + 2));
    h.boxes.Expect("", plat::IDOK);
    h.boxes.Expect("priority channel", plat::IDOK);
    RunRowCommand("CT_Mch", first + 1, kDelete, first + 1, first + 2);
    EXPECT_EQ(RowEvents(evRemoveChannelRow), 0);
    EXPECT_EQ(GetBankChannelCount(h.Image(), 0), 4);
    EXPECT_TRUE(h.boxes.Done());
}

TEST_F(AdjustProgrammedRowsTest, ATwoRowRangeMovesDownWithItsNumbersAndTheCursor) {
    const auto out = h.Run({Category("CT_Mch"), Id("CL_CEdit"), first}, [&](cmcCellCapsule& r) {
        r.command = 88;
        r.rangeSelected = true;
        r.rangeFirst = first;
        r.rangeLast = first + 1;
    });
    EXPECT_TRUE(out.request.rangeRequest);
    EXPECT_EQ(out.request.rangeFirst, first + 1);
    EXPECT_EQ(out.request.rangeLast, first + 2);
    EXPECT_EQ(out.request.jumpIndex, first + 2);
    datCh row(&h.Image());
    EXPECT_EQ(static_cast<int64_t>(row.Load(kind, first).rxFreq), 146000000 + 12500 * (first + 2));
    EXPECT_EQ(static_cast<int64_t>(row.Load(kind, first + 1).rxFreq), 146000000 + 12500 * first);
    // The scan list's numbers went with their channels.
    const datCh list = ScanList();
    EXPECT_EQ(list.txCh, first + 1);
    EXPECT_EQ(list.prio1Ch, first);
    EXPECT_EQ(list.prio2Ch, first + 3);
}

// Mark bit 4 is the bank's: rows moving through a flagged bank leave it
// flagged, and a clear neighbour bank clear.
TEST_F(AdjustProgrammedRowsTest, MarkBit4StaysWithTheRowsPositionThroughAMove) {
    SetBankChannelCount(h.Image(), 1, 1);
    const int32_t next = GetBankFirstChannel(h.Image(), 1);
    adj::datCh row(&h.Image());
    row.Load(kind, first + 1);
    row.marks |= 0x10;
    row.Store(kind, first + 1);
    row.Load(kind, next);
    row.marks &= static_cast<uint8_t>(~0x10);
    row.Store(kind, next);
    h.Run({Category("CT_Mch"), Id("CL_CEdit"), first}, [&](cmcCellCapsule& r) {
        r.command = 88;
        r.rangeSelected = true;
        r.rangeFirst = first;
        r.rangeLast = first + 1;
    });
    ASSERT_EQ(static_cast<int64_t>(row.Load(kind, first).rxFreq), 146000000 + 12500 * (first + 2));
    for (int32_t r = first; r < first + 4; ++r)
        EXPECT_EQ(row.Load(kind, r).marks & 0x10, 0x10) << "row " << r;
    EXPECT_EQ(row.Load(kind, next).marks & 0x10, 0);
}

// The bank flag (mark bit 4) belongs to the bank, not to the channel: a row
// pasted into another bank leaves both banks' flags as they were.
TEST_F(AdjustRowEditTest, APastedRowKeepsTheDestinationBanksFlag) {
    h.LoadStartupData(0);
    SetBankChannelCount(h.Image(), 0, 1);
    SetBankChannelCount(h.Image(), 1, 1);
    const int32_t from = GetBankFirstChannel(h.Image(), 0);
    const int32_t to = GetBankFirstChannel(h.Image(), 1);
    const int32_t kind = GetModelClass();
    adj::datCh row(&h.Image());
    row.Load(kind, from);
    row.flagA |= 1;
    row.rxFreq = row.txFreq = 146520000;
    row.marks = 0x10;
    row.Store(kind, from);
    row.Load(kind, to);
    row.marks = 0;
    row.Store(kind, to);
    const uint8_t switchMark = static_cast<uint8_t>(row.Load(kind, to).marks & 0x08);

    h.OpenBank(0);
    RunRowCommand("CT_Mch", from, kCopy, from, from);
    h.OpenBank(1);
    // The destination holds no channel: nothing to confirm.
    RunRowCommand("CT_Mch", to, 86, to, to);

    row.Load(kind, to);
    EXPECT_EQ(row.rxFreq, 146520000u);
    EXPECT_EQ(row.marks & 0x10, 0);
    EXPECT_EQ(row.marks & 0x08, switchMark);
    EXPECT_EQ(row.Load(kind, from).marks & 0x10, 0x10);
    EXPECT_TRUE(h.boxes.Done());
}

// Site 0 with two entries ahead of site 1 with eighteen: an entry added at
// the end of site 0 shifts the whole used pool, so site 1 keeps every entry.
TEST_F(AdjustRowEditTest, AnEntryAddedToSite0KeepsAllEighteenOfSite1) {
    constexpr int32_t kPoolEntries = 108366, kEntryBytes = 10;
    h.LoadStartupData(0);
    SetSiteChannelCount(h.Image(), 0, 2);
    SetSiteChannelCount(h.Image(), 1, 18);
    auto entry = [&](int32_t row) {
        const uint8_t* at = h.Image().Data() + kPoolEntries + kEntryBytes * row;
        return std::vector<uint8_t>(at, at + kEntryBytes);
    };
    // Each entry its own frequency word, so that a lost or shifted entry shows.
    for (int32_t row = 0; row < 20; ++row) {
        const uint32_t freq = 450000000u + 25000u * static_cast<uint32_t>(row);
        h.Image().SetWord(kPoolEntries + kEntryBytes * row, static_cast<uint16_t>(freq >> 16));
        h.Image().SetWord(kPoolEntries + kEntryBytes * row + 2, static_cast<uint16_t>(freq));
    }
    std::vector<std::vector<uint8_t>> site1;
    for (int32_t row = GetSiteFirstChannel(h.Image(), 1); row < GetSiteFirstChannel(h.Image(), 1) + 18; ++row)
        site1.push_back(entry(row));
    h.Events();
    gEvMan->Send(evInsertPoolRow, 0, GetSiteFirstChannel(h.Image(), 0) + 2);
    EXPECT_EQ(GetSiteChannelCount(h.Image(), 0), 3);
    ASSERT_EQ(GetSiteChannelCount(h.Image(), 1), 18);
    const int32_t first1 = GetSiteFirstChannel(h.Image(), 1);
    EXPECT_EQ(first1, 3);
    for (int32_t k = 0; k < 18; ++k)
        EXPECT_EQ(entry(first1 + k), site1[static_cast<size_t>(k)]) << "site 1 entry " << k;
}

} // namespace
} // namespace adjtest
