#include "adjust/AdjustImagePasses.h"
#include "adjust/AdjustLayout.h"
#include "image/BankSite.h"
#include "image/PartitionTable.h"
#include "tests/image/RadioImage.h"
#include "tests/image/ScopedModel.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using testimage::RadioImage;

constexpr int32_t kEnd = layout::kDynamicEnd;

// The entry of an ID in the partition table packing left at the copy.
std::optional<PtblEntry> Entry(const cmcEeprom& image, uint16_t id) {
    const int32_t n = image.GetWord(layout::kHdrOwnEntry + 4);
    const uint8_t* e = FindPtblEntry(image.Data() + layout::kPtblCopy, n, id);
    if (!e) return std::nullopt;
    return ReadPtblEntry(e);
}

// A blank image of the working layout with the given bank counts and used
// repeater entries: what packing spends then follows from the counts alone.
struct Counts {
    int32_t below127 = 0; // channels, all in bank 0
    int32_t bank127 = 0;
    int32_t pool = 0; // repeater entries, spread over sites of 200
};

cmcEeprom Blank(const Counts& c) {
    cmcEeprom image;
    image.SetSize(layout::kImageSize);
    SetBankChannelCount(image, 0, c.below127);
    SetBankChannelCount(image, 127, c.bank127);
    for (int32_t s = 0, left = c.pool; left > 0; ++s, left -= 200)
        SetSiteChannelCount(image, s, std::min(left, 200));
    return image;
}

// The used data of an image with no channels and no pool, as packing ends it.
int32_t EmptyEnd() {
    cmcEeprom image = Blank({});
    EXPECT_EQ(adj::Static2Dynamic(image, 0), 0);
    return image.GetWord(layout::kHdrEndAddress);
}

class AdjustImagePassesTest : public ::testing::Test {
protected:
    testimage::ScopedModel model_{0};
};

TEST_F(AdjustImagePassesTest, FitsDynamicAreaCountsWhatPackingSpends) {
    struct Case {
        int category;
        int32_t n;
        int32_t x;
        int32_t end; // header word 274
        int fits;
    };
    const Case cases[] = {
        {2, 1, 0, kEnd - 58, 1},    // a channel of banks 0..126: 30 + 22 + 6 bytes
        {2, 1, 0, kEnd - 57, 0},    //
        {2, 10, 5, kEnd - 580, 1},  //
        {2, 10, 5, kEnd - 579, 0},  //
        {2, 1, 127, kEnd - 52, 1},  // one of bank 127: no display bytes
        {2, 1, 127, kEnd - 51, 0},  //
        {2, 0, 0, kEnd, 1},         // nothing always fits the room there is
        {26, 1000, 0, kEnd, 1},     // other categories are not counted
        {9, 5, 127, kEnd + 100, 1}, //
        {2, 0, 0, kEnd + 1, 0},     // a header past the area leaves no room
    };
    for (const Case& c : cases) {
        cmcEeprom image = Blank({});
        image.SetWord(layout::kHdrEndAddress, static_cast<uint16_t>(c.end));
        // Block 3's word does not limit channels: bank 127's go before it, the
        // others' bytes after it, and all of it is behind the used data.
        image.SetWord(layout::kHdrBlock3Address, static_cast<uint16_t>(kEnd - 1));
        EXPECT_EQ(adj::FitsDynamicArea(image, c.category, c.n, c.x), c.fits)
            << c.category << " " << c.n << " " << c.x << " " << c.end;
    }
}

TEST_F(AdjustImagePassesTest, FitsDynamicAreaAgreesWithPacking) {
    // With a full repeater pool fewer than 512 channels fit: as many as the
    // test lets in, packing still takes, and one more it refuses.
    cmcEeprom probe = Blank({0, 0, 2560});
    ASSERT_EQ(adj::Static2Dynamic(probe, 0), 0);
    const int32_t empty = probe.GetWord(layout::kHdrEndAddress);
    int32_t n = 0;
    while (adj::FitsDynamicArea(probe, 2, n + 1, 0))
        ++n;
    ASSERT_GT(n, 0);
    ASSERT_LT(n, 512);
    cmcEeprom full = Blank({n, 0, 2560});
    EXPECT_EQ(adj::Static2Dynamic(full, 0), 0);
    EXPECT_EQ(full.GetWord(layout::kHdrEndAddress), empty + 58 * n);
    cmcEeprom over = Blank({n + 1, 0, 2560});
    EXPECT_EQ(adj::Static2Dynamic(over, 0), 1);
}

