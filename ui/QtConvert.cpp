#include "ui/QtConvert.h"

#include "platform/QtText.h"

#include <cstdlib>

QColor ToQColor(ColorValue value, const QPalette& palette) {
    if (value & 0x80000000u) {
        // Only the index in the low byte picks the colour.
        switch (0x80000000u | (value & 0xFF)) {
        case clWindow:
            return palette.color(QPalette::Base);
        case clWindowText:
            return palette.color(QPalette::WindowText);
        case clHighlight:
            return palette.color(QPalette::Highlight);
        case clHighlightText:
            return palette.color(QPalette::HighlightedText);
        case clBtnText:
            return palette.color(QPalette::ButtonText);
        case clBtnFace:
        default:
            return palette.color(QPalette::Button);
        }
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QFont ToQFont(const FontDesc& spec, const QFont& base) {
    QFont font(base);
    if (!spec.face.empty()) font.setFamily(plat::ToQString(spec.face));
    // A negative height is the character height without the leading, which is
    // what a pixel size is; a positive one the whole line, near enough the same.
    if (spec.height != 0) font.setPixelSize(std::abs(spec.height));
    font.setBold(spec.style & FontBold);
    font.setItalic(spec.style & FontItalic);
    font.setUnderline(spec.style & FontUnderline);
    font.setStrikeOut(spec.style & FontStrikeOut);
    if (spec.pitch == FontPitch::Fixed) font.setFixedPitch(true);
    return font;
}
