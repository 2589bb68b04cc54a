#include "image/ImagePacking.h"
#include "image/DynamicCapacity.h"
#include "image/ImageLayout.h"
#include "image/PartitionTable.h"
#include "platform/Fatal.h"
#include "tests/image/RadioImage.h"
#include "tests/image/ScopedModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

using testimage::RadioImage;

namespace {

constexpr int kLmr = 1, kLtr = 2, kP25 = 3, kPmr = 4, kPmrZ = 5;

// The radio's block order, positions 1..61.
const std::vector<uint16_t> kOrder = {2,  7,  15, 6,  62, 18, 27, 32, 4,  5,  3,  8,  10, 11, 14, 16,
                                      24, 25, 26, 29, 30, 31, 34, 35, 37, 38, 39, 36, 9,  12, 13, 17,
                                      19, 20, 21, 22, 28, 33, 40, 41, 42, 43, 45, 46, 63, 64, 47, 48,
                                      55, 54, 52, 51, 53, 50, 49, 60, 61, 59, 56, 57, 58};
const std::set<uint16_t> kLtrOnly = {40, 41, 42, 43, 45, 46};
const std::set<uint16_t> kP25Only = {63, 64};
const std::set<uint16_t> kNotPmrZ = {47, 48, 55, 54, 52, 51, 53, 50, 49, 60, 61, 59, 56, 57, 58};

std::vector<uint16_t> ExpectedIds(int modelClass, bool bank127) {
    std::vector<uint16_t> ids;
    for (uint16_t id : kOrder) {
        if ((id == 4 || id == 5) && !bank127) continue;
        if (kLtrOnly.count(id) && modelClass != kLtr) continue;
        if (kP25Only.count(id) && modelClass != kP25) continue;
        if (kNotPmrZ.count(id) && modelClass == kPmrZ) continue;
        ids.push_back(id);
    }
    return ids;
}

// The partition table as the radio will find it: through the header.
std::vector<PtblEntry> RadioEntries(const RadioImage& img) {
    const PtblEntry own = ReadPtblEntry(img.Data() + layout::kHdrOwnEntry);
    std::vector<PtblEntry> entries;
    for (int i = 0; i < own.count; ++i)
        entries.push_back(ReadPtblEntry(img.Data() + own.address + 10 * i));
    return entries;
}

std::vector<uint16_t> Ids(const std::vector<PtblEntry>& entries) {
    std::vector<uint16_t> ids;
    for (const PtblEntry& e : entries)
        ids.push_back(e.id);
    return ids;
}

// Every static table filled with its own bytes, the text of every other alias
// entry blank.
RadioImage Scribbled() {
    RadioImage img;
    for (const layout::StaticTable& t : layout::kStaticTables)
        img.Scribble(t, static_cast<uint8_t>(t.id));
    img.Fill(layout::kBankCounts, 256, 0);
    img.Fill(layout::kSiteCounts, 128, 0);
    img[layout::kBankFlags] = 0;
    const layout::StaticTable& alias = layout::Table(59);
    for (int k = 0; k < alias.records; k += 2)
        img.Fill(alias.Record(k), 12, k % 4 ? 0x20 : 0x00);
    return img;
}

} // namespace

TEST(Static2Dynamic, PacksTheBlocksOfTheModelClassInTheRadioOrder) {
    struct Case {
        int modelClass;
        size_t entries;
    } classes[] = {{kLmr, 51}, {kLtr, 57}, {kP25, 53}, {kPmr, 51}, {kPmrZ, 36}};
    enum Bank127 { None, WidenFlag, Channels };
    for (const Case& c : classes) {
        for (Bank127 b : {None, WidenFlag, Channels}) {
            SCOPED_TRACE(testing::Message() << "class " << c.modelClass << " bank127 " << b);
            RadioImage img;
            if (b == WidenFlag) img[layout::kBankFlags] = 0x40;
            if (b == Channels) img.SetWord(layout::kBank127Count, 5);
            ASSERT_EQ(Static2DynamicInit(img.Image(), c.modelClass), 0);
            const std::vector<PtblEntry> entries = RadioEntries(img);
            EXPECT_EQ(entries.size(), c.entries + (b == None ? 0 : 2));
            EXPECT_EQ(img.Word(layout::kHdrOwnEntry + 4), entries.size());
            EXPECT_EQ(Ids(entries), ExpectedIds(c.modelClass, b != None));
        }
    }
}

