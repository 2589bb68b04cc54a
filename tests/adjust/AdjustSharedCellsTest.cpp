// The settings cases the adjustment program takes from the cloning program
// by name: on the same data each shows the same text and, pressed, leaves the
// same bytes in both programs, over every model's start-up data.
#include "adjust/AdjustVocabulary.h"
#include "cells/CellEngine.h"
#include "tests/cells/CellHarness.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// What a cell showed and what a press of Space left in the image.
struct Seen {
    std::string text;
    std::vector<uint8_t> image;
    bool operator==(const Seen&) const = default;
};

std::vector<std::string> SharedNames() {
    const CellVocabulary& ours = adj::AdjustCellVocabulary();
    const CellVocabulary& theirs = CloningCellVocabulary();
    std::vector<std::string> names;
    for (int32_t id = 1; id < ours.NoCell(); ++id) {
        const CellCase fn = adj::AdjustCellEngine().Cases().Find(id);
        const std::optional<int32_t> theirId = theirs.FindCell(ours.CellName(id));
        if (fn && theirId && CloningCellEngine().Cases().Find(*theirId) == fn)
            names.push_back(ours.CellName(id));
    }
    return names;
}

std::map<std::string, Seen> PressEach(celltest::CellHarness& h, const CellVocabulary& v,
                                      const cmcEeprom& data, const std::vector<std::string>& names) {
    std::map<std::string, Seen> seen;
    for (const std::string& name : names) {
        h.Image() = data;
        const CellAddress at{0, v.CellIndex(name), 0};
        Seen s;
        s.text = h.Display(at).text;
        h.Key(at, ' ');
        s.image.assign(h.Image().Data(), h.Image().Data() + h.Image().GetSize());
        seen[name] = s;
    }
    return seen;
}

TEST(AdjustSharedCellsTest, EachSharedCaseShowsAndStoresAlikeInBothPrograms) {
    const std::vector<std::string> names = SharedNames();
    ASSERT_GT(names.size(), 100u);
    for (int32_t model = 0; model < 10; ++model) {
        cmcEeprom data;
        cmcEeprom reference;
        std::map<std::string, Seen> cloning;
        {
            celltest::CellHarness h(model);
            h.LoadStartupData(model);
            data = h.Image();
            reference = h.app.ReferenceImage();
            cloning = PressEach(h, CloningCellVocabulary(), data, names);
        }
        ScopedCellEngine engine(adj::AdjustCellEngine());
        celltest::CellHarness h(model, TOLVANE_BIN_DIR "/QT4411R.OVL");
        // Rows a cell adds come from the same empty records.
        h.app.ReferenceImage() = reference;
        const std::map<std::string, Seen> adjusting = PressEach(h, adj::AdjustCellVocabulary(), data, names);
        for (const std::string& name : names) {
            EXPECT_EQ(adjusting.at(name).text, cloning.at(name).text) << name << " model " << model;
            EXPECT_TRUE(adjusting.at(name).image == cloning.at(name).image) << name << " model " << model;
        }
    }
}

} // namespace
