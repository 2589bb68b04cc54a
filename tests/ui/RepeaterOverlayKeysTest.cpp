// The shipped overlay holds every key the repeater-site window and the
// repeater data file read, in the form they use it.
#include "foundation/FontDesc.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RepeaterOverlayKeysTest, EveryKeyIsThereInItsForm) {
    cmcGTex texts;
    texts.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL");
    auto line = [&](const char* key, int n) { return texts.GetTextLine(key, n); };
    for (const auto& [key, lines] :
         {std::pair{"GI_Sys_Dialog_FOpenRpt", 2}, std::pair{"GI_AppInd_Button_LoadSave", 2},
          std::pair{"GI_AppInd_Button_OkCancel", 2}, std::pair{"GI_AreaSetBit_Bar", 2},
          std::pair{"GI_Mess_Confirm_Repeater", 1}, std::pair{"GI_AppInd_ChTextSheet", 1},
          std::pair{"GI_AppInd_chSheet_Usable_Font", 1}}) {
        SCOPED_TRACE(key);
        for (int n = 0; n < lines; ++n) {
            EXPECT_FALSE(line(key, n).empty()) << "line " << n;
            EXPECT_NE(line(key, n)[0], '#') << "line " << n;
        }
    }
    EXPECT_EQ(line("GI_Sys_Dialog_FOpenRpt", 0).find('.'), std::string::npos)
        << "an extension without the dot";
    EXPECT_EQ(SplitFields(line("GI_Sys_Dialog_FOpenRpt", 1), "|").size() % 2, 0u)
        << "description and pattern pairs";

    FontDesc font;
    font.color = 0;
    ParseFontDesc(line("GI_AppInd_chSheet_Usable_Font", 0), font);
    EXPECT_EQ(font.color, 0xFFFFFFu) << "white on the teal bar";
}

} // namespace
