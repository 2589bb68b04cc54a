// The columns of the channel sheets over each model's start-up data: what the
// image bytes show, what typing, stepping and picking store, the greying,
// the PMR-Z gates and marks, and the new row of a bank.
#include "cells/cloning/ChannelCells.h"
#include "CellHarness.h"
#include "cells/CellFrame.h"
#include "cells/ConvKeys.h"
#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "image/DynamicCapacity.h"
#include "image/ImagePacking.h"
#include "image/RecordLayout.h"
#include "image/datCh.h"
#include "tests/support/ParamNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testsupport::PrintTo;

using celltest::CellHarness;
using celltest::Outcome;

constexpr ColorValue kGrey = 0xC0C0C0;
constexpr int32_t kRow = 1; // a programmed row of bank 0

int32_t Freq(int32_t row) {
    return 150000000 + 12500 * row;
}

// A model's start-up data as the program holds it: bank 0 with rows 0..2,
// bank 1 with rows 3..4, all five programmed; the sheet shows bank 0.
struct Channels {
    explicit Channels(int32_t model) : h(model), kind(ModelClassOf(model)) {
        h.LoadStartupData(model);
        SetBankChannelCount(h.Image(), 0, 3);
        SetBankChannelCount(h.Image(), 1, 2);
        datCh ch(&h.Image());
        for (int32_t row = 0; row < 5; ++row) {
            ch.Load(kind, row);
            ch.rxFreq = ch.txFreq = Freq(row);
            ch.Store(kind, row);
        }
        EXPECT_EQ(Static2DynamicInit(h.Image()), 0);
        h.OpenBank(0);
    }

    static int32_t S(int32_t i, int32_t row = kRow) { return layout::kChannelS + 30 * row + i; }
    static int32_t X(int32_t i, int32_t row = kRow) { return layout::kChannelX + 22 * row + i; }

    uint8_t Byte(int32_t at) { return h.Image().GetByte(at); }
    void SetBits(int32_t at, uint8_t mask, uint8_t bits) {
        h.Image().SetByte(at, static_cast<uint8_t>((Byte(at) & ~mask) | (bits & mask)));
    }
    datCh Row(int32_t row = kRow) {
        datCh ch(&h.Image());
        ch.Load(kind, row);
        return ch;
    }
    // The MSK signalling (X[3] bit 3) and the no-repeater choice (bit 2) of the row.
    void Signalling(bool on, bool noRepeater = false) {
        SetBits(X(3), 0x0C, static_cast<uint8_t>((on ? 0x08 : 0) | (noRepeater ? 0x04 : 0)));
    }
    void DigitalMode(int32_t mode) { SetBits(S(12), 0x03, static_cast<uint8_t>(mode)); }

    Outcome Show(int32_t cell, int32_t row = kRow, int32_t category = 2) {
        return h.Display({category, cell, row});
    }
    bool Grey(int32_t cell, int32_t row = kRow) {
        Show(cell, row);
        return h.canvas->fontColor == kGrey;
    }

    CellHarness h;
    const int32_t kind;
};

// ---- one byte of the row through one column ----

enum class Act { StepUp, StepDown, Pick, PickMark, Commit, Key };

struct ByteCase {
    const char* name;
    int32_t model;
    int32_t cell;
    bool x; // X record, else S
    int32_t at;
    uint8_t mask;
    uint8_t before; // the bits under the mask
    const char* shown;
    Act act;
    int32_t arg; // picked value or key
    const char* typed;
    uint8_t after;
    const char* shownAfter;
};

class ByteColumn : public ::testing::TestWithParam<ByteCase> {};

