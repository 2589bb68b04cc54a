// A printed page and the printing dialog as a user sees them: page 1 of the
// PDF rendered by pdftoppm, and the dialog grabbed while the job runs. Under
// Xvfb the pictures are kept in $TOLVANE_PNG_DIR when it is set.
#include "tests/support/BankFill.h"
#include "tests/ui/PrintFixture.h"
#include "tests/ui/ScreenGrab.h"

#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include <string>

namespace {

using uitest::PrintFixture;

class PrintOnScreenTest : public PrintFixture {
protected:
    // Share of the picture's pixels that are dark.
    static double Ink(const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128) ++dark;
        return static_cast<double>(dark) / (image.width() * image.height());
    }
};

TEST_F(PrintOnScreenTest, PageOneOfTheSheetAndThePrintingDialog) {
    FillBank(0, 12);
    // Names in the radio's dots, drawn on paper in the same share of a line as on screen.
    for (int32_t row = 0; row < 12; ++row)
        testsupport::NameChannel(Doc().WorkingImage(), row, "CHANNEL " + std::to_string(row + 1));
    Open("[St_ChBank]" + BankSheetName() + ",Bank 0");
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    Window().Print(0);
    QDialog* dialog = Window().PrintJob().Dialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    const QImage box = dialog->grab().toImage();
    uitest::SavePicture(box, "print17-dialog");
    const QPushButton* cancel = dialog->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(dialog->rect().contains(cancel->geometry())) << "the button lies inside the dialog";
    EXPECT_GT(Ink(box), 0.001) << "the label and the button show";
    RunJob();

    const std::string stem = (uitest::PictureDir() + "/print17-page").toStdString();
    std::filesystem::copy_file(pdf_, stem + ".pdf", std::filesystem::copy_options::overwrite_existing);
    Run("pdftoppm -png -r 50 -f 1 -l 1 -singlefile '" + pdf_ + "' '" + stem + "'");
    // The same page large enough to see the dots of the names.
    Run("pdftoppm -png -r 150 -f 1 -l 1 -singlefile '" + pdf_ + "' '" + stem + "-150'");
    const QImage page(QString::fromStdString(stem + ".png"));
    ASSERT_FALSE(page.isNull());
    // A4 at 50 dpi, with the header, the rules, the cells and the footer in ink.
    EXPECT_NEAR(page.width(), 413, 2);
    EXPECT_NEAR(page.height(), 585, 2);
    const double ink = Ink(page);
    EXPECT_GT(ink, 0.005);
    EXPECT_LT(ink, 0.5);
}

} // namespace
