// Copy and paste through the main window's Edit menu and its shortcuts, and a
// typed value saved through File > Save.
#include "cells/CellEngine.h"
#include "cells/CellVocabulary.h"
#include "foundation/ModelClass.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "image/BankSite.h"
#include "image/datCh.h"
#include "platform/Fatal.h"
#include "platform/HelpViewer.h"
#include "tests/ui/AppFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/cuiMenu.h"
#include "ui/cuiSheet.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QTest>
#include <QTreeWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using uitest::AppFixture;

class MainEditTest : public AppFixture {
protected:
    void Settle(int ms = 300) {
        scheduler_.Advance(ms);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Bank 0 with count programmed channels, its sheet open and focused.
    cuiSheet& OpenBank0(indMain& app, TForm1& form, int count) {
        cmcEeprom& image = Doc().WorkingImage();
        SetBankChannelCount(image, 0, count);
        datCh ch(&image);
        const int32_t kind = ModelClassOf(gEnviron->ModelType);
        for (int32_t row = 0; row < count; ++row) {
            ch.Load(kind, row);
            ch.rxFreq = ch.txFreq = 150000000 + row * 12500;
            ch.Store(kind, row);
        }
        gEvMan->Send(evDataReloaded);
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        iuiTree& tree = *app.Tree();
        QTreeWidgetItem* memory = tree.FindNode("GI_Sheet_Memory_CH_Top");
        tree.View()->setCurrentItem(memory->child(0));
        Settle();
        cuiSheet& sheet = *app.Sheet();
        sheet.Grid()->setFocus();
        QApplication::processEvents();
        return sheet;
    }
    std::vector<uint8_t> RowBytes(int32_t row) {
        datCh ch(&Doc().WorkingImage());
        ch.Load(ModelClassOf(gEnviron->ModelType), row);
        return {reinterpret_cast<const uint8_t*>(&ch.rxFreq),
                reinterpret_cast<const uint8_t*>(&ch.rxFreq) + sizeof ch.rxFreq};
    }
    static QAction* Title(TForm1& form, const char* caption) {
        for (QAction* a : form.menuBar()->actions())
            if (a->text() == QLatin1String(caption)) return a;
        return nullptr;
    }
    static std::vector<std::string> Items(QAction* title) {
        std::vector<std::string> items;
        if (title && title->menu())
            for (QAction* a : title->menu()->actions())
                if (!a->isSeparator()) items.push_back(a->text().toStdString());
        return items;
    }
};

TEST_F(MainEditTest, CopyAndPasteOverAShiftDownRangeThroughTheEditMenu) {
    indMain& app = Start();
    TForm1 form(app);
    cuiSheet& sheet = OpenBank0(app, form, 8);
    QAction* edit = Title(form, "&Edit");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Items(edit).front(), "Copy") << "the grid's cell lends its commands";

    cuiGrid* grid = sheet.Grid();
    sheet.SetCurrentCell(grid->Col(), sheet.FirstSelectableRow());
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QAction* copy = nullptr;
    for (QAction* a : edit->menu()->actions())
        if (a->text() == QLatin1String("Copy")) copy = a;
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    Settle(100);

    sheet.SetCurrentCell(grid->Col(), sheet.FirstSelectableRow() + 4);
    boxes_.Expect("The rows to paste into already hold data.\nDo you want to overwrite them?", plat::IDOK);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    Settle(100);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(RowBytes(4 + i), RowBytes(i)) << i;
    EXPECT_EQ(app.StatusMessage(), gGTex->GetText("GI_AppMess_S_Paste"));

    // With the tree focused the Edit menu has nothing of the grid's.
    app.Tree()->View()->setFocus();
    Settle(100);
    edit->trigger();
    Settle(100);
    EXPECT_EQ(Items(edit), std::vector<std::string>{"(no item)"});
}