TEST_P(ByteColumn, ShowsTheBitsAndStoresTheInput) {
    const ByteCase& c = GetParam();
    Channels ch(c.model);
    const int32_t at = c.x ? Channels::X(c.at) : Channels::S(c.at);
    ch.SetBits(at, c.mask, c.before);
    const CellAddress cell{2, c.cell, kRow};
    EXPECT_EQ(ch.h.Display(cell).text, c.shown);
    switch (c.act) {
    case Act::StepUp:
    case Act::StepDown:
        ch.h.Step(cell, c.act == Act::StepUp);
        break;
    case Act::Pick:
        ch.h.Pick(cell, listcell::Flex0, c.arg);
        break;
    case Act::PickMark:
        ch.h.Pick(cell, listcell::FlexMark, c.arg);
        break;
    case Act::Commit:
        ch.h.Commit(cell, c.typed);
        break;
    case Act::Key:
        ch.h.Key(cell, c.arg);
        break;
    }
    EXPECT_EQ(ch.Byte(at) & c.mask, c.after);
    EXPECT_EQ(ch.h.Display(cell).text, c.shownAfter);
    EXPECT_EQ(ch.Row().rxFreq, Freq(kRow)) << "the rest of the row stays";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Columns, ByteColumn, ::testing::Values(
    ByteCase{"ChInh", 0, 126, false, 0, 0x80, 0, "Off", Act::Pick, 1, "", 0x80, "Inhibit"},
    ByteCase{"TxInh", 0, 129, false, 4, 0x80, 0x80, "Inhibit", Act::StepUp, 0, "", 0, "Off"},
    ByteCase{"TxInhZuro", 4, 174, false, 4, 0x80, 0, "Off", Act::StepDown, 0, "", 0x80, "Inhibit"},
    ByteCase{"Nar", 0, 130, false, 12, 0x40, 0x40, "Narrow", Act::StepUp, 0, "", 0, "Wide"},
    ByteCase{"NarMobile", 5, 130, false, 12, 0x40, 0, "Wide", Act::StepUp, 0, "", 0x40, "Narrow"},
    ByteCase{"NarPmr", 3, 152, false, 12, 0x40, 0, "Wide", Act::Pick, 1, "", 0x40, "Narrow"},
    ByteCase{"Compander", 0, 134, true, 3, 0x10, 0, "Off", Act::StepUp, 0, "", 0x10, "On"},
    ByteCase{"PwrSave", 1, 135, true, 0, 0x80, 0x80, "On", Act::StepUp, 0, "", 0, "Off"},
    ByteCase{"Tot", 2, 136, true, 0, 0x10, 0, "Off", Act::Pick, 1, "", 0x10, "On"},
    ByteCase{"RfPoWraps", 0, 137, true, 0, 0x03, 0x03, "High", Act::StepUp, 0, "", 0, "Low1"},
    ByteCase{"LockoutLmr", 0, 138, true, 0, 0x0C, 0x0C, "Tone", Act::StepUp, 0, "", 0, "Off"},
    ByteCase{"LockoutP25", 2, 138, true, 17, 0x07, 0x01, "NAC", Act::Pick, 2, "", 0, "Repeater"},
    ByteCase{"LockoutPmrHighBits", 3, 153, true, 17, 0x07, 0x01, "Code", Act::StepDown, 0, "", 0, "Tone"},
    ByteCase{"LockoutLmrLacksTheCode", 0, 138, true, 17, 0x07, 0x01, "error", Act::Pick, 1, "", 0, "Busy"},
    ByteCase{"AutoChScan", 0, 140, true, 3, 0x01, 0, "Off", Act::StepUp, 0, "", 0x01, "On"},
    ByteCase{"AutoResetLmr", 0, 141, true, 2, 0x02, 0, "Off", Act::StepUp, 0, "", 0x02, "On"},
    ByteCase{"AutoResetLtrKeepsBit0", 1, 141, true, 2, 0x03, 0x01, "Off", Act::StepUp, 0, "", 0x03, "On"},
    ByteCase{"AutoResetPmr", 3, 154, true, 2, 0x03, 0x01, "Timer B", Act::StepUp, 0, "", 0x03, "Timer A+B"},
    ByteCase{"AutoResetZuroMobile", 9, 172, true, 2, 0x03, 0x02, "Timer A", Act::Pick, 2, "", 0x01, "Timer B"},
    ByteCase{"TwoToneTyped", 0, 142, true, 8, 0x7F, 3, "3", Act::Commit, 0, "7", 7, "7"},
    ByteCase{"TwoToneOff", 2, 142, true, 8, 0x7F, 3, "3", Act::Commit, 0, "off", 0, "Off"},
    ByteCase{"LogLmr", 0, 143, true, 1, 0xF0, 0x20, "Or", Act::Pick, 1, "", 0x10, "And"},
    ByteCase{"LogPmr", 8, 155, true, 1, 0xF0, 0x30, "Code", Act::StepUp, 0, "", 0, "Off"},
    ByteCase{"ScanInc", 0, 144, true, 1, 0x02, 0, "Off", Act::StepUp, 0, "", 0x02, "On"},
    ByteCase{"ScramOn", 0, 147, true, 3, 0x60, 0x20, "On", Act::StepDown, 0, "", 0, "Off"},
    ByteCase{"SqlTight", 6, 150, true, 1, 0x04, 0, "Off", Act::StepUp, 0, "", 0x04, "On"},
    ByteCase{"RxCodeSetLmr", 0, 151, true, 10, 0xC0, 0, "__________\n", Act::Key, '2', "", 0x40, "_2________\n"},
    ByteCase{"RxCodeSetLtrDigit10", 1, 191, true, 11, 0x40, 0, "__________\n", Act::Key, '0', "", 0x40,
             "_________0\n"},
    ByteCase{"Moni", 4, 156, true, 2, 0x30, 0, "Off", Act::PickMark, 6, "", 0x10, "Auto"},
    ByteCase{"Sel", 3, 157, true, 2, 0xC0, 0x40, "Individual", Act::StepUp, 0, "", 0x80, "Group"},
    ByteCase{"Call", 4, 180, true, 2, 0x08, 0, "Off", Act::StepUp, 0, "", 0x08, "On"},
    ByteCase{"Ptt", 4, 159, true, 2, 0x04, 0x04, "On", Act::PickMark, 0, "", 0, "Off"},
    ByteCase{"ChMute", 3, 160, true, 1, 0x01, 0, "Off", Act::StepUp, 0, "", 0x01, "On"},
    ByteCase{"FormPmr", 3, 161, true, 6, 0x0F, 0, "Standard", Act::Pick, 2, "", 0x02, "Short"},
    ByteCase{"RptCodePmr", 3, 162, true, 7, 0x7F, 5, "5", Act::Commit, 0, "12", 12, "12"},
    ByteCase{"RptLongTone", 8, 163, true, 7, 0x80, 0, "Off", Act::StepUp, 0, "", 0x80, "On"},
    ByteCase{"StationCode", 3, 164, true, 8, 0x7F, 1, "1", Act::Commit, 0, "32", 32, "32"},
    ByteCase{"StationLongTone", 3, 165, true, 8, 0x80, 0x80, "On", Act::StepUp, 0, "", 0, "Off"},
    ByteCase{"IdCode", 3, 166, true, 9, 0x7F, 2, "2", Act::Commit, 0, "31.6", 32, "32"},
    ByteCase{"IdLongTone", 3, 167, true, 9, 0x80, 0, "Off", Act::Pick, 1, "", 0x80, "On"},
    ByteCase{"Pos", 3, 168, true, 6, 0xC0, 0x40, "2nd", Act::StepUp, 0, "", 0x80, "3rd"},
    ByteCase{"RxCodeSetPmr", 3, 169, true, 10, 0xFF, 0, "________\n", Act::Key, '2', "", 0x40, "_2______\n"},
    ByteCase{"DtmfDecode", 1, 171, true, 18, 0x20, 0, "Off", Act::StepUp, 0, "", 0x20, "On"},
    ByteCase{"MskSignal", 4, 185, true, 3, 0x08, 0, "Off", Act::StepUp, 0, "", 0x08, "MSK"},
    ByteCase{"MskSignalMobile", 9, 185, true, 3, 0x08, 0x08, "MSK", Act::Pick, 0, "", 0, "Off"},
    ByteCase{"SendStatus", 4, 187, true, 3, 0x02, 0, "Off", Act::PickMark, 1, "", 0x02, "On"},
    ByteCase{"DigitalMode", 2, 193, false, 12, 0x03, 0, "Analog", Act::Pick, 3, "", 0x03, "Digital"},
    ByteCase{"UnitHex", 2, 196, true, 15, 0xFF, 0, "0000", Act::Commit, 0, "2b", 0x2B, "002B"},
    ByteCase{"UnitDec", 7, 197, true, 15, 0xFF, 0x10, "16", Act::Commit, 0, "255", 0xFF, "255"},
    ByteCase{"TalkGroupList", 2, 198, true, 16, 0xFF, 0, "Off", Act::Commit, 0, "12", 12, "12"},
    ByteCase{"FastMute", 2, 199, true, 17, 0x80, 0, "Off", Act::StepUp, 0, "", 0x80, "On"},
    ByteCase{"SqlType", 2, 200, true, 17, 0x30, 0x10, "NAC", Act::Pick, 3, "", 0x30, "Talkgroup"}),
    testsupport::CaseName());
