// The channel-bank sheet over the shipped channel sheets of the ten models:
// its rows, columns, caption and how it follows the bank's rows.
#include "cells/RowRange.h"
#include "foundation/TextUtil.h"
#include "image/CurrentImage.h"
#include "image/DynamicCapacity.h"
#include "image/ImageLayout.h"
#include "image/RecordLayout.h"
#include "tests/ui/KindsFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "ui/cuiMenu.h"
#include "ui/iuiSh_ChBank.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

using uitest::KindsFixture;

// The shipped channel sheets' first channel row, below the group headings and the captions.
constexpr int kFirstRow = 2;

class BankSheetTest : public KindsFixture {
protected:
    // The current model's channel sheet over bank n.
    iuiSh_ChBank& OpenBank(int32_t bank, const std::string& name = {}) {
        return Open<iuiSh_ChBank>(name.empty() ? "GI_Sheet_Mch_" + ModelKeySuffix() : name,
                                  "Bank " + std::to_string(bank));
    }
    iuiSh_ChBank& Bank() { return static_cast<iuiSh_ChBank&>(*sheet_); }

    // The channel row each grid row shows, read from the row-number column;
    // -1 for the header rows.
    std::vector<int32_t> RowIndexes(iuiSh_ChBank& sheet) {
        std::vector<int32_t> out;
        for (int r = 0; r < sheet.RowCount(); ++r) {
            const cmcCellObj& cell = sheet.GetCell(0, r);
            out.push_back(cell.cellId == Id("CL_Mch_No") ? cell.index : -1);
        }
        return out;
    }
    // The cell a pop-up menu item stands for, by its caption.
    QAction* MenuItem(cuiSheet& sheet, const QString& text) {
        for (QAction* a : sheet.PopupMenu()->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    int32_t FreeInCaption(iuiSh_ChBank& sheet) {
        const std::string caption = sheet.Caption();
        const size_t at = caption.rfind("(Left CH - ");
        EXPECT_NE(at, std::string::npos) << caption;
        return std::stoi(caption.substr(at + 11));
    }
};

// Bank 3 with five channels, on every model: the header, the five channels
// from the bank's first row on, and one empty row for a new channel.
TEST_F(BankSheetTest, ShowsTheBanksChannelsAndOneEmptyRowOnEveryModel) {
    for (int32_t model = 0; model < 10; ++model) {
        SCOPED_TRACE(model);
        LoadModel(model);
        cmcEeprom& image = Doc().WorkingImage();
        for (int32_t bank = 0; bank < 3; ++bank)
            SetBankChannelCount(image, bank, bank + 1);
        FillBank(3, 5);
        iuiSh_ChBank& sheet = OpenBank(3);
        const int32_t first = 1 + 2 + 3;
        EXPECT_EQ(RowIndexes(sheet), (std::vector<int32_t>{-1, -1, first, first + 1, first + 2, first + 3,
                                                           first + 4, first + 5}));
        EXPECT_EQ(sheet.FirstLoopRow(), kFirstRow);
        EXPECT_EQ(GetCurrentBankRange(), (RowRange{3, first, first + 4, 5})) << "the sheet answers 30";
        const int rx = ColumnOf(sheet, kFirstRow, IsModelLtr() ? "CL_Grp_RxId" : "CL_Mch_FreqR");
        ASSERT_GE(rx, 0);
        // The cursor starts on the first channel's name.
        EXPECT_EQ(Current(), std::make_pair(ColumnOf(sheet, kFirstRow, "CL_Mch_Text"), kFirstRow));
        // The empty row stays out of multi-selections, the channel rows join.
        for (int r = kFirstRow; r < sheet.RowCount(); ++r)
            EXPECT_EQ(bool(sheet.GetCellId(rx, r).flags & clsSheetCellId::kMayJoin), r < kFirstRow + 5) << r;
        EXPECT_EQ(sheet.IsPrintable(), 1);
        sheet_.reset();
    }
}

TEST_F(BankSheetTest, ABankWithoutChannelsShowsOnlyTheEmptyRowAndIsNotPrinted) {
    LoadModel(0);
    cmcEeprom& image = Doc().WorkingImage();
    for (int32_t bank = 0; bank < 128; ++bank)
        SetBankChannelCount(image, bank, 0);
    FillBank(0, 4);
    iuiSh_ChBank& sheet = OpenBank(1);
    EXPECT_EQ(RowIndexes(sheet), (std::vector<int32_t>{-1, -1, 4}));
    EXPECT_EQ(sheet.IsPrintable(), 0);
    EXPECT_EQ(sheet.ChannelCount(), 0);
}

TEST_F(BankSheetTest, ParametersThatNameNoBankShowBankZero) {
    LoadModel(0);
    FillBank(0, 2);
    for (const char* params : {"Site 3", "", "Bank 900"}) {
        SCOPED_TRACE(params);
        iuiSh_ChBank& sheet = Open<iuiSh_ChBank>("GI_Sheet_Mch_Lmr", params);
        EXPECT_EQ(sheet.Bank(), 0);
        EXPECT_EQ(sheet.ChannelCount(), std::string(params) == "Bank 900" ? 2 : 0);
        sheet_.reset();
    }
}

// The bank's name up to its first zero, '*' for what cannot be printed; the
// SmarTrunk mark and colour; and the channels that still fit the radio.
TEST_F(BankSheetTest, TitleAndCaptionNameTheBank) {
    LoadModel(0);
    cmcEeprom& image = Doc().WorkingImage();
    const int32_t name = layout::Table(13).offset + 12 * 2;
    const uint8_t bytes[12] = {'A', 'B', 0x07, 'D', 0xE9, 'F', 0, 'X', 'X', 'X', 'X', 'X'};
    for (int i = 0; i < 12; ++i)
        image.SetByte(name + i, bytes[i]);
    SetSmarTrunkBank(image, 2, 1);
    FillBank(2, 3);
    iuiSh_ChBank& sheet = OpenBank(2);
    const std::string smarTrunk = gGTex->GetTextLine("GI_AppInd_MchSheet_Printer_SmarTrunk", 0);
    EXPECT_EQ(sheet.GetTitle(),
              gGTex->GetTextLine("GI_AppInd_MchSheet_Printer_Head", 0) + " 3: AB*D*F " + smarTrunk);
    const std::string title = *sheet.Style().title;
    const int32_t left = FreeInCaption(sheet);
    EXPECT_EQ(sheet.Caption(),
              title + " 3: AB*D*F " + smarTrunk + " (Left CH - " + std::to_string(left) + ")");
    // As many as still fit, or every row the channel table has left.
    const int32_t rowsLeft = 512 - GetTotalBankChannels(image);
    EXPECT_EQ(FitsDynamicArea(image, kCategoryChannel, left, 2), 1);
    EXPECT_TRUE(left == rowsLeft || FitsDynamicArea(image, kCategoryChannel, left + 1, 2) == 0) << left;
    const QLabel* label = sheet.TitlePanel()->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 255, 255)) << "aqua for SmarTrunk";
    uitest::SavePicture(sheet.TitlePanel()->parentWidget()->grab(), "kinds14-banksheet");

