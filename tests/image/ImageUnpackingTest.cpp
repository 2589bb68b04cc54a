#include "image/ImageUnpacking.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/PartitionTable.h"
#include "tests/image/RadioImage.h"
#include "tests/image/ScopedModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using testimage::RadioImage;

namespace {

constexpr int kLmr = 1, kLtr = 2, kPmrZ = 5;

bool RecordIs(const RadioImage& img, const layout::StaticTable& t, int32_t i, uint16_t id, int32_t r,
              int32_t n) {
    const std::vector<uint8_t> record = img.Range(t.Record(i), n);
    for (int32_t j = 0; j < n; ++j)
        if (record[j] != RadioImage::Pattern(id, r, j)) return false;
    return true;
}

} // namespace

TEST(UnpackImage, LongerRadioRecordsGiveTheirFirstBytes) {
    RadioImage img;
    img.AddBlock(2, 32, 3);
    img.Finish();
    const layout::StaticTable& t = layout::Table(2);
    img.Fill(t.Record(3), 30, 0x99);
    UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(RecordIs(img, t, i, 2, i, 30)) << i;
    EXPECT_EQ(img[t.Record(3)], 0x99) << "records the block does not hold stay";
}

TEST(UnpackImage, ShorterRadioRecordsLeaveTheRestOfEachRecord) {
    RadioImage img;
    img.AddBlock(11, 40, 16);
    img.Finish();
    const layout::StaticTable& t = layout::Table(11);
    img.Fill(t.offset, t.Bytes(), 0x99);
    UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(RecordIs(img, t, i, 11, i, 40)) << i;
        EXPECT_EQ(img[t.Record(i) + 40], 0x99);
    }
}

TEST(UnpackImage, TakesAtMostTheTablesRecords) {
    RadioImage img;
    img.AddBlock(2, 30, 600);
    img.Finish();
    const int32_t next = layout::Table(2).End();
    img.Fill(next, 16, 0x99);
    UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
    EXPECT_TRUE(RecordIs(img, layout::Table(2), 511, 2, 511, 30));
    EXPECT_EQ(img[next], 0x99) << "record 512 does not reach the next table";
}

TEST(UnpackImage, ShortBlockKeepsTheRestOfItsTable) {
    RadioImage img;
    img.AddBlock(8, 400, 1, [](int32_t, int32_t) { return uint8_t{0}; });
    img.Finish();
    const layout::StaticTable& t = layout::Table(8);
    img.Fill(t.offset, t.Bytes(), 0x99);
    for (int b = 122; b < 128; ++b)
        img.SetWord(layout::kBankCounts + 2 * b, 1); // bytes 400..411
    const auto before = img.Range(t.offset + 400, 38);
    UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
    EXPECT_EQ(img[t.offset + 399], 0);
    EXPECT_EQ(img.Range(t.offset + 400, 38), before);
}

TEST(UnpackImage, TablesWithoutABlockStayAsTheyWere) {
    RadioImage img;
    img.AddBlock(42, 8, 128);
    img.AddBlock(23, 10, 1); // never unpacked
    img.Finish();
    img.Scribble(layout::Table(43), 43);
    img.Scribble(layout::Table(23), 23);
    const auto pool = img.Range(layout::Table(43).offset, layout::Table(43).Bytes());
    const auto t23 = img.Range(layout::Table(23).offset, 10);
    UnpackImage(img.Image(), kLtr, PackingFor(kLtr));
    EXPECT_EQ(img.Range(layout::Table(43).offset, layout::Table(43).Bytes()), pool);
    EXPECT_EQ(img.Range(layout::Table(23).offset, 10), t23);
    EXPECT_TRUE(RecordIs(img, layout::Table(42), 127, 42, 127, 8));
}

TEST(UnpackImage, FollowsTheBaseOfTheHeader) {
    RadioImage img;
    img.SetBase(0x1000);
    img.AddBlock(7, 16, 1);
    img.Finish();
    UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
    EXPECT_TRUE(RecordIs(img, layout::Table(7), 0, 7, 0, 16));
}