TEST_F(AdjustImagePassesTest, ABlockEndingAtTheAreaEndFitsOneByteMoreOverflows) {
    const int32_t room = kEnd - EmptyEnd();
    // Channels (58 bytes) and repeater entries (10) that fill the area exactly.
    int32_t m = 512;
    while (m > 0 && ((room - 58 * m) % 10 != 0 || room - 58 * m < 0))
        --m;
    const int32_t pool = (room - 58 * m) / 10;
    ASSERT_LE(pool, 2560);
    ASSERT_GT(m, 0);
    cmcEeprom exact = Blank({m, 0, pool});
    EXPECT_EQ(adj::Static2Dynamic(exact, 0), 0);
    EXPECT_EQ(exact.GetWord(layout::kHdrEndAddress), kEnd);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(exact.Data() + kEnd - 8), 8), "MORV Inc");

    cmcEeprom over = Blank({m, 0, pool + 1});
    over.SetWord(layout::kHdrEndAddress, 0x1234);
    EXPECT_EQ(adj::Static2Dynamic(over, 0), 1);
    // The words packing had not reached keep what they held.
    EXPECT_EQ(over.GetWord(layout::kHdrEndAddress), 0x1234);
}

TEST_F(AdjustImagePassesTest, Bank127BlocksOnlyWhenUsedOrAskedFor) {
    struct Case {
        int32_t bank127;
        uint8_t flags;
        int mode;
        std::optional<int32_t> count; // of IDs 4 and 5; none: not packed
    };
    const Case cases[] = {
        {0, 0x00, 0, std::nullopt},
        {0, 0x00, 1, std::nullopt},
        {0, 0x40, 0, 0},
        {7, 0x00, 0, 7},
        {7, 0x00, 1, 7},
        {7, 0x40, 0, 7},
    };
    for (const Case& c : cases) {
        cmcEeprom image = Blank({3, c.bank127, 0});
        image.SetByte(layout::kBankFlags, c.flags);
        ASSERT_EQ(adj::Static2Dynamic(image, c.mode), 0);
        for (uint16_t id : {4, 5}) {
            const auto e = Entry(image, id);
            ASSERT_EQ(e.has_value(), c.count.has_value()) << id << " " << c.bank127;
            if (e) {
                EXPECT_EQ(e->count, *c.count);
            }
        }
        // Block 3 follows the bank-127 blocks and its address is in the header.
        EXPECT_EQ(Entry(image, 3)->address, image.GetWord(layout::kHdrBlock3Address));
    }
}

TEST_F(AdjustImagePassesTest, WideningStopsWhereTheWholeAreaStillPacks) {
    struct Case {
        int32_t below127;
        int32_t bank127;
        int32_t pool;
    };
    // Room for every channel; room for a part of them; no room beyond the
    // bank's own channels.
    const Case cases[] = {{10, 2, 0}, {10, 2, 900}, {100, 30, 2000}};
    for (const Case& c : cases) {
        cmcEeprom image = Blank({c.below127, c.bank127, c.pool});
        image.SetByte(layout::kBankFlags, 0x40);
        ASSERT_EQ(adj::Static2Dynamic(image, 1), 0) << c.pool;
        const int32_t v = Entry(image, 4)->count;
        EXPECT_EQ(Entry(image, 5)->count, v);
        EXPECT_GE(v, c.bank127);
        EXPECT_LE(v, 512 - c.below127);
        // Either every channel went, or one more would not have fitted.
        const int32_t left = kEnd - image.GetWord(layout::kHdrEndAddress);
        EXPECT_TRUE(v == 512 - c.below127 || left < 52) << c.pool << " " << v << " " << left;
    }
}

