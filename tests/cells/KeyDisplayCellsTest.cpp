// The programmable keys, display options, set-mode values and user set-mode
// switches (cells 361..443) through indActiveCell::Execute on each class's
// start-up data: stored fields to texts, choices and typing to exact bytes,
// stepping at both ends, the lists that follow the model, the key options,
// greying and the rebuild flag.
#include "SettingsCellFixture.h"
#include "tests/support/ParamNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace settingstest;

bool IsMobile(int32_t model) {
    return model >= 5;
}

class KeyDisplayCellsTest : public ::testing::TestWithParam<int32_t> {
protected:
    int32_t Model() const { return GetParam(); }
    SettingsCellFixture h{GetParam()};
};

TEST_P(KeyDisplayCellsTest, FieldsShowAndStoreExactBytes) {
    RunCases(
        h, {
               // Level in bits 3-0, its link in bit 6; the beep switch (bit 7) stays.
               {"BeepLevelLinked", 417, {{82226, 0xC5}}, Act::Display, "", 0, "Link 5", {{82226, 0xC5}}},
               {"BeepLevelChosen", 417, {{82226, 0xC5}}, Act::Pick, "", 3, "3", {{82226, 0x83}}},
               {"RingerLevelKeepsItsOtherBits",
                418,
                {{82227, 0xBF}, {82226, 0x00}},
                Act::Pick,
                "",
                102,
                "Link 2",
                {{82226, 0x00}, {82227, 0xF2}}},
               // Twice bits 4-3.
               {"RotaryTwiceItsBits",
                397,
                {{93825, 0x10}},
                Act::Display,
                "",
                0,
                "Audio Volume",
                {{93825, 0x10}}},
               {"RotaryChosen", 397, {{93825, 0xE7}}, Act::Pick, "", 2, "Bank/Channel", {{93825, 0xEF}}},
               // A stored 0 is the lowest power, written only when chosen.
               {"BatteryPowerZeroIsLow", 406, {{93900, 0x00}}, Act::Display, "", 0, "Low", {{93900, 0x00}}},
               {"BatteryPowerChosen", 406, {{93900, 0x00}}, Act::Pick, "", 1, "Low", {{93900, 0x04}}},
               {"BatteryPowerStepsFromLow", 406, {{93900, 0xF3}}, Act::Space, "", 0, "Mid", {{93900, 0xFB}}},
               // Value bit 2 in 93918 bit 3, bit 1 in 93918 bit 4, bit 0 in 93827 bit 4.
               {"ScanSuspendSplit", 393, {}, Act::Pick, "", 5, "5 sec", {{93918, 0x08}, {93827, 0x10}}},
               {"ScanSuspendMiddleBit",
                393,
                {{93918, 0x10}},
                Act::Display,
                "",
                0,
                "2 sec",
                {{93918, 0x10}, {93827, 0x00}}},
               {"ScanSuspendKeepsNeighbours",
                393,
                {{93918, 0xFF}, {93827, 0xFF}},
                Act::Pick,
                "",
                2,
                "2 sec",
                {{93918, 0xF7}, {93827, 0xEF}}},
               // Bit b of the map counts from 93792 bit 7.
               {"UserBacklightFirstBit", 429, {}, Act::Pick, "", 1, "Enable", {{93792, 0x80}, {93793, 0x00}}},
               {"UserAfMinLevel", 435, {}, Act::Pick, "", 1, "Enable", {{93792, 0x02}, {93793, 0x00}}},
               {"UserMicGainBitZero", 437, {}, Act::Pick, "", 1, "Enable", {{93792, 0x01}, {93793, 0x00}}},
               {"UserVoxGainSecondByte", 438, {}, Act::Pick, "", 1, "Enable", {{93792, 0x00}, {93793, 0x80}}},
               {"UserSignalMonitorLeavesLastTwoBits",
                443,
                {{93793, 0xFF}},
                Act::Pick,
                "",
                0,
                "Disable",
                {{93792, 0x00}, {93793, 0xFB}}},
               {"BitErrorDisplayHasNoField",
                427,
                {{82231, 0xFF}, {82232, 0xFF}},
                Act::Enter,
                "",
                0,
                "----",
                {{82231, 0xFF}, {82232, 0xFF}}},
               {"ContrastHeldTo127", 415, {}, Act::Commit, "200", 0, "127", {{82225, 0x7F}}},
               {"ContrastShown", 415, {{82225, 0x40}}, Act::Display, "", 0, "64", {{82225, 0x40}}},
               {"AfMinimumWholeByte", 420, {}, Act::Commit, "255", 0, "255", {{82228, 0xFF}}},
               {"SquelchWholeByte", 419, {}, Act::Pick, "", 10, "Tight", {{82224, 10}}},
               {"MicGainWholeByte", 422, {}, Act::Pick, "", 7, "7", {{82229, 7}}},
               {"VoxGainLowNibble", 423, {{82230, 0xF0}}, Act::Pick, "", 10, "10", {{82230, 0xFA}}},
               {"VoxDelayHighNibble", 424, {{82230, 0x0F}}, Act::Pick, "", 7, "4.0 sec", {{82230, 0x7F}}},
               {"BeepSwitchBitSeven", 416, {{82226, 0x45}}, Act::Pick, "", 1, "ON", {{82226, 0xC5}}},
               {"HornOutInverted", 425, {{82232, 0x00}}, Act::Display, "", 0, "ON", {{82232, 0x00}}},
               {"MrCodeBitsOneZero", 402, {{93821, 0xFC}}, Act::Pick, "", 2, "Code 2", {{93821, 0xFE}}},
               {"TenKeyBitFour", 389, {}, Act::Pick, "", 1, "Ten-Key", {{93822, 0x10}}},
               {"ScrollTimerOff", 398, {}, Act::Display, "", 0, "OFF", {{99736, 0}}},
               {"ScrollTimerTenths", 398, {}, Act::Commit, "1.5", 0, "  1.500", {{99736, 15}}},
               // The opening text is painted in the radio's dots, not shown as text.
               {"OpeningText",
                395,
                {{98966, 'Z'}},
                Act::Commit,
                "HELLO",
                0,
                "",
                {{98942, 'H'}, {98946, 'O'}, {98947, ' '}, {98965, ' '}, {98966, 'Z'}}},
               {"SmarTrunkKey", 375, {}, Act::Pick, "", '1', "Phone", {{93876, 0x31}}},
               {"SmarTrunkOptionKey", 388, {}, Act::Pick, "", '5', "Hook", {{93884, 0x20}, {93885, 0x35}}},
               {"SmarTrunkDial", 379, {}, Act::Pick, "", '0', "Channel Up/Down", {{93886, 0x30}}},
           });
}

