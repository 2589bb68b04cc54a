// The frame of the per-cell function: what runs before and after every case.
#include "CellHarness.h"
#include "CellTestSupport.h"
#include "cells/CellEngine.h"
#include "cells/CellFrame.h"
#include "cells/CellIds.h"
#include "image/BankSite.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/datCh.h"
#include "tests/image/StartupData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using celltest::CellHarness;
using celltest::Outcome;

constexpr int32_t kGrey = 0xC0C0C0;

// A case that shows what the frame handed it.
void ShowFrame(CellFrame& f) {
    f.Show(std::to_string(f.recordKind) + "/" + std::to_string(f.index) + "/" +
           (f.rowLoaded ? "loaded" : "-") + "/" + (f.newRow ? "new" : "old") + "/" +
           std::to_string(f.row.rxFreq));
}

const CellCaseTable& Cases() {
    return CloningCellEngine().Cases();
}

const CellFrameNumbers::CommandCodes& Codes() {
    return CloningCellEngine().Numbers().commands;
}

TEST(ExecuteTest, AnIdWithoutCaseShowsYetAndTheEmptyIdsNothing) {
    CellHarness h;
    // Cases taken away stand for the ids that have none yet.
    for (int32_t id : {cellid::CL_Mch_FreqR, cellid::CL_Bank_UsedTotal, cellid::CL_Rpt_Text}) {
        ScopedCellCase none(id, nullptr);
        EXPECT_EQ(h.Display({0, id, 0}).text, std::to_string(id) + " *Yet*");
    }
    // An empty id runs no case, not even one put in its place.
    for (int32_t id : {0, 909, 916, 924, 963}) {
        EXPECT_FALSE(Cases().Has(id)) << id;
        ScopedCellCase stand(id, ShowFrame);
        EXPECT_EQ(h.Display({0, id, 0}).text, "") << id;
    }
    for (int32_t id = 0; id < Cases().Size(); ++id) {
        if (Cases().Has(id)) continue;
        EXPECT_EQ(h.Display({0, id, 0}).text, Cases().IsEmptyId(id) ? "" : std::to_string(id) + " *Yet*");
    }
}

// Every case shows its cell over a model's start-up data, in the category of
// no record and on a channel row, without a box, a pop-up, an editor or any
// change to the image: showing is never editing, but for the trunking timers,
// which turn a stored 0 into 1 whenever they are shown.
class EveryCaseTest : public ::testing::TestWithParam<int32_t> {};

struct WriteOnShow {
    int32_t cell;
    int32_t address; // the one byte the cell may write
};
constexpr WriteOnShow kWritesOnShow[] = {{302, 105664}, {303, 105665}, {304, 105666}};

// The image as it would be after showing the cell: equal to before for all
// cells but those that write on a display.
cmcEeprom AfterShow(cmcEeprom image, int32_t cell) {
    for (const WriteOnShow& w : kWritesOnShow)
        if (w.cell == cell && image.GetByte(w.address) == 0) image.SetByte(w.address, 1);
    return image;
}

