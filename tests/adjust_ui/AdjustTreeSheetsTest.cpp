// The adjustment program's tree, menus and sheets over its shipped overlay:
// every node of its tree opens its sheet through the main window's sheet
// factory, with every cell naming a cell of the program's own table and
// reaching one of its cases, for every model.
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/AdjustMain.h"
#include "adjust/ui/iuiSh_Mch.h"
#include "adjust/ui/iuiTree.h"
#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/ImageLayout.h"
#include "platform/Fatal.h"
#include "tests/adjust/AdjustDocumentFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/cuiMain.h"
#include "ui/cuiSheet.h"
#include "ui/iuiRptSetWin.h"
#include "ui/iuiTree.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::set<std::string> kPictures = {"GI_Sheet_Adj_Tx", "GI_Sheet_Adj_Rx", "GI_Sheet_Adj_Param",
                                         "GI_Sheet_Adj_Set_Common", "GI_Sheet_Set_FiveToneRx"};

class AdjustTreeSheetsTest : public adjtest::AdjustDocumentFixture {
protected:
    void Settle() {
        scheduler_.Advance(100);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The cells of the sheet that name no cell of the table or reach no case.
    static std::vector<std::string> Unresolved(const cuiSheet& sheet) {
        const CellEngine& engine = adj::AdjustCellEngine();
        const CellVocabulary& v = engine.Vocabulary();
        std::vector<std::string> bad;
        for (int32_t r = 0; r < sheet.RowCount(); ++r)
            for (int32_t c = 0; c < sheet.ColCount(); ++c) {
                const cmcCellObj& cell = *sheet.GetCellId(c, r).cell;
                if (cell.cellId == v.NoCell() || cell.cellId == 0) continue;
                if (cell.cellId < 0 || cell.cellId >= v.CellCount() || cell.category < 0 ||
                    cell.category > v.NoCategory() ||
                    !(engine.Cases().Has(cell.cellId) || engine.Cases().IsEmptyId(cell.cellId)))
                    bad.push_back(sheet.Name() + ": " + std::to_string(c) + "," + std::to_string(r) + " " +
                                  v.CellName(cell.cellId));
            }
        return bad;
    }

    ScopedCellEngine engine_{adj::AdjustCellEngine()};
};

TEST_F(AdjustTreeSheetsTest, EveryNodeOpensItsSheetWithEveryCellResolvedForEveryModel) {
    StartAdjust();
    // In maker mode, where the maker's own sheets stay in the tree too.
    boxes_.Expect(Text("GI_Mess_Maker_Caution"), plat::IDOK);
    Doc().EnterMakerMode();
    for (int32_t model = 0; model < 10; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        gEnviron->ModelType = model;
        adj::indMain window(Doc());
        TForm1 form(window);
        Settle();
        ASSERT_NE(window.Tree(), nullptr);
        std::set<std::string> opened;
        for (QTreeWidgetItemIterator it(window.Tree()->View()); *it; ++it) {
            // Every bank opens the same sheet: the first and the last stand for them.
            const int32_t bank = iuiTree::BankOfNode(*it);
            if (bank > 0 && bank < 127) continue;
            window.Tree()->View()->setCurrentItem(*it);
            try {
                window.OnTreeChange();
                Settle();
            } catch (const plat::FatalError& e) {
                ADD_FAILURE() << (*it)->text(0).toStdString() << ": " << e.what();
                continue;
            }
            cuiSheet* sheet = window.Sheet();
            if (!sheet || !opened.insert(sheet->GetDefinition()).second) continue;
            EXPECT_GT(sheet->RowCount(), 1) << sheet->Name();
            EXPECT_EQ(Unresolved(*sheet), std::vector<std::string>{});
            // A few of them as the user sees them.
            if (model == 0 && kPictures.contains(sheet->Name()))
                uitest::SavePicture(form.grab(), QString::fromStdString("adj24ovl_" + sheet->Name()));
        }
        // The adjustment sheets, the parameters and the settings, its own and the shared, are all reached.
        for (const char* name :
             {"GI_Sheet_Adj_TestCh", "GI_Sheet_Adj_Tx", "GI_Sheet_Adj_Rx", "GI_Sheet_Adj_Levels",
              "GI_Sheet_Adj_Param", "[St_Common]GI_Sheet_Adj_Set_Common", "[St_Common]GI_Sheet_Set_UserTone",
              "[St_Common]GI_Sheet_Set_Msk"})
            EXPECT_TRUE(opened.contains(name)) << name;
        EXPECT_TRUE(opened.contains("[St_ChBank]GI_Sheet_Mch,Bank 127"));
        // The repeater-site sheet, through the same factory.
        try {
            window.OpenSheet("GI_Sheet_RptSetWin,R 0");
        } catch (const plat::FatalError& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        ASSERT_NE(window.Sheet(), nullptr);
        EXPECT_GT(window.Sheet()->RowCount(), 1);
        EXPECT_NE(dynamic_cast<adj::iuiSh_Mch*>(window.Sheet()), nullptr);
        EXPECT_EQ(Unresolved(*window.Sheet()), std::vector<std::string>{});
        window.CloseSheet();
        Settle();
    }
}

} // namespace

namespace {

// The edit menu is the program's own edit cell: with no sheet cell current
// it shows the one "no item" entry under that cell's command.
TEST_F(AdjustTreeSheetsTest, TheEditMenuFillsUnderTheProgramsEditCell) {
    StartAdjust();
    adj::indMain window(Doc());
    TForm1 form(window);
    Settle();
    QAction* edit = nullptr;
    for (QAction* a : form.menuBar()->actions())
        if (a->text() == QStringLiteral("&Edit")) edit = a;
    ASSERT_NE(edit, nullptr);
    if (edit->menu())
        emit edit->menu()->aboutToShow();
    else
        edit->trigger();
    Settle();
    const int32_t editCell = adj::AdjustCellVocabulary().CellIndex("CL_Menu_Edit_Top");
    EXPECT_NE(editCell, CloningCellVocabulary().CellIndex("CL_Menu_Edit_Top"));
    EXPECT_EQ(window.MainMenuSubItemCount(editCell), 1);

    // A sheet cell with a pop-up menu made current puts that menu's items there.
    window.OpenSheet("[St_ChBank]GI_Sheet_Mch,Bank 0");
    Settle();
    ASSERT_NE(window.Sheet(), nullptr);
    window.Sheet()->Grid()->setFocus();
    window.Sheet()->SetCurrentCell(1, 1);
    Settle();
    EXPECT_EQ(window.MainMenuSubItemCount(editCell), 10) << "the row pop-up menu's items";
}

// The LTR banks sheet is where a bank's repeater site is reached: Enter on
// a bank's site cell opens the site's window.
TEST_F(AdjustTreeSheetsTest, EnterOnABanksSiteOpensThatSitesWindow) {
    StartAdjust();
    gEnviron->ModelType = 1; // LMR/LTR handheld
    adj::indMain window(Doc());
    TForm1 form(window);
    form.resize(900, 600);
    form.show();
    Settle();
    QTreeWidgetItem* node = window.Tree()->FindNode("[St_Common]GI_Sheet_BankOpLtr");
    ASSERT_NE(node, nullptr);
    window.Tree()->View()->setCurrentItem(node);
    window.OnTreeChange();
    Settle();
    cuiSheet* sheet = window.Sheet();
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->Name(), "GI_Sheet_BankOpLtr");

