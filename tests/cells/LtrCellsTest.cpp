// The LTR cells: a channel's group columns, the repeater entries of a site,
// a site's settings on the bank sheet and the LTR options, evaluated through
// indActiveCell::Execute on a model's start-up data.
#include "cells/cloning/LtrCells.h"
#include "LtrCellFixture.h"
#include "cells/CellFrame.h"
#include "image/RecordLayout.h"
#include "tests/support/ParamNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <string>

namespace {

using namespace ltrtest;

constexpr int32_t kLtrHandheld = 1;
constexpr int32_t kLtrMobile = 6;
constexpr int32_t kModelCount = 10;

// Group record bytes of a channel, and the group record and pool entry of a site.
int32_t GroupBytes(int32_t row) {
    return layout::kChannelG + 6 * row;
}
int32_t SiteRecord(int32_t site) {
    return layout::kGroupRecords + layout::kGroupRecordSize * site;
}
int32_t PoolEntry(int32_t row) {
    return layout::kPool + layout::kPoolEntrySize * row;
}

using Six = std::array<uint8_t, 6>;

Six ReadSix(cmcEeprom& image, int32_t at) {
    Six bytes{};
    for (int32_t i = 0; i < 6; ++i)
        bytes[static_cast<size_t>(i)] = image.GetByte(at + i);
    return bytes;
}
void WriteSix(cmcEeprom& image, int32_t at, const Six& bytes) {
    for (int32_t i = 0; i < 6; ++i)
        image.SetByte(at + i, bytes[static_cast<size_t>(i)]);
}

bool Same(const cmcEeprom& a, const cmcEeprom& b) {
    return a.GetSize() == b.GetSize() && std::equal(a.Data(), a.Data() + a.GetSize(), b.Data());
}

bool Contains(const std::vector<Heard>& events, const Heard& wanted) {
    return std::find(events.begin(), events.end(), wanted) != events.end();
}

// Whether the shipped overlay holds the list (a missing key would be fatal).
bool Shipped(const char* key, const char* suffix = "_Cells") {
    std::ifstream overlay(TOLVANE_BIN_DIR "/QT4410R.OVL");
    const std::string wanted = "#" + std::string(key) + suffix;
    for (std::string line; std::getline(overlay, line);)
        if (line == wanted || line == wanted + "\r") return true;
    return false;
}

// ---- group columns, for every model ----

enum class Act { Display, Commit, Space, Backspace, Pick };

struct GroupCase {
    const char* name;
    int32_t cell;
    Act act;
    std::string text;  // typed text (Commit)
    int32_t value;     // picked value (Pick)
    Six after;         // the row's group bytes afterwards
    const char* shown; // the cell's text on a display afterwards; null: not checked
    bool changed;      // the sheet hears event 13
};

// Every case starts from receive id 7, transmit id 7, home repeater 4, no
// flags, block ids 10 to 20.
constexpr Six kGroupStart = {7, 7, 4, 0x00, 10, 20};

const GroupCase kGroupCases[] = {
    {"rx shows its id", 331, Act::Display, "", 0, kGroupStart, "7", false},
    {"tx equal to rx shows the arrow", 332, Act::Display, "", 0, kGroupStart, "<-", false},
    {"rx typed, tx follows", 331, Act::Commit, "9", 0, {9, 9, 4, 0, 10, 20}, "9", true},
    {"rx typed 0 is not taken", 331, Act::Commit, "0", 0, kGroupStart, "7", false},
    {"rx above 250 is limited", 331, Act::Commit, "300", 0, {250, 250, 4, 0, 10, 20}, "250", true},
    {"rx steps up with space", 331, Act::Space, "", 0, {8, 8, 4, 0, 10, 20}, "8", true},
    {"rx steps down with backspace", 331, Act::Backspace, "", 0, {6, 6, 4, 0, 10, 20}, "6", true},
    {"tx typed", 332, Act::Commit, "8", 0, {7, 8, 4, 0, 10, 20}, "8", true},
    {"tx below 1 is limited", 332, Act::Commit, "0", 0, {7, 1, 4, 0, 10, 20}, "1", true},
    {"home repeater typed", 334, Act::Commit, "12", 0, {7, 7, 12, 0, 10, 20}, "12", true},
    {"home repeater 0 is not taken", 334, Act::Commit, "0", 0, kGroupStart, "4", false},
    {"home repeater above 20 is limited", 334, Act::Commit, "25", 0, {7, 7, 20, 0, 10, 20}, "20", true},
    {"phone privacy", 335, Act::Pick, "", 1, {7, 7, 4, 0x40, 10, 20}, "Enabled", false},
    {"block id enable", 336, Act::Pick, "", 1, {7, 7, 4, 0x20, 10, 20}, "OFF", false},
    {"block id start typed", 337, Act::Commit, "100", 0, {7, 7, 4, 0, 100, 20}, "100", false},
    {"block id start below 1 is limited", 337, Act::Commit, "0", 0, {7, 7, 4, 0, 1, 20}, "1", false},
    {"block id end steps down", 338, Act::Backspace, "", 0, {7, 7, 4, 0, 10, 19}, "19", false},
};

Outcome Apply(LtrCellFixture& h, CellAddress at, Act act, const std::string& text, int32_t value) {
    switch (act) {
    case Act::Display:
        return h.Display(at);
    case Act::Commit:
        return h.Commit(at, text);
    case Act::Space:
        return h.Key(at, ' ');
    case Act::Backspace:
        return h.Key(at, 8);
    case Act::Pick:
        return h.Pick(at, value);
    }
    return {};
}

class GroupColumnsTest : public ::testing::TestWithParam<int32_t> {};

TEST_P(GroupColumnsTest, ShowAndStoreTheGroupBytesOfTheRow) {
    LtrCellFixture h(GetParam());
    h.MakeLtrBank(0, 2);
    h.MakeLtrBank(1, 3);
    h.OpenBank(1);
    const int32_t row = 3; // the second row of bank 1
    for (const GroupCase& c : kGroupCases) {
        SCOPED_TRACE(c.name);
        WriteSix(h.Image(), GroupBytes(row), kGroupStart);
        h.Events();
        Apply(h, {kCatMch, c.cell, row}, c.act, c.text, c.value);
        EXPECT_EQ(ReadSix(h.Image(), GroupBytes(row)), c.after);
        EXPECT_EQ(h.HeardSheetChanged(), c.changed);
        EXPECT_EQ(h.Display({kCatMch, c.cell, row}).text, c.shown);
    }
    // Nothing spilled into the rows around it.
    EXPECT_EQ(h.Channel(2).grpRxId, 1);
    EXPECT_EQ(h.Channel(4).grpRxId, 3);
}

TEST_P(GroupColumnsTest, TransmitIdFollowsOnlyWhileEqual) {
    LtrCellFixture h(GetParam());
    h.MakeLtrBank(0, 1);
    h.OpenBank(0);
    struct {
        uint8_t tx, wantTx;
    } cases[] = {{7, 9}, {8, 8}};
    for (auto c : cases) {
        WriteSix(h.Image(), GroupBytes(0), {7, c.tx, 0, 0, 1, 1});
        h.Commit({kCatMch, 331, 0}, "9");
        EXPECT_EQ(h.Channel(0).grpRxId, 9);
        EXPECT_EQ(h.Channel(0).grpTxId, c.wantTx) << int(c.tx);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryModel, GroupColumnsTest, ::testing::Range(0, kModelCount),
                         testsupport::ModelParamName());

TEST(GroupColumnsLookTest, TransmitIdAlignmentArrowAndGrey) {
    LtrCellFixture h(kLtrHandheld);
    h.MakeLtrBank(0, 1);
    h.OpenBank(0);
    WriteSix(h.Image(), GroupBytes(0), {7, 7, 0, 0x00, 1, 1});
    Outcome out = h.Display({kCatMch, 332, 0});
    EXPECT_EQ(out.text, "<-");
    EXPECT_EQ(out.alignH, 1);
    EXPECT_FALSE(out.grey);
    // Enter opens the editor on the number, right-aligned, not on the arrow.
    out = h.Key({kCatMch, 332, 0}, 13);
    EXPECT_EQ(out.result, cmcCellCapsule::kResultOpenEditor);
    EXPECT_EQ(out.text, "7");
    EXPECT_EQ(out.alignH, 2);

    WriteSix(h.Image(), GroupBytes(0), {7, 8, 0, 0x80, 1, 1});
    out = h.Display({kCatMch, 332, 0});
    EXPECT_EQ(out.text, "8");
    EXPECT_EQ(out.alignH, 2);
    EXPECT_TRUE(out.grey) << "transmit inhibit greys the transmit id";

    // An id of 0 shows nothing until a key is pending; the home repeater too.
    WriteSix(h.Image(), GroupBytes(0), {7, 7, 0, 0, 1, 1});
    EXPECT_EQ(h.Display({kCatMch, 334, 0}).text, "");
    EXPECT_EQ(h.Key({kCatMch, 334, 0}, 13).text, "0");
}

TEST(GroupColumnsLookTest, ColumnsOnTheChannelLists) {
    LtrCellFixture h(kLtrMobile);
    if (!Shipped(ltrkeys::kTxInh)) GTEST_SKIP() << ltrkeys::kTxInh << " is shipped with the channel lists";
    h.MakeLtrBank(0, 1);
    h.OpenBank(0);
    WriteSix(h.Image(), GroupBytes(0), {7, 7, 0, 0x00, 1, 1});
    h.Pick({kCatMch, 333, 0}, 1);
    EXPECT_EQ(h.Image().GetByte(GroupBytes(0) + 3), 0x80);
    EXPECT_TRUE(h.Display({kCatMch, 332, 0}).grey);
}

// ---- new channel rows ----

class NewGroupRowTest : public ::testing::Test {
protected:
    NewGroupRowTest() {
        h.MakeLtrBank(0, 2);
        h.MakeLtrBank(1, 3);
        h.OpenBank(1);
        h.Events();
    }
    LtrCellFixture h{kLtrHandheld};
    static constexpr int32_t kNewRow = 5; // below bank 1's rows 2..4
};

TEST_F(NewGroupRowTest, TypingADigitInsertsTheRowAndTheCommitStoresTheId) {
    const Outcome out = h.Key({kCatMch, 331, kNewRow}, '5');
    EXPECT_EQ(out.result, cmcCellCapsule::kResultOpenEditor);
    EXPECT_EQ(GetBankChannelCount(h.Image(), 1), 4);
    EXPECT_TRUE(Contains(h.Events(), {evInsertChannelRow, 1, kNewRow}));

    h.Commit({kCatMch, 331, kNewRow}, "5");
    EXPECT_EQ(h.Channel(kNewRow).grpRxId, 5);
    EXPECT_EQ(h.Channel(kNewRow).grpTxId, 5);
    EXPECT_TRUE(h.HeardSheetChanged());
    EXPECT_EQ(h.Display({kCatMch, 331, kNewRow}).text, "5");
}

TEST_F(NewGroupRowTest, KeysThatStartInputInsertOthersDoNot) {
    // On a channel sheet the frame sends every key of the empty row to the
    // receive id; the home repeater inserts as well where it is reached.
    struct {
        int32_t category;
        int32_t cell;
        int32_t key;
        bool inserts;
    } cases[] = {
        {kCatMch, 331, ' ', true}, {kCatMch, 331, 8, true},    {kCatMch, 331, '.', true},
        {kCatMch, 331, '0', true}, {kCatMch, 331, 13, true},   {kCatMch, 331, 'a', false},
        {kCatMch, 331, 0, false},  {kCatMch, 334, '3', false}, {kCatMchCheck, 334, '3', true},
    };
    for (auto c : cases) {
        SCOPED_TRACE(::testing::Message() << c.category << "/" << c.cell << " key " << c.key);
        const int32_t before = GetBankChannelCount(h.Image(), 1);
        const Outcome out = h.Key({c.category, c.cell, before + 2}, c.key);
        EXPECT_EQ(GetBankChannelCount(h.Image(), 1), before + (c.inserts ? 1 : 0));
        if (!c.inserts) {
            EXPECT_EQ(out.text, "");
        }
    }
    // Space on the inserted row stepped its empty id to 1, and stored it.
    EXPECT_EQ(h.Channel(5).grpRxId, 1);
}

TEST_F(NewGroupRowTest, AFullChannelTableShowsTheOverflowBoxAndChangesNothing) {
    SetBankChannelCount(h.Image(), 2, 512 - 5);
    const cmcEeprom before = h.Image();
    h.Boxes().Expect("No more rows", plat::IDOK);
    const Outcome out = h.Key({kCatMch, 331, kNewRow}, '5');
    EXPECT_TRUE(h.Boxes().Done());
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.text, "");
    EXPECT_TRUE(Same(h.Image(), before));
    // The empty row is the next bank's first row: a commit there stores nothing.
    h.Commit({kCatMch, 331, kNewRow}, "9");
    EXPECT_TRUE(Same(h.Image(), before));
}

TEST_F(NewGroupRowTest, AFullDynamicAreaShowsTheOverflowBox) {
    h.Image().SetWord(272, 0xFF7F);
    h.Image().SetWord(274, 0xFF7F);
    h.Boxes().Expect("No more rows", plat::IDOK);
    h.Key({kCatMch, 331, kNewRow}, ' ');
    EXPECT_TRUE(h.Boxes().Done());
    EXPECT_EQ(GetBankChannelCount(h.Image(), 1), 3);
}

TEST_F(NewGroupRowTest, TheEmptyRowShowsNothing) {
    EXPECT_EQ(h.Display({kCatMch, 331, kNewRow}).text, "");
    EXPECT_EQ(GetBankChannelCount(h.Image(), 1), 3);
}

// ---- repeater entries ----

class RepeaterTest : public ::testing::Test {
protected:
    RepeaterTest() {
        h.MakeSite(0, 2);
        h.MakeSite(1, 3);
        h.OpenSite(1);
        h.Events();
    }
    LtrCellFixture h{kLtrHandheld};
    // Site 1 holds pool rows 2..4; row 5 is its sheet's empty row.
    static constexpr int32_t kFirst = 2;
    static constexpr int32_t kNewRow = 5;
};

TEST_F(RepeaterTest, NumbersCountWithinTheSiteAndTheEmptyRowIsTitled) {
    EXPECT_EQ(h.Display({kCatRpt, 339, kFirst}).text, "  1");
    EXPECT_EQ(h.Display({kCatRpt, 339, kFirst + 2}).text, "  3");
    if (Shipped(ltrkeys::kNewRowTitle, "")) {
        EXPECT_EQ(h.Display({0, 339, kNewRow}).text, gGTex->GetText(ltrkeys::kNewRowTitle));
    }
}

TEST_F(RepeaterTest, TypingOnTheEmptyRowAddsAnEntryWhoseTransmitFrequencyFollows) {
    struct {
        const char* typed;
        int32_t rx, tx;
    } cases[] = {
        {"146.52", 146520000, 151520000}, {"480", 480000000, 483000000}, // 3 MHz from 470 MHz up
    };
    int32_t row = kNewRow;
    for (auto c : cases) {
        SCOPED_TRACE(c.typed);
        const Outcome out = h.Key({kCatRpt, 340, row}, '1');
        EXPECT_EQ(out.result, cmcCellCapsule::kResultOpenEditor);
        EXPECT_EQ(GetSiteChannelCount(h.Image(), 1), row - kFirst + 1);
        EXPECT_TRUE(Contains(h.Events(), {evInsertPoolRow, 1, row}));

        h.Commit({kCatRpt, 340, row}, c.typed);
        EXPECT_EQ(h.Entry(row).poolRxFreq, c.rx);
        EXPECT_EQ(h.Entry(row).poolTxFreq, c.tx);
        EXPECT_TRUE(h.HeardSheetChanged());
        ++row;
    }
    // The next site moved down with its rows.
    EXPECT_EQ(GetSiteFirstChannel(h.Image(), 2), kNewRow + 2);
}

TEST_F(RepeaterTest, ASiteOfTwentyEntriesOrAFullPoolTakesNoMore) {
    // Sites 2 and on fill the pool with up to 255 entries each (a site's count is a byte).
    struct {
        const char* name;
        int32_t site1, others;
    } cases[] = {{"20 entries in the site", 20, 0}, {"2560 entries in the pool", 3, 2560 - 5}};
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        SetSiteChannelCount(h.Image(), 1, c.site1);
        for (int32_t site = 2, left = c.others; site < 128; ++site, left -= std::min(left, 255))
            SetSiteChannelCount(h.Image(), site, std::min(left, 255));
        ASSERT_EQ(GetTotalSiteChannels(h.Image()), 2 + c.site1 + c.others);
        const cmcEeprom before = h.Image();
        h.Boxes().Expect("No more rows", plat::IDOK);
        const int32_t row = kFirst + c.site1;
        const Outcome out = h.Key({kCatRpt, 340, row}, '4');
        EXPECT_TRUE(h.Boxes().Done());
        EXPECT_EQ(out.result, 0);
        EXPECT_TRUE(Same(h.Image(), before));
        h.Commit({kCatRpt, 340, row}, "450");
        EXPECT_TRUE(Same(h.Image(), before)) << "the empty row belongs to no entry of the site";
    }
}

