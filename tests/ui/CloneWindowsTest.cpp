// The "Cloning" progress window and the COM port dialog on the offscreen platform.
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "tests/image/ScopedModel.h"
#include "tests/support/ScriptedMessageBox.h"
#include "ui/CloneProgressWindow.h"
#include "ui/ComPortDialog.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class CloneWindowsTest : public ::testing::Test {
protected:
    CloneWindowsTest() {
        texts.SetFile(std::string(TOLVANE_BIN_DIR) + "/QT4410R.OVL");
        gGTex = &texts;
        main.setGeometry(100, 100, 640, 480);
        main.show();
    }
    ~CloneWindowsTest() override { gGTex = oldTexts; }

    testimage::ScopedModel model{0};
    cmcGTex texts;
    cmcGTex* oldTexts = gGTex;
    plat::ScriptedMessageBox boxes;
    plat::ScopedMessageBoxes useBoxes{&boxes};
    QWidget main;
};

TEST_F(CloneWindowsTest, ProgressWindowSizesColoursAndTheMainForm) {
    CloneProgressWindow window(&main);
    int filled = 16;
    window.Open([&](int width) { return ProgressSpans(width, filled, 32); });
    ASSERT_TRUE(window.IsOpen());
    QWidget* form = window.Form();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), "Cloning");
    EXPECT_TRUE(form->windowFlags() & Qt::Tool);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form->size(), QSize(290, 50));
    EXPECT_EQ(window.Panel()->geometry(), QRect(16, 8, 258, 18));
    EXPECT_EQ(window.Panel()->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(window.PaintBox()->size(), QSize(256, 16));
    const QRect frame = main.frameGeometry();
    EXPECT_EQ(form->pos(),
              QPoint(frame.x() + (frame.width() - 290) / 2, frame.y() + (frame.height() - 50) / 2))
        << "centred over the main form";
    EXPECT_FALSE(main.isEnabled());
    EXPECT_TRUE(form->isEnabled());

    // Half of the bytes: cells 0..15 of 8 pixels in the highlight colour, each with one window-colour column.
    const QImage bar = window.PaintBox()->grab().toImage();
    const QColor high = window.PaintBox()->palette().color(QPalette::Highlight);
    const QColor base = window.PaintBox()->palette().color(QPalette::Base);
    ASSERT_NE(high, base);
    EXPECT_EQ(bar.pixelColor(0, 8), high);
    EXPECT_EQ(bar.pixelColor(6, 8), high);
    EXPECT_EQ(bar.pixelColor(7, 8), base);
    EXPECT_EQ(bar.pixelColor(15 * 8 + 6, 8), high);
    EXPECT_EQ(bar.pixelColor(16 * 8, 8), base);
    filled = 32;
    window.Repaint();
    EXPECT_EQ(window.PaintBox()->grab().toImage().pixelColor(31 * 8, 8), high);

    window.Open([](int) { return std::vector<ProgressSpan>{}; }); // already open: nothing
    EXPECT_EQ(window.Form(), form);
    window.SetMainFormEnabled(true);
    window.Close();
    EXPECT_FALSE(window.IsOpen());
    EXPECT_TRUE(main.isEnabled());

    // A window destroyed from elsewhere is forgotten.
    window.Open([](int) { return std::vector<ProgressSpan>{}; });
    delete window.Form();
    EXPECT_FALSE(window.IsOpen());
    window.Repaint();
    window.Close();
}

TEST_F(CloneWindowsTest, ComPortDialogLayout) {
    gEnviron->ComPort = 3;
    ComPortDialog dialog(&main);
    EXPECT_EQ(dialog.windowTitle().toStdString(), texts.GetTextLine("GI_AppInd_Opt_ComSel_Caption", 0));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(dialog.Edit()->text(), "3");
    EXPECT_EQ(dialog.Edit()->maxLength(), 4);
    EXPECT_TRUE(dialog.OkButton()->isDefault());

    const QFontMetrics fm(dialog.font());
    const int h = fm.height();
    const QRect label = dialog.Notice()->geometry();
    EXPECT_EQ(label.topLeft(), QPoint(h, h));
    EXPECT_EQ(dialog.Notice()->text().count('\n'), 1); // both notice lines
    const QRect edit = dialog.Edit()->geometry();
    EXPECT_EQ(edit.left(), label.left() + fm.horizontalAdvance("WW"));
    EXPECT_EQ(edit.width(), fm.horizontalAdvance("255WWWW"));
    EXPECT_EQ(edit.top(), label.bottom() + 1 + h / 2);
    const QRect ok = dialog.OkButton()->geometry();
    const QRect cancel = dialog.CancelButton()->geometry();
    EXPECT_EQ(cancel.right(), label.right());
    EXPECT_EQ(cancel.top(), edit.top() + 4 * edit.height());
    EXPECT_EQ(cancel.height(), 2 * h);
    EXPECT_EQ(ok.width(), cancel.width());
    EXPECT_EQ(ok.top(), cancel.top());
    EXPECT_EQ(cancel.left() - (ok.right() + 1), h);
    EXPECT_EQ(dialog.width(), label.width() + 2 * h);
    EXPECT_EQ(dialog.height(), cancel.top() + 3 * h);
}

TEST_F(CloneWindowsTest, ComPortDialogTakesOnlyAPortFrom1To256) {
    const std::string refusal = GetMultiLineText(texts, "GI_AppInd_Opt_ComSel_OutofRange");
    gEnviron->ComPort = 3;
    for (const char* bad : {"0", "257", "abc"}) {
        ComPortDialog dialog(&main);
        dialog.show();
        boxes.Expect(refusal, plat::IDOK);
        dialog.Edit()->setText(bad);
        dialog.OkButton()->setFocus();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(boxes.Done()) << bad;
        EXPECT_TRUE(dialog.isVisible()) << bad;
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.focusWidget(), dialog.Edit()) << bad;
        EXPECT_EQ(gEnviron->ComPort, 3);
    }
    ASSERT_EQ(boxes.Log().size(), 3u);
    EXPECT_EQ(boxes.Log()[0].flags, plat::MB_OK | plat::MB_ICONERROR);

    ComPortDialog cancelled(&main);
    cancelled.show();
    cancelled.Edit()->setText("9");
    QTest::mouseClick(cancelled.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(gEnviron->ComPort, 3);

    ComPortDialog dialog(&main);
    dialog.show();
    dialog.Edit()->setText(" 7 ");
    QTest::keyClick(dialog.Edit(), Qt::Key_Return); // OK is the default button
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(gEnviron->ComPort, 7);
}

} // namespace
