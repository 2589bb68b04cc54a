// The sheet grid widget on the offscreen platform, driven by real key and
// mouse events: who may move the current cell, what is drawn, scrolling,
// timed scroll on virtual time and the focus closures.
#include "tests/ui/ScreenGrab.h"
#include "ui/cuiGrid.h"
#include "tests/support/ManualScheduler.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Cell = std::pair<int, int>;

// Records what the grid hands its closures. Every column and row any closure
// receives is checked against the grid at the end of each test: none may lie
// outside it, negative ones least of all.
class GridTest : public ::testing::Test {
protected:
    GridTest() {
        window.resize(260, 160);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        time.Install();
        grid = new cuiGrid(&window);
        other = new QLineEdit(&window);
        layout->addWidget(grid);
        layout->addWidget(other);
        grid->SetColCount(8);
        grid->SetRowCount(10);
        grid->SetDefaultColWidth(40);
        grid->SetDefaultRowHeight(20);
        grid->SetColWidth(3, 0);
        grid->SetRowHeight(4, 0);
        grid->SetSelectCellHandler([this](int col, int row) {
            Seen(col, row);
            asked.push_back({col, row});
            currentWhenAsked.push_back({grid->Col(), grid->Row()});
            return allow;
        });
        grid->SetDrawCellHandler(
            [this](QPainter& painter, int col, int row, const QRect& rect, unsigned state) {
                Seen(col, row);
                drawn.push_back({col, row});
                states[{col, row}] = state;
                DrawTestCell(painter, col, row, rect, state);
            });
        grid->SetTopLeftChangedHandler([this] { ++topLeftChanges; });
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
    }

    void Seen(int col, int row) {
        EXPECT_TRUE(col >= 0 && row >= 0 && col < grid->ColCount() && row < grid->RowCount())
            << "a closure got cell " << col << "," << row;
    }

    static void DrawTestCell(QPainter& painter, int col, int row, const QRect& rect, unsigned state) {
        QColor back = Qt::white;
        if (state & cuiGrid::kDrawFixed) back = QColor(0xC0, 0xC0, 0xC0);
        if (state & cuiGrid::kDrawSelected) back = (state & cuiGrid::kDrawFocused) ? Focused() : Unfocused();
        painter.fillRect(rect, back);
        painter.setPen(Qt::black);
        painter.drawText(rect, Qt::AlignCenter, QString("%1,%2").arg(col).arg(row));
    }
    static QColor Focused() { return QColor(0x00, 0x00, 0x80); }
    static QColor Unfocused() { return QColor(0x80, 0x80, 0x00); }

    QPoint Centre(int col, int row) const { return grid->CellRect(col, row).center(); }

    void ClearLogs() {
        asked.clear();
        currentWhenAsked.clear();
        drawn.clear();
        states.clear();
        topLeftChanges = 0;
    }

    // Lets the pending repaints happen and returns the cells drawn by them.
    std::set<Cell> Repainted() {
        drawn.clear();
        QApplication::processEvents();
        return {drawn.begin(), drawn.end()};
    }

    void Focus() {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        grid->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(grid->hasFocus());
    }

    cuiGrid* grid = nullptr;
    QLineEdit* other = nullptr;
    bool allow = true;
    std::vector<Cell> asked;
    std::vector<Cell> currentWhenAsked;
    std::vector<Cell> drawn;
    std::map<Cell, unsigned> states;
    plat::ManualScheduler time;
    int topLeftChanges = 0;
    std::vector<std::string> focusLog;
    // Last: the grid goes first, its closures may still run while it does.
    QWidget window;
};

struct MoveCase {
    const char* source;
    Cell target;
};

// Every way the current cell can move, from (2, 2).
void Move(cuiGrid& grid, const std::string& source, Cell target) {
    QWidget* vp = grid.viewport();
    if (source == "Right key") QTest::keyClick(&grid, Qt::Key_Right);
    if (source == "Down key") QTest::keyClick(&grid, Qt::Key_Down);
    if (source == "Down key over a hidden row") {
        grid.MoveColRow(2, 3, true, true); // the test allows this one
        QTest::keyClick(&grid, Qt::Key_Down);
    }
    if (source == "left click")
        QTest::mouseClick(vp, Qt::LeftButton, {}, grid.CellRect(target.first, target.second).center());
    if (source == "MoveColRow") grid.MoveColRow(target.first, target.second, true, false);
    if (source == "SetCol") grid.SetCol(target.first);
    if (source == "SetRow") grid.SetRow(target.second);
}

