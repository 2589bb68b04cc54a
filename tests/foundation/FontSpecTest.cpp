#include "foundation/FontSpec.h"
#include "foundation/ColorName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(ColorFromName, ExactNamesOnly) {
    struct Case {
        const char* name;
        std::optional<ColorValue> color;
    } cases[] = {
        {"clRed", 0x0000FF},
        {"clAqua", 0xFFFF00},
        {"clHightlightText", 0x8000000E},
        {"clBtnHighlight", 0x80000014},
        {"clHighlightText", std::nullopt},
        {"clred", std::nullopt},
        {" clRed", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColorFromName(c.name), c.color) << c.name;
}

FontSpec NinePoint() {
    FontSpec font;
    font.charset = 128;
    font.face = "Tahoma";
    font.pitch = FontPitch::Fixed;
    font.SetSize(9);
    return font;
}

TEST(FontSpec, PointsFollowTheHeight) {
    FontSpec font;
    font.SetSize(9);
    EXPECT_EQ(font.height, -12);
    for (int32_t points = 1; points <= 200; ++points) {
        font.SetSize(points);
        ASSERT_EQ(font.Size(), points);
    }
}

TEST(ParseFontSpec, ChangesOnlyTheFieldsGiven) {
    FontSpec font = NinePoint();
    font.style = FontUnderline;
    ParseFontSpec(",,clRed,,%150,fsBold+fsItalic,", font);
    EXPECT_EQ(font.color, 0x0000FFu);
    EXPECT_EQ(font.Size(), 13);
    EXPECT_EQ(font.style, FontBold | FontItalic);
    EXPECT_EQ(font.charset, 128);
    EXPECT_EQ(font.face, "Tahoma");
    EXPECT_EQ(font.pitch, FontPitch::Fixed);

    FontSpec unchanged = NinePoint();
    for (const char* spec : {"", ",,,,,,", "NO_CHARSET,,clNothing,x,,fsHeavy,fpWide"}) {
        FontSpec font2 = NinePoint();
        ParseFontSpec(spec, font2);
        EXPECT_EQ(font2, unchanged) << spec;
    }
}

TEST(ParseFontSpec, EachField) {
    struct Case {
        const char* spec;
        void (*expect)(const FontSpec&);
    } cases[] = {
        {" \tANSI_CHARSET \t", [](const FontSpec& f) { EXPECT_EQ(f.charset, 0); }},
        {"ANSI_CHARSETX", [](const FontSpec& f) { EXPECT_EQ(f.charset, 128); }},
        {",  Courier New ", [](const FontSpec& f) { EXPECT_EQ(f.face, "Courier New "); }},
        {",,, 20", [](const FontSpec& f) { EXPECT_EQ(f.height, 20); }},
        {",,,,%1", [](const FontSpec& f) { EXPECT_EQ(f.Size(), 1); }},
        {",,,,24", [](const FontSpec& f) { EXPECT_EQ(f.Size(), 24); }},
        {",,,,,fsStrikeOut + x+ fsUnderline\t",
         [](const FontSpec& f) { EXPECT_EQ(f.style, FontStrikeOut | FontUnderline); }},
        {",,,,,,fpVariable ", [](const FontSpec& f) { EXPECT_EQ(f.pitch, FontPitch::Variable); }},
        {",,,,,, fpVariable", [](const FontSpec& f) { EXPECT_EQ(f.pitch, FontPitch::Fixed); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spec);
        FontSpec font = NinePoint();
        ParseFontSpec(c.spec, font);
        c.expect(font);
    }
}

// Heights are negative when they give the character height, so scaling keeps
// the sign and never ends at 0.
TEST(ParseFontSpec, RelativeHeightKeepsItsSign) {
    struct Case {
        int32_t height;
        const char* field;
        int32_t expected;
    } cases[] = {
        {-12, "%150", -18}, {-1, "%10", -1},   {12, "%50", 6},  {12, "%1", 1},
        {-12, "%0", -1},    {-12, "%-50", -6}, {-12, "0", -12}, {-12, "x", -12},
    };
    for (const Case& c : cases) {
        FontSpec font;
        font.height = c.height;
        ParseFontSpec(std::string(",,,") + c.field, font);
        EXPECT_EQ(font.height, c.expected) << c.height << " at " << c.field;
    }
}

TEST(CopyFont, CopiesEverythingWhenBothExist) {
    FontSpec source = NinePoint();
    source.height = -17;
    source.style = FontBold;
    source.color = 0x123456;
    FontSpec destination;
    CopyFont(&destination, &source);
    EXPECT_EQ(destination, source);

    FontSpec kept = destination;
    CopyFont(&destination, nullptr);
    EXPECT_EQ(destination, kept);
    CopyFont(nullptr, &source);
}

} // namespace
