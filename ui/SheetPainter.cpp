#include "ui/SheetPainter.h"

#include "cells/cmcCellObj.h"
#include "foundation/ColorName.h"
#include "ui/QtCellCanvas.h"
#include "ui/QtConvert.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

namespace {

// Plain colours the sheet draws with.
constexpr ColorValue kWhite = 0xFFFFFF;
constexpr ColorValue kSilver = 0xC0C0C0;
constexpr ColorValue kRuleGrey = 0x808080;
constexpr ColorValue kBlack = 0x000000;
// Coloured cells print dark grey with white text.
constexpr ColorValue kPrintDark = 0x606060;

// The image list's marks.
constexpr int kWarningImage = 10;
constexpr int kErrorImage = 11;
constexpr int kMarkSize = 16;

// The cells' canvas, with the fills of one colour drawn together: a cell
// that draws a radio display's glyphs fills hundreds of dots, one call each.
class BatchedCanvas : public QtCellCanvas {
public:
    BatchedCanvas(QPainter& painter, const QPalette& palette, const QFont& base)
        : QtCellCanvas(painter, palette, base), palette_(palette) {}
    ~BatchedCanvas() override { Flush(); }
    BatchedCanvas(const BatchedCanvas&) = delete;
    BatchedCanvas& operator=(const BatchedCanvas&) = delete;

    void SetBrushColor(ColorValue color) override {
        if (color != BrushColor()) Flush();
        QtCellCanvas::SetBrushColor(color);
    }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        if (right <= left || bottom <= top) return;
        // Glyphs are filled a column of dots at a time: a dot right below the
        // last one lengthens it.
        if (!fills_.isEmpty()) {
            QRect& last = fills_.last();
            if (last.left() == left && last.right() == right - 1 && last.bottom() == top - 1) {
                last.setBottom(bottom - 1);
                return;
            }
        }
        fills_.append(QRect(left, top, right - left, bottom - top));
    }
    void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorValue color) override {
        Flush();
        QtCellCanvas::FrameRect(left, top, right, bottom, color);
    }
    // Draws the fills so far; before anything else is drawn over them.
    void Flush() {
        if (fills_.isEmpty()) return;
        QPainter& p = Painter();
        if (fills_.size() == 1) {
            p.fillRect(fills_.first(), ToQColor(BrushColor(), palette_));
            fills_.clear();
            return;
        }
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(BrushColor(), palette_));
        p.drawRects(fills_.constData(), static_cast<int>(fills_.size()));
        p.restore();
        fills_.clear();
    }

private:
    const QPalette& palette_;
    QList<QRect> fills_;
};

} // namespace

std::vector<std::string> SplitCellLines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t lf = text.find('\n', start);
        out.push_back(text.substr(start, lf == std::string::npos ? std::string::npos : lf - start));
        if (lf == std::string::npos) return out;
        start = lf + 1;
    }
}

