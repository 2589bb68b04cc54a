// The sheet extends a selection while the keyboard's Shift key is down, as
// the platform's key state reports it: the same reading a converter steps by.
#include "tests/support/ScopedShift.h"
#include "tests/ui/SheetFixture.h"

#include <QTest>

namespace uitest {
namespace {

class SheetShiftTest : public SheetFixture {};

TEST_F(SheetShiftTest, AMoveOrClickWhileTheKeyStateHoldsShiftExtendsTheLines) {
    struct Case {
        const char* what;
        bool shift;
        bool extended;
    };
    for (const Case c : {Case{"Shift held", true, true}, Case{"Shift up", false, false}}) {
        SCOPED_TRACE(c.what);
        Open("GI_Sheet_TChan");
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Centre(2, 2));
        testsupport::ScopedShift shift(c.shift);
        // No modifier on the events themselves: only the key state says Shift.
        Key(Qt::Key_Down);
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Centre(2, 5));
        EXPECT_EQ(Current(), std::make_pair(2, 5));
        EXPECT_EQ(Sheet().RangeShown(), c.extended);
        for (int r = 1; r < Sheet().RowCount(); ++r) {
            if (r == 5) continue;
            EXPECT_EQ(Sheet().IsCellMarked(1, r), c.extended && r >= 2 && r <= 5) << r;
        }
    }
}

} // namespace
} // namespace uitest