TEST_P(EveryCaseTest, ShowsItsCellAndChangesNothing) {
    CellHarness h(GetParam());
    cmcGTex texts;
    texts.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL");
    ASSERT_EQ(testimage::LoadCloneFile(testimage::StartupFilePath(texts, GetParam()), h.Image()),
              cmcIcfFile::kOk);
    // Expanded into the static tables, as the program takes its start-up data.
    Dynamic2Static(h.Image());
    h.OpenBank(0);
    h.OpenSite(0);
    datCh row(&h.Image());
    row.Load(CloningCellVocabulary().CategoryInfo(catid::CT_Mch), 0);
    row.rxFreq = 150000000;
    row.grpRxId = 1;
    row.Store(row.kind, 0);
    // Packed, as the program keeps its working image.
    ASSERT_EQ(Static2DynamicInit(h.Image()), 0);
    for (int32_t id = 0; id < Cases().Size(); ++id) {
        if (!Cases().Has(id)) continue;
        for (int32_t category : {catid::CT_Null, catid::CT_Mch}) {
            SCOPED_TRACE(testing::Message() << "cell " << id << " category " << category);
            const cmcEeprom expected = AfterShow(h.Image(), id);
            const Outcome out = h.Display({category, id, 0});
            EXPECT_TRUE(h.Image().IsEqual(expected));
            EXPECT_EQ(out.result, 0);
            EXPECT_TRUE(h.popups.Log().empty());
            // A new file is sound: nothing the program ships shows as an error or as a
            // value its list does not hold.
            EXPECT_FALSE(out.request.markFlags.error) << out.text;
            // (A channel column outside a channel row has no record to show.)
            const bool channelColumn = CloningCellVocabulary().CellName(id).rfind("CL_Mch_", 0) == 0;
            if (category == catid::CT_Mch || !channelColumn) {
                EXPECT_NE(out.text, "error") << "a value no list of the cell holds";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, EveryCaseTest, ::testing::Values(0, 1, 2, 3, 4, 7),
                         [](const testing::TestParamInfo<int32_t>& info) {
                             return "Model" + std::to_string(info.param);
                         });

TEST(ExecuteTest, RegisteringAnIdTwiceOrAnEmptyIdIsFatal) {
    CellCaseTable table(CloningCellVocabulary(), CloningCellEngine().Numbers().emptyIds);
    table.Add(5, ShowFrame);
    EXPECT_EQ(celltest::FatalText([&] { table.Add(4, 6, ShowFrame); }), "Overlapped cell case. (5)");
    EXPECT_EQ(celltest::FatalText([&] { table.Add(909, ShowFrame); }), "Cell case out of the table. (909)");
    EXPECT_EQ(celltest::FatalText([&] { table.Add(963, ShowFrame); }), "Cell case out of the table. (963)");
    EXPECT_EQ(celltest::FatalText([&] { table.Add(964, ShowFrame); }), "Cell case out of the table. (964)");
    EXPECT_TRUE(table.Has(5));
    EXPECT_FALSE(table.Has(4));
    EXPECT_FALSE(table.Has(6));
}

TEST(ExecuteTest, MouseChoiceAndRunCommandActAsEnter) {
    CellHarness h;
    h.Key({0, 12, 0}, 13, false);
    h.Key({0, 12, 0}, 256, false);
    h.Command({0, 12, 0}, Codes().run);
    h.Key({0, 12, 0}, 32, false);
    EXPECT_EQ(h.app.Count("NewFile"), 3);
    cmcCellObj item;
    item.cellId = 12;
    EXPECT_EQ(indActiveCell::ExecuteCell(&item, 256), 0);
    EXPECT_EQ(h.app.Count("NewFile"), 4);
}

TEST(ExecuteTest, ANullCellRunsNothing) {
    CellHarness h;
    cmcCellCapsule r;
    r.displayText = "old";
    EXPECT_EQ(indActiveCell::Execute(r, 1), 0);
    EXPECT_EQ(r.displayText, "");
    EXPECT_EQ(indActiveCell::ExecuteCell(nullptr, 13), 0);
    EXPECT_TRUE(h.app.calls.empty());
}

TEST(ExecuteTest, FinishNotifiesAndSchedulesTheWarningCheckAfterInput) {
    CellHarness h;
    ScopedCellCase stand(120, ShowFrame);
    struct Case {
        CellAddress at;
        int32_t key;
        int32_t flags;
        int checks;
    } cases[] = {
        {{0, 120, 0}, 0, 1, 0}, // no record, a display
        {{7, 120, 3}, 0, 9, 0}, // tone pairs have records
        {{7, 120, 3}, 'x', 9, 1},
    };
    for (const Case& c : cases) {
        const int before = h.app.Count("ScheduleWarningCheck");
        const Outcome out = h.Key(c.at, c.key);
        EXPECT_EQ(out.flags, c.flags);
        EXPECT_EQ(h.app.Count("ScheduleWarningCheck") - before, c.checks);
    }
    EXPECT_EQ(h.app.Count("UpdateModified"), 1);
    h.Commit({7, 120, 3}, "1");
    EXPECT_EQ(h.app.Count("UpdateModified"), 2);
}

TEST(ExecuteTest, ARowIsLoadedOnlyWithinItsKindsTable) {
    CellHarness h;
    ScopedCellCase stand(120, ShowFrame);
    // Tone pairs (kind 9) have rows 0..39; two-tone codes (13) keep their
    // heading row 0 beside codes 1..10.
    EXPECT_EQ(h.Display({7, 120, 39}).text, "9/39/loaded/new/0");
    EXPECT_EQ(h.Display({7, 120, 40}).text, "9/40/-/new/0");
    EXPECT_EQ(h.Display({10, 120, 0}).text, "13/0/loaded/new/0");
    EXPECT_EQ(h.Display({10, 120, -1}).text, "13/-1/-/new/0");
    EXPECT_EQ(h.Display({0, 120, 5}).text, "0/5/-/new/0");
}

TEST(ExecuteTest, ARowOutsideItsTableIsNeverStored) {
    CellHarness h;
    cmcEeprom& image = h.Image();
    const cmcEeprom before = image;
    cmcCellObj cell;
    cmcCellCapsule r;
    r.cell = &cell;
    CellFrame f(r, image);
    f.LoadRow(9, 40);
    f.row.rxTone.on = true;
    f.row.name.fill('A');
    f.StoreRow();
    EXPECT_TRUE(image.IsEqual(before));
    f.LoadRow(9, 39);
    EXPECT_TRUE(f.rowLoaded);
}

// Channel rows: bank 0 holds rows 0..2 (a programmed row without group id, a
// row with a group id only, an empty row), bank 1 is empty; row 3 is new.
class FirstColumnTest : public ::testing::Test {
protected:
    FirstColumnTest() {
        SetBankChannelCount(h.Image(), 0, 3);
        Row(0, 150000000, 0);
        Row(1, 0, 5);
        h.OpenBank(0);
    }
    void Row(int32_t n, int32_t rx, uint8_t grp) {
        datCh rec(&h.Image());
        rec.Load(1, n);
        rec.rxFreq = rx;
        rec.grpRxId = grp;
        rec.Store(1, n);
    }
    CellHarness h{0};
};

TEST_F(FirstColumnTest, InputMovesToTheRowsFirstColumn) {
    struct Case {
        bool ltr;
        int32_t cell;
        int32_t row;
        int32_t jump; // 0: none
    } cases[] = {
        // ordinary bank: the receive frequency comes first
        {false, 132, 3, 127}, // tone column of a new row
        {false, 127, 3, 0},
        {false, 125, 3, 127}, // the attribute of a new row
        {false, 125, 2, 0},   // the attribute of an empty row is kept
        {false, 331, 2, 127},
        {false, 128, 1, 127}, // a basic column without receive frequency
        {false, 332, 0, 331}, // a group column without group id
        {false, 331, 0, 0},
        {false, 128, 0, 0},
        // LTR bank: the group receive id comes first
        {true, 132, 3, 331},
        {true, 127, 2, 331},
        {true, 331, 3, 0},
        {true, 128, 1, 127},
        {true, 333, 0, 331},
        {true, 333, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ltr " << c.ltr << " cell " << c.cell << " row " << c.row);
        SetBankFlagB(h.Image(), 0, c.ltr);
        // A digit in the receive frequency of the new row adds that row to the bank.
        SetBankChannelCount(h.Image(), 0, 3);
        const Outcome out = h.Key({2, c.cell, c.row}, '5');
        EXPECT_EQ(out.request.jumpRequest, c.jump ? 1 : 0);
        if (c.jump) {
            EXPECT_EQ(out.request.jumpCell, c.jump);
            EXPECT_EQ(out.request.jumpKey, '5');
            EXPECT_EQ(out.request.jumpCategory, 2);
            EXPECT_EQ(out.request.jumpIndex, c.row);
            EXPECT_EQ(out.result, 0);
            EXPECT_EQ(out.text, "");
        }
    }
}

TEST_F(FirstColumnTest, TheOtherKindOfColumnIsGreyAndKeysAbove127AreLeftAlone) {
    struct Case {
        bool ltr;
        int32_t cell;
        bool grey;
    } cases[] = {{false, 331, true}, {false, 128, false}, {true, 128, true}, {true, 338, false}};
    for (const Case& c : cases) {
        SetBankFlagB(h.Image(), 0, c.ltr);
        h.Display({2, c.cell, 0});
        EXPECT_EQ(h.canvas->fontColor, c.grey ? kGrey : CellHarness::kInk) << c.cell;
    }
    const Outcome out = h.Key({2, 132, 3}, 200);
    EXPECT_EQ(out.request.jumpRequest, 0);
    EXPECT_EQ(h.canvas->fontColor, CellHarness::kInk);
}

TEST_F(FirstColumnTest, PopupMenuItemsSeeTheRowTheMenuWasOpenedOn) {
    ScopedCellCase stand(120, ShowFrame);
    cmcCellObj channel;
    channel.category = 2;
    channel.cellId = 127;
    channel.index = 0;
    cmcCellCapsule opener;
    opener.cell = &channel;
    const auto run = [&](int32_t row) {
        channel.index = row;
        return h.Run({1, 120, 77}, [&](cmcCellCapsule& r) { r.linkedRequest = &opener; }).text;
    };
    EXPECT_EQ(run(0), "1/0/loaded/old/150000000");
    EXPECT_EQ(run(3), "1/3/loaded/new/0");
}

// Repeater entries: site 0 holds entries 0 (with a frequency) and 1 (without);
// entry 2 is new and entry 5 lies beyond the site but has a frequency.
class RepeaterEntryTest : public ::testing::Test {
protected:
    RepeaterEntryTest() {
        SetSiteChannelCount(h.Image(), 0, 2);
        Entry(0, 450000000);
        Entry(5, 460000000);
        h.OpenSite(0);
    }
    void Entry(int32_t n, int32_t rx) {
        datCh rec(&h.Image());
        rec.Load(24, n);
        rec.poolRxFreq = rx;
        rec.Store(24, n);
    }
    CellHarness h{1};
};

TEST_F(RepeaterEntryTest, InputOnAnEmptyEntryGoesToItsFrequency) {
    struct Case {
        int32_t cell;
        int32_t entry;
        int32_t key;
        bool jump;
    } cases[] = {
        {341, 1, '1', true},  {346, 1, 'A', false}, // the text column takes input on an empty entry
        {347, 1, ' ', false}, {340, 1, '4', false}, {349, 1, '1', true}, {341, 0, '1', false},
        {341, 2, '1', true},  {346, 2, 'A', false}, {341, 5, '1', true}, // beyond the site
        {341, 1, 200, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cell " << c.cell << " entry " << c.entry);
        const Outcome out = h.Key({26, c.cell, c.entry}, c.key);
        EXPECT_EQ(out.request.jumpRequest, c.jump ? 1 : 0);
        if (c.jump) {
            EXPECT_EQ(out.request.jumpCell, 340);
            EXPECT_EQ(out.request.jumpKey, c.key);
            if (c.cell != 349) {
                EXPECT_EQ(out.text, "");
            }
        }
    }
}

TEST(ExecuteTest, ContextHelpNamesTheHelpFileOnlyForTheCall) {
    CellHarness h;
    h.app.helpContextAnswer = 4711;
    const Outcome out = h.Command({2, 127, 0}, Codes().help);
    ASSERT_EQ(h.help.shown.size(), 1u);
    EXPECT_EQ(h.help.shown[0].file, plat::ProgramDirectory() + "QT4410R.html");
    EXPECT_EQ(h.help.shown[0].context, 4711);
    EXPECT_EQ(h.help.file, "");
    EXPECT_EQ(h.app.Count("GetCellHelpContext"), 1);
    EXPECT_EQ(out.text, "");
}

// Banks 3..6 hold 1, 2, 1 and 1 channels, each row's frequency naming its bank.
TEST(ExecuteTest, MovingBanksMovesTheirChannelsAndRebuildsTheTreeAroundThem) {
    struct Case {
        int32_t command;
        int32_t first, last;
        std::vector<int32_t> counts; // of banks 3..6 afterwards
        std::vector<intptr_t> banks; // bank nodes redrawn
        int32_t selected;            // first selected bank afterwards
    } cases[] = {
        {Codes().carryDown, 4, 4, {1, 1, 2, 1}, {4, 5}, 5},
        {Codes().carryUp, 4, 6, {2, 1, 1, 1}, {3, 4, 5, 6}, 3},
        {Codes().carryUp, 0, 1, {1, 2, 1, 1}, {0, 1}, 0},
        {Codes().carryDown, 127, 127, {1, 2, 1, 1}, {127}, 127},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        CellHarness h;
        int32_t row = 0;
        for (int32_t bank = 3; bank <= 6; ++bank) {
            SetBankChannelCount(h.Image(), bank, bank == 4 ? 2 : 1);
            for (int32_t i = 0; i < (bank == 4 ? 2 : 1); ++i, ++row) {
                datCh rec(&h.Image());
                rec.Load(1, row);
                rec.rxFreq = 100000000 + bank * 1000000;
                rec.Store(1, row);
            }
        }
        const Outcome out = h.Run({13, 102, c.first}, [&](cmcCellCapsule& r) {
            r.command = c.command;
            r.rangeSelected = c.first != c.last;
            r.rangeFirst = c.first;
            r.rangeLast = c.last;
        });
        EXPECT_EQ(out.flags & CellFrame::kFlagRebuildAll, CellFrame::kFlagRebuildAll);
        std::vector<int32_t> counts;
        for (int32_t bank = 3; bank <= 6; ++bank)
            counts.push_back(GetBankChannelCount(h.Image(), bank));
        EXPECT_EQ(counts, c.counts);
        // The first row of each bank still names the bank it came from.
        if (c.first == 4 && c.last == 4) {
            datCh rec(&h.Image());
            EXPECT_EQ(rec.Load(1, GetBankFirstChannel(h.Image(), 4)).rxFreq, 105000000);
            EXPECT_EQ(rec.Load(1, GetBankFirstChannel(h.Image(), 5)).rxFreq, 104000000);
        }
        std::vector<intptr_t> banks;
        int rebuilt = 0;
        for (const cmcEvent& ev : h.Events()) {
            if (ev.type == evRebuildTree) ++rebuilt;
            if (ev.type == evBankNodeTextFromImage) banks.push_back(ev.p2);
        }
        EXPECT_EQ(rebuilt, 1);
        EXPECT_EQ(banks, c.banks);
        EXPECT_EQ(out.request.rangeFirst, c.selected);
    }
}

} // namespace
