// The bank, channel-row and repeater-entry cells of the adjustment program,
// run through its engine on its start-up data: row numbers and counters, the
// rows that input adds, the group ids, and the row pop-up menu's states.
#include "tests/adjust/AdjustCellFixture.h"

#include "adjust/AdjustProfile.h"
#include "adjust/AdjustRecords.h"
#include "cells/CellFrame.h"
#include "foundation/ModelClass.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/DynamicCapacity.h"
#include "image/ImagePacking.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <vector>

namespace adjtest {
namespace {

constexpr int32_t kChannelEntries = 65408, kChannelBytes = 30;
constexpr int32_t kPoolEntries = 108366, kEntryBytes = 10;
constexpr int32_t kGroupIds = 133966, kGroupBytes = 6;

class AdjustBankCellsTest : public AdjustCellFixture {
protected:
    AdjustBankCellsTest() { h.LoadStartupData(0); }

    uint32_t Dword(int32_t at) {
        return static_cast<uint32_t>(h.Image().GetWord(at)) << 16 | h.Image().GetWord(at + 2);
    }
    void SetDword(int32_t at, uint32_t value) {
        h.Image().SetWord(at, static_cast<uint16_t>(value >> 16));
        h.Image().SetWord(at + 2, static_cast<uint16_t>(value));
    }
    std::vector<uint8_t> Entry(int32_t poolRow) {
        const uint8_t* at = h.Image().Data() + kPoolEntries + kEntryBytes * poolRow;
        return {at, at + kEntryBytes};
    }
    int Count(int32_t type) {
        const std::vector<cmcEvent> events = h.Events();
        return static_cast<int>(
            std::count_if(events.begin(), events.end(), [&](const cmcEvent& ev) { return ev.type == type; }));
    }
    bool ImageIs(const cmcEeprom& before) {
        return std::equal(before.Data(), before.Data() + before.GetSize(), h.Image().Data());
    }

