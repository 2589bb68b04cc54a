// The bank counters and row numbers of the adjustment program, taken by name
// from the cloning program's cases for its own cell ids.
#include "tests/adjust/AdjustCellFixture.h"

#include "image/BankSite.h"

namespace adjtest {
namespace {

class AdjustBankCellsTest : public AdjustCellFixture {
protected:
    AdjustBankCellsTest() { h.LoadStartupData(0); }
};

TEST_F(AdjustBankCellsTest, RowNumbersCountFromZeroAndFromOne) {
    // A scan-list row: channel rows keep an empty row's cells blank.
    const int32_t rows = Category("CT_Scan");
    EXPECT_EQ(h.Display({rows, Id("CL_Misc_ChNo_0Base"), 7}).text, "7");
    EXPECT_EQ(h.Display({rows, Id("CL_Misc_ChNo_1Base"), 7}).text, "8");
}

TEST_F(AdjustBankCellsTest, ABanksUsedCountShowsOnlyWhileBanksAreFree) {
    const int32_t bankOp = Category("CT_BankOp");
    SetBankChannelCount(h.Image(), 0, 0);
    SetBankChannelCount(h.Image(), 1, 0);
    EXPECT_EQ(h.Display({bankOp, Id("CL_Bank_UsedQty"), 0}).text, "---");
    EXPECT_EQ(h.Display({bankOp, Id("CL_Bank_SmarTrunk"), 0}).text, "Non");
    SetBankChannelCount(h.Image(), 1, 3);
    // Three rows, none of them programmed.
    EXPECT_EQ(h.Display({bankOp, Id("CL_Bank_UsedQty"), 1}).text, "0");
}

} // namespace
} // namespace adjtest
