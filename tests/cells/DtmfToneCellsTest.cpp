// The DTMF, tone memory and user tone cells (522..549, 654..660) through
// indActiveCell::Execute on each class's start-up data: the memories' labels
// by model, digits and counts of both DTMF kinds, the decode options that
// five-tone and DTMF decode codes share, the tone pairs, the user tones'
// decode windows and their timing bytes.
#include "SettingsCellFixture.h"
#include "cells/RadioFont.h"
#include "tests/support/ParamNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace settingstest;

// Categories: DTMF memories (record kind 7), DTMF decode codes (25), tone
// memories (9), five-tone receive codes (10), user tones (12).
constexpr int32_t kDtmf = 5;
constexpr int32_t kDtmfRx = 28;
constexpr int32_t kTonePair = 7;
constexpr int32_t kFiveToneRx = 8;
constexpr int32_t kUserTone = 12;
constexpr int32_t kRecordFlag = 8;

class DtmfToneCellsTest : public ::testing::TestWithParam<int32_t> {
protected:
    SettingsCellFixture h{GetParam()};
    // The LMR, LTR and P25 classes (0..2 of five).
    bool LandMobile() const { return GetParam() % 5 < 3; }
};

TEST_P(DtmfToneCellsTest, MemoryLabelsFollowTheModel) {
    const std::vector<std::pair<int32_t, std::string>> labels = {
        {0, "Autodial"},
        {1, "2"},
        {5, "6"},
        {6, LandMobile() ? "Emergency" : "7"},
        {7, LandMobile() ? "Log/ID" : "8"},
    };
    for (const auto& [index, label] : labels) {
        SCOPED_TRACE(index);
        EXPECT_EQ(h.Display({kDtmf, 522, index}).text, label);
    }
}

// Memory n: 37 bytes at 97816 + 37n, its digits a nibble each from byte 24,
// their count at byte 36. Decode code n: 44 bytes at 137038 + 44n, digits
// from byte 0, count at byte 42. Texts are painted in the radio's dots.
TEST_P(DtmfToneCellsTest, DtmfDigitsAndCountsOfBothKinds) {
    RunCases(
        h,
        {
            {"MemoryCode",
             {kDtmf, 523, 2},
             {},
             Act::Commit,
             "12*#a",
             0,
             "12*#A",
             {{97914, 0x12}, {97915, 0xEF}, {97916, 0xA0}, {97917, 0x00}, {97926, 5}}},
            {"EmergencyCode",
             {kDtmf, 525, 6},
             {},
             Act::Commit,
             "911",
             0,
             "911",
             {{98062, 0x91}, {98063, 0x10}, {98074, 3}}},
            {"CodeShownUpToItsCount",
             {kDtmf, 524, 7},
             {{98099, 0x45}, {98100, 0x67}, {98111, 3}},
             Act::Display,
             "",
             0,
             "456",
             {{98111, 3}}},
            {"AtMostTwentyFourDigits",
             {kDtmf, 523, 0},
             {},
             Act::Commit,
             "123456789012345678901234567",
             0,
             "123456789012345678901234",
             {{97840, 0x12}, {97851, 0x34}, {97852, 24}}},
            {"MemoryText",
             {kDtmf, 526, 0},
             {},
             Act::Commit,
             "HOME",
             0,
             "",
             {{97816, 'H'}, {97819, 'E'}, {97820, ' '}}},
            {"DecodeCode",
             {kDtmfRx, 528, 1},
             {},
             Act::Commit,
             "*0#",
             0,
             "*0#",
             {{137082, 0xE0}, {137083, 0xF0}, {137124, 3}}},
            // The memory's cells work on the decode code its sheet shows.
            {"MemoryCellOnADecodeCode",
             {kDtmfRx, 523, 1},
             {},
             Act::Commit,
             "55",
             0,
             "55",
             {{137082, 0x55}, {137124, 2}, {97877, 0x00}}},
            {"DecodeText", {kDtmfRx, 529, 0}, {}, Act::Commit, "GATE", 0, "", {{137050, 'G'}, {137053, 'E'}}},
            {"PttDelayHundredths", {0, 541, 0}, {}, Act::Commit, "0.25", 0, "  0.250", {{93915, 25}}},
            {"DisplayTimerTenths", {0, 546, 0}, {}, Act::Commit, "1.5", 0, "  1.500", {{93919, 15}}},
        });
}

