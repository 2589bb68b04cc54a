#include "foundation/FontDesc.h"
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

FontDesc NinePoint() {
    FontDesc font;
    font.charset = 128;
    font.face = "Tahoma";
    font.pitch = FontPitch::Fixed;
    font.SetSize(9);
    return font;
}

TEST(FontDesc, PointsFollowTheHeight) {
    FontDesc font;
    font.SetSize(9);
    EXPECT_EQ(font.height, -12);
    for (int32_t points = 1; points <= 200; ++points) {
        font.SetSize(points);
        ASSERT_EQ(font.Size(), points);
    }
}

TEST(ParseFontDesc, ChangesOnlyTheFieldsGiven) {
    FontDesc font = NinePoint();
    font.style = FontUnderline;
    ParseFontDesc(",,clRed,,%150,fsBold+fsItalic,", font);
    EXPECT_EQ(font.color, 0x0000FFu);
    EXPECT_EQ(font.Size(), 13);
    EXPECT_EQ(font.style, FontBold | FontItalic);
    EXPECT_EQ(font.charset, 128);
    EXPECT_EQ(font.face, "Tahoma");
    EXPECT_EQ(font.pitch, FontPitch::Fixed);

    FontDesc unchanged = NinePoint();
    for (const char* spec : {"", ",,,,,,", "NO_CHARSET,,clNothing,x,,fsHeavy,fpWide"}) {
        FontDesc font2 = NinePoint();
        ParseFontDesc(spec, font2);
        EXPECT_EQ(font2, unchanged) << spec;
    }
}

TEST(ParseFontDesc, EachField) {
    struct Case {
        const char* spec;
        void (*expect)(const FontDesc&);
    } cases[] = {
        {" \tANSI_CHARSET \t", [](const FontDesc& f) { EXPECT_EQ(f.charset, 0); }},
        {"ANSI_CHARSETX", [](const FontDesc& f) { EXPECT_EQ(f.charset, 128); }},
        {",  Courier New ", [](const FontDesc& f) { EXPECT_EQ(f.face, "Courier New "); }},
        {",,, 20", [](const FontDesc& f) { EXPECT_EQ(f.height, 20); }},
        {",,,,%1", [](const FontDesc& f) { EXPECT_EQ(f.Size(), 1); }},
        {",,,,24", [](const FontDesc& f) { EXPECT_EQ(f.Size(), 24); }},
        {",,,,,fsStrikeOut + x+ fsUnderline\t",
         [](const FontDesc& f) { EXPECT_EQ(f.style, FontStrikeOut | FontUnderline); }},
        {",,,,,,fpVariable ", [](const FontDesc& f) { EXPECT_EQ(f.pitch, FontPitch::Variable); }},
        {",,,,,, fpVariable", [](const FontDesc& f) { EXPECT_EQ(f.pitch, FontPitch::Fixed); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spec);
        FontDesc font = NinePoint();
        ParseFontDesc(c.spec, font);
        c.expect(font);
    }
}

// Heights are negative when they give the character height, so scaling keeps
// the sign and never ends at 0.
TEST(ParseFontDesc, RelativeHeightKeepsItsSign) {
    struct Case {
        int32_t height;
        const char* field;
        int32_t expected;
    } cases[] = {
        {-12, "%150", -18}, {-1, "%10", -1},   {12, "%50", 6},  {12, "%1", 1},
        {-12, "%0", -1},    {-12, "%-50", -6}, {-12, "0", -12}, {-12, "x", -12},
    };
    for (const Case& c : cases) {
        FontDesc font;
        font.height = c.height;
        ParseFontDesc(std::string(",,,") + c.field, font);
        EXPECT_EQ(font.height, c.expected) << c.height << " at " << c.field;
    }
}

TEST(CopyFont, CopiesEverythingWhenBothExist) {
    FontDesc source = NinePoint();
    source.height = -17;
    source.style = FontBold;
    source.color = 0x123456;
    FontDesc destination;
    CopyFont(&destination, &source);
    EXPECT_EQ(destination, source);

    FontDesc kept = destination;
    CopyFont(&destination, nullptr);
    EXPECT_EQ(destination, kept);
    CopyFont(nullptr, &source);
}

} // namespace
