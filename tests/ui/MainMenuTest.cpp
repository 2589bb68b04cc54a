// The main window's menu bar and tool bar as the shipped overlay lists them,
// driven the way the user drives them.
#include "cells/CellEngine.h"
#include "tests/ui/AppFixture.h"
#include "ui/TForm1.h"
#include "ui/cuiMenu.h"
#include "ui/cuiSheet.h"
#include "ui/cuiToolBar.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <string>
#include <vector>

namespace {

// The main menu's edit item, whose sub-items show the current cell's pop-up menu.
int32_t EditMenu() {
    return CloningCellEngine().Vocabulary().CellIndex("CL_Menu_Edit_Top");
}

using uitest::AppFixture;

class MainMenuTest : public AppFixture {
protected:
    static std::string Text(const QAction* a) { return a->text().toStdString(); }
    // The top-level item of the menu bar with the caption.
    static QAction* Title(TForm1& form, const std::string& caption) {
        for (QAction* a : form.menuBar()->actions())
            if (Text(a) == caption) return a;
        return nullptr;
    }
    static QAction* Item(QAction* title, const std::string& caption) {
        if (!title || !title->menu()) return nullptr;
        for (QAction* a : title->menu()->actions())
            if (Text(a) == caption) return a;
        return nullptr;
    }
    // A click on a title: its menu about to show, or the title itself
    // clicked while it has no items.
    void Open(QAction* title) {
        ASSERT_NE(title, nullptr);
        if (title->menu())
            emit title->menu()->aboutToShow();
        else
            title->trigger();
        // What the click posted goes out on the bus's next ticks.
        scheduler_.Advance(100);
        QApplication::processEvents();
    }
};

TEST_F(MainMenuTest, TitlesAndItemsAreTheOverlaysAndEveryItemHasACaption) {
    indMain& app = Start();
    TForm1 form(app);
    std::vector<std::string> titles;
    for (QAction* a : form.menuBar()->actions())
        titles.push_back(Text(a));
    EXPECT_EQ(titles,
              (std::vector<std::string>{"&File", "&Edit", "&View", "&Port", "&Clone", "&Model", "&Help"}));

    int items = 0;
    std::function<void(QAction*)> walk = [&](QAction* a) {
        ++items;
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->text().isEmpty()) << "an item without a caption";
        }
        if (a->menu())
            for (QAction* sub : a->menu()->actions())
                walk(sub);
    };
    for (QAction* a : form.menuBar()->actions())
        walk(a);
    EXPECT_GT(items, 40);

    const QAction* save = Item(Title(form, "&File"), "&Save");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(app.MainMenu()->SubItemCount(EditMenu()), 0) << "the Edit menu starts empty";
}

TEST_F(MainMenuTest, ViewToolBarTicksHidesAndBringsBackTheBar) {
    indMain& app = Start();
    TForm1 form(app);
    QAction* view = Title(form, "&View");
    Open(view);
    QAction* toolBar = Item(view, "&Tool bar");
    ASSERT_NE(toolBar, nullptr);
    EXPECT_TRUE(toolBar->isChecked());
    EXPECT_TRUE(app.ToolBar()->isVisible());
    ASSERT_FALSE(app.MainToolBar()->Buttons().empty());

    toolBar->trigger();
    Open(view);
    EXPECT_FALSE(app.ToolBar()->isVisible());
    EXPECT_FALSE(toolBar->isChecked());
    toolBar->trigger();
    Open(view);
    EXPECT_TRUE(app.ToolBar()->isVisible());
    EXPECT_TRUE(toolBar->isChecked());
}

TEST_F(MainMenuTest, TheCurrentModelIsChecked) {
    indMain& app = Start();
    TForm1 form(app);
    QAction* model = Title(form, "&Model");
    Open(model);
    std::vector<std::string> checked;
    for (QAction* a : model->menu()->actions())
        if (a->isChecked()) checked.push_back(Text(a));
    EXPECT_EQ(checked, std::vector<std::string>{"LMR mobile"}) << "model 5, the default";
    (void)app;
}

TEST_F(MainMenuTest, AnEmptyEditMenuShowsNoItem) {
    indMain& app = Start();
    TForm1 form(app);
    QAction* edit = Title(form, "&Edit");
    Open(edit);
    ASSERT_NE(edit->menu(), nullptr);
    ASSERT_EQ(edit->menu()->actions().size(), 1);
    EXPECT_EQ(Text(edit->menu()->actions()[0]), "(no item)");
    EXPECT_EQ(app.MainMenuSubItemCount(EditMenu()), 1);
}

TEST_F(MainMenuTest, TheCloneErrorHintNamesTheMenuThatHoldsTheComPorts) {
    indMain& app = Start();
    TForm1 form(app);
    std::string hint;
    for (const std::string& line :
         {gGTex->GetTextLine("GI_Mess_CloneErr_Check", 0), gGTex->GetTextLine("GI_Mess_CloneErr_Check", 1),
          gGTex->GetTextLine("GI_Mess_CloneErr_Check", 2)})
        if (line.find("COM port setting") != std::string::npos) hint = line;
    const size_t open = hint.find('(');
    const size_t end = hint.find(" menu)");
    ASSERT_TRUE(open != std::string::npos && end != std::string::npos) << hint;
    const std::string named = hint.substr(open + 1, end - open - 1);
    QAction* holder = nullptr;
    for (QAction* a : form.menuBar()->actions())
        if (a->text().remove(QLatin1Char('&')).toStdString() == named) holder = a;
    ASSERT_NE(holder, nullptr) << "no menu titled " << named;
    EXPECT_EQ(Text(holder->menu()->actions()[0]), "COM&1");
    (void)app;
}

TEST_F(MainMenuTest, RecentFilesShowInTheFileMenuAndOpen) {
    indMain& app = Start();
    TForm1 form(app);
    const std::string path = dir_.File("recent.icf");
    ASSERT_EQ(Doc().SaveFile(path), 0);
    Doc().NewFile();
    QAction* file = Title(form, "&File");
    Open(file);
    QAction* recent = nullptr;
    for (QAction* a : file->menu()->actions())
        if (Text(a).starts_with("&1 ")) recent = a;
    ASSERT_NE(recent, nullptr);
    EXPECT_TRUE(recent->isVisible());
    EXPECT_NE(Text(recent).find("recent.icf"), std::string::npos) << Text(recent);
    recent->trigger();
    EXPECT_EQ(Doc().GetFileName(), path);
    (void)app;
}

} // namespace