TEST_F(GridTest, SelectCellIsAskedBeforeEveryMoveAndARefusalKeepsTheCell) {
    const MoveCase cases[] = {
        {"Right key", {4, 2}}, // over the hidden column 3
        {"Down key", {2, 3}},  {"left click", {4, 5}}, {"MoveColRow", {6, 8}},
        {"SetCol", {1, 2}},    {"SetRow", {2, 7}},
    };
    grid->setFocus();
    for (const bool allowed : {true, false}) {
        for (const MoveCase& c : cases) {
            allow = true;
            grid->MoveColRow(2, 2, true, true);
            grid->SetLeftCol(1);
            grid->SetTopRow(1);
            ClearLogs();
            allow = allowed;
            Move(*grid, c.source, c.target);
            SCOPED_TRACE(std::string(c.source) + (allowed ? " allowed" : " refused"));
            ASSERT_FALSE(asked.empty());
            EXPECT_EQ(asked.back(), c.target);
            EXPECT_EQ(currentWhenAsked.back(), Cell(2, 2)) << "asked before the move";
            const Cell now{grid->Col(), grid->Row()};
            EXPECT_EQ(now, allowed ? c.target : Cell(2, 2));
        }
    }
}

TEST_F(GridTest, PageDownMovesByTheRowsInViewAndKeysStopAtTheFixedPart) {
    grid->SetRowHeight(4, 20);
    grid->setFocus();
    grid->MoveColRow(1, 1, true, true);
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(Cell(grid->Col(), grid->Row()), Cell(1, 1));
    EXPECT_TRUE(asked.size() == 1) << "the fixed row and column are not asked for";
    QTest::keyClick(grid, Qt::Key_PageDown);
    EXPECT_EQ(grid->Row(), 1 + grid->VisibleRowCount());
    QTest::keyClick(grid, Qt::Key_End);
    EXPECT_EQ(grid->Col(), 7);
    QTest::keyClick(grid, Qt::Key_Home);
    EXPECT_EQ(grid->Col(), 1);
}

TEST_F(GridTest, ClicksOffTheCellsOrOnTheFixedOnesMoveNothing) {
    std::vector<QPoint> downs;
    std::vector<QPoint> doubles;
    grid->SetMouseDownHandler([&](QMouseEvent& e) { downs.push_back(e.position().toPoint()); });
    grid->SetDoubleClickHandler([&](QMouseEvent& e) { doubles.push_back(e.position().toPoint()); });
    grid->SetColCount(3); // room to the right of the last column
    grid->MoveColRow(1, 2, true, true);
    ClearLogs();
    const QPoint pastTheLast(grid->CellRect(2, 1).right() + 10, Centre(2, 1).y());
    ASSERT_LT(pastTheLast.x(), grid->viewport()->width());
    EXPECT_EQ(grid->MouseToCell(pastTheLast.x(), pastTheLast.y()), (cuiGrid::Coord{-1, -1}));
    for (const QPoint p : {pastTheLast, Centre(0, 3), Centre(2, 0)}) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, p);
    }
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(Cell(grid->Col(), grid->Row()), Cell(1, 2));
    EXPECT_EQ(downs.size(), 3u) << "the owner still hears every press, positions in client coordinates";
    EXPECT_EQ(downs.front(), pastTheLast);
    ASSERT_EQ(doubles.size(), 3u);
    EXPECT_EQ(doubles.front(), pastTheLast);

    // A right click does not move the current cell: that is the owner's to decide.
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, Centre(2, 3));
    EXPECT_TRUE(asked.empty());
}

