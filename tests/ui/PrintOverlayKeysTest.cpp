// The shipped overlay holds every text printing reads, in the form it reads
// it: a missing key ends the program in the middle of a job.
#include "cells/SheetLines.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class PrintOverlayKeysTest : public ::testing::Test {
protected:
    PrintOverlayKeysTest() { Use("QT4410R.OVL"); }
    // A text table binds one file for its life.
    void Use(const std::string& file) {
        texts = std::make_unique<cmcGTex>();
        texts->SetFile(TOLVANE_BIN_DIR "/" + file);
    }
    std::string Line(const std::string& key, int n = 0) { return texts->GetTextLine(key, n); }
    static bool IsText(const std::string& line) { return !line.empty() && line[0] != '#'; }
    std::unique_ptr<cmcGTex> texts;
};

// Both programs print: each overlay with its own title's revision line.
TEST_F(PrintOverlayKeysTest, EveryKeyIsThereInItsFormInBothPrograms) {
    const struct {
        const char* file;
        const char* revisionKey;
    } programs[] = {{"QT4410R.OVL", "GI_Sys_AppTitleRev"}, {"QT4411R.OVL", "GI_Sys_AppTitle_ADJRev"}};
    for (const auto& program : programs) {
        SCOPED_TRACE(program.file);
        Use(program.file);
        for (const char* key :
             {"GI_Sys_Printer_NoPrinter", "GI_Sys_Printer_Failed", program.revisionKey, "GI_Sys_Maker",
              "GI_AppInd_MchSheet_Printer_Head", "GI_AppInd_RptSheet_Printer_Head"})
            EXPECT_TRUE(IsText(Line(key))) << key;
        // Caption, label and button of the printing dialog.
        for (int n = 0; n < 3; ++n)
            EXPECT_TRUE(IsText(Line("GI_Sys_Printer_PrintingDialog", n))) << n;

        // Left, top, right and bottom, in millimetres.
        const std::string margins = Line("GI_Sys_Printer_Margins");
        for (int n = 0; n < 4; ++n) {
            std::string field = GetField(margins, ',', n).value_or("");
            EXPECT_GT(ParseLeadingDecimal(TrimBlanks(field)), 0) << n;
        }
        for (const char* key : {"GI_Sys_Printer_FontPoints", "GI_Sys_Printer_FrameFont"}) {
            std::string points = Line(key);
            EXPECT_GT(ParseLeadingDecimal(TrimBlanks(points)), 0) << key;
        }
    }
}

TEST_F(PrintOverlayKeysTest, TheRepeaterSiteSheetPrintsInTheWalkOverTheSites) {
    SheetStyle style;
    ForEachGroup(Line("GI_Sheet_RptSetWin_Style"),
                 [&](const std::string& item) { ApplyStyleItem(style, item); });
    EXPECT_FALSE(style.noPrint);
}

} // namespace
