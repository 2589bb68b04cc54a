#include "cells/cmcCellObj.h"
#include "image/datClipCh.h"
#include "platform/Fatal.h"
#include "tests/ui/MenuFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/cuiMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>

#include <memory>
#include <string>
#include <vector>

namespace {

// The main menu of the fixture lists.
class MenuTest : public uitest::MenuFixture {
protected:
    // The main menu on the form's menu bar, built and refreshed.
    cuiMenu& MainMenu() {
        main_ = std::make_unique<cuiMenu>(Engine(), form_.menuBar(), texts_, "Fx_Menu_Main");
        main_->SetImages(&images_);
        window_.menu = main_.get();
        main_->Build();
        main_->RefreshAll();
        return *main_;
    }

    QAction* Item(const char* cellName) {
        QAction* item = main_->FindItemByCommand(nullptr, Id(cellName));
        EXPECT_NE(item, nullptr) << cellName;
        return item;
    }

    // Opens the menu bar's item and clicks the item in its drop-down, as a user does.
    void ClickMenu(QAction* top, QAction* item) {
        QMenuBar* bar = form_.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
        QMenu* menu = top->menu();
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(menu->isVisible());
        for (QMenu* sub = menu; sub;) {
            if (sub->actions().contains(item)) {
                QTest::mouseClick(sub, Qt::LeftButton, {}, sub->actionGeometry(item).center());
                return;
            }
            // The item lies deeper: open the sub-menu that holds it.
            QAction* opener = nullptr;
            for (QAction* a : sub->actions())
                if (a->menu() && main_->FindItem(a, item)) opener = a;
            if (!opener) break;
            QMenu* next = opener->menu();
            // Right on the highlighted item opens its sub-menu at once.
            sub->setActiveAction(opener);
            QTest::keyClick(sub, Qt::Key_Right);
            ASSERT_TRUE(next->isVisible());
            sub = next;
        }
        FAIL() << "the item is not in that menu";
    }

