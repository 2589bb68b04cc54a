#include "cells/Segchar.h"
#include "foundation/cmcGTex.h"
#include "platform/Fatal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A text table over lines given by the test; keeps them alive as long as the table.
struct Table {
    explicit Table(std::vector<std::string> lines) : text(std::move(lines)) {
        for (const std::string& s : text)
            ptrs.push_back(s.c_str());
        ptrs.push_back(nullptr);
        gtex.SetLines(ptrs.data());
    }
    std::vector<std::string> text;
    std::vector<const char*> ptrs;
    cmcGTex gtex;
};

std::string FatalText(const std::vector<std::string>& lines) {
    Table t(lines);
    try {
        Segchar s(t.gtex);
    } catch (const plat::FatalError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(Segchar, ReadsOutlineAndFilledSegmentsWithTheirBounds) {
    Table t({"#GI_PCG_Seg_Data", " -1 | (0, 0) (2,0)(1 ,3) ", "2|(5,6),(7,8),(9,10)|(-4,1)(0,0)(3,-2)",
             "#Next", "x", "#End_Of_Ovl"});
    Segchar s(t.gtex);
    ASSERT_EQ(s.Count(), 2);
    const Segment* outline = s.At(0);
    ASSERT_NE(outline, nullptr);
    EXPECT_EQ(outline->Number(), 0);
    EXPECT_EQ(outline->Filled(), 0);
    ASSERT_EQ(outline->Count(), 1);
    EXPECT_EQ(outline->Triangle(0).points[1].x, 2);
    EXPECT_EQ(outline->Triangle(0).points[2].y, 3);
    const Segment* filled = s.At(1);
    ASSERT_NE(filled, nullptr);
    EXPECT_EQ(filled->Filled(), 1);
    ASSERT_EQ(filled->Count(), 2);
    EXPECT_EQ(filled->Triangle(1).number, 1);
    EXPECT_EQ(filled->Triangle(1).points[0].x, -4);
    EXPECT_EQ(s.MinX(), -4);
    EXPECT_EQ(s.MinY(), -2);
    EXPECT_EQ(s.MaxX(), 9);
    EXPECT_EQ(s.MaxY(), 10);
}

TEST(Segchar, ThreeSegmentLinesBeforeTheNextKeyGiveThreeSegments) {
    Table t({"#GI_PCG_Seg_Data", "1|(0,0)(1,0)(0,1)", "1|(0,0)(1,0)(0,1)", "1|(0,0)(1,0)(0,1)", "#Other",
             "1|(0,0)(1,0)(0,1)", "#End_Of_Ovl"});
    Segchar s(t.gtex);
    EXPECT_EQ(s.Count(), 3);
    EXPECT_EQ(s.LineCount(), 3);
}

TEST(Segchar, CommentAndZeroLinesCountForNothingButKeepSegmentKOnLineK) {
    Table t({"#GI_PCG_Seg_Data", "// segment 0 is the top bar", "1|(0,0)(4,0)(2,1)", "0", "1|(0,5)(4,5)(2,6)",
             "#End_Of_Ovl"});
    Segchar s(t.gtex);
    EXPECT_EQ(s.Count(), 2);
    EXPECT_EQ(s.At(0), nullptr);
    ASSERT_NE(s.At(1), nullptr);
    EXPECT_EQ(s.At(1)->Number(), 1);
    EXPECT_EQ(s.At(1)->Triangle(0).points[1].x, 4);
    EXPECT_EQ(s.At(2), nullptr);
    ASSERT_NE(s.At(3), nullptr);
    EXPECT_EQ(s.At(3)->Number(), 3);
    EXPECT_EQ(s.At(3)->Triangle(0).points[2].y, 6);
    EXPECT_EQ(s.At(4), nullptr);
    EXPECT_EQ(s.MaxY(), 6);
}

TEST(Segchar, AnEmptyTableKeepsTheStartBounds) {
    Table t({"#GI_PCG_Seg_Data", "#End_Of_Ovl"});
    Segchar s(t.gtex);
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.MinX(), 999999999);
    EXPECT_EQ(s.MaxY(), -999999999);
}

TEST(Segchar, ABadLineIsFatalAndNamesKeyAndLine) {
    struct Case {
        std::string line;
    } cases[] = {{"x|(0,0)(1,0)(0,1)"},          {"2|(0,0)(1,0)(0,1)"}, {"1|(0,0)(1,0)"},
                 {"1|(0,a)(1,0)(0,1)"},          {"1|(0,0)(1,0)(0 1)"}, {"1|(0,,0)(1,0)(0,1)"},
                 {"1|(0,99999999999)(1,0)(0,1)"}};
    for (const Case& c : cases) {
        const std::string text = FatalText({"#GI_PCG_Seg_Data", "1|(0,0)(1,0)(0,1)", c.line, "#End_Of_Ovl"});
        EXPECT_NE(text.find("'GI_PCG_Seg_Data', line 1"), std::string::npos) << c.line << ": " << text;
    }
}

TEST(Segchar, AMissingKeyIsTheTextTablesFatalError) {
    EXPECT_NE(FatalText({"#Other", "#End_Of_Ovl"}).find("GI_PCG_Seg_Data"), std::string::npos);
}
