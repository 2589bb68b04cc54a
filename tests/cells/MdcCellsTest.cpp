// The MDC signalling cells (815..962) through indActiveCell::Execute on each
// class's start-up data: the system records and function tables entry by
// entry, the status and message slots by block and slot, times in
// thousandths, the status numbers, the revive choice, the group ID, the
// external outputs, the aliases, a channel's system and the status check.
#include "SettingsCellFixture.h"
#include "tests/support/ParamNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace settingstest;

constexpr int32_t kChannel = 3; // a channel row without the first-column rule
constexpr int32_t kAlias = 29;

bool IsMobile(int32_t model) {
    return model >= 5;
}
bool IsPmrZ(int32_t model) {
    return model % 5 == 4;
}

Bytes Word(int32_t address, uint16_t v) {
    return {{address, static_cast<uint8_t>(v >> 8)}, {address + 1, static_cast<uint8_t>(v)}};
}

class MdcCellsTest : public ::testing::TestWithParam<int32_t> {
protected:
    int32_t Model() const { return GetParam(); }
    SettingsCellFixture h{GetParam()};
};

TEST_P(MdcCellsTest, TableFieldsShowAndStoreExactBytes) {
    RunCases(
        h,
        {
            // System 3's record is 137478 + 36; a typed number picks its entry.
            {"SystemGeneralTyped", CellAddress{0, 817, 3}, {}, Act::Commit, "4", 0, "4", {{137514, 4}}},
            {"SystemTypedNearest", CellAddress{0, 948, 3}, {}, Act::Commit, "9", 0, "4", {{137524, 4}}},
            {"SystemStunPicked", CellAddress{0, 822, 4}, {}, Act::Pick, "", 2, "2", {{137531, 2}}},
            {"GeneralMdcOnBit7",
             CellAddress{0, 829, 1},
             {{137558, 0x7F}},
             Act::Pick,
             "",
             1,
             "ON",
             {{137558, 0xFF}}},
            {"GeneralMuteTypeNibble",
             CellAddress{0, 927, 0},
             {{137538, 0xF0}},
             Act::Pick,
             "",
             2,
             "Unmute",
             {{137538, 0xF2}}},
            {"GeneralSelfIdWord",
             CellAddress{0, 830, 2},
             {},
             Act::Commit,
             "A1B2",
             0,
             "A1B2",
             Word(137579, 0xA1B2)},
            {"GeneralSyncThreshold", CellAddress{0, 892, 0}, {}, Act::Commit, "50", 0, "40", {{137546, 40}}},
            {"PttIdTimeThousandths",
             CellAddress{0, 872, 1},
             {},
             Act::Commit,
             "1.5",
             0,
             "  1.500",
             Word(137646, 0x05DC)},
            {"PttIdTimeHeldToAMinute",
             CellAddress{0, 873, 0},
             {},
             Act::Commit,
             "61",
             0,
             " 60.000",
             Word(137642, 60000)},
            {"MenuTimeoutAtLeastOneSecond",
             CellAddress{0, 891, 0},
             {},
             Act::Commit,
             "0.2",
             0,
             "  1.000",
             Word(137547, 1000)},
            {"MenuTimeoutAtMostThirty",
             CellAddress{0, 891, 0},
             {},
             Act::Commit,
             "31",
             0,
             " 30.000",
             Word(137547, 30000)},
            {"TenKeyTimeoutFrom",
             CellAddress{0, 890, 0},
             {},
             Act::Commit,
             "0.1",
             0,
             "  0.500",
             Word(137549, 500)},
            {"CoastTimeHalfSecond",
             CellAddress{0, 929, 0},
             {},
             Act::Commit,
             "1",
             0,
             "  0.500",
             Word(137553, 500)},
            {"EmergencyImpoliteNibble",
             CellAddress{0, 860, 2},
             {{137701, 0xA0}},
             Act::Commit,
             "7",
             0,
             "7",
             {{137701, 0xA7}}},
            {"EmergencyPoliteHeldToFifteen",
             CellAddress{0, 859, 2},
             {{137701, 0x0A}},
             Act::Commit,
             "20",
             0,
             "15",
             {{137701, 0xFA}}},
            {"EmergencyCycles", CellAddress{0, 936, 4}, {}, Act::Commit, "300", 0, "250", {{137747, 250}}},
            {"SelCallBeepType",
             CellAddress{0, 835, 4},
             {{137764, 0x80}},
             Act::Pick,
             "",
             4,
             "Ring",
             {{137764, 0x84}}},
            {"CallAlertRetriesWord",
             CellAddress{0, 844, 1},
             {},
             Act::Commit,
             "250",
             0,
             "250",
             Word(137780, 250)},
            {"CallAlertBeepRepeat",
             CellAddress{0, 841, 1},
             {{137779, 0xF0}},
             Act::Pick,
             "",
             3,
             "Repeat",
             {{137779, 0xF3}}},
            {"RadioCheckRetriesFromOne",
             CellAddress{0, 850, 0},
             {{137818, 0xC0}},
             Act::Commit,
             "0",
             0,
             "1",
             {{137818, 0xC1}}},
            {"StunWaitFirstWord",
             CellAddress{0, 877, 4},
             {},
             Act::Commit,
             "2",
             0,
             "  2.000",
             Word(137892, 2000)},
            {"ReviveDisplayTimeLastWord",
             CellAddress{0, 885, 4},
             {},
             Act::Commit,
             "3",
             0,
             "  3.000",
             Word(137936, 3000)},
            {"StatusRetriesNibble",
             CellAddress{0, 896, 4},
             {{137978, 0xF0}},
             Act::Commit,
             "9",
             0,
             "9",
             {{137978, 0xF9}}},
            {"MessageWaitOddWord",
             CellAddress{0, 941, 4},
             {},
             Act::Commit,
             "0.25",
             0,
             "  0.250",
             Word(138031, 250)},
        });
}

