#include "cells/CodeConv.h"
#include "ConvFixture.h"
#include "cells/ConvKeys.h"
#include "cells/cmcCellObj.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "image/datCh.h"
#include "tests/support/RecordingPopupOpener.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using convtest::Request;
using namespace convtest::grid;

TEST(ConvDtmfCodeCell, CommitsTheTypedDigitsAndClearsTheRestOfTheField) {
    struct Case {
        const char* text;
        int32_t maxDigits;
        std::vector<uint8_t> digits;
        const char* shown;
    } cases[] = {
        {"12*#", 24, {1, 2, 14, 15}, "12*#"},
        {"12*#", 3, {1, 2, 14}, "12*"},
        {"a-b 9", 24, {10, 11, 9}, "AB9"},
        {"", 24, {}, ""},
        {"xyz", 24, {}, ""},
    };
    for (const Case& c : cases) {
        std::array<uint8_t, 26> field;
        field.fill(9);
        uint8_t count = 5;
        Request q = Request::Commit(c.text);
        EXPECT_EQ(ConvDtmfCodeCell(q.r, std::span(field).first(24), count, c.maxDigits, q.out), 1) << c.text;
        EXPECT_EQ(count, c.digits.size()) << c.text;
        for (size_t i = 0; i < 24; ++i) {
            const uint8_t expected = i < c.digits.size() ? c.digits[i] : i < size_t(c.maxDigits) ? 0 : 9;
            EXPECT_EQ(field[i], expected) << c.text << " digit " << i;
        }
        EXPECT_EQ(field[24], 9);
        EXPECT_EQ(q.r.displayText, c.shown);
    }
}

TEST(ConvDtmfCodeCell, ACountAboveTheMaximumIsCutEvenWhenOnlyShown) {
    std::array<uint8_t, 24> field{1, 2, 3, 4, 5};
    uint8_t count = 200;
    Request q = Request::Key();
    EXPECT_EQ(ConvDtmfCodeCell(q.r, field, count, 4, q.out), 0);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(q.r.displayText, "1234");
}

TEST(ConvDtmfCodeCell, KeysThatOpenTheEditor) {
    struct Case {
        int32_t key, out;
        const char* text;
    } cases[] = {{kSpace, kEditor, "19"}, {kBack, kEditor, "19"}, {kEnter, kEditor, "19"},
                 {'*', kEditor, "*"},     {'#', kEditor, "#"},    {'c', kEditor, "c"},
                 {'x', 0, "19"}};
    for (const Case& c : cases) {
        std::array<uint8_t, 24> field{1, 9};
        uint8_t count = 2;
        Request q = Request::Key(c.key);
        ConvDtmfCodeCell(q.r, field, count, 24, q.out);
        EXPECT_EQ(q.out, c.out) << c.key;
        EXPECT_EQ(q.r.displayText, c.text) << c.key;
    }
}

namespace {
// Four code bytes, then the byte that follows them in the record.
struct CodeField {
    std::array<uint8_t, 5> bytes{};
    uint8_t mark = 0;
    std::span<uint8_t, 4> Code() { return std::span<uint8_t, 4>(bytes.data(), 4); }
};
} // namespace

TEST(ConvToneCode, CommitsDigitsPlusMarksAndGroupDigitsThenEndsTheCode) {
    struct Case {
        const char* text;
        bool receive;
        int32_t maxDigits;
        std::array<uint8_t, 4> code;
        uint8_t mark;
        const char* shown;
    } cases[] = {
        {"12+4", true, 8, {0x12, 0x04, 0xFF, 0xFF}, 0x20, "12+4"},
        {"12+4", false, 8, {0x12, 0x4F, 0xFF, 0xFF}, 0x77, "124"}, // no '+' in a transmit code
        {"*g3", true, 7, {0xAA, 0x3F, 0xFF, 0xFF}, 0x00, "**3"},   // the group digit is 10
        {"1f2F", true, 7, {0x12, 0xFF, 0xFF, 0xFF}, 0x00, "12"},
        {"abcde", true, 7, {0xAB, 0xCD, 0xEF, 0xFF}, 0x00, "*BCDE"},
        {"123456789", true, 7, {0x12, 0x34, 0x56, 0x7F}, 0x00, "1234567"},
        {"x-y", true, 7, {0xFF, 0xFF, 0xFF, 0xFF}, 0x00, ""},
    };
    for (const Case& c : cases) {
        CodeField f;
        f.mark = 0x77;
        Request q = Request::Commit(c.text);
        EXPECT_EQ(ConvToneCode(q.r, f.Code(), c.receive ? &f.mark : nullptr, 10, c.maxDigits, q.out), 1)
            << c.text;
        for (size_t i = 0; i < 4; ++i)
            EXPECT_EQ(f.bytes[i], c.code[i]) << c.text << " byte " << i;
        EXPECT_EQ(f.mark, c.mark) << c.text;
        EXPECT_EQ(q.r.displayText, c.shown) << c.text;
    }
}