    std::unique_ptr<cuiMenu> main_;
};

// One line per item: its depth, caption and what is shown of its state.
std::string Dump(const cuiMenu& menu, QAction* item = nullptr, int depth = 0) {
    std::string out;
    for (QAction* sub : menu.SubItems(item)) {
        out += std::string(static_cast<size_t>(depth), ' ');
        out += sub->isSeparator() ? std::string("---") : sub->text().toStdString();
        if (sub->isChecked()) out += " [x]";
        if (!sub->isVisible()) out += " (hidden)";
        if (!sub->isEnabled()) out += " (grey)";
        if (!sub->shortcut().isEmpty()) out += " <" + sub->shortcut().toString().toStdString() + ">";
        out += "\n";
        out += Dump(menu, sub, depth + 1);
    }
    return out;
}

TEST_F(MenuTest, BuildsTheFixtureListWithItsDepthsSeparatorsShortcutsAndStates) {
    gEnviron->ModelType = 3;
    gEnviron->ToolbarVisible = 1;
    gEnviron->Recent.Clear();
    cuiMenu& menu = MainMenu();
    EXPECT_EQ(Dump(menu), "&File\n"
                          " &Print <Ctrl+P>\n"
                          " Print &all\n"
                          " ---\n"
                          " Recent (grey)\n"
                          " Recent (hidden) (grey)\n"
                          " Recent (hidden) (grey)\n"
                          " ---\n"
                          " E&xit <Ctrl+Q>\n"
                          "&Edit\n"
                          "&View\n"
                          " &Tool bar [x]\n"
                          " &Model\n"
                          "  LMR handheld\n"
                          "  LMR/LTR handheld\n"
                          "  LMR/P25 handheld\n"
                          "  PMR handheld [x]\n"
                          "  Zuro PMR handheld\n"
                          "  LMR mobile\n"
                          "  LMR/LTR mobile\n"
                          "  LMR/P25 mobile\n"
                          "  PMR mobile\n"
                          "  Zuro PMR mobile\n"
                          "&Help\n"
                          " &About <F1>\n");
    // The picture the cell names, from the image list.
    EXPECT_EQ(Item("CL_Menu_File_Print_Current")->icon().cacheKey(), images_[2].cacheKey());
    EXPECT_TRUE(Item("CL_Menu_File_Print_All")->icon().isNull());
}

// The depth of a line is what stands before its first '+'; a deeper line
// opens a list under the item before it, however much deeper it is.
TEST_F(MenuTest, DepthsComeFromWhatStandsBeforeTheFirstPlus) {
    struct Case {
        const char* what;
        std::vector<const char*> body;
        const char* tree;
    };
    const std::vector<Case> cases = {
        {"three deeper, then back by two", {"+A", "   +A1", "   +A2", " +A3", "+B"}, "A\n A1\n A2\n A3\nB\n"},
        {"the first line deepest: the rest is ignored", {"  +X", "+Y", "+Z"}, "X\n"},
        {"a plus in the caption after the first",
         {"+Save{(%CL_Menu_File_Save:Ctrl+S)}", "+a+b"},
         "Save <Ctrl+S>\na+b\n"},
        {"no plus: the whole line is the indent", {"+A", "xyz", "+B"}, "A\n \nB\n"},
        {"indent and plus only", {"+A", " +", "+B"}, "A\n \nB\n"},
        {"any characters indent", {"+A", "..+A1", "+B"}, "A\n A1\nB\n"},
        {"an empty list", {}, ""},
    };
    for (const Case& c : cases) {
        std::vector<const char*> lines = {"#Fx_BasicCell", "{}", "#Fx_Body"};
        lines.insert(lines.end(), c.body.begin(), c.body.end());
        lines.push_back("#End_Of_Ovl");
        lines.push_back(nullptr);
        cmcGTex texts;
        texts.SetLines(lines.data());
        QMenu root;
        cuiMenu menu(Engine(), &root, texts, "Fx");
        menu.Build();
        std::string tree = Dump(menu);
        EXPECT_EQ(tree, c.tree) << c.what;
    }
}

// The argument text is the item's shortcut, in the names the overlays use.
TEST_F(MenuTest, ShortcutsFromTheArgumentText) {
    struct Case {
        const char* argument;
        QList<QKeySequence> shortcuts;
    };
    const std::vector<Case> cases = {
        {"Ctrl+S", {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {"Shift+Ctrl+C", {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_C)}},
        {"F1", {QKeySequence(Qt::Key_F1)}},
        {"Del", {QKeySequence(Qt::Key_Delete)}},
        {"Ctrl+Ins", {QKeySequence(Qt::CTRL | Qt::Key_Insert)}},
        {"Enter", {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}},
        {"Ctrl+Enter", {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}},
        {"BkSp", {QKeySequence(Qt::Key_Backspace)}},
        {"Alt+BkSp", {QKeySequence(Qt::ALT | Qt::Key_Backspace)}},
        {"PgDn", {QKeySequence(Qt::Key_PageDown)}},
        {"PgUp", {QKeySequence(Qt::Key_PageUp)}},
        {"", {}},
        {"[Bank]no key", {}},
    };
    for (const Case& c : cases) {
        const std::string item = std::string("+Item{(%CL_Menu_File_Exit:") + c.argument + ")}";
        const char* const lines[] = {"#Fx_BasicCell", "{}", "#Fx_Body", item.c_str(), "#End_Of_Ovl", nullptr};
        cmcGTex texts;
        texts.SetLines(lines);
        QMenu root;
        cuiMenu menu(Engine(), &root, texts, "Fx");
        menu.Build();
        ASSERT_EQ(menu.SubItems(nullptr).size(), 1);
        EXPECT_EQ(menu.SubItems(nullptr)[0]->shortcuts(), c.shortcuts) << c.argument;
    }
}

// The lists are the program's own texts: a fault in them ends the program.
TEST_F(MenuTest, AMissingKeyOrAnUnknownCellNameIsFatal) {
    struct Case {
        std::vector<const char*> lines;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"#Other", "x"}, "GTEX Error"},
        {{"#Fx_BasicCell", "{}"}, "GTEX Error"},
        {{"#Fx_BasicCell", "{}", "#Fx_Body", "+A", " +B{(%CL_No_Such_Cell)}"}, "CL_No_Such_Cell"},
        {{"#Fx_BasicCell", "{(%CT_No_Such_Category.CL_Null)}", "#Fx_Body", "+A"}, "CT_No_Such_Category"},
    };
    for (const Case& c : cases) {
        std::vector<const char*> lines = c.lines;
        lines.push_back("#End_Of_Ovl");
        lines.push_back(nullptr);
        cmcGTex texts;
        texts.SetLines(lines.data());
        QMenu root;
        cuiMenu menu(Engine(), &root, texts, "Fx");
        try {
            menu.Build();
            ADD_FAILURE() << "no fatal exit for " << c.message;
        } catch (const plat::FatalError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

// Events 10 and 11 for a command id no item carries change nothing.
TEST_F(MenuTest, ListEventsForAnAbsentCommandDoNothing) {
    cuiMenu& menu = MainMenu();
    const std::string before = Dump(menu);
    gEvMan->Send(evClearMenuItems, 0, Id("CL_Help_Contents"));
    gEvMan->SendText(evBuildMenuItems, cuiMenu::BusId(&menu), Id("CL_Help_Contents"), "Fx_PMenu_Row");
    EXPECT_EQ(Dump(menu), before);
    // Event 10 for an item without sub-items leaves it as it is.
    gEvMan->Send(evClearMenuItems, 0, Id("CL_Menu_File_Exit"));
    EXPECT_EQ(Dump(menu), before);
}

TEST_F(MenuTest, ABuildAgainReplacesEveryItem) {
    cuiMenu& menu = MainMenu();
    const std::string first = Dump(menu);
    menu.Build();
    menu.RefreshAll();
    EXPECT_EQ(Dump(menu), first);
    EXPECT_EQ(form_.menuBar()->actions().size(), 4);
}

TEST_F(MenuTest, RecentFileItemsShowTheirEntriesOnceTheMenuIsRefreshed) {
    gEnviron->Recent.Clear();
    cuiMenu& menu = MainMenu();
    gEnviron->Recent.AddTop("/data/b.icf");
    gEnviron->Recent.AddTop("/data/a.icf");
    gEvMan->Send(evUpdateMenus);
    const QList<QAction*> file = menu.SubItems(form_.menuBar()->actions()[0]);
    ASSERT_EQ(file.size(), 8);
    EXPECT_EQ(file[3]->text(), "&1 /data/a.icf");
    EXPECT_EQ(file[4]->text(), "&2 /data/b.icf");
    EXPECT_TRUE(file[3]->isEnabled());
    EXPECT_TRUE(file[4]->isVisible());
    EXPECT_FALSE(file[5]->isVisible()) << "no third entry";
}

TEST_F(MenuTest, AClickedItemRunsItsCellAndTheMenuShowsTheNewState) {
    gEnviron->ToolbarVisible = 1;
    cuiMenu& menu = MainMenu();
    Show();
    QAction* view = form_.menuBar()->actions()[2];
    QAction* toolBar = Item("CL_Menu_View_ToolBar");
    ASSERT_TRUE(toolBar->isChecked());
    ClickMenu(view, toolBar);
    EXPECT_EQ(window_.calls, std::vector<std::string>{"ToggleToolBar"});
    EXPECT_EQ(gEnviron->ToolbarVisible, 0);
    EXPECT_FALSE(toolBar->isChecked()) << "the whole menu is refreshed after the command";
    EXPECT_EQ(&menu, main_.get());
}

TEST_F(MenuTest, AModelItemAsksThenChangesTheModelAndTheTickMoves) {
    gEnviron->ModelType = 3;
    MainMenu();
    Show();
    QAction* pmrMobile = Item("CL_Model_Pmr_Mob");
    boxes_.Expect("", 1);
    ClickMenu(form_.menuBar()->actions()[2], pmrMobile);
    EXPECT_EQ(gEnviron->ModelType, 8);
    EXPECT_TRUE(pmrMobile->isChecked());
    EXPECT_FALSE(Item("CL_Model_Pmr")->isChecked());
}

TEST_F(MenuTest, ShortcutsFromTheArgumentTextActOnTheWindow) {
    MainMenu();
    Show();
    QTest::keyClick(&form_, Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(&form_, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"Print 0", "CloseMainForm"}));
    // A greyed item's shortcut does nothing.
    window_.printable = false;
    gEvMan->Send(evUpdateMenus);
    EXPECT_FALSE(Item("CL_Menu_File_Print_Current")->isEnabled());
    QTest::keyClick(&form_, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(window_.calls.size(), 2u);
}

// A command that ends the window ends its menu too, from within the click.
TEST_F(MenuTest, ACommandThatDeletesTheMenuEndsTheClickCleanly) {
    MainMenu();
    window_.onClose = [this] {
        window_.menu = nullptr;
        main_.reset();
    };
    Show();
    QTest::keyClick(&form_, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(window_.calls, std::vector<std::string>{"CloseMainForm"});
    EXPECT_EQ(main_, nullptr);
    EXPECT_TRUE(form_.menuBar()->actions().isEmpty()) << "no item outlives its menu";
}

TEST_F(MenuTest, FindItemByCommandSearchesDepthFirstFromTheStartItem) {
    const char* const lines[] = {"#Fx_BasicCell",
                                 "{}",
                                 "#Fx_Body",
                                 "+Top",
                                 " +Inner{(%CL_Menu_File_Exit)}",
                                 "  +Deep{(%CL_Menu_File_Save)}",
                                 "+Second{(%CL_Menu_File_Save)}",
                                 "+Third{(%CL_Menu_File_Exit)}",
                                 "#End_Of_Ovl",
                                 nullptr};
    cmcGTex texts;
    texts.SetLines(lines);
    QMenu root;
    cuiMenu menu(Engine(), &root, texts, "Fx");
    menu.Build();
    const QList<QAction*> top = menu.SubItems(nullptr);
    ASSERT_EQ(top.size(), 3);
    const int32_t save = Id("CL_Menu_File_Save");
    QAction* deep = menu.FindItemByCommand(nullptr, save);
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->text(), "Deep") << "depth first: the nested item before the later top-level one";
    EXPECT_EQ(menu.FindItemByCommand(top[1], save), top[1]) << "the start item itself first";
    EXPECT_EQ(menu.FindItemByCommand(top[2], save), nullptr) << "only under the start item";
    EXPECT_EQ(menu.FindItemByCommand(nullptr, Id("CL_Menu_File_Exit"))->text(), "Inner");
    EXPECT_EQ(menu.FindItemByCommand(nullptr, Id("CL_Help_About")), nullptr);
    EXPECT_EQ(menu.SubItemCount(Id("CL_Menu_File_Exit")), 1);
    EXPECT_EQ(menu.SubItemCount(Id("CL_Help_About")), -1);
    EXPECT_EQ(menu.FindItem(top[0], deep), deep);
    EXPECT_EQ(menu.FindItem(top[1], deep), nullptr);
}

// A sheet lends its pop-up commands to the main menu's Edit item (events 10
// and 11); they are clicked through the sheet's handler and leave with the
// sheet's pop-up menu.
class PopupLending : public MenuTest {
protected:
    QAction* Edit() { return Item("CL_Menu_Edit_Top"); }
    void Lend() {
        gEvMan->Send(evClearMenuItems, 0, edit_);
        gEvMan->SendText(evBuildMenuItems, cuiMenu::BusId(popup_.get()), edit_, "Fx_PMenu_Row");
    }
    std::unique_ptr<cuiMenu> MakePopup(QMenu* root) {
        auto menu = std::make_unique<cuiMenu>(Engine(), root, texts_, "Fx_PMenu_Row", [this](QAction* item) {
            clicked_.push_back(item->text().toStdString());
        });
        menu->Build();
        return menu;
    }

    // The pop-up's Paste asks the clipboard the main window owns.
    PopupLending() { SetProgramClipboard(&clipboard_); }
    ~PopupLending() override { SetProgramClipboard(nullptr); }

    datClipCh clipboard_;
    const int32_t edit_ = Id("CL_Menu_Edit_Top");
    std::unique_ptr<QMenu> popupRoot_ = std::make_unique<QMenu>();
    std::unique_ptr<cuiMenu> popup_;
    std::vector<std::string> clicked_;
};

TEST_F(PopupLending, LentItemsAreClickedThroughTheDonorsHandler) {
    cuiMenu& menu = MainMenu();
    popup_ = MakePopup(popupRoot_.get());
    Lend();
    EXPECT_EQ(Dump(menu, Edit()), "&Copy <Ctrl+C>\n&Paste <Ctrl+V>\n---\nCarry\n Up\n Down\n");
    EXPECT_EQ(Dump(*popup_), Dump(menu, Edit())) << "the same list as the pop-up's own";
    QAction* copy = menu.SubItems(Edit())[0];
    EXPECT_EQ(copy->parent(), popupRoot_.get()) << "owned by the donor's root";
    Show();
    ClickMenu(form_.menuBar()->actions()[1], copy);
    EXPECT_EQ(clicked_, std::vector<std::string>{"&Copy"});

    // Lent again: event 10 clears the old ones first.
    Lend();
    EXPECT_EQ(menu.SubItems(Edit()).size(), 4);
    gEvMan->Send(evClearMenuItems, 0, edit_);
    EXPECT_EQ(menu.SubItemCount(edit_), 0);
    ASSERT_NE(Edit()->menu(), nullptr) << "a title on the menu bar keeps its menu";
    EXPECT_TRUE(Edit()->menu()->actions().isEmpty());
}

// The sheet's grid carries its pop-up items, so their shortcuts act while
// it has the focus; the lent copies in the main menu must not compete.
TEST_F(PopupLending, AShortcutOfALentItemActsOnceThroughTheDonorsOwnItem) {
    MainMenu();
    popup_ = MakePopup(popupRoot_.get());
    auto* grid = new QWidget;
    grid->setFocusPolicy(Qt::StrongFocus);
    form_.setCentralWidget(grid);
    grid->addActions(popupRoot_->actions());
    Lend();
    Show();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clicked_, std::vector<std::string>{"&Copy"});
}

TEST_F(PopupLending, LentItemsLeaveWithTheDonorsMenu) {
    cuiMenu& menu = MainMenu();
    popup_ = MakePopup(popupRoot_.get());
    Lend();
    ASSERT_EQ(menu.SubItemCount(edit_), 4);
    popup_.reset();
    EXPECT_EQ(menu.SubItemCount(edit_), 0) << "the donor menu took its lent items with it";

    popup_ = MakePopup(popupRoot_.get());
    Lend();
    ASSERT_EQ(menu.SubItemCount(edit_), 4);
    popupRoot_.reset();
    EXPECT_EQ(menu.SubItemCount(edit_), 0) << "the donor's root took them";
    popup_.reset();
    gEvMan->Send(evUpdateMenus);
    EXPECT_EQ(Dump(menu, Edit()), "");
}

TEST_F(PopupLending, ADonorGoneBeforeAPostedBuildArrivesLendsNothing) {
    cuiMenu& menu = MainMenu();
    popup_ = MakePopup(popupRoot_.get());
    gEvMan->PostText(evBuildMenuItems, cuiMenu::BusId(popup_.get()), edit_, "Fx_PMenu_Row");
    popup_.reset();
    Dispatch();
    EXPECT_EQ(menu.SubItemCount(edit_), 0);
}

TEST_F(PopupLending, AnEmptyEditMenuGetsItsNoItemEntryWhenClicked) {
    cuiMenu& menu = MainMenu();
    Show();
    QTest::mouseClick(form_.menuBar(), Qt::LeftButton, {}, form_.menuBar()->actionGeometry(Edit()).center());
    Dispatch();
    ASSERT_EQ(menu.SubItemCount(edit_), 1);
    // Opened, the Edit menu shows the entry as its cell has it.
    QTest::keyClick(Edit()->menu(), Qt::Key_Escape);
    QTest::mouseClick(form_.menuBar(), Qt::LeftButton, {}, form_.menuBar()->actionGeometry(Edit()).center());
    ASSERT_TRUE(Edit()->menu()->isVisible());
    EXPECT_EQ(Dump(menu, Edit()), "(no item) (grey)\n");
    // With the sheet's commands lent the entry is not there.
    popup_ = MakePopup(popupRoot_.get());
    Lend();
    EXPECT_EQ(menu.SubItemCount(edit_), 4);
}

// A refresh asks for the current cell of the sheet that owns the items'
// menu (event 12), and the cells judge the row the menu was opened on.
TEST_F(PopupLending, ItemsAreJudgedInTheCellTheirSheetAnswers) {
    popup_ = MakePopup(popupRoot_.get());
    struct Sheet {
        QMenu* root;
        cmcCellObj current;
        std::vector<intptr_t> asked;
    } sheet{popupRoot_.get(), {}, {}};
    sheet.current.category = indActiveCell::CategoryIndex("CT_RX_Code");
    sheet.current.cellId = Id("CL_Null");
    const auto answer = [](void* user, const cmcEvent& ev) {
        auto* s = static_cast<Sheet*>(user);
        if (ev.type != evQueryCurrentCell) return;
        s->asked.push_back(ev.p1);
        if (ev.p1 == cuiMenu::BusId(s->root)) cuiMenu::AnswerCell(s->current);
    };
    gEvMan->AddListener(answer, &sheet);
    QAction* copy = popup_->SubItems(nullptr)[0];
    QAction* carryUp = popup_->SubItems(popup_->SubItems(nullptr)[3])[0];
    struct Case {
        int32_t row;
        bool enabled;
    };
    for (const Case c : {Case{0, false}, Case{3, true}}) {
        sheet.current.index = c.row;
        sheet.asked.clear();
        popup_->RefreshAll();
        EXPECT_EQ(copy->isEnabled(), c.enabled) << "row " << c.row;
        EXPECT_EQ(carryUp->isEnabled(), c.enabled) << "a nested item, row " << c.row;
        // Once for the whole list, nested items and all.
        EXPECT_EQ(sheet.asked, std::vector<intptr_t>{cuiMenu::BusId(popupRoot_.get())});
    }
    gEvMan->RemoveListener(answer, &sheet);
}

TEST_F(PopupLending, TheCellTravelsOnTheBusWhole) {
    cmcCellObj cell;
    cell.category = 7;
    cell.cellId = 1234;
    cell.index = 511;
    cell.imageIndex = 3;
    cell.flags = 0x85;
    cell.flags2 = 0x02;
    cell.layout = 0x41;
    cell.color = 0x00FF8000;
    cell.argument = "arg";
    cell.caption = std::string("cap\0tion", 8);
    const auto answer = [](void* user, const cmcEvent&) {
        cuiMenu::AnswerCell(*static_cast<cmcCellObj*>(user));
    };
    gEvMan->AddListener(answer, &cell);
    cmcCellObj back;
    ASSERT_TRUE(cuiMenu::CellFromAnswers(gEvMan->SendWithAnswer(evQueryCurrentCell), back));
    gEvMan->RemoveListener(answer, &cell);
    EXPECT_EQ(back.GetAddress(), cell.GetAddress());
    EXPECT_EQ(back.imageIndex, 3);
    EXPECT_EQ(back.flags, 0x85);
    EXPECT_EQ(back.flags2, 0x02);
    EXPECT_EQ(back.layout, 0x41);
    EXPECT_EQ(back.color, 0x00FF8000u);
    EXPECT_EQ(back.argument, cell.argument);
    EXPECT_EQ(back.caption, cell.caption);
    EXPECT_FALSE(back.popupMenu);
    // Answers that are no cell are passed over.
    EXPECT_FALSE(cuiMenu::CellFromAnswers({cmcEvAns{1, 2, {}}, cmcEvAns{0, 0, {1, 2, 3}}}, back));
}

// The form with the open menus drawn where they pop up.
QPixmap Shot(QWidget& form, const std::vector<QMenu*>& open) {
    QPixmap shot(form.size());
    shot.fill(Qt::white);
    QPainter painter(&shot);
    painter.drawPixmap(0, 0, form.grab());
    for (QMenu* menu : open)
        painter.drawPixmap(form.mapFromGlobal(menu->pos()), menu->grab());
    painter.end();
    return shot;
}

TEST_F(MenuTest, LooksLikeAMenu) {
    gEnviron->ModelType = 3;
    gEnviron->ToolbarVisible = 1;
    gEnviron->Recent.Clear();
    gEnviron->Recent.AddTop("/data/a.icf");
    MainMenu();
    Show();
    QMenuBar* bar = form_.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions()[0]).center());
    QMenu* file = bar->actions()[0]->menu();
    ASSERT_TRUE(file->isVisible());
    ASSERT_TRUE(uitest::SavePicture(Shot(form_, {file}), "menu13-menu"));
    QTest::keyClick(file, Qt::Key_Escape);

    // The ticks: the tool bar shown, model 3 chosen.
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions()[2]).center());
    QMenu* view = bar->actions()[2]->menu();
    ASSERT_TRUE(view->isVisible());
    QAction* model = view->actions()[1];
    view->setActiveAction(model);
    QTest::keyClick(view, Qt::Key_Right);
    ASSERT_TRUE(model->menu()->isVisible());
    ASSERT_TRUE(uitest::SavePicture(Shot(form_, {view, model->menu()}), "menu13-menu-ticks"));
}

TEST_F(PopupLending, LooksLikeTheSheetsCommandsInTheEditMenu) {
    MainMenu();
    popup_ = MakePopup(popupRoot_.get());
    Lend();
    gEvMan->Send(evUpdateMenus);
    Show();
    QMenuBar* bar = form_.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(Edit()).center());
    QMenu* edit = Edit()->menu();
    ASSERT_TRUE(edit->isVisible());
    ASSERT_TRUE(uitest::SavePicture(Shot(form_, {edit}), "menu13-menu-lent"));
}

} // namespace