TEST_F(GridTest, ASweepOfThePointerEverywhereOnlyEverNamesCellsOfTheGrid) {
    grid->SetColCount(5); // leaves room past the last column
    QWidget* vp = grid->viewport();
    for (int y = -10; y < vp->height() + 10; y += 9)
        for (int x = -10; x < vp->width() + 10; x += 13) {
            QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(x, y));
            QTest::mouseMove(vp, QPoint(vp->width() - x, vp->height() - y));
            time.Advance(cuiGrid::kTimedScrollMs);
            QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(vp->width() - x, vp->height() - y));
            const cuiGrid::Coord hit = grid->MouseToCell(x, y);
            EXPECT_TRUE((hit.col < 0) == (hit.row < 0)) << x << "," << y;
        }
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Home, Qt::Key_PageUp, Qt::Key_Right,
                              Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown})
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(grid, key);
    QApplication::processEvents();
    EXPECT_FALSE(asked.empty());
    EXPECT_FALSE(drawn.empty());
}

TEST_F(GridTest, DraggingMovesTheCurrentCellThroughSelectCell) {
    grid->MoveColRow(1, 1, true, true);
    ClearLogs();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, Centre(1, 2));
    QTest::mouseMove(grid->viewport(), Centre(2, 2));
    QTest::mouseMove(grid->viewport(), Centre(2, 3));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, Centre(2, 3));
    QTest::mouseMove(grid->viewport(), Centre(1, 1)); // no button: no move
    EXPECT_EQ(asked, (std::vector<Cell>{{1, 2}, {2, 2}, {2, 3}}));
    EXPECT_EQ(Cell(grid->Col(), grid->Row()), Cell(2, 3));
    EXPECT_EQ(grid->Anchor(), (cuiGrid::Coord{1, 2})) << "a drag keeps the anchor where it began";
}

TEST_F(GridTest, ScrollBarsFollowTheTopLeftAndMoveIt) {
    QScrollBar* h = grid->horizontalScrollBar();
    QScrollBar* v = grid->verticalScrollBar();
    EXPECT_EQ(v->minimum(), 1);
    EXPECT_EQ(v->maximum(), grid->Geometry().MaxTopRow());
    EXPECT_EQ(h->maximum(), grid->Geometry().MaxLeftCol());
    ASSERT_TRUE(grid->ShowsScrollBars());

    ClearLogs();
    grid->MoveColRow(7, 9, true, false);
    EXPECT_EQ(grid->TopRow(), 1) << "not shown: no scrolling";
    EXPECT_EQ(topLeftChanges, 0);
    grid->MoveColRow(7, 9, true, true);
    EXPECT_EQ(grid->TopRow(), grid->Geometry().MaxTopRow());
    EXPECT_EQ(grid->LeftCol(), grid->Geometry().MaxLeftCol());
    EXPECT_EQ(v->value(), grid->TopRow());
    EXPECT_EQ(h->value(), grid->LeftCol());
    EXPECT_EQ(topLeftChanges, 1);
    EXPECT_FALSE(grid->CellRect(7, 9).isEmpty());

    grid->SetTopRow(2);
    EXPECT_EQ(v->value(), 2);
    EXPECT_EQ(topLeftChanges, 2);
    grid->SetTopRow(2);
    EXPECT_EQ(topLeftChanges, 2) << "no change, no call";

    // The user drags the thumb: tracked at once.
    v->setSliderDown(true);
    v->setSliderPosition(3);
    EXPECT_EQ(grid->TopRow(), 3);
    v->setSliderPosition(5);
    EXPECT_EQ(grid->TopRow(), 5);
    v->setSliderDown(false);
    h->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid->LeftCol(), grid->Geometry().MaxLeftCol() - 1);
    EXPECT_EQ(topLeftChanges, 5);
    EXPECT_EQ(Cell(grid->Col(), grid->Row()), Cell(7, 9)) << "scrolling leaves the current cell";

    // A taller window needs less scrolling: the position comes back, and the owner hears of it.
    window.resize(260, 400);
    QApplication::processEvents();
    EXPECT_EQ(grid->TopRow(), grid->Geometry().MaxTopRow());
    EXPECT_EQ(v->value(), grid->TopRow());
    EXPECT_EQ(topLeftChanges, 6);
}