TEST(ConvToneCode, AFullCodeNeverWritesPastItsFourBytes) {
    for (int32_t maxDigits : {8, 9, 20}) {
        CodeField f;
        f.bytes[4] = 0x5A;
        Request q = Request::Commit("123456789ABC");
        ConvToneCode(q.r, f.Code(), nullptr, 15, maxDigits, q.out);
        EXPECT_EQ(f.bytes[0], 0x12);
        EXPECT_EQ(f.bytes[3], 0x78);
        EXPECT_EQ(f.bytes[4], 0x5A) << maxDigits;
        EXPECT_EQ(q.r.displayText, "12345678");
    }
}

TEST(ConvToneCode, AnEmptyTextChangesNothing) {
    CodeField f;
    f.bytes = {0x12, 0x3F, 0xFF, 0xFF, 0};
    f.mark = 0x40;
    Request q = Request::Commit("");
    EXPECT_EQ(ConvToneCode(q.r, f.Code(), &f.mark, 15, 7, q.out), 0);
    EXPECT_EQ(f.bytes[1], 0x3F);
    EXPECT_EQ(f.mark, 0x40);
    EXPECT_EQ(q.r.displayText, "1+3");
}

TEST(ConvToneCode, KeysThatOpenTheEditor) {
    struct Case {
        int32_t key, out;
        const char* text;
    } cases[] = {{kSpace, kEditor, "12"}, {kEnter, kEditor, "12"}, {'g', kEditor, "g"}, {'G', kEditor, "G"},
                 {'+', kEditor, "+"},     {'#', kEditor, "#"},     {'e', kEditor, "e"}, {'h', 0, "12"}};
    for (const Case& c : cases) {
        CodeField f;
        f.bytes = {0x12, 0xFF, 0xFF, 0xFF, 0};
        Request q = Request::Key(c.key);
        ConvToneCode(q.r, f.Code(), &f.mark, 15, 7, q.out);
        EXPECT_EQ(q.out, c.out) << c.key;
        EXPECT_EQ(q.r.displayText, c.text) << c.key;
    }
}

TEST(ConvHexNibblesCell, ShowsAndTakesAFixedNumberOfDigits) {
    struct Case {
        const char* text;
        int32_t digits;
        bool letters;
        int32_t value;
        const char* shown;
    } cases[] = {
        {"a", 4, true, 0x000A, "000A"},        {"a", 4, false, 0, "0000"},
        {"12345", 4, true, 0x1234, "1234"},    {"be-ef", 4, true, 0xBEEF, "BEEF"},
        {"ffffffff", 8, true, -1, "FFFFFFFF"}, {"e12", 3, true, 0xE12, "E12"},
    };
    for (const Case& c : cases) {
        Request q = Request::Commit(c.text);
        int32_t value = 7;
        EXPECT_EQ(ConvHexNibblesCell(q.r, value, c.digits, c.letters, q.out), 1) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(q.r.displayText, c.shown) << c.text;
    }
}

