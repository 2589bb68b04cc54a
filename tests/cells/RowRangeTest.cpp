#include "cells/RowRange.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/CurrentImage.h"
#include "image/cmcEeprom.h"
#include "tests/support/ManualScheduler.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int32_t kBankCounts = 93932;
constexpr int32_t kSiteCounts = 107210;

// An open sheet: the bank sheet answers the bank query with (bank, first row),
// the repeater sheet the site query with (site, 0).
struct OpenSheet {
    int32_t event;
    intptr_t number;
};

void Answer(void* user, const cmcEvent& ev) {
    auto* sheet = static_cast<OpenSheet*>(user);
    if (ev.type == sheet->event && ev.mode == evModeSentWithAnswer) gEvMan->Answer(sheet->number, 99);
}

class RowRangeTest : public ::testing::Test {
protected:
    RowRangeTest() {
        image_.SetSize(148298);
        SetCurrentImage(&image_);
        sched_.Install();
        bus_ = std::make_unique<cmcEvMan>();
        gEvMan = bus_.get();
        // Banks 0..2 hold 3, 0 and 5 channels; sites 0 and 1 hold 4 and 2 entries.
        image_.SetWord(kBankCounts + 0, 3);
        image_.SetWord(kBankCounts + 4, 5);
        image_.SetByte(kSiteCounts + 0, 4);
        image_.SetByte(kSiteCounts + 1, 2);
    }
    ~RowRangeTest() override {
        gEvMan = nullptr;
        bus_.reset();
        sched_.Advance(1);
        SetCurrentImage(nullptr);
    }

    cmcEeprom image_;
    plat::ManualScheduler sched_;
    std::unique_ptr<cmcEvMan> bus_;
};

TEST_F(RowRangeTest, BankRanges) {
    struct Case {
        int32_t bank;
        RowRange range;
    } cases[] = {
        {0, {0, 0, 2, 3}}, {1, {1, 3, 2, 0}}, {2, {2, 3, 7, 5}}, {3, {3, 8, 7, 0}}, {128, {}}, {-1, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetBankRange(c.bank), c.range) << c.bank;
}

TEST_F(RowRangeTest, SiteRanges) {
    struct Case {
        int32_t site;
        RowRange range;
    } cases[] = {{0, {0, 0, 3, 4}}, {1, {1, 4, 5, 2}}, {128, {}}, {-1, {}}};
    for (const Case& c : cases)
        EXPECT_EQ(GetSiteRange(c.site), c.range) << c.site;
}

// Counts that promise more rows than the tables hold: every range ends where
// the next one starts, held to the table's last row, as the accessors say.
TEST_F(RowRangeTest, RangesPastTheTablesEndAtTheirLastRow) {
    struct Case {
        int32_t bank0, bank1; // counts of banks 0 and 1
        uint8_t site0, site1; // of sites 0 and 1
    } cases[] = {{500, 12, 255, 255}, {512, 1, 0, 255}, {65535, 65535, 255, 0}, {0, 600, 1, 254}};
    for (const Case& c : cases) {
        image_.SetWord(kBankCounts + 0, static_cast<uint16_t>(c.bank0));
        image_.SetWord(kBankCounts + 2, static_cast<uint16_t>(c.bank1));
        image_.SetByte(kSiteCounts + 0, c.site0);
        image_.SetByte(kSiteCounts + 1, c.site1);
        for (int32_t site = 2; site < 128; ++site)
            image_.SetByte(kSiteCounts + site, 255);
        for (int32_t bank : {0, 1, 2, 127}) {
            const RowRange r = GetBankRange(bank);
            EXPECT_EQ(r.first, GetBankFirstChannel(image_, bank)) << c.bank0 << " " << bank;
            EXPECT_EQ(r.last, GetBankLastChannel(image_, bank)) << c.bank0 << " " << bank;
            EXPECT_LE(r.last, 511);
        }
        for (int32_t site : {0, 1, 2, 9, 10, 127}) {
            const RowRange r = GetSiteRange(site);
            EXPECT_EQ(r.first, GetSiteFirstChannel(image_, site)) << int(c.site0) << " " << site;
            EXPECT_EQ(r.last, GetSiteLastChannel(image_, site)) << int(c.site0) << " " << site;
            EXPECT_LE(r.last, 2559);
        }
    }
    image_.SetWord(kBankCounts + 0, 500);
    image_.SetWord(kBankCounts + 2, 12);
    EXPECT_EQ(GetBankRange(1), (RowRange{1, 500, 511, 12}));
    EXPECT_EQ(GetBankRange(2), (RowRange{2, 512, 511, 5}));
}

TEST_F(RowRangeTest, BankCountsAsStored) {
    image_.SetByte(kBankCounts + 254, 0x12);
    image_.SetByte(kBankCounts + 255, 0x34); // bank 127 at 94186 and 94187
    EXPECT_EQ(ReadBankChannelCount(image_, 127), 0x1234);
    EXPECT_EQ(ReadBankChannelCount(image_, 0), 3);
    EXPECT_EQ(ReadBankChannelCount(image_, 128), 0);
    EXPECT_EQ(ReadBankChannelCount(image_, -1), 0);
}

TEST_F(RowRangeTest, BankFreeFollowsTheSecondBank) {
    EXPECT_EQ(GetBankFree(image_), 0);
    image_.SetWord(kBankCounts + 2, 1);
    EXPECT_EQ(GetBankFree(image_), 1);
    cmcEeprom before = image_;
    EXPECT_TRUE(SetBankFree(image_, 0, 0));
    EXPECT_TRUE(image_.IsEqual(before));
}

TEST_F(RowRangeTest, CurrentRangesComeFromTheOpenSheet) {
    EXPECT_EQ(GetCurrentBankRange(), RowRange{});
    EXPECT_EQ(GetCurrentSiteRange(), RowRange{});

    OpenSheet bankSheet{evQueryBank, 2}, siteSheet{evQuerySite, 1};
    bus_->AddListener(&Answer, &bankSheet);
    bus_->AddListener(&Answer, &siteSheet);
    EXPECT_EQ(GetCurrentBankRange(), (RowRange{2, 3, 7, 5}));
    EXPECT_EQ(GetCurrentSiteRange(), (RowRange{1, 4, 5, 2}));

    // A sheet answering with a number that is no bank gives zeros.
    bankSheet.number = 300;
    EXPECT_EQ(GetCurrentBankRange(), RowRange{});

    gEvMan = nullptr;
    EXPECT_EQ(GetCurrentBankRange(), RowRange{});
}

} // namespace
