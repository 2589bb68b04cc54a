#include "ui/QtCellCanvas.h"

#include "platform/QtText.h"
#include "ui/QtConvert.h"

#include <QFontMetrics>
#include <QPainter>

QtCellCanvas::QtCellCanvas(QPainter& painter, const QPalette& palette, const QFont& base)
    : painter_(painter), palette_(palette), base_(base), font_(base) {}

void QtCellCanvas::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (right <= left || bottom <= top) return;
    painter_.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(brushColor_, palette_));
}

void QtCellCanvas::FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorValue color) {
    if (right <= left || bottom <= top) return;
    const QColor c = ToQColor(color, palette_);
    // Four filled edges: exact pixels whatever the painter's pen and transform do to outlines.
    painter_.fillRect(QRect(left, top, right - left, 1), c);
    painter_.fillRect(QRect(left, bottom - 1, right - left, 1), c);
    painter_.fillRect(QRect(left, top, 1, bottom - top), c);
    painter_.fillRect(QRect(right - 1, top, 1, bottom - top), c);
}

void QtCellCanvas::SetFont(const FontDesc& font) {
    font_ = ToQFont(font, base_);
    fontColor_ = font.color;
}

void QtCellCanvas::TextOut(int x, int y, const std::string& text) {
    const QString s = plat::ToQString(text);
    const QFontMetrics metrics(font_, painter_.device());
    painter_.save();
    painter_.setFont(font_);
    painter_.setPen(ToQColor(fontColor_, palette_));
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.drawText(QPoint(x, y + metrics.ascent()), s);
    painter_.restore();
    penPos_ = QPoint(x + metrics.horizontalAdvance(s), y);
}

QSize QtCellCanvas::TextExtent(const std::string& text) const {
    const QFontMetrics metrics(font_, painter_.device());
    return {metrics.horizontalAdvance(plat::ToQString(text)), metrics.height()};
}

void QtCellCanvas::DrawLine(int x1, int y1, int x2, int y2) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(QPen(ToQColor(penColor_, palette_), 0));
    painter_.drawLine(x1, y1, x2, y2);
    painter_.restore();
}