    // Boxes carry this program's title.
    ScopedProgramProfile profile{adj::AdjustProfile()};
};

TEST_F(AdjustBankCellsTest, RowNumbersCountFromZeroAndFromOne) {
    // A scan-list row: channel rows keep an empty row's cells blank.
    const int32_t rows = Category("CT_Scan");
    EXPECT_EQ(h.Display({rows, Id("CL_Misc_ChNo_0Base"), 7}).text, "7");
    EXPECT_EQ(h.Display({rows, Id("CL_Misc_ChNo_1Base"), 7}).text, "8");
}

TEST_F(AdjustBankCellsTest, ABanksUsedCountShowsOnlyWhileBanksAreFree) {
    const int32_t bankOp = Category("CT_BankOp");
    SetBankChannelCount(h.Image(), 0, 0);
    SetBankChannelCount(h.Image(), 1, 0);
    EXPECT_EQ(h.Display({bankOp, Id("CL_Bank_UsedQty"), 0}).text, "---");
    EXPECT_EQ(h.Display({bankOp, Id("CL_Bank_SmarTrunk"), 0}).text, "Non");
    SetBankChannelCount(h.Image(), 1, 3);
    // Three rows, none of them programmed.
    EXPECT_EQ(h.Display({bankOp, Id("CL_Bank_UsedQty"), 1}).text, "0");
}

TEST_F(AdjustBankCellsTest, PickingTheBankModeChangesNoCountAndReloadsEveryView) {
    SetBankChannelCount(h.Image(), 1, 3);
    const cmcEeprom before = h.Image();
    h.Events();
    const CellAddress mode{Category("CT_BankOp"), Id("CL_Bank_SelBankFree"), 0};
    EXPECT_EQ(h.Display(mode).text, "Bank");
    const auto out = h.Pick(mode, Id("Flex0"), 0);
    EXPECT_EQ(Count(evDataReloaded), 1);
    EXPECT_TRUE(out.flags & 0x20);
    EXPECT_TRUE(ImageIs(before));
}

// A bank's count grows into empty rows and shrinks only over rows that
// hold nothing; a refusal is boxed under this program's title.
TEST_F(AdjustBankCellsTest, ABankCountGrowsAndShrinksOnlyOverEmptyRows) {
    const CellAddress count{Category("CT_BankOp"), Id("CL_Mch_Bank"), 0};
    SetBankChannelCount(h.Image(), 0, 2);
    SetBankChannelCount(h.Image(), 1, 1);
    h.Commit(count, "5");
    EXPECT_EQ(GetBankChannelCount(h.Image(), 0), 5);
    EXPECT_EQ(GetBankFirstChannel(h.Image(), 1), 5);

    adj::datCh row(&h.Image());
    row.Load(GetModelClass(), 2);
    row.flagA |= 1;
    row.rxFreq = row.txFreq = 146520000;
    row.Store(GetModelClass(), 2);
    h.boxes.Expect("", plat::IDOK);
    EXPECT_EQ(h.Commit(count, "1").text, "3");
    EXPECT_EQ(GetBankChannelCount(h.Image(), 0), 3);
    ASSERT_EQ(h.boxes.Log().size(), 1u);
    EXPECT_EQ(h.boxes.Log()[0].caption, gGTex->GetTextLine("GI_Sys_AppTitle_ADJ", 0));
}

TEST_F(AdjustBankCellsTest, TypingOnTheBanksNewRowAddsTheChannelAndStoresItsFrequency) {
    SetBankChannelCount(h.Image(), 0, 2);
    SetBankChannelCount(h.Image(), 1, 4);
    h.OpenBank(0);
    h.Events();
    const CellAddress freq{Category("CT_Mch"), Id("CL_Mch_FreqR"), 2};
    EXPECT_EQ(h.Display(freq).text, "");
    EXPECT_EQ(GetBankChannelCount(h.Image(), 0), 2);
    const auto key = h.Key(freq, '1');
    EXPECT_EQ(key.result, cmcCellCapsule::kResultOpenEditor);
    EXPECT_TRUE(key.flags & 4);
    EXPECT_EQ(Count(evInsertChannelRow), 1);
    EXPECT_EQ(GetBankChannelCount(h.Image(), 0), 3);
    EXPECT_EQ(GetBankChannelCount(h.Image(), 1), 4);
    h.Commit(freq, "146.52");
    EXPECT_EQ(Dword(kChannelEntries + kChannelBytes * 2), 146520000u);
    EXPECT_EQ(Dword(kChannelEntries + kChannelBytes * 2 + 4), 146520000u);
    const CellAddress tx{Category("CT_Mch"), Id("CL_Mch_FreqT"), 2};
    h.Commit(tx, "151.52");
    EXPECT_EQ(Dword(kChannelEntries + kChannelBytes * 2 + 4), 151520000u);
    EXPECT_EQ(Dword(kChannelEntries + kChannelBytes * 2), 146520000u);
    h.Display(tx);
    EXPECT_EQ(h.canvas->fontColor, celltest::CellHarness::kInk);
    // The transmit word's top bit greys the frequency.
    h.Image().SetByte(kChannelEntries + kChannelBytes * 2 + 4,
                      0x80 | h.Image().GetByte(kChannelEntries + kChannelBytes * 2 + 4));
    h.Display(tx);
    EXPECT_EQ(h.canvas->fontColor, CellFrame::kGrey);
}

TEST_F(AdjustBankCellsTest, AFullChannelTableTakesNoNewRowAndSaysSoUnderThisProgramsTitle) {
    SetBankChannelCount(h.Image(), 0, 2);
    SetBankChannelCount(h.Image(), 1, 510);
    h.OpenBank(0);
    const cmcEeprom before = h.Image();
    h.boxes.Expect("", plat::IDOK);
    EXPECT_EQ(h.Key({Category("CT_Mch"), Id("CL_Mch_FreqR"), 2}, '1').text, "");
    EXPECT_TRUE(h.boxes.Done());
    EXPECT_EQ(h.boxes.Log()[0].text, gGTex->GetText("GI_AppMess_ChErr_Overflow"));
    EXPECT_EQ(h.boxes.Log()[0].caption, gGTex->GetTextLine("GI_Sys_AppTitle_ADJ", 0));
    EXPECT_TRUE(ImageIs(before));
}

// The receive id of a channel's group is byte 0 of its six-byte entry, the
// transmit id byte 1.
TEST_F(AdjustBankCellsTest, TheGroupReceiveIdTakesTheTransmitIdAlongWhileTheyAreEqual) {
    struct {
        uint8_t rx, tx;
        const char* typed;
        uint8_t wantRx, wantTx;
    } cases[] = {
        {5, 5, "12", 12, 12},
        {5, 7, "12", 12, 7},
        {0, 0, "251", 250, 250},
        {9, 3, "0", 1, 3},
    };
    const int32_t row = 4;
    const int32_t at = kGroupIds + kGroupBytes * row;
    const CellAddress rxId{Category("CT_Mch"), Id("CL_Grp_RxId"), row};
    SetBankChannelCount(h.Image(), 0, 8);
    // Cells of a channel not in use send their input to its frequency.
    adj::datCh channel(&h.Image());
    channel.Load(GetModelClass(), row);
    channel.flagA |= 1;
    channel.rxFreq = channel.txFreq = 146520000;
    channel.Store(GetModelClass(), row);
    h.OpenBank(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        h.Image().SetByte(at, c.rx);
        h.Image().SetByte(at + 1, c.tx);
        h.Events();
        const auto out = h.Commit(rxId, c.typed);
        EXPECT_EQ(h.Image().GetByte(at), c.wantRx);
        EXPECT_EQ(h.Image().GetByte(at + 1), c.wantTx);
        EXPECT_EQ(Count(evRedrawSheet), 1);
        EXPECT_EQ(out.text, std::to_string(c.wantRx));
    }
    h.Image().SetByte(at, 0);
    EXPECT_EQ(h.Display(rxId).text, "");
    const auto opening = h.Key(rxId, '3');
    EXPECT_EQ(opening.result, cmcCellCapsule::kResultOpenEditor);
    // The editor opens on the typed digit.
    EXPECT_EQ(opening.text, "3");
    EXPECT_EQ(h.Image().GetByte(at), 0);
}

TEST_F(AdjustBankCellsTest, TheGroupTransmitIdIsByte1AndShowsAnArrowWhileItEqualsTheReceiveId) {
    const int32_t row = 2;
    const int32_t at = kGroupIds + kGroupBytes * row;
    const CellAddress txId{Category("CT_Mch"), Id("CL_Grp_TxId"), row};
    SetBankChannelCount(h.Image(), 0, 4);
    adj::datCh channel(&h.Image());
    channel.Load(GetModelClass(), row);
    channel.flagA |= 1;
    channel.rxFreq = channel.txFreq = 146520000;
    channel.Store(GetModelClass(), row);
    h.Image().SetByte(at, 7);
    h.Image().SetByte(at + 1, 7);
    h.OpenBank(0);
    EXPECT_EQ(h.Display(txId).text, "<-");
    h.Events();
    EXPECT_EQ(h.Commit(txId, "300").text, "250");
    EXPECT_EQ(h.Image().GetByte(at + 1), 250);
    EXPECT_EQ(h.Image().GetByte(at), 7);
    EXPECT_EQ(Count(evRedrawSheet), 1);
    EXPECT_EQ(h.Commit(txId, "7").text, "<-");
}

// The two-tone code is the low seven bits of option byte 8, the second
// receive code's digits the ten bits that option bytes 10 and 11 begin with.
TEST_F(AdjustBankCellsTest, TheTwoToneCodeAndSecondReceiveDigitsKeepTheirBytesOtherBits) {
    constexpr int32_t kOptions = 82512, kOptionBytes = 22;
    const int32_t row = 1;
    const int32_t at = kOptions + kOptionBytes * row;
    SetBankChannelCount(h.Image(), 0, 3);
    adj::datCh channel(&h.Image());
    channel.Load(GetModelClass(), row);
    channel.flagA |= 1;
    channel.rxFreq = channel.txFreq = 146520000;
    channel.Store(GetModelClass(), row);
    h.Image().SetByte(at + 8, 0x80);
    h.Image().SetByte(at + 10, 0);
    h.Image().SetByte(at + 11, 0);
    h.OpenBank(0);

    h.Pick({Category("CT_Mch"), Id("CL_Mch_2Tone"), row}, Id("Flex0"), 5);
    EXPECT_EQ(h.Image().GetByte(at + 8), 0x85);
    const CellAddress digits{Category("CT_Mch"), Id("CL_Mch_RxCNo2"), row};
    // Digit 1 is the highest of the ten bits.
    h.Key(digits, '1');
    h.Key(digits, '3');
    EXPECT_EQ(h.Image().GetByte(at + 10), 0xA0);
    h.Key(digits, '0');
    EXPECT_EQ(h.Image().GetByte(at + 11), 0x40);
    EXPECT_EQ(h.Image().GetByte(at + 8), 0x85);
}

TEST_F(AdjustBankCellsTest, ABanksSiteShowsItsNumberAndEnterOpensTheRepeaterSettings) {
    const int32_t bankOp = Category("CT_BankOp");
    EXPECT_EQ(h.Display({bankOp, Id("CL_Mch_Rpt"), 7}).text, " 7");
    EXPECT_EQ(h.Display({bankOp, Id("CL_Mch_Rpt"), 127}).text, "127");
    // No bank 128: nothing to show or open.
    EXPECT_EQ(h.Key({bankOp, Id("CL_Mch_Rpt"), 128}, 13).text, "");
    EXPECT_EQ(h.app.Count("OpenRepeaterSettings"), 0);
    h.Key({bankOp, Id("CL_Mch_Rpt"), 7}, 13);
    EXPECT_EQ(h.app.Count("OpenRepeaterSettings"), 1);
}

// Site 0 with two entries ahead of site 1 with eighteen, each entry with its
// own frequencies.
class AdjustRepeaterEntryTest : public AdjustBankCellsTest {
protected:
    AdjustRepeaterEntryTest() {
        SetSiteChannelCount(h.Image(), 0, 2);
        SetSiteChannelCount(h.Image(), 1, 18);
        for (int32_t r = 0; r < 20; ++r) {
            SetDword(kPoolEntries + kEntryBytes * r, 450000000u + 25000u * static_cast<uint32_t>(r));
            SetDword(kPoolEntries + kEntryBytes * r + 4, 455000000u + 25000u * static_cast<uint32_t>(r));
        }
        h.OpenSite(0);
        h.Events();
    }
    CellAddress Rx(int32_t row) { return {Category("CT_Rpt"), Id("CL_Rpt_FreqR"), row}; }
    CellAddress Tx(int32_t row) { return {Category("CT_Rpt"), Id("CL_Rpt_FreqT"), row}; }
    std::vector<std::vector<uint8_t>> Site1() {
        std::vector<std::vector<uint8_t>> entries;
        const int32_t first = GetSiteFirstChannel(h.Image(), 1);
        for (int32_t r = first; r < first + GetSiteChannelCount(h.Image(), 1); ++r)
            entries.push_back(Entry(r));
        return entries;
    }
};

TEST_F(AdjustRepeaterEntryTest, AnEntryTypedAfterSite0sLastShiftsTheWholePoolAndSite1KeepsAll18) {
    const auto site1 = Site1();
    const auto key = h.Key(Rx(2), '1');
    EXPECT_EQ(key.result, cmcCellCapsule::kResultOpenEditor);
    EXPECT_EQ(Count(evInsertPoolRow), 1);
    EXPECT_EQ(GetSiteChannelCount(h.Image(), 0), 3);
    EXPECT_EQ(Site1(), site1);

    h.Commit(Rx(2), "146.52");
    EXPECT_EQ(Dword(kPoolEntries + kEntryBytes * 2), 146520000u);
    // A new entry transmits 5 MHz above.
    EXPECT_EQ(Dword(kPoolEntries + kEntryBytes * 2 + 4), 151520000u);
    EXPECT_EQ(Site1(), site1);
    EXPECT_EQ(GetSiteFirstChannel(h.Image(), 1), 3);
}

TEST_F(AdjustRepeaterEntryTest, TheRowsAfterASitesEntriesTakeNoOtherInput) {
    const cmcEeprom before = h.Image();
    struct {
        const char* what;
        CellAddress at;
        int32_t key;
    } cases[] = {
        {"a letter", Rx(2), 'x'},
        {"a drawing", Rx(2), 0},
        {"the transmit frequency", Tx(2), '4'},
        {"a row past the new one", Rx(4), '4'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(h.Key(c.at, c.key).text, "");
        EXPECT_EQ(Count(evInsertPoolRow), 0);
        EXPECT_TRUE(ImageIs(before));
    }
}

TEST_F(AdjustRepeaterEntryTest, ASiteOfTwentyEntriesTakesNoMoreAndSaysSo) {
    SetSiteChannelCount(h.Image(), 0, 20);
    const cmcEeprom before = h.Image();
    h.boxes.Expect("", plat::IDOK);
    EXPECT_EQ(h.Key(Rx(20), '4').text, "");
    EXPECT_TRUE(h.boxes.Done());
    EXPECT_EQ(h.boxes.Log()[0].text, gGTex->GetText("GI_AppMess_ChErr_Overflow"));
    EXPECT_EQ(h.boxes.Log()[0].caption, gGTex->GetTextLine("GI_Sys_AppTitle_ADJ", 0));
    EXPECT_TRUE(ImageIs(before));
}

TEST_F(AdjustRepeaterEntryTest, TheEntriesOfTheOpenSiteShowAndTakeTheirFrequencies) {
    h.OpenSite(1);
    // Site 1's second entry is pool row 3.
    EXPECT_EQ(h.Display(Rx(1)).text, "450.075000");
    h.Commit(Rx(1), "460");
    EXPECT_EQ(Dword(kPoolEntries + kEntryBytes * 3), 460000000u);
    // An entry in use keeps its transmit frequency.
    EXPECT_EQ(Dword(kPoolEntries + kEntryBytes * 3 + 4), 455075000u);
    // The phone switch is bit 0 of entry byte 8; the others stay.
    h.Image().SetByte(kPoolEntries + kEntryBytes * 3 + 8, 0xC0);
    h.Pick({Category("CT_Rpt"), Id("CL_Rpt_Phone"), 1}, Id("Flex0"), 1);
    EXPECT_EQ(h.Image().GetByte(kPoolEntries + kEntryBytes * 3 + 8), 0xC1);
    EXPECT_EQ(h.Display({Category("CT_Rpt"), Id("CL_Rpt_Phone"), 18}).text, "");
    h.Commit(Tx(1), "465");
    EXPECT_EQ(Dword(kPoolEntries + kEntryBytes * 3 + 4), 465000000u);
    EXPECT_EQ(Dword(kPoolEntries + kEntryBytes * 3), 460000000u);
    EXPECT_EQ(GetSiteChannelCount(h.Image(), 1), 18);
}

// Each switch of an entry is one bit of its byte 8 (site 1's entry 2 is pool row 4).
TEST_F(AdjustRepeaterEntryTest, TheEntrySwitchesTakeTheirOwnBitOfByte8) {
    h.OpenSite(1);
    const struct {
        const char* cell;
        uint8_t bit;
    } cases[] = {{"CL_Rpt_RxDat", 0x80}, {"CL_Rpt_TxDat", 0x40}, {"CL_Rpt_Phone", 0x01}};
    constexpr int32_t kByte8 = kPoolEntries + kEntryBytes * 4 + 8;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        const CellAddress at{Category("CT_Rpt"), Id(c.cell), 2};
        h.Image().SetByte(kByte8, static_cast<uint8_t>(~c.bit));
        EXPECT_EQ(h.Display(at).text, "Off");
        h.Pick(at, Id("Flex0"), 1);
        EXPECT_EQ(h.Image().GetByte(kByte8), 0xFF);
        EXPECT_EQ(h.Display(at).text, "On");
        h.Pick(at, Id("Flex0"), 0);
        EXPECT_EQ(h.Image().GetByte(kByte8), static_cast<uint8_t>(~c.bit));
    }
}

TEST_F(AdjustRepeaterEntryTest, EntriesAreNumberedWithinTheSite) {
    h.OpenSite(1);
    const auto number = [&](int32_t row) {
        return h.Display({Category("CT_Rpt"), Id("CL_Rpt_No"), row}).text;
    };
    EXPECT_EQ(number(0), "  1");
    EXPECT_EQ(number(17), " 18");
}

// A site is named as the bank of its number; a bank's name renames its node.
TEST_F(AdjustRepeaterEntryTest, TheSiteAndBankNamesAreTheBankNameBytes) {
    constexpr int32_t kBankNames = 95542, kNameBytes = 12;
    h.OpenSite(1);
    h.Commit({Category("CT_Rpt"), Id("CL_Rpt_Text"), 0}, "SITE ONE");
    EXPECT_EQ(std::string(h.Image().Data() + kBankNames + kNameBytes,
                          h.Image().Data() + kBankNames + 2 * kNameBytes),
              "SITE ONE    ");
    h.Events();
    h.Commit({Category("CT_BankOp"), Id("CL_Mch_BankText"), 2}, "BANK 3");
    EXPECT_EQ(std::string(h.Image().Data() + kBankNames + 2 * kNameBytes,
                          h.Image().Data() + kBankNames + 3 * kNameBytes),
              "BANK 3      ");
    EXPECT_EQ(Count(evSetBankNodeText), 1);
}

// A bank counts its channels with a receive frequency: a group id alone
// does not make a channel (this program's record counts no groups); index
// 128 counts every bank.
TEST_F(AdjustBankCellsTest, UsedChannelsCountTheRecordsInUse) {
    for (int32_t bank = 0; bank < 128; ++bank)
        SetBankChannelCount(h.Image(), bank, 0);
    SetBankChannelCount(h.Image(), 0, 3);
    SetBankChannelCount(h.Image(), 1, 2);
    constexpr int32_t kGroupBytes = 133966;
    adj::datCh record(&h.Image());
    for (int32_t row = 0; row < 5; ++row) {
        h.Image().SetByte(kGroupBytes + 6 * row, row == 1 ? 5 : 0);
        record.Load(GetModelClass(), row);
        record.flagA = row == 1 ? 0 : 1;
        record.rxFreq = record.txFreq = row == 1 ? 0 : 146520000;
        record.Store(GetModelClass(), row);
    }
    const auto used = [&](int32_t index) {
        return h.Display({Category("CT_BankOp"), Id("CL_Mch_UsedCHs"), index}).text;
    };
    EXPECT_EQ(used(0), "2");
    EXPECT_EQ(used(1), "2");
    EXPECT_EQ(used(128), "4");
}

// The marks pop up as the attribute list: A writes the channel's number,
// the fifth item the bank's flag; a change only recounts the rows.
TEST_F(AdjustBankCellsTest, ChannelMarksGoWhereTheRecordKeepsThemAndOnlyRecount) {
    constexpr int32_t kRefA = 80768, kBankFlags = 93796;
    h.OpenBank(0);
    SetBankChannelCount(h.Image(), 0, 3);
    const CellAddress at{Category("CT_Mch"), Id("CL_Mch_Atr"), 2};
    h.Image().SetByte(kBankFlags, 0);
    adj::datCh record(&h.Image());
    record.Load(GetModelClass(), 2);
    record.flagA |= 1;
    record.rxFreq = record.txFreq = 146520000;
    record.Store(GetModelClass(), 2);
    const auto a = h.Pick(at, Id("Flex0"), 1);
    EXPECT_EQ(h.Image().GetByte(kRefA), 0);
    EXPECT_EQ(h.Image().GetByte(kRefA + 1), 2);
    EXPECT_EQ(a.flags & (CellFrame::kFlagRowCounts | CellFrame::kFlagRebuildAll), CellFrame::kFlagRowCounts);
    h.Pick(at, Id("Flex0"), 5);
    EXPECT_EQ(h.Image().GetByte(kBankFlags) & 0x80, 0x80);
    EXPECT_EQ(h.Display(at).text, "A");
}

// An LTR radio whose packed repeater pool fills the dynamic area: the capacity
// test lets one more entry through, but the repack cannot hold it.
TEST_F(AdjustBankCellsTest, AnEntryTheRepackCannotHoldIsTakenBackAndSaysSo) {
    constexpr int32_t kLtrModel = 1;
    h.Env().ModelType = kLtrModel;
    h.LoadStartupData(kLtrModel);
    SetBankChannelCount(h.Image(), 4, 504);
    SetSiteChannelCount(h.Image(), 1, 3);
    ASSERT_EQ(Static2DynamicInit(h.Image()), 0);
    int32_t more = MaxFittingCount(h.Image(), kCategoryRepeater, 2555, 0);
    for (int32_t site = 2; more > 0; ++site, more -= 255)
        SetSiteChannelCount(h.Image(), site, std::min(more, 255));
    ASSERT_EQ(Static2DynamicInit(h.Image()), 0);
    const cmcEeprom packed = h.Image();
    h.OpenSite(1);
    h.Events();
    h.boxes.Expect("", plat::IDOK);
    EXPECT_EQ(h.Key({Category("CT_Rpt"), Id("CL_Rpt_FreqR"), 3}, '4').text, "");
    EXPECT_TRUE(h.boxes.Done());
    const std::vector<cmcEvent> events = h.Events();
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const cmcEvent& e) { return e.type == evInsertPoolRow; }),
              1);
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const cmcEvent& e) { return e.type == evRemovePoolRow; }),
              1);
    EXPECT_TRUE(ImageIs(packed));
}

} // namespace
} // namespace adjtest
