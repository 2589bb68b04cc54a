// The shipped overlay holds every key that the channel row cells read, each
// list as a pop-up sheet with the values its column stores.
#include "cells/ChannelCells.h"
#include "cells/LayoutCache.h"
#include "cells/ListConv.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

class ChannelListsOverlayTest : public ::testing::Test {
protected:
    ChannelListsOverlayTest() {
        texts.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL");
        old = gGTex;
        gGTex = &texts;
    }
    ~ChannelListsOverlayTest() override { gGTex = old; }

    std::vector<std::string> Lines(const std::string& key) {
        std::vector<std::string> lines;
        for (int32_t n = 0;; ++n) {
            std::optional<std::string> line = texts.TryGetTextLine(key, n);
            if (!line || line->starts_with('#')) break;
            lines.push_back(*line);
        }
        return lines;
    }

    std::vector<cmcCellObj> Cells(const std::string& listKey) {
        std::vector<cmcCellObj> cells;
        std::array<int32_t, cmcCellObj::kChParams> chParams{};
        for (std::string rest : Lines(listKey + "_Cells")) {
            while (!rest.empty()) {
                cells.emplace_back();
                rest = cells.back().Parse(rest, chParams.data(), nullptr);
            }
        }
        return cells;
    }

    cmcGTex texts;
    cmcGTex* old = nullptr;
    cmcFCache cache;
    ScopedLayoutCache useCache{&cache};
};

TEST_F(ChannelListsOverlayTest, EveryKeyIsThereAndEveryListHoldsItsValuesOnce) {
    for (const ChannelKeyInfo& info : kChannelKeys) {
        SCOPED_TRACE(info.key);
        const std::string key = info.key;
        if (info.use == KeyUse::Text) {
            const std::vector<std::string> lines = Lines(key);
            ASSERT_FALSE(lines.empty());
            EXPECT_FALSE(lines[0].empty());
            continue;
        }
        ASSERT_FALSE(Lines(key + "_Style").empty());
        const std::vector<std::string> basicLines = Lines(key + "_BasicCell");
        ASSERT_FALSE(basicLines.empty());
        cmcCellObj basic;
        basic.Parse(basicLines[0], nullptr, nullptr);
        EXPECT_TRUE(basic.flags & cmcCellObj::kFlagS) << "the items take the cursor";

        const std::vector<cmcCellObj> cells = Cells(key);
        for (const ListItems& items : info.items) {
            if (items.cellId == 0) continue;
            std::map<int32_t, int> seen;
            for (const cmcCellObj& cell : cells)
                if (cell.cellId == items.cellId) ++seen[cell.index];
            for (int32_t v = items.first; v <= items.last; ++v) {
                EXPECT_EQ(seen[v], 1) << "value " << v;
                const std::string text = cache.Text(key, items.cellId, v);
                EXPECT_FALSE(text.empty() || text == "error") << v;
            }
            // Stepping visits every value of the list cell once and comes back.
            int32_t v = seen.begin()->first;
            std::set<int32_t> visited;
            for (size_t i = 0; i < seen.size(); ++i) {
                visited.insert(v);
                ASSERT_TRUE(cache.Step(key, items.cellId, v, 1, v));
            }
            EXPECT_EQ(visited.size(), seen.size());
            EXPECT_EQ(v, seen.begin()->first);
        }
    }
}

// The MSK repeater column's first list stands for the codes of the second
// with its number item; no repeater lies outside the codes.
TEST_F(ChannelListsOverlayTest, TheMskRepeaterListsSpanTheCodes) {
    EXPECT_EQ(ListFirstItem(chlist::kMskRptFirst, listcell::Flex0), chlist::kMskRptNumberItem);
    const int32_t lastCode = ListLastItem(chlist::kMskRptSecond, listcell::Flex1);
    EXPECT_GE(lastCode, chlist::kMskRptNumberItem);
    EXPECT_LT(lastCode, chlist::kMskNoRepeater);
}

} // namespace