// The decode options lie in four bytes from the ABC code's byte: byte 29 of
// a five-tone receive code, byte 37 of a DTMF decode code. Either sheet's
// cell works on the record its category loads.
TEST_P(DtmfToneCellsTest, DecodeOptionsOnBothKinds) {
    struct Option {
        int32_t fiveToneCell;
        int32_t dtmfCell;
        int32_t byte; // after the ABC code's byte
        uint8_t bits;
        int32_t picked; // -1: typed
        const char* shown;
    };
    const Option options[] = {
        {609, 533, 0, 17, -1, "17"},      {616, 540, 1, 0x08, 1, "On"},
        {615, 539, 1, 0x20, 2, "Pause"},  {613, 537, 1, 0xC0, 3, "Hold Open"},
        {611, 535, 1, 0x05, 5, "Beep 5"}, {607, 531, 2, 0x02, 2, "Three Times"},
        {614, 538, 2, 0x18, 3, "Revive"}, {612, 536, 2, 0x20, 1, "On"},
        {606, 530, 2, 0x40, 1, "On"},     {610, 534, 2, 0x80, 1, "On"},
        {608, 532, 3, 0x80, 1, "On"},
    };
    struct Sheet {
        int32_t category;
        int32_t optionBytes; // of entry 2
    };
    const Sheet sheets[] = {{kFiveToneRx, 98560 + 2 * 34 + 29}, {kDtmfRx, 137038 + 2 * 44 + 37}};
    for (const Option& o : options) {
        for (const Sheet& sheet : sheets) {
            for (int32_t cell : {o.fiveToneCell, o.dtmfCell}) {
                SCOPED_TRACE(testing::Message() << "cell " << cell << " category " << sheet.category);
                h.Reset();
                const CellAddress at{sheet.category, cell, 2};
                const Outcome out = o.picked < 0 ? h.Commit(at, "17") : h.Pick(at, o.picked);
                EXPECT_EQ(out.text, o.shown);
                for (int32_t i = 0; i < 4; ++i)
                    EXPECT_EQ(h.Byte(sheet.optionBytes + i), i == o.byte ? o.bits : 0) << "byte " << i;
            }
        }
    }
    // Only the five-tone heading row has no ABC code or automatic answer.
    EXPECT_EQ(h.Display({kFiveToneRx, 533, 0}).text, "----");
    EXPECT_EQ(h.Display({kFiveToneRx, 536, 0}).text, "----");
    EXPECT_EQ(h.Pick({kDtmfRx, 536, 0}, 1).text, "On");
    EXPECT_EQ(h.Byte(137038 + 39), 0x20);
}

// Tone pair n: receive and transmit tone at 97078 + 4n (a DTCS code: bit 6
// of the first byte, its nine bits in bit 0 and the second byte), its
// selection bit n of the bitmap at 93902.
TEST_P(DtmfToneCellsTest, ToneMemories) {
    RunCases(h,
             {
                 {"ReceiveDtcsTakesTheTransmitToneAlong",
                  {kTonePair, 547, 3},
                  {},
                  Act::Commit,
                  "023N",
                  0,
                  "023N",
                  {{97090, 0x40}, {97091, 0x13}, {97092, 0x40}, {97093, 0x13}}},
                 {"ReceiveInvertedDtcs",
                  {kTonePair, 547, 0},
                  {{97080, 0x00}, {97081, 0x05}},
                  Act::Commit,
                  "754I",
                  0,
                  "754i",
                  {{97078, 0x61}, {97079, 0xEC}, {97080, 0x00}, {97081, 0x05}}},
                 {"TransmitToneByName",
                  {kTonePair, 548, 3},
                  {{97092, 0x61}, {97093, 0xEC}},
                  Act::Commit,
                  "88.5",
                  0,
                  "88.5",
                  {{97090, 0x80}, {97092, 0x00}, {97093, 9}}},
                 {"SelectionBitOfThePair", {kTonePair, 549, 3}, {}, Act::Pick, "", 1, "Off", {{93902, 0x10}}},
                 {"SelectionBitKeepsTheOthers",
                  {kTonePair, 549, 9},
                  {{93903, 0xFF}},
                  Act::Pick,
                  "",
                  0,
                  "On",
                  {{93903, 0xBF}}},
             });
}

