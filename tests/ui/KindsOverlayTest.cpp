// The shipped overlay holds every key the sheet kinds, the list pop-ups and
// the information window read, in the form they read it: a missing key ends
// the program.
#include "cells/CellEngine.h"
#include "cells/SheetLines.h"
#include "cells/cmcCellObj.h"
#include "foundation/cmcGTex.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

class KindsOverlayTest : public ::testing::Test {
protected:
    KindsOverlayTest() { texts.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL"); }

    // The cells of a key's lines up to its end, each parsed as the sheet parses it.
    std::vector<cmcCellObj> Cells(const std::string& key, bool menu = false) {
        std::vector<cmcCellObj> out;
        for (int n = 0;; ++n) {
            const std::optional<std::string> line = texts.TryGetTextLine(key, n);
            if (!line || line->starts_with('#')) break;
            if (line->starts_with(':')) continue;
            std::string rest = menu ? line->substr(line->find('+') + 1) : *line;
            while (!rest.empty()) {
                cmcCellObj cell;
                rest = cell.Parse(rest, chParams.data(), nullptr);
                out.push_back(cell);
                if (menu) break;
            }
        }
        return out;
    }
    std::set<int32_t> Ids(const std::vector<cmcCellObj>& cells) {
        std::set<int32_t> out;
        for (const cmcCellObj& c : cells)
            out.insert(c.cellId);
        return out;
    }
    int32_t Id(const char* name) { return CloningCellEngine().Vocabulary().CellIndex(name); }
    SheetStyle Style(const std::string& name) {
        SheetStyle style;
        ForEachGroup(texts.GetTextLine(name + "_Style", 0),
                     [&](const std::string& i) { ApplyStyleItem(style, i); });
        return style;
    }

    cmcGTex texts;
    // @ch0 to @ch9 of the loop lines.
    std::array<int32_t, cmcCellObj::kChParams> chParams{};
};

// Ten channel sheets, one per model: a title, line selection, the group
// headings, the channel loop, the class's columns and a row menu with the
// row commands.
TEST_F(KindsOverlayTest, ChannelSheetsOfTheTenModels) {
    for (const char* cls : {"Lmr", "LmrLtr", "LmrP25", "Pmr", "PmrZ"})
        for (const char* mob : {"", "_Mob"}) {
            const std::string name = std::string("GI_Sheet_Mch_") + cls + mob;
            SCOPED_TRACE(name);
            const SheetStyle style = Style(name);
            ASSERT_TRUE(style.title.has_value());
            EXPECT_EQ(style.multiSelect, 2);
            EXPECT_EQ(style.fixedRows, 2) << "the group headings over the captions";
            std::vector<std::string> directives;
            for (int n = 0;; ++n) {
                const std::optional<std::string> line = texts.TryGetTextLine(name + "_Cells", n);
                if (!line || line->starts_with('#')) break;
                if (line->starts_with(':')) directives.push_back(*line);
            }
            EXPECT_EQ(directives, (std::vector<std::string>{":(LoopFrom)", ":(LoopTo)"}));
            const std::set<int32_t> ids = Ids(Cells(name + "_Cells"));
            for (const char* cell : {"CL_Mch_No", "CL_Mch_FreqR", "CL_Mch_FreqT", "CL_Mch_Text"})
                EXPECT_TRUE(ids.count(Id(cell))) << cell;
            EXPECT_EQ(ids.count(Id("CL_Grp_RxId")), std::string(cls) == "LmrLtr" ? 1u : 0u);

            cmcCellObj basic;
            basic.Parse(texts.GetTextLine(name + "_BasicCell", 0), nullptr, nullptr);
            ASSERT_NE(basic.GetPopupMenu(), nullptr);
            const std::string menu = *basic.GetPopupMenu();
            EXPECT_TRUE(menu.starts_with("GI_PMenu_"));
            texts.GetTextLine(menu + "_BasicCell", 0);
            const std::set<int32_t> commands = Ids(Cells(menu + "_Body", true));
            for (int32_t command = 88; command <= 94; ++command)
                EXPECT_TRUE(commands.count(command)) << command;
        }
}

TEST_F(KindsOverlayTest, RepeaterSiteAndInformationSheets) {
    const std::set<int32_t> site = Ids(Cells("GI_Sheet_RptSetWin_Cells"));
    for (const char* cell : {"CL_Rpt_No", "CL_Rpt_FreqR", "CL_Rpt_Text"})
        EXPECT_TRUE(site.count(Id(cell))) << cell;
    EXPECT_TRUE(Style("GI_Sheet_RptSetWin").title.has_value()) << "the site sheet shows its caption";

    const std::vector<cmcCellObj> info = Cells("GI_Sheet_CloneInfo_Cells");
    const std::set<int32_t> ids = Ids(info);
    for (int32_t cell : {56, 57, 59, 60, 62, 63, 64, 65})
        EXPECT_TRUE(ids.count(cell)) << cell;
    int selectable = 0;
    for (const cmcCellObj& c : info) {
        if (!(c.flags & cmcCellObj::kFlagS)) continue;
        ++selectable;
        EXPECT_EQ(c.cellId, Id("CL_CloneInfo_Esn")) << "only the serial number takes the cursor";
        ASSERT_NE(c.GetPopupMenu(), nullptr);
        EXPECT_EQ(Ids(Cells(*c.GetPopupMenu() + "_Body", true)), std::set<int32_t>{96});
    }
    EXPECT_EQ(selectable, 1);

    for (const char* key : {"GI_AppInd_MchSheet_Printer_Head", "GI_AppInd_MchSheet_Printer_SmarTrunk",
                            "GI_AppInd_RptSheet_Printer_Head", "GI_AppInd_Button_OkCancel"}) {
        const std::string line = texts.GetTextLine(key, 0);
        EXPECT_FALSE(line.empty()) << key;
        EXPECT_EQ(line.find('%'), std::string::npos) << key << ": a text, never a format";
    }
}

} // namespace
