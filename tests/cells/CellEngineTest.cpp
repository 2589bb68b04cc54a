// The per-program cell engine: a program's own vocabulary, case table and
// frame numbers, cases shared by name, and the installed engine.
#include "cells/CellEngine.h"
#include "CellHarness.h"
#include "CellTestSupport.h"
#include "cells/CellFrame.h"
#include "cells/CellIds.h"
#include "foundation/Globals.h"
#include "foundation/ProgramProfile.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/datCh.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using celltest::CellHarness;
using celltest::FatalText;
using celltest::Outcome;

int32_t CloningId(const char* name) {
    return CloningCellVocabulary().CellIndex(name);
}

void ShowEnter(CellFrame& f) {
    f.Show(f.IsEnter() ? "enter" : "no enter");
}

void ShowUnitIdMax(CellFrame& f) {
    f.Show(std::to_string(f.unitIdMax));
}

void Nothing(CellFrame&) {}

// A second program on the same engine code: a few categories and cells of its
// own, at ids the cloning program gives to other things, its own command
// codes, an empty id, the first-column rule without LTR group columns, no
// repeater entries, and the cloning program's case for the radio's revision,
// taken by name.
struct SecondProgram {
    static constexpr int32_t kCatChannel = 1; // the cloning program's pop-up menu category
    static constexpr int32_t kText = 1;
    static constexpr int32_t kFreqR = 2;
    static constexpr int32_t kRevision = 3;
    static constexpr int32_t kAtr = 4;
    static constexpr int32_t kAbout = 5; // no case yet
    static constexpr int32_t kEmpty = 9; // the cloning program's FlexZoneSelNum shows a number
    static constexpr int32_t kRunCode = 30;
    static constexpr int32_t kHelpCode = 31;

    static constexpr CellVocabulary::Category kCategories[] = {
        {"CT_Null", 0}, {"CT_Mch", CellVocabulary::kModelClassKind}, {"CT_ADJ", 0}};
    static constexpr const char* kCells[] = {
        "CL_Null",   "CL_Mch_Text", "CL_Mch_FreqR", "CL_CloneInfo_Revision", "CL_Mch_Atr", "CL_Help_About",
        "CL_Adj_06", "CL_Adj_07",   "CL_Adj_08",    "CL_Adj_Sweep",          "CL_Adj_10",  "CL_Adj_11",
    };

    static CellFrameNumbers Numbers() {
        CellFrameNumbers n;
        n.commands.run = kRunCode;
        n.commands.help = kHelpCode;
        n.emptyIds = {{kEmpty, kEmpty}};
        n.categories.channel = kCatChannel;
        n.firstColumn = {.attributes = kAtr, .rxFreq = kFreqR, .basic = {kFreqR}};
        return n;
    }

    static ProgramProfile Profile() {
        ProgramProfile p = CloningProfile();
        p.programName = "QT9999R";
        p.boxCaptionKey = "GI_StatusPanel_Maker";
        p.helpFileKey = "GI_StatusPanel_Maker";
        return p;
    }

    ProgramProfile profile = Profile();
    CellVocabulary vocabulary{kCategories, kCells};
    CellEngine engine{vocabulary, Numbers(), [](CellCaseTable& table) {
                          static constexpr std::string_view kShared[] = {"CL_CloneInfo_Revision"};
                          table.Take(CloningCellCases(), kShared);
                          table.Add(kText, ShowEnter);
                          table.Add(kFreqR, Nothing);
                      }};
};

// Bank 0 holds channel rows 0..2 of the current model, all empty; row 3 is new.
class SecondProgramTest : public ::testing::Test {
protected:
    SecondProgramTest() {
        SetBankChannelCount(h.Image(), 0, 3);
        h.OpenBank(0);
        h.app.InfoBlock()[34] = 0x21;
    }

    SecondProgram second;
    CellHarness h;
};

