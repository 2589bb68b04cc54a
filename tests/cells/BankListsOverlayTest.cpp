// The shipped overlay holds the lists and messages of the bank cells: each
// list a pop-up sheet with a text for every value the cells store.
#include "tests/cells/ShippedOverlayFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct BankList {
    const char* key;
    int32_t last; // values 0..last
};

constexpr BankList kLists[] = {
    {"GI_Sheet_Sel_Bank_SelBankFree", 1}, {"GI_Sheet_Sel_Misc_Phone", 3},   {"GI_Sheet_Sel_Misc_OnOff", 1},
    {"GI_Sheet_Sel_Misc_OnOff2", 1},      {"GI_Sheet_Sel_Misc_Enable2", 1},
};

constexpr const char* kMessages[] = {"GI_AppMess_ChErr_Overflow", "GI_AppMess_ChErr_NoCh",
                                     "GI_AppMess_ChErr_NotBlank", "GI_Sys_AppTitle"};

using BankListsOverlayTest = ShippedOverlayFixture;

TEST_F(BankListsOverlayTest, EveryListHasATextForEachValue) {
    constexpr int32_t kFlex0 = 1;
    for (const BankList& list : kLists) {
        SCOPED_TRACE(list.key);
        const std::string key = list.key;
        ExpectPopupList(key, kFlex0, 0, list.last);
        EXPECT_EQ(cache.Text(key, kFlex0, list.last + 1), "error") << "no value beyond the field's";
    }
}

TEST_F(BankListsOverlayTest, EveryMessageHasAText) {
    for (const char* key : kMessages)
        EXPECT_TRUE(Has(key)) << key;
}

} // namespace
