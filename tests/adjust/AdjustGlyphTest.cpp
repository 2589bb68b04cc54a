// The adjustment program's user-character cell and the radio's characters in
// its cells: six strips a mobile glyph, the dots row by row, the other forms'
// bytes kept.
#include "adjust/AdjustVocabulary.h"
#include "cells/CellEngine.h"
#include "cells/RadioFont.h"
#include "cells/TextCell.h"
#include "tests/cells/CellHarness.h"
#include "tests/cells/ConvFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace {

constexpr int32_t kHeads = 94246;  // 24 bytes a user character
constexpr int32_t kBodies = 94630; // 49 bytes a user character

struct GlyphCase {
    int32_t model;
    bool large;
    int32_t strips, dots;
    // The byte and bit of dot (last strip, row 0) of user character 3.
    int32_t lastStripByte;
    uint8_t lastStripBit;
};

class AdjustGlyphTest : public ::testing::TestWithParam<GlyphCase> {
protected:
    static int32_t CEdit() { return adj::AdjustCellVocabulary().CellIndex("CL_CEdit"); }
    static int32_t CEditCategory() { return adj::AdjustCellVocabulary().CategoryIndex("CT_CEdit"); }

    ScopedCellEngine engine{adj::AdjustCellEngine()};
};

TEST_P(AdjustGlyphTest, TheEditorGetsTheProgramsStripsAndItsAnswerChangesOnlyThatForm) {
    const GlyphCase& c = GetParam();
    celltest::CellHarness h(c.model, TOLVANE_BIN_DIR "/QT4411R.OVL");
    h.LoadStartupData(c.model);
    h.Image().SetByte(kDisplayFlagsByte, c.large ? kLargeGlyphBit : 0);
    // Every byte of user character 3 set, so that any byte the store clears shows.
    for (int32_t i = 0; i < 24; ++i)
        h.Image().SetByte(kHeads + 24 * 3 + i, 0xFF);
    for (int32_t i = 0; i < 49; ++i)
        h.Image().SetByte(kBodies + 49 * 3 + i, 0xFF);
    const cmcEeprom before = h.Image();

    const CellAddress at{CEditCategory(), CEdit(), 3};
    EXPECT_EQ(h.Key(at, 13).result, cmcCellCapsule::kResultPopupOpened);
    ASSERT_EQ(h.popups.Log().size(), 1u);
    EXPECT_EQ(h.popups.Log()[0].width, c.strips);
    EXPECT_EQ(h.popups.Log()[0].height, c.dots);

    // Only dot (last strip, row 0), row by row: it lands in the last strip's byte.
    std::string answer(static_cast<size_t>(c.strips * c.dots), '0');
    answer[static_cast<size_t>(c.strips - 1)] = '1';
    h.Run(at, [&](cmcCellCapsule& r) {
        r.mode = cmcCellCapsule::kModePick;
        r.editText = answer;
    });
    const GlyphBytes glyph = DisplayGlyph(h.Image(), 19);
    const GlyphFormat format = CurrentGlyphFormat(h.Image());
    for (int32_t x = 0; x < c.strips; ++x)
        for (int32_t y = 0; y < c.dots; ++y)
            EXPECT_EQ(GlyphDot(glyph, format, x, y), x == c.strips - 1 && y == 0) << x << "," << y;
    EXPECT_EQ(h.Image().GetByte(c.lastStripByte), c.lastStripBit);
    // The other forms' bytes and everything outside the character stay.
    int32_t formFirst = 0, formEnd = 0;
    if (c.model >= 5) {
        formFirst = kHeads + 24 * 3 + (c.large ? 0 : 6);
        formEnd = formFirst + (c.large ? 6 : 18);
    } else {
        formFirst = kBodies + 49 * 3 + (c.large ? 0 : 21);
        formEnd = formFirst + (c.large ? 21 : 28);
    }
    for (int32_t a = 0; a < before.GetSize(); ++a) {
        if (a < formFirst || a >= formEnd) {
            EXPECT_EQ(h.Image().GetByte(a), before.GetByte(a)) << a;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, AdjustGlyphTest,
                         ::testing::Values(GlyphCase{5, true, 6, 8, kHeads + 24 * 3 + 5, 0x01},
                                           GlyphCase{5, false, 6, 17, kHeads + 24 * 3 + 6 + 15, 0x01},
                                           GlyphCase{0, true, 7, 19, kBodies + 49 * 3 + 18, 0x80},
                                           GlyphCase{0, false, 7, 32, kBodies + 49 * 3 + 21 + 24, 0x80}));

class AdjustPaintTest : public ::testing::Test {
protected:
    AdjustPaintTest() { h.Image().SetByte(kDisplayFlagsByte, kLargeGlyphBit); }

    void Paint(std::string_view text, int32_t visible, int32_t perLine, int32_t lines) {
        cmcCellCapsule r;
        r.canvas = &canvas;
        r.cellRect = &rect;
        PaintTextCell(r, text, visible, perLine, lines, true);
    }

    ScopedCellEngine engine{adj::AdjustCellEngine()};
    // A mobile: six strips of eight dots with the large glyphs.
    celltest::CellHarness h{5, TOLVANE_BIN_DIR "/QT4411R.OVL"};
    convtest::RecordingCanvas canvas;
    CellRect rect{0, 0, 62, 18};
};

TEST_F(AdjustPaintTest, AUserCharactersSixthStripIsDrawnInsideItsBox) {
    // User character 3 (code 19): only the top dot of its sixth strip.
    h.Image().SetByte(kHeads + 24 * 3 + 5, 0x01);
    Paint("\x13", 1, 12, 1);
    // One character in 60 pixels: 12 x 16, each dot 2 x 2, from x = 1.
    ASSERT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.fills[0].left, 1 + 5 * 2);
    EXPECT_EQ(canvas.fills[0].right, 1 + 6 * 2);
    ASSERT_EQ(canvas.frames.size(), 1u);
    // The frame takes in the whole box, the sixth strip too (right edge exclusive).
    EXPECT_EQ(canvas.frames[0].right, 1 + 12 + 1);
}

TEST_F(AdjustPaintTest, TwelveALineNeverDrawsTheTwentyFifthCharacterAndLowCodesAreBlank) {
    rect = {0, 0, 400, 40};
    Paint(std::string(25, '!'), 25, 12, 2);
    EXPECT_EQ(canvas.frames.size(), 24u);
    EXPECT_EQ(canvas.fills.size(), 24u * 6u); // '!' has six dots
    canvas.fills.clear();
    canvas.frames.clear();
    std::string low;
    for (char c = 0; c < 16; ++c)
        low.push_back(c);
    Paint(low, 16, 16, 1);
    EXPECT_TRUE(canvas.fills.empty());
    EXPECT_EQ(canvas.frames.size(), 16u);
}

TEST_F(AdjustPaintTest, EditingUserCharacterThreeChangesEveryTextHoldingCodeNineteen) {
    rect = {0, 0, 400, 18};
    const std::string text = "\x13!\x13";
    Paint(text, 3, 12, 1);
    // Blank as loaded: only the '!' between them is drawn.
    EXPECT_EQ(canvas.fills.size(), 6u);

    const CellVocabulary& v = adj::AdjustCellVocabulary();
    const CellAddress at{v.CategoryIndex("CT_CEdit"), v.CellIndex("CL_CEdit"), 3};
    h.Key(at, 13);
    std::string answer(6 * 8, '0');
    answer[0] = '1'; // the top dot of the first strip
    h.Run(at, [&](cmcCellCapsule& r) {
        r.mode = cmcCellCapsule::kModePick;
        r.editText = answer;
    });

    canvas.fills.clear();
    canvas.frames.clear();
    Paint(text, 3, 12, 1);
    ASSERT_EQ(canvas.fills.size(), 6u + 2u);
    // Each code 19 now draws the one dot at its own character's top left,
    // on either side of the '!'.
    EXPECT_EQ(canvas.fills.front().left, 1);
    EXPECT_LT(canvas.fills.front().left, canvas.fills[1].left);
    EXPECT_GT(canvas.fills.back().left, canvas.fills[6].left);
    EXPECT_EQ(canvas.fills.front().top, canvas.fills.back().top);
    EXPECT_EQ(canvas.fills.front().top, canvas.fills[1].top);
}

TEST_F(AdjustPaintTest, AnEmptyTextNoCharactersALineOrATinyCellDrawNothing) {
    struct Case {
        std::string text;
        int32_t visible, perLine;
        CellRect cell;
    };
    const Case cases[] = {
        {"", 0, 12, {0, 0, 62, 18}},
        {"!!", 2, 0, {0, 0, 62, 18}},
        {"!!", 2, 12, {0, 0, 3, 18}},
        {"!!", 2, 12, {0, 0, 62, 2}},
    };
    for (const Case& c : cases) {
        rect = c.cell;
        canvas.fills.clear();
        canvas.frames.clear();
        Paint(c.text, c.visible, c.perLine, 1);
        EXPECT_TRUE(canvas.fills.empty()) << c.text.size() << " " << c.perLine << " " << c.cell.right;
        EXPECT_TRUE(canvas.frames.empty()) << c.text.size() << " " << c.perLine << " " << c.cell.right;
    }
}

TEST(AdjustUserCharIndexTest, AnIndexOutsideTheSixteenStoresNothing) {
    ScopedCellEngine engine{adj::AdjustCellEngine()};
    celltest::CellHarness h(5, TOLVANE_BIN_DIR "/QT4411R.OVL");
    h.LoadStartupData(5);
    const cmcEeprom before = h.Image();
    const CellVocabulary& v = adj::AdjustCellVocabulary();
    for (int32_t index : {-1, 16, 17}) {
        h.Run({v.CategoryIndex("CT_CEdit"), v.CellIndex("CL_CEdit"), index}, [](cmcCellCapsule& r) {
            r.mode = cmcCellCapsule::kModePick;
            r.editText = std::string(6 * 8, '1');
        });
        EXPECT_TRUE(std::equal(before.Data(), before.Data() + before.GetSize(), h.Image().Data())) << index;
    }
}

struct PastCase {
    int32_t model;
    bool large;
};

class AdjustPastLengthTest : public ::testing::TestWithParam<PastCase> {};

TEST_P(AdjustPastLengthTest, PastTheVisibleLengthIsOliveWithLargeGlyphsOrTheEnd) {
    const PastCase& c = GetParam();
    ScopedCellEngine engine{adj::AdjustCellEngine()};
    celltest::CellHarness h(c.model, TOLVANE_BIN_DIR "/QT4411R.OVL");
    h.Image().SetByte(kDisplayFlagsByte, c.large ? kLargeGlyphBit : 0);
    CellRect rect{0, 0, 200, 40};
    auto paint = [&](std::string_view text) {
        convtest::RecordingCanvas canvas;
        cmcCellCapsule r;
        r.canvas = &canvas;
        r.cellRect = &rect;
        PaintTextCell(r, text, 1, 2, 1, false);
        return canvas;
    };
    const size_t dots = paint("!").fills.size();
    ASSERT_GT(dots, 0u);
    const convtest::RecordingCanvas two = paint("!!");
    // The second '!' lies past the one visible character.
    ASSERT_EQ(two.fills.size(), c.large ? 2 * dots : dots);
    for (size_t i = 0; i < two.fills.size(); ++i)
        EXPECT_EQ(two.fills[i].color, i < dots ? two.fontColor : 0x008080u) << i;
}

INSTANTIATE_TEST_SUITE_P(Forms, AdjustPastLengthTest,
                         ::testing::Values(PastCase{5, true}, PastCase{5, false}, PastCase{0, true},
                                           PastCase{0, false}));

} // namespace