// clang-format on

// ---- greying ----

struct GreyCase {
    const char* name;
    int32_t model;
    int32_t cell;
    int32_t digitalMode;
    bool grey;
};

class GreyColumn : public ::testing::TestWithParam<GreyCase> {};

TEST_P(GreyColumn, FollowsTheDigitalMode) {
    const GreyCase& c = GetParam();
    Channels ch(c.model);
    ch.DigitalMode(c.digitalMode);
    EXPECT_EQ(ch.Grey(c.cell), c.grey);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Modes, GreyColumn, ::testing::Values(
    GreyCase{"NarrowInDigitalOnly", 2, 130, 3, true},
    GreyCase{"NarrowInDual", 2, 130, 2, false},
    GreyCase{"ReceiveToneInDual", 2, 131, 2, false},
    GreyCase{"ReceiveToneInDigital", 2, 131, 3, true},
    GreyCase{"TransmitToneInDual", 2, 132, 2, true},
    GreyCase{"CompanderInDigital", 2, 134, 3, true},
    GreyCase{"TwoToneInDual", 2, 142, 2, true},
    GreyCase{"LogInDigitalReceive", 2, 143, 1, false},
    GreyCase{"ScrambleInDigital", 2, 147, 3, true},
    GreyCase{"ScrambleTypeInDigital", 2, 148, 3, true},
    GreyCase{"ScrambleCodeInDigital", 2, 149, 3, true},
    GreyCase{"ReceiveCodeSetInDigital", 2, 151, 3, true},
    GreyCase{"ReceiveNacInAnalog", 2, 194, 0, true},
    GreyCase{"ReceiveNacInDigitalReceive", 2, 194, 1, false},
    GreyCase{"TransmitNacInDigitalReceive", 2, 195, 1, true},
    GreyCase{"TransmitNacInDual", 2, 195, 2, false},
    GreyCase{"UnitInAnalog", 7, 196, 0, true},
    GreyCase{"UnitDecimalInDual", 7, 197, 2, false},
    GreyCase{"TalkGroupsInAnalog", 2, 198, 0, true},
    GreyCase{"FastMuteInAnalog", 2, 199, 0, true},
    GreyCase{"SqlTypeInDigital", 2, 200, 3, false}),
    testsupport::CaseName());
