// The shipped overlay holds the lists and messages of the bank cells: each
// list a pop-up sheet with a text for every value the cells store.
#include "cells/LayoutCache.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"

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

class BankListsOverlayTest : public ::testing::Test {
protected:
    BankListsOverlayTest() {
        texts.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL");
        old = gGTex;
        gGTex = &texts;
    }
    ~BankListsOverlayTest() override { gGTex = old; }

    bool Has(const std::string& key) {
        const std::optional<std::string> line = texts.TryGetTextLine(key, 0);
        return line && !line->empty() && !line->starts_with('#');
    }

    cmcGTex texts;
    cmcGTex* old = nullptr;
    cmcFCache cache;
    ScopedLayoutCache useCache{&cache};
};

TEST_F(BankListsOverlayTest, EveryListHasATextForEachValue) {
    constexpr int32_t kFlex0 = 1;
    for (const BankList& list : kLists) {
        SCOPED_TRACE(list.key);
        const std::string key = list.key;
        EXPECT_TRUE(Has(key + "_Style"));
        EXPECT_TRUE(Has(key + "_BasicCell"));
        ASSERT_TRUE(Has(key + "_Cells"));
        for (int32_t v = 0; v <= list.last; ++v) {
            const std::string text = cache.Text(key, kFlex0, v);
            EXPECT_FALSE(text.empty()) << v;
            EXPECT_NE(text, "error") << v;
        }
        EXPECT_EQ(cache.Text(key, kFlex0, list.last + 1), "error") << "no value beyond the field's";
    }
}

TEST_F(BankListsOverlayTest, EveryMessageHasAText) {
    for (const char* key : kMessages)
        EXPECT_TRUE(Has(key)) << key;
}

} // namespace
