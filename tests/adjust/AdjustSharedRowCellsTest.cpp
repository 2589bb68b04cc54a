// The MSK and digital list cells the adjustment program takes from the
// cloning program by name, on the rows of their own sheets: the two programs
// number their row kinds differently, yet each row must show and take the
// same bytes of the same table in both.
#include "adjust/AdjustVocabulary.h"
#include "cells/CellCases.h"
#include "cells/CellEngine.h"
#include "tests/cells/CellHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The sheet each family of list cells sits on.
struct Sheet {
    std::string_view prefix;
    const char* category;
    const char* cell; // one of the sheet's cells
};

constexpr Sheet kSheets[] = {
    {"CL_Msk_IdGroup_", "CT_MSK_IdGroup", "CL_Msk_IdGroup_Alert"},
    {"CL_Msk_CallList_", "CT_MSK_CallList", "CL_Msk_CallList_Update"},
    {"CL_Msk_Msg_Status_", "CT_MSK_Msg_Status", "CL_Msk_Msg_Status_Beep"},
    {"CL_Msk_Msg_ShortTxt", "CT_MSK_Msg_ShortTxt", "CL_Msk_Msg_ShortTxtTxMsg_Sel"},
    {"CL_Digi_Ind_", "CT_DIG_Inv", "CL_Digi_Ind_Id_Name"},
    {"CL_Digi_Grp_", "CT_DIG_Tg", "CL_Digi_Grp_Id_Name"},
    {"CL_Digi_NacCh_", "CT_DIG_NacCh", "CL_Digi_NacCh_RxNac"},
};

const char* SheetOf(const std::string& name) {
    for (const Sheet& s : kSheets)
        if (name.starts_with(s.prefix)) return s.category;
    return nullptr;
}

// The list cells whose case this program takes from the cloning program.
std::vector<std::string> SharedListCells() {
    const CellVocabulary& ours = adj::AdjustCellVocabulary();
    const CellVocabulary& theirs = CloningCellVocabulary();
    std::vector<std::string> names;
    for (int32_t id = 1; id < ours.NoCell(); ++id) {
        const std::string name = ours.CellName(id);
        if (!SheetOf(name)) continue;
        const CellCase fn = adj::AdjustCellEngine().Cases().Find(id);
        const std::optional<int32_t> theirId = theirs.FindCell(name);
        if (fn && theirId && CloningCellEngine().Cases().Find(*theirId) == fn) names.push_back(name);
    }
    return names;
}

// Every byte of the MSK and digital tables a letter of its own address, so
// that a row read from another table or another row shows another text.
void FillListTables(cmcEeprom& image) {
    constexpr std::pair<int32_t, int32_t> kRanges[] = {{82000, 82224}, {99000, 99700}, {99744, 107200}};
    for (auto [first, end] : kRanges)
        for (int32_t a = first; a < end; ++a)
            image.SetByte(a, static_cast<uint8_t>('A' + a % 23));
}

struct Seen {
    std::string text;
    std::vector<uint8_t> image;
};

constexpr int32_t kRows[] = {0, 1, 5};

std::map<std::string, Seen> PressEach(celltest::CellHarness& h, const CellVocabulary& v,
                                      const cmcEeprom& data, const std::vector<std::string>& names) {
    std::map<std::string, Seen> seen;
    for (const std::string& name : names) {
        for (int32_t row : kRows) {
            h.Image() = data;
            const CellAddress at{v.CategoryIndex(SheetOf(name)), v.CellIndex(name), row};
            Seen s;
            s.text = h.Display(at).text;
            h.Key(at, ' ');
            s.image.assign(h.Image().Data(), h.Image().Data() + h.Image().GetSize());
            seen[name + " row " + std::to_string(row)] = s;
        }
    }
    return seen;
}

TEST(AdjustSharedRowCellsTest, EachSharedListCellShowsAndStoresItsOwnRowAsInTheCloningProgram) {
    const std::vector<std::string> names = SharedListCells();
    // The ID groups, call list, status messages, short texts and digital names at least.
    ASSERT_GE(names.size(), 15u);
    for (int32_t model : {0, 4, 5, 9}) {
        cmcEeprom data;
        std::map<std::string, Seen> cloning;
        {
            celltest::CellHarness h(model);
            h.LoadStartupData(model);
            FillListTables(h.Image());
            data = h.Image();
            cloning = PressEach(h, CloningCellVocabulary(), data, names);
        }
        ScopedCellEngine engine(adj::AdjustCellEngine());
        celltest::CellHarness h(model, TOLVANE_BIN_DIR "/QT4411R.OVL");
        const std::map<std::string, Seen> adjusting = PressEach(h, adj::AdjustCellVocabulary(), data, names);
        for (const auto& [what, seen] : cloning) {
            EXPECT_EQ(adjusting.at(what).text, seen.text) << what << " model " << model;
            EXPECT_TRUE(adjusting.at(what).image == seen.image) << what << " model " << model;
        }
    }
}

// The row commands the frame carries out on a list sheet's row.
constexpr const char* kRowCommands[] = {"CL_PMenu_Clear", "CL_PMenu_CarryDown"};

std::map<std::string, std::vector<uint8_t>> CommandEach(celltest::CellHarness& h, const CellVocabulary& v,
                                                        const cmcEeprom& data) {
    std::map<std::string, std::vector<uint8_t>> seen;
    for (const Sheet& s : kSheets)
        for (const char* command : kRowCommands) {
            h.Image() = data;
            h.Command({v.CategoryIndex(s.category), v.CellIndex(s.cell), 1}, v.CellIndex(command));
            seen[std::string(s.category) + " " + command].assign(h.Image().Data(),
                                                                 h.Image().Data() + h.Image().GetSize());
        }
    return seen;
}

TEST(AdjustSharedRowCellsTest, ARowCommandOnAListSheetActsOnThatListsRowsAsInTheCloningProgram) {
    cmcEeprom data;
    std::map<std::string, std::vector<uint8_t>> cloning;
    {
        celltest::CellHarness h(5);
        h.LoadStartupData(5);
        FillListTables(h.Image());
        data = h.Image();
        cloning = CommandEach(h, CloningCellVocabulary(), data);
    }
    ScopedCellEngine engine(adj::AdjustCellEngine());
    celltest::CellHarness h(5, TOLVANE_BIN_DIR "/QT4411R.OVL");
    h.LoadStartupData(5);
    const std::map<std::string, std::vector<uint8_t>> adjusting =
        CommandEach(h, adj::AdjustCellVocabulary(), data);
    for (const auto& [what, image] : cloning) {
        EXPECT_FALSE(std::equal(image.begin(), image.end(), data.Data())) << what << " changed nothing";
        EXPECT_TRUE(adjusting.at(what) == image) << what;
    }
}

} // namespace