// clang-format on

TEST(ChannelGreyTest, LtrBankAndInhibitRules) {
    Channels ch(1);
    // A row of an LTR bank starts from its group id; give it one.
    ch.SetBits(layout::kChannelG + 6 * kRow, 0xFF, 7);
    EXPECT_TRUE(ch.Grey(170)) << "the DTMF decode columns belong to LTR banks";
    EXPECT_TRUE(ch.Grey(171));
    EXPECT_FALSE(ch.Grey(142));
    SetBankFlagB(ch.h.Image(), 0, 1);
    EXPECT_FALSE(ch.Grey(170));
    EXPECT_FALSE(ch.Grey(171));
    EXPECT_FALSE(ch.Grey(142));
    EXPECT_FALSE(ch.Grey(151));
    ch.SetBits(Channels::X(18), 0x20, 0x20);
    EXPECT_TRUE(ch.Grey(142)) << "two-tone gives way to DTMF decoding in an LTR bank";
    EXPECT_TRUE(ch.Grey(151));
    EXPECT_TRUE(ch.Grey(191));

    SetBankFlagB(ch.h.Image(), 0, 0);
    EXPECT_FALSE(ch.Grey(128));
    ch.SetBits(Channels::S(4), 0x80, 0x80);
    EXPECT_TRUE(ch.Grey(128)) << "an inhibited transmit frequency";
}

// ---- the PMR-Z columns that a row may not use ----

struct GateCase {
    const char* name;
    int32_t model;
    int32_t cell;
    bool sigOn;
    bool noRepeater;
    bool open;
    int32_t at; // X byte the cell edits, and what a space does to it under mask
    uint8_t mask;
};

class GatedColumn : public ::testing::TestWithParam<GateCase> {};

TEST_P(GatedColumn, AnUnusedColumnIsBlankGreyCentredAndEditsNothing) {
    const GateCase& c = GetParam();
    Channels ch(c.model);
    ch.Signalling(c.sigOn, c.noRepeater);
    const CellAddress cell{2, c.cell, kRow};
    const Outcome shown = ch.h.Display(cell);
    EXPECT_EQ(shown.text.empty(), !c.open);
    EXPECT_EQ(ch.h.canvas->fontColor == kGrey, !c.open);
    if (!c.open) {
        EXPECT_EQ(shown.cell.layout & (cmcCellObj::kAlignHMask | cmcCellObj::kAlignVMask), 0x05);
    }
    const uint8_t before = ch.Byte(Channels::X(c.at));
    ch.h.Commit(cell, "3");
    ch.h.Step(cell, true);
    EXPECT_EQ((ch.Byte(Channels::X(c.at)) & c.mask) != (before & c.mask), c.open);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Gates, GatedColumn, ::testing::Values(
    GateCase{"SignallingFieldWithSignallingOff", 4, 161, false, false, true, 6, 0x0F},
    GateCase{"SignallingFieldNeedsNoRepeater", 4, 161, true, false, false, 6, 0x0F},
    GateCase{"SignallingFieldWithoutRepeater", 4, 183, true, true, true, 7, 0x7F},
    GateCase{"RepeaterLongTone", 9, 184, true, false, false, 7, 0x80},
    GateCase{"StationFieldWithSignallingOn", 4, 164, true, true, false, 8, 0x7F},
    GateCase{"StationFieldWithSignallingOff", 4, 166, false, false, true, 9, 0x7F},
    GateCase{"StationPosition", 4, 168, true, false, false, 6, 0xC0},
    GateCase{"StationCodeSet", 4, 169, true, false, false, 10, 0xFF},
    GateCase{"MskStationWithSignallingOff", 4, 189, false, false, false, 8, 0x7F},
    GateCase{"MskStationWithSignallingOn", 4, 189, true, false, true, 8, 0x7F},
    GateCase{"MskRepeaterWithSignallingOff", 4, 188, false, false, false, 7, 0x7F},
    GateCase{"MskCodeSetWithSignallingOff", 9, 190, false, false, false, 10, 0x7F},
    GateCase{"PmrUsesEveryColumn", 3, 164, true, false, true, 8, 0x7F},
    GateCase{"PmrMskStation", 3, 189, false, false, true, 8, 0x7F}),
    testsupport::CaseName());
