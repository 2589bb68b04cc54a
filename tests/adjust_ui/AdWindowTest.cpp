// The A/D monitor against the simulated radio: what opening, updating and
// closing send and show, where the window goes, and how the open mark and the
// flag the menus check follow it through toggles, rebuilds and the main form.
#include "tests/adjust_ui/AdWindowFixture.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace adjtest;

namespace {

class AdWindowTest : public AdWindowFixture {
protected:
    // The thirteen selectors of the read list, in the rows' order.
    static std::vector<Item> ReadList() {
        std::vector<Item> items;
        for (int s : {1, 2, 3, 4, 32, 33, 34, 35, 39, 40, 41, 42, 43})
            items.push_back({3, s});
        return items;
    }
    static std::string Dec(int v) {
        char text[8];
        std::snprintf(text, sizeof text, "%3d", v);
        return text;
    }
    static std::string Hex(int v) {
        char text[8];
        std::snprintf(text, sizeof text, "%2X", v);
        return text;
    }
    // The D and H cells of row n (1..13) show the reading the radio gave.
    void ExpectRowsShow(const std::vector<uint8_t>& readings) {
        const auto shown = Shown();
        for (int n = 0; n < 13; ++n) {
            EXPECT_EQ(shown.at({1, n + 1}), Dec(readings[static_cast<size_t>(n)])) << "row " << n + 1;
            EXPECT_EQ(shown.at({2, n + 1}), Hex(readings[static_cast<size_t>(n)])) << "row " << n + 1;
        }
    }
    std::vector<uint8_t> SimReadings() const {
        std::vector<uint8_t> r;
        for (const Item& i : ReadList())
            r.push_back(sim.Reading(i.value));
        return r;
    }
};

TEST_F(AdWindowTest, OpeningSendsTheReadListAndTheRowsShowTheReadings) {
    ASSERT_NE(Toggle(), nullptr);
    EXPECT_EQ(window->Form()->windowTitle().toStdString(), texts.GetTextLine("GI_Sys_AppTitle_ADJ", 0));
    EXPECT_EQ(window->UpdateButton()->text().toStdString(), texts.GetTextLine("GI_AppInd_Update", 0));
    EXPECT_TRUE(man.IsBusy());
    Run();
    EXPECT_EQ(ItemsSent(), ReadList());
    EXPECT_EQ(CountEvents(evAdListDone), 1);
    ExpectRowsShow(SimReadings());
    // The physical value of the battery row: four times the converter's 5 V.
    char volts[16];
    std::snprintf(volts, sizeof volts, "%3.2fV", SimReadings()[0] * 20.0 / 255.0);
    EXPECT_EQ(Shown().at({3, 1}), volts);
}

TEST_F(AdWindowTest, UpdateReadsAgainAndTheCompletionRedrawsTheNewValues) {
    Toggle();
    Run();
    radiosim::Adjustment changed;
    for (auto& [selector, value] : changed.monitor)
        value = static_cast<uint8_t>(value + 3);
    sim.SetAdjustment(changed);
    const size_t from = LogSize();
    events.clear();
    QTest::mouseClick(window->UpdateButton(), Qt::LeftButton);
    Run();
    EXPECT_EQ(ItemsSent(from), ReadList());
    EXPECT_EQ(CountEvents(evAdListDone), 1);
    ExpectRowsShow(SimReadings());
}

TEST_F(AdWindowTest, ASecondRequestClosesAndAThirdReopensWhereTheCloseLeftIt) {
    ASSERT_NE(Toggle(), nullptr);
    Run();
    window->Form()->setGeometry(77, 88, 420, 330);
    EXPECT_EQ(Entry()->Flag, 1);
    EXPECT_EQ(gEnviron->AdWindowFlag, 1);

    events.clear();
    EXPECT_EQ(Toggle(), nullptr);
    EXPECT_EQ(CountEvents(evCloseNamedWindow), 1);
    EXPECT_EQ(window, nullptr) << "the closed window goes";
    EXPECT_EQ(Entry()->Flag, 0);
    EXPECT_EQ(gEnviron->AdWindowFlag, 0);

    ASSERT_NE(Toggle(), nullptr);
    EXPECT_EQ(window->Form()->geometry(), QRect(77, 88, 420, 330));
    EXPECT_EQ(Entry()->Flag, 1);
    Run();
}

TEST_F(AdWindowTest, AWindowReopenedBeforeTheClosedOneWentKeepsTheFlag) {
    Toggle();
    Run();
    // Two requests in one turn of the event loop: the closed window is not gone yet.
    adj::ToggleAdWindow(adj::AdjustCellEngine(), &mainForm, "A/D", texts);
    const QPointer<adj::iuiWinAd> reopened =
        adj::ToggleAdWindow(adj::AdjustCellEngine(), &mainForm, "A/D", texts);
    ASSERT_NE(reopened, nullptr);
    EXPECT_NE(window, nullptr);
    Settle();
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(gEnviron->AdWindowFlag, 1);
    EXPECT_EQ(Entry()->Flag, 1);
    window = reopened.data();
    Run();
}

TEST_F(AdWindowTest, WithoutAPlacementItShowsEveryColumnOnHalfTheScreenAboveTheMainForm) {
    struct Case {
        int mainTop;
        bool above; // room for the window between the work area's top and the main form
    };
    for (const Case c : {Case{600, true}, Case{300, false}}) {
        mainForm.setGeometry(340, c.mainTop, 600, 300);
        ASSERT_NE(Toggle(), nullptr);
        QDialog& form = *window->Form();
        cuiGrid& grid = *window->Sheet()->Grid();
        EXPECT_TRUE(grid.horizontalScrollBar()->isVisible());
        EXPECT_TRUE(grid.verticalScrollBar()->isVisible());
        int columns = 0;
        for (int col = 0; col < grid.ColCount(); ++col)
            columns += grid.ColWidth(col);
        EXPECT_GE(grid.viewport()->width(), columns) << "every column shows";
        EXPECT_TRUE(form.width() == form.minimumWidth() || grid.viewport()->width() < columns + 8)
            << "and not much more than the least width allows";
        EXPECT_EQ(window->ClientPanel()->height(), 1024 / 2);
        EXPECT_LE(std::abs(form.geometry().center().x() - mainForm.geometry().center().x()), 1);
        if (c.above)
            EXPECT_EQ(form.geometry().bottom() + 1, c.mainTop);
        else
            EXPECT_GT(form.geometry().bottom() + 1, c.mainTop);
        EXPECT_GE(form.geometry().top(), 0);
        Run();
        Toggle();
        // The next case starts without a placement again.
        *gEnviron->FindEditFormPos(adj::iuiWinAd::kName) = indEditFormPos{};
    }
}

TEST_F(AdWindowTest, AStoredStateReopensMaximisedButNeverMinimised) {
    for (const int32_t state : {2, 1}) {
        gEnviron->SetEditFormPos(adj::iuiWinAd::kName, 50, 60, 400, 300, -1, -1, -1, -1, state, 0);
        ASSERT_NE(Toggle(), nullptr);
        EXPECT_EQ(window->Form()->isMaximized(), state == 2);
        EXPECT_FALSE(window->Form()->isMinimized());
        if (state == 1) {
            EXPECT_EQ(window->Form()->geometry(), QRect(50, 60, 400, 300));
        }
        Run();
        Toggle();
    }
}

TEST_F(AdWindowTest, TheFormCannotShrinkBelowFourButtonsWideAndEightButtonRowsHigh) {
    Toggle();
    EXPECT_EQ(window->CloseButton()->width(), 75);
    EXPECT_EQ(window->ButtonPanel()->height(), 35);
    EXPECT_EQ(window->Form()->minimumSize(), QSize(334, 8 * 35));
    window->Form()->resize(100, 100);
    EXPECT_EQ(window->Form()->size(), QSize(334, 280));
    Run();
}

TEST_F(AdWindowTest, TheButtonsAreInertWhileTheMainFormIsDisabled) {
    Toggle();
    Run();
    mainForm.setEnabled(false);
    const size_t from = LogSize();
    QTest::mouseClick(window->UpdateButton(), Qt::LeftButton);
    QTest::mouseClick(window->CloseButton(), Qt::LeftButton);
    QTest::keyClick(window->Form(), Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(man.IsBusy());
    EXPECT_EQ(LogSize(), from);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->IsClosed());

    mainForm.setEnabled(true);
    QTest::keyClick(window->Form(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(window, nullptr);
}

TEST_F(AdWindowTest, TheMainFormGoingOrAClosingRequestByNameClosesIt) {
    struct Case {
        const char* what;
        std::function<void(cmcEvMan&, QWidget&)> send;
        bool closes;
    };
    const Case cases[] = {
        {"another window going", [](cmcEvMan& b, QWidget&) { b.Send(evObjectDestroyed, 0, 1); }, false},
        {"the main form going",
         [](cmcEvMan& b, QWidget& m) { b.Send(evObjectDestroyed, 0, reinterpret_cast<intptr_t>(&m)); }, true},
        {"another name", [](cmcEvMan& b, QWidget&) { b.SendText(evCloseNamedWindow, 0, 0, "GI_Sheet_Win_ADX"); }, false},
        {"its name", [](cmcEvMan& b, QWidget&) { b.SendText(evCloseNamedWindow, 0, 0, adj::iuiWinAd::kName); }, true},
    };
    for (const Case& c : cases) {
        if (!window) Toggle();
        Run();
        c.send(bus, mainForm);
        // The menus' flag goes with the mark, before the window itself.
        EXPECT_EQ(gEnviron->AdWindowFlag, c.closes ? 0 : 1) << c.what;
        Settle();
        EXPECT_EQ(window == nullptr, c.closes) << c.what;
        EXPECT_EQ(Entry()->Flag, c.closes ? 0 : 1) << c.what;
    }
}

TEST_F(AdWindowTest, AMainFormDestroyedWithoutAnEventTakesTheWindowAlong) {
    auto* form = new QWidget;
    form->setGeometry(340, 600, 600, 300);
    window = adj::ToggleAdWindow(adj::AdjustCellEngine(), form, "A/D", texts);
    Run();
    delete form;
    Settle();
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(Entry()->Flag, 0);
}

TEST_F(AdWindowTest, AFontChangeRebuildsTheSheetAtTheMainWindowsPositionAndTheNextRequestStillCloses) {
    std::vector<std::string> asked;
    window = adj::ToggleAdWindow(adj::AdjustCellEngine(), &mainForm, "A/D", texts, nullptr,
                                 [&asked](const std::string& name) {
                                     asked.push_back(name);
                                     return std::optional<adj::iuiWinAd::SheetPosition>({2, 5, 0, 0});
                                 });
    workspace.adWindowOpen = true;
    Run();
    EXPECT_TRUE(asked.empty()) << "opening restores its own placement only";
    const QPointer<cuiGrid> before = window->Sheet()->Grid();
    bus.Send(evAdFontChanged);
    EXPECT_EQ(before, nullptr) << "the old sheet went";
    ASSERT_NE(window->Sheet()->Grid(), nullptr);
    EXPECT_EQ(asked, std::vector<std::string>{adj::iuiWinAd::kName});
    EXPECT_EQ(window->Sheet()->CurrentCol(), 2);
    EXPECT_EQ(window->Sheet()->CurrentRow(), 5);
    EXPECT_EQ(Entry()->Flag, 1);
    ExpectRowsShow(SimReadings());
    EXPECT_EQ(Toggle(), nullptr);
    EXPECT_EQ(window, nullptr);
}

} // namespace
