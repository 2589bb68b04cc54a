// The A/D monitor with the simulated radio's readings, as the screen shows
// it: kept in $TOLVANE_PNG_DIR when set (under Xvfb, the X server's picture).
#include "tests/adjust_ui/AdWindowFixture.h"
#include "tests/ui/ScreenGrab.h"

#include <QDir>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

using namespace adjtest;

namespace {

class AdWindowOnScreenTest : public AdWindowFixture {};

TEST_F(AdWindowOnScreenTest, TheWindowShowsItsReadingsBesideTheButtons) {
    ASSERT_NE(Toggle(), nullptr);
    Run();
    QDialog& form = *window->Form();
    form.resize(form.minimumWidth() + 60, 420);
    QApplication::processEvents();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    QApplication::processEvents();
    const QRect frame = form.frameGeometry();
    QImage shot = form.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    if (shot.isNull() || shot.width() < form.width() / 2) shot = form.grab().toImage();
    EXPECT_TRUE(uitest::SavePicture(shot, "ad-window"));
    // The battery row's decimal reading is drawn, not a blank sheet.
    const auto shown = Shown();
    char battery[8];
    std::snprintf(battery, sizeof battery, "%3d", sim.Reading(1));
    EXPECT_EQ(shown.at({1, 1}), battery);
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            dark += qGray(shot.pixel(x, y)) < 96;
    EXPECT_GT(dark, 200) << "text and frames on the picture";
}

} // namespace
