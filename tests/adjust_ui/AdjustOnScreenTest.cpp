// The adjustment program as the screen shows it: its main window with an
// adjustment sheet opened from the tree and the A/D monitor beside it with
// the simulated radio's readings. Grabbed from the X server's screen under
// Xvfb (kept in $TOLVANE_PNG_DIR when set), from the windows themselves on
// the offscreen platform.
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/iuiWinAd.h"
#include "cells/PopupOpener.h"
#include "tests/adjust_ui/AdjustMainFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "tools/radiosim/RadioSim.h"
#include "tools/radiosim/StartupMemory.h"
#include "ui/ProgramPopupOpener.h"
#include "ui/TForm1.h"
#include "ui/cuiFlector.h"
#include "ui/cuiGrid.h"
#include "ui/cuiInformation.h"
#include "ui/cuiSheet.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class AdjustOnScreenTest : public adjwintest::AdjustMainFixture {
protected:
    void Settle() {
        scheduler_.Advance(300);
        QApplication::processEvents();
    }
    static QImage Grab(QWidget& form, const std::string& name) {
        QApplication::processEvents();
        QImage shot;
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            shot = form.grab().toImage();
        } else {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
            QApplication::processEvents();
            const QRect frame = form.frameGeometry();
            shot =
                form.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
        }
        EXPECT_TRUE(uitest::SavePicture(shot, "adjust-" + QString::fromStdString(name)));
        return shot;
    }
    static int Dark(const QImage& shot) {
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += qGray(shot.pixel(x, y)) < 96;
        return n;
    }

    testsupport::ScopedEnv comDir_{"TOLVANE_COM_DIR", dir_.Path()};
    radiosim::RadioSim sim_;
};

TEST_F(AdjustOnScreenTest, TheTransmitAdjustmentSheetBesideTheAdMonitor) {
    adj::indMain& app = StartAdjust();
    TForm1 form(app);
    form.resize(900, 600);
    Settle();
    LinkRadio(sim_);

    // A click on the tree's node opens its sheet.
    QTreeWidget* view = app.Tree()->View();
    QTreeWidgetItem* node = app.Tree()->FindNode("GI_Sheet_Adj_Tx");
    ASSERT_NE(node, nullptr);
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        up->setExpanded(true);
    view->scrollToItem(node);
    QApplication::processEvents();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(node).center());
    Settle();
    Settle();
    ASSERT_NE(app.Sheet(), nullptr);
    EXPECT_EQ(app.Sheet()->Name(), "GI_Sheet_Adj_Tx");

    gEvMan->Send(evOpenAdWindow);
    adj::iuiWinAd* ad = app.AdWindow();
    ASSERT_NE(ad, nullptr);
    for (int t = 0; t < 60000 && Doc().CloneManager().IsBusy(); t += 2) {
        sim_.Pump();
        scheduler_.Advance(2);
    }
    ASSERT_FALSE(Doc().CloneManager().IsBusy());
    QApplication::processEvents();

    // Every button of the tool bar shows a picture; none is a blank square.
    for (const QToolButton* button : app.ToolBar()->findChildren<QToolButton*>())
        if (!button->toolTip().isEmpty()) {
            EXPECT_FALSE(button->icon().isNull()) << button->toolTip().toStdString();
        }
    // The sheet's title is drawn in a colour that stands out from its bar.
    const QLabel* title = nullptr;
    for (const QLabel* label : app.SheetPanel()->findChildren<QLabel*>())
        if (label->text() == QStringLiteral("Transmitter")) title = label;
    ASSERT_NE(title, nullptr);
    const QColor text = title->palette().color(QPalette::WindowText);
    const QColor bar = title->palette().color(QPalette::Window);
    EXPECT_GT(std::abs(qGray(text.rgb()) - qGray(bar.rgb())), 100);
    EXPECT_GT(Dark(Grab(form, "main-window")), 500) << "tree, caption and cells on the picture";
    EXPECT_GT(Dark(Grab(*ad->Form(), "ad-window")), 200) << "readings and frames on the picture";
    EXPECT_TRUE(boxes_.Log().empty());
}

