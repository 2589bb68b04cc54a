// The adjustment program's main window and the application manager's event
// handler: the title, the tree kept by model and mode, the selection that
// moves, and the A/D window's toggle.
#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustRecords.h"
#include "adjust/indCloneMan.h"
#include "adjust/ui/iuiWinAd.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/cmcHelpGTex.h"
#include "foundation/indEnviron.h"
#include "image/BankSite.h"
#include "tests/adjust_ui/AdjustMainFixture.h"
#include "tests/support/FlagTree.h"
#include "tests/support/ProgramProcess.h"
#include "tests/ui/ScreenGrab.h"
#include "tools/radiosim/RadioSim.h"
#include "tools/radiosim/StartupMemory.h"
#include "ui/TForm1.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QLabel>
#include <QTreeWidget>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using adjwintest::AdjustMainFixture;

// One node a flag, one with none, and the channel memory with a node after it.
const std::string kTree = testsupport::FlagTree("", " +Test channel{(%CL_Null:Fx_TestChannel)}\n");

class AdjustMainTest : public AdjustMainFixture {
protected:
    static std::string Captions(iuiTree& tree) {
        std::string captions;
        for (QTreeWidgetItemIterator it(tree.View()); *it; ++it)
            captions += (captions.empty() ? "" : ",") + (*it)->text(0).toStdString();
        return captions;
    }
    static std::string Selected(iuiTree& tree) { return cuiTree::LinkOf(tree.View()->currentItem()); }
    void Settle() {
        scheduler_.Advance(300);
        QApplication::processEvents();
    }
};