TEST(UnpackImage, WithoutAPartitionTableChangesNothing) {
    RadioImage img;
    img.AddBlock(7, 16, 1);
    img.Finish();
    img[289] = 2;
    const auto before = img.Bytes();
    UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
    EXPECT_EQ(img.Bytes(), before);
}

// Entries that place blocks or records outside the dynamic area: what lies
// outside is not taken, what lies inside is, and nothing outside the area is read.
TEST(UnpackImage, TakesNothingFromOutsideTheDynamicArea) {
    struct Case {
        const char* what;
        PtblEntry entry;
        int inside; // records (of table 10) whose bytes lie in the area
    } cases[] = {
        {"in the header", {10, 24, 16, 0x0000}, 0},
        {"running past the end", {10, 24, 16, 0xFF80 - 24 * 3}, 3},
        {"past the end", {10, 24, 16, 0xFF80}, 0},
        {"highest address", {10, 24, 16, 0xFFFF}, 0},
        {"huge records", {10, 0xFFFF, 0xFFFF, 0x0400}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RadioImage img;
        img.Fill(0, layout::kDynamicEnd, 0x44);
        img.AddEntry(c.entry);
        img.AddEntry({8, 0xFFFF, 1, 0xFF00});  // a block running off the area
        img.AddEntry({2, 30, 0xFFFF, 0x0200}); // more channels than the area holds
        img.Finish();
        const layout::StaticTable& t = layout::Table(10);
        img.Fill(t.offset, t.Bytes(), 0x99);
        img.Fill(layout::Table(8).offset, 438, 0x99);
        img.Fill(layout::Table(2).offset, layout::Table(2).Bytes(), 0x99);
        UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(img[t.Record(i)], i < c.inside ? 0x44 : 0x99) << i;
        EXPECT_EQ(img[layout::Table(8).offset], 0x99);
        EXPECT_EQ(img[layout::Table(2).Record(511)], 0x44);
    }
}

TEST(UnpackImage, ClampsTheCountsItTakes) {
    RadioImage img;
    img.AddBlock(8, 438, 1, [](int32_t, int32_t j) {
        // Banks 0..2 hold 300, 200 and 20 channels.
        const int32_t at = layout::Table(8).offset + j;
        if (at == layout::kBankCounts + 1) return uint8_t{44};
        if (at == layout::kBankCounts + 0) return uint8_t{1};
        if (at == layout::kBankCounts + 3) return uint8_t{200};
        if (at == layout::kBankCounts + 5) return uint8_t{20};
        return uint8_t{0};
    });
    img.AddBlock(40, 128, 1, [](int32_t, int32_t j) {
        return static_cast<uint8_t>(j < 10 ? 255 : j == 10 ? 11 : 1);
    });
    img.Finish();
    UnpackImage(img.Image(), kLtr, PackingFor(kLtr));
    EXPECT_EQ(img.Word(layout::kBankCounts), 300);
    EXPECT_EQ(img.Word(layout::kBankCounts + 2), 200);
    EXPECT_EQ(img.Word(layout::kBankCounts + 4), 0);
    // 2550 + 11 passes the pool: site 10 and every later one become empty.
    EXPECT_EQ(img[layout::kSiteCounts + 9], 255);
    for (int s = 10; s < 128; ++s)
        EXPECT_EQ(img[layout::kSiteCounts + s], 0) << s;
}

// What packing writes, unpacking gives back into empty tables.
TEST(UnpackImage, TakesBackWhatPackingWrote) {
    for (int modelClass : {kLmr, kLtr, kPmrZ}) {
        RadioImage source;
        for (const layout::StaticTable& t : layout::kStaticTables)
            source.Scribble(t, static_cast<uint8_t>(t.id + 3));
        source.Fill(layout::kBankCounts, 256, 0);
        source.Fill(layout::kSiteCounts, 128, 0);
        source[layout::kBankFlags] = 0;
        source.SetWord(layout::kBankCounts + 20, 50);
        source[layout::kSiteCounts + 3] = 20;
        ASSERT_EQ(Static2DynamicInit(source.Image(), modelClass), 0);

        RadioImage radio;
        radio.Image().Write(0, source.Data(), layout::kDynamicEnd);
        UnpackImage(radio.Image(), modelClass, PackingFor(modelClass));
        for (const layout::StaticTable* t : layout::kPackSequence) {
            const PtblEntry* e = nullptr;
            PtblEntry found;
            if (const uint8_t* p = FindPtblEntry(radio.Data() + layout::kPtblCopy, 65, t->id)) {
                found = ReadPtblEntry(p);
                e = &found;
            }
            SCOPED_TRACE(testing::Message() << "class " << modelClass << " table " << t->id);
            if (!e) continue;
            EXPECT_EQ(radio.Range(t->offset, t->recordSize * e->count),
                      source.Range(t->offset, t->recordSize * e->count));
        }
        EXPECT_EQ(radio.Range(0, layout::kDynamicEnd), source.Range(0, layout::kDynamicEnd));
    }
}

TEST(Dynamic2Static, OneTemplateRecordFillsTheWholeTable) {
    RadioImage img;
    img.AddBlock(2, 30, 1);
    img.AddBlock(43, 10, 1);
    img.AddBlock(7, 16, 1);
    img.Finish();
    Dynamic2Static(img.Image());
    for (int i = 0; i < 512; ++i)
        ASSERT_TRUE(RecordIs(img, layout::Table(2), i, 2, 0, 30)) << i;
    for (int i = 0; i < 2560; ++i)
        ASSERT_TRUE(RecordIs(img, layout::Table(43), i, 43, 0, 10)) << i;
}

TEST(Dynamic2Static, TakesBlocksWholeAndRecordsUpToTheirLimit) {
    RadioImage img;
    // The block entry says 8 bytes, yet the table's 16 are taken: the 8 after
    // it are the first of the next block.
    img.AddBlock(24, 8, 1);
    img.AddBlock(25, 16, 1);
    img.AddBlock(18, 4, 40); // at most 32 records
    img.AddBlock(19, 16, 3); // radio records longer than the table's
    img.AddBlock(23, 10, 1);
    img.Finish();
    img.Fill(layout::Table(19).offset, layout::Table(19).Bytes(), 0x99);
    img.Fill(layout::Table(27).offset, 4, 0x99);
    Dynamic2Static(img.Image());
    EXPECT_TRUE(RecordIs(img, layout::Table(24), 0, 24, 0, 8));
    for (int j = 0; j < 8; ++j)
        EXPECT_EQ(img[layout::Table(24).offset + 8 + j], RadioImage::Pattern(25, 0, j));
    EXPECT_TRUE(RecordIs(img, layout::Table(18), 31, 18, 31, 4));
    EXPECT_EQ(img[layout::Table(27).offset], 0x99);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(RecordIs(img, layout::Table(19), i, 19, i, 14)) << i;
    EXPECT_EQ(img[layout::Table(19).Record(3)], 0x99);
    EXPECT_TRUE(RecordIs(img, layout::Table(23), 0, 23, 0, 10));
}

TEST(Dynamic2Static, TakesNothingFromOutsideTheDynamicArea) {
    RadioImage img;
    img.Fill(0, layout::kDynamicEnd, 0x44);
    img.AddEntry({8, 438, 1, 0xFF7F - 100}); // the table would run off the area
    img.AddEntry({2, 30, 1, 0x0100});        // template in the header
    img.AddEntry({17, 0xFFFF, 0xFFFF, 0x0400});
    img.Finish();
    for (uint16_t id : {8, 2, 17})
        img.Fill(layout::Table(id).offset, layout::Table(id).Bytes(), 0x99);
    Dynamic2Static(img.Image());
    EXPECT_EQ(img[layout::Table(8).offset], 0x99);
    EXPECT_EQ(img[layout::Table(2).Record(100)], 0x99);
    EXPECT_EQ(img[layout::Table(17).Record(0)], 0x44);
    EXPECT_EQ(img[layout::Table(17).Record(1)], 0x99);
}

namespace {

// A radio whose bank 0 holds `below` channels (blocks 2 and 3) and whose bank
// 127 is carried by blocks 4 and 5; table 8 gives bank 127 the count `kept`.
// The first `programmed` records of block 4 have a receive frequency.
struct Bank127Radio {
    uint16_t below = 100, kept = 5, count4 = 20, size4 = 30, count5 = 20;
    int programmed = 12;

    RadioImage Build() const {
        RadioImage img;
        img.AddBlock(8, 438, 1, [this](int32_t, int32_t j) {
            const int32_t at = layout::Table(8).offset + j;
            if (at == layout::kBankCounts) return static_cast<uint8_t>(below >> 8);
            if (at == layout::kBankCounts + 1) return static_cast<uint8_t>(below);
            if (at == layout::kBank127Count + 1) return static_cast<uint8_t>(kept);
            return uint8_t{0};
        });
        img.AddBlock(2, 30, below);
        img.AddBlock(3, 22, below);
        const int p = programmed;
        img.AddBlock(4, size4, count4, [p](int32_t r, int32_t j) {
            return j < 4 && r >= p ? uint8_t{0} : RadioImage::Pattern(4, r, j);
        });
        img.AddBlock(5, 22, count5);
        img.Finish();
        img.Fill(layout::Table(2).offset, layout::Table(2).Bytes(), 0);
        img.Fill(layout::Table(3).offset, layout::Table(3).Bytes(), 0x99);
        return img;
    }
};

PtblEntry RadioEntry(const RadioImage& img, uint16_t id) {
    const PtblEntry own = ReadPtblEntry(img.Data() + layout::kHdrOwnEntry);
    for (int i = 0; i < own.count; ++i) {
        const PtblEntry e = ReadPtblEntry(img.Data() + own.address + 10 * i);
        if (e.id == id) return e;
    }
    return {};
}

} // namespace

TEST(UnpackImage, MergesBank127BehindTheOtherBanksAndPacksAgain) {
    testimage::ScopedModel lmr(0);
    struct Case {
        uint16_t kept;
        int programmed;
        uint16_t count;
    } cases[] = {{5, 12, 12}, {15, 12, 15}, {5, 0, 5}, {0, 20, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kept " << c.kept << " programmed " << c.programmed);
        Bank127Radio radio;
        radio.kept = c.kept;
        radio.programmed = c.programmed;
        RadioImage img = radio.Build();
        UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
        for (int r = 0; r < 20; ++r) {
            EXPECT_TRUE(RecordIs(img, layout::Table(3), 100 + r, 5, r, 22)) << r;
            for (int j = 4; j < 30; ++j)
                ASSERT_EQ(img[layout::Table(2).Record(100 + r) + j], RadioImage::Pattern(4, r, j));
        }
        EXPECT_EQ(img.Word(layout::kBank127Count), c.count);
        // The radio part is the program's own packing now.
        EXPECT_EQ(img.Word(layout::kHdrOwnEntry + 4), 53);
        const PtblEntry block4 = RadioEntry(img, 4);
        EXPECT_EQ(block4.count, c.count);
        EXPECT_TRUE(img.Equal(block4.address, img.Data() + layout::Table(2).Record(100), 30 * c.count));
        EXPECT_EQ(RadioEntry(img, 2).count, 100);
    }
}

// The packing again is the caller's, in the caller's layout: whatever it
// writes is the radio part, and a packing that does not fit leaves the
// radio's own.
TEST(UnpackImage, PacksAgainWithTheCallersPacking) {
    testimage::ScopedModel lmr(0);
    Bank127Radio radio;
    radio.programmed = 12;
    struct Case {
        const char* name;
        int answer;
        bool keepsRadio;
    };
    for (const Case& c : {Case{"fits", 0, false}, Case{"does not fit", 1, true}}) {
        SCOPED_TRACE(c.name);
        RadioImage img = radio.Build();
        const auto before = img.Range(0, layout::kDynamicEnd);
        std::vector<const uint8_t*> packed;
        UnpackImage(img.Image(), kLmr, [&](cmcEeprom& image) {
            packed.push_back(image.Data());
            std::fill(image.Data(), image.Data() + layout::kDynamicEnd, uint8_t{0x77});
            return c.answer;
        });
        ASSERT_EQ(packed, std::vector<const uint8_t*>{img.Image().Data()});
        EXPECT_EQ(img.Range(0, layout::kDynamicEnd) == before, c.keepsRadio);
        EXPECT_EQ(img[layout::kDynamicStart] == 0x77, !c.keepsRadio);
    }
}

// Each bank-127 block is read by its own entry: its record size sets the
// stride, its count how many records it gives.
TEST(UnpackImage, ReadsEachBank127BlockByItsOwnEntry) {
    testimage::ScopedModel lmr(0);
    Bank127Radio radio;
    radio.count4 = 3;
    radio.size4 = 32;
    radio.count5 = 2;
    radio.programmed = 3;
    RadioImage img = radio.Build();
    UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
    for (int r = 0; r < 3; ++r)
        EXPECT_TRUE(RecordIs(img, layout::Table(2), 100 + r, 4, r, 30)) << r;
    EXPECT_TRUE(RecordIs(img, layout::Table(3), 101, 5, 1, 22));
    EXPECT_EQ(img[layout::Table(3).Record(102)], 0x99) << "block 5 holds two records only";
    EXPECT_EQ(img.Word(layout::kBank127Count), 5);
}

TEST(UnpackImage, DropsBank127ChannelsPastTheChannelTable) {
    testimage::ScopedModel lmr(0);
    Bank127Radio radio;
    radio.below = 500;
    radio.programmed = 20;
    RadioImage img = radio.Build();
    img.Fill(layout::Table(7).offset, 16, 0x99);
    UnpackImage(img.Image(), kLmr, PackingFor(kLmr));
    EXPECT_TRUE(RecordIs(img, layout::Table(2), 511, 4, 11, 30));
    EXPECT_EQ(img[layout::Table(7).offset], 0x99);
    EXPECT_EQ(img.Word(layout::kBankCounts), 500);
    EXPECT_EQ(img.Word(layout::kBank127Count), 12);
}

TEST(ImagePasses, LeaveAnImageOfAnotherSizeAlone) {
    cmcEeprom small;
    small.SetSize(0xFF80);
    small.Fill(0x11);
    const cmcEeprom before = small;
    EXPECT_EQ(LoadPtbl(small), 0);
    UnpackImage(small, kLmr, PackingFor(kLmr));
    Dynamic2Static(small);
    EXPECT_EQ(Static2DynamicInit(small, kLmr), 1);
    EXPECT_TRUE(small.IsEqual(before));
}

// A radio whose blocks fit its area, but not once the program adds the
// tables the radio left out: the radio's own area and table stay, so that
// unpacking it again gives the same tables.
TEST(UnpackImage, KeepsTheRadiosAreaWhenItsDataDoesNotFitTheProgramsLayout) {
    testimage::ScopedModel ltr(1);
    RadioImage img;
    img.AddBlock(8, 438, 1, [](int32_t, int32_t j) {
        const int32_t at = layout::Table(8).offset + j;
        if (at == layout::kBankCounts) return uint8_t{508 >> 8};
        if (at == layout::kBankCounts + 1) return uint8_t{508 & 0xFF};
        if (at == layout::kBank127Count + 1) return uint8_t{4};
        return uint8_t{0};
    });
    img.AddBlock(40, 128, 1, [](int32_t, int32_t j) {
        return static_cast<uint8_t>(j < 10 ? 255 : j == 10 ? 10 : 0);
    });
    img.AddBlock(2, 30, 508);
    img.AddBlock(3, 22, 508);
    img.AddBlock(4, 30, 4);
    img.AddBlock(5, 22, 4);
    img.AddBlock(43, 10, 2560);
    img.AddBlock(45, 6, 512);
    img.Finish();
    const auto radio = img.Range(0, layout::kDynamicEnd);

    UnpackImage(img.Image(), kLtr, PackingFor(kLtr));
    EXPECT_EQ(img.Range(0, layout::kDynamicEnd), radio);
    EXPECT_TRUE(RecordIs(img, layout::Table(2), 511, 4, 3, 30));
    EXPECT_EQ(img.Word(layout::kBank127Count), 4);
    const auto tables = img.Range(layout::kStaticStart, layout::kPtblCopy - layout::kStaticStart);
    UnpackImage(img.Image(), kLtr, PackingFor(kLtr));
    EXPECT_EQ(img.Range(layout::kStaticStart, layout::kPtblCopy - layout::kStaticStart), tables);
}