TEST_F(RepeaterTest, EntryColumnsStoreTheirBits) {
    struct {
        int32_t cell;
        Act act;
        int32_t value;
        uint8_t flags; // byte 8 of the entry afterwards
        const char* shown;
    } cases[] = {
        {342, Act::Pick, 1, 0x80, "On"},      {343, Act::Pick, 1, 0x40, "On"},
        {345, Act::Pick, 1, 0x01, "On"},      {342, Act::Space, 0, 0x80, "On"},
        {345, Act::Backspace, 0, 0x01, "On"},
    };
    const int32_t row = kFirst + 1;
    for (auto c : cases) {
        SCOPED_TRACE(c.cell);
        h.Image().SetByte(PoolEntry(row) + 8, 0x00);
        h.Image().SetByte(PoolEntry(row) + 9, 0xA5);
        Apply(h, {kCatRpt, c.cell, row}, c.act, "", c.value);
        EXPECT_EQ(h.Image().GetByte(PoolEntry(row) + 8), c.flags);
        EXPECT_EQ(h.Image().GetByte(PoolEntry(row) + 9), 0xA5);
        EXPECT_EQ(h.Display({kCatRpt, c.cell, row}).text, c.shown);
    }
}

TEST_F(RepeaterTest, EntryColumnsOnTheChannelLists) {
    if (!Shipped(ltrkeys::kNar) || !Shipped(ltrkeys::kRfPwr))
        GTEST_SKIP() << "the narrow and power lists are shipped with the channel lists";
    const int32_t row = kFirst;
    h.Image().SetByte(PoolEntry(row) + 8, 0x00);
    h.Pick({kCatRpt, 344, row}, 1);
    EXPECT_EQ(h.Image().GetByte(PoolEntry(row) + 8), 0x20);
    // A stored power 0 is shown and offered as 3.
    h.Image().SetByte(PoolEntry(row) + 8, 0x00);
    EXPECT_EQ(h.Display({kCatRpt, 350, row}).text, LayoutCache().Text(ltrkeys::kRfPwr, kFlex0, 3));
    h.Key({kCatRpt, 350, row}, 13);
    ASSERT_FALSE(h.Popups().Log().empty());
    EXPECT_EQ(h.Popups().Log().back().currentValue, 3);
    h.Pick({kCatRpt, 350, row}, 1);
    EXPECT_EQ(h.Image().GetByte(PoolEntry(row) + 8), 0x08);
}