void SheetPainter::Draw(QPainter& painter, const QRect& clip, const QRect& rect, const cmcCellObj& cell,
                        const FontDesc* baseFont, const Look& look, const Owner& owner) const {
    const bool printing = look.printing;
    const bool marked = look.marked;
    const bool light = cell.color == clWindow || cell.color == kWhite;
    ColorValue back = cell.color;
    // Paper shows no selection, and colours only as a dark grey.
    if (printing)
        back = light ? kWhite : kPrintDark;
    else if (marked && !look.editing)
        back = look.active ? clHighlight : clBtnFace;
    painter.save();
    painter.setClipRect(clip);
    // Most cells draw in the sheet's own font, which the panel already holds.
    BatchedCanvas canvas(painter, palette_, sheetFont_);
    canvas.SetBrushColor(back);
    if (!printing || back != kWhite)
        canvas.FillRect(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
    if (cell.layout & cmcCellObj::kLayoutB) {
        canvas.SetBrushColor(printing ? kBlack : light ? kRuleGrey : kWhite);
        canvas.FillRect(rect.left(), rect.bottom(), rect.left() + rect.width(), rect.bottom() + 1);
        canvas.SetBrushColor(back);
    }

    if (cell.font)
        canvas.SetFont(*cell.font);
    else if (baseFont)
        canvas.SetFontColor(baseFont->color);
    if (marked && back == clHighlight) canvas.SetFontColor(clHighlightText);

    const CellRect r{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    const Answer answer = owner(canvas, r, marked);
    if (printing) {
        canvas.SetFontColor(back == kPrintDark ? kWhite : kBlack);
    } else if (marked && back == clBtnFace) {
        const ColorValue fc = canvas.FontColor();
        if (fc == clBtnFace || fc == kSilver || fc == clGrayText) canvas.SetFontColor(clWindow);
    }

    canvas.Flush();
    std::vector<std::string> lines = SplitCellLines(answer.text);
    // A line feed at the end closes the last line: no empty line below it
    // takes a share of the height (the digits would lose their top).
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    // Most cells are in the sheet's font, whose line height is known.
    const int lineHeight = cell.font ? canvas.TextExtent("A").height() : lineHeight_;
    const int h = lineHeight * static_cast<int>(lines.size());
    int y = r.top + scale_;
    switch ((cell.layout & cmcCellObj::kAlignVMask) >> 2) {
    case 1:
        y = r.top + (r.bottom - r.top - h) / 2;
        break;
    case 2:
        y = r.bottom - h - scale_;
        break;
    default:
        break;
    }
    int penX = r.left;
    const int hAlign = cell.layout & cmcCellObj::kAlignHMask;
    for (const std::string& part : lines) {
        const int w = hAlign == 0 ? 0 : canvas.TextExtent(part).width();
        int x = r.left + 4 * scale_;
        if (hAlign == 1) x = r.left + (r.right - r.left - w) / 2;
        if (hAlign == 2) x = r.right - w - 4 * scale_;
        canvas.TextOut(x, y, part);
        penX = canvas.PenPos().x();
        y += lineHeight;
    }

    if (images_ && (answer.error || answer.warning)) {
        const int e = printing ? (r.bottom - r.top) / 2 : kMarkSize;
        const int f = e / 8;
        int p = answer.markPosition;
        if (p == 0) p = hAlign == 2 ? 1 : 3;
        int x = r.right - e - 1;
        if (p == 1)
            x = r.left + f;
        else if (p == 3)
            x = std::min(penX, x);
        const int index = answer.error ? kErrorImage : kWarningImage;
        if (printing)
            DrawPrintedMark(painter, answer.error, x, r.bottom - e - f, e);
        else if (index < images_->size())
            (*images_)[index].paint(&painter, QRect(x, r.bottom - e - 1, e, e));
    }
    painter.restore();
}

void SheetPainter::DrawPrintedMark(QPainter& painter, bool error, int x, int y, int e) {
    const int f = e / 8;
    const int g = e / 2;
    const int h = e - 1;
    painter.save();
    painter.translate(x, y);
    painter.setBrush(Qt::black);
    if (error) {
        // A cross of two bars.
        const QPoint cross[] = {{f, 0},     {g, g - f}, {h - f, 0}, {h, f},     {g + f, g}, {h, h - f},
                                {h - f, h}, {g, g + f}, {f, h},     {0, h - f}, {g - f, g}, {0, f}};
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(cross, 12);
    } else {
        // A white triangle with an exclamation mark.
        const QPoint triangle[] = {{g, 0}, {h, h}, {0, h}};
        painter.setPen(QPen(Qt::black, e / 16 + 1));
        painter.setBrush(Qt::white);
        painter.drawPolygon(triangle, 3);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        const QPoint stroke[] = {
            {g - f, e / 3}, {g + f, e / 3}, {g + e / 10, 2 * e / 3}, {g - e / 10, 2 * e / 3}};
        painter.drawPolygon(stroke, 4);
        const int top = 3 * e / 4;
        const QPoint dot[] = {
            {g - e / 10, top}, {g + e / 10, top}, {g + e / 10, top + e / 6}, {g - e / 10, top + e / 6}};
        painter.drawPolygon(dot, 4);
    }
    painter.restore();
}