    const CellVocabulary& v = adj::AdjustCellEngine().Vocabulary();
    int32_t col = -1;
    for (int32_t c = 0; c < sheet->ColCount() && col < 0; ++c)
        if (sheet->GetCellId(c, sheet->FirstSelectableRow()).cell->cellId == v.CellIndex("CL_Mch_Rpt"))
            col = c;
    ASSERT_GE(col, 0);
    // The second bank's repeater site.
    const int32_t row = sheet->FirstSelectableRow() + 1;
    const int32_t site = sheet->GetCellId(col, row).cell->index;

    sheet->Grid()->setFocus();
    sheet->SetCurrentCell(col, row);
    uitest::GrabOnScreen(form, QStringLiteral("adjust-ltr-banks"));
    QTest::keyClick(sheet->Grid(), Qt::Key_Return);
    Settle();
    iuiRptSetWin* repeater = window.RepeaterWindow();
    ASSERT_NE(repeater, nullptr);
    char caption[40];
    // The caption counts the sites from 1.
    std::snprintf(caption, sizeof caption, " Repeater site (Site:%3d)", site + 1);
    EXPECT_EQ(repeater->Sheet()->Caption(), caption);
    EXPECT_FALSE(form.isEnabled());

    // A receive frequency typed on the new-entry row makes the site's first entry.
    const int32_t count = layout::kSiteCounts + site;
    ASSERT_EQ(Doc().WorkingImage().GetByte(count), 0);
    cuiSheet& entries = *repeater->Sheet();
    entries.Grid()->setFocus();
    // The first digit opens the cell's editor; the rest go where the focus is.
    QTest::keyClick(entries.Grid(), Qt::Key_4);
    QTest::keyClicks(QApplication::focusWidget(), "51.0125");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Doc().WorkingImage().GetByte(count), 1);

    uitest::GrabOnScreen(*repeater->Form(), QStringLiteral("adjust-repeater-window"));
    QTest::mouseClick(repeater->OkButton(), Qt::LeftButton);
    Settle();
    EXPECT_EQ(window.RepeaterWindow(), nullptr);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(Doc().WorkingImage().GetByte(count), 1) << "OK keeps the entry";
}

} // namespace
