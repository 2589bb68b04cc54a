// The adjustment program on the bench, driven as a technician drives it:
// real clicks and keys on its window, the radio simulator on the far side of
// a pseudo-terminal. Read and adjust, values typed one after the other
// without a click between them, Shift stepping by 5, a filter swept from its
// own row, the radio's information, and level starts that are refused and
// then run.
#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustVocabulary.h"
#include "adjust/indCloneMan.h"
#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "tests/adjust_ui/AdjustMainFixture.h"
#include "tools/radiosim/RadioSim.h"
#include "tools/radiosim/StartupMemory.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/cuiInformation.h"
#include "ui/cuiSheet.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kSelect = 64;
constexpr int kSetSelected = 65;

class AdjustBenchTest : public adjwintest::AdjustMainFixture {
protected:
    // The program started over a radio of its stored model, its window shown and active.
    adj::indMain& StartOnBench() {
        adj::indMain& app = StartAdjust();
        form_ = std::make_unique<TForm1>(app);
        form_->resize(1000, 700);
        form_->show();
        QApplication::setActiveWindow(form_.get());
        Settle();
        HoldStartupData(sim_, gEnviron->ModelType);
        LinkRadio(sim_);
        return app;
    }
    ~AdjustBenchTest() override {
        form_.reset();
        window_.reset();
    }