    // A plain bank in yellow; a full area leaves nothing, never less.
    SetSmarTrunkBank(image, 2, 0);
    image.SetWord(layout::kHdrBlock3Address, layout::kDynamicEnd - 1);
    gEvMan->Send(evRefreshCaption);
    EXPECT_EQ(FreeInCaption(sheet), 0);
    EXPECT_EQ(sheet.Caption(), title + " 3: AB*D*F  (Left CH - 0)");
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 255, 0));
}

// Which columns a bank's type hides, as the LTR sheet shows them: hidden
// columns are 0 wide with their label column, and take no input.
TEST_F(BankSheetTest, ColumnsOfTheOtherBankTypeAreHidden) {
    const struct {
        int32_t model;
        bool ltrBank;
        std::vector<const char*> hidden, shown;
    } cases[] = {
        {1,
         true,
         {"CL_Mch_FreqR", "CL_Mch_FreqT", "CL_Mch_TxInh", "CL_Mch_Nar", "CL_Mch_CTone_R", "CL_Mch_RfPo"},
         {"CL_Grp_RxId", "CL_Grp_TxId", "CL_Grp_HomeRptCh", "CL_Grp_BlockIdStart", "CL_Mch_Text",
          "CL_Mch_Scan"}},
        {6,
         false,
         {"CL_Grp_RxId", "CL_Grp_TxId", "CL_Grp_TxInh", "CL_Grp_HomeRptCh", "CL_Grp_PhonePriv"},
         {"CL_Mch_FreqR", "CL_Mch_FreqT", "CL_Mch_Lockout", "CL_Mch_Text"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        LoadModel(c.model);
        cmcEeprom& image = Doc().WorkingImage();
        SetBankFlagB(image, 0, c.ltrBank ? 1 : 0);
        FillBank(0, 2);
        iuiSh_ChBank& sheet = OpenBank(0);
        cuiGrid& grid = *sheet.Grid();
        for (const char* name : c.hidden) {
            const int col = ColumnOf(sheet, kFirstRow, name);
            ASSERT_GE(col, 2) << name;
            EXPECT_EQ(grid.ColWidth(col), 0) << name;
            EXPECT_FALSE(sheet.GetCell(col, kFirstRow).flags & cmcCellObj::kFlagS) << name;
        }
        for (const char* name : c.shown) {
            const int col = ColumnOf(sheet, kFirstRow, name);
            ASSERT_GE(col, 0) << name;
            EXPECT_GT(grid.ColWidth(col), 0) << name;
            EXPECT_TRUE(sheet.GetCell(col, kFirstRow).flags & cmcCellObj::kFlagS) << name;
        }
        // The label column in front of the hidden group goes with it.
        const int firstHidden = ColumnOf(sheet, kFirstRow, c.hidden[0]);
        EXPECT_EQ(grid.ColWidth(firstHidden - 1), 0);
        EXPECT_GT(grid.ColWidth(0), 0);
        uitest::SavePicture(host_.grab(), QString("kinds14-ltr-model%1").arg(c.model));
        // Moving right passes over the hidden columns.
        for (int i = 0; i < sheet.ColCount(); ++i)
            Key(Qt::Key_Right);
        EXPECT_GT(grid.ColWidth(Current().first), 0);
        sheet_.reset();
    }
}

TEST_F(BankSheetTest, AHiddenColumnOneHidesOnlyItself) {
    LoadModel(0);
    FillBank(0, 1);
    iuiSh_ChBank& sheet = OpenBank(0, "GI_Sheet_TBankCol1");
    EXPECT_EQ(sheet.Grid()->ColWidth(1), 0);
    EXPECT_GT(sheet.Grid()->ColWidth(0), 0);
    EXPECT_GT(sheet.Grid()->ColWidth(2), 0);
}

// Typing a frequency into the empty row stores a new channel: the row count,
// the multi-selection flags and the free channels follow.
TEST_F(BankSheetTest, TypingIntoTheEmptyRowAddsAChannelRow) {
    LoadModel(0);
    FillBank(0, 2);
    iuiSh_ChBank& sheet = OpenBank(0);
    const int rx = ColumnOf(sheet, kFirstRow, "CL_Mch_FreqR");
    const int32_t freeBefore = FreeInCaption(sheet);
    ASSERT_EQ(sheet.RowCount(), kFirstRow + 3);
    while (Current().first < rx)
        Key(Qt::Key_Right);
    for (int i = 0; i < 2; ++i)
        Key(Qt::Key_Down);
    ASSERT_EQ(Current(), std::make_pair(rx, kFirstRow + 2));
    QTest::keyClicks(sheet.Grid(), "1");
    ASSERT_TRUE(sheet.EditorVisible());
    QTest::keyClicks(sheet.Editor(), "46.52");
    QTest::keyClick(sheet.Editor(), Qt::Key_Return);

    EXPECT_EQ(GetBankChannelCount(Doc().WorkingImage(), 0), 3);
    EXPECT_EQ(sheet.ChannelCount(), 3);
    EXPECT_EQ(RowIndexes(sheet), (std::vector<int32_t>{-1, -1, 0, 1, 2, 3}));
    EXPECT_TRUE(sheet.GetCellId(rx, kFirstRow + 2).flags & clsSheetCellId::kMayJoin)
        << "the former empty row joins";
    EXPECT_FALSE(sheet.GetCellId(rx, kFirstRow + 3).flags & clsSheetCellId::kMayJoin)
        << "the new empty row does not";
    EXPECT_EQ(sheet.Grid()->RowHeight(kFirstRow + 3), sheet.Grid()->RowHeight(kFirstRow + 2));
    EXPECT_EQ(FreeInCaption(sheet), freeBefore - 1);
}

// Delete from the row pop-up menu over three selected rows: the sheet loses
// as many rows and the cursor stays on a remaining channel row.
TEST_F(BankSheetTest, DeletingRowsShrinksTheSheetWithTheCursorOnARemainingRow) {
    const struct { int from, shiftDowns; } cases[] = {{3, 2}, {1, 0}, {5, 0}, {1, 4}, {2, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        LoadModel(0);
        // No priority channel among them: that would refuse the delete.
        Doc().WorkingImage().SetWord(layout::kRefAChannel, 0xFFFF);
        Doc().WorkingImage().SetWord(layout::kRefBChannel, 0xFFFF);
        FillBank(0, 5);
        iuiSh_ChBank& sheet = OpenBank(0);
        const int col = Current().first;
        for (int i = 1; i < c.from; ++i)
            Key(Qt::Key_Down);
        for (int i = 0; i < c.shiftDowns; ++i)
            Key(Qt::Key_Down, Qt::ShiftModifier);
        QAction* remove = MenuItem(sheet, "Delete");
        ASSERT_NE(remove, nullptr);
        boxes_.Expect(GetMultiLineText(*gGTex, "GI_AppMess_Conv_Delete"), plat::IDOK);
        remove->trigger();
        QApplication::processEvents();
        const int32_t left = 5 - (c.shiftDowns + 1);
        EXPECT_EQ(GetBankChannelCount(Doc().WorkingImage(), 0), left);
        EXPECT_EQ(sheet.RowCount(), kFirstRow + left + 1);
        EXPECT_EQ(Current().first, col);
        EXPECT_GE(Current().second, sheet.FirstLoopRow());
        EXPECT_LT(Current().second, sheet.RowCount());
        // Where the removed rows began: the next channel, or the empty row.
        EXPECT_EQ(Current().second, kFirstRow - 1 + c.from);
        sheet_.reset();
    }
}

// A repeater entry inserted while an LTR bank sheet is open reaches the
// document, which tells the sheets a row was added: the bank did not grow,
// so its sheet stays as it is.
TEST_F(BankSheetTest, ARowEventOfAnotherPoolLeavesTheSheetAlone) {
    LoadModel(1);
    FillBank(0, 2);
    iuiSh_ChBank& sheet = OpenBank(0);
    const int32_t sites = GetSiteChannelCount(CurrentImage(), 0);
    gEvMan->Send(evInsertPoolRow, 0, GetSiteFirstChannel(CurrentImage(), 0));
    ASSERT_EQ(GetSiteChannelCount(CurrentImage(), 0), sites + 1) << "the document inserted the entry";
    EXPECT_EQ(sheet.RowCount(), kFirstRow + 3);
    EXPECT_EQ(sheet.ChannelCount(), 2);

    // So typing into its empty row still adds to this bank.
    gEvMan->Send(evAddRow);
    EXPECT_EQ(sheet.RowCount(), kFirstRow + 3);
}

TEST_F(BankSheetTest, NoMoreRowsThanTheStock) {
    LoadModel(0);
    // A file may claim more channels than the table holds.
    SetBankChannelCount(Doc().WorkingImage(), 0, 600);
    iuiSh_ChBank& sheet = OpenBank(0);
    EXPECT_EQ(sheet.RowCount(), iuiSh_ChBank::kStockRows);
    gEvMan->Send(evAddRow);
    EXPECT_EQ(sheet.RowCount(), iuiSh_ChBank::kStockRows);
    EXPECT_EQ(sheet.StockSlot(0, iuiSh_ChBank::kStockRows - 1).cell->index,
              iuiSh_ChBank::kStockRows - 1 - kFirstRow);
}

// A loop with its count is an ordinary loop, whatever the bank holds; and
// the rows do not follow the bank then.
TEST_F(BankSheetTest, ALoopWithACountIsAnOrdinaryLoop) {
    LoadModel(0);
    FillBank(0, 5);
    FillBank(1, 2);
    iuiSh_ChBank& sheet = OpenBank(1, "GI_Sheet_TBankCounted");
    EXPECT_EQ(sheet.RowCount(), 4);
    EXPECT_EQ(sheet.FirstLoopRow(), -1);
    EXPECT_EQ(sheet.GetCell(0, 1).index, 0) << "no bank's first channel either";
    gEvMan->Send(evAddRow);
    EXPECT_EQ(sheet.RowCount(), 4);
}

} // namespace
