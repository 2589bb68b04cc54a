#include "ui/SheetBuilder.h"

#include "cells/CellCanvas.h"
#include "cells/cmcCellCapsule.h"
#include "platform/QtText.h"
#include "ui/QtConvert.h"
#include "ui/SheetPainter.h"
#include "ui/cuiGrid.h"

#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A surface that paints nothing and keeps what the radio-display painter
// says it lays out.
class GlyphNote : public CellCanvas {
public:
    ColorValue FontColor() const override { return font_; }
    void SetFontColor(ColorValue color) override { font_ = color; }
    ColorValue BrushColor() const override { return brush_; }
    void SetBrushColor(ColorValue color) override { brush_ = color; }
    void FillRect(int32_t, int32_t, int32_t, int32_t) override {}
    void FrameRect(int32_t, int32_t, int32_t, int32_t, ColorValue) override {}
    void NoteGlyphs(int32_t glyphsPerLine, int32_t glyphLines, int32_t glyphDotsWide,
                    int32_t glyphDotsHigh) override {
        perLine = glyphsPerLine;
        lines = glyphLines;
        dotsWide = glyphDotsWide;
        dotsHigh = glyphDotsHigh;
    }

    int32_t perLine = 0, lines = 0, dotsWide = 0, dotsHigh = 0;

private:
    ColorValue font_ = 0, brush_ = 0;
};

// Room enough for any cell while it is asked what it paints.
constexpr int32_t kMeasureExtent = 1 << 14;
// A radio-display dot is a seventh of a text line, and two pixels at the least.
constexpr int32_t kDotsPerLine = 7;
constexpr int32_t kMinDotPixels = 2;

} // namespace

namespace SheetBuilder {

Panels MakePanels(QWidget* parent, const SheetStyle& style, bool listMode) {
    Panels out;
    QLayout* parentLayout = parent ? parent->layout() : nullptr;
    if (parent && !parentLayout) {
        parentLayout = new QVBoxLayout(parent);
        parentLayout->setContentsMargins(0, 0, 0, 0);
        parentLayout->setSpacing(0);
    }
    if (style.title) {
        out.title = new QFrame(parent);
        out.title->hide();
        out.title->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        out.title->setLineWidth(2);
        out.titleLabel = new QLabel(plat::ToQString(*style.title), out.title);
        QLabel* label = out.titleLabel;
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setAutoFillBackground(true);
        if (style.titleFont) label->setFont(ToQFont(*style.titleFont, label->font()));
        QPalette pal = label->palette();
        pal.setColor(QPalette::Window, ToQColor(style.titleColor, pal));
        // The title font's colour is the text's: a dark title bar asks for a light one.
        if (style.titleFont) pal.setColor(QPalette::WindowText, ToQColor(style.titleFont->color, pal));
        label->setPalette(pal);
        auto* titleLayout = new QVBoxLayout(out.title);
        titleLayout->setContentsMargins(2, 2, 2, 2);
        titleLayout->addWidget(label);
        out.title->setFixedHeight(QFontMetrics(label->font()).height() + 2 + 8);
        if (parentLayout) parentLayout->addWidget(out.title);
    }
    out.sheet = new QFrame(parent);
    out.sheet->hide();
    if (listMode) {
        out.sheet->setFrameStyle(QFrame::Panel | QFrame::Raised);
        out.sheet->setLineWidth(1);
    } else {
        out.sheet->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        out.sheet->setLineWidth(2);
    }
    auto* panelLayout = new QVBoxLayout(out.sheet);
    const int border = listMode ? 2 : 0;
    panelLayout->setContentsMargins(border, border, border, border);
    out.grid = new cuiGrid(out.sheet);
    out.grid->setFrameShape(QFrame::NoFrame);
    panelLayout->addWidget(out.grid);
    if (parentLayout) parentLayout->addWidget(out.sheet);
    return out;
}

std::string BasicCellText(const std::string& basic, int32_t fontHeight, int32_t zoom, bool printing,
                          int32_t printFontRatio) {
    std::string text = basic;
    if (fontHeight != 0)
        text += "{(Font=,,," + std::to_string(fontHeight) + ",,,)}";
    else
        text += "{(Font=,,,%" + std::to_string(zoom) + ",,,)}";
    if (printing && printFontRatio != 100) text += "{(Font=,,,%" + std::to_string(printFontRatio) + ",,,)}";
    return text;
}

QSize CaptionRoom(const QFontMetrics& metrics, const std::string& caption, int32_t scale) {
    int width = 0, height = 0;
    for (const std::string& part : SplitCellLines(caption)) {
        width = std::max(width, metrics.horizontalAdvance(plat::ToQString(part)));
        height += metrics.height();
    }
    return {width + 8 * scale, height + 2 * scale};
}

int32_t GlyphDotPixels(int lineHeight, int32_t scale) {
    return std::max(kMinDotPixels * scale, lineHeight / kDotsPerLine);
}

std::optional<QSize> GlyphRoom(const std::function<void(CellCanvas&, const CellRect&)>& paint, int32_t dot) {
    GlyphNote note;
    const CellRect rect{0, 0, kMeasureExtent, kMeasureExtent};
    paint(note, rect);
    if (note.perLine <= 0 || note.lines <= 0) return std::nullopt;
    return QSize(note.perLine * (dot * note.dotsWide + 1) + 2,
                 note.lines * dot * note.dotsHigh + (note.lines == 2 ? 4 : 2));
}

} // namespace SheetBuilder