// Entries 0..4 and slots 0..79 only: another index shows nothing and writes nothing.
TEST_P(MdcCellsTest, CellsActOnlyForTheirTablesEntries) {
    struct Outside {
        int32_t cell;
        int32_t index;
    };
    const Outside cases[] = {{829, 5}, {829, -1}, {817, 5},  {950, 5},  {872, 7},  {855, 5},  {903, -3},
                             {831, 5}, {900, 80}, {901, -1}, {904, 80}, {946, 96}, {925, 80}, {947, -1}};
    for (const Outside& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cell << " at " << c.index);
        h.Reset();
        const cmcEeprom before = h.Image();
        EXPECT_EQ(h.Display(CellAddress{0, c.cell, c.index}).text, "");
        h.Key(CellAddress{0, c.cell, c.index}, ' ');
        h.Commit(CellAddress{0, c.cell, c.index}, "1");
        h.Pick(CellAddress{0, c.cell, c.index}, 1);
        EXPECT_TRUE(h.Image().IsEqual(before));
    }
}

// Labels hold ten characters whatever the index; what is typed is not kept.
TEST_P(MdcCellsTest, RowLabelsNameTheirEntry) {
    struct Label {
        int32_t cell;
        int32_t index;
        const char* shown;
    };
    const Label cases[] = {
        {816, 3, "Sys 3"},
        {823, 0, "Gen 0"},
        {824, 4, "PTT 4"},
        {825, 1, "SelC 1"},
        {826, 2, "RdoC 2"},
        {827, 3, "Emg 3"},
        {828, 4, "STUN 4"},
        {816, 2147483647, "Sys 214748"},
        {828, -2147483647, "STUN -2147"},
    };
    for (const Label& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(h.Display(CellAddress{0, c.cell, c.index}).text, c.shown);
    }
    const cmcEeprom before = h.Image();
    h.Commit(CellAddress{0, 823, 1}, "Other");
    EXPECT_EQ(h.Display(CellAddress{0, 823, 1}).text, "Gen 1");
    EXPECT_TRUE(h.Image().IsEqual(before));
    for (auto [cell, index, shown] : {Label{925, 0, "1"}, Label{925, 37, "6"}, Label{947, 79, "16"}})
        EXPECT_EQ(h.Display(CellAddress{0, cell, index}).text, shown);
}