// clang-format on

TEST(ChannelGateTest, ScanListColumnsNeedTheScanListSwitch) {
    Channels ch(0);
    ch.SetBits(layout::kRefCFlags, 0x40, 0);
    ch.SetBits(Channels::S(13), 0xFF, 4);
    EXPECT_EQ(ch.Show(145).text, "----");
    EXPECT_EQ(ch.h.canvas->fontColor, kGrey);
    EXPECT_EQ(ch.Show(146).text, "---");
    EXPECT_EQ(ch.h.canvas->fontColor, kGrey);
    ch.h.Step({2, 145, kRow}, true);
    EXPECT_EQ(ch.Byte(Channels::S(13)), 4);

    ch.SetBits(layout::kRefCFlags, 0x40, 0x40);
    EXPECT_EQ(ch.Show(145).text, "4");
    EXPECT_EQ(ch.h.canvas->fontColor, CellHarness::kInk);
    ch.h.Pick({2, 145, kRow}, listcell::Flex0, 17);
    EXPECT_EQ(ch.Byte(Channels::S(13)), 17);
    ch.h.Step({2, 146, kRow}, true);
    EXPECT_EQ(ch.Byte(Channels::X(0)) & 0x20, 0x20);
    EXPECT_EQ(ch.Show(146).text, "On");
}

// ---- PMR-Z marks while the MSK signalling is on ----

struct MarkCase {
    int32_t model;
    int32_t cell;
    bool sigOn;
    int32_t value;
    bool warning, error;
};

TEST(ChannelMarkTest, SignallingColumnsMarkWhatTheSignallingCannotUse) {
    const MarkCase cases[] = {
        {4, 156, true, 5, true, false},   {4, 156, true, 7, false, false}, {4, 178, true, 6, false, false},
        {4, 156, false, 5, false, false}, {3, 156, true, 5, false, false}, // PMR marks nothing
        {4, 157, true, 2, false, true},   {4, 179, true, 1, false, false}, {4, 158, true, 1, false, true},
        {4, 181, true, 1, false, true},   {9, 159, true, 0, false, false}, {4, 160, true, 0, true, false},
        {4, 160, true, 1, false, false},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model << " cell " << c.cell << " value " << c.value);
        Channels ch(c.model);
        ch.Signalling(c.sigOn);
        datCh r = ch.Row();
        switch (c.cell) {
        case 156:
        case 178:
            r.chCombo4 = static_cast<uint8_t>(c.value);
            break;
        case 157:
        case 179:
            r.chX2Top2 = static_cast<uint8_t>(c.value);
            break;
        case 158:
        case 180:
            r.chX2b3 = c.value != 0;
            break;
        case 159:
        case 181:
            r.chX2b2 = c.value != 0;
            break;
        default:
            r.chX1b0 = c.value != 0;
            break;
        }
        r.Store(ch.kind, kRow);
        const Outcome out = ch.Show(c.cell);
        EXPECT_EQ(out.request.markFlags.warning, c.warning);
        EXPECT_EQ(out.request.markFlags.error, c.error);
    }
}

TEST(ChannelMarkTest, SignallingChangesRebuildEveryView) {
    Channels ch(4);
    for (int32_t cell : {156, 157, 158, 159, 160, 185, 187, 193}) {
        const Outcome out = ch.h.Step({2, cell, kRow}, true);
        EXPECT_EQ(out.flags & CellFrame::kFlagRebuildAll, CellFrame::kFlagRebuildAll) << cell;
    }
    EXPECT_EQ(ch.h.Step({2, 150, kRow}, true).flags & CellFrame::kFlagRebuildAll, 0);
    ch.Signalling(false);
    EXPECT_TRUE(ch.Grey(187)) << "sending status needs the signalling";
}

// ---- columns with rules of their own ----

TEST(ChannelColumnTest, RowNumbersCountWithinTheBank) {
    Channels ch(0);
    EXPECT_EQ(ch.Show(124, 1).text, "1-  2");
    // A new row's other columns send input to its frequency; the check
    // category shows them as they are.
    EXPECT_EQ(ch.Show(124, 3).text, "");
    EXPECT_EQ(ch.Show(124, 3, 3).text, "New");
    ch.h.OpenBank(1);
    EXPECT_EQ(ch.Show(124, 4).text, "2-  2");
}

