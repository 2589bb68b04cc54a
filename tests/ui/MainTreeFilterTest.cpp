// The tree after data is reloaded: the nodes each model and mode keep, the
// bank branch built again, and the selection when its node is gone.
#include "cells/CellEngine.h"
#include "cells/CellVocabulary.h"
#include "cells/WindowCommands.h"
#include "cells/cmcCellObj.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/RecordLayout.h"
#include "tests/support/FlagTree.h"
#include "tests/ui/AppFixture.h"
#include "ui/TForm1.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QTreeWidget>

#include <filesystem>
#include <optional>
#include <string>

namespace {

using uitest::AppFixture;

// One node a flag, one with none, and the channel memory for maker mode only.
const std::string kTree = testsupport::FlagTree("(Flag0=1)");

class MainTreeFilterTest : public AppFixture {
protected:
    indMain& StartWithTree(int32_t model) {
        indMain& app = StartIn(ProgramDirWithOverlayFirst(kTree));
        gEnviron->ModelType = model;
        return app;
    }
    // The captions in tree order, the channel memory's banks counted apart.
    static std::string Captions(iuiTree& tree, int* banks) {
        std::string captions;
        *banks = 0;
        for (QTreeWidgetItemIterator it(tree.View()); *it; ++it) {
            if ((*it)->parent() && cuiTree::LinkOf((*it)->parent()) == "GI_Sheet_Memory_CH_Top") {
                ++*banks;
                continue;
            }
            captions += (captions.empty() ? "" : ",") + (*it)->text(0).toStdString();
        }
        return captions;
    }
    void Settle() {
        scheduler_.Advance(300);
        QApplication::processEvents();
    }
};

TEST_F(MainTreeFilterTest, EachModelAndModeKeepsItsNodes) {
    struct Case {
        int32_t model;
        bool maker;
        const char* captions;
    } cases[] = {
        {0, false, "Radio (LMR handheld),F1,F6,F7,None"},
        {1, false, "Radio (LMR/LTR handheld),F1,F5,F6,F7,None"},
        {2, false, "Radio (LMR/P25 handheld),F1,F4,F6,F7,None"},
        {3, false, "Radio (PMR handheld),F2,F6,F7,None"},
        {4, false, "Radio (Zuro PMR handheld),F2,F3,F6,None"},
        {5, false, "Radio (LMR mobile),F1,F6,F7,None"},
        {6, false, "Radio (LMR/LTR mobile),F1,F5,F6,F7,None"},
        {7, false, "Radio (LMR/P25 mobile),F1,F4,F6,F7,None"},
        {8, false, "Radio (PMR mobile),F2,F6,F7,None"},
        {9, false, "Radio (Zuro PMR mobile),F2,F3,F6,None"},
        {0, true, "Radio (LMR handheld),F0,F1,F6,F7,None,Channel memory"},
        {1, true, "Radio (LMR/LTR handheld),F0,F1,F5,F6,F7,None,Channel memory (LTR banks)"},
        {2, true, "Radio (LMR/P25 handheld),F0,F1,F4,F6,F7,None,Channel memory"},
        {3, true, "Radio (PMR handheld),F0,F2,F6,F7,None,Channel memory"},
        {4, true, "Radio (Zuro PMR handheld),F0,F2,F3,F6,None,Channel memory"},
        {5, true, "Radio (LMR mobile),F0,F1,F6,F7,None,Channel memory"},
        {6, true, "Radio (LMR/LTR mobile),F0,F1,F5,F6,F7,None,Channel memory (LTR banks)"},
        {7, true, "Radio (LMR/P25 mobile),F0,F1,F4,F6,F7,None,Channel memory"},
        {8, true, "Radio (PMR mobile),F0,F2,F6,F7,None,Channel memory"},
        {9, true, "Radio (Zuro PMR mobile),F0,F2,F3,F6,None,Channel memory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.model) + (c.maker ? " maker" : " user"));
        indMain& app = StartWithTree(c.model);
        {
            TForm1 form(app);
            if (c.maker) {
                boxes_.Expect(Text("GI_Mess_Maker_Caution"), plat::IDOK);
                Doc().EnterMakerMode();
            }
            int banks = 0;
            EXPECT_EQ(Captions(*app.Tree(), &banks), c.captions);
            // Without the channel-memory node no bank node is added anywhere.
            EXPECT_EQ(banks, c.maker ? 128 : 0);
            // Data reloaded once more changes nothing.
            gEvMan->Send(evDataReloaded);
            EXPECT_EQ(Captions(*app.Tree(), &banks), c.captions);
            EXPECT_EQ(banks, c.maker ? 128 : 0);
            form.close();
        }
        Stop();
        std::filesystem::remove_all(dir_.File("program"));
    }
}

// Data of another class reloaded under a node that class does not show: the
// selection moves on past the node that took its place, and the next tick
// runs the node then selected.
TEST_F(MainTreeFilterTest, TheSelectionMovesOnWhenItsNodeIsFilteredAway) {
    indMain& app = StartWithTree(1);
    TForm1 form(app);
    Settle();
    iuiTree& tree = *app.Tree();
    tree.View()->setCurrentItem(tree.FindNode("Fx_F5"));
    ASSERT_EQ(cuiTree::LinkOf(tree.View()->currentItem()), "Fx_F5");

    gEnviron->ModelType = 0;
    gEvMan->Send(evDataReloaded);
    EXPECT_EQ(tree.FindNode("Fx_F5"), nullptr);
    ASSERT_NE(tree.View()->currentItem(), nullptr);
    EXPECT_EQ(cuiTree::LinkOf(tree.View()->currentItem()), "Fx_F7");
    EXPECT_TRUE(tree.View()->currentItem()->isSelected());
}

} // namespace

namespace {

// The checks of the warning list mark the nodes of the sheets they name.
class MainWarningListTest : public AppFixture {
protected:
    // The sheet link of the shipped warning list's line that runs the check.
    static std::string ListedLink(const std::string& check) {
        const std::string overlay = testsupport::TempDir::ReadFile(TOLVANE_BIN_DIR "/QT4410R.OVL");
        const size_t list = overlay.find("#GI_WarningCheckList\n");
        const size_t cell = overlay.find("%" + check + ":", list);
        if (list == std::string::npos || cell == std::string::npos) return {};
        const size_t from = overlay.find(':', cell) + 1;
        return overlay.substr(from, overlay.find(')', from) - from);
    }
};

TEST_F(MainWarningListTest, AnErrorInAListedSheetMarksItsNodeUntilMended) {
    const std::string link = ListedLink("CL_Check_Ltr_Repeater");
    ASSERT_FALSE(link.empty());
    // The sheet's node sits under the second top-level node: a mended error
    // must lose its mark there too, not only in the first branch.
    const std::string tree = "#GI_Tree_Main_BasicCell\n{}\n#GI_Tree_Main_Body\n"
                             "+Front{(%CL_Null:Fx_Front)}\n"
                             " +Inner{(%CL_Null:Fx_Inner)}\n"
                             "+Radio{(%CL_Null:Fx_Radio)}\n"
                             " +Bank overview{(%CallSheet:" +
                             link + ")}\n";
    indMain& app = StartIn(ProgramDirWithOverlayFirst(tree));
    gEnviron->ModelType = 1;
    TForm1 form(app);
    scheduler_.Advance(300);
    QTreeWidgetItem* node = app.Tree()->FindNode(link);
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(app.Tree()->View()->indexOfTopLevelItem(node->parent()), 1);
    int errors = 0;
    app.MarkWarnings(&errors, nullptr);
    ASSERT_EQ(errors, 0) << "the start-up data is sound";
    EXPECT_EQ(cuiTree::OverlayOf(node), -1);

    // An LTR bank whose site has no repeater.
    cmcEeprom& image = Doc().WorkingImage();
    const uint8_t ltrBanks = image.GetByte(layout::kLtrBankBitmap);
    image.SetByte(layout::kLtrBankBitmap, 0x80);
    SetSiteChannelCount(image, 0, 0);
    InstalledWindow().ScheduleWarningCheck();
    scheduler_.Advance(250);
    EXPECT_EQ(cuiTree::OverlayOf(node), cuiTree::kOverlayError);
    app.MarkWarnings(&errors, nullptr);
    EXPECT_GT(errors, 0);

    image.SetByte(layout::kLtrBankBitmap, ltrBanks);
    InstalledWindow().ScheduleWarningCheck();
    scheduler_.Advance(250);
    EXPECT_EQ(cuiTree::OverlayOf(node), -1);
}

} // namespace

namespace {

TEST_F(MainWarningListTest, EveryLineIsACheckWithTheSheetItMarks) {
    Start();
    // A mark is only seen on a node that links the sheet.
    std::string tree;
    for (int n = 0;; ++n) {
        const std::optional<std::string> line = gGTex->TryGetTextLine("GI_Tree_Main_Body", n);
        if (!line || line->starts_with('#')) break;
        tree += *line + "\n";
    }
    int lines = 0;
    for (int n = 0;; ++n, ++lines) {
        const std::optional<std::string> line = gGTex->TryGetTextLine("GI_WarningCheckList", n);
        if (!line || line->starts_with('#')) break;
        SCOPED_TRACE(*line);
        cmcCellObj cell;
        cell.Parse(*line, nullptr, nullptr);
        EXPECT_TRUE(InstalledCellEngine().Vocabulary().CellName(cell.cellId).starts_with("CL_Check_"));
        EXPECT_TRUE(cell.argument.value_or("").starts_with("[St_Common]GI_Sheet_"));
        EXPECT_NE(tree.find(":" + cell.argument.value_or("") + ")"), std::string::npos) << "no node links it";
    }
    EXPECT_GT(lines, 0);
}

} // namespace
