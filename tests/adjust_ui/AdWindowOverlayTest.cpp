// The shipped overlay holds what the A/D monitor reads: its caption and
// button texts, and its sheet with the thirteen readings, each row the
// decimal, hexadecimal and physical cell of one reading.
#include "adjust/AdjustVocabulary.h"
#include "adjust/ui/iuiSheet.h"
#include "adjust/ui/iuiWinAd.h"
#include "cells/CellEngine.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "tests/adjust_ui/SheetScope.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace {

TEST(AdWindowOverlayTest, HoldsTheCaptionsAndASheetOfThirteenReadingsThreeWays) {
    cmcGTex overlay;
    overlay.SetFile(TOLVANE_BIN_DIR "/QT4411R.OVL");
    for (const char* key : {adj::iuiWinAd::kUpdateKey, adj::iuiWinAd::kCloseKey, "GI_Sys_AppTitle_ADJ"})
        EXPECT_TRUE(overlay.TryGetTextLine(key, 0).has_value()) << key;

    adjtest::SheetScope scope;
    QWidget host;
    adj::iuiSheet sheet(adj::AdjustCellEngine(), &host, nullptr, 1, 0, overlay, adj::iuiWinAd::kName);
    sheet.Build();
    const CellVocabulary& words = adj::AdjustCellEngine().Vocabulary();
    ASSERT_EQ(sheet.RowCount(), 14) << "a header row and one row a reading";
    std::set<std::string> readings;
    for (int row = 1; row < sheet.RowCount(); ++row) {
        const std::string d = words.CellName(sheet.GetCell(1, row).cellId);
        ASSERT_FALSE(d.empty()) << row;
        const std::string stem = d.substr(0, d.size() - 1);
        EXPECT_EQ(d, stem + "D") << row;
        EXPECT_EQ(words.CellName(sheet.GetCell(2, row).cellId), stem + "H") << row;
        EXPECT_EQ(words.CellName(sheet.GetCell(3, row).cellId), stem + "V") << row;
        EXPECT_EQ(sheet.GetCell(1, row).category, words.CategoryIndex("CT_ADJ")) << row;
        readings.insert(stem);
    }
    EXPECT_EQ(readings.size(), 13u);
}

} // namespace
