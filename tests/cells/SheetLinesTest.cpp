#include "cells/SheetLines.h"

#include "CellTestSupport.h"
#include "ConvFixture.h"
#include "image/ImageLayout.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using celltest::FatalText;

// The rows a list of cell lines (under the key "S_Cells") gives, as their line indexes.
struct Parsed {
    std::vector<int32_t> lines;
    std::vector<bool> select;
    int32_t columns = 0;
};

Parsed ParseLines(const std::vector<std::string>& cellLines) {
    std::vector<std::string> overlay{"#S_Cells"};
    overlay.insert(overlay.end(), cellLines.begin(), cellLines.end());
    overlay.push_back("#End_Of_Ovl");
    convtest::Table table(overlay);
    SheetLineParser parser;
    parser.Parse(*table.get(), "S_Cells", [&](const std::string& d) { parser.Directive(d); });
    Parsed out;
    for (const clsSheeRowAtr& row : parser.rows) {
        out.lines.push_back(row.line);
        out.select.push_back(row.Select());
    }
    out.columns = parser.columns;
    return out;
}

struct DirectiveCase {
    const char* name;
    int32_t model;
    uint8_t displayForm; // image byte 93824
    std::vector<std::string> cells;
    std::vector<int32_t> rows;
};

const DirectiveCase kDirectiveCases[] = {
    {"loop of two lines, three times", 0, 0, {":(LoopFrom 3)", "a|", "b|", ":(LoopTo)"}, {1, 2, 1, 2, 1, 2}},
    {"loop of one line", 0, 0, {":(LoopFrom 4)", "L|", ":(LoopTo)"}, {1, 1, 1, 1}},
    {"loop count 0 repeats nothing", 0, 0, {":(LoopFrom 0)", "L|", ":(LoopTo)"}, {1}},
    {"bare LoopFrom sets no loop", 0, 0, {":(LoopFrom)", "L|", ":(LoopTo)"}, {1}},
    {"LoopFrom with a blank only sets no loop", 0, 0, {":(LoopFrom )", "L|", ":(LoopTo)"}, {1}},
    {"a loop is repeated where LoopTo stands", 0, 0, {":(LoopFrom 2)", "a|", ":(LoopTo)", "z|"}, {1, 1, 3}},
    {"Never 2 drops the next two lines", 0, 0, {":(Never 2)", "a|", ":(Never 5)", "b|"}, {3}},
    {"Never alone drops nothing", 0, 0, {":(Never)", "a|", "b|"}, {1, 2}},
    {"Never5 without a blank drops nothing", 0, 0, {":(Never5)", "a|"}, {1}},
    {"a negative count drops nothing", 0, 0, {":(Never -2)", "a|"}, {1}},
    {"Only_NFont on the normal form skips", 0, 0x00, {":(Only_NFont 1)", "n|", "x|"}, {2}},
    {"Only_NFont on the other form keeps", 0, 0x04, {":(Only_NFont 1)", "n|", "x|"}, {1, 2}},
    {"Only_TFont on the other form skips", 0, 0x04, {":(Only_TFont 1)", "t|", "x|"}, {2}},
    {"Only_TFont on the normal form keeps", 0, 0xFB, {":(Only_TFont 1)", "t|", "x|"}, {1, 2}},
    {"unknown directives are ignored", 0, 0, {":(Sometimes 3)", "a|"}, {1}},
    {"text outside the groups is ignored", 0, 0, {": Never 1 (Never 1) x", "a|", "b|"}, {2}},
};

TEST(SheetLinesTest, DirectivesAndLoops) {
    for (const DirectiveCase& c : kDirectiveCases) {
        convtest::ProgramState state(c.model);
        state.image.SetByte(layout::kDisplayForm, c.displayForm);
        EXPECT_EQ(ParseLines(c.cells).lines, c.rows) << c.name;
    }
}

TEST(SheetLinesTest, HandheldAndMobileLinesFollowTheModel) {
    const std::vector<std::string> cells{":(Only_Handy 1)", "handheld|", ":(Only_Mob 1)", "mobile|"};
    for (int32_t model = 0; model < 10; ++model) {
        convtest::ProgramState state(model);
        const bool mobile = model >= 5;
        EXPECT_EQ(ParseLines(cells).lines, std::vector<int32_t>{mobile ? 3 : 1}) << "model " << model;
    }
}