    void Settle() {
        scheduler_.Advance(100);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A transfer keeps the main form disabled until it ends; the
    // information window keeps it so while it shows.
    bool Transferring() {
        return Doc().CloneManager().IsBusy() || (!form_->isEnabled() && !window_->Information());
    }
    // The link until it is free, no window event handled meanwhile: what a
    // user waits for before the next click or key.
    void Idle() {
        for (int t = 0; t < 600000 && Transferring(); t += 2) {
            sim_.Pump();
            scheduler_.Advance(2);
        }
        ASSERT_FALSE(Transferring());
    }
    // The link and the window's ticks in turn until neither has more to do,
    // for at most that many rounds; whether they came to rest.
    bool RunLink(int rounds = 2000) {
        const adj::AdjustAutomation& a = window_->Automation();
        for (int i = 0; i < rounds; ++i) {
            Idle();
            Settle();
            if (!Transferring() && a.State().PeakSearch == a.kPeakIdle &&
                a.State().TargetSearch == a.kSearchIdle)
                return true;
        }
        return false;
    }

    void ClickTool(const char* tip) {
        Idle();
        for (QToolButton* b : window_->ToolBar()->findChildren<QToolButton*>())
            if (b->toolTip() == QString::fromLatin1(tip)) {
                QTest::mouseClick(b, Qt::LeftButton);
                return;
            }
        ADD_FAILURE() << "no tool button " << tip;
    }
    // A click on the tree's node of the sheet.
    cuiSheet& OpenByTree(const std::string& sheet) {
        QTreeWidget* view = window_->Tree()->View();
        QTreeWidgetItem* node = window_->Tree()->FindNode(sheet);
        EXPECT_NE(node, nullptr) << sheet;
        for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
            up->setExpanded(true);
        view->scrollToItem(node);
        QApplication::processEvents();
        Idle();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(node).center());
        // The tree tells its change once the selection has rested.
        for (int i = 0; i < 20 && !(window_->Sheet() && window_->Sheet()->Name() == sheet); ++i) {
            Idle();
            Settle();
        }
        EXPECT_EQ(window_->Sheet()->Name(), sheet);
        return *window_->Sheet();
    }
    // Where the sheet shows the cell of that name.
    static std::pair<int32_t, int32_t> Find(cuiSheet& sheet, const std::string& name) {
        const int32_t id = adj::AdjustCellVocabulary().CellIndex(name);
        for (int32_t r = 0; r < sheet.RowCount(); ++r)
            for (int32_t c = 0; c < sheet.ColCount(); ++c)
                if (sheet.GetCell(c, r).cellId == id) return {c, r};
        ADD_FAILURE() << name << " is not on " << sheet.Name();
        return {0, 0};
    }
    void Click(cuiSheet& sheet, const std::string& name) {
        Idle();
        const auto [c, r] = Find(sheet, name);
        QTest::mouseClick(sheet.Grid()->viewport(), Qt::LeftButton, {},
                          sheet.Grid()->CellRect(c, r).center());
        Settle();
    }
    bool IsCurrent(cuiSheet& sheet, const std::string& name) {
        const auto [c, r] = Find(sheet, name);
        return sheet.Grid()->Col() == c && sheet.Grid()->Row() == r;
    }
    // Keys go where the keyboard's focus is, as a user's would.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        Idle();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << "the keyboard has no widget";
        QTest::keyClick(focus, key, modifiers);
    }
    void Type(const std::string& text) {
        Idle();
        for (char ch : text) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr) << "the keyboard has no widget";
            QTest::keyClick(focus, ch);
        }
    }

    // The items the program set since the log entry `from`: (code, value), the link scripts left out.
    std::vector<std::pair<int, int>> ItemsSent(size_t from) const {
        std::vector<std::pair<int, int>> out;
        const std::vector<radiosim::LogEntry> log = sim_.Log();
        for (size_t i = from; i < log.size(); ++i) {
            const std::vector<uint8_t>& b = log[i].bytes;
            if (log[i].fromRadio || log[i].what != "E8") continue;
            size_t at = 0;
            while (at + 2 < b.size() && !(b[at] == 0xEE && b[at + 1] == 0xEF && b[at + 2] == 0xE8))
                ++at;
            if (at + 10 > b.size() || b[at + 7] == 0x01) continue;
            const auto digit = [](uint8_t c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
            out.emplace_back(b[at + 7], digit(b[at + 8]) * 16 + digit(b[at + 9]));
        }
        return out;
    }
    static std::vector<int> ValuesOf(const std::vector<std::pair<int, int>>& items, int code) {
        std::vector<int> values;
        for (const auto& [c, v] : items)
            if (c == code) values.push_back(v);
        return values;
    }

    // Read and adjust from the tool bar: the program is in adjustment use after it.
    void ReadAndAdjust() {
        ClickTool("Read and adjust");
        // The entry into adjustment use follows on the program's ticks.
        for (int t = 0;
             t < 50 && (Doc().CloneManager().IsBusy() || window_->Automation().State().AdjustPhase != 0); ++t)
            RunLink(1);
        ASSERT_EQ(window_->Automation().State().AdjustPhase, 0);
        ASSERT_TRUE(RunLink());
        ASSERT_TRUE(boxes_.Log().empty()) << boxes_.Log().front().text;
    }

    testsupport::ScopedEnv comDir_{"TOLVANE_COM_DIR", dir_.Path()};
    radiosim::RadioSim sim_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(AdjustBenchTest, ValuesTypedOneAfterTheOtherAndShiftStepsReachTheRadio) {
    StartOnBench();
    ReadAndAdjust();
    cuiSheet& tx = OpenByTree("GI_Sheet_Adj_Tx");
    Click(tx, "CL_Adjust_Ref");
    ASSERT_TRUE(IsCurrent(tx, "CL_Adjust_Ref"));

    const size_t from = sim_.Log().size();
    Type("70");
    Key(Qt::Key_Return);
    RunLink();
    EXPECT_EQ(QApplication::focusWidget(), tx.Grid()) << "the keyboard is back on the sheet";
    // No click: the next value goes where the first went.
    Type("80");
    Key(Qt::Key_Return);
    RunLink();
    EXPECT_EQ(ValuesOf(ItemsSent(from), 5), (std::vector<int>{70, 80}));
    EXPECT_EQ(sim_.ItemValue(5), 80);

    // Shift+Right steps by 5 and sends at once; Right alone by 1.
    Key(Qt::Key_Right, Qt::ShiftModifier);
    RunLink();
    EXPECT_EQ(sim_.ItemValue(5), 85);
    Key(Qt::Key_Right);
    RunLink();
    EXPECT_EQ(sim_.ItemValue(5), 86);
    // Typed with Shift held, the value goes to the nearest step of 5.
    Type("7");
    Key(Qt::Key_Return, Qt::ShiftModifier);
    RunLink();
    EXPECT_EQ(sim_.ItemValue(5), 5);
    EXPECT_EQ(ValuesOf(ItemsSent(from), 5), (std::vector<int>{70, 80, 85, 86, 5}));
    EXPECT_TRUE(IsCurrent(tx, "CL_Adjust_Ref"));
    EXPECT_TRUE(boxes_.Log().empty());
}

// A click on a row's "Press Enter to start" makes its value current: Enter
// sweeps that filter and no other.
TEST_F(AdjustBenchTest, EnterAfterAClickOnAFiltersStartSweepsThatFilterOnly) {
    StartOnBench();
    ReadAndAdjust();
    cuiSheet& rx = OpenByTree("GI_Sheet_Adj_Rx");
    ASSERT_TRUE(IsCurrent(rx, "CL_Adjust_BpfAll")) << "the sheet opens on its first row";
    Click(rx, "CL_Adjust_BpfT3_Sweep");
    ASSERT_TRUE(IsCurrent(rx, "CL_Adjust_BpfT3"));

    const size_t from = sim_.Log().size();
    Key(Qt::Key_Return);
    RunLink();
    const std::vector<std::pair<int, int>> items = ItemsSent(from);
    ASSERT_FALSE(items.empty());
    std::vector<int> selected = ValuesOf(items, kSelect);
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    EXPECT_EQ(selected, std::vector<int>{88}) << "only filter 3 is selected";
    EXPECT_TRUE(ValuesOf(items, 19).empty());
    EXPECT_TRUE(ValuesOf(items, 20).empty());
    EXPECT_EQ(ValuesOf(items, kSetSelected).size(), 256u + 1u) << "every value, then the result";
    // The middle of the simulator's plateau 100..140.
    EXPECT_EQ(sim_.ItemValue(88, true), 120);
    EXPECT_EQ(Doc().WorkingImage().GetByte(88), 120);
    EXPECT_TRUE(IsCurrent(rx, "CL_Adjust_BpfT3"));
    EXPECT_EQ(QApplication::focusWidget(), rx.Grid());
    EXPECT_TRUE(boxes_.Log().empty());
}

// The pass "Band-pass filters 1 and 2" tunes those two; the status line says
// that filters 3 and 4 were not swept, and their own pass tunes them.
TEST_F(AdjustBenchTest, TheBandPassPassesSayWhichFiltersTheyTune) {
    StartOnBench();
    ReadAndAdjust();
    cuiSheet& rx = OpenByTree("GI_Sheet_Adj_Rx");
    size_t from = sim_.Log().size();
    Click(rx, "CL_Adjust_BpfAll_Sweep");
    ASSERT_TRUE(IsCurrent(rx, "CL_Adjust_BpfAll"));
    Key(Qt::Key_Return);
    RunLink();
    std::vector<std::pair<int, int>> items = ItemsSent(from);
    EXPECT_TRUE(ValuesOf(items, kSelect).empty()) << "filters 3 and 4 are not part of it";
    EXPECT_EQ(sim_.ItemValue(19), 120);
    EXPECT_EQ(sim_.ItemValue(20), 120);
    const std::string status = form_->statusBar()->findChild<QLabel*>("MessagePanel")->text().toStdString();
    EXPECT_EQ(status, gGTex->GetText(adj::AdjustAutomation::kBpfAllDoneKey));
    EXPECT_NE(status.find("3 and 4"), std::string::npos);

    from = sim_.Log().size();
    Click(rx, "CL_Adjust_AUTO19_Sweep");
    ASSERT_TRUE(IsCurrent(rx, "CL_Adjust_AUTO19"));
    Key(Qt::Key_Return);
    RunLink();
    items = ItemsSent(from);
    EXPECT_TRUE(ValuesOf(items, 19).empty());
    EXPECT_EQ(sim_.ItemValue(88, true), 120);
    EXPECT_EQ(sim_.ItemValue(90, true), 120);
    EXPECT_TRUE(boxes_.Log().empty());
}

// Radio information from the tool bar shows what the radio reports; once it
// is closed the keyboard is back on the sheet.
TEST_F(AdjustBenchTest, RadioInformationShowsTheRadiosModelAndComments) {
    StartOnBench();
    const int32_t model = gEnviron->ModelType;
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "before a read" : "after a read");
        if (pass == 1) ReadAndAdjust();
        cuiSheet& tx = OpenByTree("GI_Sheet_Adj_Tx");
        Click(tx, "CL_Adjust_High");
        ClickTool("Radio information");
        RunLink();
        cuiInformation* info = window_->Information();
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->Form()->windowTitle().toStdString(), gGTex->GetText("GI_AppInd_CloneInfo_Caption"));
        cuiSheet& sheet = *info->Sheet();
        std::vector<std::string> shown;
        for (const char* name : {"CL_CloneInfo_Model", "CL_CloneInfo_Comment1", "CL_CloneInfo_Comment2"}) {
            const auto [c, r] = Find(sheet, name);
            cmcCellCapsule request;
            sheet.PrepareRequest(c, r, request);
            adj::AdjustCellEngine().Execute(request, 0);
            shown.push_back(request.displayText);
        }
        EXPECT_EQ(shown[0].substr(0, shown[0].find('\n')), gGTex->GetTextLine("GI_AppInd_Model", model));
        EXPECT_EQ(shown[1], "RADIOSIM");
        EXPECT_EQ(shown[2], "Tolvane test rig");
        QTest::mouseClick(info->OkButton(), Qt::LeftButton);
        // The window goes on the next turn of the event loop, and the main form is active again after it.
        Settle();
        Settle();
        EXPECT_EQ(window_->Information(), nullptr);

        // The keyboard is back on the sheet, on the cell left.
        ASSERT_TRUE(IsCurrent(tx, "CL_Adjust_High"));
        const size_t from = sim_.Log().size();
        Type(pass == 0 ? "33" : "44");
        Key(Qt::Key_Return);
        RunLink();
        EXPECT_EQ(ValuesOf(ItemsSent(from), 9), std::vector<int>{pass == 0 ? 33 : 44});
    }
    EXPECT_TRUE(boxes_.Log().empty());
}

