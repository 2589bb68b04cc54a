#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int32_t kBankCounts = 93932;
constexpr int32_t kSiteCounts = 107210;
constexpr int32_t kSmarTrunkBitmap = 93796;
constexpr int32_t kLtrBitmap = 94188;

class BankSiteTest : public ::testing::Test {
protected:
    BankSiteTest() {
        image.SetSize(layout::kImageSize);
        SetCurrentImage(&image);
    }
    ~BankSiteTest() override { SetCurrentImage(nullptr); }

    void SetBanks(const std::vector<int32_t>& counts) {
        for (size_t b = 0; b < counts.size(); ++b)
            image.SetWord(kBankCounts + 2 * int32_t(b), uint16_t(counts[b]));
    }
    void SetSites(const std::vector<int32_t>& counts) {
        for (size_t s = 0; s < counts.size(); ++s)
            image.SetByte(kSiteCounts + int32_t(s), uint8_t(counts[s]));
    }

    cmcEeprom image;
};

TEST_F(BankSiteTest, BankRowsFollowEachOther) {
    SetBanks({0, 3, 0, 5});
    EXPECT_EQ(GetBankChannelCount(image, 1), 3);
    EXPECT_EQ(GetBankChannelCount(image, -1), 0);
    EXPECT_EQ(GetBankChannelCount(image, 128), 0);
    struct Case {
        int32_t bank, first, last;
    } cases[] = {{0, 0, 0}, {1, 0, 2}, {2, 3, 2}, {3, 3, 7}, {4, 8, 7}, {127, 8, 7}, {200, 8, 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(GetBankFirstChannel(image, c.bank), c.first) << c.bank;
        EXPECT_EQ(GetBankLastChannel(image, c.bank), c.last) << c.bank;
    }
    EXPECT_EQ(GetTotalBankChannels(image), 8);
}

TEST_F(BankSiteTest, ChannelNumbersAndBanks) {
    SetBanks({0, 3, 0, 5});
    struct Case {
        int32_t number, bank;
    } cases[] = {{0, 0}, {1, 1}, {3, 1}, {4, 3}, {8, 3}, {9, 0}, {-5, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(BankOfChannelNumber(image, c.number), c.bank) << c.number;
}

TEST_F(BankSiteTest, TheBankHoldingARowSkipsEmptyBanks) {
    SetBanks({0, 3, 0, 5});
    image.SetWord(kBankCounts + 2 * 127, 2); // rows 8 and 9, behind 123 empty banks
    struct Case {
        int32_t row, bank;
    } cases[] = {{-1, 128}, {0, 1}, {2, 1}, {3, 3}, {7, 3}, {8, 127}, {9, 127}, {10, 128}, {600, 128}};
    for (const Case& c : cases)
        EXPECT_EQ(BankHoldingRow(image, c.row), c.bank) << c.row;
    // Counts as stored, past the table's 512 rows: banks 0 and 1 now hold
    // 65535 and 7 rows, bank 3 five more and bank 127 two.
    SetBanks({65535, 7});
    EXPECT_EQ(BankHoldingRow(image, 65534), 0);
    EXPECT_EQ(BankHoldingRow(image, 65535), 1);
    EXPECT_EQ(BankHoldingRow(image, 65542), 3);
    EXPECT_EQ(BankHoldingRow(image, 65548), 127);
    EXPECT_EQ(BankHoldingRow(image, 65549), 128);
    EXPECT_EQ(BankOfChannelNumber(image, 65536), 1);
    EXPECT_EQ(BankOfChannelNumber(image, 65543), 3);
    EXPECT_EQ(BankOfChannelNumber(image, 65549), 127);
    EXPECT_EQ(BankOfChannelNumber(image, 65550), 0) << "no bank reaches it";
    EXPECT_EQ(BankOfChannelNumber(image, 0), 0);
}

TEST_F(BankSiteTest, SettingACountKeepsItsLow16BitsAndIgnoresInvalidBanks) {
    EXPECT_EQ(SetBankChannelCount(image, 5, 70000), 70000 % 65536);
    EXPECT_EQ(image.GetWord(kBankCounts + 10), 70000 % 65536);
    cmcEeprom before(image);
    EXPECT_EQ(SetBankChannelCount(image, 128, 7), 0);
    EXPECT_EQ(SetBankChannelCount(image, -1, 7), 0);
    EXPECT_TRUE(image.IsEqual(before));
    EXPECT_EQ(SetSiteChannelCount(image, 3, 300), 300 % 256);
    EXPECT_EQ(image.GetByte(kSiteCounts + 3), 300 % 256);
    EXPECT_EQ(SetSiteChannelCount(image, 128, 7), 0);
    EXPECT_EQ(GetSiteChannelCountAt(image, 3, 99), 44);
}

// Counts from a file or a radio may promise more rows than the tables have;
// rows computed from them stay inside the tables.
TEST_F(BankSiteTest, RowsAreClampedToTheTablesWhateverTheCounts) {
    SetBanks(std::vector<int32_t>(128, 65535));
    SetSites(std::vector<int32_t>(128, 255));
    EXPECT_EQ(GetTotalBankChannels(image), 512);
    EXPECT_EQ(GetTotalSiteChannels(image), 2560);
    for (int32_t n = 0; n < 128; ++n) {
        EXPECT_LE(GetBankFirstChannel(image, n), 512);
        EXPECT_LE(GetBankLastChannel(image, n), 511);
        EXPECT_LE(GetSiteFirstChannel(image, n), 2560);
        EXPECT_LE(GetSiteLastChannel(image, n), 2559);
    }
    EXPECT_EQ(GetBankFirstChannel(image, 1), 512);
    EXPECT_EQ(GetBankLastChannel(image, 0), 511);
    EXPECT_EQ(GetSiteFirstChannel(image, 10), 2550);
    EXPECT_EQ(GetSiteLastChannel(image, 10), 2559);
    EXPECT_EQ(GetBankChannelCount(image, 0), 65535) << "the count itself is given as stored";
}

TEST_F(BankSiteTest, SitesAndPoolEntries) {
    SetSites({2, 0, 4});
    EXPECT_EQ(GetSiteFirstChannel(image, 2), 2);
    EXPECT_EQ(GetSiteLastChannel(image, 2), 5);
    EXPECT_EQ(GetSiteLastChannel(image, 0), 1);
    EXPECT_EQ(GetTotalSiteChannels(image), 6);
    EXPECT_EQ(GetSiteChannelCount(image, 128), 0);
    EXPECT_FALSE(IsValidSite(128));
    struct Case {
        int32_t entry, site;
    } cases[] = {{0, 0}, {1, 0}, {2, 2}, {5, 2}, {6, 0}, {2559, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(SiteOfPoolEntry(image, c.entry), c.site) << c.entry;
}

TEST_F(BankSiteTest, BankBitmapsCountFromTheMostSignificantBit) {
    struct Map {
        bool (*set)(cmcEeprom&, int32_t, int32_t);
        bool (*is)(const cmcEeprom&, int32_t);
        int32_t offset;
    } maps[] = {{&SetSmarTrunkBank, &IsSmarTrunkBank, kSmarTrunkBitmap},
                {&SetBankFlagB, &IsBankFlagB, kLtrBitmap}};
    for (const Map& m : maps) {
        image.Fill(0);
        EXPECT_TRUE(m.set(image, 9, 5));
        EXPECT_EQ(image.GetByte(m.offset + 1), 0x40);
        EXPECT_TRUE(m.is(image, 9));
        EXPECT_FALSE(m.is(image, 8));
        EXPECT_TRUE(m.set(image, 127, 1));
        EXPECT_EQ(image.GetByte(m.offset + 15), 0x01);
        EXPECT_FALSE(m.set(image, 9, 0));
        EXPECT_EQ(image.GetByte(m.offset + 1), 0x00);
        image.Fill(0xFF);
        cmcEeprom before(image);
        EXPECT_FALSE(m.set(image, 128, 1));
        EXPECT_FALSE(m.set(image, -1, 0));
        EXPECT_FALSE(m.is(image, 128));
        EXPECT_TRUE(image.IsEqual(before));
    }
}

TEST_F(BankSiteTest, FunctionsGivenAnImageLeaveTheCurrentOneAlone) {
    cmcEeprom other;
    other.SetSize(layout::kImageSize);
    SetBankChannelCount(other, 0, 4);
    SetSmarTrunkBank(other, 0, 1);
    EXPECT_EQ(GetBankChannelCount(other, 0), 4);
    EXPECT_EQ(GetTotalBankChannels(other), 4);
    EXPECT_TRUE(IsSmarTrunkBank(other, 0));
    EXPECT_EQ(GetTotalBankChannels(CurrentImage()), 0);
    EXPECT_FALSE(IsSmarTrunkBank(CurrentImage(), 0));
}

TEST(PackedDecimal, FourDigitsHighNibbleFirst) {
    struct Case {
        std::array<uint8_t, 2> bytes;
        int32_t value;
    } cases[] = {{{0x12, 0x34}, 1234},
                 {{0xFF, 0xFF}, 65535},
                 {{0x00, 0x00}, 0},
                 {{0x99, 0x9A}, 65535},
                 {{0xA0, 0x00}, 65535}};
    for (const Case& c : cases)
        EXPECT_EQ(BcdToInt(c.bytes.data()), c.value);
}

TEST(PackedDecimal, WritesTheLastFourDigitsAndFillsTheRestWithFF) {
    struct Case {
        int32_t value, length;
        std::array<uint8_t, 5> expected; // the fifth byte lies outside the field
    } cases[] = {
        {56789, 2, {0x67, 0x89, 0x00, 0x00, 0x00}}, {42, 4, {0x00, 0x42, 0xFF, 0xFF, 0x00}},
        {1234, 1, {0x12, 0x00, 0x00, 0x00, 0x00}},  {1234, 0, {0x00, 0x00, 0x00, 0x00, 0x00}},
        {-1234, 2, {0x12, 0x34, 0x00, 0x00, 0x00}}, {INT32_MIN, 2, {0x36, 0x48, 0x00, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        std::array<uint8_t, 5> bytes{};
        IntToBcd(c.value, bytes.data(), c.length);
        EXPECT_EQ(bytes, c.expected) << c.value << " in " << c.length;
    }
}

} // namespace