TEST_F(SecondProgramTest, ExecuteAnswersFromTheInstalledEngineThenFromTheCloningProgramsAgain) {
    const CellCaseTable::Case revision = CloningCellEngine().Cases().Find(CloningId("CL_CloneInfo_Revision"));
    {
        // What the second program installs for its run: its profile and its engine.
        ScopedProgramProfile useProfile(second.profile);
        ScopedCellEngine useSecond(second.engine);
        EXPECT_EQ(&CurrentCellVocabulary(), &second.vocabulary);
        EXPECT_EQ(indActiveCell::CellIndex("CL_CloneInfo_Revision"), SecondProgram::kRevision);
        EXPECT_EQ(cmcCellObj().cellId, 12);

        // The case table: sized from the vocabulary, the revision case shared by name.
        const CellCaseTable& cases = InstalledCellEngine().Cases();
        EXPECT_EQ(cases.Size(), 13);
        EXPECT_EQ(cases.Find(SecondProgram::kRevision), revision);
        EXPECT_FALSE(cases.Has(CloningId("CL_CloneInfo_Revision")));

        EXPECT_EQ(h.Display({0, SecondProgram::kRevision, 0}).text, "2.1");
        EXPECT_EQ(h.Display({0, SecondProgram::kAbout, 0}).text, "5 *Yet*");
        EXPECT_EQ(h.Display({0, SecondProgram::kEmpty, 0}).text, "");

        // Its command codes: its own run code is Enter, the cloning program's is not.
        EXPECT_EQ(h.Command({0, SecondProgram::kText, 0}, SecondProgram::kRunCode).text, "enter");
        EXPECT_EQ(h.Command({0, SecondProgram::kText, 0}, CloningCellEngine().Numbers().commands.run).text,
                  "no enter");
        h.Command({0, SecondProgram::kText, 0}, SecondProgram::kHelpCode);
        ASSERT_EQ(h.help.shown.size(), 1u);
        // The help file is the one its profile names.
        const std::string ownHelp = gGTex->GetTextLine("GI_StatusPanel_Maker", 0);
        EXPECT_EQ(h.help.shown[0].file.substr(h.help.shown[0].file.size() - ownHelp.size()), ownHelp);
        EXPECT_EQ(BoxCaption(), ownHelp);

        // Its first-column rule sends input on a new row to its receive frequency.
        const Outcome out = h.Key({SecondProgram::kCatChannel, SecondProgram::kText, 3}, '5');
        EXPECT_EQ(out.request.jumpRequest, 1);
        EXPECT_EQ(out.request.jumpCell, SecondProgram::kFreqR);
        EXPECT_EQ(out.request.jumpCategory, SecondProgram::kCatChannel);
        EXPECT_EQ(out.request.jumpKey, '5');
    }
    EXPECT_EQ(&InstalledCellEngine(), &CloningCellEngine());
    EXPECT_EQ(&RunningProfile(), &CloningProfile());
    EXPECT_EQ(indActiveCell::CellIndex("CL_CloneInfo_Revision"), CloningId("CL_CloneInfo_Revision"));
    EXPECT_EQ(cmcCellObj().cellId, 963);
    EXPECT_EQ(h.Display({0, CloningId("CL_CloneInfo_Revision"), 0}).text, "2.1");
    EXPECT_EQ(h.Display({0, SecondProgram::kAbout, 0}).text, "");
    EXPECT_EQ(h.Display({0, SecondProgram::kEmpty, 0}).text, "  1");
    h.Command({0, SecondProgram::kText, 0}, SecondProgram::kHelpCode);
    EXPECT_EQ(h.help.shown.size(), 1u);
    // Category 1 is the pop-up menu here: no first column to go to.
    EXPECT_EQ(h.Key({SecondProgram::kCatChannel, SecondProgram::kText, 3}, '5').request.jumpRequest, 0);
    EXPECT_EQ(h.Key({catid::CT_Mch, CloningId("CL_Mch_Text"), 3}, '5').request.jumpCell,
              cellid::CL_Mch_FreqR);
}

