#pragma once
#include "foundation/TextUtil.h" // IsPrintable

#include <cstdint>
#include <string>
#include <string_view>

// Texts of the radio are byte fields shown in its own display font: codes
// 32..126 as they are, 16..31 the user-defined characters, 127..255 the
// font's extra characters, 0..15 nothing (they cannot be entered). In an
// editable text every byte without a printable form is written "%XX".

inline bool IsUserChar(int c) {
    return c >= 16 && c <= 31;
}
inline bool IsEscapable(int c) {
    return (c >= 127 && c <= 255) || IsUserChar(c);
}
inline bool IsTextChar(int c) {
    return IsPrintable(c) || (c >= 127 && c <= 255);
}
inline bool IsLowControl(int c) {
    return c >= 0 && c <= 15;
}

// At most this many bytes are escaped and this many characters unescaped.
constexpr int kMaxEscapedLength = 255;

// '%' doubled, printable bytes kept, escapable bytes as "%XX" (upper case);
// the first byte 0..15 ends the text.
std::string EscapeText(const uint8_t* bytes, int32_t length);
inline std::string EscapeText(std::string_view bytes) {
    return EscapeText(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int32_t>(bytes.size()));
}

// The bytes of an escaped text. A '%' that starts no valid escape (an escape
// may not name a byte 0..15) stays a '%'; a character that is no text
// character becomes a blank.
std::string UnescapeText(std::string_view text);