TEST_P(KeyDisplayCellsTest, SpaceAndBackspaceStepAndWrapAtBothEnds) {
    RunCases(
        h,
        {
            // Screen order: the plain levels, then the linked ones.
            {"LevelLastToFirst", 417, {{82226, 0x4F}}, Act::Space, "", 0, "0", {{82226, 0x00}}},
            {"LevelFirstToLast", 417, {{82226, 0x00}}, Act::Back, "", 0, "Link 15", {{82226, 0x4F}}},
            {"LevelPlainToLinked", 417, {{82226, 0x0F}}, Act::Space, "", 0, "Link 0", {{82226, 0x40}}},
            {"RotaryLastToFirst", 397, {{93825, 0x18}}, Act::Space, "", 0, "Channel", {{93825, 0x00}}},
            {"RotaryFirstToLast", 397, {{93825, 0x00}}, Act::Back, "", 0, "Off", {{93825, 0x18}}},
            {"BatteryPowerLastToFirst", 406, {{93900, 0x0C}}, Act::Space, "", 0, "Low", {{93900, 0x04}}},
            {"BatteryPowerZeroBackToLast", 406, {{93900, 0x00}}, Act::Back, "", 0, "High", {{93900, 0x0C}}},
            {"ScanSuspendLastToFirst",
             393,
             {{93918, 0x18}, {93827, 0x10}},
             Act::Space,
             "",
             0,
             "Off",
             {{93918, 0x00}, {93827, 0x00}}},
            {"ScanSuspendFirstToLast", 393, {}, Act::Back, "", 0, "7 sec", {{93918, 0x18}, {93827, 0x10}}},
            {"ContrastTopToZero", 415, {{82225, 127}}, Act::Space, "", 0, "0", {{82225, 0}}},
            {"ContrastZeroToTop", 415, {{82225, 0}}, Act::Back, "", 0, "127", {{82225, 127}}},
            {"AfMinimumTopToZero", 420, {{82228, 255}}, Act::Space, "", 0, "0", {{82228, 0}}},
            {"AfMinimumZeroToTop", 420, {{82228, 0}}, Act::Back, "", 0, "255", {{82228, 255}}},
            {"SquelchLastToFirst", 419, {{82224, 10}}, Act::Space, "", 0, "Open", {{82224, 0}}},
            {"SquelchFirstToLast", 419, {{82224, 0}}, Act::Back, "", 0, "Tight", {{82224, 10}}},
            {"UserSwitchOff", 437, {{93792, 0x01}}, Act::Space, "", 0, "Disable", {{93792, 0x00}}},
            {"UserSwitchBackOn", 437, {{93792, 0x00}}, Act::Back, "", 0, "Enable", {{93792, 0x01}}},
            {"ScrollTimerTopToZero", 398, {{99736, 255}}, Act::Space, "", 0, "  0.000", {{99736, 0}}},
            {"ScrollTimerZeroToTop", 398, {{99736, 0}}, Act::Back, "", 0, " 25.500", {{99736, 255}}},
        });
}

