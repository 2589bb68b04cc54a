#pragma once
// The screen's picture of a shown window: the X server's under Xvfb, the
// window's own rendering where the platform has no screen to grab. It is
// saved as <name>.png in $TOLVANE_PNG_DIR when that is set, else in the
// temp dir, so that the pictures stay beside the test output.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScreen>
#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace uitest {

inline QImage GrabOnScreen(QWidget& window, const QString& name) {
    QApplication::processEvents();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    const QRect frame = window.frameGeometry();
    QImage shot =
        window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    if (shot.isNull() || shot.width() < window.width() / 2) shot = window.grab().toImage();
    const QString dir = qEnvironmentVariableIsSet("TOLVANE_PNG_DIR") ? qEnvironmentVariable("TOLVANE_PNG_DIR")
                                                                     : QDir::tempPath();
    QDir().mkpath(dir);
    EXPECT_TRUE(shot.save(dir + "/" + name + ".png"));
    return shot;
}

} // namespace uitest
