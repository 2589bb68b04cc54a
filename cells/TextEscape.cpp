#include "cells/TextEscape.h"

#include <algorithm>
#include <cstdio>

std::string EscapeText(const uint8_t* bytes, int32_t length) {
    std::string text;
    const int32_t n = std::min(length, kMaxEscapedLength);
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t c = bytes[i];
        if (c == '%') {
            text += "%%";
        } else if (IsPrintable(c)) {
            text += static_cast<char>(c);
        } else if (IsEscapable(c)) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            text += hex;
        } else {
            break;
        }
    }
    return text;
}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

std::string UnescapeText(std::string_view text) {
    std::string bytes;
    const size_t n = std::min(text.size(), static_cast<size_t>(kMaxEscapedLength));
    size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '%') {
            if (i + 1 < n && text[i + 1] == '%') {
                bytes += '%';
                i += 2;
                continue;
            }
            if (i + 2 < n) {
                const int hi = HexValue(text[i + 1]);
                const int lo = HexValue(text[i + 2]);
                if (hi >= 0 && lo >= 0 && !IsLowControl(hi * 16 + lo)) {
                    bytes += static_cast<char>(hi * 16 + lo);
                    i += 3;
                    continue;
                }
            }
            bytes += '%';
            ++i;
            continue;
        }
        bytes += IsTextChar(static_cast<uint8_t>(c)) ? c : ' ';
        ++i;
    }
    return bytes;
}
