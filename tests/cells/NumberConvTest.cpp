#include "cells/NumberConv.h"
#include "ConvFixture.h"

#include <gtest/gtest.h>

#include <string>

using convtest::Request;
using convtest::Table;
using namespace convtest::grid;

TEST(NumberHelpers, TextToRoundedIntKeepsDigitsPointAndMinusAndRoundsHalfAwayFromZero) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {{"12.5", 13}, {"-12.5", -13}, {"12.4", 12}, {"", 0},       {"abc", 0},
                 {"-", 0},     {".5", 1},      {"1-2", 1},   {" 4 2 ", 42}, {"1234567890", 123456789},
                 {"x-7y", -7}};
    for (const Case& c : cases)
        EXPECT_EQ(TextToRoundedInt(c.text), c.value) << c.text;
}

TEST(NumberHelpers, StripAndClamp) {
    std::string text = "a1.2-b:3";
    StripNonDigits(text, ":");
    EXPECT_EQ(text, "12:3");
    EXPECT_EQ(StripNonDigitsText("x9y8", ""), "98");
    int32_t v = 5;
    EXPECT_EQ(ClampToRange(0, 10, v), 0);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(ClampToRange(6, 10, v), 1);
    EXPECT_EQ(v, 6);
    EXPECT_EQ(ClampToRange(0, 3, v), 1);
    EXPECT_EQ(v, 3);
}

TEST(ConvIntCell, CommitsATypedNumber) {
    struct Case {
        const char* text;
        int32_t minimum, maximum, offset, step, start, value;
        int changed;
    } cases[] = {
        {"12.5", 0, 100, 0, 5, 0, 15, 1}, // 12.5 rounds to 13, then to the nearest multiple of 5
        {"12", 0, 100, 0, 5, 0, 10, 1},   //
        {"-12.5", -100, 100, 0, 5, 0, -15, 1},
        {"10", 0, 100, 1, 1, 0, 9, 1}, // shown with the offset, stored without
        {"-3", 0, 100, 0, 1, 7, 0, 1}, // limited to the range
        {"999", 0, 100, 0, 1, 7, 100, 1},
        {"abc", 0, 100, 0, 1, 7, 7, 0}, // no digit: nothing changes
        {"", 0, 100, 0, 1, 7, 7, 0},
        {"-", -100, 100, 0, 1, 7, 7, 0},
    };
    for (const Case& c : cases) {
        Request q = Request::Commit(c.text);
        int32_t value = c.start;
        EXPECT_EQ(
            ConvIntCell(q.r, value, c.minimum, c.maximum, c.offset, c.step, nullptr, false, false, q.out),
            c.changed)
            << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(q.out, 0);
        EXPECT_EQ(q.r.displayText, std::to_string(c.value + c.offset));
    }
}

TEST(ConvIntCell, ShowsTheValueWithItsOffsetOrTheFixedTextWholeTextSelected) {
    Request q = Request::Key();
    int32_t value = 7;
    EXPECT_EQ(ConvIntCell(q.r, value, 0, 100, 1, 1, nullptr, false, false, q.out), 0);
    EXPECT_EQ(q.r.displayText, "8");
    EXPECT_EQ(q.r.selStart, 0);
    EXPECT_EQ(q.r.selLength, 1);
    Request f = Request::Key();
    EXPECT_EQ(ConvIntCell(f.r, value, 0, 100, 0, 1, "Auto", false, false, f.out), 0);
    EXPECT_EQ(f.r.displayText, "Auto");
    EXPECT_EQ(f.r.selLength, 4);
}

TEST(ConvIntCell, SpaceAndBackspaceStepWrapOrSaturateAndRoundDownToTheStep) {
    struct Case {
        int32_t key, minimum, maximum, step;
        bool saturate;
        int32_t start, value;
    } cases[] = {
        {kSpace, 0, 10, 1, false, 4, 5},  {kBack, 0, 10, 1, false, 4, 3},   {kSpace, 0, 10, 1, false, 10, 0},
        {kBack, 0, 10, 1, false, 0, 10},  {kSpace, 0, 10, 1, true, 10, 10}, {kBack, 0, 10, 1, true, 0, 0},
        {kSpace, 0, 12, 5, false, 10, 0}, {kBack, 0, 12, 5, false, 0, 10},  {kSpace, 0, 100, 5, false, 7, 10},
    };
    for (const Case& c : cases) {
        Request q = Request::Key(c.key);
        int32_t value = c.start;
        EXPECT_EQ(ConvIntCell(q.r, value, c.minimum, c.maximum, 0, c.step, nullptr, false, c.saturate, q.out),
                  1);
        EXPECT_EQ(value, c.value) << c.start << " key " << c.key;
        EXPECT_EQ(q.r.displayText, std::to_string(c.value));
        EXPECT_EQ(q.out, 0);
    }
}

