#include "cells/RadioFont.h"

#include "cells/CellEngine.h"
#include "foundation/ModelClass.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"

#include <algorithm>

namespace {

// The printable characters 32..126 as 5 x 7 dots, a byte a column, the top
// dot in the lowest bit. The built-in glyphs of every display type are drawn
// from these.
constexpr uint8_t kFont5x7[95][5] = {
    {0x00, 0x00, 0x00, 0x00, 0x00}, // ' '
    {0x00, 0x00, 0x5F, 0x00, 0x00}, // '!'
    {0x00, 0x07, 0x00, 0x07, 0x00}, // '"'
    {0x14, 0x7F, 0x14, 0x7F, 0x14}, // '#'
    {0x24, 0x2A, 0x7F, 0x2A, 0x12}, // '$'
    {0x23, 0x13, 0x08, 0x64, 0x62}, // '%'
    {0x36, 0x49, 0x55, 0x22, 0x50}, // '&'
    {0x00, 0x05, 0x03, 0x00, 0x00}, // "'"
    {0x00, 0x1C, 0x22, 0x41, 0x00}, // '('
    {0x00, 0x41, 0x22, 0x1C, 0x00}, // ')'
    {0x14, 0x08, 0x3E, 0x08, 0x14}, // '*'
    {0x08, 0x08, 0x3E, 0x08, 0x08}, // '+'
    {0x00, 0x50, 0x30, 0x00, 0x00}, // ','
    {0x08, 0x08, 0x08, 0x08, 0x08}, // '-'
    {0x00, 0x60, 0x60, 0x00, 0x00}, // '.'
    {0x20, 0x10, 0x08, 0x04, 0x02}, // '/'
    {0x3E, 0x51, 0x49, 0x45, 0x3E}, // '0'
    {0x00, 0x42, 0x7F, 0x40, 0x00}, // '1'
    {0x42, 0x61, 0x51, 0x49, 0x46}, // '2'
    {0x21, 0x41, 0x45, 0x4B, 0x31}, // '3'
    {0x18, 0x14, 0x12, 0x7F, 0x10}, // '4'
    {0x27, 0x45, 0x45, 0x45, 0x39}, // '5'
    {0x3C, 0x4A, 0x49, 0x49, 0x30}, // '6'
    {0x01, 0x71, 0x09, 0x05, 0x03}, // '7'
    {0x36, 0x49, 0x49, 0x49, 0x36}, // '8'
    {0x06, 0x49, 0x49, 0x29, 0x1E}, // '9'
    {0x00, 0x36, 0x36, 0x00, 0x00}, // ':'
    {0x00, 0x56, 0x36, 0x00, 0x00}, // ';'
    {0x08, 0x14, 0x22, 0x41, 0x00}, // '<'
    {0x14, 0x14, 0x14, 0x14, 0x14}, // '='
    {0x00, 0x41, 0x22, 0x14, 0x08}, // '>'
    {0x02, 0x01, 0x51, 0x09, 0x06}, // '?'
    {0x32, 0x49, 0x79, 0x41, 0x3E}, // '@'
    {0x7E, 0x11, 0x11, 0x11, 0x7E}, // 'A'
    {0x7F, 0x49, 0x49, 0x49, 0x36}, // 'B'
    {0x3E, 0x41, 0x41, 0x41, 0x22}, // 'C'
    {0x7F, 0x41, 0x41, 0x22, 0x1C}, // 'D'
    {0x7F, 0x49, 0x49, 0x49, 0x41}, // 'E'
    {0x7F, 0x09, 0x09, 0x09, 0x01}, // 'F'
    {0x3E, 0x41, 0x49, 0x49, 0x7A}, // 'G'
    {0x7F, 0x08, 0x08, 0x08, 0x7F}, // 'H'
    {0x00, 0x41, 0x7F, 0x41, 0x00}, // 'I'
    {0x20, 0x40, 0x41, 0x3F, 0x01}, // 'J'
    {0x7F, 0x08, 0x14, 0x22, 0x41}, // 'K'
    {0x7F, 0x40, 0x40, 0x40, 0x40}, // 'L'
    {0x7F, 0x02, 0x0C, 0x02, 0x7F}, // 'M'
    {0x7F, 0x04, 0x08, 0x10, 0x7F}, // 'N'
    {0x3E, 0x41, 0x41, 0x41, 0x3E}, // 'O'
    {0x7F, 0x09, 0x09, 0x09, 0x06}, // 'P'
    {0x3E, 0x41, 0x51, 0x21, 0x5E}, // 'Q'
    {0x7F, 0x09, 0x19, 0x29, 0x46}, // 'R'
    {0x46, 0x49, 0x49, 0x49, 0x31}, // 'S'
    {0x01, 0x01, 0x7F, 0x01, 0x01}, // 'T'
    {0x3F, 0x40, 0x40, 0x40, 0x3F}, // 'U'
    {0x1F, 0x20, 0x40, 0x20, 0x1F}, // 'V'
    {0x3F, 0x40, 0x38, 0x40, 0x3F}, // 'W'
    {0x63, 0x14, 0x08, 0x14, 0x63}, // 'X'
    {0x07, 0x08, 0x70, 0x08, 0x07}, // 'Y'
    {0x61, 0x51, 0x49, 0x45, 0x43}, // 'Z'
    {0x00, 0x7F, 0x41, 0x41, 0x00}, // '['
    {0x02, 0x04, 0x08, 0x10, 0x20}, // '\\'
    {0x00, 0x41, 0x41, 0x7F, 0x00}, // ']'
    {0x04, 0x02, 0x01, 0x02, 0x04}, // '^'
    {0x40, 0x40, 0x40, 0x40, 0x40}, // '_'
    {0x00, 0x01, 0x02, 0x04, 0x00}, // '`'
    {0x20, 0x54, 0x54, 0x54, 0x78}, // 'a'
    {0x7F, 0x48, 0x44, 0x44, 0x38}, // 'b'
    {0x38, 0x44, 0x44, 0x44, 0x20}, // 'c'
    {0x38, 0x44, 0x44, 0x48, 0x7F}, // 'd'
    {0x38, 0x54, 0x54, 0x54, 0x18}, // 'e'
    {0x08, 0x7E, 0x09, 0x01, 0x02}, // 'f'
    {0x0C, 0x52, 0x52, 0x52, 0x3E}, // 'g'
    {0x7F, 0x08, 0x04, 0x04, 0x78}, // 'h'
    {0x00, 0x44, 0x7D, 0x40, 0x00}, // 'i'
    {0x20, 0x40, 0x44, 0x3D, 0x00}, // 'j'
    {0x7F, 0x10, 0x28, 0x44, 0x00}, // 'k'
    {0x00, 0x41, 0x7F, 0x40, 0x00}, // 'l'
    {0x7C, 0x04, 0x18, 0x04, 0x78}, // 'm'
    {0x7C, 0x08, 0x04, 0x04, 0x78}, // 'n'
    {0x38, 0x44, 0x44, 0x44, 0x38}, // 'o'
    {0x7C, 0x14, 0x14, 0x14, 0x08}, // 'p'
    {0x08, 0x14, 0x14, 0x18, 0x7C}, // 'q'
    {0x7C, 0x08, 0x04, 0x04, 0x08}, // 'r'
    {0x48, 0x54, 0x54, 0x54, 0x20}, // 's'
    {0x04, 0x3F, 0x44, 0x40, 0x20}, // 't'
    {0x3C, 0x40, 0x40, 0x20, 0x7C}, // 'u'
    {0x1C, 0x20, 0x40, 0x20, 0x1C}, // 'v'
    {0x3C, 0x40, 0x30, 0x40, 0x3C}, // 'w'
    {0x44, 0x28, 0x10, 0x28, 0x44}, // 'x'
    {0x0C, 0x50, 0x50, 0x50, 0x3C}, // 'y'
    {0x44, 0x64, 0x54, 0x4C, 0x44}, // 'z'
    {0x00, 0x08, 0x36, 0x41, 0x00}, // '{'
    {0x00, 0x00, 0x7F, 0x00, 0x00}, // '|'
    {0x00, 0x41, 0x36, 0x08, 0x00}, // '}'
    {0x08, 0x04, 0x08, 0x10, 0x08}, // '~'
};

// Where each display type keeps its glyph within the 73 bytes.
constexpr int32_t kHandLargeFirst = kGlyphHeadBytes + 0;  // 3 bytes a column
constexpr int32_t kHandSmallFirst = kGlyphHeadBytes + 21; // 4 bytes a column
constexpr int32_t kMobLargeFirst = 0;                     // 1 byte a column
constexpr int32_t kMobSmallFirst = 6;                     // 3 bytes a column
constexpr int32_t kMaxMobileStrips = 6;

struct Place {
    int32_t byte;
    uint8_t mask;
};

Place PlaceOf(const GlyphFormat& format, int32_t column, int32_t row) {
    if (!format.mobile) {
        const int32_t perColumn = format.large ? 3 : 4;
        const int32_t first = format.large ? kHandLargeFirst : kHandSmallFirst;
        return {first + column * perColumn + row / 8, static_cast<uint8_t>(0x80 >> (row % 8))};
    }
    if (format.large) return {kMobLargeFirst + column, static_cast<uint8_t>(1 << row)};
    return {kMobSmallFirst + column * 3 + row / 8, static_cast<uint8_t>(1 << (row % 8))};
}

bool Inside(const GlyphFormat& format, int32_t column, int32_t row) {
    return column >= 0 && column < format.width && row >= 0 && row < format.height;
}

// Source dot of the 5 x 7 font.
bool SourceDot(uint8_t code, int32_t column, int32_t row) {
    if (code < 32 || code > 126 || column < 0 || column > 4 || row < 0 || row > 6) return false;
    return (kFont5x7[code - 32][column] >> row) & 1;
}

// The font's extra codes 127..255 have no drawing of their own here: they
// show as a box, so that they are seen to be there.
bool BoxDot(int32_t column, int32_t row) {
    return (column == 0 || column == 4) ? row <= 6 : (row == 0 || row == 6);
}

// Each display type gets the 5 x 7 drawing scaled to its height and, on a
// handheld, centred in its two extra columns.
void Draw(GlyphBytes& glyph, const GlyphFormat& format, int32_t scale, int32_t top, uint8_t code) {
    const int32_t left = format.width == 7 ? 1 : 0;
    for (int32_t c = 0; c < 5; ++c)
        for (int32_t r = 0; r < 7; ++r) {
            const bool on = code >= 127 ? BoxDot(c, r) : SourceDot(code, c, r);
            if (!on) continue;
            for (int32_t k = 0; k < scale; ++k)
                SetGlyphDot(glyph, format, left + c, top + r * scale + k, true);
        }
}

struct BuiltInFont {
    std::array<GlyphBytes, 256> glyphs{};
    BuiltInFont() {
        for (int code = 32; code <= 255; ++code) {
            GlyphBytes& g = glyphs[static_cast<size_t>(code)];
            const auto c = static_cast<uint8_t>(code);
            Draw(g, GlyphFormatFor(true, true), 1, 0, c);
            Draw(g, GlyphFormatFor(true, false), 2, 1, c);
            Draw(g, GlyphFormatFor(false, true), 2, 2, c);
            Draw(g, GlyphFormatFor(false, false), 4, 2, c);
        }
    }
};

} // namespace