TEST(Static2Dynamic, EmptyImageStartsWithAnEmptyChannelBlock) {
    RadioImage img;
    ASSERT_EQ(Static2DynamicInit(img.Image(), kLmr), 0);
    const std::vector<PtblEntry> entries = RadioEntries(img);
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, 2);
    EXPECT_EQ(entries[0].count, 0);
    EXPECT_EQ(entries[0].address, 512);
    EXPECT_EQ(entries[1].id, 7);
    EXPECT_EQ(entries[1].address, 512);
    EXPECT_EQ(img.Word(layout::kHdrBase), 512);
}

// Each block carries its table's records from the right one on, under an
// entry that says so; the header locates block 3, the table and the end; the
// status, message and alias blocks are found through the tables packed after them.
TEST(Static2Dynamic, BlocksCarryTheirTablesAndTheHeaderLocatesThem) {
    RadioImage img = Scribbled();
    img.SetWord(layout::kBankCounts + 0, 10);
    img.SetWord(layout::kBankCounts + 10, 20);
    img.SetWord(layout::kBank127Count, 7);
    img[layout::kSiteCounts + 0] = 3;
    img[layout::kSiteCounts + 2] = 4;
    ASSERT_EQ(Static2DynamicInit(img.Image(), kLtr), 0);

    const std::vector<PtblEntry> entries = RadioEntries(img);
    ASSERT_EQ(entries.size(), 59u);
    for (const PtblEntry& e : entries) {
        SCOPED_TRACE(e.id);
        const bool bank127 = e.id == 4 || e.id == 5;
        const layout::StaticTable& t = layout::Table(bank127 ? (e.id == 4 ? 2 : 3) : e.id);
        int32_t first = 0, count = t.records;
        if (bank127) first = 30, count = 7;
        if (e.id == 2 || e.id == 3) count = 30;
        if (e.id == 43) count = 7;
        if (e.id == 45) count = 37;
        EXPECT_EQ(e.recordSize, t.recordSize);
        EXPECT_EQ(e.count, count);
        EXPECT_TRUE(img.Equal(e.address, img.Data() + t.Record(first), t.recordSize * count));
        if (e.id == 3) {
            EXPECT_EQ(img.Word(layout::kHdrBlock3Address), e.address);
        }
        if (e.id == 60 || e.id == 61) {
            for (int k = 0; k < 5; ++k)
                EXPECT_EQ(img.Word(k * 10 + (e.id == 60 ? 137946 : 137995)), e.address + 208 * k);
        }
        if (e.id == 59) {
            for (int k = 0; k < 5; ++k) {
                EXPECT_EQ(img.Word(138038 + 6 * k), e.address);
                EXPECT_EQ(img.Word(138040 + 6 * k), e.address + 7485);
                EXPECT_EQ(img.Word(138042 + 6 * k), 500);
            }
        }
    }
    for (int k = 0; k < 500; ++k)
        EXPECT_EQ(img[140148 + 15 * k + 12] & 0x40, k % 2 ? 0x40 : 0) << "alias " << k;

    const PtblEntry own = ReadPtblEntry(img.Data() + layout::kHdrOwnEntry);
    EXPECT_EQ(own.id, 1);
    EXPECT_EQ(own.recordSize, 10);
    EXPECT_TRUE(img.Equal(own.address, img.Data() + layout::kPtblCopy, 10 * own.count));
    const uint16_t end = img.Word(layout::kHdrEndAddress);
    EXPECT_EQ(end, own.address + 10 * own.count + 8);
    EXPECT_TRUE(img.Equal(end - 8, reinterpret_cast<const uint8_t*>("MORV Inc"), 8));
    for (int32_t at = end; at < layout::kDynamicEnd; ++at)
        ASSERT_EQ(img[at], 0) << at;
}

