// The overlay that ships beside the program holds every key the converters
// read, in a form they can use: a missing key or a list without the values
// its converter stores ends the program for a user.
#include "cells/ConvKeys.h"
#include "cells/LayoutCache.h"
#include "cells/Segchar.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "tests/cells/ShippedOverlayFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using ShippedOverlayTest = ShippedOverlayFixture;

TEST_F(ShippedOverlayTest, TheOverlayIsThereAndEndsItsIndex) {
    std::ifstream file(kOverlayPath);
    ASSERT_TRUE(file.good()) << kOverlayPath;
    std::string line, last;
    int endLines = 0;
    while (std::getline(file, line)) {
        if (line == "#End_Of_Ovl") ++endLines;
        if (!line.empty()) last = line;
    }
    EXPECT_EQ(endLines, 1);
    EXPECT_EQ(last, "#End_Of_Ovl");
}

TEST_F(ShippedOverlayTest, EveryTextKeyHasAText) {
    for (const ConvKeyInfo& info : kConvKeys) {
        if (info.use != KeyUse::Text) continue;
        const std::vector<std::string> lines = Lines(info.key);
        ASSERT_FALSE(lines.empty()) << info.key;
        EXPECT_FALSE(lines[0].empty()) << info.key;
    }
}

TEST_F(ShippedOverlayTest, EveryListIsAPopUpSheetHoldingTheValuesItsConverterNeeds) {
    for (const ConvKeyInfo& info : kConvKeys) {
        if (info.use != KeyUse::List && info.use != KeyUse::ChannelSheet) continue;
        SCOPED_TRACE(info.key);
        const std::string key = info.key;
        // A sheet reads line 0 of its style and basic cell, and its cell lines.
        ASSERT_FALSE(Lines(key + "_Style").empty());
        const std::vector<std::string> basic = Lines(key + "_BasicCell");
        ASSERT_FALSE(basic.empty());
        cmcCellObj basicCell;
        basicCell.Parse(basic[0], nullptr, nullptr);
        ASSERT_FALSE(Lines(key + "_Cells").empty());

        const std::vector<cmcCellObj> cells = Cells(key);
        for (const ListItems& items : info.items) {
            if (items.cellId == 0) continue;
            // Each value once: a value twice in a list could not be told apart.
            std::map<int32_t, int> seen;
            for (const cmcCellObj& cell : cells)
                if (cell.cellId == items.cellId) ++seen[cell.index];
            for (auto [value, count] : seen)
                EXPECT_EQ(count, 1) << "value " << value;
            for (int32_t v = items.first; v <= items.last; ++v) {
                EXPECT_EQ(seen.count(v), 1u) << "list cell " << items.cellId << " lacks value " << v;
                const std::string text = cache.Text(key, items.cellId, v);
                EXPECT_NE(text, "error") << v;
                if (info.use == KeyUse::List) {
                    EXPECT_FALSE(text.empty()) << v;
                }
            }
        }
    }
}

TEST_F(ShippedOverlayTest, ListItemsAreSelectableAndSteppingVisitsEachValueOnce) {
    for (const ConvKeyInfo& info : kConvKeys) {
        if (info.use != KeyUse::List) continue;
        SCOPED_TRACE(info.key);
        const std::vector<cmcCellObj> cells = Cells(info.key);
        cmcCellObj basic;
        basic.Parse(Lines(std::string(info.key) + "_BasicCell")[0], nullptr, nullptr);
        std::set<int32_t> cellIds;
        for (const ListItems& items : info.items)
            if (items.cellId != 0) cellIds.insert(items.cellId);
        for (int32_t cellId : cellIds) {
            std::set<int32_t> values;
            for (const cmcCellObj& cell : cells)
                if (cell.cellId == cellId) values.insert(cell.index);
            ASSERT_FALSE(values.empty());
            EXPECT_TRUE(basic.flags & cmcCellObj::kFlagS)
                << "the items take the cursor through the basic cell";
            cache.Text(info.key, cellId, *values.begin());
            std::set<int32_t> visited;
            int32_t v = *values.begin();
            for (size_t i = 0; i < values.size(); ++i) {
                visited.insert(v);
                ASSERT_TRUE(cache.Step(info.key, cellId, v, 1, v));
            }
            EXPECT_EQ(visited, values);
            EXPECT_EQ(v, *values.begin());
        }
    }
}

TEST_F(ShippedOverlayTest, KeyAssignmentListsHoldCharacterCodes) {
    for (const ConvKeyInfo& info : kConvKeys) {
        const std::string key = info.key;
        if (!key.starts_with("GI_Sheet_Sel_Keys_Conv") && !key.starts_with("GI_Sheet_Sel_Dials_Conv"))
            continue;
        for (const cmcCellObj& cell : Cells(key)) {
            if (cell.cellId == listcell::Flex0) {
                EXPECT_TRUE(IsPrintable(cell.index)) << key << " " << cell.index;
            }
        }
    }
}

TEST_F(ShippedOverlayTest, ToneNamesMatchTheToneList) {
    std::vector<std::string> names;
    for (const std::string& line : Lines(ConvKeyText(ConvKey::CtcssNames)))
        for (std::string name : SplitFields(line, ","))
            names.push_back(TrimBlanks(name));
    ASSERT_EQ(names.size(), size_t(ConvKeyOf(ConvKey::CtcssNames).names));
    const std::string toneList = ConvKeyText(ConvKey::ToneList);
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(cache.Text(toneList, listcell::Flex0, int32_t(i)), names[i]) << i;
    // Stepping through the tones never lands on the DTCS item.
    EXPECT_EQ(cache.Text(toneList, listcell::Flex0, kToneDtcsItem), "error");
}

TEST_F(ShippedOverlayTest, TheChannelSheetLoopsOverTheChosenBanksChannels) {
    const std::vector<std::string> lines = Lines(std::string(ConvKeyText(ConvKey::ScanCHSel)) + "_Cells");
    auto directive = [&](const std::string& name) {
        for (const std::string& line : lines)
            if (line.starts_with(":") && line.find("(" + name + ")") != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(directive("LoopFrom"));
    EXPECT_TRUE(directive("LoopTo"));
    bool selectable = false;
    for (const cmcCellObj& cell : Cells(ConvKeyText(ConvKey::ScanCHSel)))
        if (cell.cellId == listcell::FlexCHSel) selectable = cell.flags & cmcCellObj::kFlagS;
    EXPECT_TRUE(selectable);
}

TEST_F(ShippedOverlayTest, TheGlyphSegmentsRead) {
    Segchar segments(texts);
    EXPECT_GT(segments.Count(), 0);
    EXPECT_LE(segments.MinX(), segments.MaxX());
    EXPECT_LE(segments.MinY(), segments.MaxY());
    for (int32_t k = 0; k < segments.LineCount(); ++k)
        if (const Segment* s = segments.At(k)) {
            EXPECT_GT(s->Count(), 0) << "line " << k;
        }
}

} // namespace