TEST_F(SecondProgramTest, AStandInTakesThePlaceOfACaseInTheInstalledEnginesTableOnly) {
    const CellCaseTable::Case revision = CloningCellEngine().Cases().Find(CloningId("CL_CloneInfo_Revision"));
    ScopedCellEngine useSecond(second.engine);
    {
        ScopedCellCase stand("CL_CloneInfo_Revision", ShowUnitIdMax);
        EXPECT_EQ(second.engine.Cases().Find(SecondProgram::kRevision), ShowUnitIdMax);
        EXPECT_EQ(CloningCellEngine().Cases().Find(CloningId("CL_CloneInfo_Revision")), revision);
    }
    EXPECT_EQ(second.engine.Cases().Find(SecondProgram::kRevision), revision);
    EXPECT_EQ(h.Display({0, SecondProgram::kRevision, 0}).text, "2.1");
}

// ---- the case table and the lists it takes ----

const CellVocabulary::Category kNoCategories[] = {{"CT_Null", 0}};
const char* const kFiveCells[] = {"CL_Null", "CL_A", "CL_B", "CL_C", "CL_D"};

void CaseOne(CellFrame&) {}
void CaseTwo(CellFrame&) {}

TEST(CellCaseTable, TakesAListByNameThroughItsOwnVocabulary) {
    CellVocabulary v(kNoCategories, kFiveCells);
    CellCaseList list;
    list.Add("CL_D", CaseOne);
    list.Add("CL_A", "CL_B", CaseTwo);
    CellCaseTable table(v);
    table.Take(list);
    EXPECT_EQ(table.Size(), 6);
    EXPECT_EQ(table.Find(4), CaseOne);
    EXPECT_EQ(table.Find(1), CaseTwo);
    EXPECT_EQ(table.Find(2), CaseTwo);
    EXPECT_FALSE(table.Has(3));
    EXPECT_TRUE(table.IsEmptyId(0));
    EXPECT_TRUE(table.IsEmptyId(5));
}

TEST(CellCaseTable, TakesOnlyThePickedNamesEvenFromARun) {
    CellVocabulary v(kNoCategories, kFiveCells);
    CellCaseList list;
    list.Add("CL_A", "CL_C", CaseOne);
    list.Add("CL_D", CaseTwo);
    list.Add("CL_Elsewhere", CaseTwo);
    CellCaseTable table(v);
    static constexpr std::string_view kPicked[] = {"CL_B", "CL_D"};
    table.Take(list, kPicked);
    EXPECT_FALSE(table.Has(1));
    EXPECT_EQ(table.Find(2), CaseOne);
    EXPECT_FALSE(table.Has(3));
    EXPECT_EQ(table.Find(4), CaseTwo);
}

