// The two-tone and five-tone cells (581..653) through indActiveCell::Execute
// on each class's start-up data: the two-tone frequencies with their decode
// windows, the heading row that has no frequencies, the second tone of a
// one-tone code, the timers the two decoders share, the five-tone codes with
// their '+' and group digits, the digit sets and the special tones.
#include "SettingsCellFixture.h"
#include "tests/support/ParamNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace settingstest;

// Categories: two-tone codes (record kind 13), the two-tone transmit sheet
// (whose category has no rows), five-tone receive (10) and transmit (11)
// codes, user tones (12).
constexpr int32_t kTwoTone = 10;
constexpr int32_t kTwoToneTx = 11;
constexpr int32_t kFiveToneRx = 8;
constexpr int32_t kFiveToneTx = 9;
constexpr int32_t kUserTone = 12;

class ToneSequenceCellsTest : public ::testing::TestWithParam<int32_t> {
protected:
    SettingsCellFixture h{GetParam()};
};

// Code n's frequency words lie at 81868 + 4n, its decode window (lower and
// upper bound of the first tone, then of the second) at 95406 + 8n.
TEST_P(ToneSequenceCellsTest, TwoToneFrequenciesAndTheirDecodeWindows) {
    RunCases(h,
             {
                 {"ReceiveFirstSetsFrequencyAndWindow",
                  {kTwoTone, 581, 3},
                  {},
                  Act::Commit,
                  "1000.0",
                  0,
                  "1000.0",
                  {{81880, 0x27}, {81881, 0x10}, {95430, 0x26}, {95431, 0x48}, {95432, 0x27}, {95433, 0xD8}}},
                 // 12592.4 and 12098.6 before truncation.
                 {"ReceiveFirstRoundsTheWindowHalfUp",
                  {kTwoTone, 581, 3},
                  {},
                  Act::Commit,
                  "1234.5",
                  0,
                  "1234.5",
                  {{81880, 0x30}, {81881, 0x39}, {95430, 0x2F}, {95431, 0x42}, {95432, 0x31}, {95433, 0x30}}},
                 {"ReceiveSecondOwnWordAndWindow",
                  {kTwoTone, 582, 3},
                  {},
                  Act::Commit,
                  "2000.0",
                  0,
                  "2000.0",
                  {{81880, 0x00},
                   {81881, 0x00},
                   {81882, 0x4E},
                   {81883, 0x20},
                   {95430, 0x00},
                   {95433, 0x00},
                   {95434, 0x4C},
                   {95435, 0x90},
                   {95436, 0x4F},
                   {95437, 0xB0}}},
                 {"ReceiveShownFromTheWord",
                  {kTwoTone, 581, 5},
                  {{81888, 0x09}, {81889, 0xC4}},
                  Act::Display,
                  "",
                  0,
                  "250.0",
                  {{81888, 0x09}, {81889, 0xC4}}},
                 {"TransmitSheetTakesTheCodeOfItsRow",
                  {kTwoToneTx, 599, 6},
                  {},
                  Act::Commit,
                  "300.0",
                  0,
                  "300.0",
                  {{81892, 0x0B}, {81893, 0xB8}}},
                 {"TransmitFirstLeavesTheWindow",
                  {kTwoTone, 599, 2},
                  {{95422, 0x11}, {95423, 0x22}, {95424, 0x33}, {95425, 0x44}},
                  Act::Commit,
                  "1500.0",
                  0,
                  "1500.0",
                  {{81876, 0x3A}, {81877, 0x98}, {95422, 0x11}, {95423, 0x22}, {95424, 0x33}, {95425, 0x44}}},
                 {"TransmitSecondOfATwoToneCode",
                  {kTwoTone, 601, 2},
                  {{98138, 0x11}},
                  Act::Commit,
                  "750.0",
                  0,
                  "750.0",
                  {{81876, 0x00}, {81877, 0x00}, {81878, 0x1D}, {81879, 0x4C}}},
                 {"FrequencyHeldToItsRange",
                  {kTwoTone, 599, 1},
                  {},
                  Act::Commit,
                  "5000",
                  0,
                  "3300.0",
                  {{81872, 0x80}, {81873, 0xE8}}},
             });
}

