#include "adjust/AdjustConv.h"
#include "tests/cells/ConvFixture.h"

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
        const int r = adj::ConvAdjustCell(c.request.r, 0, v, c.minimum, c.maximum, c.shift, c.request.out);
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
        EXPECT_EQ(adj::ConvAdjustCell(q.r, c.enterMode, v, 0, 255, false, q.out), c.result) << c.what;
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
