// The adjustment program's reading of the radio's information block: its
// revision and its option units.
#include "tests/adjust/AdjustCellFixture.h"

#include "tests/support/ParamNames.h"

#include "adjust/AdjustProfile.h"
#include "foundation/ProgramProfile.h"
#include "platform/Fatal.h"

#include <cstring>

namespace adjtest {
namespace {

using testsupport::PrintTo;

struct OptionUnitsCase {
    const char* name;
    uint8_t o0, o1, o2;
    const char* digitalRevision; // bytes 76, 77; none: 0
    const char* sum;             // bytes 82..85
    const char* shown;
};

class AdjustOptionUnitsTest : public AdjustCellFixture,
                              public ::testing::WithParamInterface<OptionUnitsCase> {};

TEST_P(AdjustOptionUnitsTest, EachUnitOnItsOwnLineInTheProgramsOrder) {
    const OptionUnitsCase& c = GetParam();
    CloneInfoBlock& info = h.app.InfoBlock();
    info[49] = c.o0;
    info[50] = c.o1;
    info[51] = c.o2;
    if (c.digitalRevision) std::memcpy(&info[76], c.digitalRevision, 2);
    if (c.sum) std::memcpy(&info[82], c.sum, 4);
    EXPECT_EQ(h.Display({0, Id("CL_CloneInfo_Option"), 0}).text, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Units, AdjustOptionUnitsTest,
    ::testing::Values(OptionUnitsCase{"None", 0, 0, 0, nullptr, nullptr, ""},
                      OptionUnitsCase{"Kx24", 0, 0x20, 0, nullptr, nullptr, "Option unit Kx24\n"},
                      OptionUnitsCase{"Kx25", 0, 0x30, 0, nullptr, nullptr, "Option unit Kx25\n"},
                      OptionUnitsCase{"Kx26", 0x02, 0x01, 0, nullptr, nullptr, "Option unit Kx26\n"},
                      OptionUnitsCase{"NotKx26WithBitTwo", 0x06, 0x01, 0, nullptr, nullptr, ""},
                      OptionUnitsCase{"Kx23AndKx22", 0x01, 0x04, 0, nullptr, nullptr,
                                      "Option unit Kx22\nOption unit Kx23\n"},
                      OptionUnitsCase{"Kx27AndKx21", 0, 0x08, 0x40, nullptr, nullptr,
                                      "Option unit Kx27\nOption unit Kx21\n"},
                      OptionUnitsCase{"DigitalTwo", 0, 0, 0x20, nullptr, nullptr, "Digital unit type 2\n"},
                      OptionUnitsCase{"DigitalWithRevision", 0, 0, 0x10, "12", "0a3F",
                                      "Digital unit type 1(Rev:1.2)  Sum:$0A3F\n"},
                      OptionUnitsCase{"DigitalOffByBitZero", 0, 0, 0x11, nullptr, nullptr, ""},
                      OptionUnitsCase{"DigitalThreeIsNone", 0, 0, 0x30, nullptr, nullptr, ""}),
    testsupport::CaseName());

class AdjustRevisionTest : public AdjustCellFixture {};

TEST_F(AdjustRevisionTest, TheRevisionIsTheTwoNibblesOfItsByte) {
    h.app.InfoBlock()[34] = 0x27;
    EXPECT_EQ(h.Display({0, Id("CL_CloneInfo_Revision"), 0}).text, "2.7");
}

// The help command opens this program's own help file, and a sheet cell the
// sheet its definition names.
TEST_F(AdjustRevisionTest, HelpOpensTheAdjustmentHelpFileAndASheetCellItsSheet) {
    ScopedProgramProfile profile{adj::AdjustProfile()};
    h.Key({0, Id("CL_Help_Contents"), 0}, 13, false);
    ASSERT_EQ(h.help.shown.size(), 1u);
    EXPECT_EQ(h.help.shown[0].file, plat::ProgramDirectory() + "QT4411R.html");
    EXPECT_EQ(h.help.file, "");

    h.Run(
        {0, Id("CallSheet"), 0}, [](cmcCellCapsule& r) { r.key = 13; }, "GI_Sheet_Info");
    EXPECT_EQ(h.app.Count("OpenSheet"), 1);
}

// The edit menu is this program's command 16: opening it while it exists
// fills it with the "no item" entry, shown only while it is the one entry.
TEST_F(AdjustRevisionTest, TheEditMenuTakesItsNoItemEntryWhileItExists) {
    h.app.editMenuCommand = 16;
    for (int32_t items : {-1, 0, 1, 2}) {
        h.app.editMenuSubItems = items;
        h.Events();
        h.Key({0, Id("CL_Menu_Edit_Top"), 0}, 13, false);
        const std::vector<cmcEvent> events = h.Events();
        ASSERT_EQ(events.size(), items < 0 ? 0u : 1u) << items;
        if (items >= 0) {
            EXPECT_EQ(events[0].type, evBuildMenuItems);
            EXPECT_EQ(events[0].p1, h.app.mainMenuContext);
            EXPECT_EQ(events[0].p2, 16);
            EXPECT_EQ(events[0].Text(), "GI_PMenu_NoItem");
        }
        const auto noItem = h.Display({1, Id("CL_PMenu_NoItem"), 0});
        EXPECT_TRUE(noItem.Disabled());
        EXPECT_EQ(noItem.Hidden(), items != 1) << items;
    }
}

} // namespace
} // namespace adjtest
