// The adjustment program as the screen shows it: its main window with an
// adjustment sheet opened from the tree and the A/D monitor beside it with
// the simulated radio's readings. Grabbed from the X server's screen under
// Xvfb (kept in $TOLVANE_PNG_DIR when set), from the windows themselves on
// the offscreen platform.
#include "adjust/ui/iuiWinAd.h"
#include "tests/adjust_ui/AdjustMainFixture.h"
#include "tools/radiosim/RadioSim.h"
#include "ui/TForm1.h"
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
        const QString dir = qEnvironmentVariableIsSet("TOLVANE_PNG_DIR")
                                ? qEnvironmentVariable("TOLVANE_PNG_DIR")
                                : QDir::tempPath();
        QDir().mkpath(dir);
        EXPECT_TRUE(shot.save(dir + "/adjust-" + QString::fromStdString(name) + ".png"));
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
    ASSERT_TRUE(sim_.Open());
    ASSERT_FALSE(sim_.LinkAs(dir_.Path(), 5).empty());
    gEnviron->ComPort = 5;
    Doc().CloneManager().Driver().SetSettleWait([this](int) { sim_.Pump(); });

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

    gEvMan->Send(adj::iuiWinAd::kEventToggle);
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

} // namespace