TEST(ConvHexStringCell, OneDigitPerElement) {
    std::array<int32_t, 6> digits{9, 9, 9, 9, 9, 9};
    Request q = Request::Commit("12");
    EXPECT_EQ(ConvHexStringCell(q.r, digits, 6, false, q.out), 1);
    EXPECT_EQ(digits, (std::array<int32_t, 6>{0, 0, 0, 0, 1, 2}));
    EXPECT_EQ(q.r.displayText, "000012");

    for (auto [letters, key, out] :
         {std::tuple{false, int32_t('a'), 0}, std::tuple{true, int32_t('a'), kEditor},
          std::tuple{false, int32_t('4'), kEditor}, std::tuple{false, kSpace, 0}}) {
        Request k = Request::Key(key);
        ConvHexStringCell(k.r, digits, 6, letters, k.out);
        EXPECT_EQ(k.out, out) << key;
    }
}

TEST(ConvSingleDigitCell, TakesTheFirstCharacter) {
    struct Case {
        const char* text;
        bool allowF;
        int32_t value;
        const char* shown;
    } cases[] = {{"a", false, 10, "A"}, {"7x", false, 7, "7"}, {"f", false, 3, "3"},
                 {"f", true, 15, "F"},  {"", false, 3, "3"},   {"#", false, 3, "3"}};
    for (const Case& c : cases) {
        Request q = Request::Commit(c.text);
        int32_t value = 3;
        EXPECT_EQ(ConvSingleDigitCell(q.r, value, c.allowF, q.out), 1);
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(q.r.displayText, c.shown) << c.text;
    }
    Request none = Request::Key();
    int32_t value = 16;
    ConvSingleDigitCell(none.r, value, true, none.out);
    EXPECT_EQ(none.r.displayText, "");
    for (auto [allowF, key, out] :
         {std::tuple{false, int32_t('F'), 0}, std::tuple{true, int32_t('f'), kEditor},
          std::tuple{false, int32_t('e'), kEditor}, std::tuple{false, kEnter, 0}}) {
        Request k = Request::Key(key);
        int32_t v = 1;
        ConvSingleDigitCell(k.r, v, allowF, k.out);
        EXPECT_EQ(k.out, out) << key;
    }
}

TEST(ConvDigitSetCell, KeysToggleSetClearAndInvertTheDigits) {
    struct Case {
        int32_t first, last, style, start, key, value;
        const char* shown;
    } cases[] = {
        {1, 9, 0, 0x000, kSpace, 0x1FF, "123456789\n"}, // nine digits: bits 8..0
        {1, 9, 0, 0x010, kSpace, 0x000, "_________\n"},
        {1, 7, 0, 0x01, kSpace, 0xFF, "1234567\n"}, // bit 0 is not a digit and stays
        {1, 7, 0, 0x81, kBack, 0x7F, "_234567\n"},
        {1, 7, 0, 0x00, '3', 0x20, "__3____\n"},
        {1, 7, 0, 0x20, '3', 0x00, "_______\n"},
        {1, 7, 0, 0x00, '9', 0x00, "_______\n"},       // out of range
        {1, 10, 2, 0x000, '0', 0x001, "_________0\n"}, // '0' is digit 10
        {1, 17, 3, 0x00000, 'a', 0x00080, "_________A_______\n"},
        {1, 17, 3, 0x00000, 'Z', 0x00001, "________________Z\n"},
        {1, 17, 3, 0x00000, 'h', 0x00000, "_________________\n"}, // 17 is typed as Z only
        {1, 17, 3, 0x00000, '0', 0x00000, "_________________\n"},
        {1, 4, 0, 0x00, 'z', 0x00, "____\n"},
    };
    for (const Case& c : cases) {
        Request q = Request::Key(c.key);
        int32_t value = c.start;
        ConvDigitSetCell(q.r, value, c.first, c.last, c.style, "", q.out);
        EXPECT_EQ(value, c.value) << c.shown << " key " << c.key;
        EXPECT_EQ(q.r.displayText, c.shown) << " key " << c.key;
        EXPECT_EQ(q.out, 0);
    }
}

TEST(ConvDigitSetCell, ATypedDigitPutsTheCaretAtTheEnd) {
    Request q = Request::Key('2');
    int32_t value = 0;
    EXPECT_EQ(ConvDigitSetCell(q.r, value, 1, 7, 0, "", q.out), 1);
    EXPECT_EQ(q.r.selStart, 8);
    EXPECT_EQ(q.r.selLength, 0);
}

