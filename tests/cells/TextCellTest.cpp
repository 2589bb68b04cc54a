#include "cells/TextCell.h"
#include "ConvFixture.h"
#include "cells/RadioFont.h"
#include "cells/cmcCellObj.h"
#include "tests/support/RecordingPopupOpener.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using convtest::ProgramState;
using convtest::RecordingCanvas;
using convtest::Request;
using namespace convtest::grid;

namespace {

std::string Field(const std::array<uint8_t, 12>& f) {
    return std::string(f.begin(), f.end());
}
} // namespace

class EditTextCellTest : public ::testing::Test {
protected:
    ProgramState state;
    RecordingPopupOpener popups;
    ScopedPopupOpener scope{&popups};
};

TEST_F(EditTextCellTest, StoresTheUnescapedTextPaddedOrCutToTheWidth) {
    struct Case {
        const char* text;
        bool zeroTerminated;
        std::string field;
        std::string shown;
    } cases[] = {
        {"ABC", false, "ABC         ", "ABC"},
        {"ABC", true, std::string("ABC\0\0\0\0\0\0\0\0\0", 12), "ABC"},
        {"%B0x%%", false, "\xB0x%         ", "\xB0x%"},
        {"ABCDEFGHIJKLMNOP", false, "ABCDEFGHIJKL", "ABCDEFGHIJKL"},
        {" A B ", false, " A B        ", " A B"},
        {"", false, "            ", ""},
    };
    for (const Case& c : cases) {
        for (int32_t mode : {cmcCellCapsule::kModeCommit, cmcCellCapsule::kModePick}) {
            std::array<uint8_t, 12> field;
            field.fill('#');
            Request q = Request::Commit(c.text);
            q.r.mode = mode;
            EXPECT_EQ(EditTextCell(q.r, field.data(), 12, c.zeroTerminated, q.out), 1) << c.text;
            EXPECT_EQ(Field(field), c.field) << c.text;
            EXPECT_EQ(q.r.displayText, c.shown) << c.text;
            EXPECT_EQ(q.out, 0);
        }
    }
}

TEST_F(EditTextCellTest, ShowsTheFieldUpToItsFirstZeroByte) {
    std::array<uint8_t, 12> field{'A', 'B', 0, 'C', ' '};
    Request q = Request::Key();
    EXPECT_EQ(EditTextCell(q.r, field.data(), 12, false, q.out), 0);
    EXPECT_EQ(q.r.displayText, "AB");
    EXPECT_EQ(field[3], 'C');
}

TEST_F(EditTextCellTest, EnterBackspaceAndPrintableKeysOpenTheTextEditor) {
    struct Case {
        int32_t key;
        bool opens;
        const char* text;
        bool byEnter;
    } cases[] = {{kEnter, true, "NAME", true}, {256, true, "NAME", true}, {kBack, true, "NAME", true},
                 {'q', true, "q", false},      {' ', true, " ", false},   {7, false, "", false}};
    for (const Case& c : cases) {
        popups.ClearLog();
        std::array<uint8_t, 12> field;
        field.fill(' ');
        std::copy_n("NAME", 4, field.begin());
        Request q = Request::Key(c.key);
        EXPECT_EQ(EditTextCell(q.r, field.data(), 12, false, q.out), 0);
        EXPECT_EQ(q.out, c.opens ? kPopup : 0) << c.key;
        ASSERT_EQ(popups.Log().size(), c.opens ? 1u : 0u) << c.key;
        if (!c.opens) continue;
        const auto& o = popups.Log()[0];
        EXPECT_EQ(o.kind, RecordingPopupOpener::Kind::TextEditor);
        EXPECT_EQ(o.bytes, c.text);
        EXPECT_EQ(o.openedByEnter, c.byEnter);
        EXPECT_EQ(o.maxLength, 12);
    }
    Request noGrid = Request::NoGrid(kEnter);
    std::array<uint8_t, 12> field{};
    popups.ClearLog();
    EditTextCell(noGrid.r, field.data(), 12, false, noGrid.out);
    EXPECT_TRUE(popups.Log().empty());
}

TEST_F(EditTextCellTest, WithACanvasTheTextIsPaintedInsteadOfShown) {
    state.image.SetByte(kDisplayFlagsByte, kLargeGlyphBit);
    RecordingCanvas canvas;
    const CellRect rect{10, 20, 300, 42};
    std::array<uint8_t, 24> field;
    field.fill(' ');
    field[0] = 'I';
    Request q = Request::Key();
    q.r.canvas = &canvas;
    q.r.cellRect = &rect;
    EditTextCell(q.r, field.data(), 24, false, q.out);
    EXPECT_EQ(q.r.displayText, "");
    EXPECT_FALSE(canvas.fills.empty());
    for (const auto& f : canvas.fills) {
        EXPECT_GE(f.left, rect.left);
        EXPECT_LE(f.right, rect.right);
        EXPECT_GE(f.top, rect.top);
        EXPECT_LE(f.bottom, rect.bottom);
        EXPECT_EQ(f.color, canvas.fontColor);
    }
    EXPECT_TRUE(canvas.frames.empty());
    EXPECT_EQ(canvas.brush, 0xABCDEFu);
}