TEST_F(RepeaterTest, TransmitFrequencyEqualToReceiveShowsTheArrow) {
    const int32_t row = kFirst + 1;
    EXPECT_EQ(h.Display({kCatRpt, 341, row}).text, "465.025000");
    h.Commit({kCatRpt, 341, row}, "460.025");
    EXPECT_EQ(h.Entry(row).poolTxFreq, 460025000);
    EXPECT_EQ(h.Entry(row).poolRxFreq, 460025000);
    EXPECT_EQ(h.Display({kCatRpt, 341, row}).text, "<-");
    // A receive frequency that was equal takes the transmit frequency with it.
    h.Commit({kCatRpt, 340, row}, "461");
    EXPECT_EQ(h.Entry(row).poolTxFreq, 461000000);
}

TEST_F(RepeaterTest, SiteNameAndAreaBitAreTheOpenSites) {
    h.Commit({kCatRpt, 346, kFirst + 2}, "HILLTOP");
    datCh bank(&h.Image());
    bank.Load(kindBank, 1);
    EXPECT_EQ(std::string(bank.name.begin(), bank.name.end()), "HILLTOP     ");
    bank.Load(kindBank, 0);
    EXPECT_NE(std::string(bank.name.begin(), bank.name.end()), "HILLTOP     ");

    h.Image().SetByte(SiteRecord(1), 0x00);
    EXPECT_EQ(h.Display({kCatRpt, 347, kFirst}).text, "Off");
    h.Image().SetByte(SiteRecord(1), 0x80);
    EXPECT_EQ(h.Display({kCatRpt, 347, kNewRow}).text, "On");
}

