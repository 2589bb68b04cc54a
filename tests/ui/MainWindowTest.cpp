#include "cells/WindowCommands.h"
#include "tests/ui/AppFixture.h"
#include "ui/TForm1.h"

#include <QLabel>
#include <QPixmap>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

namespace {

using uitest::AppFixture;

class MainWindowTest : public AppFixture {};

TEST_F(MainWindowTest, StartsUntitledWithTheOverlaysTitleFontAndTheStoredModelsData) {
    indMain& app = Start();
    TForm1 form(app);
    CloningDocument& doc = Doc();

    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle().toStdString(), "Untitled - " + AppTitle());
    EXPECT_EQ(form.minimumSize(), QSize(400, 200));
    // What the user sees: the window drawn at the stored size.
    const QPixmap shot = form.grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(gEnviron->WindowWidth, gEnviron->WindowHeight));
    EXPECT_EQ(shot.size(), form.size());
    EXPECT_EQ(form.font().pixelSize(), 12) << "9 points of the basic cell at 96 dots per inch";
    EXPECT_EQ(form.TreeImages().size(), 12);
    EXPECT_EQ(form.ToolBarImages().size(), 14);
    ASSERT_NE(app.ToolBar(), nullptr);
    EXPECT_TRUE(app.ToolBar()->isVisible());
    ASSERT_NE(app.TreePanel(), nullptr);
    EXPECT_EQ(app.TreePanel()->width(), 200) << "the stored splitter position";

    // The default model is model 5; its start-up data, expanded, is the
    // reference, and packed again it is the working image.
    ExpectModelData(doc, 5);
    EXPECT_TRUE(doc.IsUntitled());
    EXPECT_FALSE(doc.UpdateModified());
    EXPECT_EQ(doc.GetFileName(), Documents() + "/Untitled");
}

TEST_F(MainWindowTest, SavedBoundsOutsideTheWorkAreaComeBackAndTheCloseWritesThemBack) {
    indMain& app = Start();
    gEnviron->WindowLeft = 5000;
    gEnviron->WindowTop = -300;
    gEnviron->WindowWidth = 640;
    gEnviron->WindowHeight = 480;
    gEnviron->SplitterV = 3;
    {
        TForm1 form(app);
        EXPECT_EQ(form.geometry().left(), 1280 - 16);
        EXPECT_EQ(form.geometry().top(), 0);
        EXPECT_EQ(app.TreePanel()->width(), 8) << "never narrower than the splitter's minimum";
        form.setGeometry(100, 50, 640, 480);
        EXPECT_TRUE(form.close()) << "unmodified data closes without a question";
        EXPECT_EQ(app.Form(), nullptr);
    }
    EXPECT_EQ(gEnviron->WindowLeft, 100);
    EXPECT_EQ(gEnviron->WindowTop, 50);
    EXPECT_EQ(gEnviron->WindowWidth, 640);
    EXPECT_EQ(gEnviron->SplitterV, 8);

    // The settings object, destroyed last, writes them to the file.
    Stop();
    plat::IniSettingsStore ini(dir_.File("config") + "/Morv/Tolvane.ini");
    EXPECT_EQ(ini.Get("Window Position", "Left").integer, 100);
    EXPECT_EQ(ini.Get("Global", "BBT").integer, indEnviron::ValidMarker);
}

TEST_F(MainWindowTest, ClosingWithUnsavedDataAsksAndCancelKeepsTheWindowOpen) {
    indMain& app = Start();
    TForm1 form(app);
    Doc().WorkingImage().SetByte(layout::kComment1, 'X');
    ASSERT_TRUE(Doc().UpdateModified());

    boxes_.Expect("Do you want to save the changes to 'Untitled'?", plat::IDCANCEL);
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(boxes_.Log().back().caption, AppTitle());

    boxes_.Expect("Untitled", plat::IDNO);
    EXPECT_TRUE(form.close());
}

TEST_F(MainWindowTest, TheMakerSwitchInAnyLetterCaseAsksTheCautionFirst) {
    indMain& app = Start();
    app.SetCommandLine({"QT4410R", "/VorPlex"});
    boxes_.Expect(Text("GI_Mess_Maker_Caution"), plat::IDCANCEL);
    {
        TForm1 form(app);
        EXPECT_FALSE(Doc().IsMakerMode()) << "Cancel leaves the program in user mode";
        EXPECT_EQ(form.findChild<QLabel*>("MakerPanel"), nullptr);

        boxes_.Expect(Text("GI_Mess_Maker_Caution"), plat::IDOK);
        Doc().EnterMakerMode();
        EXPECT_TRUE(Doc().IsMakerMode());
        const QLabel* panel = form.findChild<QLabel*>("MakerPanel");
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->text().toStdString(), Text("GI_StatusPanel_Maker"));
        // A second request while maker mode is on asks nothing (the script
        // would refuse an unexpected box).
        Doc().EnterMakerMode();
        EXPECT_TRUE(form.close());
    }
}

TEST_F(MainWindowTest, TheWarningCheckRunsOnce250MsAfterTheLastChange) {
    indMain& app = Start();
    TForm1 form(app);
    ListenToTheBus();
    for (int change = 0; change < 5; ++change) {
        InstalledWindow().ScheduleWarningCheck();
        scheduler_.Advance(200);
    }
    EXPECT_EQ(events_[evRedrawImageDebug], 0) << "still typing: the check waits";
    // The window's own start-up checks are behind us by now.
    const int rebuilds = events_[evRebuildTree];
    scheduler_.Advance(100);
    EXPECT_EQ(events_[evRedrawImageDebug], 1);
    EXPECT_EQ(events_[evRebuildTree], rebuilds + 1) << "the tree's bank marks follow the check";
    scheduler_.Advance(1000);
    EXPECT_EQ(events_[evRedrawImageDebug], 1);
}

TEST_F(MainWindowTest, StatusTextAndToolBarToggleReachTheWindow) {
    indMain& app = Start();
    TForm1 form(app);
    gEvMan->SendText(evStatusText, 0x0000FF, 0xFFFFFF, "Bank 3 full");
    const QLabel* message = form.findChild<QLabel*>("MessagePanel");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text().toStdString(), "Bank 3 full");
    EXPECT_EQ(message->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    InstalledWindow().ToggleToolBar();
    EXPECT_EQ(gEnviron->ToolbarVisible, 0);
    EXPECT_FALSE(app.ToolBar()->isVisible());
}

} // namespace
