// The cells' canvas over QPainter, looked at pixel by pixel on an image.
#include "ui/QtCellCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr ColorValue kRed = 0x0000FF; // 0x00BBGGRR
constexpr ColorValue kBlue = 0xFF0000;
constexpr ColorValue kWindow = 0x80000005;

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest() : image(60, 40, QImage::Format_RGB32) {
        image.fill(Qt::white);
        palette.setColor(QPalette::Base, QColor(0x10, 0x20, 0x30));
    }

    // Pixels of colour c inside and outside r.
    std::pair<int, int> Count(const QColor& c, const QRect& r) const {
        int in = 0, out = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == c) ++(r.contains(x, y) ? in : out);
        return {in, out};
    }

    QImage image;
    QPalette palette;
};

TEST_F(CanvasTest, FillAndFrameCoverExactlyTheirPixels) {
    {
        QPainter painter(&image);
        QtCellCanvas canvas(painter, palette, QFont());
        canvas.SetBrushColor(kRed);
        canvas.FillRect(2, 3, 12, 8); // 10 x 5
        canvas.FrameRect(20, 10, 30, 20, kBlue);
        canvas.FillRect(40, 10, 40, 20); // empty: nothing
        canvas.SetBrushColor(kWindow);
        canvas.FillRect(50, 0, 52, 2);
        EXPECT_EQ(canvas.BrushColor(), kWindow);
    }
    EXPECT_EQ(Count(Qt::red, QRect(2, 3, 10, 5)), std::make_pair(50, 0));
    EXPECT_EQ(Count(Qt::blue, QRect(20, 10, 10, 10)), std::make_pair(36, 0)) << "the outline, 4 x 10 - 4";
    EXPECT_EQ(image.pixelColor(25, 15), QColor(Qt::white)) << "a frame leaves its inside";
    EXPECT_EQ(Count(QColor(0x10, 0x20, 0x30), QRect(50, 0, 2, 2)), std::make_pair(4, 0))
        << "system colours come from the palette";
}

TEST_F(CanvasTest, TextIsDrawnInTheFontColourACellSet) {
    QSize extent;
    QPoint pen;
    {
        QPainter painter(&image);
        QtCellCanvas canvas(painter, palette, QFont());
        FontDesc font;
        font.height = -12;
        font.color = kBlue;
        canvas.SetFont(font);
        EXPECT_EQ(canvas.FontColor(), kBlue);
        EXPECT_EQ(canvas.Font().pixelSize(), 12);
        canvas.SetFontColor(kRed); // as a greyed cell changes it
        extent = canvas.TextExtent("MW");
        canvas.TextOut(5, 6, "MW");
        pen = canvas.PenPos();
        EXPECT_GT(canvas.TextExtent("MWMW").width(), extent.width());
        EXPECT_EQ(canvas.TextExtent("").width(), 0);
    }
    EXPECT_EQ(pen, QPoint(5 + extent.width(), 6));
    QImage plain = image.convertToFormat(QImage::Format_RGB32);
    int inked = 0, outside = 0;
    const QRect box(5, 6, extent.width(), extent.height());
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const QColor c = plain.pixelColor(x, y);
            if (c == QColor(Qt::white)) continue;
            ++(box.contains(x, y) ? inked : outside);
            EXPECT_GT(c.red(), c.blue()) << "drawn in red, not the font's blue, at " << x << "," << y;
        }
    EXPECT_GT(inked, 10);
    EXPECT_EQ(outside, 0) << "the text stays inside its extent";
    EXPECT_EQ(plain.pixelColor(5, 6 + extent.height() - 1), QColor(Qt::white)) << "a transparent background";
}

TEST_F(CanvasTest, LinesInThePenColourWithBothEnds) {
    {
        QPainter painter(&image);
        QtCellCanvas canvas(painter, palette, QFont());
        canvas.SetPenColor(kBlue);
        canvas.DrawLine(3, 30, 12, 30);
    }
    EXPECT_EQ(Count(Qt::blue, QRect(3, 30, 10, 1)), std::make_pair(10, 0));
}

} // namespace