TEST(ChannelColumnTest, AttributesSetTheReferenceChannelsAndBankMarks) {
    Channels ch(0);
    ch.h.Image().SetWord(layout::kRefAChannel, 0);
    ch.h.Image().SetWord(layout::kRefBChannel, 0);
    ch.SetBits(layout::kRefCFlags, 0x20, 0);
    const CellAddress atr{2, 125, 2};
    EXPECT_EQ(ch.h.Display(atr).text, "");
    Outcome out = ch.h.Pick(atr, listcell::Flex0, 1);
    EXPECT_EQ(ch.h.Image().GetWord(layout::kRefAChannel), 2);
    EXPECT_EQ(out.text, "A");
    EXPECT_EQ(out.flags & (CellFrame::kFlagRowCounts | CellFrame::kFlagRebuildAll),
              CellFrame::kFlagRowCounts | CellFrame::kFlagRebuildAll);
    ch.h.Pick(atr, listcell::Flex0, 2);
    ch.h.Pick(atr, listcell::Flex0, 3);
    EXPECT_EQ(ch.h.Image().GetWord(layout::kRefCChannel), 2);
    EXPECT_EQ(ch.Byte(layout::kRefCFlags) & 0x20, 0x20);
    EXPECT_EQ(ch.h.Display(atr).text, "ABE");
    ch.h.Pick(atr, listcell::Flex0, 4);
    EXPECT_EQ(ch.Byte(layout::kRefCFlags) & 0x20, 0);
    ch.h.Pick(atr, listcell::Flex0, 6);
    EXPECT_TRUE(IsBankFlagB(ch.h.Image(), 0));
    EXPECT_EQ(ch.h.Display(atr).text, "AB");
    EXPECT_EQ(ch.h.Key(atr, 13).result, cmcCellCapsule::kResultPopupOpened);
}

TEST(ChannelColumnTest, FrequenciesToneAndName) {
    Channels ch(5);
    ch.h.Commit({2, 127, kRow}, "146.52");
    EXPECT_EQ(ch.Row().rxFreq, 146520000);
    EXPECT_EQ(ch.Row().txFreq, 146520000) << "the transmit frequency was equal and follows";
    EXPECT_EQ(ch.Show(128).text, "<-");
    ch.h.Commit({2, 128, kRow}, "146.0");
    EXPECT_EQ(ch.Row().txFreq, 146000000);
    EXPECT_EQ(ch.Show(128).text, "146.000000");
    ch.h.Commit({2, 127, kRow}, "146.5213");
    EXPECT_EQ(ch.Row().rxFreq, 146520000) << "off the raster";

    ch.h.Commit({2, 131, kRow}, "023n");
    EXPECT_EQ(ch.Show(131).text, "023N");
    EXPECT_EQ(ch.Show(132).text, "<-");
    EXPECT_TRUE(ch.Row().txTone.dcs);

    ch.h.Commit({2, 133, kRow}, "ABC");
    const datCh row = ch.Row();
    EXPECT_EQ(std::string(row.name.begin(), row.name.end()), "ABC         ");
    EXPECT_EQ(ch.Byte(Channels::S(12)) & 0x20, 0x20) << "the name's presence bit";
}

TEST(ChannelColumnTest, ScanMembershipIsOneBitOfEachScanList) {
    Channels ch(0);
    const CellAddress scan{2, 139, kRow};
    auto member = [&](int32_t list) {
        return (ch.Byte(layout::kScanMembership + 64 * list) & (0x80 >> kRow)) != 0;
    };
    for (int32_t list = 0; list < layout::kScanLists; ++list)
        ch.SetBits(layout::kScanMembership + 64 * list, static_cast<uint8_t>(0x80 >> kRow), 0);
    ch.h.Key(scan, '1');
    ch.h.Key(scan, 'z');
    ch.h.Key(scan, 'a');
    EXPECT_TRUE(member(0));
    EXPECT_TRUE(member(9));
    EXPECT_TRUE(member(16));
    EXPECT_FALSE(member(1));
    EXPECT_EQ(ch.Show(139).text, "1________A______Z\n");
    ch.h.Key({2, 177, kRow}, 8);
    EXPECT_FALSE(member(0));
    EXPECT_TRUE(member(1));
}

TEST(ChannelColumnTest, DtmfDecodeSetsItsSwitch) {
    Channels ch(1);
    SetBankFlagB(ch.h.Image(), 0, 1);
    ch.SetBits(layout::kChannelG + 6 * kRow, 0xFF, 7);
    const CellAddress dec{2, 170, kRow};
    ch.h.Commit(dec, "4");
    EXPECT_EQ(ch.Byte(Channels::X(20)), 4);
    EXPECT_EQ(ch.Byte(Channels::X(18)) & 0x20, 0x20);
    EXPECT_EQ(ch.Show(171).text, "On");
    ch.h.Commit(dec, "off");
    EXPECT_EQ(ch.Byte(Channels::X(20)), 0);
    EXPECT_EQ(ch.Byte(Channels::X(18)) & 0x20, 0);
}

