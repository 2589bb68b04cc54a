// The MSK signalling cells (201..283) through indActiveCell::Execute on each
// class's start-up data: the address plan and its marks, the ID groups, the
// call list with its decimal digits, the status messages with their fixed
// last row, the timing values and the configuration; exact bytes and texts.
#include "SettingsCellFixture.h"
#include "tests/support/ParamNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace settingstest;

// The MSK categories.
constexpr int32_t kAdrRange = 14;
constexpr int32_t kIdGroup = 15;
constexpr int32_t kCallList = 16;
constexpr int32_t kStatus = 17;
constexpr int32_t kShortText = 18;
constexpr int32_t kTiming = 19;
constexpr int32_t kConfig = 20;

// G, the first group address: 99256, big-endian.
Bytes GroupStart(int32_t g) {
    return {{99256, static_cast<uint8_t>(g >> 8)}, {99257, static_cast<uint8_t>(g)}};
}
Bytes With(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class MskCellsTest : public ::testing::TestWithParam<int32_t> {
protected:
    SettingsCellFixture h{GetParam()};
};

TEST_P(MskCellsTest, WithoutGroupAddressesThereIsNoIndividualRange) {
    h.Reset(GroupStart(0));
    for (int32_t row : {0, 1, 2, 7})
        EXPECT_EQ(h.Display(CellAddress{kAdrRange, 201, row}).text, "----") << row;
}

TEST_P(MskCellsTest, TheRangesFollowTheGroupStart) {
    h.Reset(GroupStart(100));
    EXPECT_EQ(h.Display(CellAddress{kAdrRange, 201, 0}).text, "0000 (No Edit)");
    EXPECT_EQ(h.Display(CellAddress{kAdrRange, 201, 1}).text, "0099 (No Edit)");
    EXPECT_EQ(h.Display(CellAddress{kAdrRange, 201, 2}).text, "error");
    EXPECT_EQ(h.Display(CellAddress{kAdrRange, 202, 0}).text, "0100");
    EXPECT_EQ(h.Display(CellAddress{kAdrRange, 202, 1}).text, "4095 (No Edit)");
    h.Reset(GroupStart(1));
    EXPECT_EQ(h.Display(CellAddress{kAdrRange, 201, 1}).text, "0000 (No Edit)");
}

// A mark tells what the image holds once the request is done.
TEST_P(MskCellsTest, AddressMarksDescribeTheStoredValueAfterTheRequest) {
    struct Mark {
        const char* name;
        CellAddress cell;
        Bytes before;
        Act act;
        std::string typed;
        bool error;
        Bytes after;
    };
    const Bytes g100 = GroupStart(100);
    const Mark cases[] = {
        {"KillerAtG",
         {kAdrRange, 205, 0},
         With(g100, {{99260, 0}, {99261, 100}}),
         Act::Display,
         "",
         true,
         {}},
        {"KillerBelowG",
         {kAdrRange, 205, 0},
         With(g100, {{99260, 0}, {99261, 99}}),
         Act::Display,
         "",
         false,
         {}},
        {"KillerTypedInRange",
         {kAdrRange, 205, 0},
         With(g100, {{99260, 0}, {99261, 100}}),
         Act::Commit,
         "5",
         false,
         {{99260, 0x00}, {99261, 0x05}}},
        {"KillerTypedOutOfRangeIsStored",
         {kAdrRange, 205, 0},
         g100,
         Act::Commit,
         "150",
         true,
         {{99260, 0x00}, {99261, 0x96}}},
        // ID group 0 is an individual address, the others are group addresses.
        {"IdGroup0AtGroupAddress",
         {kIdGroup, 206, 0},
         With(g100, {{99000, 0}, {99001, 200}}),
         Act::Display,
         "",
         true,
         {}},
        {"IdGroup3AtGroupAddress",
         {kIdGroup, 206, 3},
         With(g100, {{99096, 0}, {99097, 200}}),
         Act::Display,
         "",
         false,
         {}},
        {"IdGroup3BelowG",
         {kIdGroup, 206, 3},
         With(g100, {{99096, 0}, {99097, 99}}),
         Act::Display,
         "",
         true,
         {}},
        {"IdGroup0TypedIntoRange",
         {kIdGroup, 206, 0},
         With(g100, {{99000, 0}, {99001, 200}}),
         Act::Commit,
         "7",
         false,
         {{99000, 0x00}, {99001, 0x07}}},
        {"StatusBaseBelowG",
         {kConfig, 263, 0},
         With(g100, {{99728, 0}, {99729, 99}}),
         Act::Display,
         "",
         false,
         {}},
        {"StatusBaseTypedAtG",
         {kConfig, 263, 0},
         g100,
         Act::Commit,
         "100",
         true,
         {{99728, 0x00}, {99729, 0x64}}},
        {"GpsBaseTypedAboveG",
         {kConfig, 270, 0},
         g100,
         Act::Commit,
         "4000",
         true,
         {{99730, 0x0F}, {99731, 0xA0}}},
        {"GpsBaseTypedBelowG",
         {kConfig, 270, 0},
         With(g100, {{99730, 0x0F}, {99731, 0xA0}}),
         Act::Commit,
         "0",
         false,
         {{99730, 0x00}, {99731, 0x00}}},
        {"CallListInRange", {kCallList, 211, 5}, {}, Act::Display, "", false, {}},
    };
    for (const Mark& c : cases) {
        SCOPED_TRACE(c.name);
        h.Reset(c.before);
        EXPECT_EQ(h.Do(c.cell, c.act, c.typed).error, c.error);
        EXPECT_EQ(Hex(h.Read(c.after)), Hex(c.after));
    }
}

// G is written at once, the views rebuilt, and every mark and range follows.
TEST_P(MskCellsTest, TypingTheGroupStartMovesEveryRangeAndMark) {
    h.Reset(With(GroupStart(100), {{99260, 0}, {99261, 60}}));
    EXPECT_FALSE(h.Display(CellAddress{kAdrRange, 205, 0}).error);
    const Outcome typed = h.Commit(CellAddress{kAdrRange, 202, 0}, "50");
    EXPECT_EQ(typed.text, "0050");
    EXPECT_TRUE(typed.Rebuilds());
    EXPECT_EQ(Hex(h.Read({{99256, 0x00}, {99257, 0x32}})), Hex({{99256, 0x00}, {99257, 0x32}}));
    EXPECT_TRUE(h.Display(CellAddress{kAdrRange, 205, 0}).error);
    EXPECT_EQ(h.Display(CellAddress{kAdrRange, 201, 1}).text, "0049 (No Edit)");
    EXPECT_FALSE(h.Display(CellAddress{kAdrRange, 202, 0}).Rebuilds());
    // Row 1 is the fixed end of the range.
    h.Commit(CellAddress{kAdrRange, 202, 1}, "7");
    EXPECT_EQ(h.Byte(99257), 0x32);
}

TEST_P(MskCellsTest, CallListAddressesAreFourDecimalDigits) {
    RunCases(h, {
                    {"TypedAddress",
                     CellAddress{kCallList, 211, 2},
                     {},
                     Act::Commit,
                     "4095",
                     0,
                     "4095",
                     {{82008, 0x40}, {82009, 0x95}, {82010, 0xFF}, {82011, 0xFF}, {82012, 0x00}}},
                    {"Padded",
                     CellAddress{kCallList, 211, 0},
                     {{82000, 0x00}, {82001, 0x42}},
                     Act::Display,
                     "",
                     0,
                     "0042",
                     {}},
                    // The cell loads the call list's row whatever sheet it is on.
                    {"OnAnotherSheet",
                     CellAddress{0, 211, 31},
                     {},
                     Act::Commit,
                     "1234",
                     0,
                     "1234",
                     {{82124, 0x12}, {82125, 0x34}, {82126, 0xFF}, {82127, 0xFF}}},
                });
    h.Reset({{82000, 0x12}, {82001, 0xA4}});
    const Outcome bad = h.Display(CellAddress{kCallList, 211, 0});
    EXPECT_EQ(bad.text, "65535");
    EXPECT_TRUE(bad.error);
}

// Each record keeps a bit that says whether its name holds anything but blanks.
TEST_P(MskCellsTest, NameBitsFollowTheNames) {
    struct Name {
        CellAddress cell;
        int32_t text;
        int32_t flagByte;
        uint8_t flag;
    };
    const Name names[] = {
        {{kIdGroup, 207, 1}, 99034, 99061, 0x04},
        {{kCallList, 213, 0}, 99264, 99277, 0x20},
        {{0, 213, 2}, 99292, 99305, 0x20},
    };
    for (const Name& n : names) {
        SCOPED_TRACE(n.text);
        h.Reset({{n.flagByte, 0x00}});
        h.Commit(n.cell, "ALPHA");
        EXPECT_EQ(h.Byte(n.text), 'A');
        EXPECT_EQ(h.Byte(n.text + 4), 'A');
        EXPECT_EQ(h.Byte(n.text + 11), ' ');
        EXPECT_EQ(h.Byte(n.flagByte), n.flag);
        h.Commit(n.cell, "");
        EXPECT_EQ(h.Byte(n.text), ' ');
        EXPECT_EQ(h.Byte(n.flagByte), 0x00);
    }
}

TEST_P(MskCellsTest, RecordFieldsShowAndStoreExactBytes) {
    RunCases(h, {
                    {"IdGroupAlertThreeBits",
                     CellAddress{kIdGroup, 208, 2},
                     {{99092, 0xFD}},
                     Act::Pick,
                     "",
                     2,
                     "Beep 2",
                     {{99092, 0xFA}}},
                    {"IdGroupSFunc",
                     CellAddress{kIdGroup, 210, 2},
                     {{99092, 0x00}},
                     Act::Pick,
                     "",
                     1,
                     "On",
                     {{99092, 0x08}}},
                    // Bit 2 follows the (blank) name.
                    {"IdGroupBell",
                     CellAddress{kIdGroup, 209, 7},
                     {{99253, 0xFC}},
                     Act::Pick,
                     "",
                     3,
                     "Bell 3",
                     {{99253, 0xFB}}},
                    // Digits 1..4 in bits 7..4; space sets them all.
                    {"CallListDigits",
                     CellAddress{kCallList, 212, 1},
                     {{99290, 0x01}},
                     Act::Space,
                     "",
                     0,
                     "1234\n",
                     {{99290, 0xF1}}},
                    {"CallListUpdate",
                     CellAddress{kCallList, 214, 1},
                     {{99290, 0xF0}},
                     Act::Pick,
                     "",
                     1,
                     "Enabled",
                     {{99290, 0xF1}}},
                    // Selected while bit 4 is clear.
                    {"CallListSelected",
                     CellAddress{kCallList, 215, 1},
                     {{99291, 0xDF}},
                     Act::Pick,
                     "",
                     1,
                     "Enabled",
                     {{99291, 0xCF}}},
                    {"StatusBeep",
                     CellAddress{kStatus, 216, 1},
                     {{100156, 0xF0}},
                     Act::Pick,
                     "",
                     5,
                     "Beep 5",
                     {{100156, 0xF5}}},
                    {"StatusPriority",
                     CellAddress{kStatus, 220, 1},
                     {{99772, 0x00}},
                     Act::Pick,
                     "",
                     1,
                     "Priority",
                     {{99772, 0x01}}},
                    {"StatusSelection",
                     CellAddress{kStatus, 221, 1},
                     {{99772, 0x01}},
                     Act::Pick,
                     "",
                     1,
                     "On",
                     {{99772, 0x03}}},
                    {"StatusTransmitText",
                     CellAddress{kStatus, 223, 0},
                     {},
                     Act::Commit,
                     "GO",
                     0,
                     "",
                     {{99744, 'G'}, {99745, 'O'}, {99746, ' '}, {100128, ' '}}},
                    {"ShortText",
                     CellAddress{kShortText, 224, 7},
                     {},
                     Act::Commit,
                     "HELP",
                     0,
                     "",
                     {{82212, 'H'}, {82215, 'P'}, {82216, ' '}}},
                    {"ShortTextSelection",
                     CellAddress{kShortText, 227, 7},
                     {{100526, 0x00}},
                     Act::Pick,
                     "",
                     1,
                     "On",
                     {{100526, 0x02}}},
                });
}

// The status tables hold a 24th row that the user's rows never reach: its
// receive side shows what the radio holds, in its own colour, and takes no key.
// (Texts are painted in the radio's characters: their display text is empty.)
TEST_P(MskCellsTest, TheLastStatusRowIsReadOnlyOnItsReceiveSide) {
    constexpr ColorValue kFixed = 0x008080;
    const Bytes row23 = {{100508, 0xE3}, {100496, 'S'}, {100497, '2'}, {100498, '3'}};
    struct Fixed {
        int32_t cell;
        const char* shown;
    };
    for (const Fixed& c : {Fixed{216, "Beep 3"}, Fixed{217, "On"}, Fixed{218, "On"}, Fixed{222, ""}}) {
        SCOPED_TRACE(c.cell);
        h.Reset(row23);
        const CellAddress at{kStatus, c.cell, 23};
        const Outcome shown = h.Display(at);
        EXPECT_EQ(shown.text, c.shown);
        EXPECT_EQ(shown.ink, kFixed);
        EXPECT_EQ(h.Key(at, ' ').result, 0);
        h.Pick(at, 0);
        h.Commit(at, "X");
        EXPECT_EQ(Hex(h.Read(row23)), Hex(row23));
    }
    // The transmit side and the other switches of row 23 edit.
    h.Reset(row23);
    h.Key(CellAddress{kStatus, 219, 23}, ' ');
    EXPECT_EQ(h.Byte(100508), 0xA3);
    h.Commit(CellAddress{kStatus, 223, 23}, "TX");
    EXPECT_EQ(h.Byte(100112), 'T');
    // Row 22 edits its receive side.
    h.Reset({{100492, 0x00}});
    EXPECT_NE(h.Display(CellAddress{kStatus, 216, 22}).ink, kFixed);
    h.Key(CellAddress{kStatus, 216, 22}, ' ');
    EXPECT_EQ(h.Byte(100492), 0x01);
}

TEST_P(MskCellsTest, FixedFieldsShowAndStoreExactBytes) {
    RunCases(
        h,
        {
            {"Common",
             CellAddress{kAdrRange, 203, 0},
             {},
             Act::Commit,
             "4095",
             0,
             "4095",
             {{99258, 0x0F}, {99259, 0xFF}}},
            {"CommonRefusesAboveTheTop",
             CellAddress{kAdrRange, 203, 0},
             {{99258, 0}, {99259, 7}},
             Act::Commit,
             "4096",
             0,
             "0007",
             {{99258, 0x00}, {99259, 0x07}}},
            {"CountryCodeWholeByte", CellAddress{kAdrRange, 204, 0}, {}, Act::Pick, "", 9, "9", {{99262, 9}}},
            {"RetriesOneToEight", CellAddress{kTiming, 228, 0}, {}, Act::Commit, "9", 0, "8", {{99712, 8}}},
            {"TacHundredths",
             CellAddress{kTiming, 232, 0},
             {},
             Act::Commit,
             "0.5",
             0,
             "  0.50",
             {{99716, 50}}},
            {"TacAtLeastOneHundredth",
             CellAddress{kTiming, 232, 0},
             {},
             Act::Commit,
             "0",
             0,
             "  0.01",
             {{99716, 1}}},
            {"LetCall", CellAddress{kTiming, 253, 0}, {}, Act::Commit, "2.55", 0, "  2.55", {{99721, 255}}},
            {"BusyCheck", CellAddress{kTiming, 251, 0}, {}, Act::Commit, "200", 0, "200", {{99722, 200}}},
            {"SyncWordHex",
             CellAddress{kConfig, 256, 0},
             {},
             Act::Commit,
             "C3A5",
             0,
             "C3A5",
             {{99732, 0xC3}, {99733, 0xA5}}},
            {"PttCallBit7",
             CellAddress{kConfig, 254, 0},
             {{99739, 0x7F}},
             Act::Pick,
             "",
             1,
             "Enable",
             {{99739, 0xFF}}},
            {"GpsSentenceBits10",
             CellAddress{kConfig, 282, 0},
             {{99739, 0xFC}},
             Act::Pick,
             "",
             2,
             "GLL",
             {{99739, 0xFE}}},
            {"AniDisplayBits54",
             CellAddress{kConfig, 261, 0},
             {{99741, 0xCF}},
             Act::Pick,
             "",
             2,
             "Name",
             {{99741, 0xEF}}},
            {"AniTimerTenths",
             CellAddress{kConfig, 262, 0},
             {},
             Act::Commit,
             "1.5",
             0,
             "  1.500",
             {{99734, 15}}},
            {"IntervalHalfMinutes",
             CellAddress{kConfig, 274, 0},
             {},
             Act::Commit,
             "0:10",
             0,
             " 0:30",
             {{99738, 1}}},
            {"PriorityASharedByte",
             CellAddress{kConfig, 264, 0},
             {{93824, 0xBF}},
             Act::Pick,
             "",
             1,
             "Enable",
             {{93824, 0xFF}}},
            {"SendEmergencyBit7",
             CellAddress{kConfig, 280, 0},
             {{99740, 0x00}},
             Act::Pick,
             "",
             1,
             "Enable",
             {{99740, 0x80}}},
            {"BeepRepeatSeconds",
             CellAddress{kConfig, 258, 0},
             {},
             Act::Commit,
             "12",
             0,
             " 12.000",
             {{99735, 12}}},
        });
}

// A timing value on the sheet of a record writes the record back too: the
// call list's address bytes come back as their digits and two 0xFF bytes.
TEST_P(MskCellsTest, TimingValuesWriteBackTheRecordOfTheirSheet) {
    h.Reset({{82020, 0x12}, {82021, 0x34}, {82022, 0x00}, {82023, 0x00}});
    h.Commit(CellAddress{kCallList, 252, 5}, "1");
    EXPECT_EQ(h.Byte(99720), 100);
    EXPECT_EQ(Hex(h.Read({{82020, 0x12}, {82021, 0x34}, {82022, 0xFF}, {82023, 0xFF}})),
              Hex({{82020, 0x12}, {82021, 0x34}, {82022, 0xFF}, {82023, 0xFF}}));
    h.Reset({{82020, 0x12}, {82021, 0x34}, {82022, 0x00}, {82023, 0x00}});
    h.Display(CellAddress{kCallList, 252, 5});
    EXPECT_EQ(h.Byte(82022), 0x00) << "only a change writes";
}

TEST_P(MskCellsTest, SpaceAndBackspaceWrapAddressesAndStepLists) {
    RunCases(h, {
                    {"GroupStartTopToZero", CellAddress{kAdrRange, 202, 0}, GroupStart(4095), Act::Space, "",
                     0, "0000", GroupStart(0)},
                    {"GroupStartZeroToTop", CellAddress{kAdrRange, 202, 0}, GroupStart(0), Act::Back, "", 0,
                     "4095", GroupStart(4095)},
                    {"CommonTopToZero",
                     CellAddress{kAdrRange, 203, 0},
                     {{99258, 0x0F}, {99259, 0xFF}},
                     Act::Space,
                     "",
                     0,
                     "0000",
                     {{99258, 0x00}, {99259, 0x00}}},
                    {"CommonZeroToTop",
                     CellAddress{kAdrRange, 203, 0},
                     {{99258, 0}, {99259, 0}},
                     Act::Back,
                     "",
                     0,
                     "4095",
                     {{99258, 0x0F}, {99259, 0xFF}}},
                    {"KillerStepsUp",
                     CellAddress{kAdrRange, 205, 0},
                     {{99260, 0}, {99261, 9}},
                     Act::Space,
                     "",
                     0,
                     "0010",
                     {{99261, 10}}},
                    {"IdGroupWraps",
                     CellAddress{kIdGroup, 206, 4},
                     {{99128, 0x0F}, {99129, 0xFF}},
                     Act::Space,
                     "",
                     0,
                     "0000",
                     {{99128, 0x00}, {99129, 0x00}}},
                    {"CallListWraps",
                     CellAddress{kCallList, 211, 3},
                     {{82012, 0x00}, {82013, 0x00}},
                     Act::Back,
                     "",
                     0,
                     "4095",
                     {{82012, 0x40}, {82013, 0x95}, {82014, 0xFF}, {82015, 0xFF}}},
                    {"GpsBaseWraps",
                     CellAddress{kConfig, 270, 0},
                     {{99730, 0x0F}, {99731, 0xFF}},
                     Act::Space,
                     "",
                     0,
                     "0000",
                     {{99730, 0x00}, {99731, 0x00}}},
                    {"CountryCodeLastToFirst",
                     CellAddress{kAdrRange, 204, 0},
                     {{99262, 9}},
                     Act::Space,
                     "",
                     0,
                     "0",
                     {{99262, 0}}},
                    {"CountryCodeFirstToLast",
                     CellAddress{kAdrRange, 204, 0},
                     {{99262, 0}},
                     Act::Back,
                     "",
                     0,
                     "9",
                     {{99262, 9}}},
                    {"BellBack",
                     CellAddress{kIdGroup, 209, 0},
                     {{99029, 0x00}},
                     Act::Back,
                     "",
                     0,
                     "Bell 3",
                     {{99029, 0x03}}},
                });
}

INSTANTIATE_TEST_SUITE_P(EachClass, MskCellsTest, ::testing::ValuesIn(kEachClass),
                         testsupport::ModelParamName());

} // namespace