// User tone n: its tone at 95414 + 2n, the decode window's lower and upper
// bound at 95444 + 4n, all in tenths of a hertz.
TEST_P(DtmfToneCellsTest, UserToneSetsItsDecodeWindow) {
    RunCases(h,
             {
                 {"WindowThreePercentEitherWay",
                  {kUserTone, 654, 0},
                  {},
                  Act::Commit,
                  "1000.0",
                  0,
                  "1000.0",
                  {{95414, 0x27}, {95415, 0x10}, {95444, 0x25}, {95445, 0xE4}, {95446, 0x28}, {95447, 0x3C}}},
                 {"LowerBoundHeldToTheLowestTone",
                  {kUserTone, 654, 2},
                  {},
                  Act::Commit,
                  "405.0",
                  0,
                  "405.0",
                  {{95418, 0x0F}, {95419, 0xD2}, {95452, 0x0F}, {95453, 0xA0}, {95454, 0x10}, {95455, 0x4C}}},
                 {"UpperBoundHeldToTheHighestTone",
                  {kUserTone, 654, 1},
                  {},
                  Act::Commit,
                  "2950.0",
                  0,
                  "2950.0",
                  {{95416, 0x73}, {95417, 0x3C}, {95448, 0x6F}, {95449, 0xC7}, {95450, 0x75}, {95451, 0x30}}},
                 {"ToneStepsByATenth",
                  {kUserTone, 654, 0},
                  {{95414, 0x27}, {95415, 0x10}},
                  Act::Space,
                  "",
                  0,
                  "1000.1",
                  {{95414, 0x27}, {95415, 0x11}, {95444, 0x25}, {95445, 0xE5}, {95446, 0x28}, {95447, 0x3D}}},
                 {"LowerBoundAlone",
                  {kUserTone, 656, 4},
                  {{95462, 0x27}, {95463, 0x10}},
                  Act::Commit,
                  "900.0",
                  0,
                  "900.0",
                  {{95422, 0x00}, {95460, 0x23}, {95461, 0x28}, {95462, 0x27}, {95463, 0x10}}},
             });
    const Outcome out = h.Commit({kUserTone, 654, 5}, "1000.0");
    EXPECT_TRUE(out.flags & kRecordFlag);
}

TEST_P(DtmfToneCellsTest, InvertedWindowIsKeptAndBothEndsWarn) {
    const CellAddress low{kUserTone, 656, 4};
    const CellAddress high{kUserTone, 657, 4};
    h.Reset({{95460, 0x25}, {95461, 0xE4}, {95462, 0x27}, {95463, 0x10}});
    EXPECT_FALSE(h.Display(low).warning);
    EXPECT_FALSE(h.Display(high).warning);
    EXPECT_TRUE(h.Commit(low, "1500.0").warning);
    EXPECT_EQ(Hex(h.Read({{95460, 0x3A}, {95461, 0x98}})), Hex({{95460, 0x3A}, {95461, 0x98}}));
    EXPECT_TRUE(h.Display(high).warning);
    EXPECT_TRUE(h.Display(low).warning);
    EXPECT_FALSE(h.Commit(high, "1600.0").warning);
    EXPECT_FALSE(h.Display(low).warning);
}

