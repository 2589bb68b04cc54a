// The channel columns the adjustment program takes from the cloning
// program's column table, on its own channel record: a value typed or picked
// on channel 0 of its start-up data lands in the record's bytes (E, the
// 30-byte entry; G, the 22 option bytes) and shows back.
#include "tests/adjust/AdjustCellFixture.h"

#include "adjust/AdjustRecords.h"
#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "tests/support/ParamNames.h"

#include <cstring>
#include <memory>
#include <string>

namespace adjtest {
namespace {

using testsupport::PrintTo;

constexpr int32_t kE = 65408; // channel 0's entry
constexpr int32_t kG = 82512; // channel 0's option bytes
constexpr int32_t kFirstScanBitmap = 80784;

constexpr int32_t kLmr = 0;
constexpr int32_t kPmr = 3;
constexpr int32_t kPmrZ = 4;

// A byte's bits under mask after the input; the bits outside it stay.
struct Bits {
    int32_t address = 0;
    uint8_t mask = 0;
    uint8_t value = 0;
};

struct ColumnCase {
    const char* name;
    const char* cell;
    int32_t model;
    const char* listCell; // a pick of item value from this list cell
    int32_t value;        // without a list cell: the key pressed, unless text is typed
    const char* typed;
    Bits bits;
    Bits more;         // a second byte the field spans; mask 0 none
    const char* shown; // none: the text is not looked at
};

class AdjustChannelColumnsTest : public ::testing::TestWithParam<ColumnCase> {
protected:
    static int32_t Id(const std::string& name) { return adj::AdjustCellVocabulary().CellIndex(name); }

    // Channel 0 programmed with every option byte and the tone and flag
    // bytes of its entry clear, and in no scan list.
    celltest::CellHarness& Prepare(int32_t model) {
        harness = std::make_unique<celltest::CellHarness>(model, TOLVANE_BIN_DIR "/QT4411R.OVL");
        celltest::CellHarness& h = *harness;
        h.LoadStartupData(model);
        h.OpenBank(0);
        SetBankChannelCount(h.Image(), 0, 1);
        uint8_t* bytes = h.Image().Data();
        std::memset(bytes + kG, 0, 22);
        std::memset(bytes + kE + 8, 0, 6);
        for (int32_t list = 0; list < 17; ++list)
            bytes[kFirstScanBitmap + 64 * list] &= 0x7F;
        adj::datCh record(&h.Image());
        record.Load(GetModelClass(), 0);
        record.flagA |= 1;
        record.rxFreq = record.txFreq = 146520000;
        record.Store(GetModelClass(), 0);
        return h;
    }

