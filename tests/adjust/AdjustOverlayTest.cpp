// Every key the adjustment program's cells read stands in its shipped
// overlay: a missing one would end the program when the cell is drawn.
#include "adjust/AdjustCells.h"
#include "foundation/cmcGTex.h"

#include <gtest/gtest.h>

namespace {

TEST(AdjustOverlayTest, HoldsEveryKeyTheCellsRead) {
    cmcGTex overlay;
    overlay.SetFile(TOLVANE_BIN_DIR "/QT4411R.OVL");
    for (const char* key : adj::kAdjustItemKeys)
        EXPECT_TRUE(overlay.TryGetTextLine(key, 0).has_value()) << key;
    for (const char* key : adj::kOptionUnitKeys)
        EXPECT_TRUE(overlay.TryGetTextLine(key, 0).has_value()) << key;
    EXPECT_TRUE(overlay.TryGetTextLine("GI_Mess_CloneInfo_Opt_Digi", 2).has_value());
    for (const char* key : adj::kBankCellKeys)
        EXPECT_TRUE(overlay.TryGetTextLine(key, 0).has_value()) << key;
    for (const std::string& list : adj::OptionWordListKeys())
        EXPECT_TRUE(overlay.TryGetTextLine(list + "_Cells", 0).has_value()) << list;
    for (const std::string& list : adj::RecordCellListKeys())
        EXPECT_TRUE(overlay.TryGetTextLine(list + "_Cells", 1).has_value()) << list;
    EXPECT_TRUE(overlay.TryGetTextLine(adj::AreaBitTextKey(), 1).has_value());
    // The frame reads the unit-id maximum on every call.
    EXPECT_EQ(overlay.TryGetTextLine("GI_AppUnitIdMax", 0), "65535");
    EXPECT_TRUE(overlay.TryGetTextLine("GI_Sys_MyHelpFile_ADJ", 0).has_value());
    // The radio information window and the A/D monitor: their titles, the
    // information sheet and the texts of its cells.
    for (const char* key :
         {"GI_AppInd_CloneInfo_Caption", "GI_AppInd_AdWindow_Caption", "GI_Sheet_CloneInfo_Cells",
          "GI_Mess_CloneInfo_Model", "GI_Mess_CloneInfo_TenKey", "GI_Mess_CloneInfo_OverVolt"})
        EXPECT_TRUE(overlay.TryGetTextLine(key, 0).has_value()) << key;
    EXPECT_TRUE(overlay.TryGetTextLine("GI_AppInd_Model", 9).has_value());
}

} // namespace
