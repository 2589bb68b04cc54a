#pragma once
#include "foundation/cmcBuff.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Field splitting counts a separator only where it is a single-byte character
// of the current code page, never a byte inside a double-byte character.
// Fields count from 0; consecutive separators give empty fields.

// Field n of the text split at the separator; none past the last field.
std::optional<std::string> GetField(const std::string& text, char separator, int n);
// As GetField, splitting at any character of the set.
std::optional<std::string> GetFieldAnyOf(const std::string& text, std::string_view separators, int n);
// Every field of the text split at any character of the set (at least one field).
std::vector<std::string> SplitFields(const std::string& text, std::string_view separators);

// Position of the first character that is neither blank nor tab (the size when none).
size_t SkipBlanks(std::string_view text);
// Removes leading and trailing blanks and tabs in place; returns the text.
std::string& TrimBlanks(std::string& text);
// Removes every blank and tab in place; returns the text.
std::string& RemoveBlanks(std::string& text);

// Hex digits paired in order into bytes, high nibble first; every other
// character is skipped, and an odd last digit becomes a high nibble.
cmcBuff HexToBytes(std::string_view text);

// A text from the overlay used as a printf format with one integer argument.
// The first integer conversion (d, i, u, x, X with flags, a width up to 64 and
// a precision up to 64) is filled with the value and "%%" becomes "%"; every
// other "%" sequence stays as it stands, so a text with %s or %n, or with more
// conversions than the one value, can never read a missing argument.
std::string FormatOneNumber(const std::string& format, long value);

// A text from the overlay with its first "%s" replaced by the argument; any
// other "%" stays as it stands.
std::string FormatOneText(std::string format, const std::string& argument);

// Leading blanks, a sign and decimal digits, as the C library's atoi reads
// them (no digits give 0); a value beyond 32 bits is held at the nearest limit.
int32_t ParseLeadingDecimal(std::string_view text);

inline bool IsPrintable(int c) {
    return c >= 32 && c <= 126;
}
inline bool InRange(int64_t v, int64_t lo, int64_t hi) {
    return lo <= v && v <= hi;
}