TEST_F(AdjustImagePassesTest, WideningNeverSendsFewerThanTheBanksOwnChannels) {
    // The pool leaves no room for bank 127's own channels: the write refuses
    // rather than leaving some of them behind.
    const int32_t room = kEnd - EmptyEnd() - 2560 * 10;
    const int32_t below = (room - 52 * 20) / 58 + 1;
    cmcEeprom image = Blank({below, 20, 2560});
    image.SetByte(layout::kBankFlags, 0x40);
    EXPECT_EQ(adj::Static2Dynamic(image, 1), 1);
    // With two channels fewer below bank 127 its own fit, and go.
    cmcEeprom fits = Blank({below - 2, 20, 2560});
    fits.SetByte(layout::kBankFlags, 0x40);
    ASSERT_EQ(adj::Static2Dynamic(fits, 1), 0);
    EXPECT_EQ(Entry(fits, 4)->count, 20);
}

TEST_F(AdjustImagePassesTest, UnpackingClampsOversizedEntriesAndSkipsMisplacedOnes) {
    RadioImage radio;
    // ID 10: 16 records of 24 bytes in the table; the radio says 20 of 30
    // (its last 4 records would run into ID 11's table).
    const int32_t big = radio.AddBlock(10, 30, 20);
    // ID 7 points below the base, ID 11 runs past the area's end.
    radio.AddEntry({7, 16, 1, 100});
    radio.AddEntry({11, 49, 16, static_cast<uint16_t>(kEnd - 49 * 10)});
    radio.Finish();
    radio.Fill(80768, 16, 0xAA);
    radio.Fill(94630, 49 * 16, 0xBB);
    const RadioImage sent = radio;
    adj::UnpackDynamicArea(radio.Image());
    for (int32_t r = 0; r < 16; ++r)
        EXPECT_TRUE(radio.Equal(94246 + 24 * r, sent.Data() + big + 30 * r, 24)) << r;
    EXPECT_EQ(radio.Range(80768, 16), std::vector<uint8_t>(16, 0xAA));
    // The records of ID 11 inside the area are taken, those past its end not.
    for (int32_t r = 0; r < 16; ++r)
        EXPECT_EQ(radio[94630 + 49 * r], r < 10 ? sent.Data()[kEnd - 49 * (10 - r)] : 0xBB) << r;
}

TEST_F(AdjustImagePassesTest, Bank127RecordsAreHeldToTheRowsLeft) {
    RadioImage radio;
    radio.AddBlock(2, 30, 500);
    radio.AddBlock(3, 22, 500);
    // Bank 127 claims 40 channels with records larger than the table's: only
    // 12 rows are left, each taken at its block's own step.
    const int32_t b4 = radio.AddBlock(4, 31, 40);
    const int32_t b5 = radio.AddBlock(5, 23, 40);
    radio.Finish();
    radio.Fill(65408 + 30 * 512, 16, 0xCC); // the table behind the channels
    const RadioImage sent = radio;
    adj::UnpackDynamicArea(radio.Image());
    for (int32_t i = 0; i < 12; ++i) {
        EXPECT_TRUE(radio.Equal(65408 + 30 * (500 + i), sent.Data() + b4 + 31 * i, 30)) << i;
        EXPECT_TRUE(radio.Equal(82512 + 22 * (500 + i), sent.Data() + b5 + 23 * i, 22)) << i;
    }
    EXPECT_EQ(radio.Range(65408 + 30 * 512, 16), std::vector<uint8_t>(16, 0xCC));
}

TEST_F(AdjustImagePassesTest, CountsAreClampedBeforeAnythingPacksByThem) {
    RadioImage radio;
    // The bank counts ask for 600 channels, the site counts for 3000 entries.
    radio.AddBlock(8, 438, 1, [](int32_t, int32_t j) {
        const int32_t at = 93776 + j;
        if (at == 93932 + 1) return uint8_t{200}; // bank 0
        if (at == 93932 + 3) return uint8_t{250}; // bank 1
        if (at == 93932 + 5) return uint8_t{150}; // bank 2: past 512
        return uint8_t{0};
    });
    radio.AddBlock(40, 128, 1, [](int32_t, int32_t j) { return static_cast<uint8_t>(j < 12 ? 250 : 0); });
    radio.Finish();
    adj::UnpackDynamicArea(radio.Image());
    EXPECT_EQ(GetBankChannelCount(radio.Image(), 0), 200);
    EXPECT_EQ(GetBankChannelCount(radio.Image(), 1), 250);
    EXPECT_EQ(GetBankChannelCount(radio.Image(), 2), 0);
    EXPECT_EQ(GetTotalBankChannels(radio.Image()), 450);
    EXPECT_EQ(GetTotalSiteChannels(radio.Image()), 2500);
}

