// The repeater-site window grabbed from the screen: under Xvfb the picture
// is the X server's, kept in $TOLVANE_PNG_DIR when it is set. The header bar
// in its teal, the sheet's white cells and the buttons must be in it.
#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "tests/ui/RepeaterFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/iuiRptSetWin.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

class RepeaterOnScreenTest : public uitest::RepeaterFixture {
protected:
    ~RepeaterOnScreenTest() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::unique_ptr<TForm1> form_;
};

int Count(const QImage& shot, const QRect& area, QColor wanted) {
    int n = 0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), shot.height() - 1); ++y)
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), shot.width() - 1); ++x)
            n += QColor(shot.pixel(x, y)) == wanted;
    return n;
}

TEST_F(RepeaterOnScreenTest, TheWindowShowsItsHeaderSheetAndButtons) {
    form_ = std::make_unique<TForm1>(StartLtr());
    form_->show();
    FillSites();
    SetBankFlagB(Doc().WorkingImage(), 2, 1);
    const std::string name = "HILLTOP     ";
    Doc().WorkingImage().Write(95542 + 12 * 2, reinterpret_cast<const uint8_t*>(name.data()), 12);
    cmcCellObj cell;
    cell.category = InstalledCellEngine().Vocabulary().CategoryIndex("CT_BankOp");
    cell.cellId = InstalledCellEngine().Vocabulary().CellIndex("CL_Mch_Rpt");
    cell.index = 2;
    InstalledCellEngine().ExecuteCell(&cell, cmcCellCapsule::kKeyEnter);
    iuiRptSetWin* win = Window().RepeaterWindow();
    ASSERT_NE(win, nullptr);
    QWidget& window = *win->Form();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();

    const QRect frame = window.frameGeometry();
    QImage shot =
        window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    QPoint origin = window.geometry().topLeft() - frame.topLeft();
    if (shot.isNull() || shot.width() < window.width() / 2) {
        shot = window.grab().toImage();
        origin = QPoint(0, 0);
    }
    uitest::SavePicture(shot, "rpt16-repeater-window");

    auto within = [&](QWidget* w) { return QRect(w->mapTo(&window, QPoint(0, 0)) + origin, w->size()); };
    const QRect header = within(win->SiteNameBox()->parentWidget());
    EXPECT_GT(Count(shot, header, QColor(0, 128, 128)), header.width() * header.height() / 3)
        << "the bar in its colour";
    const QRect nameBox = within(win->SiteNameBox());
    EXPECT_GT(Count(shot, nameBox, Qt::white), 50) << "the site's name in white dots";
    const QRect grid = within(win->Sheet()->Grid()->viewport());
    EXPECT_GT(Count(shot, grid, Qt::white), grid.width() * grid.height() / 10) << "the sheet's cells";
    const QRect ok = within(win->OkButton());
    const QColor okFirst(shot.pixel(ok.center()));
    int varied = 0;
    for (int x = ok.left(); x <= ok.right(); ++x)
        varied += QColor(shot.pixel(x, ok.center().y())) != okFirst;
    EXPECT_GT(varied, 0) << "the button's caption";
    QTest::mouseClick(win->OkButton(), Qt::LeftButton);
}

} // namespace