TEST_F(GridTest, TimedScrollRunsOnVirtualTimeWhileTheButtonIsHeldPastTheEdge) {
    std::vector<unsigned> scrolls;
    grid->SetTimedScrollHandler([&](unsigned d) { scrolls.push_back(d); });
    QWidget* vp = grid->viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, Centre(2, 2));
    EXPECT_EQ(time.ActiveTimers(), 1);
    time.Advance(120);
    EXPECT_TRUE(scrolls.empty()) << "inside the cells in view: nothing to scroll";

    QTest::mouseMove(vp, QPoint(vp->width() + 5, vp->height() + 5));
    time.Advance(cuiGrid::kTimedScrollMs - 1);
    EXPECT_TRUE(scrolls.empty());
    time.Advance(1);
    EXPECT_EQ(scrolls, (std::vector<unsigned>{cuiGrid::kScrollRight | cuiGrid::kScrollDown}));
    QTest::mouseMove(vp, QPoint(Centre(0, 2).x(), Centre(2, 0).y()));
    time.Advance(cuiGrid::kTimedScrollMs);
    EXPECT_EQ(scrolls.back(), cuiGrid::kScrollLeft | cuiGrid::kScrollUp);
    EXPECT_EQ(scrolls.size(), 2u);

    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(0, 0));
    EXPECT_EQ(time.ActiveTimers(), 0);
    time.Advance(600);
    EXPECT_EQ(scrolls.size(), 2u);
}

TEST_F(GridTest, WithoutATimedScrollClosureTheCurrentCellStepsTowardsThePointer) {
    QWidget* vp = grid->viewport();
    QTest::mousePress(vp, Qt::LeftButton, {}, Centre(2, 3));
    QTest::mouseMove(vp, QPoint(Centre(2, 3).x(), vp->height() + 5));
    ClearLogs();
    time.Advance(3 * cuiGrid::kTimedScrollMs);
    EXPECT_EQ(asked, (std::vector<Cell>{{2, 5}, {2, 6}, {2, 7}})) << "over the hidden row, each step asked";
    EXPECT_EQ(grid->Row(), 7);
    EXPECT_FALSE(grid->CellRect(2, 7).isEmpty()) << "scrolled into view";
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(0, 0));
}

TEST_F(GridTest, FocusClosuresIgnoreAPopUpMenu) {
    std::vector<std::string>& log = focusLog;
    grid->SetFocusGainedHandler([&] { log.push_back(grid->hasFocus() ? "gained" : "gained before focus"); });
    grid->SetFocusLostHandler([&] { log.push_back("lost"); });
    other->setFocus(Qt::TabFocusReason);
    log.clear();
    Focus();
    EXPECT_EQ(log, (std::vector<std::string>{"gained"}));

    QMenu menu;
    menu.addAction("Copy");
    menu.popup(grid->mapToGlobal(Centre(2, 2)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    QApplication::processEvents();
    grid->InvalidateCell(grid->Col(), grid->Row());
    Repainted();
    EXPECT_EQ(states[Cell(grid->Col(), grid->Row())], cuiGrid::kDrawSelected | cuiGrid::kDrawFocused)
        << "the current cell keeps the focused highlight under the menu";
    menu.close();
    QApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"gained"})) << "a menu opening and closing is no focus change";

    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"gained", "lost"}));
}

