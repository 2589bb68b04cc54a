#include "cells/cmcFCache.h"
#include "tests/cells/CellTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using celltest::FatalText;
using celltest::ScopedOverlay;

namespace {

// Flex0 is cell id 1, Flex1 id 2.
class FCacheTest : public ::testing::Test {
protected:
    ScopedOverlay overlay_{{
        "#GI_Sel_Unsorted_Cells", "{(%Flex0[5])}Five|{(%Flex0[1]:One)}Ignored|{(%Flex0[3])}Three",
        "#GI_Sel_Columns_Cells", "{(%Flex0[1])}a|{(%Flex1[9])}x|{(%Flex0[4])}d",
        "{(%Flex0[2])}b|{(%Flex1[9])}x|{(%Flex0[5])}e", "{(%Flex0[3])}c|{(%Flex1[9])}x|{(%Flex0[6])}f",
        "#GI_Sel_Numbered_Cells", "{(@ch0++)(%Flex0[@ch0])}p|{(@ch0++)(%Flex0[@ch0])}q",
        "{(@ch0++)(%Flex0[@ch0])}r", "#GI_Sel_Next_Cells", "{(%Flex0[7])}Seven", "#GI_Sel_Empty_Cells",
        "#GI_Sel_Last_Cells", "{(%Flex0[0])}Zero|{(%Flex0[1])}One",
        // No "#End_Of_Ovl": the overlay simply ends after this key.
    }};
    cmcFCache cache_;
};

TEST_F(FCacheTest, TextOfEachValueAndErrorForOthers) {
    struct Case {
        int32_t value;
        const char* text;
    } cases[] = {
        {1, "One"}, // an argument stands before the caption
        {3, "Three"}, {5, "Five"}, {2, "error"}, {0, "error"}, {6, "error"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cache_.Text("GI_Sel_Unsorted", 1, c.value), c.text) << c.value;
}

TEST_F(FCacheTest, ScreenOrderRunsColumnByColumn) {
    EXPECT_EQ(cache_.Text("GI_Sel_Columns", 1, 5), "e");
    struct Case {
        int32_t current, delta, next;
    } cases[] = {
        {1, 1, 2},  {2, 1, 3},  {3, 1, 4}, {4, 1, 5},  {5, 1, 6}, {6, 1, 1},
        {1, -1, 6}, {4, -1, 3}, {7, 1, 1}, {7, -1, 1}, // a value not in the list steps from past the end
    };
    for (const Case& c : cases) {
        int32_t out = -99;
        ASSERT_TRUE(cache_.Step("GI_Sel_Columns", 1, c.current, c.delta, out));
        EXPECT_EQ(out, c.next) << c.current << " " << c.delta;
    }
    // The other cells of the lines are a list of their own.
    EXPECT_EQ(cache_.Text("GI_Sel_Columns", 2, 9), "x");
}

TEST_F(FCacheTest, StepBeforeTheListIsLoadedIsRefused) {
    int32_t out = 42;
    EXPECT_FALSE(cache_.Step("GI_Sel_Columns", 1, 1, 1, out));
    EXPECT_EQ(out, 42);
    std::string text;
    EXPECT_FALSE(cache_.Find("GI_Sel_Columns", 1, 1, text));
}

TEST_F(FCacheTest, ListWithoutItemsReadsErrorAndStepsNowhere) {
    EXPECT_EQ(cache_.Text("GI_Sel_Unsorted", 2, 1), "error");
    EXPECT_EQ(cache_.Text("GI_Sel_Empty", 1, 0), "error");
    struct Case {
        const char* name;
        int32_t cellId;
    } cases[] = {{"GI_Sel_Unsorted", 2}, {"GI_Sel_Empty", 1}};
    for (const Case& c : cases) {
        int32_t out = 3;
        EXPECT_FALSE(cache_.Step(c.name, c.cellId, 3, 1, out)) << c.name;
        EXPECT_EQ(out, 3) << c.name;
    }
}

TEST_F(FCacheTest, ListEndsWithItsOwnLines) {
    // Value 7 belongs to the next key, not to the numbered list before it.
    EXPECT_EQ(cache_.Text("GI_Sel_Numbered", 1, 7), "error");
    // The last key of an overlay without an end line is read to the end, not past it.
    EXPECT_EQ(cache_.Text("GI_Sel_Last", 1, 1), "One");
    int32_t out = 0;
    ASSERT_TRUE(cache_.Step("GI_Sel_Last", 1, 1, 1, out));
    EXPECT_EQ(out, 0);
}

TEST_F(FCacheTest, ItemsMayBeNumberedByChannelParameters) {
    EXPECT_EQ(cache_.Text("GI_Sel_Numbered", 1, 1), "p");
    EXPECT_EQ(cache_.Text("GI_Sel_Numbered", 1, 2), "q");
    EXPECT_EQ(cache_.Text("GI_Sel_Numbered", 1, 3), "r");
}

TEST_F(FCacheTest, EachListIsParsedOnce) {
    cache_.Text("GI_Sel_Columns", 1, 1);
    long reads = overlay_.Table().SourceLineReads();
    ASSERT_GT(reads, 0);
    for (int32_t v = 0; v < 10; ++v)
        cache_.Text("GI_Sel_Columns", 1, v);
    int32_t out = 0;
    cache_.Step("GI_Sel_Columns", 1, 1, 1, out);
    EXPECT_EQ(overlay_.Table().SourceLineReads(), reads);
    cache_.Text("GI_Sel_Columns", 2, 9);
    EXPECT_GT(overlay_.Table().SourceLineReads(), reads) << "another cell id is another list";
}

TEST_F(FCacheTest, LoadingAListTwiceIsFatal) {
    cache_.Load("GI_Sel_Unsorted", 1);
    EXPECT_EQ(FatalText([&] { cache_.Load("GI_Sel_Unsorted", 1); }), "Overlapped Hash2 table.");
}

TEST_F(FCacheTest, MissingDefinitionIsTheTextTablesFatalError) {
    EXPECT_EQ(FatalText([&] { cache_.Text("GI_Sel_Nope", 1, 0); }),
              "GTEX Error !\nThe index 'GI_Sel_Nope_Cells' was not found.");
}

} // namespace