TEST_F(RepeaterTest, MarkingTheThirdEntryMakesItTheSitesHomeRepeater) {
    h.Image().SetByte(SiteRecord(1) + 7, 0);
    for (int32_t row = kFirst; row < kNewRow; ++row) {
        const Outcome out = h.Display({kCatRpt, 349, row});
        EXPECT_EQ(out.text, "-");
        EXPECT_TRUE(out.error) << "no entry is marked";
    }
    h.Pick({kCatRpt, 349, kFirst + 2}, 1);
    EXPECT_EQ(h.Image().GetByte(SiteRecord(1) + 7), 3);
    EXPECT_TRUE(h.HeardSheetChanged());
    EXPECT_EQ(h.Display({kCatRpt, 349, kFirst + 2}).text, "H");
    EXPECT_FALSE(h.Display({kCatRpt, 349, kFirst + 2}).error);
    EXPECT_EQ(h.Display({kCatRpt, 349, kFirst}).text, "-");
    // Space always marks: the list is offered from its first value.
    h.Key({kCatRpt, 349, kFirst}, ' ');
    EXPECT_EQ(h.Image().GetByte(SiteRecord(1) + 7), 1);
    // Picking the first value marks nothing.
    h.Pick({kCatRpt, 349, kFirst + 1}, 0);
    EXPECT_EQ(h.Image().GetByte(SiteRecord(1) + 7), 1);
    // Site 0 kept its own mark byte.
    EXPECT_EQ(h.Image().GetByte(SiteRecord(0) + 7), 0);
}

