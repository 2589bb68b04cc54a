// The row commands of the adjustment program's sheets, run through its cell
// engine: deleting and inserting act on channel rows only, with the program's
// own command codes.
#include "tests/adjust/AdjustCellFixture.h"

#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"

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
    const int32_t count = GetBankChannelCountIn(h.Image(), 0);
    h.Events();
    // An empty bank takes rows one at a time on its new row.
    for (int k = 0; k < 4; ++k)
        RunRowCommand("CT_Mch", first, kInsert, first, first);
    EXPECT_EQ(RowEvents(evInsertChannelRow), 4);
    ASSERT_EQ(GetBankChannelCountIn(h.Image(), 0), count + 4);
    // The inserted rows hold no channel: nothing to confirm, one event a row.
    RunRowCommand("CT_Mch", first + 1, kDelete, first + 1, first + 3);
    EXPECT_EQ(RowEvents(evRemoveChannelRow), 3);
    EXPECT_EQ(GetBankChannelCountIn(h.Image(), 0), count + 1);
    EXPECT_TRUE(h.boxes.Done());
    EXPECT_TRUE(h.boxes.Log().empty());
}

} // namespace
} // namespace adjtest
