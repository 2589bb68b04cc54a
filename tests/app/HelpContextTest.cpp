// The help context of a cell, looked up in the help texts' topic and context
// tables.
#include "cells/CellEngine.h"
#include "cells/CellVocabulary.h"
#include "cells/CodeConv.h"
#include "cells/ConvKeys.h"
#include "cells/LayoutCache.h"
#include "cells/cloning/SettingsLists.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcFCache.h"
#include "tests/app/DocumentFixture.h"

#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <tuple>

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

// The key and dial assignments: the help of the function the key is set
// to, named as the key's own list shows it for the model.
TEST_F(HelpContextTest, AKeyAssignmentAnswersWithTheHelpOfItsFunction) {
    constexpr char kHelp[] =
        "#GI_AppItem_Topic_ID\nCL_KDisp_Key_Conv_P0\tbyname\n#\n"
        "#GI_AppItem_Key_Assign_Topic_ID\nTX Power\tpower\nSmarTrunk On/Off\ttrunk\n"
        "Group Up/Down\tgroup\nAudio Volume\tvolume\n#\n"
        "#GI_AppItem_Context_ID\nbyname\t10\npower\t11\ntrunk\t12\ngroup\t13\nvolume\t14\n#\n";
    struct Case {
        int32_t model;
        const char* cell;
        int32_t address;
        uint8_t function;
        int32_t context;
    } cases[] = {
        {0, "CL_KDisp_Key_Conv_P0", 93862, '0', 11},
        {0, "CL_KDisp_Key_SmTr_P0", 93878, '0', 12},
        {4, "CL_KDisp_Key_Conv_DialCcw", 93871, 'G', 13},
        {0, "CL_KDisp_Key_SmTr_DialCcw", 93887, '1', 14},
        {9, "CL_KDisp_Key_Conv_RightDn", 93861, '0', 11},
        // A function without a topic has no help, whatever the cell's name has.
        {0, "CL_KDisp_Key_Conv_P0", 93862, ' ', 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell);
        CloningDocument& doc = StartWithHelp(kHelp);
        cmcFCache layouts;
        const ScopedLayoutCache useLayouts(&layouts);
        gEnviron->ModelType = c.model;
        doc.WorkingImage().SetByte(c.address, c.function);
        EXPECT_EQ(ContextOf(doc, c.cell), c.context);
        globals_.reset();
        std::filesystem::remove_all(dir_.File("program"));
    }
}

// Every cell of the channel sheets, and a few of the settings and a key's
// function, have help in the shipped tables.
TEST_F(HelpContextTest, TheShippedTablesAnswerForTheCellsOnScreen) {
    CloningDocument& doc = Start();
    cmcFCache layouts;
    const ScopedLayoutCache useLayouts(&layouts);
    const std::regex cellName("CL_[A-Za-z0-9_]+");
    int cells = 0;
    for (const char* sheet :
         {"GI_Sheet_Mch_Lmr_Cells", "GI_Sheet_Mch_LmrLtr_Mob_Cells", "GI_Sheet_Mch_LmrP25_Cells",
          "GI_Sheet_Mch_Pmr_Cells", "GI_Sheet_Mch_PmrZ_Mob_Cells"}) {
        for (int n = 0;; ++n) {
            const std::optional<std::string> line = gGTex->TryGetTextLine(sheet, n);
            if (!line || line->starts_with('#')) break;
            for (std::sregex_iterator it(line->begin(), line->end(), cellName), end; it != end; ++it, ++cells)
                EXPECT_NE(ContextOf(doc, it->str().c_str()), 0) << sheet << " " << it->str();
        }
    }
    EXPECT_GT(cells, 40);
    for (const char* cell :
         {"CL_Msk_AdrRange_Killer", "CL_Digi_NacCh_TxNac", "CL_Ltr_BlockIdEna", "CL_Mch_Rpt"})
        EXPECT_NE(ContextOf(doc, cell), 0) << cell;
    // Every function each model's keys and dials offer has its help.
    int functions = 0;
    for (int32_t model = 0; model < 10; ++model) {
        gEnviron->ModelType = model;
        for (const auto& [cell, address, list] :
             {std::tuple{"CL_KDisp_Key_Conv_P0", 93862, ModelKeysListKey()},
              std::tuple{"CL_KDisp_Key_Conv_DialCw", 93870, DialsListKey()},
              std::tuple{"CL_KDisp_Key_SmTr_P0", 93878, std::string(setlist::kKeySmTr)},
              std::tuple{"CL_KDisp_Key_SmTr_DialCw", 93886, std::string(setlist::kDialSmTr)}}) {
            for (int value = 0; value < 256; ++value) {
                if (layouts.Text(list, listcell::Flex0, value) == "error") continue;
                doc.WorkingImage().SetByte(address, static_cast<uint8_t>(value));
                ++functions;
                EXPECT_NE(ContextOf(doc, cell), 0) << model << " " << cell << " " << value;
            }
        }
    }
    EXPECT_GT(functions, 100);
    gEnviron->ModelType = 0;
    doc.WorkingImage().SetByte(93862, '0');
    const int32_t power = ContextOf(doc, "CL_KDisp_Key_Conv_P0");
    doc.WorkingImage().SetByte(93862, 'B');
    EXPECT_NE(power, 0);
    EXPECT_NE(ContextOf(doc, "CL_KDisp_Key_Conv_P0"), 0);
    EXPECT_NE(ContextOf(doc, "CL_KDisp_Key_Conv_P0"), power);
}

} // namespace