TEST_P(ToneSequenceCellsTest, TwoToneCodeFields) {
    RunCases(
        h,
        {
            // Tenths of a second, whole ones in the record.
            {"PeriodTenths", {kTwoTone, 600, 1}, {{95514, 25}}, Act::Display, "", 0, "  2.5", {{95514, 25}}},
            {"PeriodTypedTruncated", {kTwoTone, 602, 1}, {}, Act::Commit, "3.27", 0, "  3.2", {{95515, 32}}},
            {"BellTwoBits", {kTwoTone, 585, 0}, {{98591, 0xF0}}, Act::Pick, "", 3, "Repeat", {{98591, 0xF3}}},
            {"StunBitsFourThree", {kTwoTone, 590, 2}, {}, Act::Pick, "", 2, "Kill", {{98659, 0x10}}},
            {"AnswerIsAWholeByte", {kTwoTone, 586, 2}, {}, Act::Pick, "", 1, "On", {{98657, 0xFF}}},
            {"GroupCallWholeByte", {kTwoTone, 583, 1}, {}, Act::Pick, "", 2, "Long 2nd Tone", {{98594, 2}}},
            // A code of one tone has the digit F in its code-type byte.
            {"OneToneCode", {kTwoTone, 598, 4}, {}, Act::Pick, "", 0, "Single Tone", {{98166, 0x3F}}},
            {"TwoToneCode",
             {kTwoTone, 598, 4},
             {{98166, 0x3F}},
             Act::Pick,
             "",
             1,
             "Two Tone",
             {{98166, 0x33}}},
            // The record names the code after the first twelve bytes of its
            // text. Texts are painted in the radio's dots, not shown as text.
            {"TextNamesTheCode",
             {kTwoTone, 584, 1},
             {},
             Act::Commit,
             "ALPHA",
             0,
             "",
             {{98598, 'A'}, {98602, 'A'}, {98603, ' '}, {98112, 'A'}, {98116, 'A'}, {98117, ' '}}},
            {"TransmitNameIsTheTextsStart",
             {kTwoTone, 603, 1},
             {{98610, 'Z'}},
             Act::Commit,
             "BRAVO",
             0,
             "",
             {{98112, 'B'}, {98116, 'O'}, {98117, ' '}, {98598, 'B'}, {98602, 'O'}, {98610, 'Z'}}},
        });
}

TEST_P(ToneSequenceCellsTest, SpaceAndBackspaceStepAndWrap) {
    RunCases(h,
             {
                 {"FrequencyTopToBottomWithItsWindow",
                  {kTwoTone, 581, 4},
                  {{81884, 0x80}, {81885, 0xE8}},
                  Act::Space,
                  "",
                  0,
                  "250.0",
                  {{81884, 0x09}, {81885, 0xC4}, {95438, 0x09}, {95439, 0x92}, {95440, 0x09}, {95441, 0xF6}}},
                 {"FrequencyBottomToTop",
                  {kTwoTone, 582, 4},
                  {{81886, 0x09}, {81887, 0xC4}},
                  Act::Back,
                  "",
                  0,
                  "3300.0",
                  {{81886, 0x80}, {81887, 0xE8}}},
                 {"FrequencyTenthUp",
                  {kTwoTone, 599, 1},
                  {{81872, 0x27}, {81873, 0x10}},
                  Act::Space,
                  "",
                  0,
                  "1000.1",
                  {{81872, 0x27}, {81873, 0x11}}},
                 {"BellLastToFirst",
                  {kTwoTone, 585, 1},
                  {{98625, 0x03}},
                  Act::Space,
                  "",
                  0,
                  "Off",
                  {{98625, 0x00}}},
                 {"BeepFirstToLast", {kTwoTone, 588, 1}, {}, Act::Back, "", 0, "Beep 7", {{98624, 0x07}}},
             });
}

