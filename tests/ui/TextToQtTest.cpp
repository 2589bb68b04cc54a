// The program's texts are bytes of the overlay's code page: on screen each
// byte is one character, and what comes back from the screen is the same
// byte, 0x80 and above too. File names keep the file system's spelling.
#include "platform/QtServices.h"
#include "platform/QtText.h"
#include "tests/ui/AppFixture.h"
#include "ui/ComPortDialog.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;
using uitest::AppFixture;

const std::string kDegree = "\xB0";

TEST(TextToQt, EveryByteIsOneCharacterAndComesBackAsItself) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const QString shown = plat::ToQString(all);
    EXPECT_EQ(shown.size(), 255);
    EXPECT_EQ(shown.at(0xB0 - 1), QChar(0x00B0));
    EXPECT_EQ(plat::FromQString(shown), all);
    EXPECT_EQ(plat::FromQString(QStringLiteral("\u20AC")), "?") << "a character with no byte of its own";

    const std::string path = "/tmp/Gr\xC3\xBC\xC3\x9F"
                             "e.icf"; // UTF-8, as the file system spells it
    EXPECT_EQ(plat::PathToQString(path), QStringLiteral("/tmp/Gr\u00FC\u00DFe.icf"));
    EXPECT_EQ(plat::PathFromQString(plat::PathToQString(path)), path);
}

class TextToQtTest : public AppFixture {
protected:
    // The program's directory with the shipped files, but an overlay whose
    // title is the given text.
    std::string ProgramWithTitle(const std::string& title) {
        const std::string dir = dir_.File("program");
        fs::create_directories(dir);
        for (const fs::directory_entry& e : fs::directory_iterator(TOLVANE_BIN_DIR))
            if (e.is_regular_file() && e.path().filename() != "QT4410R.OVL")
                fs::create_symlink(e.path(), dir + "/" + e.path().filename().string());
        std::istringstream in(TempDir::ReadFile(TOLVANE_BIN_DIR "/QT4410R.OVL"));
        std::string out, line;
        bool next = false;
        while (std::getline(in, line)) {
            const bool cr = !line.empty() && line.back() == '\r';
            if (next) line = title + (cr ? "\r" : "");
            next = line.rfind("#" + CloningProfile().titleKey, 0) == 0 &&
                   line.size() <= CloningProfile().titleKey.size() + 2;
            out += line + "\n";
        }
        TempDir::WriteFile(dir + "/QT4410R.OVL", out);
        return dir + "/";
    }
};

TEST_F(TextToQtTest, TheTitleShowsTheProgramsBytesAndTheFileNameAsTheFileSystemSpellsIt) {
    const std::string title = "Clone " + kDegree + " Tool";
    StartWith(CloningDocumentFactory(), ProgramWithTitle(title));
    window_ = std::make_unique<indMain>(Doc());
    TForm1 form(*window_);
    ASSERT_EQ(gGTex->GetText(CloningProfile().titleKey), title);
    EXPECT_EQ(plat::FromQString(form.windowTitle()), "Untitled - " + title);

    const std::string name = "Gr\xC3\xBC\xC3\x9F"
                             "e.icf";
    ASSERT_EQ(Doc().SaveFile(Documents() + "/" + name), 0);
    EXPECT_TRUE(fs::exists(Documents() + "/" + name));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Gr\u00FC\u00DFe.icf - Clone \u00B0 Tool"));
    EXPECT_TRUE(form.close());
}

// The program's own box service, as the user meets it.
TEST(TextToQtBox, CaptionAndTextShowTheBytesAndComeBackAsThem) {
    plat::QtMessageBoxService service;
    QString caption, text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton);
    });
    EXPECT_EQ(service.Show("20 " + kDegree + "C is too warm", "Temp" + kDegree, plat::MB_OKCANCEL),
              plat::IDCANCEL);
    EXPECT_EQ(plat::FromQString(caption), "Temp" + kDegree);
    EXPECT_EQ(plat::FromQString(text), "20 " + kDegree + "C is too warm");
}

TEST(TextToQtComPort, TheDialogShowsTheOverlaysBytesAndTypedOnesComeBack) {
    static const char* const kLines[] = {"#GI_AppInd_Opt_ComSel_Caption",
                                         "COM"
                                         "\xB0",
                                         "#GI_AppInd_Opt_ComSel_Notice",
                                         "Port "
                                         "\xB0"
                                         " one",
                                         "Port "
                                         "\xB0"
                                         " two",
                                         "#GI_AppInd_Opt_ComSel_SizeOfButtons",
                                         "WWWWWWWW",
                                         "#GI_AppInd_Opt_ComSel_Buttons",
                                         "OK"
                                         "\xB0",
                                         "Cancel"
                                         "\xB0",
                                         "#GI_AppInd_Opt_ComSel_OutofRange",
                                         "1 to 256"
                                         "\xB0",
                                         "#GI_Sys_AppTitle",
                                         "Title"
                                         "\xB0",
                                         "#End_Of_Ovl",
                                         nullptr};
    cmcGTex texts;
    texts.SetLines(kLines);
    cmcGTex* old = gGTex;
    gGTex = &texts;
    plat::ScriptedMessageBox boxes;
    plat::ScopedMessageBoxes useBoxes{&boxes};
    {
        QWidget main;
        main.show();
        ComPortDialog dialog(&main);
        dialog.show();
        EXPECT_EQ(plat::FromQString(dialog.windowTitle()), "COM" + kDegree);
        EXPECT_EQ(plat::FromQString(dialog.Notice()->text()),
                  "Port " + kDegree + " one\nPort " + kDegree + " two");
        EXPECT_EQ(plat::FromQString(dialog.OkButton()->text()), "OK" + kDegree);
        EXPECT_EQ(plat::FromQString(dialog.CancelButton()->text()), "Cancel" + kDegree);

        dialog.Edit()->clear();
        QTest::keyClicks(dialog.Edit(), QString(QChar(0x00B0)));
        EXPECT_EQ(plat::FromQString(dialog.Edit()->text()), kDegree);
        boxes.Expect("1 to 256" + kDegree, plat::IDOK);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        ASSERT_EQ(boxes.Log().size(), 1u);
        EXPECT_EQ(boxes.Log()[0].text, "1 to 256" + kDegree);
        EXPECT_EQ(boxes.Log()[0].caption, "Title" + kDegree);
    }
    gGTex = old;
}

} // namespace