TEST(ConvIntCell, KeysThatOpenTheEditor) {
    struct Case {
        int32_t key, minimum, out;
        const char* text;
        int32_t selStart, selLength;
    } cases[] = {
        {'5', 0, kEditor, "5", 1, 0},   {kEnter, 0, kEditor, "42", 0, 2}, {256, 0, kEditor, "42", 0, 2},
        {'-', -10, kEditor, "-", 1, 0}, {'-', 0, 0, "42", 0, 2},          {'x', 0, 0, "42", 0, 2},
    };
    for (const Case& c : cases) {
        Request q = Request::Key(c.key);
        int32_t value = 42;
        EXPECT_EQ(ConvIntCell(q.r, value, c.minimum, 100, 0, 1, nullptr, false, false, q.out), 0);
        EXPECT_EQ(q.out, c.out) << c.key;
        EXPECT_EQ(q.r.displayText, c.text) << c.key;
        EXPECT_EQ(q.r.selStart, c.selStart) << c.key;
        EXPECT_EQ(q.r.selLength, c.selLength) << c.key;
    }
}

TEST(ConvIntCell, WithoutAnEditGridKeysDoNothing) {
    for (int32_t key : {int32_t('5'), kEnter, kSpace, kBack}) {
        Request q = Request::NoGrid(key);
        int32_t value = 42;
        EXPECT_EQ(ConvIntCell(q.r, value, 0, 100, 0, 1, nullptr, false, false, q.out), 0);
        EXPECT_EQ(value, 42);
        EXPECT_EQ(q.out, 0);
        EXPECT_EQ(q.r.displayText, "42");
    }
}

TEST(ConvIntCell, ClampCorrectsAValueOutOfRangeAndCountsItAsAChange) {
    Request q = Request::Key();
    int32_t value = 50;
    EXPECT_EQ(ConvIntCell(q.r, value, 0, 10, 0, 1, nullptr, true, false, q.out), 1);
    EXPECT_EQ(value, 10);
    EXPECT_EQ(q.r.displayText, "10");
    Request inside = Request::Key();
    EXPECT_EQ(ConvIntCell(inside.r, value, 0, 10, 0, 1, nullptr, true, false, inside.out), 0);
}

TEST(ConvIntCell, NarrowFieldsAreWrittenOnlyOnAChange) {
    Request q = Request::Commit("300");
    uint8_t byte = 7;
    EXPECT_EQ(ConvByteCell(q.r, byte, 0, 255, q.out), 1);
    EXPECT_EQ(byte, 255);
    Request none = Request::Commit("none");
    EXPECT_EQ(ConvByteCell(none.r, byte, 0, 255, none.out), 0);
    EXPECT_EQ(byte, 255);

    Request w = Request::Commit("40000");
    uint16_t word = 1;
    EXPECT_EQ(ConvIntCell16(w.r, word, 0, 65535, w.out), 1);
    EXPECT_EQ(word, 40000);

    Request s = Request::Commit("-100");
    int16_t level = -80;
    EXPECT_EQ(ConvIntCell16Signed(s.r, level, -120, -80, s.out), 1);
    EXPECT_EQ(level, -100);
    EXPECT_EQ(s.r.displayText, "-100");
}

