// The help context of a cell, looked up in the help texts' topic and context
// tables.
#include "cells/CellEngine.h"
#include "cells/CellVocabulary.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "tests/app/DocumentFixture.h"

#include <filesystem>
#include <string>

namespace {

class HelpContextTest : public apptest::DocumentFixture {
protected:
    // The shipped overlay and start-up data beside a help fixture.
    CloningDocument& StartWithHelp(const std::string& help) {
        const std::string program = dir_.File("program/");
        std::filesystem::create_directories(program);
        for (const auto& entry : std::filesystem::directory_iterator(TOLVANE_BIN_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".icf") || name == "QT4410R.OVL")
                std::filesystem::create_symlink(entry.path(), program + name);
        }
        testsupport::TempDir::WriteFile(program + "QT4410RH.OVL", help);
        return static_cast<CloningDocument&>(StartWith(CloningDocumentFactory(), program));
    }
    int32_t ContextOf(CloningDocument& doc, const char* cellName) {
        cmcCellObj cell;
        cell.cellId = InstalledCellEngine().Vocabulary().CellIndex(cellName);
        cmcCellCapsule request;
        request.cell = &cell;
        return doc.GetCellHelpContext(request);
    }
};

TEST_F(HelpContextTest, TopicThenContextWithTheTablesEndsRespected) {
    struct Case {
        const char* name;
        const char* help;
        const char* cell;
        int32_t context;
    } cases[] = {
        {"found",
         "#GI_AppItem_Topic_ID\nCL_Mch_FreqR\tfreq\n#\n#GI_AppItem_Context_ID\nfreq\t120\n#\n#End_Of_Ovl\n",
         "CL_Mch_FreqR", 120},
        {"not in the topics",
         "#GI_AppItem_Topic_ID\nCL_Mch_FreqR\tfreq\n#\n#GI_AppItem_Context_ID\nfreq\t120\n#\n",
         "CL_Mch_FreqT", 0},
        {"last context counts",
         "#GI_AppItem_Topic_ID\nCL_Mch_FreqR\tfreq\n#\n#GI_AppItem_Context_ID\nfreq\t120\nfreq\t121\n#\n",
         "CL_Mch_FreqR", 121},
        {"an empty context ends the scan",
         "#GI_AppItem_Topic_ID\nCL_Mch_FreqR\tfreq\n#\n#GI_AppItem_Context_"
         "ID\nfreq\t120\nfreq\t\nfreq\t130\n#\n",
         "CL_Mch_FreqR", 0},
        {"no '#' line: the end of the texts ends the table",
         "#GI_AppItem_Topic_ID\nCL_Mch_FreqR\tfreq\n#\n#GI_AppItem_Context_ID\nfreq\t140", "CL_Mch_FreqR",
         140},
        {"a later key is not read as the table",
         "#GI_AppItem_Topic_ID\nCL_Mch_FreqR\tfreq\n#\n#GI_AppItem_Context_ID\n#Other\nfreq\t150\n",
         "CL_Mch_FreqR", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CloningDocument& doc = StartWithHelp(c.help);
        EXPECT_EQ(ContextOf(doc, c.cell), c.context);
        globals_.reset();
        std::filesystem::remove_all(dir_.File("program"));
    }
}

TEST_F(HelpContextTest, TheShippedHelpTextsAnswerNoContext) {
    CloningDocument& doc = Start();
    EXPECT_EQ(ContextOf(doc, "CL_Mch_FreqR"), 0);
}

} // namespace