TEST_F(GridTest, FocusedStateReachesTheDrawing) {
    grid->MoveColRow(2, 2, true, true);
    other->setFocus();
    Repainted();
    Focus();
    Repainted();
    EXPECT_EQ(states[Cell(2, 2)], cuiGrid::kDrawSelected | cuiGrid::kDrawFocused);
    const QImage focused = grid->viewport()->grab().toImage();
    EXPECT_EQ(focused.pixelColor(grid->CellRect(2, 2).topLeft() + QPoint(1, 1)), Focused());
    other->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(states[Cell(2, 2)], unsigned{cuiGrid::kDrawSelected});
    const QImage unfocused = grid->viewport()->grab().toImage();
    EXPECT_EQ(unfocused.pixelColor(grid->CellRect(2, 2).topLeft() + QPoint(1, 1)), Unfocused());
    EXPECT_EQ(unfocused.pixelColor(grid->CellRect(0, 2).topLeft() + QPoint(1, 1)), QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(GridTest, OnlyTheInvalidatedCellsAreDrawn) {
    Repainted();
    grid->InvalidateCell(2, 3);
    grid->InvalidateCell(5, 6);
    grid->InvalidateCell(3, 2);  // hidden column
    grid->InvalidateCell(2, 4);  // hidden row
    grid->InvalidateCell(-1, 2); // none
    grid->InvalidateCell(2, 99);
    grid->InvalidateCell(7, 9); // scrolled out of view
    EXPECT_EQ(Repainted(), (std::set<Cell>{{2, 3}, {5, 6}}));

    grid->InvalidateGrid();
    const std::set<Cell> all = Repainted();
    EXPECT_TRUE(all.count({0, 0}) && all.count({1, 1}) && all.count({5, 6}));
    for (const Cell& c : all) {
        EXPECT_NE(c.first, 3) << "hidden";
        EXPECT_NE(c.second, 4) << "hidden";
        EXPECT_FALSE(grid->CellRect(c.first, c.second).isEmpty());
    }

    // A move redraws the cell left and the cell reached.
    grid->MoveColRow(2, 2, true, false);
    Repainted();
    grid->MoveColRow(5, 3, true, false);
    EXPECT_EQ(Repainted(), (std::set<Cell>{{2, 2}, {5, 3}}));
}

TEST_F(GridTest, WithoutADrawClosureCellsShowOnlyTheGridColour) {
    grid->SetDrawCellHandler({});
    grid->SetColor(QColor(0x20, 0x40, 0x60));
    const QImage shot = grid->viewport()->grab().toImage();
    for (const QPoint p : {Centre(0, 0), Centre(2, 2), QPoint(shot.width() - 1, shot.height() - 1)})
        EXPECT_EQ(shot.pixelColor(p), QColor(0x20, 0x40, 0x60));
}

TEST_F(GridTest, KeysGoToTheOwnerFirst) {
    grid->setFocus();
    grid->MoveColRow(2, 2, true, true);
    std::vector<std::string> log;
    bool takeKeys = true;
    grid->SetKeyDownHandler([&](QKeyEvent& e) {
        log.push_back("down " + std::to_string(e.key()));
        return takeKeys;
    });
    grid->SetKeyPressHandler([&](QKeyEvent& e) { log.push_back("press " + e.text().toStdString()); });
    grid->SetKeyUpHandler([&](QKeyEvent& e) { log.push_back("up " + std::to_string(e.key())); });
    ClearLogs();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_TRUE(asked.empty()) << "the owner took the key: the grid does not move";
    QTest::keyClick(grid, Qt::Key_A);
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_F1);
    const std::vector<std::string> expected{
        "down " + std::to_string(Qt::Key_Down),
        "up " + std::to_string(Qt::Key_Down),
        "down " + std::to_string(Qt::Key_A),
        "press a",
        "up " + std::to_string(Qt::Key_A),
        "down " + std::to_string(Qt::Key_Return),
        "press \r",
        "up " + std::to_string(Qt::Key_Return),
        "down " + std::to_string(Qt::Key_F1),
        "up " + std::to_string(Qt::Key_F1),
    };
    EXPECT_EQ(log, expected);
    takeKeys = false;
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(asked, (std::vector<Cell>{{2, 3}})) << "a key the owner passes on moves the grid";
}

TEST_F(GridTest, ADisabledGridTakesNoInput) {
    grid->MoveColRow(2, 2, true, true);
    int keys = 0;
    grid->SetKeyDownHandler([&](QKeyEvent&) { return ++keys, false; });
    grid->setEnabled(false);
    ClearLogs();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Centre(4, 5));
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(Cell(grid->Col(), grid->Row()), Cell(2, 2));
    EXPECT_TRUE(grid->MoveColRow(4, 5, true, true)) << "its owner still moves it";
    grid->SetKeyDownHandler({});
}