// Enter on a level while the signal-strength capture runs starts nothing;
// once the capture has ended, Enter on it starts it.
TEST_F(AdjustBenchTest, ALevelRefusedWhileAnotherProcedureRunsStartsLater) {
    adj::indMain& app = StartOnBench();
    ReadAndAdjust();
    cuiSheet* rx = &OpenByTree("GI_Sheet_Adj_Rx");
    Click(*rx, "CL_Adjust_AUTO01");
    Key(Qt::Key_Return);
    // The live reading repeats as long as the sheet redraws it.
    RunLink(5);
    ASSERT_EQ(app.Automation().State().AdjustPhase, 1);
    const int reads = sim_.ReadCount();
    EXPECT_GT(reads, 0);

    cuiSheet* levels = &OpenByTree("GI_Sheet_Adj_Levels");
    Click(*levels, "CL_Adjust_AUTO10_Bar");
    ASSERT_TRUE(IsCurrent(*levels, "CL_Adjust_AUTO10"));
    Key(Qt::Key_Return);
    RunLink();
    EXPECT_EQ(app.Automation().State().AdjustPhase, 1) << "the capture goes on";

    rx = &OpenByTree("GI_Sheet_Adj_Rx");
    ASSERT_TRUE(IsCurrent(*rx, "CL_Adjust_AUTO01")) << "the sheet opens where it was left";
    Click(*rx, "CL_Adjust_AUTO01");
    for (int enter = 0; enter < 2; ++enter) {
        Key(Qt::Key_Return);
        RunLink(5);
    }
    ASSERT_EQ(app.Automation().State().AdjustPhase, 0);
    ASSERT_TRUE(RunLink());

    levels = &OpenByTree("GI_Sheet_Adj_Levels");
    Click(*levels, "CL_Adjust_AUTO10");
    const size_t from = sim_.Log().size();
    Key(Qt::Key_Return);
    RunLink();
    EXPECT_EQ(app.Automation().State().AdjustPhase,
              adj::AdjustAutomation::LevelPhase(0, adj::AdjustAutomation::kCentre));
    EXPECT_EQ(app.Automation().State().LevelStep, 4) << "it waits for the user's level";
    EXPECT_EQ(ValuesOf(ItemsSent(from), kSelect), (std::vector<int>{180, 181}));
    EXPECT_TRUE(boxes_.Log().empty());
}

