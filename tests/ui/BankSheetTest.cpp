// The channel-bank sheet over the shipped channel sheets of the ten models:
// its rows, columns, caption and how it follows the bank's rows.
#include "cells/RowRange.h"
#include "image/DynamicCapacity.h"
#include "image/ImageLayout.h"
#include "tests/ui/KindsFixture.h"
#include "ui/cuiMenu.h"
#include "ui/iuiSh_ChBank.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

using uitest::KindsFixture;

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
        EXPECT_EQ(RowIndexes(sheet),
                  (std::vector<int32_t>{-1, first, first + 1, first + 2, first + 3, first + 4, first + 5}));
        EXPECT_EQ(sheet.FirstLoopRow(), 1);
        EXPECT_EQ(GetCurrentBankRange(), (RowRange{3, first, first + 4, 5})) << "the sheet answers 30";
        const int rx = ColumnOf(sheet, 1, IsModelLtr() ? "CL_Grp_RxId" : "CL_Mch_FreqR");
        ASSERT_GE(rx, 0);
        EXPECT_EQ(Current(), std::make_pair(IsModelLtr() ? ColumnOf(sheet, 1, "CL_Mch_FreqR") : rx, 1));
        // The empty row stays out of multi-selections, the channel rows join.
        for (int r = 1; r < sheet.RowCount(); ++r)
            EXPECT_EQ(bool(sheet.GetCellId(rx, r).flags & clsSheetCellId::kMayJoin), r < 6) << r;
        EXPECT_EQ(sheet.IsPrintable(), 1);
        sheet_.reset();
    }
}

} // namespace
