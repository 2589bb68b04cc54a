// The settings cells on the adjustment program's own row record, run through
// its engine over its start-up data: the frame loads the row with this
// program's kinds (the NAC table at 24, the repeater pool at 25), and each
// cell reads and writes exactly its record's bytes.
#include "tests/adjust/AdjustCellFixture.h"

#include "adjust/AdjustRecords.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "tests/support/ParamNames.h"

#include <algorithm>
#include <vector>

namespace adjtest {
namespace {

using testsupport::PrintTo;

constexpr int32_t kNacTable = 105776; // two 16-bit words a row
constexpr int32_t kNacSelect = 93907; // a bit a row
constexpr int32_t kPool = 108366;     // 10 bytes an entry
constexpr int32_t kGroupRecords = 107342;
constexpr int32_t kScanLists = 97238; // 34 bytes a list
constexpr int32_t kChannels = 65408;  // 30 bytes a channel
constexpr int32_t kGroupBytes = 133966;

class AdjustRecordCellsTest : public AdjustCellFixture {
protected:
    AdjustRecordCellsTest() { h.LoadStartupData(0); }

    std::vector<uint8_t> Snapshot() { return {h.Image().Data(), h.Image().Data() + h.Image().GetSize()}; }

    // The addresses whose bytes differ from before.
    std::vector<int32_t> Changed(const std::vector<uint8_t>& before) {
        std::vector<int32_t> out;
        for (size_t i = 0; i < before.size(); ++i)
            if (before[i] != h.Image().Data()[i]) out.push_back(static_cast<int32_t>(i));
        return out;
    }

    void SetWord(int32_t address, uint16_t v) { h.Image().SetWord(address, v); }
    void SetDword(int32_t address, uint32_t v) {
        SetWord(address, static_cast<uint16_t>(v >> 16));
        SetWord(address + 2, static_cast<uint16_t>(v));
    }