// A level start the busy link refuses leaves the phase and the sub-step as
// they were, so that the next start runs. The main form is disabled while the
// link is busy, so the request comes through the sheet's own edit call.
TEST_F(AdjustBenchTest, ALevelStartTheBusyLinkRefusedLeavesThePhaseFree) {
    adj::indMain& app = StartOnBench();
    ReadAndAdjust();
    cuiSheet& levels = OpenByTree("GI_Sheet_Adj_Levels");
    Click(levels, "CL_Adjust_AUTO13");
    const auto [c, r] = Find(levels, "CL_Adjust_AUTO13");

    ASSERT_TRUE(app.Automation().SendAdReadList());
    ASSERT_TRUE(Doc().CloneManager().IsBusy());
    levels.SendEdit(c, r, 13, 0);
    EXPECT_EQ(app.Automation().State().AdjustPhase, 0);
    EXPECT_EQ(app.Automation().State().LevelStep, 0);
    RunLink();

    Key(Qt::Key_Return);
    RunLink();
    EXPECT_EQ(app.Automation().State().AdjustPhase,
              adj::AdjustAutomation::LevelPhase(2, adj::AdjustAutomation::kCentre));
    EXPECT_EQ(app.Automation().State().LevelStep, 4);
    EXPECT_TRUE(boxes_.Log().empty());
}