GlyphFormat GlyphFormatFor(bool mobile, bool large, int32_t mobileStrips) {
    const int32_t strips = std::clamp(mobileStrips, 1, kMaxMobileStrips);
    if (mobile) return large ? GlyphFormat{strips, 8, true, true} : GlyphFormat{strips, 17, true, false};
    return large ? GlyphFormat{7, 19, false, true} : GlyphFormat{7, 32, false, false};
}

bool IsLargeGlyphs(const cmcEeprom& image) {
    return image.GetByte(kDisplayFlagsByte) & kLargeGlyphBit;
}

GlyphFormat CurrentGlyphFormat(const cmcEeprom& image) {
    return GlyphFormatFor(IsModelMobile(), IsLargeGlyphs(image),
                          InstalledCellEngine().Numbers().mobileGlyphStrips);
}

bool GlyphDot(const GlyphBytes& glyph, const GlyphFormat& format, int32_t column, int32_t row) {
    if (!Inside(format, column, row)) return false;
    const Place p = PlaceOf(format, column, row);
    return glyph[static_cast<size_t>(p.byte)] & p.mask;
}

void SetGlyphDot(GlyphBytes& glyph, const GlyphFormat& format, int32_t column, int32_t row, bool on) {
    if (!Inside(format, column, row)) return;
    const Place p = PlaceOf(format, column, row);
    uint8_t& byte = glyph[static_cast<size_t>(p.byte)];
    byte = on ? static_cast<uint8_t>(byte | p.mask) : static_cast<uint8_t>(byte & ~p.mask);
}

void ClearGlyph(GlyphBytes& glyph, const GlyphFormat& format) {
    int32_t first = 0, count = 0;
    if (!format.mobile) {
        first = format.large ? kHandLargeFirst : kHandSmallFirst;
        count = format.large ? 21 : 28;
    } else {
        first = format.large ? kMobLargeFirst : kMobSmallFirst;
        count = format.large ? 6 : 18;
    }
    for (int32_t i = 0; i < count; ++i)
        glyph[static_cast<size_t>(first + i)] = 0;
}

const GlyphBytes& BuiltInGlyph(uint8_t code) {
    static const BuiltInFont font;
    return font.glyphs[code < kFirstUserChar + kUserChars ? ' ' : code];
}

GlyphBytes DisplayGlyph(const cmcEeprom& image, uint8_t code) {
    if (code < kFirstUserChar || code >= kFirstUserChar + kUserChars) return BuiltInGlyph(code);
    const int32_t n = code - kFirstUserChar;
    GlyphBytes glyph{};
    image.Read(layout::Table(10).Record(n), glyph.data(), kGlyphHeadBytes);
    image.Read(layout::Table(11).Record(n), glyph.data() + kGlyphHeadBytes, kGlyphBodyBytes);
    return glyph;
}
