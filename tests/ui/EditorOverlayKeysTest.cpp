// The shipped overlay holds every key the pop-up editors read, in the form
// they use it, and the bit-field editor's own sheet parses with the cloning
// program's cells: a missing key or cell ends the program.
#include "cells/CellEngine.h"
#include "cells/cmcCellObj.h"
#include "foundation/TextUtil.h"
#include "foundation/cmcGTex.h"
#include "tests/ui/EditorFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace uitest;

namespace {

class EditorOverlayKeysTest : public ::testing::Test {
protected:
    EditorOverlayKeysTest() { texts.SetFile(TOLVANE_BIN_DIR "/QT4410R.OVL"); }
    std::string Line(const std::string& key, int n = 0) { return texts.GetTextLine(key, n); }
    // The key's lines up to the next key.
    std::vector<std::string> Lines(const std::string& key) {
        std::vector<std::string> lines;
        for (int n = 0;; ++n) {
            std::optional<std::string> line = texts.TryGetTextLine(key, n);
            if (!line || line->starts_with('#')) return lines;
            lines.push_back(*line);
        }
    }
    cmcGTex texts;
};

TEST_F(EditorOverlayKeysTest, CaptionsAndTheClearQuestion) {
    EXPECT_EQ(Lines("GI_AppInd_CharacterEditorCaption").size(), 1u);
    EXPECT_FALSE(Lines("GI_AppMess_Confirm_CEdit_Clear").empty());
    const std::vector<std::string> buttons = Lines("GI_AppInd_Button_OkCancel");
    // Line 1 is the Cancel button's caption: without it the next key's header shows.
    EXPECT_EQ(buttons, (std::vector<std::string>{"OK", "Cancel"}));
}

// Pen, rectangle and shift, and clear: the pictures the editor acts on.
TEST_F(EditorOverlayKeysTest, TheGlyphToolBarHasTheFourButtons) {
    cmcCellObj base;
    base.Parse(Line("GI_ToolBar_CEdit_BasicCell"), nullptr, nullptr);
    std::vector<int32_t> images;
    for (const std::string& line : Lines("GI_ToolBar_CEdit_Body")) {
        cmcCellObj cell;
        cell.Parse(line, nullptr, &base);
        if (cell.GetCaption() != "-" && cell.GetCaption() != "/") images.push_back(cell.imageIndex);
    }
    EXPECT_EQ(images, (std::vector<int32_t>{10, 11, 12, 0}));
}

// Bytes 16 to 255, each once, and none of 0 to 15, which no text can hold.
TEST_F(EditorOverlayKeysTest, ThePaletteOffersBytes16To255) {
    const CellEngine& engine = CloningCellEngine();
    const int32_t flex = engine.Vocabulary().CellIndex("Flex0");
    cmcCellObj base;
    base.Parse(Line("GI_Sheet_Sel_Text_BasicCell"), nullptr, nullptr);
    std::multiset<int32_t> bytes;
    for (const std::string& line : Lines("GI_Sheet_Sel_Text_Cells")) {
        std::string rest = line;
        while (!rest.empty()) {
            cmcCellObj cell;
            rest = cell.Parse(rest, nullptr, &base);
            if (cell.cellId == flex) bytes.insert(cell.index);
        }
    }
    std::multiset<int32_t> expected;
    for (int32_t b = 16; b <= 255; ++b)
        expected.insert(b);
    EXPECT_EQ(bytes, expected);
}

class BuiltInBitsSheetTest : public EditorFixture {};

// The built-in sheet's cells are the program's: check cells, spacers and
// labels all name cells the vocabulary knows.
TEST_F(BuiltInBitsSheetTest, ParsesWithTheProgramsVocabulary) {
    Open("GI_Sheet_TEdit");
    OpenAt(1, 1);
    ASSERT_TRUE(editors_.bits);
    cuiSheet& sheet = *editors_.bits->Sheet();
    const CellVocabulary& words = CloningCellEngine().Vocabulary();
    std::set<int32_t> ids;
    for (int r = 0; r < sheet.RowCount(); ++r)
        for (int c = 0; c < sheet.ColCount(); ++c)
            ids.insert(sheet.GetCell(c, r).cellId);
    EXPECT_EQ(ids, (std::set<int32_t>{words.NoCell(), words.CellIndex("CL_FBits"),
                                      words.CellIndex("CL_Misc_QuarterPillar")}));
    EXPECT_EQ(sheet.GetCell(2, 3).category, words.CategoryIndex("CT_Null"));
}

} // namespace