// After a read from a sheet the keyboard is on the sheet the read opened;
// after a write it is back on the cell that was current: the next typed
// value goes out.
TEST_F(AdjustBenchTest, AfterAReadAndAWriteTheNextTypedValueGoesOut) {
    StartOnBench();
    Click(OpenByTree("GI_Sheet_Adj_Tx"), "CL_Adjust_Low");
    ReadAndAdjust();
    ASSERT_NE(window_->Sheet(), nullptr);
    EXPECT_NE(window_->Sheet()->Name(), "GI_Sheet_Adj_Tx") << "the read shows the channel memory";
    EXPECT_EQ(QApplication::focusWidget(), window_->Sheet()->Grid()) << "on the sheet the read opened";

    cuiSheet& tx = OpenByTree("GI_Sheet_Adj_Tx");
    Click(tx, "CL_Adjust_Low");
    boxes_.Expect(Text("GI_Mess_Confirm_CloneWrite"), plat::IDOK);
    boxes_.Expect(Text("GI_Mess_CloneWrite_Succeeded"), plat::IDOK);
    ClickTool("Write to radio");
    for (int round = 0; round < 20 && !boxes_.Done(); ++round)
        RunLink(1);
    ASSERT_TRUE(boxes_.Done());
    ASSERT_TRUE(RunLink());
    // The sheet opens again over the data written, on the cell left.
    ASSERT_EQ(window_->Sheet()->Name(), "GI_Sheet_Adj_Tx");
    EXPECT_TRUE(IsCurrent(*window_->Sheet(), "CL_Adjust_Low"));
    const size_t from = sim_.Log().size();
    Type("21");
    Key(Qt::Key_Return);
    RunLink();
    EXPECT_EQ(ValuesOf(ItemsSent(from), 11), std::vector<int>{21});
}

} // namespace
