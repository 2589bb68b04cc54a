#pragma once
#include "foundation/ColorName.h"

#include <cstdint>
#include <string>

enum class FontPitch : uint8_t { Default, Fixed, Variable };

enum FontStyle : uint8_t { FontBold = 0x01, FontItalic = 0x02, FontUnderline = 0x04, FontStrikeOut = 0x08 };

// A font as cell definitions and forms describe it, free of any GUI type;
// the window layer turns it into the toolkit's font when it draws.
struct FontDesc {
    // Points and pixels relate at the GUI library's logical resolution.
    static constexpr int32_t kPixelsPerInch = 96;

    uint8_t charset = 1; // DEFAULT_CHARSET
    std::string face;    // empty: the host's face
    ColorValue color = clWindowText;
    // In pixels. Negative is the character height without the internal
    // leading, positive the whole cell height, as Windows fonts have it.
    int32_t height = -11;
    uint8_t style = 0; // FontStyle bits
    FontPitch pitch = FontPitch::Default;

    // The point size follows from the height, so the two never disagree.
    int32_t Size() const;
    void SetSize(int32_t points);

    bool operator==(const FontDesc&) const = default;
};

// Copies every attribute, height included; nothing when either font is missing.
void CopyFont(FontDesc* destination, const FontDesc* source);

// Applies a font description of up to seven comma-separated fields:
// character set, face, colour, height, size, style and pitch. An empty,
// missing or unknown field leaves that attribute as it is; "%p" in the
// height or size field scales the current value by p percent.
void ParseFontDesc(const std::string& text, FontDesc& font);
