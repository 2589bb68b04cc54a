#include "foundation/TextUtil.h"

#include "platform/CodePage.h"

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