TEST_F(GridTest, ContextMenuRequestsGoToTheOwner) {
    int requests = 0;
    grid->SetContextPopupHandler([&](QContextMenuEvent& e) {
        ++requests;
        EXPECT_EQ(e.reason(), QContextMenuEvent::Keyboard);
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(3, 3),
                            grid->viewport()->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(grid->viewport(), &event);
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(event.isAccepted());
}

TEST_F(GridTest, TheWheelScrollsTheViewAndLeavesTheCurrentCell) {
    grid->MoveColRow(2, 2, true, true);
    ClearLogs();
    const QPoint at = Centre(2, 2);
    QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &wheel);
    EXPECT_GT(grid->TopRow(), 1);
    EXPECT_EQ(grid->verticalScrollBar()->value(), grid->TopRow());
    EXPECT_EQ(topLeftChanges, 1);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(Cell(grid->Col(), grid->Row()), Cell(2, 2));
}

// A scroll along one axis moves the pixels already drawn and draws only the
// cells that come into view (and the cells the move marks); the screen then
// shows what a full paint shows. A scroll along both axes draws it all.
TEST_F(GridTest, AScrollDrawsOnlyWhatComesIntoViewAndTheScreenMatchesAFullPaint) {
    Focus();
    grid->MoveColRow(2, 5, true, true);
    Repainted();
    const auto onScreenMatchesAFullPaint = [this] {
        const QPoint at = grid->viewport()->mapTo(&window, QPoint(0, 0));
        const QImage screen = window.screen()
                                  ->grabWindow(window.winId(), at.x(), at.y(), grid->viewport()->width(),
                                               grid->viewport()->height())
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB32);
        const QImage painted = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return screen == painted;
    };
    const int rowsInView = grid->TopRow() + grid->VisibleRowCount();
    struct Case {
        const char* what;
        Qt::Key key;
        bool sideways;
    } cases[] = {{"down", Qt::Key_Down, false}, {"right", Qt::Key_Right, true}, {"up", Qt::Key_Up, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Step until the view scrolls.
        const int left = grid->LeftCol(), top = grid->TopRow();
        std::set<Cell> drawnCells;
        for (int n = 0; n < 10 && grid->LeftCol() == left && grid->TopRow() == top; ++n) {
            QTest::keyClick(grid, c.key);
            drawnCells = Repainted();
        }
        ASSERT_TRUE(grid->LeftCol() != left || grid->TopRow() != top);
        EXPECT_TRUE(onScreenMatchesAFullPaint());
        // Fewer cells than a whole view: one new column or row, the fixed
        // cells beside it, and the two cells of the move.
        std::set<int> lines;
        for (const Cell& d : drawnCells)
            lines.insert(c.sideways ? d.first : d.second);
        EXPECT_LE(lines.size(), 4u) << drawnCells.size() << " cells drawn";
    }
    EXPECT_LT(grid->TopRow(), rowsInView);

    grid->MoveColRow(1, 1, true, true);
    Repainted();
    grid->MoveColRow(7, 9, true, true);
    ASSERT_GT(grid->LeftCol(), 1);
    ASSERT_GT(grid->TopRow(), 1);
    const std::set<Cell> all = Repainted();
    EXPECT_TRUE(all.count({0, 0}) && all.count({7, 9}));
    EXPECT_TRUE(onScreenMatchesAFullPaint());
}

TEST_F(GridTest, ShrinkingTheGridKeepsTheCurrentCellInside) {
    grid->MoveColRow(7, 9, true, true);
    ClearLogs();
    grid->SetColCount(4);
    grid->SetRowCount(3);
    EXPECT_EQ(Cell(grid->Col(), grid->Row()), Cell(3, 2));
    EXPECT_TRUE(asked.empty()) << "the old cell is gone: nothing to refuse";
    EXPECT_FALSE(grid->MoveColRow(7, 9, true, true));
    EXPECT_FALSE(grid->MoveColRow(-1, 1, true, true));
    EXPECT_TRUE(asked.empty());
}

TEST_F(GridTest, ASmallGridAsTheUserSeesIt) {
    grid->MoveColRow(2, 3, true, true);
    Focus();
    const QImage shot = grid->grab().toImage();
    ASSERT_TRUE(uitest::SavePicture(shot, "grid"));
    EXPECT_EQ(shot.pixelColor(grid->CellRect(2, 3).topLeft() + QPoint(1, 1)), Focused());
    EXPECT_EQ(shot.pixelColor(grid->CellRect(4, 3).topLeft() + QPoint(1, 1)), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(grid->CellRect(4, 0).topLeft() + QPoint(1, 1)), QColor(0xC0, 0xC0, 0xC0));
}

} // namespace