// Tones 0..14 have their timing bytes at 95504 + n (period), 95513 + n
// (no-tone timer) and 95522 + n (length); tone 15 at 95531 and 95532 and has
// no length. No other index has timing bytes.
TEST_P(DtmfToneCellsTest, UserToneTimingBytes) {
    RunCases(
        h,
        {
            {"PeriodMilliseconds", {kUserTone, 658, 3}, {}, Act::Commit, "0.1", 0, "  0.100", {{95507, 100}}},
            {"NoToneTimerHundredths",
             {kUserTone, 659, 4},
             {},
             Act::Commit,
             "0.3",
             0,
             "  0.300",
             {{95517, 30}}},
            {"LengthHundredths", {kUserTone, 660, 2}, {}, Act::Commit, "1.5", 0, "  1.500", {{95524, 150}}},
            {"LastTonesPeriod", {kUserTone, 658, 15}, {}, Act::Commit, "0.2", 0, "  0.200", {{95531, 200}}},
            {"LastTonesNoToneTimer",
             {kUserTone, 659, 15},
             {},
             Act::Commit,
             "0.04",
             0,
             "  0.040",
             {{95532, 4}}},
            {"PeriodStepsAndWraps",
             {kUserTone, 658, 0},
             {{95504, 255}},
             Act::Space,
             "",
             0,
             "  0.000",
             {{95504, 0}}},
        });
    struct Untimed {
        int32_t cell;
        int32_t index;
        const char* shown;
    };
    const Untimed untimed[] = {{660, 15, "----"}, {658, 16, ""}, {659, 16, ""}, {660, 16, ""}, {659, 40, ""}};
    for (const Untimed& u : untimed) {
        SCOPED_TRACE(testing::Message() << u.cell << " index " << u.index);
        h.Reset();
        const cmcEeprom before = h.Image();
        const CellAddress at{kUserTone, u.cell, u.index};
        EXPECT_EQ(h.Display(at).text, u.shown);
        h.Commit(at, "0.1");
        h.Key(at, ' ');
        EXPECT_TRUE(h.Image().IsEqual(before));
    }
    EXPECT_TRUE(h.Display({kUserTone, 660, 15}).grey);
}

// User character n (CL_CEdit, category CT_CEdit) opens the character editor
// on its dots and takes its answer back, dot (x, y) at x + y * width both
// ways, for the four display types; only the glyph's own bytes change.
TEST(UserCharacterCell, OpensTheEditorOnItsDotsAndStoresItsAnswer) {
    constexpr int32_t kCEdit = 4;
    constexpr int32_t kGlyphRecordsFrom = 94246; // heads of the 16 records, 24 bytes each
    constexpr int32_t kGlyphBodiesEnd = 94630 + 49 * 16;
    for (const int32_t model : {0, 5})
        for (const bool large : {false, true}) {
            SCOPED_TRACE(testing::Message() << "model " << model << " large " << large);
            celltest::CellHarness h(model);
            h.LoadStartupData(model);
            h.Image().SetByte(kDisplayFlagsByte, large ? kLargeGlyphBit : 0);
            const CellAddress at{kCEdit, 521, 3};
            EXPECT_EQ(h.Key(at, 13).result, cmcCellCapsule::kResultPopupOpened);
            ASSERT_EQ(h.popups.Log().size(), 1u);
            const RecordingPopupOpener::Opened opened = h.popups.Log()[0];
            const GlyphFormat format = CurrentGlyphFormat(h.Image());
            ASSERT_EQ(opened.width, format.width);
            ASSERT_EQ(opened.height, format.height);
            EXPECT_EQ(opened.dots,
                      std::vector<uint8_t>(static_cast<size_t>(format.width * format.height), 0));

            // Dots (1, 0) and (0, 2): column-major order would read them as others.
            std::string answer(static_cast<size_t>(format.width * format.height), '0');
            answer[1] = '1';
            answer[static_cast<size_t>(2 * format.width)] = '1';
            const cmcEeprom before = h.Image();
            h.Run(at, [&](cmcCellCapsule& r) {
                r.mode = cmcCellCapsule::kModePick;
                r.editText = answer;
            });
            int changed = 0;
            for (int32_t a = 0; a < before.GetSize(); ++a)
                if (before.GetByte(a) != h.Image().GetByte(a)) {
                    ++changed;
                    EXPECT_GE(a, kGlyphRecordsFrom) << a;
                    EXPECT_LT(a, kGlyphBodiesEnd) << a;
                }
            EXPECT_EQ(changed, 2); // one byte of each of the two columns

            h.popups.ClearLog();
            h.Key(at, 13);
            ASSERT_EQ(h.popups.Log().size(), 1u);
            std::vector<uint8_t> expected(answer.size(), 0);
            expected[1] = expected[static_cast<size_t>(2 * format.width)] = 1;
            EXPECT_EQ(h.popups.Log()[0].dots, expected);
        }
}

INSTANTIATE_TEST_SUITE_P(EachClass, DtmfToneCellsTest, ::testing::ValuesIn(kEachClass),
                         testsupport::ModelParamName());

} // namespace