TEST_F(RepeaterTest, TheMarkIsAnErrorWhenItNamesNoEntry) {
    struct {
        uint8_t mark;
        bool error;
    } cases[] = {{0, true}, {1, false}, {3, false}, {4, true}, {21, true}, {255, true}};
    for (auto c : cases)
        for (int32_t row : {kFirst, kFirst + 2}) {
            h.Image().SetByte(SiteRecord(1) + 7, c.mark);
            EXPECT_EQ(h.Display({kCatRpt, 349, row}).error, c.error) << int(c.mark) << " row " << row;
        }
}

TEST_F(RepeaterTest, AnEntryWithoutFrequencyCannotBeMarked) {
    datCh e = h.Entry(kFirst + 1);
    e.poolRxFreq = 0;
    e.poolTxFreq = 0;
    e.Store(kindRepeaterPool, kFirst + 1);
    h.Image().SetByte(SiteRecord(1) + 7, 1);
    const Outcome out = h.Key({kCatRpt, 349, kFirst + 1}, 13);
    EXPECT_EQ(out.jumpCell, 340) << "the key goes to the receive frequency";
    EXPECT_TRUE(h.Popups().Log().empty());
    h.Pick({kCatRpt, 349, kFirst + 1}, 1);
    EXPECT_EQ(h.Image().GetByte(SiteRecord(1) + 7), 1);
}