// A technician's two windows beside the main one: a channel switch's list
// popped up over the channel sheet, and the radio's information.
TEST_F(AdjustOnScreenTest, AChannelListPoppedUpAndTheRadioInformation) {
    adj::indMain& app = StartAdjust();
    TForm1 form(app);
    form.resize(1000, 600);
    form.show();
    QApplication::setActiveWindow(&form);
    Settle();
    HoldStartupData(sim_, gEnviron->ModelType);
    LinkRadio(sim_);
    auto run = [&] {
        for (int round = 0; round < 40; ++round) {
            for (int t = 0; t < 60000 && Doc().CloneManager().IsBusy(); t += 2) {
                sim_.Pump();
                scheduler_.Advance(2);
            }
            Settle();
        }
    };
    AdjustDoc().CloneRead();
    run();
    ASSERT_TRUE(boxes_.Log().empty()) << boxes_.Log().front().text;

    // The read left the first bank open: Enter on its first channel's monitor switch pops its list up.
    ASSERT_NE(app.Sheet(), nullptr);
    cuiSheet& sheet = *app.Sheet();
    ASSERT_EQ(sheet.GetDefinition(), "[St_ChBank]GI_Sheet_Mch,Bank 0");
    const int32_t moni = adj::AdjustCellVocabulary().CellIndex("CL_Mch_Moni");
    int32_t col = -1;
    const int32_t row = sheet.FirstSelectableRow();
    for (int32_t c = 0; c < sheet.ColCount(); ++c)
        if (sheet.GetCell(c, row).cellId == moni) col = c;
    ASSERT_GE(col, 0);
    QTest::mouseClick(sheet.Grid()->viewport(), Qt::LeftButton, {},
                      sheet.Grid()->CellRect(col, row).center());
    Settle();
    QTest::keyClick(sheet.Grid(), Qt::Key_Return);
    Settle();
    auto* popups = dynamic_cast<ProgramPopupOpener*>(&Popups());
    ASSERT_NE(popups, nullptr);
    cuiFlector* list = popups->LastOpened();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->Form()->isVisible());
    EXPECT_GT(Dark(Grab(form, "list-popup")), 500) << "the sheet and its list on the picture";
    EXPECT_GT(Dark(Grab(*list->Form(), "list-popup-alone")), 50) << "the list's items";
    QTest::keyClick(list->Sheet()->Grid(), Qt::Key_Escape);
    Settle();

    // Radio information from the tool bar.
    for (QToolButton* b : app.ToolBar()->findChildren<QToolButton*>())
        if (b->toolTip() == QStringLiteral("Radio information")) QTest::mouseClick(b, Qt::LeftButton);
    run();
    cuiInformation* info = app.Information();
    ASSERT_NE(info, nullptr);
    EXPECT_GT(Dark(Grab(*info->Form(), "information")), 300) << "model, comments and serial number";
    QTest::mouseClick(info->OkButton(), Qt::LeftButton);
    // The window goes once the event loop has it back.
    for (int i = 0; i < 50 && app.Information(); ++i) {
        QTest::qWait(10);
        Settle();
    }
    ASSERT_EQ(app.Information(), nullptr);
    ASSERT_TRUE(form.isEnabled()) << "the window gave the main form back";

    // A click on a filter's "Press Enter to start" marks the filter's whole row.
    app.OpenSheet("GI_Sheet_Adj_Rx");
    Settle();
    cuiSheet& rx = *app.Sheet();
    const int32_t start = adj::AdjustCellVocabulary().CellIndex("CL_Adjust_BpfT3_Sweep");
    for (int32_t r = 0; r < rx.RowCount(); ++r)
        for (int32_t c = 0; c < rx.ColCount(); ++c)
            if (rx.GetCell(c, r).cellId == start)
                QTest::mouseClick(rx.Grid()->viewport(), Qt::LeftButton, {},
                                  rx.Grid()->CellRect(c, r).center());
    Settle();
    EXPECT_EQ(rx.GetCell(rx.Grid()->Col(), rx.Grid()->Row()).cellId,
              adj::AdjustCellVocabulary().CellIndex("CL_Adjust_BpfT3"));
    EXPECT_GT(Dark(Grab(form, "receiver-row")), 500);
    EXPECT_TRUE(boxes_.Log().empty());
}

} // namespace