class PaintTextCellTest : public ::testing::Test {
protected:
    // A mobile with large glyphs: 5 x 8 dots.
    ProgramState state{5};
    RecordingCanvas canvas;
    CellRect rect{0, 0, 62, 18};

    Request Painting() {
        Request q = Request::Key();
        q.r.canvas = &canvas;
        q.r.cellRect = &rect;
        return q;
    }
};

TEST_F(PaintTextCellTest, EachDotIsARectangleOfTheCharacterCell) {
    state.image.SetByte(kDisplayFlagsByte, kLargeGlyphBit);
    Request q = Painting();
    // 6 characters: (62 - 2) / 6 = 10 wide; height 16; each dot 2 x 2.
    PaintTextCell(q.r, "!", 6, 6, 1, true);
    // '!' is dot rows 0 to 4 and 6 of the middle column; the character is centred
    // vertically, one pixel below the cell's top.
    const int32_t rows[] = {0, 1, 2, 3, 4, 6};
    ASSERT_EQ(canvas.fills.size(), std::size(rows));
    for (size_t i = 0; i < canvas.fills.size(); ++i) {
        const auto& f = canvas.fills[i];
        EXPECT_EQ(f.left, 1 + 2 * 2);
        EXPECT_EQ(f.right, 1 + 3 * 2);
        EXPECT_EQ(f.top, 1 + 2 * rows[i]);
        EXPECT_EQ(f.bottom, f.top + 2);
    }
    ASSERT_EQ(canvas.frames.size(), 1u);
    EXPECT_EQ(canvas.frames[0].color, 0x808080u);
    EXPECT_EQ(canvas.frames[0].left, 1);
    EXPECT_EQ(canvas.frames[0].right, 12);
}

TEST_F(PaintTextCellTest, CharactersPastTheFieldAreOliveWithLargeGlyphsAndLeftOutOtherwise) {
    state.image.SetByte(kDisplayFlagsByte, kLargeGlyphBit);
    Request q = Painting();
    PaintTextCell(q.r, "!!", 1, 2, 1, false);
    ASSERT_EQ(canvas.fills.size(), 12u);
    EXPECT_EQ(canvas.fills.front().color, canvas.fontColor);
    EXPECT_EQ(canvas.fills.back().color, 0x008080u);

    state.image.SetByte(kDisplayFlagsByte, 0);
    RecordingCanvas small;
    Request s = Painting();
    s.r.canvas = &small;
    PaintTextCell(s.r, "!!", 1, 2, 1, false);
    EXPECT_FALSE(small.fills.empty());
    for (const auto& f : small.fills)
        EXPECT_EQ(f.color, small.fontColor);
}

TEST_F(PaintTextCellTest, PrintingInksBlackUnlessTheTextIsWhite) {
    state.image.SetByte(kDisplayFlagsByte, kLargeGlyphBit);
    for (auto [font, ink] : {std::pair<ColorValue, ColorValue>{0x123456, 0x000000}, {0xFFFFFF, 0xFFFFFF}}) {
        RecordingCanvas c;
        c.fontColor = font;
        Request q = Painting();
        q.r.canvas = &c;
        q.r.markFlags.printing = true;
        PaintTextCell(q.r, "!", 1, 1, 1, false);
        ASSERT_FALSE(c.fills.empty());
        EXPECT_EQ(c.fills[0].color, ink);
        EXPECT_EQ(c.brush, 0xABCDEFu);
    }
}

TEST_F(PaintTextCellTest, NothingIsDrawnWithoutACanvas) {
    Request q = Request::Key();
    q.r.cellRect = &rect;
    PaintTextCell(q.r, "!", 1, 1, 1, true); // must not touch any canvas
    EXPECT_TRUE(canvas.fills.empty());
}

