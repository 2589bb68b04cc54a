// The memory-image dump cells.
#include "CellHarness.h"
#include "cells/CellVocabulary.h"
#include "image/ImageLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using celltest::CellHarness;
using celltest::Outcome;

int32_t Id(const std::string& name) {
    return CloningCellVocabulary().CellIndex(name);
}

// The byte cell that shows image address a.
CellAddress ByteCell(int32_t a) {
    return {0, Id("CL_EeDebugWin_0") + a % 16, a / 16};
}

TEST(DebugCellsTest, ByteCellsShowTheImageAndMarkWhatDiffersFromTheSnapshot) {
    struct Case {
        int32_t address;
        uint8_t value;
        const char* rowAddress;
        const char* text;
        const char* changedText; // after the value ^ 0x81
    } cases[] = {
        {0, 0x05, "00000", "05", "84"},
        {0x1F, 0xA0, "00010", "A0", "21"},
        {0xFF7F, 0xFF, "0FF70", "FF", "7E"},
        {layout::kImageSize - 1, 0x3C, "24340", "3C", "BD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        CellHarness h;
        h.Image().Fill(0x11);
        h.Image().SetByte(c.address, c.value);
        h.app.TakeSnapshot();

        Outcome shown = h.Display(ByteCell(c.address));
        EXPECT_EQ(shown.text, c.text);
        EXPECT_FALSE(shown.request.markFlags.warning);
        EXPECT_EQ(h.Display({0, Id("CL_EeDebugWin_Adr"), c.address / 16}).text, c.rowAddress);

        h.Image().SetByte(c.address, static_cast<uint8_t>(c.value ^ 0x81));
        shown = h.Display(ByteCell(c.address));
        EXPECT_EQ(shown.text, c.changedText);
        EXPECT_TRUE(shown.request.markFlags.warning);
        EXPECT_FALSE(shown.request.markFlags.error);
        // Only the changed byte is marked.
        const int32_t other = c.address == 0 ? 1 : c.address - 1;
        EXPECT_FALSE(h.Display(ByteCell(other)).request.markFlags.warning);

        h.app.TakeSnapshot();
        EXPECT_FALSE(h.Display(ByteCell(c.address)).request.markFlags.warning);
    }
}

TEST(DebugCellsTest, TheLastRowIsEmptyPastTheImage) {
    CellHarness h;
    h.Image().Fill(0x22);
    // Every byte differs from the snapshot, so a cell past the end would be marked too.
    const int32_t last = layout::kImageSize - 1;
    for (int32_t a = last + 1; a < (last / 16 + 1) * 16; ++a) {
        const Outcome out = h.Display(ByteCell(a));
        EXPECT_EQ(out.text, "") << a;
        EXPECT_FALSE(out.request.markFlags.warning) << a;
    }
    EXPECT_EQ(h.Display(ByteCell(last)).text, "22");
    EXPECT_EQ(h.Display({0, Id("CL_EeDebugWin_0"), last / 16 + 1}).text, "");
}

TEST(DebugCellsTest, InputChangesNothing) {
    CellHarness h;
    h.Image().Fill(0x22);
    const cmcEeprom before = h.Image();
    for (const CellAddress at : {ByteCell(0x20), CellAddress{0, Id("CL_EeDebugWin_Adr"), 2}}) {
        for (int32_t key : {int32_t{'5'}, int32_t{'A'}, 13, 32, 8}) {
            const Outcome out = h.Key(at, key);
            // Neither an editor nor a pop-up opens.
            EXPECT_EQ(out.result, cmcCellCapsule::kResultNone) << key;
        }
        EXPECT_EQ(h.Commit(at, "7F").result, 0);
    }
    EXPECT_TRUE(std::equal(before.Data(), before.Data() + before.GetSize(), h.Image().Data()));
    EXPECT_TRUE(h.Events().empty());
}

} // namespace