// 404/405 and 413/414 offer the power switch and backlight of the model's
// front panel, whichever of the two ids asks.
TEST_P(KeyDisplayCellsTest, PowerSwitchAndBacklightFollowTheModel) {
    const bool mobile = IsMobile(Model());
    for (int32_t cell : {404, 405}) {
        SCOPED_TRACE(cell);
        h.Reset({{93824, 0x10}});
        EXPECT_EQ(h.Display(cell).text, mobile ? "Ignition" : "Key");
        h.Reset({{93824, 0xFF}, {93900, 0x7F}});
        EXPECT_EQ(h.Pick(cell, 2).text, mobile ? "Last State" : "Knob+Key");
        EXPECT_EQ(h.Byte(93900), 0xFF);
        EXPECT_EQ(h.Byte(93824), 0xEF);
    }
    for (int32_t cell : {413, 414}) {
        SCOPED_TRACE(cell);
        h.Reset({{82232, 0x1F}});
        EXPECT_EQ(h.Display(cell).text, mobile ? "Level 1" : "Auto");
        // The last item of the model's list steps round to the first.
        h.Reset({{82232, mobile ? uint8_t(0x7F) : uint8_t(0x2F)}});
        EXPECT_EQ(h.Key(cell, ' ').text, "Off");
        EXPECT_EQ(h.Byte(82232), 0x0F);
    }
}

// The key bytes hold the function's character; a function with a high/low
// option asks for it at once, and the chosen option sets its bit of 93826
// and has every view rebuilt.
TEST_P(KeyDisplayCellsTest, KeysStoreTheirFunctionAndItsHighLowOption) {
    struct Key {
        int32_t cell;
        int32_t address;
    };
    const Key keys[] = {{361, 93860}, {362, 93861}, {367, 93862}, {371, 93866},
                        {372, 93867}, {374, 93869}, {365, 93870}};
    for (const Key& k : keys) {
        SCOPED_TRACE(k.cell);
        h.Reset();
        const Outcome none = h.Pick(k.cell, ' ');
        EXPECT_EQ(none.text, "Null");
        EXPECT_EQ(none.result, 0);
        EXPECT_FALSE(none.Rebuilds());
        EXPECT_EQ(h.Byte(k.address), 0x20);
    }

    struct Option {
        int32_t function;
        uint8_t bit;
        const char* text;
    };
    const Option options[] = {
        {'0', 0x20, "TX Power"}, {'4', 0x40, "Squelch Level (Hold)"}, {'2', 0x80, "Audio Level"}};
    for (const Option& o : options) {
        SCOPED_TRACE(o.text);
        h.Reset({{93826, 0x00}});
        const Outcome chosen = h.Pick(367, o.function);
        EXPECT_EQ(chosen.result, 1);
        ASSERT_EQ(h.Popups().Log().size(), 1u);
        EXPECT_EQ(h.Popups().Log()[0].key, "GI_Sheet_Sel_KDisp_KeyOpt_HL");
        EXPECT_EQ(h.Popups().Log()[0].listCellId, kFlexKeyOpt);
        EXPECT_EQ(h.Byte(93862), o.function);
        EXPECT_EQ(h.Display(367).text, std::string(o.text) + " /L");

        const Outcome high = h.Pick(367, 1, kFlexKeyOpt);
        EXPECT_TRUE(high.Rebuilds());
        EXPECT_EQ(h.Byte(93826), o.bit);
        EXPECT_EQ(h.Display(367).text, std::string(o.text) + " /H");
        h.Pick(367, 0, kFlexKeyOpt);
        EXPECT_EQ(h.Byte(93826), 0x00);
    }
}

// Only the digital PMR dial has a group function.
TEST_P(KeyDisplayCellsTest, TheDialTakesItsModelsList) {
    h.Reset({{93870, 'G'}});
    EXPECT_EQ(h.Display(365).text, Model() % 5 == 4 ? "Group Up/Down" : "error");
}

TEST_P(KeyDisplayCellsTest, OpeningTextAndDisplayLinesRebuildEveryViewOnEveryRequest) {
    EXPECT_TRUE(h.Display(395).Rebuilds());
    EXPECT_TRUE(h.Display(399).Rebuilds());
    EXPECT_TRUE(h.Key(399, 13).Rebuilds());
    EXPECT_FALSE(h.Display(389).Rebuilds());
    EXPECT_FALSE(h.Display(396).Rebuilds());
}

// Without an opening text there is nothing for the opening beep to go with.
TEST_P(KeyDisplayCellsTest, OpeningBeepIsGreyWhileTheOpeningTextIsAllBlanks) {
    h.Reset();
    EXPECT_TRUE(h.Display(396).grey);
    h.Reset({{98965, 'Z'}});
    EXPECT_FALSE(h.Display(396).grey);
    h.Reset({{98942, 'A'}});
    EXPECT_FALSE(h.Display(396).grey);

    h.Reset({{93820, 0x3F}});
    const Outcome picked = h.Pick(396, 3);
    EXPECT_TRUE(picked.grey);
    EXPECT_EQ(h.Byte(93820), 0xFF);
}

INSTANTIATE_TEST_SUITE_P(EachClass, KeyDisplayCellsTest, ::testing::ValuesIn(kEachClass),
                         testsupport::ModelParamName());

} // namespace
