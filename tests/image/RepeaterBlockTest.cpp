// A repeater site as a block of the repeater data file, and the block made a
// site of the image again, over the LTR model's start-up data with entries
// in sites 0 and 1 (2 and 3 of them).
#include "image/RepeaterBlock.h"
#include "tests/image/RowEditFixture.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t kLtrModel = 1;
constexpr int32_t kEntryRows = 5;

class RepeaterBlockTest : public rowtest::RowEditFixture {
protected:
    RepeaterBlockTest() : RowEditFixture(kLtrModel) {}

    static int32_t Record(int32_t row) { return layout::kPool + layout::kPoolEntrySize * row; }
    static int32_t Group(int32_t site, int32_t i) {
        return layout::kGroupRecords + layout::kGroupRecordSize * site + i;
    }
    std::vector<uint8_t> Bytes(const cmcEeprom& from, int32_t at, int32_t length) {
        return {from.Data() + at, from.Data() + at + length};
    }
    std::vector<uint8_t> Pool(const cmcEeprom& from) {
        return Bytes(from, layout::kPool, layout::kPoolRows * layout::kPoolEntrySize);
    }
    std::vector<uint8_t> Rows(const cmcEeprom& from, int32_t first, int32_t count) {
        return Bytes(from, Record(first), count * layout::kPoolEntrySize);
    }
    // The reference row with its frequencies and its byte 8 replaced; the
    // bits the file does not carry stay the reference's.
    void SetRecord(int32_t row, uint32_t rx, uint32_t tx, uint8_t flags) {
        std::memcpy(image.Data() + Record(row), reference.Data() + Record(row), layout::kPoolEntrySize);
        for (int k = 0; k < 4; ++k) {
            image.SetByte(Record(row) + k, static_cast<uint8_t>(rx >> (24 - 8 * k)));
            image.SetByte(Record(row) + 4 + k, static_cast<uint8_t>(tx >> (24 - 8 * k)));
        }
        image.SetByte(Record(row) + 8,
                      static_cast<uint8_t>((reference.GetByte(Record(row) + 8) & 0x06) | flags));
    }
    static uint8_t* Entry(RepeaterBlock& block, int32_t i) { return block.data() + 14 + 10 * i; }
};

struct FlagCase {
    uint8_t record;      // pool record byte 8
    uint8_t entryFlags;  // block entry byte 8
    uint8_t entryOption; // block entry byte 9
};

// Power level in bits 3-4 of the record, narrow 5, transmit data 6, receive
// data 7, phone 0; bits 1 and 2 are not the file's.
constexpr FlagCase kFlagCases[] = {
    {0x00, 0x00, 0x01}, {0x01, 0x00, 0x00}, {0x08, 0x10, 0x01}, {0x10, 0x18, 0x01}, {0x18, 0x00, 0x01},
    {0x20, 0x04, 0x01}, {0x40, 0x02, 0x01}, {0x80, 0x01, 0x01}, {0xF9, 0x07, 0x00},
};

TEST_F(RepeaterBlockTest, EachFlagBitOfARecordGoesToItsPlaceInTheEntry) {
    for (const FlagCase& c : kFlagCases) {
        SCOPED_TRACE(testing::Message() << "record byte 8 = 0x" << std::hex << int(c.record));
        SetRecord(3, 450012500, 455012500, c.record);
        const RepeaterBlock block = BuildRepeaterBlock(image, 1);
        const uint8_t* entry = block.data() + 14 + 10 * 1;
        EXPECT_EQ(entry[8], c.entryFlags);
        EXPECT_EQ(entry[9], c.entryOption);
    }
}

struct DecodeCase {
    uint8_t entryFlags;
    uint8_t entryOption;
    uint8_t record; // the file's bits of record byte 8
};

// The power code is the level plus one; 0 reads as level 3, as the power
// cell shows a level 0.
constexpr DecodeCase kDecodeCases[] = {
    {0x00, 0x01, 0x18}, {0x08, 0x01, 0x00}, {0x10, 0x01, 0x08}, {0x18, 0x01, 0x10}, {0x04, 0x01, 0x38},
    {0x02, 0x01, 0x58}, {0x01, 0x01, 0x98}, {0x00, 0x00, 0x19}, {0x1F, 0x00, 0xF1}, {0xE0, 0xFE, 0x19},
};

