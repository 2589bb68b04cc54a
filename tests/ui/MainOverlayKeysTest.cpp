// The shipped overlay holds every key the main window and the application
// manager read, in the form they use it: a missing key ends the program.
#include "cells/cmcCellObj.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class MainOverlayKeysTest : public ::testing::Test {
protected:
    MainOverlayKeysTest() { texts.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL"); }
    std::string Line(const std::string& key, int n = 0) { return texts.GetTextLine(key, n); }
    cmcGTex texts;
};

TEST_F(MainOverlayKeysTest, EveryKeyIsThereInItsForm) {
    for (const char* key : {"GI_Sys_AppTitle", "GI_Mess_Confirm_WriteAnother", "GI_AppMess_ChangeModel",
                            "GI_AppMess_DataTooLarge", "GI_Mess_Maker_Caution", "GI_StatusPanel_Maker"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(Line(key).empty());
        EXPECT_NE(Line(key)[0], '#');
    }

    cmcCellObj cell;
    cell.Parse(Line("GI_Form_Main_BasicCell"), nullptr, nullptr);
    ASSERT_NE(cell.font, nullptr) << "the form takes its font from the cell";
    EXPECT_EQ(cell.font->Size(), 9);

    EXPECT_EQ(Line("GI_Sys_Dialog_FOpen", 0), "icf") << "the default extension, without the dot";
    EXPECT_EQ(SplitFields(Line("GI_Sys_Dialog_FOpen", 1), "|").size() % 2, 0u)
        << "description and pattern pairs";

    // Used as a format for the file's name: one text argument and nothing else.
    const std::string question = Line("GI_Mess_Confirm_WriteFile");
    EXPECT_NE(question.find("%s"), std::string::npos);
    EXPECT_EQ(question.find('%'), question.find("%s"));
    EXPECT_EQ(question.find('%', question.find("%s") + 2), std::string::npos);

    EXPECT_EQ(ParseLeadingDecimal(Line("GI_Sys_LockoutNewerData")), 1) << "newer data is refused";

    for (int model = 0; model < 10; ++model)
        EXPECT_TRUE(std::filesystem::is_regular_file(std::string(TOLVANE_BIN_DIR "/") +
                                                     Line("GI_App_InitialFile", model)))
            << "start-up data of model " << model;
}

} // namespace
