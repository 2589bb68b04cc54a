#include "foundation/TextUtil.h"
#include "foundation/cmcScrBlock.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(const cmcBuff& b) {
    return {b.Data(), b.Data() + b.Size()};
}

TEST(GetField, SplitsAtTheSeparator) {
    struct Case {
        const char* text;
        int n;
        std::optional<std::string> field;
    } cases[] = {
        {"a,,b", 0, "a"},           {"a,,b", 1, ""}, {"a,,b", 2, "b"},      {"a,,b", 3, std::nullopt},
        {"a,,b", -1, std::nullopt}, {"", 0, ""},     {"", 1, std::nullopt}, {"a,", 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetField(c.text, ',', c.n), c.field) << c.text << " #" << c.n;
}

TEST(GetField, AnyOfASetOfSeparators) {
    EXPECT_EQ(GetFieldAnyOf("a;b,c", ",;", 1), "b");
    EXPECT_EQ(GetFieldAnyOf("a;b,c", ",;", 2), "c");
    EXPECT_EQ(GetFieldAnyOf("a;b,c", ",", 0), "a;b");
    EXPECT_EQ(SplitFields("a;b,c", ",;"), (std::vector<std::string>{"a", "b", "c"}));
}

// Lead bytes 0x81-0x9F: "\x82," is one double-byte character whose trail byte is a comma.
class DoubleByteText : public ::testing::Test {
protected:
    void SetUp() override { plat::SetCodePage(&page_); }
    void TearDown() override { plat::SetCodePage(nullptr); }
    plat::DoubleByteCodePage page_;
};

TEST_F(DoubleByteText, TrailByteEqualToTheSeparatorDoesNotSplit) {
    EXPECT_EQ(GetField("A\x82,B,C", ',', 0), "A\x82,B");
    EXPECT_EQ(GetField("A\x82,B,C", ',', 1), "C");
    EXPECT_EQ(GetField("A\x82,B,C", ',', 2), std::nullopt);
    EXPECT_EQ(GetFieldAnyOf("\x82;x;y", ";", 1), "y");
}

TEST_F(DoubleByteText, TrailingBlankOfADoubleByteCharacterStays) {
    std::string text = " ab\x82  ";
    EXPECT_EQ(TrimBlanks(text), "ab\x82 ");
}

TEST_F(DoubleByteText, ScriptArgumentsSplitOnlyAtRealCommas) {
    cmcScrBlock block("CMD \x82,x, y");
    EXPECT_EQ(block.Text(), "CMD");
    ASSERT_EQ(block.Count(), 2);
    EXPECT_EQ(block.Word(0), "\x82,x");
    EXPECT_EQ(block.Word(1), "y");
}

TEST(Blanks, SkipTrimAndRemove) {
    EXPECT_EQ(SkipBlanks(" \t x "), 3u);
    EXPECT_EQ(SkipBlanks("  "), 2u);
    struct Case {
        std::string text, trimmed, removed;
    } cases[] = {
        {" \ta b\t ", "a b", "ab"},
        {"", "", ""},
        {" \t ", "", ""},
        {"x", "x", "x"},
    };
    for (Case c : cases) {
        std::string text = c.text;
        EXPECT_EQ(TrimBlanks(text), c.trimmed);
        text = c.text;
        EXPECT_EQ(RemoveBlanks(text), c.removed);
    }
}

TEST(HexToBytes, PairsDigitsAndSkipsTheRest) {
    struct Case {
        const char* text;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"0A b-C", {0x0A, 0xBC}},
        {"ABC", {0xAB, 0xC0}},
        {"xyz -", {}},
        {"", {}},
        {"FEFE EE EF E0 3412 00FF FD", {0xFE, 0xFE, 0xEE, 0xEF, 0xE0, 0x34, 0x12, 0x00, 0xFF, 0xFD}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bytes(HexToBytes(c.text)), c.bytes) << c.text;
}

TEST(CharacterTests, PrintableAndInRange) {
    EXPECT_FALSE(IsPrintable(31));
    EXPECT_TRUE(IsPrintable(32));
    EXPECT_TRUE(IsPrintable(126));
    EXPECT_FALSE(IsPrintable(127));
    EXPECT_TRUE(InRange(5, 5, 9));
    EXPECT_TRUE(InRange(9, 5, 9));
    EXPECT_FALSE(InRange(10, 5, 9));
    EXPECT_FALSE(InRange(4, 5, 9));
}

TEST(cmcScrBlock, HeadWordAndTrimmedArguments) {
    cmcScrBlock block("CMD a , b,c");
    EXPECT_EQ(block.Text(), "CMD");
    ASSERT_EQ(block.Count(), 3);
    EXPECT_EQ(block.Word(0), "a");
    EXPECT_EQ(block.Word(1), "b");
    EXPECT_EQ(block.Word(2), "c");
    EXPECT_EQ(block.Word(3), "");
    EXPECT_EQ(block.Word(-1), "");

    cmcScrBlock bare("\tCMD,x\t");
    EXPECT_EQ(bare.Text(), "CMD,x");
    EXPECT_EQ(bare.Count(), 0) << "no blank, no arguments";
}

} // namespace
