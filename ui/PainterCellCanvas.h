#pragma once
#include "cells/CellCanvas.h"
#include "ui/QtConvert.h"

#include <QPainter>
#include <QPalette>
#include <QPolygon>

// The surface the cells' radio-display painter draws on, over a painter:
// what the editors' previews hand to the cell engine.
class PainterCellCanvas : public CellCanvas {
public:
    PainterCellCanvas(QPainter& painter, const QPalette& palette) : painter_(painter), palette_(palette) {}

    ColorValue FontColor() const override { return font_; }
    void SetFontColor(ColorValue color) override { font_ = color; }
    ColorValue BrushColor() const override { return brush_; }
    void SetBrushColor(ColorValue color) override { brush_ = color; }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        if (right > left && bottom > top)
            painter_.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(brush_, palette_));
    }
    void FillPolygon(const std::vector<std::pair<int32_t, int32_t>>& points) override {
        QPolygon polygon;
        for (const auto& [x, y] : points)
            polygon << QPoint(x, y);
        const QColor c = ToQColor(brush_, palette_);
        painter_.save();
        painter_.setPen(c);
        painter_.setBrush(c);
        painter_.drawPolygon(polygon);
        painter_.restore();
    }
    void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom, ColorValue color) override {
        if (right <= left || bottom <= top) return;
        painter_.save();
        painter_.setPen(ToQColor(color, palette_));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
        painter_.restore();
    }

private:
    QPainter& painter_;
    const QPalette& palette_;
    ColorValue font_ = 0x000000;
    ColorValue brush_ = 0xFFFFFF;
};