// The type's change moves the code so that the number shown stays, and the
// code stays a byte at both ends.
TEST(ChannelColumnTest, ScrambleCodeFollowsItsType) {
    Channels ch(0);
    const CellAddress type{2, 148, kRow};
    const CellAddress code{2, 149, kRow};
    auto setType = [&](int32_t t) { ch.h.Pick(type, listcell::Flex0, t); };
    ch.SetBits(Channels::X(18), 0xC0, 0x80); // type 2
    ch.SetBits(Channels::X(5), 0xFF, 4);
    EXPECT_EQ(ch.Show(149).text, "5");
    setType(1);
    EXPECT_EQ(ch.Show(149).text, "----");
    EXPECT_EQ(ch.Byte(Channels::X(5)), 5);
    setType(2);
    EXPECT_EQ(ch.Show(149).text, "5");
    EXPECT_EQ(ch.Byte(Channels::X(5)), 4);
    ch.h.Commit(code, "16");
    EXPECT_EQ(ch.Byte(Channels::X(5)), 15);
    ch.h.Commit(code, "40");
    EXPECT_EQ(ch.Byte(Channels::X(5)), 15) << "type 2 codes end at 16";

    setType(3);
    ch.h.Commit(code, "300");
    EXPECT_EQ(ch.Byte(Channels::X(5)), 255);
    setType(2);
    EXPECT_EQ(ch.Byte(Channels::X(5)), 254);
    ch.SetBits(Channels::X(5), 0xFF, 255);
    setType(0);
    EXPECT_EQ(ch.Byte(Channels::X(5)), 255) << "a code of 256 would wrap to 0";
    ch.SetBits(Channels::X(5), 0xFF, 0);
    setType(2);
    EXPECT_EQ(ch.Byte(Channels::X(5)), 0) << "a code of -1 would wrap to 255";
    EXPECT_EQ(ch.Show(149).text, "1");
}

TEST(ChannelColumnTest, TransmitNacTracksTheReceiveNacWhileEqual) {
    Channels ch(2);
    ch.DigitalMode(2);
    const CellAddress rx{2, 194, kRow};
    const CellAddress tx{2, 195, kRow};
    ch.h.Commit(rx, "2a");
    EXPECT_EQ(ch.Row().rxNac, 0x2A);
    EXPECT_EQ(ch.Row().txNac, 0x2A);
    Outcome out = ch.h.Display(tx);
    EXPECT_EQ(out.text, "<-");
    EXPECT_EQ(out.cell.layout & cmcCellObj::kAlignHMask, 1);
    EXPECT_EQ(ch.h.Key(tx, 13).text, "2A") << "the editor opens on the number";

    ch.h.Commit(tx, "10");
    ch.h.Commit(rx, "11");
    EXPECT_EQ(ch.Row().rxNac, 0x11);
    EXPECT_EQ(ch.Row().txNac, 0x10);
    out = ch.h.Display(tx);
    EXPECT_EQ(out.text, "10");
    EXPECT_EQ(out.cell.layout & cmcCellObj::kAlignHMask, 0);
    ch.h.Commit(rx, "99");
    EXPECT_EQ(ch.Row().rxNac, 0x3F) << "NACs end at 63";
}

TEST(ChannelColumnTest, MskRepeaterKeepsItsCodeBesideTheNoRepeaterChoice) {
    Channels ch(4);
    ch.Signalling(true);
    ch.SetBits(Channels::X(7), 0x7F, 9);
    const CellAddress rpt{2, 188, kRow};
    EXPECT_EQ(ch.h.Display(rpt).text, "9");
    ch.h.Pick(rpt, listcell::Flex0, chlist::kMskNoRepeater);
    EXPECT_EQ(ch.Byte(Channels::X(3)) & 0x04, 0x04);
    EXPECT_EQ(ch.Byte(Channels::X(7)) & 0x7F, 9);
    EXPECT_EQ(ch.h.Display(rpt).text, "No RPT");
    ch.h.Commit(rpt, "12");
    EXPECT_EQ(ch.Byte(Channels::X(3)) & 0x04, 0);
    EXPECT_EQ(ch.Byte(Channels::X(7)) & 0x7F, 12);
    EXPECT_EQ(ch.h.Pick(rpt, listcell::Flex0, chlist::kMskRptNumberItem).result,
              cmcCellCapsule::kResultPopupOpened);
    ch.h.Pick(rpt, listcell::Flex1, 20);
    EXPECT_EQ(ch.Byte(Channels::X(7)) & 0x7F, 20);
    EXPECT_EQ(ch.h.Display(rpt).cell.layout & cmcCellObj::kAlignHMask, 2);
}

TEST(ChannelColumnTest, MskCodeSetKeepsBit7) {
    Channels ch(4);
    ch.Signalling(true);
    ch.SetBits(Channels::X(10), 0xFF, 0x85);
    const CellAddress set{2, 190, kRow};
    EXPECT_EQ(ch.h.Display(set).text, "____5_7\n");
    ch.h.Key(set, '1');
    EXPECT_EQ(ch.Byte(Channels::X(10)), 0xC5);
    ch.h.Key(set, '7');
    EXPECT_EQ(ch.Byte(Channels::X(10)), 0xC4);
}