TEST(ConvNumberCell, PadsToItsWidthAndRefusesTextsOutOfRange) {
    struct Case {
        const char* text;
        bool commit;
        int32_t key;
        bool noPad;
        int32_t start, value;
        int changed;
        const char* shown;
    } cases[] = {
        {"", false, 0, false, 7, 7, 0, "007"},        {"", false, 0, true, 7, 7, 0, "7"},
        {"abc", true, 0, false, 7, 7, 0, "007"},      {"12", true, 0, false, 7, 12, 1, "012"},
        {"5000", true, 0, false, 7, 7, 0, "007"},     {"0", true, 0, false, 7, 7, 0, "007"},
        {"", false, kSpace, false, 999, 1, 1, "001"}, {"", false, kBack, false, 1, 999, 1, "999"},
    };
    for (const Case& c : cases) {
        Request q = c.commit ? Request::Commit(c.text) : Request::Key(c.key);
        int32_t value = c.start;
        EXPECT_EQ(ConvNumberCell(q.r, value, 3, 1, 999, c.noPad, q.out), c.changed) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(q.r.displayText, c.shown) << c.text;
    }
}

TEST(ConvHexValueCell, ShowsFixedDigitsAndTakesOnlyHexadecimalTexts) {
    struct Case {
        const char* text;
        int32_t start, value;
        int changed;
        const char* shown;
    } cases[] = {
        {" ff ", 0, 0xFF, 1, "00FF"},     {"fg", 7, 7, 0, "0007"},        {"", 7, 7, 0, "0007"},
        {"12345", 0, 0xFFFF, 1, "FFFF"}, // cut to five digits, then limited
        {"123456", 0, 0xFFFF, 1, "FFFF"}, {"1A2b", 0, 0x1A2B, 1, "1A2B"},
    };
    for (const Case& c : cases) {
        Request q = Request::Commit(c.text);
        int32_t value = c.start;
        EXPECT_EQ(ConvHexValueCell(q.r, value, 0, 0xFFFF, 4, q.out), c.changed) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(q.r.displayText, c.shown) << c.text;
    }
}

TEST(ConvHexValueCell, SpaceAndBackspaceOpenTheEditorLikeEnter) {
    for (int32_t key : {kSpace, kBack, kEnter}) {
        Request q = Request::Key(key);
        int32_t value = 0x2C;
        EXPECT_EQ(ConvHexValueCell(q.r, value, 0, 0xFF, 2, q.out), 0);
        EXPECT_EQ(value, 0x2C);
        EXPECT_EQ(q.out, kEditor);
        EXPECT_EQ(q.r.displayText, "2C");
        EXPECT_EQ(q.r.selLength, 2);
    }
    Request typed = Request::Key('e');
    int32_t value = 0;
    ConvHexValueCell(typed.r, value, 0, 0xFF, 2, typed.out);
    EXPECT_EQ(typed.out, kEditor);
    EXPECT_EQ(typed.r.displayText, "e");
}

TEST(ConvFixedCell, ShowsTheValueWithItsDecimalsAndKeepsTheSignBetweenMinusOneAndZero) {
    struct Case {
        int32_t scale, shown, value;
        const char* text;
    } cases[] = {
        {1, 2, 125, " 12.50"}, {1, 1, -5, " -0.5"},   {2, 3, -1234, "-12.340"}, {1, 0, 125, " 12"},
        {2, 1, 125, "  1.2"},  {2, 2, -99, " -0.99"}, {0, 0, 0, "  0"},         {3, 3, 1500, "  1.500"},
    };
    for (const Case& c : cases) {
        Request q = Request::Key();
        int32_t value = c.value;
        ConvScaledCell(q.r, value, c.scale, c.shown, -100.0, 100.0, 1, false, false, q.out);
        EXPECT_EQ(q.r.displayText, c.text) << c.value;
    }
}

TEST(ConvFixedCell, SpaceWithoutSteppingOpensTheEditorOnTheTrimmedText) {
    struct Case {
        int32_t value, trimZeros;
        const char* text;
    } cases[] = {{125, 0, "12.50"}, {125, 1, "12.5"}, {120, 3, "12"}, {120, 1, "12.0"}, {-5, 1, "-0.5"}};
    for (const Case& c : cases) {
        Request q = Request::Key(kSpace);
        int32_t value = c.value;
        EXPECT_EQ(ConvFixedCell(q.r, value, 1, 2, -100.0, 100.0, 1, false, c.trimZeros, false, q.out), 0);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(q.out, kEditor);
        EXPECT_EQ(q.r.displayText, c.text) << c.value << " trim " << c.trimZeros;
        EXPECT_EQ(q.r.selStart, 0);
    }
}

