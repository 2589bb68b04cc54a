// The settings cells the adjustment program reads otherwise than the cloning
// program: a plain squelch level.
#include "tests/adjust/AdjustCellFixture.h"

#include "adjust/AdjustRecords.h"
#include "image/BankSite.h"
#include "tests/support/ParamNames.h"

namespace adjtest {
namespace {

using testsupport::PrintTo;

class AdjustSettingsCellsTest : public AdjustCellFixture {
protected:
    AdjustSettingsCellsTest() { h.LoadStartupData(0); }
    static CellAddress Cell(const char* name) { return {0, Id(name), 0}; }
};

TEST_F(AdjustSettingsCellsTest, TheSquelchLevelIsANumberUpTo255) {
    Byte(82224) = 17;
    EXPECT_EQ(h.Display(Cell("CL_SetM_SqlLev")).text, "17");
    h.Commit(Cell("CL_SetM_SqlLev"), "200");
    EXPECT_EQ(Byte(82224), 200);
    h.Commit(Cell("CL_SetM_SqlLev"), "300");
    EXPECT_EQ(Byte(82224), 255);
}

TEST_F(AdjustSettingsCellsTest, TheBankLtrSwitchIsTheBanksBitAndRebuildsTheTree) {
    const CellAddress bank5{0, Id("CL_Mch_LTR"), 5};
    SetBankFlagB(h.Image(), 5, 0);
    h.Events();
    h.Pick(bank5, Id("Flex0"), 1);
    EXPECT_TRUE(IsBankFlagB(h.Image(), 5));
    EXPECT_FALSE(IsBankFlagB(h.Image(), 4));
    EXPECT_FALSE(IsBankFlagB(h.Image(), 6));
    int rebuilds = 0;
    for (const cmcEvent& ev : h.Events())
        rebuilds += ev.type == evRebuildTree ? 1 : 0;
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(h.Display({0, Id("CL_Mch_LTR"), 127}).text.empty(), false);
    EXPECT_EQ(h.Display({0, Id("CL_Mch_LTR"), 128}).text, "----");
}

TEST_F(AdjustSettingsCellsTest, AUserToneLengthIsAByteInTheAdjustmentScale) {
    const CellAddress tone3{0, Id("CL_UTone_Length"), 3};
    Byte(95522 + 2) = 7;
    Byte(95522 + 3) = 64;
    Byte(95522 + 4) = 9;
    EXPECT_EQ(h.Display(tone3).text, "  0.700");
    h.Commit(tone3, "1.4");
    EXPECT_EQ(Byte(95522 + 3), 128);
    EXPECT_EQ(Byte(95522 + 2), 7);
    EXPECT_EQ(Byte(95522 + 4), 9);
    EXPECT_EQ(h.Display({0, Id("CL_UTone_Length"), 15}).text, "----");
    EXPECT_EQ(h.Display({0, Id("CL_UTone_Length"), 16}).text, "");
}

struct IdCase {
    const char* name;
    const char* cell;
    int32_t kind;
    const char* typed;
    int32_t stored;
    const char* shown;
};

class AdjustIdCellsTest : public AdjustSettingsCellsTest, public ::testing::WithParamInterface<IdCase> {
protected:
    adj::datCh Row2(int32_t kind) {
        adj::datCh record(&h.Image());
        record.Load(kind, 2);
        return record;
    }
};

TEST_P(AdjustIdCellsTest, TheValueLandsInItsFieldAloneAndShowsBack) {
    const IdCase& c = GetParam();
    adj::datCh before = Row2(c.kind);
    before.values[0] = 0x123;
    before.values[1] = 0x456;
    before.Store(c.kind, 2);
    const CellAddress at{0, Id(c.cell), 2};
    h.Commit(at, c.typed);
    const adj::datCh after = Row2(c.kind);
    EXPECT_EQ(after.values[0], c.stored);
    // The rest of the row stays.
    EXPECT_EQ(after.name, before.name);
    EXPECT_EQ(h.Display(at).text, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdjustIdCellsTest,
    ::testing::Values(
        IdCase{"IndividualHexSixDigits", "CL_Digi_Ind_Id_Hex", 22, "ABCDEF", 0xABCDEF, "ABCDEF"},
        IdCase{"IndividualHexZeroIsOne", "CL_Digi_Ind_Id_Hex", 22, "000000", 1, "000001"},
        IdCase{"IndividualDecimalPast16Bits", "CL_Digi_Ind_Id_Dec", 22, "16777215", 16777215, "16777215"},
        IdCase{"TalkGroupHexFourDigits", "CL_Digi_Grp_Id_Hex", 23, "BEEF", 0xBEEF, "BEEF"}),
    testsupport::CaseName());

} // namespace
} // namespace adjtest
