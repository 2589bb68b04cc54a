// The settings cells the adjustment program reads otherwise than the cloning
// program: a plain squelch level.
#include "tests/adjust/AdjustCellFixture.h"

namespace adjtest {
namespace {

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

} // namespace
} // namespace adjtest
