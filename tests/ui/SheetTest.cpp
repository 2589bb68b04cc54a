#include "SheetFixture.h"
#include "cells/CellFrame.h"
#include "foundation/SheetDef.h"
#include "image/RecordLayout.h"
#include "tests/cells/CellTestSupport.h"

#include <QFontMetrics>

#include <fstream>
#include <regex>

namespace uitest {
namespace {

using celltest::FatalText;

class SheetTest : public SheetFixture {};

// --- building

TEST_F(SheetTest, BuildsTheChannelColumns) {
    cuiSheet& s = Open("GI_Sheet_TChan");
    EXPECT_EQ(s.ColCount(), 5);
    EXPECT_EQ(s.RowCount(), 13);
    EXPECT_EQ(Grid().FixedCols(), 1);
    EXPECT_EQ(Grid().FixedRows(), 1);
    EXPECT_EQ(s.FirstSelectableCol(), 1);
    EXPECT_EQ(s.FirstSelectableRow(), 1);
    // The first selectable cell near the top left is current.
    EXPECT_EQ(Current(), std::make_pair(1, 1));
    EXPECT_TRUE(Grid().isEnabled());
    EXPECT_EQ(s.GetTitle(), "Bank channels");
    EXPECT_EQ(s.IsPrintable(), 1);
    // The repeated rows count their index up from the first.
    for (int r = 1; r < 13; ++r) {
        EXPECT_EQ(s.GetCell(1, r).index, r - 1);
        EXPECT_EQ(s.GetCell(1, r).cellId, Id("CL_Mch_FreqR"));
    }
    // Rows of a line style take part in a line selection; the header row too.
    EXPECT_EQ(s.GetCellId(2, 5).flags & clsSheetCellId::kMayJoin, clsSheetCellId::kMayJoin);
}

TEST_F(SheetTest, WideAndHighCellsSizeTheirColumnsAndRows) {
    cuiSheet& s = Open("GI_Sheet_TTall");
    const QFontMetrics fm(s.SheetPanel()->font());
    // 'W' widens to the widest caption line + 8, 'H' heightens to all lines + 2.
    EXPECT_EQ(Grid().ColWidth(0), fm.horizontalAdvance("short") + 8);
    EXPECT_EQ(Grid().ColWidth(1), 1) << "a column no 'W' cell widened keeps the default";
    EXPECT_EQ(Grid().ColWidth(2), fm.horizontalAdvance("wide and tall") + 8);
    EXPECT_EQ(Grid().RowHeight(0), 3 * fm.height() + 2);
    // No selectable cell: the sheet takes no input.
    EXPECT_FALSE(Grid().isEnabled());
}

TEST_F(SheetTest, NoSelectableCellDisablesTheGrid) {
    Open("GI_Sheet_TNoSel");
    EXPECT_FALSE(Grid().isEnabled());
}

TEST_F(SheetTest, NoCellLineIsFatal) {
    EXPECT_EQ(FatalText([this] { Open("GI_Sheet_TIllegal"); }), "Illegal Cell assign");
}

TEST_F(SheetTest, StyleNoPrintAndNoTitle) {
    cuiSheet& s = Open("GI_Sheet_TBanks");
    EXPECT_EQ(s.IsPrintable(), 0);
    EXPECT_EQ(s.GetTitle(), "");
    EXPECT_EQ(s.TitlePanel(), nullptr);
    EXPECT_EQ(s.MultiSelectMode(), 0);
}

TEST_F(SheetTest, RememberedPositionOutsideTheGridIsDropped) {
    initialCell_ = Id("CL_Mch_FreqT");
    initialIndex_ = 4;
    Open("GI_Sheet_TChan", [](cuiSheet& s) { s.SetPosition(3, 40, 1, 30); });
    EXPECT_EQ(Current(), std::make_pair(2, 5)) << "the initial cell serves instead";

    Open("GI_Sheet_TChan", [](cuiSheet& s) { s.SetPosition(4, 7, 1, 1); });
    EXPECT_EQ(Current(), std::make_pair(4, 7));
}

TEST_F(SheetTest, CellOutsideTheGridIsFatal) {
    cuiSheet& s = Open("GI_Sheet_TGaps");
    EXPECT_EQ(FatalText([&] { s.GetCellId(3, 0); }), "Illegal Cell selection");
    EXPECT_EQ(FatalText([&] { s.GetCellId(0, 4); }), "Illegal Cell selection");
    EXPECT_EQ(FatalText([&] { s.GetCellId(-1, 0); }), "Illegal Cell selection");
    EXPECT_EQ(FatalText([&] { s.GetCellId(0, -1); }), "Illegal Cell selection");
}

// Every list the program ships for its pop-up lists builds as a sheet.
TEST_F(SheetTest, EveryShippedSelectionListBuilds) {
    std::ifstream overlay(TOLVANE_BIN_DIR "/QT4410R.OVL");
    const std::regex key("^#(GI_Sheet_Sel_.*)_Cells\\r?$");
    std::vector<std::string> names;
    for (std::string line; std::getline(overlay, line);) {
        std::smatch m;
        if (std::regex_match(line, m, key)) names.push_back(m[1]);
    }
    ASSERT_GT(names.size(), 100u);
    for (const std::string& name : names) {
        sheet_ =
            std::make_unique<cuiSheet>(CloningCellEngine(), &host_, nullptr, 0, 0, *gGTex, name, &images_);
        sheet_->SetListMode(true);
        sheet_->Build();
        EXPECT_GT(sheet_->ColCount(), 0) << name;
        EXPECT_GT(sheet_->RowCount(), 0) << name;
        sheet_.reset();
    }
}

// --- editing over the real cells

TEST_F(SheetTest, TypedFrequencyIsStoredAsItsBytes) {
    Open("GI_Sheet_TChan");
    ASSERT_EQ(Current(), std::make_pair(1, 1));
    Key('1');
    ASSERT_TRUE(Sheet().EditorVisible());
    QTest::keyClicks(Sheet().Editor(), "46.52");
    QTest::keyClick(Sheet().Editor(), Qt::Key_Return);
    EXPECT_FALSE(Sheet().EditorVisible());
    // 146.520 MHz in hertz, big-endian, at the start of row 0's record.
    const cmcEeprom& image = Doc().WorkingImage();
    const int32_t at = layout::kChannelS;
    EXPECT_EQ(image.GetByte(at), 0x08);
    EXPECT_EQ(image.GetByte(at + 1), 0xBB);
    EXPECT_EQ(image.GetByte(at + 2), 0xB7);
    EXPECT_EQ(image.GetByte(at + 3), 0xC0);
    EXPECT_EQ(Current(), std::make_pair(1, 1));
}

TEST_F(SheetTest, EscapeLeavesTheImageAsItWas) {
    Open("GI_Sheet_TChan");
    const cmcEeprom before = Doc().WorkingImage();
    Key('1');
    ASSERT_TRUE(Sheet().EditorVisible());
    QTest::keyClicks(Sheet().Editor(), "46.52");
    QTest::keyClick(Sheet().Editor(), Qt::Key_Escape);
    EXPECT_FALSE(Sheet().EditorVisible());
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));
    EXPECT_TRUE(Grid().hasFocus());
}