    // A programmed channel 0 in bank 0.
    void ProgramChannel() {
        h.OpenBank(0);
        SetBankChannelCount(h.Image(), 0, 1);
        adj::datCh record(&h.Image());
        record.Load(GetModelClass(), 0);
        record.flagA |= 1; // in use
        record.rxFreq = record.txFreq = 146520000;
        record.Store(GetModelClass(), 0);
    }
};

// ---- the NAC table (kind 24) ----

struct NacCase {
    const char* name;
    uint16_t rx, tx;  // the row's words before
    const char* cell; // typed into
    const char* typed;
    uint16_t rxAfter, txAfter;
};

class AdjustNacRowTest : public AdjustRecordCellsTest, public ::testing::WithParamInterface<NacCase> {};

TEST_P(AdjustNacRowTest, TypedDigitsLandInTheRowsWords) {
    const NacCase& c = GetParam();
    constexpr int32_t row = 3;
    SetWord(kNacTable + 4 * row, c.rx);
    SetWord(kNacTable + 4 * row + 2, c.tx);
    const auto before = Snapshot();
    h.Commit({Category("CT_DIG_NacCh"), Id(c.cell), row}, c.typed);
    EXPECT_EQ(h.Image().GetWord(kNacTable + 4 * row), c.rxAfter);
    EXPECT_EQ(h.Image().GetWord(kNacTable + 4 * row + 2), c.txAfter);
    for (int32_t at : Changed(before))
        EXPECT_TRUE(at >= kNacTable + 4 * row && at < kNacTable + 4 * row + 4) << at;
}

INSTANTIATE_TEST_SUITE_P(
    Cells, AdjustNacRowTest,
    ::testing::Values(
        // Three hexadecimal digits, letters too: beyond the cloning program's 0x3F.
        NacCase{"ReceiveAlone", 0x123, 0xABC, "CL_Digi_NacCh_RxNac", "2F5", 0x2F5, 0xABC},
        // The transmit NAC follows while the two are equal.
        NacCase{"TransmitFollows", 0x293, 0x293, "CL_Digi_NacCh_RxNac", "F7E", 0xF7E, 0xF7E},
        NacCase{"Transmit", 0x293, 0x293, "CL_Digi_NacCh_TxNac", "4A0", 0x293, 0x4A0}),
    testsupport::CaseName());

TEST_F(AdjustRecordCellsTest, ANacRowShowsItsOwnWords) {
    SetWord(kNacTable + 4 * 7, 0x0A5);
    SetWord(kNacTable + 4 * 7 + 2, 0xF00);
    const int32_t nac = Category("CT_DIG_NacCh");
    EXPECT_EQ(h.Display({nac, Id("CL_Digi_NacCh_RxNac"), 7}).text, "0A5");
    EXPECT_EQ(h.Display({nac, Id("CL_Digi_NacCh_TxNac"), 7}).text, "F00");
    SetWord(kNacTable + 4 * 7 + 2, 0x0A5);
    EXPECT_EQ(h.Display({nac, Id("CL_Digi_NacCh_TxNac"), 7}).text, "<-");
}

TEST_F(AdjustRecordCellsTest, TheNacSelectionIsTheRowsBitAlone) {
    const CellAddress at{Category("CT_DIG_NacCh"), Id("CL_Digi_NacCh_Sel"), 10};
    for (int32_t pick : {1, 0}) {
        const auto before = Snapshot();
        h.Pick(at, Id("Flex0"), pick);
        adj::datCh record(&h.Image());
        record.Load(24, 10);
        EXPECT_EQ(record.flagD & 1, pick);
        const auto changed = Changed(before);
        ASSERT_LE(changed.size(), 1u);
        if (!changed.empty()) {
            EXPECT_EQ(changed[0], kNacSelect + 10 / 8);
            EXPECT_EQ(std::popcount(static_cast<unsigned>(before[changed[0]] ^ h.Image().Data()[changed[0]])),
                      1);
        }
    }
}

// ---- the repeater pool (kind 25) ----

class AdjustPoolRowTest : public AdjustRecordCellsTest {
protected:
    AdjustPoolRowTest() {
        // Site 2 holds three entries from pool row 5 on (sites 0 and 1 hold 2 and 3).
        SetSiteChannelCount(h.Image(), 0, 2);
        SetSiteChannelCount(h.Image(), 1, 3);
        SetSiteChannelCount(h.Image(), 2, 3);
        h.OpenSite(2);
        for (int32_t n = 0; n < 8; ++n)
            SetDword(kPool + 10 * n, 146000000u + static_cast<uint32_t>(n));
    }
    static std::string OnOff(int32_t v) { return v ? "On" : "Off"; }
    const CellAddress at{Category("CT_Rpt"), Id("CL_Mch_AreaBit"), 1};
};

TEST_F(AdjustPoolRowTest, EveryRowOfASiteShowsTheSitesBit) {
    ASSERT_EQ(GetSiteFirstChannel(h.Image(), 2), 5);
    h.Image().SetByte(kGroupRecords + 8 * 2, 0x80);
    for (int32_t row : {0, 1, 2})
        EXPECT_EQ(h.Display({at.category, at.cellId, row}).text, OnOff(1)) << row;
    h.Image().SetByte(kGroupRecords + 8 * 2, 0x7F);
    EXPECT_EQ(h.Display(at).text, OnOff(0));
}

TEST_F(AdjustPoolRowTest, TheRepeaterColumnNamesTheSitesBitOnEveryEntry) {
    // An empty entry takes input in its area column, and shows the bit too.
    SetDword(kPool + 10 * 7, 0);
    const int32_t rpt = Category("CT_Rpt");
    for (uint8_t site : {0x80, 0x00})
        for (int32_t row : {0, 2}) {
            h.Image().SetByte(kGroupRecords + 8 * 2, site);
            const auto out = h.Display({rpt, Id("CL_Rpt_AreaBit"), row});
            EXPECT_EQ(out.text, OnOff(site != 0)) << row;
            EXPECT_EQ(out.request.jumpCell, Id("CL_Rpt_AreaBit")) << row;
        }
}

TEST_F(AdjustPoolRowTest, APickSetsBit7OfTheSitesGroupByteAlone) {
    h.Image().SetByte(kGroupRecords + 8 * 2, 0x15);
    const auto before = Snapshot();
    h.Pick(at, Id("Flex0"), 1);
    EXPECT_EQ(Changed(before), std::vector<int32_t>{kGroupRecords + 8 * 2});
    EXPECT_EQ(h.Image().GetByte(kGroupRecords + 8 * 2), 0x95);
    h.Pick(at, Id("Flex0"), 0);
    EXPECT_EQ(h.Image().GetByte(kGroupRecords + 8 * 2), 0x15);
}

TEST_F(AdjustPoolRowTest, AnEmptyEntryTakesNoInputThere) {
    // The frame asks this program's pool record whether the entry is programmed.
    SetDword(kPool + 10 * 6, 0);
    const auto before = Snapshot();
    const auto out = h.Pick(at, Id("Flex0"), 1);
    EXPECT_EQ(out.request.jumpCell, Id("CL_Rpt_FreqR"));
    EXPECT_TRUE(Changed(before).empty());
}

// ---- scan lists (kind 10) ----

struct DisplayTextCase {
    const char* name;
    uint8_t before;    // byte 25 of the list
    const char* shown; // the list's line it shows
    int32_t pick;
    uint8_t after;
};

class AdjustScanTextTest : public AdjustRecordCellsTest,
                           public ::testing::WithParamInterface<DisplayTextCase> {};

TEST_P(AdjustScanTextTest, TheTwoBitsOfByte25) {
    const DisplayTextCase& c = GetParam();
    constexpr int32_t list = 4;
    const int32_t byte25 = kScanLists + 34 * list + 25;
    h.Image().SetByte(byte25, c.before);
    const CellAddress at{Category("CT_Scan"), Id("CL_ScanList_DispText"), list};
    EXPECT_EQ(h.Display(at).text, c.shown);
    const auto before = Snapshot();
    h.Pick(at, Id("Flex0"), c.pick);
    EXPECT_EQ(h.Image().GetByte(byte25), c.after);
    for (int32_t address : Changed(before))
        EXPECT_EQ(address, byte25);
}

INSTANTIATE_TEST_SUITE_P(Cells, AdjustScanTextTest,
                         ::testing::Values(
                             // Bit 7 is the low bit of the choice, bit 6 the high one; the rest stays.
                             DisplayTextCase{"None", 0x00, "Off", 2, 0x40},
                             DisplayTextCase{"Low", 0x80, "List Text", 3, 0xC0},
                             DisplayTextCase{"High", 0x5A, "Channel Text", 1, 0x9A},
                             DisplayTextCase{"Both", 0xFF, "List+Channel", 0, 0x3F}),
                         testsupport::CaseName());

TEST_F(AdjustRecordCellsTest, AScanListsPowerSaveIsBit4OfByte24Alone) {
    const int32_t byte24 = kScanLists + 34 * 9 + 24;
    h.Image().SetByte(byte24, 0xEF);
    const CellAddress at{Category("CT_Scan"), Id("CL_ScanList_PwrSave"), 9};
    EXPECT_EQ(h.Display(at).text, "Off");
    const auto before = Snapshot();
    h.Pick(at, Id("Flex0"), 1);
    EXPECT_EQ(Changed(before), std::vector<int32_t>{byte24});
    EXPECT_EQ(h.Image().GetByte(byte24), 0xFF);
    EXPECT_EQ(h.Display(at).text, "On");
}

TEST_F(AdjustRecordCellsTest, PowerOnScanIsBit7Of93823Alone) {
    const CellAddress at{0, Id("CL_ScanComm_PwrOnScan"), 0};
    h.Image().SetByte(93823, 0x7F);
    h.Image().SetByte(93918, 0x00);
    EXPECT_EQ(h.Display(at).text, "OFF");
    const auto before = Snapshot();
    h.Pick(at, Id("Flex0"), 1);
    EXPECT_EQ(Changed(before), std::vector<int32_t>{93823});
    EXPECT_EQ(h.Image().GetByte(93823), 0xFF);
    EXPECT_EQ(h.Display(at).text, "ON");
}

// ---- channel rows ----

constexpr int32_t kP25Model = 2;

TEST_F(AdjustRecordCellsTest, AChannelsNacsAreItsEntryWords26And28) {
    h.Env().ModelType = kP25Model;
    ProgramChannel();
    SetWord(kChannels + 26, 0x123);
    SetWord(kChannels + 28, 0x456);
    const int32_t ch = Category("CT_Mch");
    EXPECT_EQ(h.Display({ch, Id("CL_Mch_RxNac"), 0}).text, "123");
    EXPECT_EQ(h.Display({ch, Id("CL_Mch_TxNac"), 0}).text, "456");
    const auto before = Snapshot();
    h.Commit({ch, Id("CL_Mch_TxNac"), 0}, "FED");
    EXPECT_EQ(h.Image().GetWord(kChannels + 28), 0xFED);
    EXPECT_EQ(Changed(before), (std::vector<int32_t>{kChannels + 28, kChannels + 29}));
}

TEST_F(AdjustRecordCellsTest, AChannelsUnitIdIsSixHexDigitsOfItsOptionBytes12To15) {
    h.Env().ModelType = kP25Model;
    ProgramChannel();
    constexpr int32_t kUnitId = 82512 + 12;
    SetDword(kUnitId, 0x00ABCDEF);
    const CellAddress at{Category("CT_Mch"), Id("CL_Mch_Unit_Hex"), 0};
    EXPECT_EQ(h.Display(at).text, "ABCDEF");
    const auto before = Snapshot();
    h.Commit(at, "F0012C");
    EXPECT_EQ(h.Image().GetWord(kUnitId), 0x00F0);
    EXPECT_EQ(h.Image().GetWord(kUnitId + 2), 0x012C);
    for (int32_t address : Changed(before))
        EXPECT_TRUE(address > kUnitId && address < kUnitId + 4) << address;
}

// The one channel sheet of every model carries the P25 columns: on a model
// without P25 they show nothing and take nothing.
TEST_F(AdjustRecordCellsTest, AChannelsP25ValuesAreNeitherShownNorTakenWithoutP25) {
    ProgramChannel();
    SetWord(kChannels + 26, 0x123);
    SetDword(82512 + 12, 0x00ABCDEF);
    const int32_t ch = Category("CT_Mch");
    for (const char* cell : {"CL_Mch_RxNac", "CL_Mch_TxNac", "CL_Mch_Unit_Hex"}) {
        SCOPED_TRACE(cell);
        const CellAddress at{ch, Id(cell), 0};
        EXPECT_EQ(h.Display(at).text, "");
        const auto before = Snapshot();
        h.Commit(at, "FED");
        EXPECT_EQ(Changed(before), std::vector<int32_t>{});
    }
}

TEST_F(AdjustRecordCellsTest, TheHomeRepeaterIsByte2OfTheChannelsGroupBytes) {
    ProgramChannel();
    const CellAddress at{Category("CT_Mch"), Id("CL_Grp_HomeRptCh"), 0};
    h.Image().SetByte(kGroupBytes + 2, 4);
    EXPECT_EQ(h.Display(at).text, "4");
    h.Events();
    EXPECT_TRUE(h.Events().empty());
    const auto before = Snapshot();
    h.Commit(at, "17");
    EXPECT_EQ(Changed(before), std::vector<int32_t>{kGroupBytes + 2});
    EXPECT_EQ(h.Image().GetByte(kGroupBytes + 2), 17);
    const auto events = h.Events();
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const cmcEvent& e) { return e.type == evRedrawSheet; }),
              1);
}

} // namespace
} // namespace adjtest