TEST_F(MainEditTest, AValueTypedIntoTheEditorIsInTheFileThatFileSaveWrites) {
    indMain& app = Start();
    TForm1 form(app);
    cuiSheet& sheet = OpenBank0(app, form, 2);
    int rx = -1;
    const int32_t freqId = CloningCellEngine().Vocabulary().CellIndex("CL_Mch_FreqR");
    for (int c = 0; c < sheet.ColCount(); ++c)
        if (sheet.GetCell(c, sheet.FirstSelectableRow()).cellId == freqId) rx = c;
    ASSERT_GE(rx, 0);
    sheet.SetCurrentCell(rx, sheet.FirstSelectableRow());
    // The first key opens the editor, which takes the rest.
    QTest::keyClick(sheet.Grid(), Qt::Key_1);
    ASSERT_TRUE(sheet.EditorVisible()) << "typing opens the editor";
    QTest::keyClicks(sheet.Editor(), QStringLiteral("51.5"));
    EXPECT_EQ(sheet.Editor()->text().toStdString(), "151.5");

    // File > Save through the menu while the editor is still open.
    const std::string path = dir_.File("typed.icf");
    dialogs_.Expect(plat::ScriptedFileDialog::Kind::Save, path);
    QAction* file = Title(form, "&File");
    ASSERT_NE(file, nullptr);
    QAction* save = nullptr;
    for (QAction* a : file->menu()->actions())
        if (a->text() == QLatin1String("&Save")) save = a;
    ASSERT_NE(save, nullptr);
    save->trigger();
    Settle(100);

    ASSERT_EQ(Doc().OpenFile(path), 0);
    datCh ch(&Doc().WorkingImage());
    ch.Load(ModelClassOf(gEnviron->ModelType), 0);
    EXPECT_EQ(ch.rxFreq, 151500000);
}

TEST_F(MainEditTest, AFontSizeChosenWhileTheGridHasTheKeysReopensTheSheetOnTheNextTick) {
    indMain& app = Start();
    TForm1 form(app);
    cuiSheet& sheet = OpenBank0(app, form, 4);
    const std::string definition = sheet.GetDefinition();
    sheet.SetCurrentCell(sheet.Grid()->Col(), sheet.FirstSelectableRow() + 2);
    QAction* view = Title(form, "&View");
    ASSERT_NE(view, nullptr);
    QAction* large = nullptr;
    for (QAction* a : view->menu()->actions())
        if (a->menu())
            for (QAction* size : a->menu()->actions())
                if (size->text() == QLatin1String("&Large")) large = size;
    ASSERT_NE(large, nullptr);
    large->trigger();
    EXPECT_EQ(app.Sheet(), nullptr) << "the sheet leaves the screen at once";
    EXPECT_EQ(gEnviron->FontSizePercentage, 125);
    Settle(100);
    ASSERT_NE(app.Sheet(), nullptr);
    EXPECT_EQ(app.Sheet()->GetDefinition(), definition);
    EXPECT_EQ(app.Sheet()->CurrentRow(), app.Sheet()->FirstSelectableRow() + 2);
    EXPECT_TRUE(app.Sheet()->Grid()->hasFocus()) << "the grid had the keys when the sheet closed";
}

TEST_F(MainEditTest, AModelChangeClosesTheSheetAndBuildsTheNewModelsTree) {
    indMain& app = Start();
    TForm1 form(app);
    OpenBank0(app, form, 4);
    boxes_.Expect(gGTex->GetTextLine("GI_AppMess_ChangeModel", 0), plat::IDOK);
    Doc().ChangeModel(3, true);
    EXPECT_EQ(app.Sheet(), nullptr) << "the old model's bank sheet is gone";
    Settle(600);
    ASSERT_NE(app.Sheet(), nullptr) << "the next tick opens the same bank in the new model's sheet";
    EXPECT_EQ(app.Sheet()->GetDefinition(), "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
    EXPECT_EQ(app.Tree()->Node(0)->text(0).toStdString(), "Radio (PMR handheld)");
    EXPECT_EQ(cuiTree::LinkOf(app.Tree()->FindNode("GI_Sheet_Memory_CH_Top")->child(0)),
              "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
}

} // namespace

namespace {

// The Edit menu as the user opens it: one click on its title on the menu bar
// shows it with its items, with the tree or the grid focused.
TEST_F(MainEditTest, OneClickOnTheEditTitleOpensTheMenuWithItsItems) {
    indMain& app = Start();
    TForm1 form(app);
    cuiSheet& sheet = OpenBank0(app, form, 2);
    struct Case {
        const char* focus;
        std::string first;
    } cases[] = {{"tree", "(no item)"}, {"grid", "Copy"}};
    for (const Case& c : cases) {
        if (std::string(c.focus) == "tree")
            app.Tree()->View()->setFocus();
        else
            sheet.Grid()->setFocus();
        Settle(100);
        QAction* edit = Title(form, "&Edit");
        ASSERT_NE(edit, nullptr);
        QMenuBar* bar = form.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(edit).center());
        QApplication::processEvents();
        QMenu* menu = edit->menu();
        ASSERT_NE(menu, nullptr) << c.focus;
        EXPECT_TRUE(menu->isVisible()) << c.focus;
        ASSERT_FALSE(Items(edit).empty()) << c.focus;
        EXPECT_EQ(Items(edit).front(), c.first) << c.focus;
        uitest::SavePicture(menu->grab(), QStringLiteral("main_edit_menu_") + QString::fromUtf8(c.focus));
        menu->close();
        Settle(100);
    }
}

} // namespace

