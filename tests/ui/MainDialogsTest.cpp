// The About box and the debug comparison of the main window.
#include "image/ImageLayout.h"
#include "tests/ui/AppFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>

namespace {

using uitest::AppFixture;

class MainDialogsTest : public AppFixture {
protected:
    // Runs the comparison and returns its memo's text; the dialog is closed
    // by its button as soon as it shows.
    std::string Compare() {
        std::string text;
        QTimer::singleShot(0, [&text] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            text = dialog->findChild<QPlainTextEdit*>("DebugCompareMemo")->toPlainText().toStdString();
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        gEvMan->Send(evRunDebugComparison);
        return text;
    }
};

TEST_F(MainDialogsTest, TheAboutBoxIsLaidOutFromTheIconAndDisablesTheFormUntilClosed) {
    indMain& app = Start();
    TForm1 form(app);
    gEvMan->Send(evShowAbout);
    QWidget* box = app.AboutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(form.isEnabled());
    EXPECT_EQ(box->windowTitle().toStdString(), "About QT4410R");
    const QLabel* icon = box->findChild<QLabel*>("AboutIcon");
    const QLabel* label = box->findChild<QLabel*>("AboutLabel");
    QPushButton* button = box->findChild<QPushButton*>("AboutButton");
    ASSERT_TRUE(icon && label && button);
    EXPECT_EQ(icon->geometry(), QRect(16, 16, 32, 32));
    EXPECT_EQ(label->x(), 16 + 48);
    EXPECT_EQ(label->text().toStdString(), "QT4410R Cloning Software\nfor Morv land-mobile radios");
    EXPECT_EQ(button->x(), label->geometry().right() + 1 + 64);
    EXPECT_EQ(button->width(), 80);
    EXPECT_EQ(box->width(), button->geometry().right() + 1 + 8);
    EXPECT_EQ(box->height(), label->geometry().bottom() + 1 + 16);
    uitest::SavePicture(box->grab(), "about_box");

    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app.AboutBox(), nullptr);
    EXPECT_TRUE(form.isEnabled());
}

TEST_F(MainDialogsTest, TheDebugComparisonListsChangedBytesAndNothingRightAfterASnapshot) {
    indMain& app = Start();
    TForm1 form(app);
    gEvMan->Send(evTakeImageSnapshot);
    Doc().WorkingImage().SetByte(0x0123, 0x5A);
    const uint8_t before = Doc().Snapshot().GetByte(0x0123);
    char expected[32];
    std::snprintf(expected, sizeof expected, "0123 : %02X -> 5A", before);
    EXPECT_EQ(Compare(), expected);
    EXPECT_EQ(Compare(), "") << "the comparison takes the new snapshot";
    Doc().WorkingImage().SetByte(0x0200, static_cast<uint8_t>(Doc().WorkingImage().GetByte(0x0200) ^ 1));
    gEvMan->Send(evTakeImageSnapshot);
    EXPECT_EQ(Compare(), "") << "event 8 takes a snapshot without comparing";
}

} // namespace
