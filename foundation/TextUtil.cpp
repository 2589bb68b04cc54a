#include "foundation/TextUtil.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cstdio>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Positions of the separators that are single-byte characters, then the text's end.
std::vector<size_t> FieldEnds(const std::string& text, std::string_view separators) {
    std::vector<size_t> ends;
    for (size_t i = 0; i < text.size(); ++i)
        if (separators.find(text[i]) != std::string_view::npos && plat::IsSingleByteAt(text.c_str(), i))
            ends.push_back(i);
    ends.push_back(text.size());
    return ends;
}

std::optional<std::string> FieldOf(const std::string& text, std::string_view separators, int n) {
    std::vector<size_t> ends = FieldEnds(text, separators);
    if (n < 0 || size_t(n) >= ends.size()) return std::nullopt;
    size_t begin = n == 0 ? 0 : ends[size_t(n) - 1] + 1;
    return text.substr(begin, ends[size_t(n)] - begin);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::string> GetField(const std::string& text, char separator, int n) {
    return FieldOf(text, std::string_view(&separator, 1), n);
}

std::optional<std::string> GetFieldAnyOf(const std::string& text, std::string_view separators, int n) {
    return FieldOf(text, separators, n);
}

std::vector<std::string> SplitFields(const std::string& text, std::string_view separators) {
    std::vector<std::string> fields;
    size_t begin = 0;
    for (size_t end : FieldEnds(text, separators)) {
        fields.push_back(text.substr(begin, end - begin));
        begin = end + 1;
    }
    return fields;
}

size_t SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i;
}

std::string& TrimBlanks(std::string& text) {
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]) && plat::IsSingleByteAt(text.c_str(), end - 1))
        --end;
    text.erase(end);
    text.erase(0, SkipBlanks(text));
    return text;
}

std::string& RemoveBlanks(std::string& text) {
    std::erase_if(text, IsBlank);
    return text;
}

cmcBuff HexToBytes(std::string_view text) {
    cmcBuff bytes;
    int high = -1;
    for (char c : text) {
        int digit = HexValue(c);
        if (digit < 0) continue;
        if (high < 0) {
            high = digit;
        } else {
            bytes.Add(uint8_t(high << 4 | digit));
            high = -1;
        }
    }
    if (high >= 0) bytes.Add(uint8_t(high << 4));
    return bytes;
}

std::string FormatOneText(std::string format, const std::string& argument) {
    const size_t at = format.find("%s");
    if (at != std::string::npos) format.replace(at, 2, argument);
    return format;
}

std::string FormatOneNumber(const std::string& format, long value) {
    constexpr int kMaxWidth = 64;
    std::string out;
    bool used = false;
    size_t i = 0;
    while (i < format.size()) {
        const size_t pos = format.find('%', i);
        if (pos == std::string::npos) {
            out.append(format, i, std::string::npos);
            break;
        }
        out.append(format, i, pos - i);
        if (pos + 1 < format.size() && format[pos + 1] == '%') {
            out += '%';
            i = pos + 2;
            continue;
        }
        // Flags, width, precision and length as printf reads them.
        size_t j = pos + 1;
        while (j < format.size() && std::string_view("-+ #0").find(format[j]) != std::string_view::npos)
            ++j;
        const auto number = [&](size_t& k) {
            int n = 0;
            while (k < format.size() && format[k] >= '0' && format[k] <= '9') {
                n = std::min(n * 10 + (format[k] - '0'), kMaxWidth + 1);
                ++k;
            }
            return n;
        };
        const int width = number(j);
        int precision = 0;
        if (j < format.size() && format[j] == '.') {
            ++j;
            precision = number(j);
        }
        while (j < format.size() && (format[j] == 'l' || format[j] == 'h'))
            ++j;
        const char conv = j < format.size() ? format[j] : '\0';
        const bool integer = std::string_view("diuxX").find(conv) != std::string_view::npos && conv != '\0';
        if (used || !integer || width > kMaxWidth || precision > kMaxWidth) {
            out += '%'; // not ours to fill: kept as text
            i = pos + 1;
            continue;
        }
        // Rebuilt from the parts checked above, with the length fixed to long.
        std::string spec(format, pos, j - pos);
        std::erase_if(spec, [](char c) { return c == 'l' || c == 'h'; });
        spec += 'l';
        spec += conv;
        char buffer[2 * kMaxWidth + 32];
        if (conv == 'u' || conv == 'x' || conv == 'X')
            std::snprintf(buffer, sizeof buffer, spec.c_str(), static_cast<unsigned long>(value));
        else
            std::snprintf(buffer, sizeof buffer, spec.c_str(), value);
        out += buffer;
        used = true;
        i = j + 1;
    }
    return out;
}

int32_t ParseLeadingDecimal(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    size_t pos = 0;
    while (pos < text.size() && blank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    int64_t v = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        v = v * 10 + (text[pos] - '0');
        if (v > int64_t{INT32_MAX} + 1) v = int64_t{INT32_MAX} + 1;
    }
    if (negative) v = -v;
    if (v > INT32_MAX) v = INT32_MAX;
    return static_cast<int32_t>(v);
}
