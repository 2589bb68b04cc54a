#include "clone/ComPortSelection.h"

#include "foundation/TextUtil.h"

std::optional<int> ParseComPort(std::string text) {
    TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kComPortMax) return std::nullopt;
    }
    if (value < kComPortMin) return std::nullopt;
    return static_cast<int>(value);
}