TEST(Static2Dynamic, TheSignatureEndsThePackedDataForEveryClass) {
    for (int modelClass = kLmr; modelClass <= kPmrZ; ++modelClass) {
        RadioImage img = Scribbled();
        img.SetWord(layout::kBankCounts + 4, 100);
        ASSERT_EQ(Static2DynamicInit(img.Image(), modelClass), 0);
        // As the write check finds it: end - base + 504.
        const int32_t at = img.Word(layout::kHdrEndAddress) - img.Word(layout::kHdrBase) + 504;
        EXPECT_TRUE(img.Equal(at, reinterpret_cast<const uint8_t*>("MORV Inc"), 8)) << modelClass;
    }
}

TEST(Static2Dynamic, SameTablesGiveTheSameRadioBytes) {
    RadioImage a = Scribbled();
    a.SetWord(layout::kBankCounts + 2, 200);
    a.SetWord(layout::kBank127Count, 12);
    a[layout::kSiteCounts + 1] = 9;
    RadioImage b = a;
    // Whatever the radio part and the header fields of packing held before.
    // (The spare bytes of the working copy's entries are the radio's own and
    // travel with them.)
    b.Fill(layout::kDynamicStart, layout::kDynamicEnd - layout::kDynamicStart, 0xC3);
    b.Fill(layout::kHdrBlock3Address, 6, 0x5A);
    b.Fill(layout::kHdrOwnEntry, 8, 0x5A);
    for (int modelClass = kLmr; modelClass <= kPmrZ; ++modelClass) {
        ASSERT_EQ(Static2DynamicInit(a.Image(), modelClass), 0);
        ASSERT_EQ(Static2DynamicInit(b.Image(), modelClass), 0);
        EXPECT_EQ(a.Range(0, layout::kDynamicEnd), b.Range(0, layout::kDynamicEnd)) << modelClass;
        const auto once = a.Bytes();
        ASSERT_EQ(Static2DynamicInit(a.Image(), modelClass), 0);
        EXPECT_EQ(a.Bytes(), once) << "packing twice changes nothing";
    }
}

TEST(Static2Dynamic, OverflowReportsAndKeepsTheHeaderFieldsItDidNotReach) {
    RadioImage img = Scribbled();
    img.SetWord(layout::kBankCounts, 512);
    for (int s = 0; s < 10; ++s)
        img[layout::kSiteCounts + s] = 0; // 2560 pool entries
    for (int s = 0; s < 10; ++s)
        img[layout::kSiteCounts + s] = 0xFF;
    img[layout::kSiteCounts + 10] = 10;
    img.SetWord(layout::kHdrEndAddress, 0x1234);
    img.Fill(layout::kHdrOwnEntry, 8, 0x77);
    ASSERT_EQ(Static2DynamicInit(img.Image(), kLtr), 1);
    EXPECT_EQ(img.Word(layout::kHdrEndAddress), 0x1234);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(img[layout::kHdrOwnEntry + i], 0x77);
    // What fitted is there: the channels of the first block, under entry 0.
    EXPECT_TRUE(img.Equal(512, img.Data() + layout::Table(2).offset, 512 * 30));
    const PtblEntry first = ReadPtblEntry(img.Data() + layout::kPtblCopy);
    EXPECT_EQ(first.id, 2);
    EXPECT_EQ(first.count, 512);
}

// On a clone write with the widen flag, blocks 4 and 5 take every channel
// record behind banks 0..126 that the capacity test lets through.
TEST(Static2Dynamic, CloneWriteWidensBank127ToWhatFits) {
    struct Case {
        uint16_t end; // header word 274 before packing
        int mode;
        uint16_t count;
    } cases[] = {
        {static_cast<uint16_t>(0xFF7F - 58 * 100), kPackCloneWrite, 100},
        {static_cast<uint16_t>(0xFF7F - 58 * 100 + 1), kPackCloneWrite, 99},
        {0x0200, kPackCloneWrite, 212},
        {0xFFFF, kPackCloneWrite, 0}, // no room at all: present, but empty
        {0x0200, kPackPlain, 0},      // only the clone write widens
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.end << " mode " << c.mode);
        RadioImage img = Scribbled();
        img.SetWord(layout::kBankCounts + 6, 300);
        img[layout::kBankFlags] = 0x40;
        img.SetWord(layout::kHdrBlock3Address, 0x0200);
        img.SetWord(layout::kHdrEndAddress, c.end);
        ASSERT_EQ(Static2Dynamic(img.Image(), c.mode, kPmr), 0);
        const std::vector<PtblEntry> entries = RadioEntries(img);
        ASSERT_GE(entries.size(), 10u);
        for (int k = 0; k < 2; ++k) {
            const PtblEntry& e = entries[8 + k];
            EXPECT_EQ(e.id, 4 + k);
            EXPECT_EQ(e.count, c.count);
            const layout::StaticTable& t = layout::Table(k == 0 ? 2 : 3);
            EXPECT_TRUE(img.Equal(e.address, img.Data() + t.Record(300), t.recordSize * c.count));
        }
        EXPECT_EQ(img.Word(layout::kBank127Count), 0) << "the bank count itself is not touched";
    }
}

