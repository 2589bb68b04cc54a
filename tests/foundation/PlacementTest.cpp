#include "foundation/Placement.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Placement : public ::testing::Test {
protected:
    // Work area from (10, 20) to (810, 620).
    void SetUp() override { plat::SetScreen(&screen_); }
    void TearDown() override { plat::SetScreen(nullptr); }
    plat::FixedScreen screen_{{0, 0, 1000, 700}, {10, 20, 800, 600}};
};

TEST_F(Placement, ClampToWorkArea) {
    struct Case {
        plat::Rect control;
        int left, top;
    } cases[] = {
        {{100, 100, 200, 100}, 100, 100}, {{700, 100, 200, 100}, 610, 100}, {{0, 0, 200, 100}, 10, 20},
        {{100, 600, 200, 100}, 100, 520}, {{500, 500, 900, 700}, 10, 20},
    };
    for (Case c : cases) {
        ClampToWorkArea(c.control);
        EXPECT_EQ(c.control.left, c.left);
        EXPECT_EQ(c.control.top, c.top);
    }
}

TEST_F(Placement, CenterOnFormRoundsTowardZeroThenClamps) {
    plat::Rect control{0, 0, 201, 101};
    CenterOnForm(control, {300, 200, 100, 50});
    EXPECT_EQ(control.left, 300 - 50);
    EXPECT_EQ(control.top, 200 - 25);

    plat::Rect wide{0, 0, 300, 100};
    CenterOnForm(wide, {650, 200, 100, 100});
    EXPECT_EQ(wide.left, 810 - 300);
    EXPECT_EQ(wide.top, 200);
}

// Work area from (10, 20) to (810, 620), margin 16.
TEST(KeepFormReachable, MovesAFormOutsideTheWorkAreaBackWithinTheMargin) {
    const plat::Rect work{10, 20, 800, 600};
    struct Case {
        plat::Rect form;
        int left, top;
    } cases[] = {
        {{100, 100, 400, 300}, 100, 100},            // inside: unchanged
        {{2000, 100, 400, 300}, 810 - 16, 100},      // right of the work area
        {{100, 900, 400, 300}, 100, 620 - 16},       // below it
        {{-900, 100, 400, 300}, 10 + 16 - 400, 100}, // left of it: its right edge 16 inside
        {{100, -50, 400, 300}, 100, 20},             // above it: top at the work area's top
        {{794, 604, 400, 300}, 794, 604},            // exactly at the margin: unchanged
    };
    for (Case c : cases) {
        KeepFormReachable(c.form, work, 16);
        EXPECT_EQ(c.form.left, c.left);
        EXPECT_EQ(c.form.top, c.top);
        EXPECT_EQ(c.form.width, 400);
    }
}

// Seven pixels a character, lines 10 high.
class FixedPitch : public TextMeasurer {
public:
    int TextWidth(const std::string& line) const override { return 7 * int(line.size()); }
    int TextHeight(const std::string&) const override { return 10; }
};

TEST(MeasureText, WidestLineAndAllLinesHigh) {
    FixedPitch canvas;
    struct Case {
        const char* text;
        int width, height;
    } cases[] = {{"ab\ncdef\n", 28, 30}, {"", 0, 10}, {"abc", 21, 10}};
    for (const Case& c : cases) {
        TextExtent e = MeasureText(canvas, c.text);
        EXPECT_EQ(e.width, c.width) << c.text;
        EXPECT_EQ(e.height, c.height) << c.text;
    }
}

} // namespace
