// The debug log and the memory-image dump as the main window opens them on
// events 5 and 6.
#include "cells/CellEngine.h"
#include "image/ImageLayout.h"
#include "tests/ui/AppFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/TForm1.h"
#include "ui/cuiDebugWin.h"
#include "ui/cuiEeDebugWin.h"
#include "ui/cuiGrid.h"

#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using uitest::AppFixture;

// The grid place of an image address in the dump.
struct Place {
    int32_t col;
    int32_t row;
};

class DebugWindowsTest : public AppFixture {
protected:
    void SetUp() override {
        indMain& app = Start();
        form_ = std::make_unique<TForm1>(app);
        form_->show();
    }
    void TearDown() override {
        form_.reset();
        AppFixture::TearDown();
    }

    cuiEeDebugWin* OpenDump() {
        gEvMan->Send(evOpenImageDebugWindow);
        return form_->findChild<cuiEeDebugWin*>();
    }

    // What the dump's cell at the place shows now, and whether it is marked.
    static cmcCellCapsule Evaluate(cuiEeDebugWin& dump, Place at) {
        cmcCellCapsule request;
        dump.Sheet()->PrepareRequest(at.col, at.row, request);
        InstalledCellEngine().Execute(request, 0);
        return request;
    }

    static Place Current(const cuiEeDebugWin& dump) {
        return {dump.Sheet()->CurrentCol(), dump.Sheet()->CurrentRow()};
    }

    std::unique_ptr<TForm1> form_;
};

TEST_F(DebugWindowsTest, TheLogAppendsLinesAndDropsThemWhileTextIsSelected) {
    gEvMan->Send(evOpenDebugWindow);
    auto* log = form_->findChild<cuiDebugWin*>();
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->Form()->windowTitle().toStdString(), "Free Debug Window");
    EXPECT_EQ(log->Form()->height(), std::max(form_->height() * 8 / 10, 100));
    EXPECT_TRUE(log->Form()->isVisible());
    EXPECT_TRUE(form_->isEnabled());
    QPlainTextEdit* memo = log->Memo();

    gEvMan->SendText(evDebugLine, 0, 0, "first");
    gEvMan->SendText(evDebugLine, 0, 0, "second");
    QTest::keyClick(memo, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_End, Qt::ShiftModifier);
    ASSERT_TRUE(memo->textCursor().hasSelection());
    gEvMan->SendText(evDebugLine, 0, 0, "lost");
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    gEvMan->SendText(evDebugLine, 0, 0, "third");
    EXPECT_EQ(memo->toPlainText().toStdString(), "first\nsecond\nthird");
    uitest::SavePicture(log->Form()->grab(), "debug_log_window");

    // Closing the window ends the log; a later line finds nobody.
    log->Form()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form_->findChild<cuiDebugWin*>(), nullptr);
    gEvMan->SendText(evDebugLine, 0, 0, "after");
}

