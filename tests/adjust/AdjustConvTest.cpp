#include "adjust/AdjustConv.h"
#include "adjust/AdjustRecords.h"
#include "image/ImageLayout.h"
#include "tests/cells/ConvFixture.h"
#include "tests/image/ScopedModel.h"
#include "tests/support/ScopedShift.h"

#include <gtest/gtest.h>

namespace {

using convtest::Request;
namespace grid = convtest::grid;

struct Step {
    const char* what;
    int32_t minimum, maximum;
    bool shift;
    int32_t before;
    Request request;
    int32_t after;
    int result;
};

TEST(AdjustConvTest, SteppedValuesStayInRange) {
    const Step cases[] = {
        {"Right at 255", 0, 255, false, 255, Request::Key(adj::kKeyRight), 255, 1},
        {"Left at 0", 0, 255, false, 0, Request::Key(adj::kKeyLeft), 0, 1},
        {"Right at 17", 0, 255, false, 17, Request::Key(adj::kKeyRight), 18, 1},
        {"Shift Right at 3", 0, 255, true, 3, Request::Key(adj::kKeyRight), 5, 1},
        {"Shift Left at 3", 0, 255, true, 3, Request::Key(adj::kKeyLeft), 0, 1},
        {"Shift Right at 253", 0, 255, true, 253, Request::Key(adj::kKeyRight), 255, 1},
        {"Shift Left at 3 of 1..14", 1, 14, true, 3, Request::Key(adj::kKeyLeft), 1, 1},
        {"Shift Right at 12 of 1..14", 1, 14, true, 12, Request::Key(adj::kKeyRight), 14, 1},
        {"typed 7 with Shift", 0, 255, true, 100, Request::Commit("7"), 5, 1},
        {"typed 8 with Shift", 0, 255, true, 100, Request::Commit("8"), 10, 1},
        {"typed 300", 0, 255, false, 100, Request::Commit("300"), 255, 1},
        {"typed -4", 0, 255, false, 100, Request::Commit("-4"), 0, 1},
        {"typed letters", 0, 255, false, 100, Request::Commit("abc"), 100, 0},
        {"typed 41 of 0..41", 0, 41, false, 3, Request::Commit("41.4"), 41, 1},
        {"arrows outside a grid", 0, 255, false, 9, Request::NoGrid(adj::kKeyRight), 9, 0},
    };
    for (Step c : cases) {
        int32_t v = c.before;
        testsupport::ScopedShift shift(c.shift);
        const int r = adj::ConvAdjustCell(c.request.r, 0, v, c.minimum, c.maximum, c.request.out);
        EXPECT_EQ(v, c.after) << c.what;
        EXPECT_EQ(r, c.result) << c.what;
    }
}

TEST(AdjustConvTest, KeysOpenTheEditorOrAct) {
    struct Case {
        const char* what;
        int32_t enterMode;
        int32_t key;
        int result;
        int32_t out;
        std::string shown;
    };
    const Case cases[] = {
        {"digit", 0, '4', 0, grid::kEditor, "4"},
        {"Enter, mode 0", 0, grid::kEnter, 0, grid::kEditor, "77"},
        {"Enter, mode 1", 1, grid::kEnter, 2, 0, "77"},
        {"digit, mode 1", 1, '9', 0, grid::kEditor, "9"},
        {"minus without negatives", 0, '-', 0, 0, "77"},
    };
    for (const Case& c : cases) {
        Request q = Request::Key(c.key);
        int32_t v = 77;
        EXPECT_EQ(adj::ConvAdjustCell(q.r, c.enterMode, v, 0, 255, q.out), c.result) << c.what;
        EXPECT_EQ(q.out, c.out) << c.what;
        EXPECT_EQ(q.r.displayText, c.shown) << c.what;
        EXPECT_EQ(v, 77) << c.what;
    }
}

TEST(AdjustConvTest, IntStepCellShowsItsOffsetOrFixedText) {
    Request q = Request::NoGrid(0);
    int32_t v = 5;
    adj::ConvIntStepCell(q.r, 0, v, 0, 41, 1, 1, nullptr, false, q.out);
    EXPECT_EQ(q.r.displayText, "6");
    Request commit = Request::Commit("10");
    adj::ConvIntStepCell(commit.r, 0, v, 0, 41, 1, 1, nullptr, false, commit.out);
    EXPECT_EQ(v, 9);
    Request fixed = Request::NoGrid(0);
    int32_t out = 99;
    EXPECT_EQ(adj::ConvIntStepCell(fixed.r, 0, out, 0, 41, 0, 1, "OFF", true, fixed.out), 1);
    EXPECT_EQ(fixed.r.displayText, "OFF");
    EXPECT_EQ(out, 41);
}

TEST(AdjustConvTest, LevelBar) {
    struct Case {
        int32_t value;
        size_t hashes;
    };
    for (const Case c :
         {Case{0, 0}, Case{127, 9}, Case{128, 10}, Case{255, 20}, Case{300, 20}, Case{-5, 0}}) {
        Request q = Request::NoGrid(0);
        adj::FormatLevelBar(q.r, c.value, 0, 255);
        EXPECT_EQ(q.r.displayText, "[" + std::string(c.hashes, '#') + std::string(20 - c.hashes, '-') + "]")
            << c.value;
    }
}

TEST(AdjustConvTest, ScaledByteShownAndTyped) {
    struct Case {
        const char* what;
        int32_t before;
        Request request;
        int32_t after;
        std::string shown;
        int result;
    };
    const Case cases[] = {
        {"byte 0", 0, Request::NoGrid(0), 0, "  0.000", 0},
        {"byte 1", 1, Request::NoGrid(0), 1, "  0.011", 0},
        {"byte 255", 255, Request::NoGrid(0), 255, "  2.789", 0},
        {"typed 1.5", 0, Request::Commit("1.5"), 137, "  1.500", 1},
        {"typed 0", 50, Request::Commit("0"), 1, "  0.010", 1},
        {"typed 9", 50, Request::Commit("9"), 255, "  2.789", 1},
        {"typed 12.345", 50, Request::Commit("12.345"), 255, "  2.789", 1},
        {"typed letters", 50, Request::Commit("x"), 50, "  0.547", 0},
        {"Space at 255", 255, Request::Key(grid::kSpace), 1, "  2.789", 1},
        {"Backspace at 1", 1, Request::Key(grid::kBack), 255, "  0.011", 1},
    };
    for (Case c : cases) {
        int32_t v = c.before;
        EXPECT_EQ(adj::ConvScaledByteCell(c.request.r, v, c.request.out), c.result) << c.what;
        EXPECT_EQ(v, c.after) << c.what;
        EXPECT_EQ(c.request.r.displayText, c.shown) << c.what;
    }
    // What was stored shows as the byte gives it back.
    Request again = Request::NoGrid(0);
    int32_t v = 137;
    adj::ConvScaledByteCell(again.r, v, again.out);
    EXPECT_EQ(again.r.displayText, "  1.498");
}

TEST(AdjustConvTest, ScaledByteKeysOpenTheEditor) {
    Request dot = Request::Key('.');
    int32_t v = 255;
    adj::ConvScaledByteCell(dot.r, v, dot.out);
    EXPECT_EQ(dot.out, grid::kEditor);
    EXPECT_EQ(dot.r.selStart, 4); // behind the point of "  2.789"
    Request enter = Request::Key(grid::kEnter);
    adj::ConvScaledByteCell(enter.r, v, enter.out);
    EXPECT_EQ(enter.out, grid::kEditor);
    EXPECT_EQ(enter.r.displayText, "2.789");
    Request digit = Request::Key('3');
    adj::ConvScaledByteCell(digit.r, v, digit.out);
    EXPECT_EQ(digit.r.displayText, "3");
    EXPECT_EQ(v, 255);
}

} // namespace

