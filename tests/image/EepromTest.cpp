#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <gtest/gtest.h>

TEST(cmcEeprom, SetSizeClearsEvenAtTheSameSizeAndEmptiesOnZeroOrNegative) {
    cmcEeprom img;
    img.SetSize(16);
    img.Fill(0xAA);
    img.SetSize(16);
    EXPECT_EQ(img.GetByte(15), 0);
    for (int32_t n : {0, -5}) {
        img.SetSize(16);
        img.SetSize(n);
        EXPECT_EQ(img.GetSize(), 0);
        EXPECT_EQ(img.Data(), nullptr);
        EXPECT_THROW(img.GetByte(0), plat::FatalError);
    }
}

TEST(cmcEeprom, ByteAccessOutsideTheImageIsFatal) {
    cmcEeprom img;
    img.SetSize(8);
    EXPECT_THROW(img.GetByte(8), plat::FatalError);
    EXPECT_THROW(img.GetByte(-1), plat::FatalError);
    try {
        img.SetByte(8, 1);
        FAIL();
    } catch (const plat::FatalError& e) {
        EXPECT_STREQ(e.what(), "Out of EEPROM image address (SetByte).");
    }
}

TEST(cmcEeprom, RangesAreCopiedWholeOrNotAtAll) {
    cmcEeprom img;
    img.SetSize(32);
    const uint8_t src[5] = {1, 2, 3, 4, 5};
    struct Case {
        int32_t address, length;
        bool copied;
    } cases[] = {
        {28, 4, true},
        {28, 5, false},
        {0, 0, false},
        {-1, 2, false},
        {32, 1, false},
        // would overflow a plain address + length
        {30, INT32_MAX, false},
    };
    for (const Case& c : cases) {
        img.SetSize(32);
        img.Write(c.address, src, c.length);
        int sum = 0;
        for (int i = 0; i < 32; ++i)
            sum += img.GetByte(i);
        EXPECT_EQ(sum != 0, c.copied) << c.address << "+" << c.length;
        uint8_t out[5] = {9, 9, 9, 9, 9};
        img.Read(c.address, out, c.length);
        EXPECT_EQ(out[0] != 9, c.copied);
    }
}

TEST(cmcEeprom, AssignAndCompare) {
    cmcEeprom a, b;
    a.SetSize(4);
    a.SetByte(3, 7);
    b.Assign(a);
    EXPECT_TRUE(b.IsEqual(a));
    b.SetByte(0, 1);
    EXPECT_TRUE(b.IsDifferent(a));
    cmcEeprom longer;
    longer.SetSize(5);
    longer.SetByte(3, 7);
    EXPECT_TRUE(longer.IsDifferent(a)) << "a prefix is still a different image";
    cmcEeprom e1, e2;
    EXPECT_TRUE(e1.IsEqual(e2));
    a.Assign(e1);
    EXPECT_EQ(a.GetSize(), 0);
}

TEST(ImageLayout, TablesAreFoundByIdAndEndWhereTheImageSaysSo) {
    EXPECT_EQ(layout::Table(2).offset, layout::kStaticStart);
    EXPECT_EQ(layout::Table(59).End(), layout::kPtblCopy);
    EXPECT_EQ(layout::FindTable(4), nullptr);
    EXPECT_EQ(layout::Table(8).offset + 156, layout::kBankCounts);
}

TEST(cmcEeprom, CopiesAreDeepAndAMovedImageLeavesAnEmptyOne) {
    cmcEeprom a;
    a.SetSize(layout::kImageSize);
    a.SetByte(layout::kImageSize - 1, 0x5A);
    cmcEeprom copy = a;
    copy.SetByte(layout::kImageSize - 1, 0);
    EXPECT_EQ(a.GetByte(layout::kImageSize - 1), 0x5A);

    const uint8_t* bytes = a.Data();
    cmcEeprom moved = std::move(a);
    EXPECT_EQ(moved.Data(), bytes) << "the bytes move, they are not copied";
    EXPECT_EQ(moved.GetByte(layout::kImageSize - 1), 0x5A);
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_THROW(a.GetByte(0), plat::FatalError);

    copy = std::move(moved);
    EXPECT_EQ(copy.GetByte(layout::kImageSize - 1), 0x5A);
    EXPECT_EQ(moved.GetSize(), 0);
    cmcEeprom& same = copy;
    copy = std::move(same);
    EXPECT_EQ(copy.GetSize(), layout::kImageSize) << "moved onto itself it keeps its bytes";
}