TEST_F(DebugWindowsTest, TheDumpShowsTheImageAndMarksChangesUntilSetComp) {
    cuiEeDebugWin* dump = OpenDump();
    ASSERT_NE(dump, nullptr);
    EXPECT_EQ(dump->Form()->windowTitle().toStdString(), gGTex->GetTextLine("GI_Sys_AppTitle", 0));
    EXPECT_EQ(dump->Sheet()->Name(), "GI_Sheet_EeDebugWin");
    EXPECT_TRUE(form_->isEnabled()) << "the dump is modeless";
    gEvMan->Send(evTakeImageSnapshot);

    cmcEeprom& image = Doc().WorkingImage();
    const struct {
        int32_t address;
        Place place;
    } cases[] = {
        {0, {3, 3}},
        {0x1F, {33, 4}},
        {0xFF7F, {33, 0xFF7 + 3}},
        {layout::kImageSize - 1, {21, (layout::kImageSize - 1) / 16 + 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        image.SetByte(c.address, 0xA5);
        gEvMan->Send(evTakeImageSnapshot);
        cmcCellCapsule shown = Evaluate(*dump, c.place);
        EXPECT_EQ(shown.displayText, "A5");
        EXPECT_FALSE(shown.markFlags.warning);

        image.SetByte(c.address, 0x5A);
        gEvMan->Send(evRedrawImageDebug);
        shown = Evaluate(*dump, c.place);
        EXPECT_EQ(shown.displayText, "5A");
        EXPECT_TRUE(shown.markFlags.warning);

        QTest::mouseClick(dump->SetCompButton(), Qt::LeftButton);
        EXPECT_FALSE(Evaluate(*dump, c.place).markFlags.warning);
    }
}

TEST_F(DebugWindowsTest, RedrawRepaintsTheDumpAndTheButtonsReachTheBus) {
    cuiEeDebugWin* dump = OpenDump();
    ASSERT_NE(dump, nullptr);
    ListenToTheBus();
    QWidget* viewport = dump->Sheet()->Grid()->viewport();
    QApplication::processEvents();

    // Counts the paints of the dump's cells.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    viewport->installEventFilter(&counter);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    gEvMan->Send(evRedrawImageDebug);
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);

    QTest::mouseClick(dump->SetCompButton(), Qt::LeftButton);
    EXPECT_EQ(events_[evTakeImageSnapshot], 1);
    EXPECT_EQ(events_[evRedrawImageDebug], 1) << "one redraw so far: the one the test sent";
    scheduler_.Advance(20);
    EXPECT_EQ(events_[evRedrawImageDebug], 2) << "Set Comp posts a redraw";
    QTest::mouseClick(dump->RedrawButton(), Qt::LeftButton);
    EXPECT_EQ(events_[evDataReloaded], 1);
    for (QPushButton* b : {dump->CloseButton(), dump->SetCompButton(), dump->RedrawButton()})
        EXPECT_FALSE(b->isDefault() || b->autoDefault());

    viewport->removeEventFilter(&counter);
    QTest::mouseClick(dump->CloseButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form_->findChild<cuiEeDebugWin*>(), nullptr);
    gEvMan->Send(evRedrawImageDebug);
    gEvMan->Send(evSelectImageAddress, 0, 0x10);
}

TEST_F(DebugWindowsTest, Event24MovesTheCursorToAnAddressInsideTheDumpOnly) {
    cuiEeDebugWin* dump = OpenDump();
    ASSERT_NE(dump, nullptr);
    const int32_t last = layout::kImageSize - 1;
    const struct {
        intptr_t address;
        Place place;
    } inside[] = {
        {0x1F, {33, 4}},
        {0, {3, 3}},
        {last, {21, last / 16 + 3}},
        {0x8000, {3, 0x800 + 3}},
    };
    for (const auto& c : inside) {
        SCOPED_TRACE(c.address);
        gEvMan->Send(evSelectImageAddress, 0, c.address);
        EXPECT_EQ(Current(*dump).col, c.place.col);
        EXPECT_EQ(Current(*dump).row, c.place.row);
        const cuiGrid& grid = *dump->Sheet()->Grid();
        EXPECT_GE(c.place.row, grid.TopRow());
        EXPECT_LT(c.place.row, grid.TopRow() + grid.VisibleRowCount());
    }
    for (intptr_t outside : {intptr_t{-1}, intptr_t{layout::kImageSize}, intptr_t{layout::kImageSize + 5},
                             intptr_t{0x7FFFFFFF}}) {
        gEvMan->Send(evSelectImageAddress, 0, outside);
        // Still where the last address inside put it.
        EXPECT_EQ(Current(*dump).col, 3) << outside;
        EXPECT_EQ(Current(*dump).row, 0x800 + 3) << outside;
    }
}

TEST_F(DebugWindowsTest, ATallDumpTakesHalfTheScreenAndScrolls) {
    cuiEeDebugWin* dump = OpenDump();
    ASSERT_NE(dump, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(dump->Panel()->height(), 1024 / 2);
    cuiGrid* grid = dump->Sheet()->Grid();
    EXPECT_TRUE(grid->verticalScrollBar()->isVisible());
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
    // Every column in view: the dump is as wide as its sixteen bytes.
    int width = 0;
    for (int32_t c = 0; c < dump->Sheet()->ColCount(); ++c)
        width += grid->ColWidth(c);
    EXPECT_GE(grid->viewport()->width(), width);
    // The buttons sit at the bottom right, below the panel.
    const QRect close = dump->CloseButton()->geometry();
    EXPECT_EQ(dump->Form()->width() - 1 - close.right(), 5);
    EXPECT_GT(close.top(), dump->Panel()->geometry().bottom());
    EXPECT_LT(dump->SetCompButton()->geometry().right(), close.left());
    EXPECT_LT(dump->RedrawButton()->geometry().right(), dump->SetCompButton()->geometry().left());
    uitest::SavePicture(dump->Form()->grab(), "ee_debug_window");
}

// The dump on a real X server's screen: a picture of the window, not a blank
// or black one. The picture is kept in $TOLVANE_PNG_DIR when it is set.
TEST_F(DebugWindowsTest, OnScreenTheDumpIsDrawn) {
    Doc().WorkingImage().SetByte(0x12, 0x5A);
    cuiEeDebugWin* dump = OpenDump();
    ASSERT_NE(dump, nullptr);
    const QImage shot = uitest::GrabOnScreen(*dump->Form(), "ee-debug-window");
    int dark = 0, black = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c(shot.pixel(x, y));
            dark += c.lightness() < 100;
            black += c == Qt::black;
        }
    }
    // Text is drawn, and the window is not a black hole.
    EXPECT_GT(dark, shot.width() * shot.height() / 200);
    EXPECT_LT(black, shot.width() * shot.height() / 2);
}

} // namespace