// Index 37 is system 2, slot 5: its text at 138068 + 416 + 60, its flags at
// 138260 + 416 + 5; messages likewise from 139108.
TEST_P(MdcCellsTest, StatusAndMessageSlotsByBlockAndSlot) {
    RunCases(h, {
                    {"StatusText",
                     CellAddress{0, 900, 37},
                     {},
                     Act::Commit,
                     "HELLO",
                     0,
                     "",
                     {{138543, ' '}, {138544, 'H'}, {138548, 'O'}, {138549, ' '}, {138556, ' '}}},
                    {"StatusAck",
                     CellAddress{0, 901, 37},
                     {{138681, 0x00}},
                     Act::Pick,
                     "",
                     1,
                     "Enable",
                     {{138680, 0x00}, {138681, 0x80}, {138682, 0x00}}},
                    {"StatusStrip",
                     CellAddress{0, 902, 37},
                     {{138681, 0xFF}},
                     Act::Pick,
                     "",
                     0,
                     "Disable",
                     {{138681, 0xBF}}},
                    {"MessageText",
                     CellAddress{0, 943, 79},
                     {},
                     Act::Commit,
                     "BYE",
                     0,
                     "",
                     {{140119, ' '}, {140120, 'B'}, {140122, 'E'}, {140123, ' '}}},
                    {"MessageEnabled",
                     CellAddress{0, 946, 79},
                     {{140147, 0x00}},
                     Act::Pick,
                     "",
                     1,
                     "Enable",
                     {{140147, 0x10}}},
                    {"MessageRequestAckFirstSlot",
                     CellAddress{0, 944, 0},
                     {{139300, 0x00}},
                     Act::Pick,
                     "",
                     1,
                     "Enable",
                     {{139300, 0x80}}},
                });
}

// Showing the revive choice leaves the system's alias choice (byte 8 of the
// same record) alone; a new revive choice clears it.
TEST_P(MdcCellsTest, OnlyANewReviveChoiceClearsTheAliasChoice) {
    const Bytes picked = {{137520, 1}, {137522, 2}};
    h.Reset(picked);
    EXPECT_EQ(h.Display(CellAddress{0, 950, 3}).text, "1");
    EXPECT_EQ(Hex(h.Read(picked)), Hex(picked));
    h.Pick(CellAddress{0, 950, 3}, 1);
    EXPECT_EQ(Hex(h.Read(picked)), Hex(picked));
    EXPECT_EQ(h.Pick(CellAddress{0, 950, 3}, 4).text, "4");
    EXPECT_EQ(Hex(h.Read({{137520, 4}, {137522, 0}})), Hex({{137520, 4}, {137522, 0}}));
    EXPECT_EQ(h.Display(CellAddress{0, 889, 3}).text, "0");
    // Another system's alias choice stays.
    h.Reset({{137510, 3}});
    h.Key(CellAddress{0, 950, 3}, ' ');
    EXPECT_EQ(h.Byte(137510), 3);
}

// The group ID is three digits under a top nibble of E.
TEST_P(MdcCellsTest, TheGroupIdKeepsItsTopNibbleE) {
    RunCases(
        h, {
               {"Typed", CellAddress{0, 831, 0}, {}, Act::Commit, "234", 0, "234", Word(137541, 0xE234)},
               {"ShownFromAnyWord", CellAddress{0, 831, 0}, Word(137541, 0x1234), Act::Display, "", 0, "234",
                Word(137541, 0x1234)},
               {"OtherEntry", CellAddress{0, 831, 4}, {}, Act::Commit, "FFF", 0, "FFF", Word(137621, 0xEFFF)},
           });
}