// Beside a running cloning program, which keeps its own lock and its own
// settings, the window is titled with the program's title alone, whatever
// file it has.
TEST_F(AdjustMainTest, TheTitleIsTheProgramsAloneBesideARunningCloningProgram) {
    const pid_t cloning = testsupport::LaunchProgram("QT4410R", {});
    ASSERT_TRUE(testsupport::WaitForLock(cloning));

    adj::indMain& app = StartAdjust();
    ASSERT_TRUE(Environ().IsFirstInstance());
    {
        TForm1 form(app);
        Settle();
        const std::string title = gGTex->GetTextLine("GI_Sys_AppTitle_ADJ", 0);
        ASSERT_FALSE(title.empty());
        EXPECT_EQ(form.windowTitle().toStdString(), title);
        AdjustDoc().SetFileName(dir_.File("radio.icf"));
        app.UpdateTitle();
        EXPECT_EQ(form.windowTitle().toStdString(), title);
        uitest::SavePicture(form.grab(), "qt4411r-main");
        form.close();
    }
    Stop();
    EXPECT_TRUE(std::filesystem::exists(dir_.File("config") + "/Morv/TolvaneADJ.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("config") + "/Morv/Tolvane.ini"));

    ASSERT_EQ(kill(cloning, SIGTERM), 0);
    EXPECT_EQ(testsupport::WaitForExit(cloning), 0);
    EXPECT_TRUE(std::filesystem::exists(dir_.File("config") + "/Morv/Tolvane.ini"));
}

// No switch on the command line asks for maker mode here; entered, it shows
// the maker panel as the cloning program does.
TEST_F(AdjustMainTest, MakerModeComesFromNoArgumentButShowsItsPanel) {
    adj::indMain& app = StartAdjust();
    app.SetCommandLine({"QT4411R", "/vorplex", "/VORPLEX"});
    TForm1 form(app);
    Settle();
    EXPECT_FALSE(Doc().IsMakerMode());
    EXPECT_EQ(form.findChild<QLabel*>("MakerPanel"), nullptr);
    boxes_.Expect(Text("GI_Mess_Maker_Caution"), plat::IDOK);
    Doc().EnterMakerMode();
    ASSERT_TRUE(Doc().IsMakerMode());
    const QLabel* panel = form.findChild<QLabel*>("MakerPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text().toStdString(), Text("GI_StatusPanel_Maker"));
}

// The About box names this program from its own keys, with the shared button.
TEST_F(AdjustMainTest, TheAboutBoxTakesTheProgramsOwnCaptionAndLabel) {
    adj::indMain& app = StartAdjust("#GI_App_About_Caption_ADJ\nAbout the bench\n"
                                    "#GI_App_About_Label_Reg_ADJ\nLine one\nLine two\n");
    TForm1 form(app);
    gEvMan->Send(evShowAbout);
    QWidget* box = app.AboutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle().toStdString(), "About the bench");
    const QLabel* label = box->findChild<QLabel*>("AboutLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), "Line one\nLine two");
    uitest::SavePicture(box->grab(), "qt4411r-about");
    box->close();
}

TEST_F(AdjustMainTest, EachModelAndModeKeepsTheNodesOfItsFiveFlags) {
    struct Case {
        int32_t model;
        bool maker;
        const char* captions;
    } cases[] = {
        {0, false, "Radio (LMR handheld),F1,F5,F6,F7,None,Channel memory,Test channel"},
        {1, false, "Radio (LMR/LTR handheld),F1,F5,F6,F7,None,Channel memory,Test channel"},
        {2, false, "Radio (LMR/P25 handheld),F1,F4,F5,F6,F7,None,Channel memory,Test channel"},
        {3, false, "Radio (PMR handheld),F2,F5,F6,F7,None,Channel memory,Test channel"},
        {4, false, "Radio (Zuro PMR handheld),F2,F3,F5,F6,F7,None,Channel memory,Test channel"},
        {7, false, "Radio (LMR/P25 mobile),F1,F4,F5,F6,F7,None,Channel memory,Test channel"},
        {9, false, "Radio (Zuro PMR mobile),F2,F3,F5,F6,F7,None,Channel memory,Test channel"},
        {0, true, "Radio (LMR handheld),F0,F1,F5,F6,F7,None,Channel memory,Test channel"},
        {8, true, "Radio (PMR mobile),F0,F2,F5,F6,F7,None,Channel memory,Test channel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.model) + (c.maker ? " maker" : " user"));
        adj::indMain& app = StartAdjust(kTree);
        gEnviron->ModelType = c.model;
        {
            TForm1 form(app);
            if (c.maker) {
                boxes_.Expect(Text("GI_Mess_Maker_Caution"), plat::IDOK);
                Doc().EnterMakerMode();
            }
            gEvMan->Send(evDataReloaded);
            EXPECT_EQ(Captions(*app.Tree()), c.captions);
            // Kinds 5 to 7 never remove a node here.
            for (int kind = 5; kind < 8; ++kind)
                app.RemoveTreeNodes(kind);
            EXPECT_EQ(Captions(*app.Tree()), c.captions);
            form.close();
        }
        Stop();
    }
}

// Data reloaded selects the channel memory; when that is not what was
// selected before, the node after it is.
TEST_F(AdjustMainTest, DataReloadedSelectsTheChannelMemoryOrTheNodeAfterIt) {
    adj::indMain& app = StartAdjust(kTree);
    gEnviron->ModelType = 0;
    TForm1 form(app);
    Settle();
    iuiTree& tree = *app.Tree();
    struct Case {
        const char* before;
        const char* after;
    } cases[] = {
        {"Fx_F1", "Fx_TestChannel"},
        {"GI_Sheet_Memory_CH_Top", "GI_Sheet_Memory_CH_Top"},
        {"Fx_TestChannel", "Fx_TestChannel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        tree.View()->setCurrentItem(tree.FindNode(c.before));
        ASSERT_EQ(Selected(tree), c.before);
        ListenToTheBus();
        events_.clear();
        gEvMan->Send(evDataReloaded);
        EXPECT_EQ(Selected(tree), c.after);
        EXPECT_EQ(events_[evRefreshCaption], 1);
    }
}

// Row events move this program's own records: a row opens or closes in the
// bank, and its count follows.
TEST_F(AdjustMainTest, RowEventsMoveTheProgramsRecordsAndTheBanksCount) {
    adj::indMain& app = StartAdjust();
    gEnviron->ModelType = 0;
    TForm1 form(app);
    Settle();
    cmcEeprom& image = Doc().WorkingImage();
    const int32_t kind = GetModelClass();
    const int32_t first = GetBankFirstChannel(image, 0);
    const int32_t count = GetBankChannelCount(image, 0);
    adj::datCh row(&image);
    row.Load(kind, first);
    row.flagA |= 1;
    row.rxFreq = 146000000;
    row.Store(kind, first);
    const auto at = [&](int32_t n) { return adj::datCh(&image).Load(kind, n); };

    ListenToTheBus();
    gEvMan->Send(evInsertChannelRow, 0, first);
    EXPECT_EQ(GetBankChannelCount(image, 0), count + 1);
    EXPECT_FALSE(at(first).InUse());
    EXPECT_EQ(at(first + 1).rxFreq, 146000000u);
    EXPECT_EQ(events_[evAddRow], 1);

    gEvMan->Send(evRemoveChannelRow, 0, first);
    EXPECT_EQ(GetBankChannelCount(image, 0), count);
    EXPECT_EQ(at(first).rxFreq, 146000000u);
    EXPECT_EQ(events_[evRemoveLastRow], 1);
    EXPECT_EQ(events_[evRowDeleted], 1);

    // A row outside the bank changes nothing.
    const cmcEeprom before = image;
    gEvMan->Send(evRemoveChannelRow, 0, first + count + 5);
    EXPECT_TRUE(image.IsEqual(before));
}

// The program has no help overlay: every cell's help context is 0, until a
// table is bound.
TEST_F(AdjustMainTest, HelpContextsAreZeroUntilAHelpTableIsBound) {
    StartAdjust();
    cmcCellObj cell;
    cell.Parse("{(%CL_Menu_File_Exit)}", nullptr, nullptr);
    cmcCellCapsule request;
    request.cell = &cell;
    EXPECT_EQ(Doc().GetCellHelpContext(request), 0);

    const std::string help = dir_.File("help.ovl");
    testsupport::TempDir::WriteFile(help, "#GI_AppItem_Topic_ID\nCL_Menu_File_Exit\tExiting\n#\n"
                                          "#GI_AppItem_Context_ID\nExiting\t417\n#\n#End_Of_Ovl\n");
    gHelpGTex->SetFileName(help);
    EXPECT_EQ(Doc().GetCellHelpContext(request), 417);
}

} // namespace

namespace {

// The event handler over a real link: a target search waits for the radio's
// answer while events come in.
class AdjustMainLinkTest : public AdjustMainTest {
protected:
    // The E8 frames the program has sent so far.
    int FramesSent() const {
        int n = 0;
        for (const radiosim::LogEntry& e : sim_.Log())
            n += !e.fromRadio && e.what == "E8";
        return n;
    }
    void RunLink() {
        ::indCloneMan& man = Doc().CloneManager();
        for (int t = 0; t < 60000 && man.IsBusy(); t += 2) {
            sim_.Pump();
            scheduler_.Advance(2);
        }
        ASSERT_FALSE(man.IsBusy());
    }

    void LinkRadio() { AdjustMainFixture::LinkRadio(sim_); }

    testsupport::ScopedEnv comDir_{"TOLVANE_COM_DIR", dir_.Path()};
    radiosim::RadioSim sim_;
};

struct EventLog {
    std::vector<int32_t> types;
    static void OnEvent(void* user, const cmcEvent& ev) {
        static_cast<EventLog*>(user)->types.push_back(ev.type);
    }
    int Count(int32_t type) const { return static_cast<int>(std::count(types.begin(), types.end(), type)); }
};

// Event 40 opens the monitor over the main form and reads the radio; the
// link, told the window is open, redraws it on completion. A second 40
// closes it, a third opens it again, and the program ending with it open
// takes it along.
TEST_F(AdjustMainLinkTest, EventFortyTogglesTheAdWindowWhichReadsTheRadio) {
    adj::indMain& app = StartAdjust();
    TForm1 form(app);
    Settle();
    LinkRadio();
    EventLog log;
    gEvMan->AddListener(&EventLog::OnEvent, &log);

    gEvMan->Send(evOpenAdWindow);
    adj::iuiWinAd* window = app.AdWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Form()->isVisible());
    // The title names the window beside the program.
    const std::string title = window->Form()->windowTitle().toStdString();
    EXPECT_EQ(title, gGTex->GetTextLine("GI_AppInd_AdWindow_Caption", 0));
    EXPECT_NE(title.find("A/D monitor"), std::string::npos);
    EXPECT_NE(title.find(gGTex->GetTextLine("GI_Sys_AppTitle_ADJ", 0)), std::string::npos);
    EXPECT_EQ(gEnviron->FindEditFormPos(adj::indMain::kAdWindowName)->Flag, 1);
    EXPECT_TRUE(app.AdWindowOpen());
    EXPECT_TRUE(Doc().CloneManager().IsBusy()) << "the read list goes out at once";
    RunLink();
    EXPECT_EQ(log.Count(evAdListDone), 1);

    gEvMan->Send(evOpenAdWindow);
    EXPECT_EQ(app.AdWindow(), nullptr);
    EXPECT_EQ(gEnviron->FindEditFormPos(adj::indMain::kAdWindowName)->Flag, 0);
    EXPECT_FALSE(app.AdWindowOpen());
    Settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    gEvMan->Send(evOpenAdWindow);
    ASSERT_NE(app.AdWindow(), nullptr);
    RunLink();
    gEvMan->RemoveListener(&EventLog::OnEvent, &log);
    EXPECT_TRUE(boxes_.Log().empty());
}

TEST_F(AdjustMainLinkTest, DuringATransferNoStepRunsButDataReloadedAndTheAdWindowAct) {
    adj::indMain& app = StartAdjust(kTree);
    gEnviron->ModelType = 0;
    TForm1 form(app);
    Settle();
    LinkRadio();
    iuiTree& tree = *app.Tree();
    tree.View()->setCurrentItem(tree.FindNode("Fx_F1"));

    app.Automation().StartSweepAuto04();
    ASSERT_TRUE(Doc().CloneManager().IsBusy());
    const uint8_t toggle = app.Automation().toggle;
    const int32_t value = app.Automation().State().ValueCounter;
    const int frames = FramesSent();
    gEvMan->Send(evDataReloaded);
    gEvMan->Send(evOpenAdWindow);
    gEvMan->Send(evRedrawSheet);
    EXPECT_EQ(app.Automation().toggle, toggle);
    EXPECT_EQ(app.Automation().State().ValueCounter, value);
    EXPECT_EQ(app.Automation().State().TargetSearch, 0);
    EXPECT_EQ(FramesSent(), frames);
    EXPECT_EQ(Selected(tree), "Fx_TestChannel");
    EXPECT_NE(app.AdWindow(), nullptr);

    // Once the radio has answered, the completion's event steps the search on.
    RunLink();
    EXPECT_GT(FramesSent(), frames);
    EXPECT_TRUE(boxes_.Log().empty());
}

// The whole program over the radio: a read from the main window leads into
// adjustment use with the test channel, over the program's own window.
TEST_F(AdjustMainLinkTest, AReadLeadsTheRunningProgramIntoAdjustment) {
    adj::indMain& app = StartAdjust();
    TForm1 form(app);
    Settle();
    HoldStartupData(sim_, gEnviron->ModelType);
    LinkRadio();

    AdjustDoc().CloneRead();
    EXPECT_EQ(app.Automation().State().AdjustPhase, adj::AdjustAutomation::kPhaseEntryRead);
    RunLink();
    // The entry into adjustment use follows on the program's ticks.
    for (int t = 0; t < 3000; t += 10) {
        sim_.Pump();
        Settle();
    }
    RunLink();

    ASSERT_TRUE(boxes_.Log().empty()) << boxes_.Log().front().text;
    EXPECT_EQ(app.Automation().State().AdjustPhase, 0);
    bool entered = false;
    for (const radiosim::LogEntry& e : sim_.Log())
        entered |=
            !e.fromRadio && radiosim::RadioSim::Hex(e.bytes) == "FE FE EE EF E8 44 10 00 00 02 30 31 FD";
    EXPECT_TRUE(entered) << "item 2 = 1 went to the radio";
    adj::AdjustDocument& doc = AdjustDoc();
    EXPECT_TRUE(std::equal(sim_.Memory().begin(), sim_.Memory().end(), doc.RadioCopy().Data()));
    EXPECT_FALSE(doc.IsModified());
    // The tree is built anew for the radio's model.
    EXPECT_NE(app.Tree()->Node(0)->text(0).toStdString().find(
                  gGTex->GetTextLine("GI_AppInd_ModelTree", gEnviron->ModelType)),
              std::string::npos);
    EXPECT_EQ(form.windowTitle().toStdString(), gGTex->GetTextLine("GI_Sys_AppTitle_ADJ", 0));
}

} // namespace