TEST_F(AdjustImagePassesTest, Dynamic2StaticFillsEveryChannelFromTheFirst) {
    RadioImage radio;
    const int32_t b2 = radio.AddBlock(2, 30, 3);
    const int32_t b6 = radio.AddBlock(6, 32, 1);
    radio.Finish();
    cmcEeprom radioCopy;
    radioCopy.SetSize(layout::kImageSize);
    adj::Dynamic2Static(radio.Image(), &radioCopy);
    for (int32_t r = 0; r < 512; ++r)
        ASSERT_TRUE(radio.Equal(65408 + 30 * r, radio.Data() + b2, 30)) << r;
    EXPECT_TRUE(radio.Equal(adj::kRadioBlock, radio.Data() + b6, 32));
    EXPECT_EQ(0, std::memcmp(radioCopy.Data() + adj::kRadioBlock, radio.Data() + b6, 32));
}

TEST_F(AdjustImagePassesTest, UnpackingPutsTheCalibrationBlockIntoTheRadioCopy) {
    RadioImage radio;
    const int32_t b6 = radio.AddBlock(6, 32, 1);
    radio.Finish();
    cmcEeprom radioCopy;
    radioCopy.SetSize(layout::kImageSize);
    adj::UnpackDynamicArea(radio.Image(), &radioCopy);
    // The block as the radio sent it, before unpacking packed the area again.
    for (int32_t j = 0; j < 32; ++j)
        EXPECT_EQ(radioCopy.GetByte(adj::kRadioBlock + j), RadioImage::Pattern(6, 0, j)) << j;
    EXPECT_EQ(
        radio.Range(adj::kRadioBlock, 32),
        std::vector<uint8_t>(radioCopy.Data() + adj::kRadioBlock, radioCopy.Data() + adj::kRadioBlock + 32));
    (void)b6;
}

TEST_F(AdjustImagePassesTest, ToleranceLimitsByDataVersion) {
    struct Case {
        uint8_t version;
        int modelClass;
        uint16_t tone;
        uint16_t lower, upper;
    };
    const Case cases[] = {
        {0x10, 1, 1000, 970, 1030}, {0x00, 1, 1000, 970, 1030},     {0x11, 1, 1000, 980, 1020},
        {0x20, 1, 1000, 980, 1020}, {0x10, 1, 65535, 63569, 65535}, {0x11, 1, 0, 0, 0},
        {0x10, 1, 1, 1, 1},         {0x10, 1, 17, 16, 18},
    };
    for (const Case& c : cases) {
        cmcEeprom image = Blank({});
        for (int32_t n = 1; n <= 10; ++n) {
            image.SetWord(81868 + 4 * n, c.tone);
            image.SetWord(81870 + 4 * n, c.tone);
        }
        adj::SetToleranceLimits(image, c.version, c.modelClass);
        for (int32_t n = 1; n <= 10; ++n) {
            EXPECT_EQ(image.GetWord(95406 + 8 * n), c.lower) << c.tone;
            EXPECT_EQ(image.GetWord(95408 + 8 * n), c.upper) << c.tone;
            EXPECT_EQ(image.GetWord(95410 + 8 * n), c.lower) << c.tone;
            EXPECT_EQ(image.GetWord(95412 + 8 * n), c.upper) << c.tone;
        }
        // The group call (code 0) has no window.
        EXPECT_EQ(image.GetWord(95406), 0);
    }
}

TEST_F(AdjustImagePassesTest, ToleranceLeavesOtherModelClassesAlone) {
    for (int modelClass : {2, 3, 4, 5}) {
        cmcEeprom image = Blank({});
        image.SetWord(81868 + 4, 1000);
        image.SetWord(95406 + 8, 7);
        adj::SetToleranceLimits(image, 0x10, modelClass);
        EXPECT_EQ(image.GetWord(95406 + 8), 7) << modelClass;
    }
}

} // namespace
