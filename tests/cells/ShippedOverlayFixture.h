#pragma once
// Tests over the overlay that ships beside the program: the keys the code
// reads must be there, and every pop-up list must hold the values its cells
// store, or a user's program ends on a missing key.
#include "cells/LayoutCache.h"
#include "cells/cloning/SettingsLists.h"
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

class ShippedOverlayFixture : public ::testing::Test {
protected:
    static constexpr const char* kOverlayPath = TOLVANE_BIN_DIR "/QT4410R.OVL";

    ShippedOverlayFixture() {
        texts.SetFile(kOverlayPath);
        old_ = gGTex;
        gGTex = &texts;
    }
    ~ShippedOverlayFixture() override { gGTex = old_; }

    // The key's lines up to the next key (none when the key is missing).
    std::vector<std::string> Lines(const std::string& key) {
        std::vector<std::string> lines;
        for (int32_t n = 0;; ++n) {
            std::optional<std::string> line = texts.TryGetTextLine(key, n);
            if (!line || line->starts_with('#')) break;
            lines.push_back(*line);
        }
        return lines;
    }

    // The key is there and its first line says something.
    bool Has(const std::string& key) {
        const std::vector<std::string> lines = Lines(key);
        return !lines.empty() && !lines[0].empty();
    }

    // Every cell of the list's lines, parsed as the sheet and the layout cache parse them.
    std::vector<cmcCellObj> Cells(const std::string& listKey) {
        std::vector<cmcCellObj> cells;
        std::array<int32_t, cmcCellObj::kChParams> chParams{};
        for (const std::string& line : Lines(listKey + "_Cells")) {
            if (line.starts_with(':')) continue; // a row directive
            std::string rest = line;
            while (!rest.empty()) {
                cells.emplace_back();
                rest = cells.back().Parse(rest, chParams.data(), nullptr);
            }
        }
        return cells;
    }

    // A list that pops up is a sheet whose items take the cursor; each value
    // first..last of its item cell is there once with a text, and space
    // steps through every item once and comes back.
    void ExpectPopupList(const std::string& key, int32_t itemCell, int32_t first, int32_t last) {
        SCOPED_TRACE(key);
        const std::map<int32_t, int> seen = PopupItems(key, itemCell);
        for (int32_t v = first; v <= last; ++v)
            EXPECT_EQ(seen.count(v), 1u) << "lacks value " << v;
    }

    // The values of a list table's entry.
    static std::set<int32_t> ValuesOf(const setlist::List& list) {
        std::set<int32_t> values;
        for (const setlist::ValueRun& run : list.values)
            for (int32_t v = run.first; v <= run.last; v += run.step)
                values.insert(v);
        return values;
    }

    // As ExpectPopupList, for a list that holds exactly the values given.
    void ExpectPopupListOf(const std::string& key, int32_t itemCell, const std::set<int32_t>& values) {
        SCOPED_TRACE(key);
        const std::map<int32_t, int> seen = PopupItems(key, itemCell);
        std::set<int32_t> held;
        for (auto [value, count] : seen)
            held.insert(value);
        EXPECT_EQ(held, values);
    }

    cmcGTex texts;
    cmcFCache cache;
    ScopedLayoutCache useCache{&cache};

private:
    // The items of the list's sheet by value, after checking that the sheet
    // is a pop-up, that no value is there twice, that every item has a text
    // and that space steps through all of them and round.
    std::map<int32_t, int> PopupItems(const std::string& key, int32_t itemCell) {
        std::map<int32_t, int> seen;
        EXPECT_FALSE(Lines(key + "_Style").empty());
        const std::vector<std::string> basic = Lines(key + "_BasicCell");
        EXPECT_FALSE(basic.empty());
        if (basic.empty()) return seen;
        cmcCellObj basicCell;
        basicCell.Parse(basic[0], nullptr, nullptr);
        EXPECT_TRUE(basicCell.flags & cmcCellObj::kFlagS) << "the items take the cursor";

        for (const cmcCellObj& cell : Cells(key))
            if (cell.cellId == itemCell) ++seen[cell.index];
        EXPECT_FALSE(seen.empty());
        if (seen.empty()) return seen;
        for (auto [value, count] : seen) {
            EXPECT_EQ(count, 1) << "value " << value << " twice";
            const std::string text = cache.Text(key, itemCell, value);
            EXPECT_FALSE(text.empty() || text == "error") << value;
        }
        std::set<int32_t> visited;
        int32_t v = seen.begin()->first;
        for (size_t i = 0; i < seen.size(); ++i) {
            visited.insert(v);
            EXPECT_TRUE(cache.Step(key, itemCell, v, 1, v));
        }
        EXPECT_EQ(visited.size(), seen.size());
        EXPECT_EQ(v, seen.begin()->first);
        return seen;
    }

    cmcGTex* old_ = nullptr;
};