// ---- site settings on the bank sheet ----

TEST(BankSiteCellsTest, OnlyAnLtrBankShowsAndEditsItsSiteSettings) {
    LtrCellFixture h(kLtrHandheld);
    SetBankFlagB(h.Image(), 0, 1);
    SetBankFlagB(h.Image(), 1, 0);
    struct {
        int32_t cell;
        Act act;
        std::string text;
        int32_t value;
        int32_t offset; // in the site record
        uint8_t after;
        const char* shown;
    } cases[] = {
        {348, Act::Pick, "", 1, 0, 0x80, "On"},
        {357, Act::Commit, "12", 0, 5, 12, "12"},
        {358, Act::Commit, "300", 0, 6, 255, "255"},
        {358, Act::Space, "", 0, 6, 1, "1"},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.cell);
        for (int32_t bank : {0, 1}) {
            h.Image().SetByte(SiteRecord(bank) + c.offset, 0);
            Apply(h, {kCatBankOp, c.cell, bank}, c.act, c.text, c.value);
            const Outcome out = h.Display({kCatBankOp, c.cell, bank});
            if (bank == 0) {
                EXPECT_EQ(h.Image().GetByte(SiteRecord(bank) + c.offset), c.after);
                EXPECT_EQ(out.text, c.shown);
                EXPECT_FALSE(out.grey);
            } else {
                EXPECT_EQ(h.Image().GetByte(SiteRecord(bank) + c.offset), 0);
                EXPECT_EQ(out.text, "---");
                EXPECT_TRUE(out.grey);
            }
        }
    }
    // The LTR option page names the bank by its index too.
    EXPECT_EQ(h.Display({kCatLtrOp, 357, 1}).text, "---");
    EXPECT_EQ(h.Display({kCatLtrOp, 357, 200}).text, "---");
}

