#include "image/DynamicCapacity.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "tests/image/RadioImage.h"

#include <gtest/gtest.h>

using testimage::RadioImage;

namespace {

// An image whose header words leave free1 bytes after block 3's start and
// free2 bytes after the end of the used data.
RadioImage WithFree(int32_t free1, int32_t free2) {
    RadioImage img;
    img.SetWord(layout::kHdrBlock3Address, static_cast<uint16_t>(0xFF7F - free1));
    img.SetWord(layout::kHdrEndAddress, static_cast<uint16_t>(0xFF7F - free2));
    return img;
}

} // namespace

TEST(FitsDynamicArea, FollowsTheCostOfEachCategory) {
    struct Case {
        int32_t free1, free2;
        int category;
        int32_t n, mode;
        int fits;
    } cases[] = {
        // No free space at all: not even zero channels or repeaters, other categories still.
        {0, 0, kCategoryChannel, 0, 0, 0},
        {0, 0, kCategoryRepeater, 0, 0, 0},
        {0, 0, 13, 0, 0, 1},
        {0, 0, 13, 500, 0, 1},
        // 30 bytes a channel before block 3 (strictly less), 58 in all after it.
        {300, 600, kCategoryChannel, 10, 0, 0},
        {300, 600, kCategoryChannel, 9, 0, 1},
        {300, 521, kCategoryChannel, 9, 0, 0},
        {300, 522, kCategoryChannel, 9, 0, 1},
        // Bank 127's channels cost all 58 bytes before block 3.
        {300, 600, kCategoryChannel, 5, kBank127Mode, 1},
        {300, 600, kCategoryChannel, 6, kBank127Mode, 0},
        // Repeaters: 10 bytes each, and room after block 3 at all.
        {1, 100, kCategoryRepeater, 10, 0, 1},
        {1, 99, kCategoryRepeater, 10, 0, 0},
        // Used data ending past the area: nothing fits.
        {0, -1, 13, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.free1 << "/" << c.free2 << " cat " << c.category << " n " << c.n);
        RadioImage img = WithFree(c.free1, c.free2);
        EXPECT_EQ(FitsDynamicArea(img.Image(), c.category, c.n, c.mode), c.fits);
    }
}

TEST(MaxFittingCount, CountsDownToTheFirstThatFits) {
    RadioImage none = WithFree(0, 0);
    EXPECT_EQ(MaxFittingCount(none.Image(), kCategoryChannel, 20, 0), -1);
    EXPECT_EQ(MaxFittingCount(none.Image(), kCategoryRepeater, 20, 0), -1);
    EXPECT_EQ(MaxFittingCount(none.Image(), 13, 20, 0), 20);

    RadioImage some = WithFree(300, 600);
    EXPECT_EQ(MaxFittingCount(some.Image(), kCategoryChannel, 100, 0), 9);
    EXPECT_EQ(MaxFittingCount(some.Image(), kCategoryChannel, 100, kBank127Mode), 5);
    EXPECT_EQ(MaxFittingCount(some.Image(), kCategoryChannel, 3, 0), 3);
    EXPECT_EQ(MaxFittingCount(some.Image(), kCategoryRepeater, 100, 0), 60);
    EXPECT_EQ(MaxFittingCount(some.Image(), kCategoryChannel, -1, 0), -1);

    // A count far past anything the area holds is answered without counting down from it.
    RadioImage empty = WithFree(0xFF7F - 512, 0xFF7F - 512);
    EXPECT_EQ(MaxFittingCount(empty.Image(), kCategoryChannel, INT32_MAX, 0), (0xFF7F - 512) / 58);
}

TEST(FitsDynamicArea, WithoutAnImageAsksTheCurrentImage) {
    RadioImage img = WithFree(300, 600);
    SetCurrentImage(&img.Image());
    EXPECT_EQ(FitsDynamicArea(kCategoryChannel, 9, 0), 1);
    EXPECT_EQ(FitsDynamicArea(kCategoryChannel, 10, 0), 0);
    EXPECT_EQ(MaxFittingCount(kCategoryChannel, 100, kBank127Mode), 5);
    SetCurrentImage(nullptr);
}
