#pragma once
#include <cctype>
#include <string>

// The text with its ASCII letters in lower case, for comparisons that
// disregard case (switches, sheet links).
inline std::string AsciiLower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
