// The tree of the main window over the shipped overlay: the bank nodes, the
// sheets they open after the change delay, and the positions kept per sheet.
#include "cells/CellEngine.h"
#include "cells/WindowCommands.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/RecordLayout.h"
#include "image/datCh.h"
#include "tests/ui/AppFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"
#include "ui/cuiToolBar.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <string>
#include <vector>

namespace {

using uitest::AppFixture;

class MainTreeTest : public AppFixture {
protected:
    static QTreeWidgetItem* NodeCaptioned(iuiTree& tree, const std::string& prefix) {
        for (QTreeWidgetItemIterator it(tree.View()); *it; ++it)
            if ((*it)->text(0).toStdString().starts_with(prefix)) return *it;
        return nullptr;
    }
    // A click on the node as the user makes it, then the change delay.
    void Click(iuiTree& tree, QTreeWidgetItem* node) {
        ASSERT_NE(node, nullptr);
        tree.View()->scrollToItem(node);
        const QRect r = tree.View()->visualItemRect(node);
        QTest::mouseClick(tree.View()->viewport(), Qt::LeftButton, {}, r.center());
        scheduler_.Advance(250);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Settle() {
        scheduler_.Advance(100);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(MainTreeTest, BankNodesCarryNumberNameAndKindAndTheModelCaptionIsOnNodeZero) {
    indMain& app = Start();
    gEnviron->ModelType = 1; // LMR/LTR handheld
    cmcEeprom& image = Doc().WorkingImage();
    (void)image;
    TForm1 form(app);
    cmcEeprom& working = Doc().WorkingImage();
    // Bank 1 an LTR bank with channels, bank 2 a SmarTrunk bank, empty.
    working.SetByte(layout::kLtrBankBitmap, 0x40);
    working.SetByte(layout::kSmarTrunkBitmap, 0x20);
    SetBankChannelCount(working, 1, 3);
    SetBankChannelCount(working, 2, 0);
    SetBankChannelCount(working, 0, 0);
    gEvMan->Send(evRebuildTree);

    iuiTree& tree = *app.Tree();
    EXPECT_EQ(tree.Node(0)->text(0).toStdString(), "Radio (LMR/LTR handheld)");
    QTreeWidgetItem* memory = tree.FindNode("GI_Sheet_Memory_CH_Top");
    ASSERT_NE(memory, nullptr);
    ASSERT_EQ(memory->childCount(), 128);
    EXPECT_EQ(memory->text(0).toStdString(), "Channel memory (LTR banks)");
    for (int bank = 0; bank < 128; ++bank) {
        QTreeWidgetItem* node = memory->child(bank);
        EXPECT_TRUE(node->text(0).toStdString().starts_with(std::to_string(bank + 1) + ": "))
            << node->text(0).toStdString();
        EXPECT_EQ(cuiTree::LinkOf(node), "[St_ChBank]GI_Sheet_Mch_LmrLtr,Bank " + std::to_string(bank));
    }
    struct Case {
        int bank;
        int image;
    } cases[] = {
        {0, iuiTree::kImageBank}, {1, iuiTree::kImageLtrBank + 1}, {2, iuiTree::kImageSmarTrunkBank}};
    for (const Case& c : cases)
        EXPECT_EQ(cuiTree::ImageOf(memory->child(c.bank)), c.image) << c.bank;
}

TEST_F(MainTreeTest, AClickOpensTheBanksSheetAfterTheDelayAndPositionsAreKeptPerName) {
    indMain& app = Start();
    TForm1 form(app);
    form.activateWindow();
    for (int bank = 0; bank < 4; ++bank)
        SetBankChannelCount(Doc().WorkingImage(), bank, 60);
    Settle();
    iuiTree& tree = *app.Tree();

    Click(tree, NodeCaptioned(tree, "3: "));
    ASSERT_NE(app.Sheet(), nullptr);
    EXPECT_EQ(app.Sheet()->GetDefinition(), "[St_ChBank]GI_Sheet_Mch_Lmr_Mob,Bank 2");

    // Row 40 of bank 2's sheet, then bank 3's sheet starts at row 40.
    app.Sheet()->Grid()->setFocus();
    app.Sheet()->SetCurrentCell(app.Sheet()->CurrentCol(), 40);
    EXPECT_EQ(app.Sheet()->CurrentRow(), 40);
    Click(tree, NodeCaptioned(tree, "4: "));
    ASSERT_NE(app.Sheet(), nullptr);
    EXPECT_EQ(app.Sheet()->GetDefinition(), "[St_ChBank]GI_Sheet_Mch_Lmr_Mob,Bank 3");
    EXPECT_EQ(app.Sheet()->CurrentRow(), 40);
    ASSERT_TRUE(app.FindSheetPosition("GI_Sheet_Mch_Lmr_Mob").has_value());

    // New closes the sheet; the next tick brings the same one back.
    boxes_.Expect("Do you want to save the changes to 'Untitled'?", plat::IDNO);
    Doc().NewFile();
    Settle();
    ASSERT_NE(app.Sheet(), nullptr);
    EXPECT_EQ(app.Sheet()->GetDefinition(), "[St_ChBank]GI_Sheet_Mch_Lmr_Mob,Bank 3");
}

} // namespace

namespace {

TEST_F(MainTreeTest, TheWindowWithBankOnesSheetAsTheUserSeesIt) {
    indMain& app = Start();
    TForm1 form(app);
    // Twelve programmed channels: a counted channel without a frequency is an
    // empty row, which shows no texts at all, its number included.
    cmcEeprom& image = Doc().WorkingImage();
    SetBankChannelCount(image, 0, 12);
    datCh ch(&image);
    const int32_t kind = ModelClassOf(gEnviron->ModelType);
    for (int32_t i = 0; i < 12; ++i) {
        const int32_t row = GetBankFirstChannel(image, 0) + i;
        ch.Load(kind, row);
        ch.rxFreq = ch.txFreq = 151000000 + 12500 * i;
        ch.Store(kind, row);
    }
    gEvMan->Send(evRebuildTree);
    Settle();
    iuiTree& tree = *app.Tree();
    Click(tree, NodeCaptioned(tree, "1: "));
    ASSERT_NE(app.Sheet(), nullptr);
    app.Sheet()->Grid()->setFocus();
    QApplication::processEvents();

    const QPixmap shot = form.grab();
    EXPECT_EQ(shot.size(), QSize(gEnviron->WindowWidth, gEnviron->WindowHeight));
    uitest::SavePicture(shot, "main_window_bank0");
    EXPECT_TRUE(tree.View()->isVisible());
    ASSERT_NE(app.Sheet()->TitlePanel(), nullptr);
    EXPECT_TRUE(app.Sheet()->TitlePanel()->isVisible());
    EXPECT_TRUE(app.Sheet()->Grid()->isVisible());
    EXPECT_TRUE(app.SheetPanel()->isAncestorOf(app.Sheet()->Grid()));
    // The widest channel number, of the last bank's last channel, fits its column.
    EXPECT_GE(app.Sheet()->Grid()->ColWidth(0),
              QFontMetrics(app.Sheet()->SheetPanel()->font()).horizontalAdvance(QStringLiteral("128-512")));
    // The tree's selected node is drawn in the highlight colour in the picture.
    const QPoint selected = tree.View()->viewport()->mapTo(
        &form, tree.View()->visualItemRect(tree.View()->currentItem()).center() + QPoint(40, 0));
    EXPECT_EQ(shot.toImage().pixelColor(selected), tree.View()->palette().color(QPalette::Highlight));
}

} // namespace

namespace {

TEST_F(MainTreeTest, APmrZChannelErrorMarksItsBankAndTheCollapsedBranchUntilMended) {
    indMain& app = Start();
    gEnviron->ModelType = 4; // Zuro PMR handheld
    TForm1 form(app);
    cmcEeprom& image = Doc().WorkingImage();
    SetBankChannelCount(image, 0, 1);
    datCh ch(&image);
    const int32_t kind = ModelClassOf(gEnviron->ModelType);
    const int32_t row = GetBankFirstChannel(image, 0);
    ch.Load(kind, row);
    // MSK signalling on, a selective call that is not allowed with it.
    ch.rxFreq = ch.txFreq = 446006250;
    ch.chX3b3 = true;
    ch.chX2Top2 = 1;
    ch.chX2b2 = true;
    ch.Store(kind, row);
    iuiTree& tree = *app.Tree();
    QTreeWidgetItem* memory = tree.FindNode("GI_Sheet_Memory_CH_Top");
    ASSERT_NE(memory, nullptr);
    memory->setExpanded(false);
    // The start-up selection has rested and run its node.
    scheduler_.Advance(500);

    InstalledWindow().ScheduleWarningCheck();
    scheduler_.Advance(250);
    EXPECT_EQ(cuiTree::OverlayOf(memory->child(0)), cuiTree::kOverlayError);
    EXPECT_EQ(cuiTree::OverlayOf(memory), cuiTree::kOverlayError) << "the collapsed branch shows it";
    EXPECT_EQ(cuiTree::OverlayOf(memory->child(1)), -1);
    EXPECT_EQ(cuiTree::OverlayOf(tree.Node(0)), -1) << "an expanded branch stays unmarked";

    // Clone > Write refuses the data.
    QAction* write = nullptr;
    for (QAction* title : form.menuBar()->actions())
        if (title->text() == QLatin1String("&Clone"))
            for (QAction* a : title->menu()->actions())
                if (a->text() == QLatin1String("&Write to radio")) write = a;
    ASSERT_NE(write, nullptr);
    boxes_.Expect(GetMultiLineText(*gGTex, "GI_Mess_DataError"), plat::IDOK);
    write->trigger();

    ch.Load(kind, row);
    ch.chX2b2 = false;
    ch.chX3b3 = false;
    ch.Store(kind, row);
    InstalledWindow().ScheduleWarningCheck();
    scheduler_.Advance(250);
    EXPECT_EQ(cuiTree::OverlayOf(memory->child(0)), -1);
    EXPECT_EQ(cuiTree::OverlayOf(memory), -1);
}

} // namespace

namespace {

// An empty bank's sheet holds its header and the row for a new entry; below
// them the grid shows its own colour down the whole width, the fixed column
// included.
TEST_F(MainTreeTest, AnEmptyBanksSheetPaintsNothingBelowItsLastRow) {
    indMain& app = Start();
    TForm1 form(app);
    // The default model's data holds no channels.
    ASSERT_EQ(GetBankChannelCount(Doc().WorkingImage(), 0), 0);
    SetBankChannelCount(Doc().WorkingImage(), 1, 60);
    gEvMan->Send(evRebuildTree);
    Settle();
    iuiTree& tree = *app.Tree();
    // Left far down another bank of the same sheet kind first.
    Click(tree, NodeCaptioned(tree, "2: "));
    ASSERT_NE(app.Sheet(), nullptr);
    app.Sheet()->Grid()->setFocus();
    app.Sheet()->SetCurrentCell(app.Sheet()->CurrentCol(), 40);
    Click(tree, NodeCaptioned(tree, "1: "));
    ASSERT_NE(app.Sheet(), nullptr);
    cuiGrid& grid = *app.Sheet()->Grid();
    grid.setFocus();
    QApplication::processEvents();

    // What the screen holds, painted piece by piece as the sheet came up,
    // not a fresh paint of the whole window.
    QApplication::processEvents();
    const QPixmap shot = form.screen()->grabWindow(form.winId());
    uitest::SavePicture(shot, "main_window_empty_bank");
    const QPoint origin = grid.viewport()->mapTo(&form, QPoint(0, 0));
    const QImage picture = shot.copy(QRect(origin, grid.viewport()->size())).toImage();
    // The group headings, the captions and the empty row.
    ASSERT_EQ(grid.RowCount(), 3);
    const int below = grid.RowHeight(0) + grid.RowHeight(1) + grid.RowHeight(2);
    ASSERT_LT(below + 4, picture.height());
    const QColor gridColour = picture.pixelColor(picture.width() - 2, picture.height() - 2);
    for (int y = below + 1; y < picture.height(); y += 3)
        ASSERT_EQ(picture.pixelColor(grid.ColWidth(0) / 2, y), gridColour) << "y " << y;
}

} // namespace

namespace {

// New, Open and a model change close the open sheet; the next tick opens the
// selected node's sheet again, in the data now in place.
TEST_F(MainTreeTest, NewOpenAndAModelChangeReopenTheSheetOnTheNextTick) {
    struct Case {
        const char* action;
        const char* reopened;
    } cases[] = {
        {"new", "[St_ChBank]GI_Sheet_Mch_Lmr_Mob,Bank 2"},
        {"open", "[St_ChBank]GI_Sheet_Mch_Lmr_Mob,Bank 2"},
        {"model", "[St_ChBank]GI_Sheet_Mch_LmrLtr_Mob,Bank 2"},
    };
    indMain& app = Start();
    TForm1 form(app);
    const std::string path = dir_.File("saved.icf");
    ASSERT_EQ(Doc().SaveFile(path), 0);
    for (const Case& c : cases) {
        gEnviron->ModelType = 5;
        gEvMan->Send(evRebuildTree);
        Settle();
        iuiTree& tree = *app.Tree();
        Click(tree, NodeCaptioned(tree, "3: "));
        ASSERT_NE(app.Sheet(), nullptr) << c.action;
        const std::string action = c.action;
        if (action == "new") {
            Doc().NewFile();
        } else if (action == "open") {
            Doc().OpenFile(path);
        } else {
            Doc().ChangeModel(6, false);
        }
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(app.Sheet(), nullptr) << c.action << ": the old sheet is closed";
        Settle();
        ASSERT_NE(app.Sheet(), nullptr) << c.action;
        EXPECT_EQ(app.Sheet()->GetDefinition(), c.reopened) << c.action;
    }
}

} // namespace

namespace {

// The tool bar's Print follows the open sheet as File > Print does: greyed
// while no printable sheet is open, usable as soon as a click on a bank
// with channels opens one, the keyboard left where the click put it.
TEST_F(MainTreeTest, PrintOnTheToolBarFollowsTheOpenSheet) {
    indMain& app = Start();
    TForm1 form(app);
    form.activateWindow();
    SetBankChannelCount(Doc().WorkingImage(), 0, 3);
    for (int32_t bank = 1; bank < 128; ++bank)
        SetBankChannelCount(Doc().WorkingImage(), bank, 0);
    Settle();
    iuiTree& tree = *app.Tree();
    const int32_t print = CloningCellEngine().Vocabulary().CellIndex("CL_Menu_File_Print_Current");
    QToolButton* button = nullptr;
    for (QToolButton* b : app.MainToolBar()->Buttons())
        if (const cmcCellObj* cell = cuiToolBar::CellOf(b); cell && cell->cellId == print) button = b;
    ASSERT_NE(button, nullptr);
    const auto printItem = [&]() -> QAction* {
        for (QAction* top : form.menuBar()->actions())
            if (top->menu())
                for (QAction* a : top->menu()->actions())
                    if (a->text() == QLatin1String("&Print")) return a;
        return nullptr;
    };
    ASSERT_NE(printItem(), nullptr);

    Click(tree, NodeCaptioned(tree, "2: "));
    ASSERT_NE(app.Sheet(), nullptr);
    EXPECT_FALSE(button->isEnabled()) << "an empty bank prints nothing";
    EXPECT_EQ(button->isEnabled(), printItem()->isEnabled());
    QWidget* focus = QApplication::focusWidget();

    Click(tree, NodeCaptioned(tree, "1: "));
    ASSERT_NE(app.Sheet(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), focus) << "no change of focus on the way";
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->isEnabled(), printItem()->isEnabled());
}

} // namespace