// 0 is none; else an enable bit and the number less one. The field is
// written on every request, so showing it drops a number behind a clear bit.
TEST_P(MdcCellsTest, StatusNumbersAreAnEnableBitAndANumber) {
    RunCases(h, {
                    {"EmergencyStaleNumberZeroed",
                     CellAddress{0, 855, 2},
                     {{137700, 0xEF}, {137702, 0x8B}},
                     Act::Display,
                     "",
                     0,
                     "Off",
                     {{137700, 0xEF}, {137702, 0x80}}},
                    {"EmergencyShown",
                     CellAddress{0, 855, 2},
                     {{137700, 0x10}, {137702, 0x04}},
                     Act::Display,
                     "",
                     0,
                     "5",
                     {{137700, 0x10}, {137702, 0x04}}},
                    {"EmergencyPicked",
                     CellAddress{0, 855, 2},
                     {{137700, 0x00}, {137702, 0xF0}},
                     Act::Pick,
                     "",
                     16,
                     "16",
                     {{137700, 0x10}, {137702, 0xFF}}},
                    {"EmergencyOffPicked",
                     CellAddress{0, 855, 2},
                     {{137700, 0xFF}, {137702, 0xF7}},
                     Act::Pick,
                     "",
                     0,
                     "Off",
                     {{137700, 0xEF}, {137702, 0xF0}}},
                    {"PowerUpStaleNumberZeroed",
                     CellAddress{0, 903, 1},
                     {{137949, 0x05}},
                     Act::Display,
                     "",
                     0,
                     "Off",
                     {{137949, 0x00}}},
                    {"PowerUpShown",
                     CellAddress{0, 903, 1},
                     {{137949, 0x84}},
                     Act::Display,
                     "",
                     0,
                     "5",
                     {{137949, 0x84}}},
                    {"PowerUpPicked",
                     CellAddress{0, 903, 1},
                     {{137949, 0x70}},
                     Act::Pick,
                     "",
                     1,
                     "1",
                     {{137949, 0xF0}}},
                });
}

// The first status of every system must stay enabled; the check asks all
// eighty slots, except on PMR-Z radios, which have no MDC.
TEST_P(MdcCellsTest, ADisabledFirstStatusWarns) {
    Bytes allEnabled;
    for (int32_t system = 0; system < 5; ++system)
        allEnabled.emplace_back(138260 + 208 * system, 0x10);
    h.Reset(allEnabled);
    EXPECT_FALSE(h.Display(CellAddress{0, 962, 0}).warning);
    EXPECT_FALSE(h.Display(CellAddress{0, 904, 32}).warning);

    Bytes slot0Off = allEnabled;
    slot0Off[2].second = 0xEF;
    h.Reset(slot0Off);
    const Outcome slot0 = h.Display(CellAddress{0, 904, 32});
    EXPECT_EQ(slot0.text, "Disable");
    EXPECT_TRUE(slot0.warning);
    EXPECT_EQ(h.Display(CellAddress{0, 962, 0}).warning, !IsPmrZ(Model()));

    h.Reset(allEnabled);
    EXPECT_TRUE(h.Pick(CellAddress{0, 904, 64}, 0).warning);
    EXPECT_EQ(h.Byte(138260 + 208 * 4), 0x00);

    Bytes slot1Off = allEnabled;
    slot1Off.emplace_back(138677, 0x00);
    h.Reset(slot1Off);
    EXPECT_FALSE(h.Display(CellAddress{0, 904, 33}).warning);
    EXPECT_FALSE(h.Display(CellAddress{0, 962, 0}).warning);
}

// The external outputs exist on mobiles only: a handheld's cell is disabled
// and changes nothing, a mobile's edits its bit.
TEST_P(MdcCellsTest, ExternalOutputsAreAMobilesOnly) {
    struct Exo {
        int32_t cell;
        int32_t address; // entry 1
        uint8_t bit;
    };
    for (const Exo& c : {Exo{953, 137779, 0x10}, Exo{955, 137753, 0x20}, Exo{958, 137686, 0x20}}) {
        SCOPED_TRACE(c.cell);
        h.Reset({{c.address, 0x00}});
        const Outcome spaced = h.Key(CellAddress{0, c.cell, 1}, ' ');
        EXPECT_EQ(spaced.cell.flags2 & 0x10, IsMobile(Model()) ? 0 : 0x10) << "the disabled state";
        EXPECT_EQ(h.Byte(c.address), IsMobile(Model()) ? c.bit : 0x00);
        EXPECT_EQ(spaced.text, IsMobile(Model()) ? "Enable" : "");
    }
}

