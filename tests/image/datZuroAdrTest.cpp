#include "image/datZuroAdr.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr int32_t kAt = 99256;

struct Expected {
    int first, last;
    int32_t minimum, maximum;
};

void ExpectLimits(const datZuroAdr& z, std::initializer_list<Expected> table) {
    int covered = 0;
    for (const Expected& e : table) {
        for (int i = e.first; i <= e.last; ++i, ++covered) {
            EXPECT_EQ(z.limits[i].minimum, e.minimum) << "entry " << i;
            EXPECT_EQ(z.limits[i].maximum, e.maximum) << "entry " << i;
        }
    }
    EXPECT_EQ(covered, datZuroAdr::kLimits);
}

class ZuroAdrTest : public ::testing::Test {
protected:
    ZuroAdrTest() {
        image.SetSize(layout::kImageSize);
        image.Fill(0xA5);
    }
    cmcEeprom image;
};

TEST_F(ZuroAdrTest, ReadsTheGroupStartAndDerivesTheLimits) {
    image.SetWord(kAt, 1000);
    datZuroAdr z(&image);
    EXPECT_EQ(z.image, &image);
    EXPECT_EQ(z.groupAddressStart, 1000);
    ExpectLimits(z, {{0, 0, 0, 0},
                     {1, 1, 0, 4095},
                     {2, 2, 1000, 4095},
                     {3, 3, 4095, 4095},
                     {4, 4, 0, 4095},
                     {5, 6, 0, 999},
                     {7, 13, 1000, 4095},
                     {14, 45, 0, 4095}});
}

TEST_F(ZuroAdrTest, EdgesOfTheGroupStart) {
    image.SetWord(kAt, 0);
    datZuroAdr none(&image);
    EXPECT_EQ(none.limits[5].maximum, -1) << "no individual address is left";
    EXPECT_EQ(none.limits[6].maximum, -1);
    image.SetWord(kAt, 4095);
    datZuroAdr all(&image);
    for (int i : {2, 7, 13}) {
        EXPECT_EQ(all.limits[i].minimum, 4095) << i;
        EXPECT_EQ(all.limits[i].maximum, 4095) << i;
    }
}

TEST_F(ZuroAdrTest, StoreWritesTheLow16BitsBigEndianAndDerivesAgain) {
    cmcEeprom expected(image);
    expected.SetByte(kAt, 0x0A);
    expected.SetByte(kAt + 1, 0xBC);
    datZuroAdr z(&image);
    z.groupAddressStart = 0x10ABC;
    z.Store();
    EXPECT_TRUE(image.IsEqual(expected)) << "two bytes, high byte first, and nothing else";
    EXPECT_EQ(z.limits[2].minimum, 0x10ABC) << "the limits follow the value at once";
    z.groupAddressStart = 2000;
    z.Store();
    EXPECT_EQ(z.limits[5].maximum, 1999);
    z.Load();
    EXPECT_EQ(z.groupAddressStart, 2000);
}

TEST(ZuroAdr, AnImageWithoutTheValueIsNeitherReadNorWritten) {
    cmcEeprom small;
    small.SetSize(100);
    datZuroAdr z(&small);
    EXPECT_EQ(z.groupAddressStart, 0);
    z.groupAddressStart = 12;
    z.Store();
    EXPECT_EQ(z.limits[2].minimum, 12);
    datZuroAdr unbound(nullptr);
    EXPECT_EQ(unbound.limits[1].maximum, 4095);
}

} // namespace