// ---- LTR options ----

TEST(LtrOptionsTest, EachOptionShowsAndStoresItsBitsAlone) {
    LtrCellFixture h(kLtrMobile);
    struct {
        int32_t cell;
        Act act;
        std::string text;
        int32_t value;
        int32_t address;
        uint8_t before, after;
        const char* shown;
    } cases[] = {
        {351, Act::Pick, "", 1, 107338, 0x00, 0x80, "ON"},
        {352, Act::Pick, "", 0, 107338, 0xFF, 0xBF, "OFF"},
        {353, Act::Space, "", 0, 107338, 0x00, 0x10, "ON"},
        {354, Act::Pick, "", 1, 107338, 0x00, 0x04, "Disable"},
        {355, Act::Pick, "", 1, 107338, 0x00, 0x02, "Allow"},
        {356, Act::Commit, "12", 0, 107339, 0, 12, " 12.000"},
        {356, Act::Commit, "off", 0, 107339, 30, 0, "OFF"},
        {359, Act::Commit, "2.5", 0, 107340, 0, 25, "  2.500"},
        {359, Act::Display, "", 0, 107340, 0, 0, "  0.000"},
        {360, Act::Pick, "", 1, 107341, 0x7F, 0xFF, "On"},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.cell);
        h.Image().SetByte(c.address, c.before);
        Apply(h, {kCatLtrOp, c.cell, 0}, c.act, c.text, c.value);
        EXPECT_EQ(h.Image().GetByte(c.address), c.after);
        EXPECT_EQ(h.Display({kCatLtrOp, c.cell, 0}).text, c.shown);
    }
}

TEST(LtrOptionsTest, TalkAroundWithinRangeIsGreyWhileOutOfRangeIsAllowed) {
    LtrCellFixture h(kLtrHandheld);
    h.Image().SetByte(107338, 0x00);
    EXPECT_FALSE(h.Display({kCatLtrOp, 354, 0}).grey);
    h.Pick({kCatLtrOp, 355, 0}, 1);
    EXPECT_TRUE(h.Display({kCatLtrOp, 354, 0}).grey);
    // The out-of-range switch has every view rebuilt, whatever the request.
    EXPECT_TRUE(h.Display({kCatLtrOp, 355, 0}).flags & CellFrame::kFlagRebuildAll);
    EXPECT_FALSE(h.Display({kCatLtrOp, 354, 0}).flags & CellFrame::kFlagRebuildAll);
}

} // namespace