namespace {

using convtest::PickedItem;

struct ChannelRow {
    testimage::ScopedModel model{0};
    cmcEeprom image;
    adj::datCh record;
    ChannelRow() {
        image.SetSize(layout::kImageSize);
        record.image = &image;
        record.Load(1, 0);
    }
};

TEST(AdjustConvTest, FrequencyTypedShownAndCopied) {
    ChannelRow row;
    row.record.flagA = 0; // not in use
    // Enter on a channel not in use opens an empty editor.
    Request enter = Request::Key(grid::kEnter);
    adj::ConvFrequencyCell(enter.r, row.record, true, enter.out);
    EXPECT_EQ(enter.out, grid::kEditor);
    EXPECT_EQ(enter.r.displayText, "");
    // Its first receive frequency is its transmit frequency too.
    Request typed = Request::Commit("146.52");
    EXPECT_EQ(adj::ConvFrequencyCell(typed.r, row.record, true, typed.out), 1);
    EXPECT_EQ(row.record.rxFreq, 146520000u);
    EXPECT_EQ(row.record.txFreq, 146520000u);
    EXPECT_TRUE(row.record.InUse());
    EXPECT_EQ(typed.r.displayText, "146.520000");
    Request tx = Request::NoGrid(0);
    adj::ConvFrequencyCell(tx.r, row.record, false, tx.out);
    EXPECT_EQ(tx.r.displayText, "<-");
    // 900 MHz is beyond the raster: the frequency stays.
    Request far = Request::Commit("900");
    EXPECT_EQ(adj::ConvFrequencyCell(far.r, row.record, true, far.out), 0);
    EXPECT_EQ(row.record.rxFreq, 146520000u);
    // '=' on the transmit cell opens the editor on the receive frequency.
    row.record.txFreq = 150000000;
    Request equals = Request::Key('=');
    adj::ConvFrequencyCell(equals.r, row.record, false, equals.out);
    EXPECT_EQ(equals.out, grid::kEditor);
    EXPECT_EQ(equals.r.displayText, "146.520000");
}

TEST(AdjustConvTest, ToneCodesWithMarksAndWildcards) {
    ChannelRow row;
    adj::datCh code(&row.image);
    code.Load(12, 2);
    code.wildcard = 14;
    Request typed = Request::Commit("1+*G3f");
    EXPECT_EQ(adj::ConvToneCodeCell(typed.r, code, 8, 1, typed.out), 1);
    EXPECT_EQ(typed.r.displayText, "1+**3");
    EXPECT_EQ(code.codeMarks, 0x40);
    EXPECT_EQ(code.code[0], 0x10);
    EXPECT_EQ(code.code[1], 0xEE);
    // The transmit code takes no '+'.
    adj::datCh tx(&row.image);
    tx.Load(13, 0);
    Request noPlus = Request::Commit("12+3");
    adj::ConvToneCodeCell(noPlus.r, tx, 8, 0, noPlus.out);
    EXPECT_EQ(noPlus.r.displayText, "123");
    Request key = Request::Key('G');
    adj::ConvToneCodeCell(key.r, tx, 8, 0, key.out);
    EXPECT_EQ(key.out, grid::kEditor);
    EXPECT_EQ(key.r.displayText, "G");
}

TEST(AdjustConvTest, FlagDigits) {
    struct Case {
        int32_t key;
        int32_t before, after;
        std::string shown;
    };
    // Numbers 1..11 in bits 10 (number 1) down to 0 (number 11).
    const Case cases[] = {
        {'1', 0, 0x400, "1__________\n"},
        {'0', 0, 0x002, "_________0_\n"},
        {'Z', 0, 0x001, "__________Z\n"},
        {'z', 0x001, 0, "___________\n"},
        {grid::kSpace, 0, 0x7FF, "1234567890Z\n"},
        {grid::kSpace, 0x010, 0, "___________\n"},
        {grid::kBack, 0x7F0, 0x00F, "_______890Z\n"},
    };
    for (const Case& c : cases) {
        int32_t v = c.before;
        // Keys count outside a grid as well.
        Request q = Request::NoGrid(c.key);
        EXPECT_EQ(adj::ConvFlagDigitsCell(q.r, v, 1, 11, 0, "", q.out), 1) << c.key;
        EXPECT_EQ(v, c.after) << c.key;
        Request show = Request::NoGrid(0);
        adj::ConvFlagDigitsCell(show.r, v, 1, 11, 0, "", show.out);
        EXPECT_EQ(show.r.displayText, c.shown) << c.key;
    }
}

TEST(AdjustConvTest, FiveMarkItems) {
    struct Case {
        int32_t item;
        uint8_t before, after;
        int result;
    };
    const Case cases[] = {
        {1, 0x00, 0x01, 1}, {2, 0x00, 0x02, 1}, {3, 0x08, 0x04, 1},
        {4, 0x04, 0x08, 1}, {5, 0x10, 0x00, 1}, {6, 0x00, 0x00, 0},
    };
    for (const Case& c : cases) {
        PickedItem pick;
        Request q = pick.Pick(1, c.item);
        uint8_t marks = c.before;
        EXPECT_EQ(adj::ConvMarkFlagsCell(q.r, "GI_Sheet_Sel_Mch_Atr", marks, q.out), c.result) << c.item;
        EXPECT_EQ(marks, c.after) << c.item;
    }
    Request show = Request::NoGrid(0);
    uint8_t marks = 0x07;
    adj::ConvMarkFlagsCell(show.r, "GI_Sheet_Sel_Mch_Atr", marks, show.out);
    EXPECT_EQ(show.r.displayText, "ABE");
}

TEST(AdjustConvTest, ProgrammedChannelsInARange) {
    ChannelRow row;
    row.image.SetWord(65408 + 30 * 3, 0x0800);
    row.image.SetWord(65408 + 30 * 9, 0x0800);
    EXPECT_EQ(adj::CountProgrammedChannelRange(row.image, 0, 511), 2);
    EXPECT_EQ(adj::CountProgrammedChannelRange(row.image, 4, 9), 1);
    EXPECT_EQ(adj::CountProgrammedChannelRange(row.image, 9, 4), -1);
    EXPECT_EQ(adj::CountProgrammedChannelRange(row.image, 0, 512), -1);
    EXPECT_EQ(adj::ModelClassOfKind(7), 3);
    EXPECT_EQ(adj::ModelClassOfKind(0), 1);
}

} // namespace