TEST_F(RepeaterBlockTest, EachFlagBitOfAnEntryGoesToItsPlaceInTheRecord) {
    for (const DecodeCase& c : kDecodeCases) {
        SCOPED_TRACE(testing::Message() << "entry bytes 8, 9 = 0x" << std::hex << int(c.entryFlags) << ", 0x"
                                        << int(c.entryOption));
        RepeaterBlock block = BuildRepeaterBlock(image, 1);
        Entry(block, 2)[8] = c.entryFlags;
        Entry(block, 2)[9] = c.entryOption;
        ASSERT_EQ(ImportRepeaterBlock(image, reference, block, 1), RepeaterImport::kDone);
        EXPECT_EQ(image.GetByte(Record(4) + 8), (reference.GetByte(Record(4) + 8) & 0x06) | c.record);
        EXPECT_EQ(Bytes(image, Record(4), 8), std::vector<uint8_t>(Entry(block, 2), Entry(block, 2) + 8));
        EXPECT_EQ(image.GetByte(Record(4) + 9), reference.GetByte(Record(4) + 9));
    }
}

TEST_F(RepeaterBlockTest, TheHeaderNamesTheSiteAndItsGroupRecordAndUnusedEntriesStayZero) {
    image.SetByte(Group(1, 0), 0x85);
    image.SetByte(Group(1, 7), 3);
    SetRecord(2, 450000000, 455000000, 0x08);
    SetRecord(3, 0, 455000000, 0x08);         // no receive frequency: an empty entry
    SetRecord(5, 460000000, 465000000, 0x08); // site 2's, past site 1's count
    const RepeaterBlock block = BuildRepeaterBlock(image, 1);

    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 14),
              (std::vector<uint8_t>{1, 3, 24, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    const std::vector<uint8_t> first(block.begin() + 14, block.begin() + 22);
    EXPECT_EQ(first, Bytes(image, Record(2), 8));
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 24, block.begin() + 34), std::vector<uint8_t>(10, 0));
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 44, block.end()), std::vector<uint8_t>(170, 0))
        << "entries past the site's count";

    image.SetByte(Group(1, 0), 0x7F);
    EXPECT_EQ(BuildRepeaterBlock(image, 1)[0], 0);
}

TEST_F(RepeaterBlockTest, TheBlockSetsTheAreaBitAndTheHomeRepeaterOfItsSiteOnly) {
    struct Case {
        uint8_t area, home, groupBefore, groupAfter;
    };
    for (const Case c : {Case{1, 2, 0x05, 0x85}, Case{0, 0, 0xC5, 0x45}, Case{1, 0, 0x80, 0x80}}) {
        image.SetByte(Group(1, 0), c.groupBefore);
        image.SetByte(Group(1, 7), 1);
        const std::vector<uint8_t> site0 = Bytes(image, Group(0, 0), 8);
        RepeaterBlock block = BuildRepeaterBlock(image, 1);
        block[0] = c.area;
        block[1] = c.home;
        ASSERT_EQ(ImportRepeaterBlock(image, reference, block, 1), RepeaterImport::kDone);
        EXPECT_EQ(image.GetByte(Group(1, 0)), c.groupAfter);
        EXPECT_EQ(image.GetByte(Group(1, 7)), c.home);
        EXPECT_EQ(Bytes(image, Group(0, 0), 8), site0);
    }
}

TEST_F(RepeaterBlockTest, CountZeroRemovesEveryRecordOfTheSiteAndTheNextSiteMovesUp) {
    const std::vector<uint8_t> site1 = Rows(image, 2, 3);
    RepeaterBlock block = BuildRepeaterBlock(image, 0);
    block[4] = 0;
    ASSERT_EQ(ImportRepeaterBlock(image, reference, block, 0), RepeaterImport::kDone);
    EXPECT_EQ(GetSiteChannelCount(image, 0), 0);
    EXPECT_EQ(GetSiteChannelCount(image, 1), 3);
    EXPECT_EQ(Rows(image, 0, 3), site1);
    EXPECT_EQ(Rows(image, 3, 2), Rows(reference, 3, 2)) << "the freed rows are empty";
}

