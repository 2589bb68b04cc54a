#include "cells/CellFields.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"

#include <gtest/gtest.h>

namespace {

class CellFieldsTest : public ::testing::Test {
protected:
    CellFieldsTest() { image.SetSize(layout::kImageSize); }
    cmcEeprom image;
};

TEST_F(CellFieldsTest, BitsOfAByteKeepTheOthers) {
    struct Case {
        int32_t lowBit, width;
        uint32_t value;
        uint8_t after;
    } cases[] = {
        {0, 8, 0x5A, 0x5A}, {4, 2, 3, 0xB5}, {4, 2, 0, 0x85}, {7, 1, 0, 0x25}, {0, 3, 9, 0xA1},
    };
    for (const Case& c : cases) {
        image.SetByte(100, 0xA5);
        field::SetBits(image, 100, c.lowBit, c.width, c.value);
        EXPECT_EQ(image.GetByte(100), c.after) << c.lowBit << "/" << c.width;
        EXPECT_EQ(field::GetBits(image, 100, c.lowBit, c.width), c.value & ((1u << c.width) - 1));
    }
    image.SetByte(101, 0x30);
    EXPECT_EQ(field::GetMasked(image, 101, 0x30), 3u);
    field::SetMasked(image, 101, 0x0C, 2);
    EXPECT_EQ(image.GetByte(101), 0x38);
    field::SetFlag(image, 101, 0, true);
    EXPECT_TRUE(field::GetFlag(image, 101, 0));
    EXPECT_EQ(image.GetByte(101), 0x39);
}

TEST_F(CellFieldsTest, WordsAreBigEndianAndMapsCountFromTheTopBit) {
    field::SetWord(image, 200, 0x1234);
    EXPECT_EQ(image.GetByte(200), 0x12);
    field::SetLong(image, 202, 0xDEADBEEF);
    EXPECT_EQ(image.GetByte(202), 0xDE);
    EXPECT_EQ(image.GetByte(205), 0xEF);
    EXPECT_EQ(field::GetLong(image, 202), 0xDEADBEEFu);

    field::SetMapBit(image, 300, 0, true);
    field::SetMapBit(image, 300, 9, true);
    EXPECT_EQ(image.GetByte(300), 0x80);
    EXPECT_EQ(image.GetByte(301), 0x40);
    EXPECT_TRUE(field::GetMapBit(image, 300, 9));
    EXPECT_FALSE(field::GetMapBit(image, 300, 8));

    // A field across a byte boundary: bits 6..9 of the string at 400.
    image.SetByte(400, 0xFF);
    image.SetByte(401, 0xFF);
    field::SetBitsMsb(image, 400, 6, 4, 0x5);
    EXPECT_EQ(image.GetByte(400), 0xFD);
    EXPECT_EQ(image.GetByte(401), 0x7F);
    EXPECT_EQ(field::GetBitsMsb(image, 400, 6, 4), 0x5u);
}

TEST_F(CellFieldsTest, CellShapesWriteBackOnlyOnAChange) {
    cmcCellObj cell;
    cmcCellCapsule request;
    request.cell = &cell;
    CellFrame f(request, image);
    image.SetByte(500, 0xF3);
    EXPECT_EQ(field::BitsCell(f, 500, 2, 2, [](int32_t& v, int32_t&) { return v == 0 ? 0 : 1; }), 0);
    EXPECT_EQ(field::BitsCell(f, 500, 0, 2,
                              [](int32_t& v, int32_t& out) {
                                  v = 1;
                                  out = 2;
                                  return 1;
                              }),
              1);
    EXPECT_EQ(image.GetByte(500), 0xF1);
    EXPECT_EQ(f.result, 2);
    EXPECT_EQ(field::WordCell(f, 502,
                              [](int32_t& v, int32_t&) {
                                  v = 0xABCD;
                                  return 1;
                              }),
              1);
    EXPECT_EQ(image.GetWord(502), 0xABCD);

    // A row field: stored and read back at once.
    f.LoadRow(9, 2);
    field::RowCell(f, f.row.cToneSel, [](int32_t& v, int32_t&) {
        v = 1;
        return 1;
    });
    f.LoadRow(9, 2);
    EXPECT_TRUE(f.row.cToneSel);
}

} // namespace
