#include "ui/iuiSh_Common.h"

#include "foundation/ModelClass.h"
#include "image/CurrentImage.h"
#include "image/cmcEeprom.h"

#include <array>

namespace {

// Byte 11 bit 3: the radio has the SACC option.
constexpr int32_t kOptionByte = 11;
constexpr uint8_t kSaccBit = 0x08;

bool HasSacc() {
    return CurrentImage().GetByte(kOptionByte) & kSaccBit;
}

struct Filter {
    const char* keyword;
    bool (*keeps)();
};

// Tested in this order; the first keyword the directive begins with decides.
constexpr std::array<Filter, 12> kFilters = {{
    {"Only_Pmr", [] { return IsModelPmr() || IsModelPmrZ(); }},
    {"Only_Lmr", [] { return IsModelLmr() || IsModelLtr() || IsModelP25(); }},
    {"Only_MDC", IsModelNotPmrZ},
    {"Only_ZURO", IsModelPmrZ},
    {"Only_notZURO", IsModelNotPmrZ},
    {"Only_Mob", IsModelMobile},
    {"Only_Handy", IsModelHandheld},
    {"Only_P25", IsModelP25},
    {"Only_Analog", [] { return !IsModelP25(); }},
    {"Only_Ltr", IsModelLtr},
    {"Only_SACC", HasSacc},
    {"Never", [] { return false; }},
}};

} // namespace

void SkipLinesOf(SheetLineParser& lines, const std::string& directive, size_t keywordLength) {
    lines.Directive("Never" + directive.substr(keywordLength));
}

void iuiSh_Common::SetRowDirective(const std::string& text) {
    for (const Filter& filter : kFilters) {
        const std::string keyword = filter.keyword;
        if (!text.starts_with(keyword)) continue;
        if (!filter.keeps()) SkipLinesOf(lines_, text, keyword.size());
        return;
    }
    cuiSheet::SetRowDirective(text);
}
