#pragma once
// The pictures the tests keep to be looked at: each one saved as <name>.png
// in $TOLVANE_PNG_DIR when that is set, else in the temp dir, so that the
// pictures stay beside the test output. GrabOnScreen takes the screen's
// picture of a shown window: the X server's under Xvfb, the window's own
// rendering where the platform has no screen to grab.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace uitest {

// The folder the pictures are kept in, made when missing.
inline QString PictureDir() {
    const QString dir = qEnvironmentVariableIsSet("TOLVANE_PNG_DIR") ? qEnvironmentVariable("TOLVANE_PNG_DIR")
                                                                     : QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}

// Keeps a picture as <name>.png in the picture folder; false when it could
// not be written.
inline bool SavePicture(const QImage& picture, const QString& name) {
    return picture.save(PictureDir() + "/" + name + ".png");
}
inline bool SavePicture(const QPixmap& picture, const QString& name) { return SavePicture(picture.toImage(), name); }

inline QImage GrabOnScreen(QWidget& window, const QString& name) {
    QApplication::processEvents();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    const QRect frame = window.frameGeometry();
    QImage shot =
        window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    if (shot.isNull() || shot.width() < window.width() / 2) shot = window.grab().toImage();
    EXPECT_TRUE(SavePicture(shot, name));
    return shot;
}

} // namespace uitest
