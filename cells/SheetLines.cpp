#include "cells/SheetLines.h"

#include "cells/cmcCellObj.h"
#include "foundation/ModelClass.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "platform/CodePage.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <climits>

namespace {

std::string_view ValueOf(std::string_view item) {
    const size_t eq = item.find('=');
    return eq == std::string_view::npos ? std::string_view() : item.substr(eq + 1);
}

bool HasValue(std::string_view item) {
    return item.find('=') != std::string_view::npos;
}

// The decimal digits after the directive's first blank; none when the
// directive has no blank or nothing follows it. Signs and other characters
// end the number, so a count is never negative.
std::optional<int32_t> CountAfterBlank(std::string_view text) {
    const size_t blank = text.find(' ');
    if (blank == std::string_view::npos || blank + 1 >= text.size()) return std::nullopt;
    int64_t n = 0;
    for (size_t i = blank + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        n = std::min<int64_t>(n * 10 + (text[i] - '0'), INT32_MAX);
    return static_cast<int32_t>(n);
}

bool DisplayFormBit() {
    return CurrentImage().GetByte(layout::kDisplayForm) & layout::kDisplayFormBit;
}

} // namespace

void ApplyStyleItem(SheetStyle& style, std::string_view item) {
    const std::string_view value = ValueOf(item);
    auto number = [&](int32_t& field) {
        if (HasValue(item)) field = ParseLeadingDecimal(value);
    };
    if (item.starts_with("TitleString")) {
        if (!value.empty()) style.title = std::string(value);
    } else if (item.starts_with("TitleColor")) {
        if (std::optional<ColorValue> c = ColorFromName(std::string(value))) style.titleColor = *c;
    } else if (item.starts_with("TitleFont")) {
        style.titleFont = FontDesc{};
        ParseFontDesc(std::string(value), *style.titleFont);
    } else if (item.starts_with("FixedCols")) {
        number(style.fixedCols);
    } else if (item.starts_with("FixedRows")) {
        number(style.fixedRows);
    } else if (item == "NoPrint") {
        style.noPrint = true;
    } else if (item.starts_with("PrintFontRatio")) {
        number(style.printFontRatio);
    } else if (item.starts_with("MultiSelect")) {
        style.multiSelect = value == "Cell" ? 1 : value == "Line" ? 2 : 0;
    }
}

void ForEachGroup(std::string_view text, const std::function<void(const std::string&)>& group) {
    const plat::CodePage& page = plat::CurrentCodePage();
    std::optional<size_t> open;
    for (size_t i = 0; i < text.size();) {
        if (i + 1 < text.size() && page.IsLeadByte(static_cast<uint8_t>(text[i]))) {
            i += 2;
            continue;
        }
        if (!open && text[i] == '(') {
            open = i + 1;
        } else if (open && text[i] == ')') {
            group(std::string(text.substr(*open, i - *open)));
            open.reset();
        }
        ++i;
    }
}

int32_t CountCells(const std::string& line) {
    int32_t n = 0;
    cmcCellObj counter;
    for (std::string rest = line; !rest.empty(); ++n)
        rest = counter.Parse(rest, nullptr, nullptr, true);
    return n;
}

void SheetLineParser::Directive(std::string_view text) {
    auto skipWhen = [&](bool condition) {
        std::optional<int32_t> n = CountAfterBlank(text);
        if (n && condition) skip = *n;
    };
    if (text.starts_with("Only_NFont")) {
        skipWhen(!DisplayFormBit());
    } else if (text.starts_with("Only_TFont")) {
        skipWhen(DisplayFormBit());
    } else if (text.starts_with("Only_Handy")) {
        skipWhen(IsModelMobile());
    } else if (text.starts_with("Only_Mob")) {
        skipWhen(IsModelHandheld());
    } else if (text.starts_with("Never")) {
        skipWhen(true);
    } else if (text.starts_with("LoopFrom")) {
        if (std::optional<int32_t> n = CountAfterBlank(text)) {
            loopFrom = currentLine;
            loopCount = std::max(*n, 1);
        }
    } else if (text.starts_with("LoopTo")) {
        loopTo = currentLine;
    } else if (text.starts_with("SelectON")) {
        select = true;
    } else if (text.starts_with("SelectOFF")) {
        select = false;
    }
}

void SheetLineParser::ExpandLoop() {
    if (loopFrom < 0 || loopTo < 0 || loopCount <= 0) return;
    for (int32_t j = 1; j < loopCount; ++j)
        for (int32_t b = 0; b < loopBody; ++b)
            rows.emplace_back(loopFrom + 1 + b, select);
    loopFrom = loopTo = loopCount = -1;
    loopBody = 0;
}

void SheetLineParser::Parse(cmcGTex& texts, const std::string& key,
                            const std::function<void(const std::string&)>& directive) {
    loopFrom = loopTo = loopCount = -1;
    columns = 0;
    rows.clear();
    select = true;
    loopBody = 0;
    for (int32_t i = 0;; ++i) {
        currentLine = i;
        std::optional<std::string> line = texts.TryGetTextLine(key, i);
        if (!line || line->starts_with('#')) break;
        if (skip > 0) {
            --skip;
            continue;
        }
        if (line->starts_with(':')) {
            ForEachGroup(std::string_view(*line).substr(1), directive);
            ExpandLoop();
            continue;
        }
        columns = std::max(columns, CountCells(*line));
        rows.emplace_back(i, select);
        loopBody = loopFrom >= 0 && loopTo < 0 ? loopBody + 1 : 0;
    }
    if (columns == 0 || rows.empty()) plat::Fatal("Illegal Cell assign");
}