TEST_F(SheetTest, UpAndDownCommitAndMove) {
    Open("GI_Sheet_TChan");
    Key(Qt::Key_Down);
    ASSERT_EQ(Current(), std::make_pair(1, 2));
    Key('1');
    QTest::keyClicks(Sheet().Editor(), "47");
    QTest::keyClick(Sheet().Editor(), Qt::Key_Down);
    EXPECT_EQ(Current(), std::make_pair(1, 3));
    datCh ch(&Doc().WorkingImage());
    ch.Load(ModelClassOf(gEnviron->ModelType), 1);
    EXPECT_EQ(ch.rxFreq, 147000000);

    Key('1');
    QTest::keyClicks(Sheet().Editor(), "48");
    QTest::keyClick(Sheet().Editor(), Qt::Key_Up);
    EXPECT_EQ(Current(), std::make_pair(1, 2));
    ch.Load(ModelClassOf(gEnviron->ModelType), 2);
    EXPECT_EQ(ch.rxFreq, 148000000);
}

TEST_F(SheetTest, SpaceStepsAListCell) {
    Open("GI_Sheet_TChan");
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    ASSERT_EQ(Current(), std::make_pair(3, 1));
    const int32_t at = layout::kChannelS + 12;
    const uint8_t before = Doc().WorkingImage().GetByte(at);
    Key(' ');
    EXPECT_EQ(Doc().WorkingImage().GetByte(at), before ^ 0x40);
    EXPECT_FALSE(Sheet().EditorVisible());
}

TEST_F(SheetTest, EndEditingCommitsAnOpenEditorWithinTheSend) {
    Open("GI_Sheet_TChan");
    Key('1');
    QTest::keyClicks(Sheet().Editor(), "46.52");
    gEvMan->Send(evEndEditing);
    EXPECT_FALSE(Sheet().EditorVisible());
    datCh ch(&Doc().WorkingImage());
    ch.Load(ModelClassOf(gEnviron->ModelType), 0);
    EXPECT_EQ(ch.rxFreq, 146520000);
}

} // namespace
} // namespace uitest