TEST_P(MdcCellsTest, AliasesAreRecordsOfTheirOwn) {
    // Alias 7 is the 15 bytes at 140148 + 105.
    RunCases(h, {
                    {"Text",
                     CellAddress{kAlias, 908, 7},
                     {},
                     Act::Commit,
                     "ALIAS",
                     0,
                     "",
                     {{140253, 'A'}, {140257, 'S'}, {140258, ' '}, {140265, 0x00}}},
                    {"Id",
                     CellAddress{kAlias, 907, 7},
                     {},
                     Act::Commit,
                     "BEEF",
                     0,
                     "BEEF",
                     {{140265, 0x00}, {140266, 0xBE}, {140267, 0xEF}}},
                    {"Strip",
                     CellAddress{kAlias, 905, 7},
                     {{140265, 0x03}},
                     Act::Pick,
                     "",
                     1,
                     "Enable",
                     {{140265, 0x83}}},
                    {"BeepType",
                     CellAddress{kAlias, 906, 7},
                     {{140265, 0x80}},
                     Act::Pick,
                     "",
                     3,
                     "Triple",
                     {{140265, 0x83}}},
                    {"LastAlias",
                     CellAddress{kAlias, 907, 499},
                     {},
                     Act::Commit,
                     "1",
                     0,
                     "0001",
                     Word(147646, 0x0001)},
                });
}

// A channel's MDC system means nothing to a digital row; PMR-Z channels keep none.
TEST_P(MdcCellsTest, AChannelsSystemIsGreyOnADigitalRow) {
    constexpr int32_t kModeByte = 65408 + 12;  // channel row 0's S[12], bits 1-0
    constexpr int32_t kSystemByte = 82512 + 4; // channel row 0's X[4]
    for (uint8_t mode : {0, 1, 2, 3}) {
        h.Reset({{kModeByte, mode}});
        EXPECT_EQ(h.Display(CellAddress{kChannel, 815, 0}).grey, mode != 0) << int(mode);
    }
    h.Reset({{kModeByte, 0}});
    const Outcome typed = h.Commit(CellAddress{kChannel, 815, 0}, "3");
    EXPECT_EQ(h.Byte(kSystemByte), IsPmrZ(Model()) ? 0 : 3);
    EXPECT_EQ(typed.text, "3");
}

TEST_P(MdcCellsTest, ListsStepAndTimesDoNot) {
    RunCases(h, {
                    {"ChoiceLastToFirst",
                     CellAddress{0, 819, 0},
                     {{137482, 4}},
                     Act::Space,
                     "",
                     0,
                     "0",
                     {{137482, 0}}},
                    {"ChoiceFirstToLast",
                     CellAddress{0, 819, 0},
                     {{137482, 0}},
                     Act::Back,
                     "",
                     0,
                     "4",
                     {{137482, 4}}},
                    {"EnableSteps",
                     CellAddress{0, 853, 0},
                     {{137668, 0x00}},
                     Act::Space,
                     "",
                     0,
                     "Enable",
                     {{137668, 0x80}}},
                    {"StatusNumberStepsBack",
                     CellAddress{0, 903, 0},
                     {{137939, 0x00}},
                     Act::Back,
                     "",
                     0,
                     "16",
                     {{137939, 0x8F}}},
                    {"TimeStays", CellAddress{0, 872, 0}, Word(137640, 1500), Act::Space, "", 0, "1.500",
                     Word(137640, 1500)},
                    {"GeneralTimeStays", CellAddress{0, 891, 0}, Word(137547, 1000), Act::Back, "", 0,
                     "  1.000", Word(137547, 1000)},
                });
    // Space opens the time's editor on its text.
    h.Reset(Word(137640, 1500));
    EXPECT_EQ(h.Key(CellAddress{0, 872, 0}, ' ').result, 2);
}

// ---- what is not built, for the MSK, digital and MDC cells together ----

TEST(SignallingNotBuiltTest, OnlyTheCellsWithoutAFieldShowYet) {
    std::set<int32_t> notBuilt = {225, 226, 229, 260, 265, 268, 269, 275, 279,
                                  811, 812, 813, 814, 857, 858, 862, 886};
    for (int32_t id = 233; id <= 250; ++id)
        notBuilt.insert(id);
    SettingsCellFixture h(kLmrHandheld);
    for (int32_t first : {201, 811})
        for (int32_t id = first; id <= (first == 201 ? 330 : 962); ++id) {
            SCOPED_TRACE(id);
            const std::string text = h.Display(id).text;
            EXPECT_EQ(text == std::to_string(id) + " *Yet*", notBuilt.count(id) == 1) << text;
            if (id >= 909 && id <= 924) {
                EXPECT_EQ(text, "");
            }
        }
}

INSTANTIATE_TEST_SUITE_P(EachClass, MdcCellsTest, ::testing::ValuesIn(kEachClass),
                         testsupport::ModelParamName());

} // namespace