TEST(ConvDigitSetCell, EnterOpensTheBitFieldEditorWithTheDigitsFromColumnOne) {
    RecordingPopupOpener popups;
    ScopedPopupOpener scope(&popups);
    Request q = Request::Key(kEnter);
    int32_t value = 0x21; // digit 3, and bit 0 which is no digit
    EXPECT_EQ(ConvDigitSetCell(q.r, value, 1, 7, 2, "GI_Sheet_Bits", q.out), 0);
    EXPECT_EQ(q.out, kPopup);
    ASSERT_EQ(popups.Log().size(), 1u);
    const auto& o = popups.Log()[0];
    EXPECT_EQ(o.kind, RecordingPopupOpener::Kind::BitsEditor);
    EXPECT_EQ(o.value, 1 << 23); // column 3 is bit 26 - 3
    EXPECT_EQ(o.firstDigit, 1);
    EXPECT_EQ(o.lastDigit, 7);
    EXPECT_EQ(o.style, 2);
    EXPECT_EQ(o.markStyle, 1);
    EXPECT_EQ(o.key, "GI_Sheet_Bits");
}

TEST(ConvDigitSetCell, TheEditorsAnswerSetsTheDigitsAndKeepsTheOtherBits) {
    cmcCellObj item;
    item.cellId = listcell::Flex0;
    cmcCellCapsule pick;
    pick.cell = &item;
    Request q = Request::Key();
    q.r.mode = cmcCellCapsule::kModePick;
    q.r.linkedRequest = &pick;
    q.r.editText = std::to_string((1 << 25) | (1 << 19));
    int32_t value = 0x21;
    EXPECT_EQ(ConvDigitSetCell(q.r, value, 1, 7, 0, "", q.out), 1);
    EXPECT_EQ(value, 0x83);
    EXPECT_EQ(q.r.displayText, "1_____7\n");
}

TEST(GetBitReversed24, CountsFromTheLastBitOfTheThirdByte) {
    const uint8_t bytes[3] = {0x80, 0x00, 0x01};
    EXPECT_EQ(GetBitReversed24(bytes, 3, 0), 1);
    EXPECT_EQ(GetBitReversed24(bytes, 3, 23), 1);
    EXPECT_EQ(GetBitReversed24(bytes, 3, 1), 0);
    EXPECT_EQ(GetBitReversed24(bytes, 2, 0), 0); // beyond the length
    EXPECT_EQ(GetBitReversed24(bytes, 3, 24), 0);
}

TEST(ConvToneCodeCell, WorksOnTheReceiveAndTransmitCodesOfTheRowRecords) {
    cmcEeprom image;
    image.SetSize(layout::kImageSize);
    image.SetByte(93817, 10); // the group digit
    const int32_t rx = 98560 + 34 * 3;
    image.SetByte(rx + 4, 'N');

    datCh receive(&image);
    receive.Load(10, 3);
    Request q = Request::Commit("12+4*");
    EXPECT_EQ(ConvToneCodeCell(q.r, receive, 7, true, q.out), 1);
    receive.StoreAndReload();
    EXPECT_EQ(image.GetByte(rx), 0x12);
    EXPECT_EQ(image.GetByte(rx + 1), 0x04);
    EXPECT_EQ(image.GetByte(rx + 2), 0xAF);
    EXPECT_EQ(image.GetByte(rx + 3), 0xFF);
    EXPECT_EQ(image.GetByte(rx + 28), 0x20);
    EXPECT_EQ(image.GetByte(rx + 4), 'N');
    EXPECT_EQ(q.r.displayText, "12+4*");

    const int32_t tx = 81872 + 4 * 5;
    image.SetByte(tx + 4, 0x3C); // the next transmit code
    datCh transmit(&image);
    transmit.Load(11, 5);
    Request t = Request::Commit("12345678");
    EXPECT_EQ(ConvToneCodeCell(t.r, transmit, 8, false, t.out), 1);
    transmit.StoreAndReload();
    EXPECT_EQ(image.GetByte(tx), 0x12);
    EXPECT_EQ(image.GetByte(tx + 3), 0x78);
    EXPECT_EQ(image.GetByte(tx + 4), 0x3C);
}
