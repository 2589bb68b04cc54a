// The scan-list and common scan cells (550..580) through
// indActiveCell::Execute on each class's start-up data: the five-bit scan
// mode and the cells it dashes, the channel choice through the bank and
// channel pop-ups, the composed values, and the common timers, vote levels
// and switches.
#include "SettingsCellFixture.h"
#include "cells/TextConv.h"
#include "tests/support/ParamNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace settingstest;

// Category of the scan lists (record kind 8).
constexpr int32_t kScan = 6;
// List cells of the channel choice's pop-ups.
constexpr int32_t kFlexZoneSel = 8;
constexpr int32_t kFlexChannel = 10;

// Scan list n: 34 bytes at 97238 + 34n. Byte 24: mode bits 3-0, power save
// bit 4; byte 25: talk-back bit 2, cancel flag bit 3, transmit action bit 4,
// mode flag bit 5, display text bits 6 and 7; byte 26: first priority mode
// bits 3-0, transmit channel mode bits 7-4; byte 27: cancel mode bits 3-0,
// second priority mode bits 7-4; the channel words at 28, 30 and 32.
constexpr int32_t kList1 = 97238 + 34;

class ScanCellsTest : public ::testing::TestWithParam<int32_t> {
protected:
    SettingsCellFixture h{GetParam()};
};

// The mode bytes of list 1 for a five-bit mode, its transmit channel mode 1.
Bytes ModeBytes(int32_t mode) {
    return {{kList1 + 24, static_cast<uint8_t>(mode & 15)},
            {kList1 + 25, static_cast<uint8_t>(mode & 16 ? 0x20 : 0)},
            {kList1 + 26, 0x10}};
}

TEST_P(ScanCellsTest, ScanListFields) {
    RunCases(h,
             {
                 {"ModeSeventeenIsOneAndTheFlag",
                  {kScan, 550, 1},
                  {{kList1 + 24, 0xF0}},
                  Act::Pick,
                  "",
                  17,
                  "Mode Slave",
                  {{kList1 + 24, 0xF1}, {kList1 + 25, 0x20}}},
                 {"ModeTwoClearsTheFlag",
                  {kScan, 550, 1},
                  {{kList1 + 24, 0x01}, {kList1 + 25, 0xFF}},
                  Act::Pick,
                  "",
                  2,
                  "Priority",
                  {{kList1 + 24, 0x02}, {kList1 + 25, 0xDF}}},
                 {"ModeSteps",
                  {kScan, 550, 1},
                  {{kList1 + 24, 0x03}},
                  Act::Space,
                  "",
                  0,
                  "Mode Slave",
                  {{kList1 + 24, 0x01}, {kList1 + 25, 0x20}}},
                 {"CancelFlagAboveItsMode",
                  {kScan, 556, 1},
                  ModeBytes(1),
                  Act::Pick,
                  "",
                  16,
                  "TX CH",
                  {{kList1 + 25, 0x08}, {kList1 + 27, 0x00}}},
                 {"CancelModeAlone",
                  {kScan, 556, 1},
                  {{kList1 + 24, 0x01}, {kList1 + 25, 0x08}, {kList1 + 27, 0xF0}},
                  Act::Pick,
                  "",
                  3,
                  "Priority CH",
                  {{kList1 + 25, 0x00}, {kList1 + 27, 0xF3}}},
                 {"DisplayTextHighBit",
                  {kScan, 558, 1},
                  ModeBytes(1),
                  Act::Pick,
                  "",
                  2,
                  "Channel Text",
                  {{kList1 + 25, 0x40}}},
                 {"DisplayTextLowBit",
                  {kScan, 558, 1},
                  {{kList1 + 24, 0x01}, {kList1 + 25, 0x40}},
                  Act::Pick,
                  "",
                  1,
                  "List Text",
                  {{kList1 + 25, 0x80}}},
                 {"TalkBack", {kScan, 554, 1}, ModeBytes(2), Act::Pick, "", 1, "ON", {{kList1 + 25, 0x04}}},
                 {"TransmitAction",
                  {kScan, 555, 1},
                  ModeBytes(1),
                  Act::Pick,
                  "",
                  1,
                  "Pause Scan",
                  {{kList1 + 25, 0x10}}},
                 {"PowerSave",
                  {kScan, 559, 1},
                  {{kList1 + 24, 0x0F}},
                  Act::Pick,
                  "",
                  1,
                  "On",
                  {{kList1 + 24, 0x1F}}},
                 {"Text",
                  {kScan, 557, 1},
                  {},
                  Act::Commit,
                  "CITY",
                  0,
                  "",
                  {{kList1, 'C'}, {kList1 + 3, 'Y'}, {kList1 + 4, ' '}}},
                 {"TransmitChannelMode",
                  {kScan, 553, 1},
                  ModeBytes(1),
                  Act::Pick,
                  "",
                  0,
                  "Current CH",
                  {{kList1 + 26, 0x00}}},
             });
}

