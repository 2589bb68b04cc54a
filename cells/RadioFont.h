#pragma once
#include <array>
#include <cstdint>

class cmcEeprom;

// The radio's display draws each character code from a glyph. A glyph is kept
// in two parts, a 24-byte head and a 49-byte body, which hold the same
// character in the four display types side by side:
//   handheld, large glyphs  7 x 19 dots  body 0..20, 3 bytes a column, dot row 0 the top bit
//   handheld, small glyphs  7 x 32 dots  body 21..48, 4 bytes a column, top bit first
//   mobile, large glyphs    5 x 8 dots   head 0..4, a byte a column, dot row 0 the lowest bit
//   mobile, small glyphs    5 x 17 dots  head 6..20, 3 bytes a column as a little-endian word
// Codes 16..31 are the user's characters, kept in the image as records of
// kind 6; every other code comes from the built-in font, codes 0..15 as blanks.

using GlyphBytes = std::array<uint8_t, 73>; // head 0..23, then body 24..72

struct GlyphFormat {
    int32_t width;
    int32_t height;
    bool mobile;
    bool large; // image byte 93824 bit 2
};

constexpr int32_t kGlyphHeadBytes = 24;
constexpr int32_t kGlyphBodyBytes = 49;
// The image byte whose bit 2 selects the large glyphs, and where the user characters lie.
constexpr int32_t kDisplayFlagsByte = 93824;
constexpr uint8_t kLargeGlyphBit = 0x04;
constexpr int kUserChars = 16;
constexpr int kFirstUserChar = 16;

// mobileStrips: the strips a mobile glyph is drawn with (1..6; the bytes
// stay where they are, a sixth strip in the bytes after the fifth).
GlyphFormat GlyphFormatFor(bool mobile, bool large, int32_t mobileStrips = 5);
// The display type of the current model with the image's glyph size, in the
// running program's strips.
GlyphFormat CurrentGlyphFormat(const cmcEeprom& image);
bool IsLargeGlyphs(const cmcEeprom& image);

bool GlyphDot(const GlyphBytes& glyph, const GlyphFormat& format, int32_t column, int32_t row);
void SetGlyphDot(GlyphBytes& glyph, const GlyphFormat& format, int32_t column, int32_t row, bool on);
// Clears the bytes that hold the format's glyph, and the spare bytes beside
// them (handheld 21 or 28 bytes, mobile 6 or 18).
void ClearGlyph(GlyphBytes& glyph, const GlyphFormat& format);

// The built-in font's glyph of a code (user-character codes read as blanks).
const GlyphBytes& BuiltInGlyph(uint8_t code);
// The glyph the display shows for a code, with the user characters from the image.
GlyphBytes DisplayGlyph(const cmcEeprom& image, uint8_t code);
