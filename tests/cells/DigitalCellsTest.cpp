// The digital-system cells (284..330) through indActiveCell::Execute on each
// class's start-up data: the two views of one value, the bounded encryption
// pair and unit ID, the trunking timers, the NAC channels, the status
// messages, a channel's strapped talk group and the fixed settings.
#include "SettingsCellFixture.h"
#include "tests/support/ParamNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace settingstest;

// The digital-system categories, and the channel check category (a channel
// row without the channel sheet's first-column rule).
constexpr int32_t kIndividual = 21;
constexpr int32_t kTalkGroup = 22;
constexpr int32_t kOptions = 23;
constexpr int32_t kNac = 24;
constexpr int32_t kStatus = 25;
constexpr int32_t kChannel = 3;
constexpr int32_t kCallList = 16;

constexpr uint8_t kAlignHMask = 0x03;
constexpr uint8_t kCentred = 1;

Bytes Long(int32_t address, uint32_t v) {
    return {{address, static_cast<uint8_t>(v >> 24)},
            {address + 1, static_cast<uint8_t>(v >> 16)},
            {address + 2, static_cast<uint8_t>(v >> 8)},
            {address + 3, static_cast<uint8_t>(v)}};
}
Bytes With(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class DigitalCellsTest : public ::testing::TestWithParam<int32_t> {
protected:
    SettingsCellFixture h{GetParam()};
};

TEST_P(DigitalCellsTest, IdViewsShareOneFieldAndWriteItsWholeWidth) {
    const Bytes individual3 = Long(100576, 0x00012345);
    RunCases(h,
             {
                 {"IndividualHexWritesFourBytes", CellAddress{kIndividual, 284, 3}, Long(100576, 0xFFFFFFFF),
                  Act::Commit, "1A2B", 0, "1A2B", With(Long(100576, 0x00001A2B), {{100580, ' '}})},
                 {"IndividualDecimalWritesFourBytes", CellAddress{kIndividual, 285, 3},
                  Long(100576, 0xFFFFFFFF), Act::Commit, "300", 0, "300", Long(100576, 300)},
                 // A stored value above 16 bits is never cut: the hexadecimal
                 // view shows it whole, the decimal view held to its top, and
                 // neither writes it.
                 {"IndividualHexShowsAWideValueWhole", CellAddress{kIndividual, 284, 3}, individual3,
                  Act::Display, "", 0, "12345", individual3},
                 {"IndividualDecimalHoldsAWideValue", CellAddress{kIndividual, 285, 3}, individual3,
                  Act::Display, "", 0, "65535", individual3},
                 {"IndividualDecimalEnterWritesNothing", CellAddress{kIndividual, 285, 3}, individual3,
                  Act::Enter, "", 0, "65535", individual3},
                 // The cells load their own record on any sheet.
                 {"IndividualOnAnotherSheet",
                  CellAddress{0, 285, 99},
                  {},
                  Act::Commit,
                  "7",
                  0,
                  "7",
                  Long(102112, 7)},
                 {"IndividualName",
                  CellAddress{kIndividual, 286, 3},
                  {},
                  Act::Commit,
                  "UNIT",
                  0,
                  "",
                  With(Long(100576, 0), {{100580, 'U'}, {100583, 'T'}, {100584, ' '}})},
                 {"TalkGroupHexWritesTwoBytes",
                  CellAddress{kTalkGroup, 287, 2},
                  {},
                  Act::Commit,
                  "BEEF",
                  0,
                  "BEEF",
                  {{102156, 0xBE}, {102157, 0xEF}, {102158, ' '}}},
                 {"TalkGroupDecimal",
                  CellAddress{kTalkGroup, 288, 2},
                  {},
                  Act::Commit,
                  "513",
                  0,
                  "513",
                  {{102156, 0x02}, {102157, 0x01}, {102158, ' '}}},
                 {"TalkGroupOnAnotherSheet",
                  CellAddress{0, 287, 249},
                  {},
                  Act::Commit,
                  "1",
                  0,
                  "0001",
                  {{105614, 0x00}, {105615, 0x01}}},
                 {"TalkGroupName",
                  CellAddress{kTalkGroup, 289, 2},
                  {},
                  Act::Commit,
                  "TG",
                  0,
                  "",
                  {{102156, 0}, {102157, 0}, {102158, 'T'}, {102159, 'G'}, {102160, ' '}}},
             });
}

// Neither end of the encryption range can pass the other; the maximum is
// also held to the unit-ID maximum (65535 in the shipped overlay).
TEST_P(DigitalCellsTest, TheEncryptionRangeNeverCrosses) {
    const Bytes range = With(Long(105632, 100), Long(105636, 200));
    RunCases(h, {
                    {"MinimumHeldBelowMaximum", CellAddress{kOptions, 292, 0}, range, Act::Commit, "300", 0,
                     "200", With(Long(105632, 200), Long(105636, 200))},
                    {"MaximumHeldAboveMinimum", CellAddress{kOptions, 293, 0}, range, Act::Commit, "50", 0,
                     "100", With(Long(105632, 100), Long(105636, 100))},
                    {"MaximumHeldToTheUnitMaximum", CellAddress{kOptions, 293, 0}, range, Act::Commit,
                     "70000", 0, "65535", Long(105636, 65535)},
                    {"MinimumWrapsWithinItsRange", CellAddress{kOptions, 292, 0},
                     With(Long(105632, 200), Long(105636, 200)), Act::Space, "", 0, "0", Long(105632, 0)},
                    {"MaximumTypedInside", CellAddress{kOptions, 293, 0}, range, Act::Commit, "150", 0, "150",
                     With(Long(105632, 100), Long(105636, 150))},
                });
}

TEST_P(DigitalCellsTest, TheUnitIdIsHeldToOneUpToTheMaximum) {
    const Bytes global = {{105658, 0x80}};
    RunCases(
        h,
        {
            {"HexAboveTheMaximum", CellAddress{kOptions, 310, 0}, global, Act::Commit, "FFFFFF", 0, "00FFFF",
             Long(105628, 65535)},
            {"HexZero", CellAddress{kOptions, 310, 0}, global, Act::Commit, "0", 0, "000001",
             Long(105628, 1)},
            {"HexInside", CellAddress{kOptions, 310, 0}, global, Act::Commit, "1A", 0, "00001A",
             Long(105628, 0x1A)},
            {"DecimalZero", CellAddress{kOptions, 311, 0}, global, Act::Commit, "0", 0, "1", Long(105628, 1)},
            {"DecimalAboveTheMaximum", CellAddress{kOptions, 311, 0}, global, Act::Commit, "70000", 0,
             "65535", Long(105628, 65535)},
            {"DecimalHoldsAWideValueUnwritten", CellAddress{kOptions, 311, 0},
             With(global, Long(105628, 0x10000)), Act::Display, "", 0, "65535", Long(105628, 0x10000)},
        });
    // Grey while the unit ID is not global, and every view follows them.
    for (int32_t cell : {310, 311}) {
        SCOPED_TRACE(cell);
        h.Reset({{105658, 0x7F}});
        const Outcome perChannel = h.Display(CellAddress{kOptions, cell, 0});
        EXPECT_TRUE(perChannel.grey);
        EXPECT_TRUE(perChannel.Rebuilds());
        h.Reset(global);
        EXPECT_FALSE(h.Display(CellAddress{kOptions, cell, 0}).grey);
    }
    h.Reset();
    EXPECT_TRUE(h.Display(CellAddress{kOptions, 309, 0}).Rebuilds());
}

// The radio takes no 0 for these timers: a stored 0 becomes 1 when shown,
// though "off" can still be chosen and lasts until the next request.
TEST_P(DigitalCellsTest, TrunkingTimersTurnAStoredZeroIntoOne) {
    RunCases(h, {
                    {"BusyWaitFirstDisplay",
                     CellAddress{kOptions, 302, 0},
                     {{105664, 0}},
                     Act::Display,
                     "",
                     0,
                     "  1.000",
                     {{105664, 1}}},
                    {"GroupWaitTenths",
                     CellAddress{kOptions, 303, 0},
                     {{105665, 0}},
                     Act::Display,
                     "",
                     0,
                     "  0.100",
                     {{105665, 1}}},
                    {"RandomAccessTimer",
                     CellAddress{kOptions, 304, 0},
                     {{105666, 25}},
                     Act::Display,
                     "",
                     0,
                     "  2.500",
                     {{105666, 25}}},
                    {"OffChosen",
                     CellAddress{kOptions, 302, 0},
                     {{105664, 5}},
                     Act::Commit,
                     "off",
                     0,
                     "OFF",
                     {{105664, 0}}},
                });
    h.Reset({{105664, 5}});
    h.Commit(CellAddress{kOptions, 302, 0}, "off");
    EXPECT_EQ(h.Display(CellAddress{kOptions, 302, 0}).text, "  1.000");
    EXPECT_EQ(h.Byte(105664), 1);
}

// The transmit NAC follows the receive NAC while the two are equal, and
// shows "<-" then; the channel columns work the same way.
TEST_P(DigitalCellsTest, TheTransmitNacFollowsAnEqualReceiveNac) {
    const Bytes equal = {{105792, 0x00}, {105793, 0x12}, {105794, 0x00}, {105795, 0x12}};
    const Bytes apart = {{105792, 0x00}, {105793, 0x12}, {105794, 0x00}, {105795, 0x13}};
    RunCases(h, {
                    {"BothFollow",
                     CellAddress{kNac, 324, 4},
                     equal,
                     Act::Commit,
                     "20",
                     0,
                     "20",
                     {{105792, 0x00}, {105793, 0x20}, {105794, 0x00}, {105795, 0x20}}},
                    {"OnlyReceive",
                     CellAddress{kNac, 324, 4},
                     apart,
                     Act::Commit,
                     "20",
                     0,
                     "20",
                     {{105792, 0x00}, {105793, 0x20}, {105794, 0x00}, {105795, 0x13}}},
                    {"OnAnotherSheet",
                     CellAddress{0, 324, 4},
                     equal,
                     Act::Commit,
                     "3F",
                     0,
                     "3F",
                     {{105793, 0x3F}, {105795, 0x3F}}},
                    {"TransmitOwnValue",
                     CellAddress{kNac, 325, 4},
                     equal,
                     Act::Commit,
                     "7",
                     0,
                     "07",
                     {{105793, 0x12}, {105795, 0x07}}},
                    {"HeldToSixtyThree",
                     CellAddress{kNac, 325, 4},
                     equal,
                     Act::Commit,
                     "FF",
                     0,
                     "3F",
                     {{105793, 0x12}, {105795, 0x3F}}},
                });
    h.Reset(equal);
    const Outcome same = h.Display(CellAddress{kNac, 325, 4});
    EXPECT_EQ(same.text, "<-");
    EXPECT_EQ(same.cell.layout & kAlignHMask, kCentred);
    const Outcome typing = h.Key(CellAddress{kNac, 325, 4}, '5');
    EXPECT_EQ(typing.text, "5");
    EXPECT_EQ(typing.result, 2);
    EXPECT_EQ(typing.cell.layout & kAlignHMask, 0);
    h.Reset(apart);
    const Outcome own = h.Display(CellAddress{kNac, 325, 4});
    EXPECT_EQ(own.text, "13");
    EXPECT_EQ(own.cell.layout & kAlignHMask, 0);
}

TEST_P(DigitalCellsTest, ListFieldsShowAndStoreExactBytes) {
    RunCases(h, {
                    // Bit n of the bitmap at 93907, from its first byte's bit 7.
                    {"NacSelectedInverted",
                     CellAddress{kNac, 326, 9},
                     {{93908, 0x00}},
                     Act::Display,
                     "",
                     0,
                     "On",
                     {}},
                    {"NacSelectPicked",
                     CellAddress{kNac, 326, 9},
                     {{93908, 0x00}},
                     Act::Pick,
                     "",
                     1,
                     "Off",
                     {{93907, 0x00}, {93908, 0x40}}},
                    {"StatusBeep",
                     CellAddress{kStatus, 327, 1},
                     {{106726, 0xF0}},
                     Act::Pick,
                     "",
                     7,
                     "Beep 7",
                     {{106726, 0xF7}}},
                    {"StatusSelection",
                     CellAddress{kStatus, 328, 1},
                     {{106214, 0x00}},
                     Act::Pick,
                     "",
                     1,
                     "On",
                     {{106214, 0x02}}},
                    {"StatusReceiveText",
                     CellAddress{kStatus, 329, 31},
                     {},
                     Act::Commit,
                     "RX",
                     0,
                     "",
                     {{107194, 'R'}, {107195, 'X'}, {107196, ' '}}},
                    {"StatusTransmitText",
                     CellAddress{kStatus, 330, 31},
                     {},
                     Act::Commit,
                     "TX",
                     0,
                     "",
                     {{106682, 'T'}, {106683, 'X'}, {107194, ' '}}},
                });
}

TEST_P(DigitalCellsTest, FixedFieldsShowAndStoreExactBytes) {
    RunCases(h, {
                    {"PreambleTensShown",
                     CellAddress{kOptions, 296, 0},
                     {{105641, 25}},
                     Act::Display,
                     "",
                     0,
                     "250",
                     {{105641, 25}}},
                    {"PreambleTyped",
                     CellAddress{kOptions, 296, 0},
                     {},
                     Act::Commit,
                     "120",
                     0,
                     "120",
                     {{105641, 12}}},
                    {"PreambleStepsByTen",
                     CellAddress{kOptions, 296, 0},
                     {{105641, 25}},
                     Act::Space,
                     "",
                     0,
                     "260",
                     {{105641, 26}}},
                    {"IdmrBit7",
                     CellAddress{kOptions, 290, 0},
                     {{105656, 0x7F}},
                     Act::Pick,
                     "",
                     1,
                     "ON",
                     {{105656, 0xFF}}},
                    {"ReceiveUnitIdInverted",
                     CellAddress{kOptions, 294, 0},
                     {{105656, 0x00}},
                     Act::Pick,
                     "",
                     1,
                     "OFF",
                     {{105656, 0x20}}},
                    {"HangTenths",
                     CellAddress{kOptions, 295, 0},
                     {},
                     Act::Commit,
                     "1.2",
                     0,
                     "  1.200",
                     {{105640, 12}}},
                    {"ReceiveBeepHighNibble",
                     CellAddress{kOptions, 306, 0},
                     {{105663, 0x0A}},
                     Act::Pick,
                     "",
                     5,
                     "Beep 5",
                     {{105663, 0x5A}}},
                    {"GroupBeepLowNibble",
                     CellAddress{kOptions, 313, 0},
                     {{105663, 0xA0}},
                     Act::Pick,
                     "",
                     5,
                     "Beep 5",
                     {{105663, 0xA5}}},
                    {"GpsSentenceBits65",
                     CellAddress{kOptions, 308, 0},
                     {{105668, 0x80}},
                     Act::Pick,
                     "",
                     3,
                     "GGA+RMC",
                     {{105668, 0xE0}}},
                    {"GlobalBit7",
                     CellAddress{kOptions, 309, 0},
                     {{105658, 0x05}},
                     Act::Pick,
                     "",
                     1,
                     "Global",
                     {{105658, 0x85}}},
                    {"ScanWaitHundredths",
                     CellAddress{kOptions, 315, 0},
                     {},
                     Act::Commit,
                     "0.25",
                     0,
                     "  0.250",
                     {{105643, 25}}},
                    {"FsspTwentieths",
                     CellAddress{kOptions, 316, 0},
                     {},
                     Act::Commit,
                     "2.5",
                     0,
                     "  2.500",
                     {{105659, 50}}},
                    {"AckWaitHeldToTwenty",
                     CellAddress{kOptions, 317, 0},
                     {},
                     Act::Commit,
                     "5",
                     0,
                     "  1.000",
                     {{105660, 20}}},
                    {"EmergencyText",
                     CellAddress{kOptions, 320, 0},
                     {},
                     Act::Commit,
                     "HELP ME",
                     0,
                     "",
                     {{98966, 'H'}, {98972, 'E'}, {98989, ' '}, {98990, 0x00}}},
                    {"EmergencyBeepSharedByte",
                     CellAddress{kOptions, 321, 0},
                     {{93901, 0xF0}},
                     Act::Pick,
                     "",
                     2,
                     "Beep 2",
                     {{93901, 0xF2}}},
                    {"IdDisplayBit4",
                     CellAddress{kOptions, 322, 0},
                     {{93901, 0x0F}},
                     Act::Pick,
                     "",
                     1,
                     "ON",
                     {{93901, 0x1F}}},
                    {"RetriesWholeByte",
                     CellAddress{kOptions, 305, 0},
                     {},
                     Act::Commit,
                     "255",
                     0,
                     "255",
                     {{105667, 255}}},
                });
}

// Settings that sit on the sheet of a record write that record back after a
// change: the call list's row brings its address's two 0xFF bytes.
TEST_P(DigitalCellsTest, SomeSettingsWriteBackTheRecordOfTheirSheet) {
    const Bytes row5 = {{82020, 0x12}, {82021, 0x34}, {82022, 0x00}, {82023, 0x00}};
    const Bytes stored = {{82020, 0x12}, {82021, 0x34}, {82022, 0xFF}, {82023, 0xFF}};
    for (int32_t cell : {306, 309, 312, 313, 321}) {
        SCOPED_TRACE(cell);
        h.Reset(row5);
        h.Display(CellAddress{kCallList, cell, 5});
        EXPECT_EQ(Hex(h.Read(row5)), Hex(row5)) << "only a change writes";
        h.Key(CellAddress{kCallList, cell, 5}, ' ');
        EXPECT_EQ(Hex(h.Read(stored)), Hex(stored));
    }
}

// A channel's strapped talk group means nothing to an analog row.
TEST_P(DigitalCellsTest, StrappedIsGreyOnAnAnalogRow) {
    constexpr int32_t kModeByte = 65408 + 12; // channel row 0's S[12], bits 1-0
    h.Reset({{kModeByte, 0x00}});
    EXPECT_TRUE(h.Display(CellAddress{kChannel, 297, 0}).grey);
    h.Reset({{kModeByte, 0x03}});
    EXPECT_FALSE(h.Display(CellAddress{kChannel, 297, 0}).grey);
    h.Reset({{kModeByte, 0x00}, {82512 + 17, 0x00}});
    EXPECT_EQ(h.Pick(CellAddress{kChannel, 297, 0}, 1).text, "On");
    EXPECT_EQ(h.Byte(82512 + 17), 0x08);
}

INSTANTIATE_TEST_SUITE_P(EachClass, DigitalCellsTest, ::testing::ValuesIn(kEachClass),
                         testsupport::ModelParamName());

} // namespace
