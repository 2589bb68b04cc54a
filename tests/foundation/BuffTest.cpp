#include "foundation/ByteUtil.h"
#include "foundation/cmcBuff.h"
#include "foundation/cmcPackedBcd.h"
#include "platform/Fatal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(const cmcBuff& b) {
    return {b.Data(), b.Data() + b.Size()};
}

cmcBuff Counting(int n) {
    std::vector<uint8_t> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        v[size_t(i)] = uint8_t(i);
    cmcBuff b;
    b.Set(v.data(), n);
    return b;
}

TEST(cmcBuff, GrowsByAQuarterOfTheSizeAndFillsTheNewRoom) {
    cmcBuff b;
    EXPECT_EQ(b.Capacity(), 1);
    b.Set(std::vector<uint8_t>(10, 0x11).data(), 10);
    ASSERT_EQ(b.Capacity(), 10);
    b.SetFillByte(0xEE);
    EXPECT_EQ(b.SetSize(11), 11);
    EXPECT_EQ(b.Capacity(), 13);
    EXPECT_EQ(b.SetSize(13), 13);
    EXPECT_EQ(b.Capacity(), 13) << "growing within the capacity does not reallocate";
    EXPECT_EQ(Bytes(b), (std::vector<uint8_t>{0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                              0xEE, 0xEE, 0xEE}));
}

TEST(cmcBuff, RegrowingAfterAShrinkDoesNotBringBackOldBytes) {
    cmcBuff b = Counting(8);
    b.SetSize(2);
    b.SetSize(5);
    EXPECT_EQ(b.Capacity(), 8);
    EXPECT_EQ(Bytes(b), (std::vector<uint8_t>{0, 1, 0, 0, 0}));
}

TEST(cmcBuff, RefusesNegativeAndOverflowingSizes) {
    cmcBuff b = Counting(5);
    const std::vector<uint8_t> before = Bytes(b);
    EXPECT_EQ(b.SetSize(-1), 5);
    b.Set(b.Data(), -3);
    b.AppendFill(0xAA, -1);
    b.Append(b.Data(), std::numeric_limits<int32_t>::max());
    b.AppendFill(0xAA, std::numeric_limits<int32_t>::max() - 4);
    EXPECT_EQ(Bytes(b), before);
}

TEST(cmcBuff, AppendingItsOwnContentsWhileGrowing) {
    cmcBuff b = Counting(10);
    ASSERT_EQ(b.Capacity(), 10);
    b.Append(b.Data(), b.Size());
    b.AppendBuff(b);
    std::vector<uint8_t> expected;
    for (int copy = 0; copy < 4; ++copy)
        for (uint8_t i = 0; i < 10; ++i)
            expected.push_back(i);
    EXPECT_EQ(Bytes(b), expected);

    b.Set(b.At(2), 3);
    EXPECT_EQ(Bytes(b), (std::vector<uint8_t>{2, 3, 4}));
}

TEST(cmcBuff, EditsAndCopies) {
    cmcBuff b;
    b.Add(1);
    const uint8_t two[] = {2, 3};
    b.Append(two, 2);
    b.AppendFill(9, 3);
    EXPECT_EQ(Bytes(b), (std::vector<uint8_t>{1, 2, 3, 9, 9, 9}));

    cmcBuff copy(b);
    b.Fill(0);
    EXPECT_EQ(Bytes(copy), (std::vector<uint8_t>{1, 2, 3, 9, 9, 9}));
    EXPECT_EQ(Bytes(b), std::vector<uint8_t>(6, 0));
    copy = b;
    EXPECT_EQ(Bytes(copy), Bytes(b));
}

TEST(cmcBuff, AtOutsideTheContentsIsFatal) {
    cmcBuff b = Counting(3);
    EXPECT_EQ(*b.At(2), 2);
    for (int32_t i : {-1, 3}) {
        try {
            b.At(i);
            ADD_FAILURE() << "index " << i;
        } catch (const plat::FatalError& e) {
            EXPECT_STREQ(e.what(), "Out of cmcBuff element !");
        }
    }
    b.TakeFront();
    EXPECT_THROW(b.At(2), plat::FatalError) << "consumed bytes are gone";
}

TEST(cmcBuff, TakeFrontOnEmptyReturnsMinusOne) {
    cmcBuff b;
    EXPECT_EQ(b.TakeFront(), -1);
    EXPECT_EQ(b.Size(), 0);
    EXPECT_EQ(b.Capacity(), 1);
}

TEST(cmcBuff, CompactsOnceMoreThan4096BytesAreConsumed) {
    const int total = 5000;
    cmcBuff b = Counting(total);
    const int32_t capacity = b.Capacity();
    for (int i = 0; i < 4096; ++i)
        ASSERT_EQ(b.TakeFront(), i & 0xFF);
    EXPECT_EQ(b.Capacity(), capacity - 4096) << "no compaction yet";
    EXPECT_EQ(b.TakeFront(), 4096 & 0xFF);
    EXPECT_EQ(b.Capacity(), total - 4097);
    std::vector<uint8_t> rest;
    for (int i = 4097; i < total; ++i)
        rest.push_back(uint8_t(i));
    EXPECT_EQ(Bytes(b), rest);
}

TEST(cmcBuff, ClearIsAsNew) {
    cmcBuff b = Counting(20);
    b.SetFillByte(0x55);
    b.Clear();
    EXPECT_EQ(b.Size(), 0);
    EXPECT_EQ(b.Capacity(), 1);
    EXPECT_EQ(b.FillByte(), 0);
    b.SetSize(3);
    EXPECT_EQ(Bytes(b), std::vector<uint8_t>(3, 0));
}

TEST(cmcPackedBcd, StoresDigitsAsNibblesKeepingTheRest) {
    cmcPackedBcd digits;
    for (uint8_t d : {1, 2, 3})
        digits.Add(d);
    uint8_t field[2] = {0xFF, 0xFF};
    digits.StoreNibbles(field);
    EXPECT_EQ(field[0], 0x12);
    EXPECT_EQ(field[1], 0x3F);

    digits.SetSize(0);
    for (uint8_t d : {4, 5, 6, 7, 8})
        digits.Add(d);
    uint8_t guarded[3] = {0, 0, 0xAB};
    digits.StoreNibbles(std::span<uint8_t>(guarded, 2));
    EXPECT_EQ(guarded[0], 0x45);
    EXPECT_EQ(guarded[1], 0x67);
    EXPECT_EQ(guarded[2], 0xAB) << "a digit beyond the field is not stored";
}

TEST(ByteUtil, Nibbles) {
    const uint8_t byte[] = {0x5A};
    EXPECT_EQ(GetNibble(byte, 0), 5);
    EXPECT_EQ(GetNibble(byte, 1), 10);

    uint8_t bytes[] = {0x5A, 0x5A};
    SetNibble(bytes, 0, 0x13);
    SetNibble(bytes, 3, 0xC);
    EXPECT_EQ(bytes[0], 0x3A);
    EXPECT_EQ(bytes[1], 0x5C);
}

TEST(ByteUtil, BitsCountFromTheMostSignificantBitOfTheFirstByte) {
    const uint8_t bytes[] = {0x80, 0x01};
    struct Case {
        int32_t bit;
        int expected;
    } cases[] = {{0, 1}, {1, 0}, {7, 0}, {8, 0}, {15, 1}, {16, 0}, {-1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(GetBitMsb(bytes, 2, c.bit), c.expected) << "bit " << c.bit;
    EXPECT_EQ(GetBitMsb(bytes, 1, 15), 0) << "beyond the length given";
}

} // namespace