TEST(Static2Dynamic, CloneWriteWithoutTheWidenFlagPacksAsPlain) {
    RadioImage a = Scribbled();
    a.SetWord(layout::kBankCounts, 40);
    a.SetWord(layout::kBank127Count, 3);
    RadioImage b = a;
    ASSERT_EQ(Static2Dynamic(a.Image(), kPackPlain, kP25), 0);
    ASSERT_EQ(Static2Dynamic(b.Image(), kPackCloneWrite, kP25), 0);
    EXPECT_EQ(a.Bytes(), b.Bytes());
}

// Counts no radio could hold are taken as the accessors give them, never
// more rows than a table has, so that packing never reads past a table.
TEST(Static2Dynamic, CountsPastATableNeverTakeMoreThanItsRows) {
    auto entry = [](const RadioImage& img, uint16_t id) {
        for (const PtblEntry& e : RadioEntries(img))
            if (e.id == id) return e;
        return PtblEntry{};
    };
    RadioImage channels = Scribbled();
    channels.SetWord(layout::kBankCounts, 400);
    channels.SetWord(layout::kBank127Count, 300);
    ASSERT_EQ(Static2DynamicInit(channels.Image(), kLtr), 0);
    EXPECT_EQ(entry(channels, 2).count, 212);
    EXPECT_EQ(entry(channels, 4).count, 300);
    EXPECT_EQ(entry(channels, 45).count, 512);

    RadioImage pool = Scribbled();
    for (int s = 0; s < 128; ++s)
        pool[layout::kSiteCounts + s] = 0xFF;
    for (int b = 0; b < 128; ++b)
        pool.SetWord(layout::kBankCounts + 2 * b, 0xFFFF);
    ASSERT_EQ(Static2DynamicInit(pool.Image(), kLtr), 1) << "512 channels and a full pool do not fit";
    pool.Fill(layout::kBankCounts, 256, 0);
    ASSERT_EQ(Static2DynamicInit(pool.Image(), kLtr), 0);
    EXPECT_EQ(entry(pool, 43).count, 2560);
}

TEST(Static2Dynamic, DuplicateIdsAreAnInternalInconsistency) {
    RadioImage img;
    WritePtblEntry(img.Data() + layout::kPtblCopy, {7, 16, 1, 512});
    WritePtblEntry(img.Data() + layout::kPtblCopy + 10, {17, 37, 8, 528});
    WritePtblEntry(img.Data() + layout::kPtblCopy + 20, {17, 37, 8, 824});
    EXPECT_NO_THROW(CheckPtblDuplicates(img.Data() + layout::kPtblCopy, 2));
    try {
        CheckPtblDuplicates(img.Data() + layout::kPtblCopy, 3);
        FAIL() << "no fatal error";
    } catch (const plat::FatalError& e) {
        EXPECT_STREQ(
            e.what(),
            "### BoobyTrap ###\nError Detect in Static2Dynaimc Sequence.\n\nDuplicate PTBL-ID : '17'");
    }
}

TEST(Static2Dynamic, TakesTheClassOfTheCurrentModel) {
    for (auto [model, entries] : {std::pair{6, 57}, std::pair{9, 36}, std::pair{2, 53}}) {
        testimage::ScopedModel current(model);
        RadioImage img;
        ASSERT_EQ(Static2DynamicInit(img.Image()), 0);
        EXPECT_EQ(img.Word(layout::kHdrOwnEntry + 4), entries) << model;
    }
}