// Row 0 is the group call: it has no frequencies, periods, name or code
// type, and the cells of those show dashes and leave the image alone.
TEST_P(ToneSequenceCellsTest, HeadingRowDashesNeverChangeTheImage) {
    for (int32_t cell : {581, 582, 583, 589, 598, 599, 600, 601, 602, 603}) {
        SCOPED_TRACE(cell);
        h.Reset();
        const cmcEeprom before = h.Image();
        const CellAddress at{kTwoTone, cell, 0};
        const Outcome shown = h.Display(at);
        EXPECT_EQ(shown.text, "----");
        EXPECT_TRUE(shown.grey);
        EXPECT_EQ(h.Commit(at, "1000.0").text, "----");
        h.Key(at, ' ');
        h.Pick(at, 1);
        EXPECT_TRUE(h.Image().IsEqual(before));
    }
    // The row's other fields are the group call's.
    EXPECT_EQ(h.Pick({kTwoTone, 585, 0}, 2).text, "Three Times");
    EXPECT_EQ(h.Byte(98591), 0x02);
}

// A one-tone code sends no second tone. The code-type byte the cell reads is
// the code's own (98110 + 14n), not the next code's.
TEST_P(ToneSequenceCellsTest, SecondTransmitToneFollowsItsOwnCodeType) {
    const CellAddress second{kTwoTone, 601, 1};
    h.Reset({{98124, 0x0F}, {98138, 0x11}, {81874, 0x1D}, {81875, 0x4C}});
    const cmcEeprom before = h.Image();
    const Outcome oneTone = h.Display(second);
    EXPECT_EQ(oneTone.text, "----  ");
    EXPECT_TRUE(oneTone.grey);
    h.Commit(second, "1000.0");
    EXPECT_TRUE(h.Image().IsEqual(before));

    h.Reset({{98124, 0x00}, {98138, 0x1F}, {81874, 0x1D}, {81875, 0x4C}});
    const Outcome twoTone = h.Display(second);
    EXPECT_EQ(twoTone.text, "750.0");
    EXPECT_FALSE(twoTone.grey);
    EXPECT_EQ(h.Commit(second, "1000.0").text, "1000.0");
    EXPECT_EQ(Hex(h.Read({{81874, 0x27}, {81875, 0x10}})), Hex({{81874, 0x27}, {81875, 0x10}}));
}

// The two-tone and five-tone decoders share three timers, and the two-tone
// no-tone timer is user tone 0's: each pair shows and edits one byte.
TEST_P(ToneSequenceCellsTest, SharedTimersAreOneByteEach) {
    struct Pair {
        CellAddress first;
        CellAddress second;
        int32_t address;
        const char* typed;
        uint8_t stored;
        const char* shown;
    };
    const Pair pairs[] = {
        {{0, 595, 0}, {0, 620, 0}, 93856, "12", 12, " 12.000"},
        {{0, 596, 0}, {0, 621, 0}, 93851, "45", 45, " 45.000"},
        {{0, 597, 0}, {0, 622, 0}, 93855, "7", 7, "  7.000"},
        // Steps of 0.02 s: 0.15 goes down to 0.14.
        {{0, 593, 0}, {kUserTone, 659, 0}, 95513, "0.15", 14, "  0.140"},
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.address);
        h.Reset();
        EXPECT_EQ(h.Commit(p.first, p.typed).text, p.shown);
        EXPECT_EQ(h.Byte(p.address), p.stored);
        EXPECT_EQ(h.Display(p.second).text, p.shown);
        h.Reset();
        h.Commit(p.second, p.typed);
        EXPECT_EQ(h.Byte(p.address), p.stored);
        EXPECT_EQ(h.Display(p.first).text, p.shown);
    }
}

// The radio lays the two-tone codes over other tables: code 1's decode window
// holds the tones of user tones 0..3, its frequency words are five-tone
// transmit code 0.
TEST_P(ToneSequenceCellsTest, TwoToneCodesLieOnTheUserTonesAndTransmitCodes) {
    h.Reset({{93817, 0x0F}});
    h.Commit({kTwoTone, 581, 1}, "1000.0");
    EXPECT_EQ(h.Display({kUserTone, 654, 0}).text, "980.0");
    EXPECT_EQ(h.Display({kUserTone, 654, 1}).text, "1020.0");
    EXPECT_EQ(h.Display({kFiveToneTx, 624, 0}).text, "27100000");
}

