// The adjustment program's sheet takes no cursor into a column laid out 0
// wide, where the cloning program's sheet would put it on a cell nobody sees.
#include "adjust/ui/iuiSheet.h"
#include "adjust/AdjustVocabulary.h"
#include "cells/CellEngine.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "tests/adjust_ui/SheetScope.h"
#include "tests/support/TempDir.h"
#include "ui/cuiGrid.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <utility>

using adjtest::SheetScope;

namespace {

// Lays out its third column 0 wide, as a sheet kind that hides a column does.
template <class Sheet> class HidingThird : public Sheet {
public:
    using Sheet::Sheet;
    void OnLayoutCell(int32_t col, int32_t) override {
        if (col == 2) this->grid_->SetColWidth(2, 0);
    }
};

class iuiSheetTest : public ::testing::Test {
protected:
    iuiSheetTest() {
        std::ofstream(dir.Path() + "/test.ovl") << "#T_Style\n(FixedCols=0)(FixedRows=0)\n"
                                                   "#T_BasicCell\n{<(Color=clWindow)}\n"
                                                   "#T_Cells\n"
                                                   "{SW}a|{SW}b|{S}c|{SW}d|\n"
                                                   "{SW}e|{SW}f|{S}g|{SW}h|\n"
                                                   "#End_Of_Ovl\n";
        texts.SetFile(dir.Path() + "/test.ovl");
    }

    template <class Sheet> std::unique_ptr<Sheet> Build() {
        auto sheet = std::make_unique<Sheet>(adj::AdjustCellEngine(), &host, nullptr, 0, 0, texts, "T");
        sheet->Build();
        return sheet;
    }

    testsupport::TempDir dir;
    SheetScope scope;
    cmcGTex texts;
    QWidget host;
};

TEST_F(iuiSheetTest, AColumnLaidOutZeroWideHoldsNoSelectableCell) {
    const auto plain = Build<HidingThird<cuiSheet>>();
    const auto adjusting = Build<HidingThird<adj::iuiSheet>>();
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(plain->Grid()->ColWidth(2), 0);
        EXPECT_TRUE(plain->GetCell(2, row).flags & cmcCellObj::kFlagS)
            << "the cloning program's sheet keeps it";
        EXPECT_FALSE(adjusting->GetCell(2, row).flags & cmcCellObj::kFlagS) << row;
        for (int col : {0, 1, 3})
            EXPECT_TRUE(adjusting->GetCell(col, row).flags & cmcCellObj::kFlagS) << col << "," << row;
    }
    // The cursor steps over the hidden column.
    adjusting->SetCurrentCell(1, 0);
    QTest::keyClick(adjusting->Grid(), Qt::Key_Right);
    EXPECT_EQ(adjusting->CurrentCol(), 3);
}

// A click lands on the cell under the pointer on either side of the hidden
// column, however narrow the cells beside it.
TEST_F(iuiSheetTest, AClickBesideAColumnLaidOutZeroWideMakesTheCellUnderThePointerCurrent) {
    const auto sheet = Build<HidingThird<adj::iuiSheet>>();
    host.resize(400, 200);
    host.show();
    cuiGrid& grid = *sheet->Grid();
    for (const auto& [col, row] : {std::pair{3, 1}, std::pair{1, 0}, std::pair{0, 1}, std::pair{3, 0}}) {
        const QRect cell = grid.CellRect(col, row);
        for (const QPoint at :
             {cell.center(), cell.topLeft() + QPoint(1, 1), cell.bottomRight() - QPoint(1, 1)}) {
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
            EXPECT_EQ(std::make_pair(sheet->CurrentCol(), sheet->CurrentRow()), std::make_pair(col, row))
                << at.x() << "," << at.y();
        }
    }
}

} // namespace