TEST(ConvFixedCell, CommitsTheTypedNumberOnTheStepWithinTheLimits) {
    struct Case {
        const char* text;
        int32_t scale, step, start, value;
        int changed;
    } cases[] = {
        {"12.34", 1, 1, 0, 123, 1}, {"1.234", 2, 5, 0, 120, 1}, {"-0.5", 1, 1, 0, -5, 1},
        {"999", 1, 1, 0, 1000, 1},  {"-999", 1, 1, 0, -10, 1},  {"abc", 1, 1, 7, 7, 0},
        {"-", 1, 1, 7, 0, 1},    // something was typed: it reads as nothing, 0
        {"0.05", 1, 1, 0, 1, 1}, // 0.5 units rounds away from zero
    };
    for (const Case& c : cases) {
        Request q = Request::Commit(c.text);
        int32_t value = c.start;
        EXPECT_EQ(ConvScaledCell(q.r, value, c.scale, 2, -1.0, 100.0, c.step, true, false, q.out), c.changed)
            << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(ConvFixedCell, SteppingWrapsAtTheRawLimitsAndKeysOpenTheEditor) {
    struct Case {
        int32_t key, start, value, out;
        const char* text;
        int32_t selStart, selLength;
    } cases[] = {
        {kSpace, 330, 250, 0, " 25.0", 0, 5},  {kBack, 250, 330, 0, " 33.0", 0, 5},
        {kSpace, 300, 301, 0, " 30.1", 0, 5},  {'.', 300, 300, kEditor, "30.0", 3, 1},
        {'7', 300, 300, kEditor, "7", 1, 0},   {'-', 300, 300, kEditor, "-", 1, 0},
        {kEnter, 300, 300, kEditor, "", 0, 0}, // blank on edit
    };
    for (const Case& c : cases) {
        Request q = Request::Key(c.key);
        int32_t value = c.start;
        ConvScaledCell(q.r, value, 1, 1, 25.0, 33.0, 1, true, true, q.out);
        EXPECT_EQ(value, c.value) << c.key;
        EXPECT_EQ(q.out, c.out) << c.key;
        EXPECT_EQ(q.r.displayText, c.text) << c.key;
        EXPECT_EQ(q.r.selStart, c.selStart) << c.key;
        EXPECT_EQ(q.r.selLength, c.selLength) << c.key;
    }
}

class ConvRangeCellTest : public ::testing::Test {
protected:
    Table texts{{"#GI_AppInd_TimerOff", "OFF", "#End_Of_Ovl"}};
};

TEST_F(ConvRangeCellTest, ShowsThreeDecimalsOrTheOffTextAndKeepsTheSign) {
    struct Case {
        int32_t units, value, offMode, trim, key;
        const char* text;
    } cases[] = {
        {10, 0, 1, 0, 0, "OFF"},      {10, 0, 0, 0, 0, "  0.000"},    {10, 15, 1, 0, 0, "  1.500"},
        {10, 15, 1, 2, 0, "  1.5"},   {10, 20, 1, 4, 0, "  2"},       {1000, 1234, 0, 0, 0, "  1.234"},
        {10, -5, 0, 0, 0, " -0.500"}, {100, -250, 0, 1, 0, " -2.50"}, {3, 1, 0, 0, 0, "  0.333"},
    };
    for (const Case& c : cases) {
        Request q = Request::Key(c.key, texts.get());
        int32_t value = c.value;
        ConvRangeCell(q.r, value, c.units, -1000, 1000, c.offMode, c.trim, q.out);
        EXPECT_EQ(q.r.displayText, c.text) << c.value;
    }
}

TEST_F(ConvRangeCellTest, CommitsNumbersAndTheWordOff) {
    struct Case {
        const char* text;
        int32_t start, value;
        int changed;
    } cases[] = {
        {"1.5", 0, 15, 1}, {"off", 7, 0, 1},    {"OF", 7, 0, 1},     {"o", 7, 7, 0},     {"xyz", 7, 7, 0},
        {"99", 0, 255, 1}, {"0.0495", 0, 0, 1}, {"0.0996", 0, 1, 1}, {"Off 3", 7, 0, 1},
    };
    for (const Case& c : cases) {
        Request q = Request::Commit(c.text, texts.get());
        int32_t value = c.start;
        EXPECT_EQ(ConvRangeCell(q.r, value, 10, 0, 255, 1, 0, q.out), c.changed) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST_F(ConvRangeCellTest, AKeyShowsTheNumberEvenForOffAndStepsWrap) {
    Request q = Request::Key(kEnter, texts.get());
    int32_t value = 0;
    ConvRangeCell(q.r, value, 10, 0, 255, 1, 0, q.out);
    EXPECT_EQ(q.out, kEditor);
    EXPECT_EQ(q.r.displayText, "0.000");

    Request back = Request::Key(kBack, texts.get());
    EXPECT_EQ(ConvRangeCell(back.r, value, 10, 0, 255, 1, 0, back.out), 1);
    EXPECT_EQ(value, 255);
    EXPECT_EQ(back.r.displayText, " 25.500");

    for (int32_t key : {int32_t('o'), int32_t('O'), int32_t('.'), int32_t('3')}) {
        Request typed = Request::Key(key, texts.get());
        ConvRangeCell(typed.r, value, 10, 0, 255, 1, 0, typed.out);
        EXPECT_EQ(typed.out, kEditor);
        EXPECT_EQ(typed.r.displayText, std::string(1, char(key)));
    }
}

TEST_F(ConvRangeCellTest, TheByteFormIsWrittenOnlyOnAChange) {
    Request q = Request::Key(0, texts.get());
    uint8_t byte = 25;
    EXPECT_EQ(ConvByteRangeCell(q.r, byte, 10, 0, q.out), 0);
    EXPECT_EQ(q.r.displayText, "  2.500");
    Request c = Request::Commit("3.04", texts.get());
    EXPECT_EQ(ConvByteRangeCell(c.r, byte, 10, 0, c.out), 1);
    EXPECT_EQ(byte, 30);
}

TEST(ConvTimeCell, ShowsAndTakesMinutesAndSecondsInSteps) {
    struct Case {
        const char* text;
        int32_t start, value;
        int changed;
        const char* shown;
    } cases[] = {
        {"1:08", 0, 5, 1, " 1:15"}, {"1:07", 0, 4, 1, " 1:00"},     {"123:45", 3, 3, 0, " 0:45"},
        {":30", 0, 2, 1, " 0:30"},  {"2", 0, 8, 1, " 2:00"},        {"99:00", 0, 40, 1, "10:00"},
        {"0:00", 9, 1, 1, " 0:15"}, {"a1b:c2d2", 0, 5, 1, " 1:15"},
    };
    for (const Case& c : cases) {
        Request q = Request::Commit(c.text);
        int32_t value = c.start;
        EXPECT_EQ(ConvTimeCell(q.r, value, 15, 600, 15, q.out), c.changed) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(q.r.displayText, c.shown) << c.text;
    }
}

TEST(ConvTimeCell, StepsWrapBetweenTheLimitsAndKeysOpenTheEditor) {
    Request q = Request::Key(kSpace);
    int32_t value = 40;
    EXPECT_EQ(ConvTimeCell(q.r, value, 15, 600, 15, q.out), 1);
    EXPECT_EQ(value, 1);
    Request b = Request::Key(kBack);
    EXPECT_EQ(ConvTimeCell(b.r, value, 15, 600, 15, b.out), 1);
    EXPECT_EQ(value, 40);
    Request e = Request::Key(kEnter);
    ConvTimeCell(e.r, value, 15, 600, 15, e.out);
    EXPECT_EQ(e.out, kEditor);
    EXPECT_EQ(e.r.displayText, "10:00");
    Request colon = Request::Key(':');
    ConvTimeCell(colon.r, value, 15, 600, 15, colon.out);
    EXPECT_EQ(colon.out, kEditor);
    EXPECT_EQ(colon.r.displayText, ":");
}

TEST(ConvFixedCell, TrimmingTakesOnlyDecimalsNeverTheWholeNumber) {
    Request q = Request::Key();
    int32_t value = 120;
    ConvFixedCell(q.r, value, 0, 0, 0.0, 1000.0, 1, false, 3, false, q.out);
    EXPECT_EQ(q.r.displayText, "120");
}