TEST(CellCaseTable, WhatItCannotTakeIsFatal) {
    CellVocabulary v(kNoCategories, kFiveCells);
    struct Case {
        const char* what;
        std::vector<std::array<const char*, 2>> entries; // first, last
        std::vector<std::string_view> picked;            // none: the whole list
        const char* fatal;
    } cases[] = {
        {"an unknown name",
         {{"CL_A", "CL_A"}, {"CL_Z", "CL_Z"}},
         {},
         "Cannot use the specified cell.\n'CL_Z'"},
        {"two cases for one cell", {{"CL_A", "CL_C"}, {"CL_B", "CL_B"}}, {}, "Overlapped cell case. (2)"},
        {"a case for the empty id", {{"CL_Null", "CL_Null"}}, {}, "Cell case out of the table. (0)"},
        {"a run backwards here", {{"CL_C", "CL_A"}}, {}, "Cell case out of the table. (3)"},
        {"a picked name without a case", {{"CL_A", "CL_A"}}, {"CL_B"}, "No cell case for 'CL_B'."},
        {"a picked name this vocabulary lacks",
         {{"CL_Z", "CL_Z"}},
         {"CL_Z"},
         "Cannot use the specified cell.\n'CL_Z'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CellCaseList list;
        for (const auto& [first, last] : c.entries)
            list.Add(first, last, CaseOne);
        CellCaseTable table(v);
        if (c.picked.empty())
            EXPECT_EQ(FatalText([&] { table.Take(list); }), c.fatal);
        else
            EXPECT_EQ(FatalText([&] { table.Take(list, c.picked); }), c.fatal);
    }
}

// A clash shows at the first use of the engine's table, and at every use after.
TEST(CellEngine, AClashingTableIsFatalAtItsFirstUseNotBefore) {
    CellVocabulary v(kNoCategories, kFiveCells);
    CellEngine engine(v, {}, [](CellCaseTable& table) {
        table.Add(1, CaseOne);
        table.Add(1, CaseTwo);
    });
    EXPECT_EQ(FatalText([&] { engine.Cases(); }), "Overlapped cell case. (1)");
    EXPECT_EQ(FatalText([&] { engine.Cases(); }), "Overlapped cell case. (1)");
}

TEST(CellEngine, CommandCodesMapToWhatTheFrameDoesAndNoneMatchesNothing) {
    const CellEngine& cloning = CloningCellEngine();
    EXPECT_EQ(cloning.CommandOf(0), FrameCommand::None);
    EXPECT_EQ(cloning.CommandOf(cellid::CL_PMenu_Edit), FrameCommand::Run);
    EXPECT_EQ(cloning.CommandOf(cellid::CL_PMenu_CarryDown), FrameCommand::CarryDown);
    EXPECT_EQ(cloning.CommandOf(cellid::CL_PMenu_WinCopy), FrameCommand::WinCopy);
    EXPECT_EQ(cloning.CommandOf(97), FrameCommand::Other);
    SecondProgram second;
    EXPECT_EQ(second.engine.CommandOf(SecondProgram::kRunCode), FrameCommand::Run);
    EXPECT_EQ(second.engine.CommandOf(cellid::CL_PMenu_Copy), FrameCommand::Other);
    EXPECT_EQ(second.engine.CommandOf(CellFrameNumbers::kNone), FrameCommand::Other);
}

// ---- overlay values read once for each binding of the text table ----

std::vector<std::string> UnitIdMaxOverlay(const char* value) {
    return {"#GI_AppUnitIdMax", value, "#End_Of_Ovl"};
}

std::vector<const char*> LinePointers(const std::vector<std::string>& lines) {
    std::vector<const char*> pointers;
    for (const std::string& line : lines)
        pointers.push_back(line.c_str());
    pointers.push_back(nullptr);
    return pointers;
}

TEST(CellEngine, TheUnitIdMaximumFollowsTheBoundTextTable) {
    CellHarness h;
    ScopedCellCase stand(cellid::CL_Mch_Unit_Dec, ShowUnitIdMax);
    const auto shown = [&] { return h.Display({0, cellid::CL_Mch_Unit_Dec, 0}).text; };
    const std::string shipped = shown();
    EXPECT_NE(shipped, "0");
    {
        celltest::ScopedOverlay a(UnitIdMaxOverlay("100"));
        EXPECT_EQ(shown(), "100");
        {
            celltest::ScopedOverlay b(UnitIdMaxOverlay("200"));
            EXPECT_EQ(shown(), "200");
        }
        EXPECT_EQ(shown(), "100");
    }
    EXPECT_EQ(shown(), shipped);

    // A new table in the place of one that is gone is another binding.
    cmcGTex* const shippedTable = gGTex;
    const std::vector<std::string> first = UnitIdMaxOverlay("300");
    const std::vector<std::string> second = UnitIdMaxOverlay("400");
    const std::vector<const char*> firstLines = LinePointers(first);
    const std::vector<const char*> secondLines = LinePointers(second);
    std::optional<cmcGTex> table;
    table.emplace().SetLines(firstLines.data());
    gGTex = &*table;
    EXPECT_EQ(shown(), "300");
    table.emplace().SetLines(secondLines.data());
    ASSERT_EQ(gGTex, &*table);
    EXPECT_EQ(shown(), "400");
    gGTex = shippedTable;
}

} // namespace