TEST(UserCharCell, TheEditorsDotsArePackedIntoTheGlyphOfTheDisplayType) {
    struct Case {
        int32_t model;
        bool large;
        int32_t width, height;
        int32_t dotColumn, dotRow; // the one dot set
        int32_t byte;              // image byte that holds it
        uint8_t value;
    } cases[] = {
        {5, true, 5, 8, 1, 2, 94246 + 24 * 3 + 1, 0x04},       // mobile: head, a byte a column, low bit first
        {5, false, 5, 17, 0, 9, 94246 + 24 * 3 + 6 + 1, 0x02}, // mobile: 3 bytes a column, little-endian
        {0, true, 7, 19, 1, 8, 94630 + 49 * 3 + 3 + 1,
         0x80}, // handheld: body, 3 bytes a column, top bit first
        {0, false, 7, 32, 6, 31, 94630 + 49 * 3 + 21 + 27, 0x01}, // the last byte of the record
    };
    for (const Case& c : cases) {
        ProgramState state(c.model);
        state.image.SetByte(kDisplayFlagsByte, c.large ? kLargeGlyphBit : 0);
        // Leftovers of another display type stay; those of this one go.
        state.image.SetByte(94246 + 24 * 3 + 23, 0xEE);
        state.image.SetByte(c.byte, 0xFF);
        cmcCellObj cell;
        cell.index = 3;
        std::string dots(static_cast<size_t>(c.width * c.height), '0');
        dots[static_cast<size_t>(c.dotColumn + c.dotRow * c.width)] = '1';
        Request q = Request::Key();
        q.r.cell = &cell;
        q.r.mode = cmcCellCapsule::kModePick;
        q.r.editText = dots;
        EXPECT_EQ(UserCharCell(q.r, q.out), 1);
        EXPECT_EQ(state.image.GetByte(c.byte), c.value) << c.model << c.large;
        EXPECT_EQ(state.image.GetByte(94246 + 24 * 3 + 23), c.model == 5 && !c.large ? 0 : 0xEE);

        RecordingPopupOpener popups;
        ScopedPopupOpener scope(&popups);
        Request e = Request::Key(kEnter);
        e.r.cell = &cell;
        EXPECT_EQ(UserCharCell(e.r, e.out), 0);
        EXPECT_EQ(e.out, kPopup);
        ASSERT_EQ(popups.Log().size(), 1u);
        const auto& o = popups.Log()[0];
        EXPECT_EQ(o.kind, RecordingPopupOpener::Kind::CharEditor);
        EXPECT_EQ(o.width, c.width);
        EXPECT_EQ(o.height, c.height);
        std::vector<uint8_t> expected(static_cast<size_t>(c.width * c.height), 0);
        expected[static_cast<size_t>(c.dotColumn + c.dotRow * c.width)] = 1;
        EXPECT_EQ(o.dots, expected);
    }
}

TEST(UserCharCell, AShortAnswerLeavesTheRemainingDotsClear) {
    ProgramState state(5);
    state.image.SetByte(kDisplayFlagsByte, kLargeGlyphBit);
    state.image.SetByte(94246, 0xFF);
    cmcCellObj cell;
    cell.index = 0;
    Request q = Request::Key();
    q.r.cell = &cell;
    q.r.mode = cmcCellCapsule::kModePick;
    q.r.editText = "01"; // dots (0, 0) and (1, 0): the top row's first two
    EXPECT_EQ(UserCharCell(q.r, q.out), 1);
    EXPECT_EQ(state.image.GetByte(94246), 0x00);
    EXPECT_EQ(state.image.GetByte(94246 + 1), 0x01);
}

TEST(UserCharCell, TheEditorsDotSizeFollowsTheFontSize) {
    for (auto [percent, size] : {std::pair{100, 14}, {150, 21}, {50, 14}}) {
        ProgramState state(0);
        state.Env().FontSizePercentage = percent;
        RecordingPopupOpener popups;
        ScopedPopupOpener scope(&popups);
        cmcCellObj cell;
        cell.index = 15;
        Request e = Request::Key(kEnter);
        e.r.cell = &cell;
        UserCharCell(e.r, e.out);
        ASSERT_EQ(popups.Log().size(), 1u);
        EXPECT_EQ(popups.Log()[0].dotSize, size) << percent;
    }
}

TEST(UserCharCell, PaintsItsCharacterFramed) {
    ProgramState state(5);
    state.image.SetByte(kDisplayFlagsByte, kLargeGlyphBit);
    state.image.SetByte(94246 + 24 * 2, 0x01); // user character 2: one dot
    RecordingCanvas canvas;
    const CellRect rect{0, 0, 40, 18};
    cmcCellObj cell;
    cell.index = 2;
    Request q = Request::Key();
    q.r.cell = &cell;
    q.r.canvas = &canvas;
    q.r.cellRect = &rect;
    UserCharCell(q.r, q.out);
    EXPECT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.frames.size(), 1u);
}

TEST(RadioFont, BuiltInGlyphsFitEveryDisplayTypeAndLowCodesAreBlank) {
    for (bool mobile : {true, false})
        for (bool large : {true, false}) {
            const GlyphFormat f = GlyphFormatFor(mobile, large);
            int dots = 0;
            for (int32_t c = 0; c < f.width; ++c)
                for (int32_t r = 0; r < f.height; ++r) {
                    dots += GlyphDot(BuiltInGlyph('H'), f, c, r);
                    EXPECT_FALSE(GlyphDot(BuiltInGlyph(5), f, c, r));
                    EXPECT_FALSE(GlyphDot(BuiltInGlyph(20), f, c, r));
                }
            EXPECT_GT(dots, 0) << mobile << large;
        }
}
