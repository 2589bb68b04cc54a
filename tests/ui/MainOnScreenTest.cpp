// The main window with bank 1's channels, as the screen shows it: grabbed from
// the X server's screen under Xvfb (the picture kept in $TOLVANE_PNG_DIR when
// it is set), from the window itself on the offscreen platform. The tree, the
// sheet's caption and the current cell must be found in the picture where
// their widgets are.
#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "image/datCh.h"
#include "tests/ui/AppFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/TForm1.h"
#include "ui/cuiGrid.h"
#include "ui/cuiSheet.h"
#include "ui/iuiTree.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

using uitest::AppFixture;

class MainOnScreenTest : public AppFixture {
protected:
    // The screen's picture of the form's client area, saved under the name.
    static QImage Grab(QMainWindow& form, const std::string& name) {
        QApplication::processEvents();
        // The offscreen platform has no screen to grab: there the window paints itself.
        QImage shot;
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            shot = form.grab().toImage();
        } else {
            const QPoint origin = form.mapToGlobal(QPoint(0, 0));
            shot =
                form.screen()->grabWindow(0, origin.x(), origin.y(), form.width(), form.height()).toImage();
        }
        uitest::SavePicture(shot, "main-window-" + QString::fromStdString(name));
        return shot;
    }
    // How many pixels of the widget's area in the form's picture are wanted.
    static int Count(const QImage& shot, QMainWindow& form, QWidget* widget, const QRect& area,
                     const std::function<bool(QColor)>& wanted) {
        const QRect r(widget->mapTo(&form, area.topLeft()), area.size());
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += wanted(QColor(shot.pixel(x, y)));
        return n;
    }
    // A colour that stands out from the background, as text drawn on it does.
    static std::function<bool(QColor)> Against(QColor back) {
        return [back](QColor c) {
            return std::abs(c.red() - back.red()) + std::abs(c.green() - back.green()) +
                       std::abs(c.blue() - back.blue()) >
                   250;
        };
    }
};

TEST_F(MainOnScreenTest, BankOnesSheetShowsTheTreeItsCaptionAndTheCurrentCell) {
    indMain& app = Start();
    TForm1 form(app);
    SetBankChannelCount(Doc().WorkingImage(), 0, 12);
    datCh ch(&Doc().WorkingImage());
    const int32_t kind = ModelClassOf(gEnviron->ModelType);
    for (int32_t i = 0; i < 12; ++i) {
        const int32_t row = GetBankFirstChannel(Doc().WorkingImage(), 0) + i;
        ch.Load(kind, row);
        ch.rxFreq = ch.txFreq = 151000000 + 12500 * i;
        ch.Store(kind, row);
    }
    gEvMan->Send(evRebuildTree);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    iuiTree& tree = *app.Tree();
    QTreeWidgetItem* memory = tree.FindNode("GI_Sheet_Memory_CH_Top");
    ASSERT_NE(memory, nullptr);
    QTreeWidgetItem* bank = memory->child(0);
    tree.View()->scrollToItem(bank);
    QTest::mouseClick(tree.View()->viewport(), Qt::LeftButton, {},
                      tree.View()->visualItemRect(bank).center());
    scheduler_.Advance(300);
    QApplication::processEvents();
    cuiSheet* sheet = app.Sheet();
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->GetDefinition().find(",Bank 0"), sheet->GetDefinition().size() - 7);
    cuiGrid& grid = *sheet->Grid();
    grid.setFocus();
    QApplication::processEvents();

    EXPECT_EQ(form.size(), QSize(gEnviron->WindowWidth, gEnviron->WindowHeight));
    const QImage shot = Grab(form, "bank0");
    ASSERT_EQ(shot.size(), form.size());

    // The tree: the bank's node in the selection colour, with its caption's
    // text drawn over it.
    QTreeWidget& view = *tree.View();
    const QRect node = view.visualItemRect(bank);
    const QColor selection = view.palette().color(QPalette::Highlight);
    EXPECT_GT(Count(shot, form, view.viewport(), node, [&](QColor c) { return c == selection; }),
              node.width() * node.height() / 4);
    EXPECT_GT(Count(shot, form, view.viewport(), node, Against(selection)), 10);
    // Other captions in the tree's text colour.
    const QRect below(0, node.bottom() + 1, view.viewport()->width(), node.height() * 4);
    EXPECT_GT(Count(shot, form, view.viewport(), below, [&](QColor c) { return c.lightness() < 100; }), 40);

    // The sheet's caption label: its whole text on its own colour.
    QFrame* title = sheet->TitlePanel();
    ASSERT_NE(title, nullptr);
    ASSERT_TRUE(title->isVisible());
    QLabel* caption = title->findChild<QLabel*>();
    ASSERT_NE(caption, nullptr);
    EXPECT_FALSE(caption->text().isEmpty());
    EXPECT_GE(caption->contentsRect().width(), caption->fontMetrics().horizontalAdvance(caption->text()));
    const QColor captionBack = caption->palette().color(QPalette::Window);
    EXPECT_GT(Count(shot, form, caption, caption->rect(), [&](QColor c) { return c == captionBack; }),
              caption->width() * caption->height() / 2);
    EXPECT_GT(Count(shot, form, caption, caption->rect(), Against(captionBack)), 100);

    // The current cell in the highlight colour, the cells beside it not.
    const QRect current = grid.CellRect(sheet->CurrentCol(), sheet->CurrentRow());
    ASSERT_FALSE(current.isEmpty());
    const QColor highlight = grid.palette().color(QPalette::Highlight);
    EXPECT_GT(Count(shot, form, grid.viewport(), current, [&](QColor c) { return c == highlight; }),
              current.width() * current.height() / 2);
    const QRect next = grid.CellRect(sheet->CurrentCol(), sheet->CurrentRow() + 1);
    EXPECT_EQ(Count(shot, form, grid.viewport(), next, [&](QColor c) { return c == highlight; }), 0);
}

} // namespace
