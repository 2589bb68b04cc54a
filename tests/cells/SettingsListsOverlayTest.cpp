// The shipped overlay holds every list that the general, expansion, key,
// display and set-mode cells read, each as a pop-up sheet holding exactly the
// values its cell stores: none missing (it would show "error") and none that
// the cell's field cannot hold (choosing it would store another value).
#include "cells/cloning/SettingsLists.h"
#include "tests/cells/ShippedOverlayFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr int32_t kFlex0 = 1;

using SettingsListsOverlayTest = ShippedOverlayFixture;

TEST_F(SettingsListsOverlayTest, EveryListIsAPopUpSheetOfExactlyItsValues) {
    for (const setlist::List& list : setlist::kLists)
        ExpectPopupListOf(list.key, kFlex0, ValuesOf(list));
}

// What the narrow fields can hold, written out: a list that offered more
// would store a value that reads back as another.
TEST_F(SettingsListsOverlayTest, ListsOfNarrowFieldsOfferOnlyWhatTheFieldHolds) {
    const auto held = [this](const char* key) {
        std::set<int32_t> values;
        for (const cmcCellObj& cell : Cells(key))
            if (cell.cellId == kFlex0) values.insert(cell.index);
        return values;
    };
    EXPECT_EQ(held("GI_Sheet_Sel_KDisp_Rotary"), (std::set<int32_t>{0, 2, 4, 6}));
    EXPECT_EQ(held("GI_Sheet_Sel_Batt_RfPwr"), (std::set<int32_t>{1, 2, 3}));
    std::set<int32_t> levels;
    for (int32_t v = 0; v <= 15; ++v) {
        levels.insert(v);
        levels.insert(100 + v);
    }
    EXPECT_EQ(held("GI_Sheet_Sel_SetM_BeepLev"), levels);
    EXPECT_EQ(held("GI_Sheet_Sel_HookOffSuspend"), (std::set<int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    for (const char* twoBits :
         {"GI_Sheet_Sel_Comm_RS232C_Mode", "GI_Sheet_Sel_Comm_Scrm_SyncCapture",
          "GI_Sheet_Sel_Comm_Scrm_GroupCode", "GI_Sheet_Sel_Comm_Scrm_ToneStartTiming",
          "GI_Sheet_Sel_DemphSetting", "GI_Sheet_Sel_Exp_ClShift", "GI_Sheet_Sel_KDisp_Opening_Beep",
          "GI_Sheet_Sel_MrCode", "GI_Sheet_Sel_Power_Switch", "GI_Sheet_Sel_Power_Switch_Handy"}) {
        SCOPED_TRACE(twoBits);
        EXPECT_EQ(held(twoBits), (std::set<int32_t>{0, 1, 2, 3}));
    }
    for (const char* fourBits :
         {"GI_Sheet_Sel_Comm_RS232C_SPEED", "GI_Sheet_Sel_SetM_Mob_Backlight",
          "GI_Sheet_Sel_SetM_Handy_Backlight", "GI_Sheet_Sel_SetM_VoxGain", "GI_Sheet_Sel_SetM_VoxDelay"}) {
        SCOPED_TRACE(fourBits);
        const std::set<int32_t> values = held(fourBits);
        ASSERT_FALSE(values.empty());
        EXPECT_GE(*values.begin(), 0);
        EXPECT_LE(*values.rbegin(), 15);
    }
}

} // namespace
