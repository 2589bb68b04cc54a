#include "image/PartitionTable.h"
#include "image/ImageLayout.h"
#include "tests/image/RadioImage.h"

#include <gtest/gtest.h>

using testimage::RadioImage;

namespace {

const uint8_t* Copy(const RadioImage& img) {
    return img.Data() + layout::kPtblCopy;
}

// A radio table of `entries` entries of `size` bytes each at image offset 1000;
// entry i names ID 100 + i and its spare bytes hold 0xEE.
RadioImage RadioTable(int entries, uint16_t size) {
    RadioImage img;
    for (int i = 0; i < entries; ++i) {
        uint8_t* e = img.Data() + 1000 + size * i;
        WritePtblEntry(e, {static_cast<uint16_t>(100 + i), 30, static_cast<uint16_t>(i), 0x0200});
        for (int j = 8; j < size; ++j)
            e[j] = 0xEE;
    }
    img.SetWord(layout::kHdrBase, 512);
    WritePtblEntry(img.Data() + layout::kHdrOwnEntry, {1, size, static_cast<uint16_t>(entries), 1000});
    return img;
}

} // namespace

TEST(LoadPtbl, TakesAtMost65Entries) {
    RadioImage img = RadioTable(70, 10);
    ASSERT_EQ(LoadPtbl(img.Image()), 1);
    EXPECT_EQ(PtblEntryCount(img.Image()), 65);
    EXPECT_NE(FindPtblEntry(Copy(img), PtblEntryCount(img.Image()), 164), nullptr);
    EXPECT_EQ(FindPtblEntry(Copy(img), PtblEntryCount(img.Image()), 165), nullptr);
    EXPECT_EQ(FindPtblEntry(Copy(img), PtblEntryCount(img.Image()), 169), nullptr);
}

TEST(LoadPtbl, TakesTheFirstTenBytesOfLongerEntries) {
    RadioImage img = RadioTable(5, 12);
    ASSERT_EQ(LoadPtbl(img.Image()), 1);
    for (int i = 0; i < 5; ++i) {
        const uint8_t* e = Copy(img) + 10 * i;
        const PtblEntry entry = ReadPtblEntry(e);
        EXPECT_EQ(entry.id, 100 + i);
        EXPECT_EQ(entry.count, i);
        EXPECT_EQ(e[8], 0xEE);
        EXPECT_EQ(e[9], 0xEE);
    }
}

TEST(LoadPtbl, WithoutItsOwnEntryReadsNothing) {
    for (auto [b288, b289] : {std::pair{0, 2}, std::pair{1, 1}, std::pair{0, 0}}) {
        RadioImage img = RadioTable(3, 10);
        img[288] = static_cast<uint8_t>(b288);
        img[289] = static_cast<uint8_t>(b289);
        img.Fill(layout::kPtblCopy, 650, 0xAB);
        const auto before = img.Bytes();
        EXPECT_EQ(LoadPtbl(img.Image()), 0);
        EXPECT_EQ(img.Bytes(), before);
    }
}

TEST(FindPtblEntry, FindsTheFirstOfTwoWithTheSameId) {
    RadioImage img = RadioTable(4, 10);
    WritePtblEntry(img.Data() + 1000 + 10, {102, 30, 77, 0x0300});
    ASSERT_EQ(LoadPtbl(img.Image()), 1);
    const uint8_t* e = FindPtblEntry(Copy(img), 4, 102);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e, Copy(img) + 10);
    EXPECT_EQ(ReadPtblEntry(e).count, 77);
    EXPECT_EQ(FindPtblEntry(Copy(img), 1, 102), nullptr) << "only the first count entries are searched";
}

// A table the header places partly or wholly outside the dynamic area: the
// entries outside read as empty, and nothing outside the area is read.
TEST(LoadPtbl, EntriesOutsideTheDynamicAreaReadAsEmpty) {
    struct Case {
        uint16_t base, address, size, count;
        int inside; // entries whose bytes lie in the dynamic area
    } cases[] = {
        {512, 0xFF80 - 25, 10, 4, 2}, // runs past the end of the area
        {0x8000, 0x0100, 10, 3, 0},   // below the base: before the area
        {512, 0x0100, 10, 3, 0},      // in the header
        {0, 0xFFFF, 10, 65, 0},       // past the image's radio part
        {512, 0x0200, 0xFFFF, 65, 1}, // huge strides
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        RadioImage img;
        img.Fill(layout::kDynamicStart, layout::kDynamicEnd - layout::kDynamicStart, 0x33);
        img.Fill(layout::kPtblCopy, 650, 0xAB);
        img.SetWord(layout::kHdrBase, c.base);
        WritePtblEntry(img.Data() + layout::kHdrOwnEntry, {1, c.size, c.count, c.address});
        ASSERT_EQ(LoadPtbl(img.Image()), 1);
        for (int i = 0; i < c.count; ++i) {
            const uint8_t* e = Copy(img) + 10 * i;
            const uint8_t expect = i < c.inside ? 0x33 : 0x00;
            for (int j = 0; j < 10; ++j)
                ASSERT_EQ(e[j], expect) << "entry " << i << " byte " << j;
        }
        if (c.count < 65) {
            EXPECT_EQ(img[layout::kPtblCopy + 10 * c.count], 0xAB) << "entries past the count stay";
        }
    }
}
