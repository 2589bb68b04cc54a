#include "foundation/FontDesc.h"

#include "foundation/TextUtil.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

namespace {

constexpr int64_t kMaxValue = std::numeric_limits<int32_t>::max();

struct Named {
    std::string_view name;
    int value;
};

constexpr Named kCharsets[] = {
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

constexpr Named kStyles[] = {{"fsBold", FontBold},
                             {"fsItalic", FontItalic},
                             {"fsUnderline", FontUnderline},
                             {"fsStrikeOut", FontStrikeOut}};

constexpr Named kPitches[] = {{"fpDefault", int(FontPitch::Default)},
                              {"fpFixed", int(FontPitch::Fixed)},
                              {"fpVariable", int(FontPitch::Variable)}};

// The name at the start of the text, followed by nothing but blanks and tabs.
template <size_t N> const Named* MatchName(std::string_view text, const Named (&names)[N]) {
    for (const Named& n : names)
        if (text.starts_with(n.name) && SkipBlanks(text.substr(n.name.size())) == text.size() - n.name.size())
            return &n;
    return nullptr;
}

int32_t Clamp(int64_t v) {
    return int32_t(std::clamp(v, -kMaxValue, kMaxValue));
}

// a * b / c rounded half away from zero, as the platform's MulDiv.
int32_t MulDiv(int64_t a, int64_t b, int64_t c) {
    int64_t p = a * b;
    int64_t q = (p < 0 ? p - c / 2 : p + c / 2) / c;
    return Clamp(q);
}

// A leading decimal number, as atoi reads it; 0 when there is none.
int64_t LeadingNumber(std::string_view text) {
    size_t i = SkipBlanks(text);
    bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        v = std::min(v * 10 + (text[i] - '0'), kMaxValue);
    return negative ? -v : v;
}

// The height or size field: "%p" scales the current value and keeps its sign,
// never reaching 0 (font heights are negative when they give the character
// height); a plain number replaces it. 0 means no change.
int32_t NumberField(std::string_view field, int32_t current) {
    field.remove_prefix(SkipBlanks(field));
    if (!field.starts_with('%')) return Clamp(LeadingNumber(field));
    int64_t scaled = std::abs(int64_t(current) * LeadingNumber(field.substr(1)) / 100);
    int64_t magnitude = std::clamp<int64_t>(scaled, 1, kMaxValue);
    return int32_t(current < 0 ? -magnitude : magnitude);
}

void ApplyStyle(std::string_view field, FontDesc& font) {
    bool matched = false;
    for (const std::string& piece : SplitFields(std::string(field), "+")) {
        std::string_view name = std::string_view(piece).substr(SkipBlanks(piece));
        const Named* style = MatchName(name, kStyles);
        if (!style) continue;
        if (!matched) font.style = 0;
        matched = true;
        font.style |= uint8_t(style->value);
    }
}

} // namespace

int32_t FontDesc::Size() const {
    return MulDiv(-int64_t(height), 72, kPixelsPerInch);
}

void FontDesc::SetSize(int32_t points) {
    height = MulDiv(-int64_t(points), kPixelsPerInch, 72);
}

void CopyFont(FontDesc* destination, const FontDesc* source) {
    if (destination && source) *destination = *source;
}

void ParseFontDesc(const std::string& text, FontDesc& font) {
    std::vector<std::string> fields = SplitFields(text, ",");
    fields.resize(std::min<size_t>(fields.size(), 7));
    for (size_t f = 0; f < fields.size(); ++f) {
        std::string_view field = fields[f];
        std::string_view unblanked = field.substr(SkipBlanks(field));
        switch (f) {
        case 0:
            if (const Named* charset = MatchName(unblanked, kCharsets))
                font.charset = uint8_t(charset->value);
            break;
        case 1:
            if (!unblanked.empty()) font.face = std::string(unblanked);
            break;
        case 2:
            if (std::optional<ColorValue> color = ColorFromName(fields[f])) font.color = *color;
            break;
        case 3:
            if (int32_t height = NumberField(field, font.height)) font.height = height;
            break;
        case 4:
            if (int32_t size = NumberField(field, font.Size())) font.SetSize(size);
            break;
        case 5:
            ApplyStyle(field, font);
            break;
        case 6:
            if (const Named* pitch = MatchName(field, kPitches)) font.pitch = FontPitch(pitch->value);
            break;
        }
    }
}
