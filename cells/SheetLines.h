#pragma once
#include "foundation/ColorName.h"
#include "foundation/FontDesc.h"
#include "foundation/clsSheeRowAtr.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cmcGTex;

// What a sheet's "_Style" line sets. Items it does not know change nothing.
struct SheetStyle {
    // clGrayText.
    static constexpr ColorValue kDefaultTitleColor = clGrayText;

    std::optional<std::string> title;
    ColorValue titleColor = kDefaultTitleColor;
    std::optional<FontDesc> titleFont;
    int32_t fixedCols = 0;
    int32_t fixedRows = 0;
    bool noPrint = false;
    int32_t printFontRatio = 100;
    // 0 none, 1 single cells, 2 whole lines.
    int32_t multiSelect = 0;
};

// One "key=value" item of a style line.
void ApplyStyleItem(SheetStyle& style, std::string_view item);

// Hands each parenthesised group of the text, without its parentheses, to
// the function. Groups do not nest: the first ')' closes. A parenthesis that
// is the second byte of a double-byte character counts for nothing; text
// outside the groups is ignored.
void ForEachGroup(std::string_view text, const std::function<void(const std::string&)>& group);

// How many cell definitions a cell line holds.
int32_t CountCells(const std::string& line);

// Turns a sheet's cell lines into grid rows: cell lines become rows, and
// directive lines (":" followed by groups) skip lines by model or display
// form, repeat a run of lines, and switch whether new rows may join a
// multi-selection.
class SheetLineParser {
public:
    // Reads lines 0, 1, 2... of the key up to the first line that begins
    // with '#' (or the end of the source). Each directive group goes to
    // directive, which is Directive unless a sheet kind handles its own. No
    // row or no cell is fatal ("Illegal Cell assign").
    void Parse(cmcGTex& texts, const std::string& key,
               const std::function<void(const std::string&)>& directive);
    void Directive(std::string_view text);

    // Lines still to drop. It survives a new Parse: it starts at 0 with the sheet.
    int32_t skip = 0;
    // The line being read.
    int32_t currentLine = 0;
    int32_t loopFrom = -1;
    int32_t loopTo = -1;
    int32_t loopCount = -1;
    int32_t loopBody = 0;
    // Whether the rows that follow may join a multi-selection.
    bool select = true;

    std::vector<clsSheeRowAtr> rows;
    int32_t columns = 0;

private:
    void ExpandLoop();
};