TEST(SheetLinesTest, SelectFlagFollowsTheDirectivesAndLoops) {
    convtest::ProgramState state;
    const Parsed p = ParseLines({"a|", ":(SelectOFF)", ":(LoopFrom 2)", "b|", ":(LoopTo)(SelectON)", "c|"});
    EXPECT_EQ(p.lines, (std::vector<int32_t>{0, 3, 3, 5}));
    // The repeated row takes the flag that holds where the loop ends.
    EXPECT_EQ(p.select, (std::vector<bool>{true, false, true, true}));
}

TEST(SheetLinesTest, ColumnsAreTheWidestLine) {
    convtest::ProgramState state;
    EXPECT_EQ(ParseLines({"a|b|", "{S}a|b|c|", "a|"}).columns, 3);
    // The last definition needs no '|'; an escaped '|' does not end one.
    EXPECT_EQ(CountCells("a|b"), 2);
    EXPECT_EQ(CountCells("a\\|b|"), 1);
}

TEST(SheetLinesTest, NoCellLineIsFatal) {
    convtest::ProgramState state;
    EXPECT_EQ(FatalText([] { ParseLines({}); }), "Illegal Cell assign");
    EXPECT_EQ(FatalText([] { ParseLines({"#Next_Key", "a|"}); }), "Illegal Cell assign");
    EXPECT_EQ(FatalText([] { ParseLines({":(Never 1)", "a|"}); }), "Illegal Cell assign");
}

TEST(SheetLinesTest, GroupsEndAtTheFirstClosingParenthesis) {
    std::vector<std::string> groups;
    ForEachGroup("x(a)(b(c)d)(", [&](const std::string& g) { groups.push_back(g); });
    EXPECT_EQ(groups, (std::vector<std::string>{"a", "b(c"}));

    // In a double-byte page a parenthesis that trails a lead byte is part of a character.
    plat::DoubleByteCodePage page;
    plat::SetCodePage(&page);
    groups.clear();
    ForEachGroup("(\x81)x)", [&](const std::string& g) { groups.push_back(g); });
    plat::SetCodePage(nullptr);
    EXPECT_EQ(groups, (std::vector<std::string>{"\x81)x"}));
}

struct StyleCase {
    const char* item;
    int32_t SheetStyle::*field;
    int32_t value;
};

const StyleCase kStyleCases[] = {
    {"FixedCols=2", &SheetStyle::fixedCols, 2},
    {"FixedRows=1", &SheetStyle::fixedRows, 1},
    {"FixedRows", &SheetStyle::fixedRows, 0},
    {"FixedRows=x", &SheetStyle::fixedRows, 0},
    {"PrintFontRatio=80", &SheetStyle::printFontRatio, 80},
    {"PrintFontRatio", &SheetStyle::printFontRatio, 100},
    {"MultiSelect=Line", &SheetStyle::multiSelect, 2},
    {"MultiSelect=Cell", &SheetStyle::multiSelect, 1},
    {"MultiSelect=cell", &SheetStyle::multiSelect, 0},
    {"MultiSelect=Lines", &SheetStyle::multiSelect, 0},
    {"MultiSelect", &SheetStyle::multiSelect, 0},
    {"Fixed=3", &SheetStyle::fixedCols, 0},
};

TEST(SheetLinesTest, StyleItems) {
    for (const StyleCase& c : kStyleCases) {
        SheetStyle style;
        // A MultiSelect item sets the mode afresh, whatever it was.
        style.multiSelect = 3;
        ApplyStyleItem(style, c.item);
        EXPECT_EQ(style.*c.field, c.value) << c.item;
    }
}

TEST(SheetLinesTest, TitleItems) {
    SheetStyle style;
    ApplyStyleItem(style, "TitleString=");
    EXPECT_FALSE(style.title);
    ApplyStyleItem(style, "TitleString=Bank 1=A");
    EXPECT_EQ(style.title, "Bank 1=A");
    ApplyStyleItem(style, "TitleColor=clRed");
    EXPECT_EQ(style.titleColor, 0x0000FFu);
    ApplyStyleItem(style, "TitleColor=nothing");
    EXPECT_EQ(style.titleColor, 0x0000FFu);
    ApplyStyleItem(style, "TitleFont=,Arial,,-20,,fsBold,");
    ASSERT_TRUE(style.titleFont);
    EXPECT_EQ(style.titleFont->face, "Arial");
    EXPECT_EQ(style.titleFont->height, -20);
    EXPECT_EQ(style.titleFont->style, FontBold);
    ApplyStyleItem(style, "NoPrints");
    EXPECT_FALSE(style.noPrint);
    ApplyStyleItem(style, "NoPrint");
    EXPECT_TRUE(style.noPrint);
}

} // namespace