// Which cells apply in which scan mode; the others show dashes in grey and
// leave the image alone.
TEST_P(ScanCellsTest, ScanModeDashesWhatDoesNotApply) {
    struct Gate {
        const char* name;
        Bytes before;
        std::set<int32_t> dashed;
    };
    const Gate gates[] = {
        {"Off", ModeBytes(0), {551, 552, 553, 554, 555, 556, 558}},
        {"Normal", ModeBytes(1), {551, 552}},
        {"NormalNoTransmitChannel", {{kList1 + 24, 0x01}}, {551, 552, 554}},
        {"Priority", ModeBytes(2), {}},
        {"Slave", ModeBytes(17), {551, 552, 553, 554, 555, 556}},
    };
    for (const Gate& g : gates) {
        for (int32_t cell = 550; cell <= 559; ++cell) {
            SCOPED_TRACE(testing::Message() << g.name << " cell " << cell);
            h.Reset(g.before);
            const CellAddress at{kScan, cell, 1};
            const Outcome shown = h.Display(at);
            const bool dashed = g.dashed.count(cell) == 1;
            EXPECT_EQ(shown.text == "----", dashed) << shown.text;
            EXPECT_EQ(shown.grey, dashed);
            if (!dashed) continue;
            const cmcEeprom before = h.Image();
            h.Key(at, ' ');
            h.Pick(at, 1);
            EXPECT_TRUE(h.Image().IsEqual(before));
        }
    }
}

// The mode that names a channel leads through the bank list and the bank's
// channel sheet; the channel picked there is stored with its mode.
TEST_P(ScanCellsTest, ChannelPickedThroughBankAndChannelPopUps) {
    const int32_t oldBank = ScanSelectionBank();
    Bytes before = ModeBytes(2);
    before.push_back({93932, 0x00}); // bank 1 holds three channels
    before.push_back({93933, 0x03});
    struct Choice {
        int32_t cell;
        int32_t modeByte;
        uint8_t mode;
        int32_t channelWord;
    };
    const Choice choices[] = {
        {551, kList1 + 26, 0x05, kList1 + 30},
        {552, kList1 + 27, 0x50, kList1 + 32},
        {553, kList1 + 26, 0x50, kList1 + 28},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.cell);
        h.Reset(before);
        const CellAddress at{kScan, c.cell, 1};
        EXPECT_EQ(h.Pick(at, 5).text, "1-1ch");
        ASSERT_EQ(h.Popups().Log().size(), 1u);
        EXPECT_EQ(h.Popups().Log()[0].key, "GI_Sheet_Sel_ScanZoneSel");
        h.Pick(at, 0, kFlexZoneSel);
        ASSERT_EQ(h.Popups().Log().size(), 2u);
        EXPECT_EQ(h.Popups().Log()[1].kind, RecordingPopupOpener::Kind::ChannelList);
        EXPECT_EQ(h.Pick(at, 2, kFlexChannel).text, "1-3ch");
        EXPECT_EQ(h.Byte(c.modeByte) & (c.mode > 15 ? 0xF0 : 0x0F), c.mode);
        EXPECT_EQ(Hex(h.Read({{c.channelWord, 0x00}, {c.channelWord + 1, 0x02}})),
                  Hex({{c.channelWord, 0x00}, {c.channelWord + 1, 0x02}}));
        EXPECT_EQ(h.Display(at).text, "1-3ch");
    }
    SetScanSelectionBank(oldBank);
}

TEST_P(ScanCellsTest, CommonScanSettings) {
    RunCases(
        h, {
               {"VoteLevelSigned", 569, {}, Act::Commit, "-100", 0, "-100", {{94207, 0x9C}}},
               {"VoteLevelShown", 571, {{94209, 0xB0}}, Act::Display, "", 0, "-80", {{94209, 0xB0}}},
               {"VoteLevelHeldToItsRange", 570, {}, Act::Commit, "-130", 0, "-120", {{94208, 0x88}}},
               {"VoteLevelTopToBottom", 569, {{94207, 0xB0}}, Act::Space, "", 0, "-120", {{94207, 0x88}}},
               {"RssiTimerTenTimesTheByte", 568, {{94206, 25}}, Act::Display, "", 0, "250", {{94206, 25}}},
               {"RssiTimerTyped", 568, {}, Act::Commit, "120", 0, "120", {{94206, 12}}},
               {"RssiTimerOnItsStep", 568, {}, Act::Commit, "126", 0, "130", {{94206, 13}}},
               {"PowerOnScanHighBit",
                572,
                {{93823, 0x00}, {93918, 0xFF}},
                Act::Pick,
                "",
                2,
                "Last State",
                {{93823, 0x80}, {93918, 0xDF}}},
               {"PowerOnScanLowBit",
                572,
                {{93823, 0x7F}, {93918, 0x20}},
                Act::Display,
                "",
                0,
                "On",
                {{93823, 0x7F}}},
               {"FastScanMilliseconds", 564, {}, Act::Commit, "0.05", 0, "  0.050", {{93828, 50}}},
               {"StopTimerTenths", 560, {}, Act::Commit, "2.5", 0, "  2.500", {{93841, 25}}},
               {"MonitorKeyBitSeven", 579, {{93918, 0x7F}}, Act::Pick, "", 1, "Cancel Scan", {{93918, 0xFF}}},
               {"TalkBackBeepBitSix", 580, {{93918, 0xFF}}, Act::Pick, "", 0, "OFF", {{93918, 0xBF}}},
               {"NuisanceDeleteBitThree", 577, {}, Act::Pick, "", 1, "ON", {{93821, 0x08}}},
               {"AutoCallBitOne", 573, {}, Act::Pick, "", 1, "ON", {{93822, 0x02}}},
           });
}

INSTANTIATE_TEST_SUITE_P(EachClass, ScanCellsTest, ::testing::ValuesIn(kEachClass),
                         testsupport::ModelParamName());

} // namespace