    ScopedCellEngine engine{adj::AdjustCellEngine()};
    std::unique_ptr<celltest::CellHarness> harness;
};

void ExpectBits(const cmcEeprom& before, const cmcEeprom& after, const Bits& b) {
    if (!b.mask) return;
    const uint8_t was = before.Data()[b.address];
    const uint8_t now = after.Data()[b.address];
    EXPECT_EQ(now & b.mask, b.value) << "byte " << b.address;
    EXPECT_EQ(now & ~b.mask, was & ~b.mask) << "byte " << b.address;
}

TEST_P(AdjustChannelColumnsTest, TheValueLandsInItsBitsAndShowsBack) {
    const ColumnCase& c = GetParam();
    celltest::CellHarness& h = Prepare(c.model);
    const CellAddress at{adj::AdjustCellVocabulary().CategoryIndex("CT_Mch"), Id(c.cell), 0};
    const cmcEeprom before = h.Image();
    if (c.listCell)
        h.Pick(at, Id(c.listCell), c.value);
    else if (c.typed)
        h.Commit(at, c.typed);
    else
        h.Key(at, c.value);
    ExpectBits(before, h.Image(), c.bits);
    ExpectBits(before, h.Image(), c.more);
    if (c.shown) {
        EXPECT_EQ(h.Display(at).text, c.shown);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Columns, AdjustChannelColumnsTest,
    ::testing::Values(
        ColumnCase{"Inhibit", "CL_Mch_Inh", kLmr, "Flex0", 1, nullptr, {kE + 0, 0x80, 0x80}, {}, "Inhibit"},
        ColumnCase{"TxInhibit", "CL_Mch_TxInh", kLmr, "Flex0", 1, nullptr, {kE + 4, 0x80, 0x80}, {}, "Inhibit"},
        ColumnCase{"Narrow", "CL_Mch_Nar", kLmr, "Flex0", 1, nullptr, {kE + 12, 0x40, 0x40}, {}, "Narrow"},
        ColumnCase{"NarrowPmr", "CL_Mch_Nar_Pmr", kPmr, "Flex0", 1, nullptr, {kE + 12, 0x40, 0x40}, {}, "Narrow"},
        ColumnCase{"Compander", "CL_Mch_Compander", kLmr, "Flex0", 1, nullptr, {kG + 3, 0x10, 0x10}, {}, "On"},
        ColumnCase{"PowerSave", "CL_Mch_PwrSave", kLmr, "Flex0", 1, nullptr, {kG + 0, 0x80, 0x80}, {}, "On"},
        ColumnCase{"Tot", "CL_Mch_Tot", kLmr, "Flex0", 1, nullptr, {kG + 0, 0x10, 0x10}, {}, "On"},
        ColumnCase{"RfPower", "CL_Mch_RfPo", kLmr, "Flex0", 2, nullptr, {kG + 0, 0x03, 0x02}, {}, "Mid"},
        // Lockout 4 is 0 in G0 bits 0-1 and 1 in G17 bits 0-2.
        ColumnCase{"LockoutSplits", "CL_Mch_Lockout_Pmr", kPmr, "Flex0", 4, nullptr, {kG + 0, 0x03, 0x00},
                   {kG + 17, 0x07, 0x01}, "Code"},
        ColumnCase{"AutoChScan", "CL_Mch_AutoChScan", kLmr, "Flex0", 1, nullptr, {kG + 3, 0x01, 0x01}, {}, "On"},
        ColumnCase{"ScanIncrement", "CL_Mch_Scan_Inc", kLmr, "Flex0", 1, nullptr, {kG + 1, 0x02, 0x02}, {}, "On"},
        // Scan list 3 of 17 is the first bit of the third bitmap.
        ColumnCase{"ScanListThree", "CL_Mch_Scan", kLmr, nullptr, '3', nullptr, {kFirstScanBitmap + 128, 0x80, 0x80},
                   {}, nullptr},
        ColumnCase{"Form", "CL_Mch_Form", kPmrZ, "Flex0", 2, nullptr, {kG + 6, 0x0F, 0x02}, {}, "Short"},
        ColumnCase{"RepeaterCode", "CL_Mch_Rpt_C", kPmrZ, "Flex1", 5, nullptr, {kG + 7, 0x7F, 5}, {}, "5"},
        ColumnCase{"RepeaterLong", "CL_Mch_Rpt_L", kPmrZ, "Flex0", 1, nullptr, {kG + 7, 0x80, 0x80}, {}, "On"},
        ColumnCase{"StationCode", "CL_Mch_Stn_C", kPmrZ, "Flex1", 7, nullptr, {kG + 8, 0x7F, 7}, {}, "7"},
        ColumnCase{"StationLong", "CL_Mch_Stn_L", kPmrZ, "Flex0", 1, nullptr, {kG + 8, 0x80, 0x80}, {}, "On"},
        ColumnCase{"IdCode", "CL_Mch_Id_C", kPmrZ, "Flex1", 9, nullptr, {kG + 9, 0x7F, 9}, {}, "9"},
        ColumnCase{"IdLong", "CL_Mch_Id_L", kPmrZ, "Flex0", 1, nullptr, {kG + 9, 0x80, 0x80}, {}, "On"},
        ColumnCase{"Position", "CL_Mch_Pos", kPmrZ, "Flex0", 3, nullptr, {kG + 6, 0xC0, 0xC0}, {}, "4th"},
        // The long form's code set is all of G10: digit 2 of 1..8 is its bit 6.
        ColumnCase{"ReceiveCodeSet", "CL_Mch_RxCNo", kPmrZ, nullptr, '2', nullptr, {kG + 10, 0xFF, 0x40}, {}, nullptr},
        // The long form keeps the auto reset's low bit in G2.1 and its high bit in G2.0.
        ColumnCase{"AutoResetZuro", "CL_Mch_AutoReset_Zuro", kPmrZ, "Flex0", 1, nullptr, {kG + 2, 0x03, 0x02}, {},
                   "Timer A"},
        ColumnCase{"LogZuro", "CL_Mch_Log_Zuro", kPmrZ, "Flex0", 3, nullptr, {kG + 1, 0xF0, 0x30}, {}, "Code"},
        ColumnCase{"TxInhibitZuro", "CL_Mch_TxInh_Zuro", kPmrZ, "Flex0", 1, nullptr, {kE + 4, 0x80, 0x80}, {},
                   "Inhibit"},
        ColumnCase{"TotZuro", "CL_Mch_Tot_Zuro", kPmrZ, "Flex0", 1, nullptr, {kG + 0, 0x10, 0x10}, {}, "On"},
        ColumnCase{"PowerSaveZuro", "CL_Mch_PwrSave_Zuro", kPmrZ, "Flex0", 1, nullptr, {kG + 0, 0x80, 0x80}, {},
                   "On"},
        // Monitor 6 is W bits 7 and 8: G1.3 and G2.4.
        ColumnCase{"MonitorZuro", "CL_Mch_Moni_Zuro", kPmrZ, "FlexMark", 6, nullptr, {kG + 1, 0x08, 0x08},
                   {kG + 2, 0x30, 0x10}, "Auto"},
        ColumnCase{"SelectZuro", "CL_Mch_Sel_Zuro", kPmrZ, "FlexMark", 1, nullptr, {kG + 2, 0xC0, 0x40}, {},
                   nullptr},
        // A name sets its not-blank bit (the grid paints it: no text).
        ColumnCase{"Name", "CL_Mch_Text", kLmr, nullptr, 0, "ALPHA", {kE + 14, 0xFF, 'A'}, {kE + 12, 0x20, 0x20},
                   nullptr},
        // CTCSS item 6 in tone form: in use, not coded, the index in the second byte.
        ColumnCase{"ReceiveTone", "CL_Mch_CTone_R", kLmr, "Flex0", 6, nullptr, {kE + 9, 0xFF, 6},
                   {kE + 8, 0xC0, 0x00}, "79.7"},
        ColumnCase{"TransmitTone", "CL_Mch_CTone_T", kLmr, "Flex0", 7, nullptr, {kE + 11, 0xFF, 7},
                   {kE + 10, 0xC0, 0x00}, "82.5"}),
    testsupport::CaseName());
// clang-format on

} // namespace
} // namespace adjtest