// Receive code n lies at 98560 + 34n (four code bytes, the '+' marks at byte
// 28), transmit code n at 81872 + 4n; the group digit is byte 93817.
TEST_P(ToneSequenceCellsTest, FiveToneCodesAndDigits) {
    RunCases(
        h, {
               {"ReceiveCodeWithPlusAndGroupDigit",
                {kFiveToneRx, 604, 1},
                {{93817, 0x0A}},
                Act::Commit,
                "12+4*",
                0,
                "12+4*",
                {{98594, 0x12}, {98595, 0x04}, {98596, 0xAF}, {98597, 0xFF}, {98622, 0x20}}},
               {"ReceiveCodeGroupLetter",
                {kFiveToneRx, 604, 2},
                {{93817, 0x0E}},
                Act::Commit,
                "9G",
                0,
                "9*",
                {{98628, 0x9E}, {98629, 0xFF}, {98630, 0xFF}, {98631, 0xFF}, {98656, 0x00}}},
               {"ReceiveCodeShown",
                {kFiveToneRx, 604, 3},
                {{98662, 0x31}, {98663, 0x4F}, {98690, 0x40}},
                Act::Display,
                "",
                0,
                "3+4",
                {{98662, 0x31}}},
               {"TransmitCodeWithGroupDigit",
                {kFiveToneTx, 624, 5},
                {{93817, 0x0E}},
                Act::Commit,
                "3*1",
                0,
                "3*1",
                {{81892, 0x3E}, {81893, 0x1F}, {81894, 0xFF}, {81895, 0xFF}}},
               {"TransmitCodeHasNoPlusDigits",
                {kFiveToneTx, 624, 0},
                {},
                Act::Commit,
                "3+1",
                0,
                "31",
                {{81872, 0x31}, {81873, 0xFF}}},
               // Digits 1..7 are bits 7..1; the whole byte is the cell's.
               {"CompareDigitToggled",
                {0, 618, 0},
                {{93816, 0x81}},
                Act::Key,
                "",
                '3',
                "1_3____\n",
                {{93816, 0xA1}}},
               {"DisplayDigitsCleared",
                {0, 639, 0},
                {{93815, 0x43}},
                Act::Space,
                "",
                0,
                "_______\n",
                {{93815, 0x01}}},
               {"InputDigitsOfATransmitCode",
                {kFiveToneTx, 625, 3},
                {},
                Act::Key,
                "",
                '7',
                "______7\n",
                {{98166, 0x02}}},
               {"GroupToneOneDigit", {0, 650, 0}, {}, Act::Commit, "b", 0, "B", {{93817, 0x0B}}},
               {"GroupToneRefusesF", {0, 650, 0}, {{93817, 3}}, Act::Commit, "F", 0, "3", {{93817, 3}}},
               {"RepeatToneRefusesF", {0, 651, 0}, {{93818, 4}}, Act::Commit, "F", 0, "4", {{93818, 4}}},
               {"LinkToneTakesF", {0, 652, 0}, {}, Act::Commit, "F", 0, "F", {{93819, 0x0F}}},
               {"CompareToneBitZero", {0, 623, 0}, {{93900, 0xFE}}, Act::Pick, "", 1, "ON", {{93900, 0xFF}}},
               {"PttCallBitSix", {0, 653, 0}, {{93823, 0xFF}}, Act::Pick, "", 0, "OFF", {{93823, 0xBF}}},
               {"TransmitSelectIsSetWhileItsBitIsClear",
                {kFiveToneTx, 630, 1},
                {{98139, 0xDF}},
                Act::Pick,
                "",
                1,
                "On",
                {{98139, 0xCF}}},
           });
}

TEST_P(ToneSequenceCellsTest, FiveToneHeadingRowHasNoCode) {
    for (int32_t cell : {604, 609, 612}) {
        SCOPED_TRACE(cell);
        h.Reset();
        const cmcEeprom before = h.Image();
        EXPECT_EQ(h.Display({kFiveToneRx, cell, 0}).text, "----");
        h.Commit({kFiveToneRx, cell, 0}, "12345");
        h.Key({kFiveToneRx, cell, 0}, ' ');
        EXPECT_TRUE(h.Image().IsEqual(before));
    }
    // The heading row's own fields are edited.
    EXPECT_EQ(h.Pick({kFiveToneRx, 607, 0}, 1).text, "Once");
    EXPECT_EQ(h.Byte(98591), 0x01);
}

INSTANTIATE_TEST_SUITE_P(EachClass, ToneSequenceCellsTest, ::testing::ValuesIn(kEachClass),
                         testsupport::ModelParamName());

} // namespace