namespace {

// The help viewer's requests, file and topic; the program's viewer while it lives.
struct RecordingHelp : plat::HelpViewer {
    RecordingHelp() : before(&plat::Help()) { plat::SetHelpViewer(this); }
    ~RecordingHelp() override { plat::SetHelpViewer(before); }
    RecordingHelp(const RecordingHelp&) = delete;
    RecordingHelp& operator=(const RecordingHelp&) = delete;
    void SetHelpFile(const std::string& path) override {
        if (!path.empty()) file = path;
    }
    void ShowContextPopup(int32_t context) override { contexts.push_back(context); }
    void ShowFinder() override { ++finders; }
    // A help file stands in unless the test leaves the program without one.
    bool HasFile(const std::string& path) const override { return installed || HelpViewer::HasFile(path); }
    std::string file;
    std::vector<int32_t> contexts;
    int finders = 0;
    bool installed = true;
    plat::HelpViewer* before;
};

// Help on this item in the Edit menu asks the help file for the topic of the
// cell under the cursor, as the shipped help tables give it.
TEST_F(MainEditTest, HelpOnThisItemShowsTheTopicOfTheCellUnderTheCursor) {
    RecordingHelp help;
    indMain& app = Start();
    {
        TForm1 form(app);
        cuiSheet& sheet = OpenBank0(app, form, 2);
        QAction* edit = Title(form, "&Edit");
        ASSERT_NE(edit, nullptr);
        const auto askHelp = [&](const char* cellName) {
            const int32_t id = CloningCellEngine().Vocabulary().CellIndex(cellName);
            int col = 0;
            while (col < sheet.ColCount() && sheet.GetCell(col, sheet.FirstSelectableRow()).cellId != id)
                ++col;
            sheet.SetCurrentCell(col, sheet.FirstSelectableRow());
            Settle(100);
            edit->trigger();
            Settle(100);
            QAction* item = nullptr;
            for (QAction* a : edit->menu()->actions())
                if (a->text() == QLatin1String("Help on this item")) item = a;
            ASSERT_NE(item, nullptr);
            item->trigger();
            Settle(100);
        };
        askHelp("CL_Mch_FreqR");
        askHelp("CL_Mch_CTone_R");
        ASSERT_EQ(help.contexts.size(), 2u);
        EXPECT_NE(help.contexts[0], 0);
        EXPECT_NE(help.contexts[1], 0);
        EXPECT_NE(help.contexts[0], help.contexts[1]) << "the frequency has a topic of its own";
        EXPECT_EQ(help.finders, 0);
        EXPECT_TRUE(help.file.ends_with(Text("GI_Sys_MyHelpFile"))) << help.file;
    }
}

} // namespace

namespace {

// Without a help file, F1, Help > Contents and Shift+F1 each say so in a box
// that names where the file was looked for; the viewer is never asked.
TEST_F(MainEditTest, WithoutAHelpFileEachHelpCommandSaysWhereItLooked) {
    RecordingHelp help;
    help.installed = false;
    indMain& app = Start();
    const std::string path = plat::ProgramDirectory() + Text("GI_Sys_MyHelpFile");
    ASSERT_FALSE(std::filesystem::exists(path)) << "no help file is shipped";
    const std::string box = FormatOneText(GetMultiLineText(*gGTex, "GI_AppMess_HelpNotFound"), path);
    {
        TForm1 form(app);
        cuiSheet& sheet = OpenBank0(app, form, 2);
        sheet.SetCurrentCell(sheet.FirstSelectableCol(), sheet.FirstSelectableRow());
        Settle(100);
        const std::vector<std::function<void()>> asks = {
            [&] { QTest::keyClick(sheet.Grid(), Qt::Key_F1); },
            [&] { QTest::keyClick(sheet.Grid(), Qt::Key_F1, Qt::ShiftModifier); },
            [&] {
                QAction* menu = Title(form, "&Help");
                ASSERT_NE(menu, nullptr);
                for (QAction* a : menu->menu()->actions())
                    if (a->text() == QLatin1String("&Contents")) a->trigger();
            },
        };
        for (size_t i = 0; i < asks.size(); ++i) {
            SCOPED_TRACE(i);
            boxes_.Expect(box, plat::IDOK);
            asks[i]();
            Settle(100);
            EXPECT_TRUE(boxes_.Done()) << "no box";
        }
        EXPECT_TRUE(help.contexts.empty());
        EXPECT_EQ(help.finders, 0);
    }
}

} // namespace