TEST_F(RepeaterBlockTest, ARisingCountInsertsEmptyRecordsAtTheSitesEnd) {
    SetRecord(0, 450000000, 455000000, 0x08);
    SetRecord(1, 451000000, 456000000, 0x10);
    const std::vector<uint8_t> site0 = Rows(image, 0, 2);
    const std::vector<uint8_t> site1 = Rows(image, 2, 3);
    RepeaterBlock block = BuildRepeaterBlock(image, 0);
    block[4] = 4;
    ASSERT_EQ(ImportRepeaterBlock(image, reference, block, 0), RepeaterImport::kDone);
    EXPECT_EQ(GetSiteChannelCount(image, 0), 4);
    EXPECT_EQ(Rows(image, 0, 2), site0);
    EXPECT_EQ(Rows(image, 2, 2), Rows(reference, 2, 2));
    EXPECT_EQ(Rows(image, 4, 3), site1);
}

TEST_F(RepeaterBlockTest, ImportingIntoSiteTwoLeavesSiteZeroAsItWas) {
    RepeaterBlock block{};
    block[2] = 24;
    block[4] = 2;
    Entry(block, 0)[0] = 0x1B; // 460 MHz and some
    Entry(block, 0)[3] = 0x10;
    Entry(block, 1)[1] = 0x22;
    const std::vector<uint8_t> site0 = Rows(image, 0, 2);
    const std::vector<uint8_t> group0 = Bytes(image, Group(0, 0), 8);
    const std::vector<uint8_t> site1 = Rows(image, 2, 3);
    ASSERT_EQ(ImportRepeaterBlock(image, reference, block, 2), RepeaterImport::kDone);
    EXPECT_EQ(Rows(image, 0, 2), site0);
    EXPECT_EQ(Bytes(image, Group(0, 0), 8), group0);
    EXPECT_EQ(image.GetByte(layout::kSiteCounts), 2);
    EXPECT_EQ(Rows(image, 2, 3), site1);
    EXPECT_EQ(GetSiteChannelCount(image, 2), 2);
    EXPECT_EQ(Bytes(image, Record(5), 4), (std::vector<uint8_t>{0x1B, 0, 0, 0x10}));
}

TEST_F(RepeaterBlockTest, ASiteExportedAndImportedIntoTheEmptiedSiteGivesThePoolBack) {
    SetRecord(2, 450012500, 455012500, 0x08 | 0x80 | 0x01);
    SetRecord(3, 451025000, 456025000, 0x10 | 0x20 | 0x40);
    SetRecord(4, 452000000, 0, 0x18 | 0xE1);
    image.SetByte(Group(1, 0), image.GetByte(Group(1, 0)) | 0x80);
    image.SetByte(Group(1, 7), 2);
    const cmcEeprom before = image;
    const RepeaterBlock exported = BuildRepeaterBlock(image, 1);

    RepeaterBlock empty{};
    ASSERT_EQ(ImportRepeaterBlock(image, reference, empty, 1), RepeaterImport::kDone);
    ASSERT_EQ(GetSiteChannelCount(image, 1), 0);
    ASSERT_NE(Pool(image), Pool(before));
    ASSERT_EQ(ImportRepeaterBlock(image, reference, exported, 1), RepeaterImport::kDone);
    EXPECT_EQ(Pool(image), Pool(before));
    EXPECT_TRUE(image.IsEqual(before));
}

TEST_F(RepeaterBlockTest, ABlockThatDoesNotFitIsRefusedAndTheImageStaysAsItWas) {
    for (int32_t site = 10; site < 20; ++site)
        SetSiteChannelCount(image, site, 255); // 2555 rows in use with sites 0 and 1
    struct Case {
        const char* what;
        int32_t site;
        uint8_t count;
        RepeaterImport result;
    };
    for (const Case& c : {Case{"count 21", 1, 21, RepeaterImport::kTooManyEntries},
                          Case{"count 255", 1, 255, RepeaterImport::kTooManyEntries},
                          Case{"six more rows than the pool has", 30, 6, RepeaterImport::kPoolFull},
                          Case{"no such site", 128, 1, RepeaterImport::kBadSite}}) {
        SCOPED_TRACE(c.what);
        const cmcEeprom before = image;
        RepeaterBlock block = BuildRepeaterBlock(image, 1);
        block[0] = 1;
        block[1] = 1;
        block[4] = c.count;
        EXPECT_EQ(ImportRepeaterBlock(image, reference, block, c.site), c.result);
        EXPECT_TRUE(image.IsEqual(before));
    }
    RepeaterBlock block{};
    block[4] = 5;
    EXPECT_EQ(ImportRepeaterBlock(image, reference, block, 30), RepeaterImport::kDone)
        << "the last five rows fit";
}

} // namespace
