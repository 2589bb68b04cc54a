// The three editors as the program opens them (its pop-up host over the
// installed cell engine), each over a sheet, grabbed from the screen: the
// picture shows the editor's frame with its labels or dots where the editor
// is, not a blank or black window. Under Xvfb the pictures are the X
// server's; they are kept in $TOLVANE_PNG_DIR when it is set.
#include "cells/RadioFont.h"
#include "tests/ui/EditorFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/ProgramPopupOpener.h"
#include "ui/cuiGrid.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>

using namespace uitest;

namespace {

class EditorsOnScreenTest : public EditorFixture {
protected:
    void SetUp() override {
        gEnviron->ModelType = 5;
        Doc().WorkingImage().SetByte(kDisplayFlagsByte, kLargeGlyphBit);
        Open("GI_Sheet_TEdit");
    }

    // The one visible top-level window that is not the sheet's.
    QWidget* EditorWindow() {
        QWidget* found = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &host_ && w->isVisible() && w->width() > 20) found = w;
        return found;
    }

    // The screen's picture of the window, saved under the name.
    QImage Grab(QWidget& window, const std::string& name) {
        return GrabOnScreen(window, "editors15-screen-" + QString::fromStdString(name));
    }

    static int Count(const QImage& shot, const std::function<bool(QColor)>& wanted) {
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += wanted(QColor(shot.pixel(x, y)));
        return n;
    }
    // Not one colour from edge to edge.
    static void ExpectDrawn(const QImage& shot) {
        const QColor first(shot.pixel(0, 0));
        EXPECT_GT(Count(shot, [&](QColor c) { return c != first; }), shot.width() * shot.height() / 50);
        EXPECT_LT(Count(shot, [](QColor c) { return c == Qt::black; }), shot.width() * shot.height() / 2);
    }

    ProgramPopupOpener program_;
};

TEST_F(EditorsOnScreenTest, TheBitFieldEditorShowsItsLabelsBesideTheCell) {
    OpenAt(1, 1);
    QWidget* window = EditorWindow();
    ASSERT_NE(window, nullptr);
    // Below the cell, a little right of its left edge.
    const QRect cell = Grid().CellRect(1, 1);
    const QPoint cellBottomLeft = Grid().viewport()->mapToGlobal(cell.bottomLeft());
    EXPECT_GE(window->y(), cellBottomLeft.y());
    EXPECT_GE(window->x(), cellBottomLeft.x());
    const QImage shot = Grab(*window, "bits");
    ExpectDrawn(shot);
    // The labels' grey bar with white figures on it.
    EXPECT_GT(Count(shot, [](QColor c) { return c == QColor(0x80, 0x80, 0x80); }), 200);
    EXPECT_GT(Count(shot, [](QColor c) { return c.lightness() > 240; }), 50);
    QTest::keyClick(window, Qt::Key_Escape);
    Drain();
    EXPECT_EQ(EditorWindow(), nullptr);
}

TEST_F(EditorsOnScreenTest, TheTextEditorShowsThePreviewAndThePalette) {
    OpenAt(0, 1, Qt::Key_H);
    QWidget* window = EditorWindow();
    ASSERT_NE(window, nullptr);
    const QImage shot = Grab(*window, "text");
    ExpectDrawn(shot);
    // The preview's H and the palette's characters in the radio's dots.
    EXPECT_GT(Count(shot, [](QColor c) { return c.lightness() < 40; }), 150);
    window->findChild<QLineEdit*>()->setFocus();
    QTest::keyClick(window->findChild<QLineEdit*>(), Qt::Key_Escape);
    Drain();
    EXPECT_EQ(EditorWindow(), nullptr);
}

TEST_F(EditorsOnScreenTest, TheGlyphEditorShowsItsDotsAndHoldsTheMainWindow) {
    OpenAt(2, 1);
    QWidget* window = EditorWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(host_.isEnabled());
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->transientParent(), host_.windowHandle());
    const QImage shot = Grab(*window, "glyph");
    ExpectDrawn(shot);
    // White usable dots and the grey ones the display does not show.
    EXPECT_GT(Count(shot, [](QColor c) { return c == Qt::white; }), 30 * 14 * 14 / 2);
    EXPECT_GT(Count(shot, [](QColor c) { return c == QColor(0x80, 0x80, 0x80); }), 5 * 14 * 14 / 2);
    window->close();
    Drain();
    EXPECT_EQ(EditorWindow(), nullptr);
    EXPECT_TRUE(host_.isEnabled());
}

} // namespace