// ---- the new row of a bank ----

class NewRowTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(ch.h.boxes.Done()) << "an expected box was not shown"; }
    Channels ch{0};
};

TEST_F(NewRowTest, TypingAFrequencyAfterTheLastChannelInsertsOne) {
    const int32_t end = ch.h.Image().GetWord(layout::kHdrEndAddress);
    const CellAddress freq{2, 127, 3};
    const Outcome out = ch.h.Key(freq, '1');
    EXPECT_EQ(out.result, cmcCellCapsule::kResultOpenEditor);
    EXPECT_EQ(out.text, "1");
    EXPECT_EQ(out.flags & CellFrame::kFlagRowCounts, CellFrame::kFlagRowCounts);
    EXPECT_EQ(GetBankChannelCount(ch.h.Image(), 0), 4);
    EXPECT_EQ(ch.Row(3).rxFreq, 0);
    EXPECT_EQ(ch.Row(4).rxFreq, Freq(3)) << "bank 1 moved down";
    EXPECT_EQ(ch.Row(5).rxFreq, Freq(4));
    EXPECT_EQ(ch.h.Image().GetWord(layout::kHdrEndAddress), end + 52) << "repacked";
    bool inserted = false;
    for (const cmcEvent& ev : ch.h.Events())
        inserted = inserted || (ev.type == evInsertChannelRow && ev.p1 == 0 && ev.p2 == 3);
    EXPECT_TRUE(inserted);

    ch.h.Commit(freq, "146.52");
    EXPECT_EQ(ch.Row(3).rxFreq, 146520000);
    EXPECT_TRUE(ch.Row(3).programmed);
    EXPECT_EQ(ch.Show(124, 3).text, "1-  4");
    EXPECT_EQ(ch.Show(124, 4, 3).text, "New");
}

TEST_F(NewRowTest, EveryInputKeyInsertsAndOtherKeysDoNot) {
    for (int32_t key : {int32_t('x'), 0, 200})
        ch.h.Key({2, 127, 3}, key);
    EXPECT_EQ(GetBankChannelCount(ch.h.Image(), 0), 3);
    int32_t count = 3;
    for (int32_t key : {int32_t(' '), 8, int32_t('.'), int32_t('0'), 13, 256}) {
        ch.h.Key({2, 127, count}, key);
        EXPECT_EQ(GetBankChannelCount(ch.h.Image(), 0), ++count) << key;
    }
}

TEST_F(NewRowTest, AnEmptyBankTakesItsFirstRow) {
    SetBankChannelCount(ch.h.Image(), 2, 0);
    ch.h.OpenBank(2);
    ch.h.Key({2, 127, 5}, '4');
    EXPECT_EQ(GetBankChannelCount(ch.h.Image(), 2), 1);
    EXPECT_EQ(GetBankFirstChannel(ch.h.Image(), 2), 5);
}

// Whatever reaches the new row without an input key stores nothing: the
// row's index is the next bank's first channel.
TEST_F(NewRowTest, ACommitWithoutTheRowStoresNothing) {
    const cmcEeprom before = ch.h.Image();
    const Outcome out = ch.h.Commit({2, 127, 3}, "146.52");
    EXPECT_EQ(out.text, "");
    EXPECT_TRUE(ch.h.Image().IsEqual(before));
    EXPECT_EQ(ch.Row(3).rxFreq, Freq(3));
}

struct FullCase {
    const char* name;
    int32_t category;
};

class NewRowRefused : public NewRowTest, public ::testing::WithParamInterface<FullCase> {
protected:
    void Fill(const std::string& name) {
        if (name.starts_with("Bank")) SetBankChannelCount(ch.h.Image(), 5, 507);
        if (name.starts_with("Dynamic"))
            ch.h.Image().SetWord(layout::kHdrEndAddress, layout::kDynamicEnd - 1 - 57);
    }
};

// A full table or dynamic area refuses the row with the overflow box and
// leaves the image as it was, also for the check category's cells, whose own
// category the capacity test would take for one that always fits.
TEST_P(NewRowRefused, ShowsTheOverflowBoxAndChangesNothing) {
    Fill(GetParam().name);
    const cmcEeprom before = ch.h.Image();
    ch.h.boxes.Expect("No more rows", plat::IDOK);
    const Outcome out = ch.h.Key({GetParam().category, 127, 3}, '5');
    EXPECT_EQ(out.text, "");
    EXPECT_EQ(out.result, 0);
    EXPECT_TRUE(ch.h.Image().IsEqual(before));
}

INSTANTIATE_TEST_SUITE_P(Full, NewRowRefused,
                         ::testing::Values(FullCase{"BankTableFull", 2}, FullCase{"DynamicAreaFull", 2},
                                           FullCase{"DynamicAreaFullFromACheckCell", 3}),
                         testsupport::CaseName());

} // namespace
