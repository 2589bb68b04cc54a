#include "adjust/AdjustRecords.h"
#include "adjust/AdjustImagePasses.h"
#include "adjust/AdjustLayout.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "tests/image/ScopedModel.h"
#include "tests/support/ManualScheduler.h"
#include "tools/initdata/StartupImage.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <vector>

namespace {

using adj::datCh;

constexpr int32_t kE = 65408, kG = 82512;

cmcEeprom Blank() {
    cmcEeprom image;
    image.SetSize(layout::kImageSize);
    SetBankChannelCount(image, 0, 512);
    // Blank names, as the start-up data holds them.
    for (int32_t n = 0; n < 512; ++n)
        for (int32_t i = 0; i < 12; ++i)
            image.SetByte(kE + 30 * n + 14 + i, ' ');
    return image;
}

std::vector<uint8_t> Bytes(const cmcEeprom& image) {
    return {image.Data(), image.Data() + image.GetSize()};
}

// The offsets at which two images differ, to name them in a failure.
std::vector<int32_t> Differences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    std::vector<int32_t> at;
    for (size_t i = 0; i < std::min(a.size(), b.size()) && at.size() < 8; ++i)
        if (a[i] != b[i]) at.push_back(static_cast<int32_t>(i));
    return at;
}

// One field of a channel row and the single image bit it comes from: Load
// reads it there and Store writes it there, in both the short form (kinds 1,
// 2, 3) and the long one (4, 5) unless the case says otherwise.
struct FieldBit {
    const char* what;
    int32_t at; // byte offset from the row's entry
    uint8_t mask;
    std::function<bool(const datCh&)> get;
    std::function<void(datCh&)> set;
    bool shortForm = true;
    bool longForm = true;
};

TEST(AdjustRecordsTest, ChannelFieldsLieWhereTheRowsKeepThem) {
    testimage::ScopedModel model(0);
    const int32_t n = 7;
    const int32_t e = kE + 30 * n, g = kG + 22 * n;
    const FieldBit fields[] = {
        {"P0 E12.6", e + 12, 0x40, [](const datCh& r) { return r.optionP & 1; },
         [](datCh& r) { r.optionP |= 1; }},
        {"P1 G3.4", g + 3, 0x10, [](const datCh& r) { return r.optionP >> 1 & 1; },
         [](datCh& r) { r.optionP |= 2; }},
        {"P3 G0.7", g + 0, 0x80, [](const datCh& r) { return r.optionP >> 3 & 1; },
         [](datCh& r) { r.optionP |= 8; }},
        {"P11 G17.2", g + 17, 0x04, [](const datCh& r) { return r.optionP >> 11 & 1; },
         [](datCh& r) { r.optionP |= 1 << 11; }},
        {"R G1.1", g + 1, 0x02, [](const datCh& r) { return r.optionR; }, [](datCh& r) { r.optionR = true; }},
        {"W0 G2.1", g + 2, 0x02, [](const datCh& r) { return r.optionW & 1; },
         [](datCh& r) { r.optionW |= 1; }},
        {"W1 G2.0", g + 2, 0x01, [](const datCh& r) { return r.optionW >> 1 & 1; },
         [](datCh& r) { r.optionW |= 2; }, false, true},
        {"W6 G0.6", g + 0, 0x40, [](const datCh& r) { return r.optionW >> 6 & 1; },
         [](datCh& r) { r.optionW |= 1 << 6; }},
        {"W16 G3.6", g + 3, 0x40, [](const datCh& r) { return r.optionW >> 16 & 1; },
         [](datCh& r) { r.optionW |= 1 << 16; }},
        {"W18 G18.7", g + 18, 0x80, [](const datCh& r) { return r.optionW >> 18 & 1; },
         [](datCh& r) { r.optionW |= 1 << 18; }},
        {"F0 G7.7", g + 7, 0x80, [](const datCh& r) { return r.flagsF & 1; }, [](datCh& r) { r.flagsF |= 1; },
         false, true},
        {"F4 G6.7", g + 6, 0x80, [](const datCh& r) { return r.flagsF >> 4 & 1; },
         [](datCh& r) { r.flagsF |= 16; }, false, true},
        {"V6 G8.0", g + 8, 0x01, [](const datCh& r) { return r.v6 & 1; }, [](datCh& r) { r.v6 |= 1; }, true,
         false},
        {"V4 G8.0", g + 8, 0x01, [](const datCh& r) { return r.v4 & 1; }, [](datCh& r) { r.v4 |= 1; }, false,
         true},
        {"V7 low G11.6", g + 11, 0x40, [](const datCh& r) { return r.v7 & 1; }, [](datCh& r) { r.v7 |= 1; },
         true, false},
        {"V7 G10.0", g + 10, 0x01, [](const datCh& r) { return r.v7 & 1; }, [](datCh& r) { r.v7 |= 1; },
         false, true},
        {"Q3 E12.0", e + 12, 0x01, [](const datCh& r) { return r.optionQ >> 3 & 1; },
         [](datCh& r) { r.optionQ |= 8; }},
        {"Q7 G17.7", g + 17, 0x80, [](const datCh& r) { return r.optionQ >> 7 & 1; },
         [](datCh& r) { r.optionQ |= 128; }},
        {"S G17.3", g + 17, 0x08, [](const datCh& r) { return r.optionS; },
         [](datCh& r) { r.optionS = true; }},
        {"V11 G16.0", g + 16, 0x01, [](const datCh& r) { return r.v11 & 1; }, [](datCh& r) { r.v11 |= 1; }},
        {"V10 G15.0", g + 15, 0x01, [](const datCh& r) { return r.v10 & 1; }, [](datCh& r) { r.v10 |= 1; }},
        {"V9 E29.0", e + 29, 0x01, [](const datCh& r) { return r.v9 & 1; }, [](datCh& r) { r.v9 |= 1; }},
        {"scan list 0", 80784 + n / 8, static_cast<uint8_t>(0x80 >> n % 8),
         [](const datCh& r) { return r.groupBits >> 16 & 1; }, [](datCh& r) { r.groupBits |= 1 << 16; }},
        {"scan list 16", 80784 + 64 * 16 + n / 8, static_cast<uint8_t>(0x80 >> n % 8),
         [](const datCh& r) { return r.groupBits & 1; }, [](datCh& r) { r.groupBits |= 1; }},
        {"display 0 is byte 1", 133966 + 6 * n + 1, 0x01, [](const datCh& r) { return r.display[0] & 1; },
         [](datCh& r) { r.display[0] |= 1; }},
    };
    for (int32_t kind = 1; kind <= 5; ++kind) {
        const bool shortForm = kind <= 3;
        for (const FieldBit& f : fields) {
            if (shortForm ? !f.shortForm : !f.longForm) continue;
            cmcEeprom image = Blank();
            image.SetWord(e, 0x0100); // in use
            datCh r(&image);
            r.Load(kind, n);
            EXPECT_FALSE(f.get(r)) << f.what << " kind " << kind;
            const std::vector<uint8_t> before = Bytes(image);
            f.set(r);
            r.Store(kind, n);
            std::vector<uint8_t> expected = before;
            expected[static_cast<size_t>(f.at)] |= f.mask;
            EXPECT_EQ(Differences(Bytes(image), expected), std::vector<int32_t>{})
                << f.what << " kind " << kind;
            EXPECT_TRUE(datCh(&image).Load(kind, n).InUse()) << f.what;
            EXPECT_TRUE(f.get(datCh(&image).Load(kind, n))) << f.what << " kind " << kind;
        }
    }
}

TEST(AdjustRecordsTest, ShortFormReadsItsConstants) {
    testimage::ScopedModel model(0);
    cmcEeprom image = Blank();
    image.SetByte(kG + 7, 0xFF);
    image.SetByte(kG + 9, 0xFF);
    for (int32_t kind : {1, 2, 3}) {
        const datCh r = datCh(&image).Load(kind, 0);
        EXPECT_EQ(r.v4, 1);
        EXPECT_EQ(r.v3, 0);
        EXPECT_EQ(r.v5, 0);
        EXPECT_EQ(r.flagsF, 2);
    }
    EXPECT_EQ(datCh(&image).Load(4, 0).v3, 0x7F);
}

TEST(AdjustRecordsTest, FrequenciesTonesAndName) {
    testimage::ScopedModel model(0);
    cmcEeprom image = Blank();
    datCh r(&image);
    r.Load(1, 3);
    r.flagA = 1;
    r.rxFreq = 146520000;
    r.txFreq = 900000000; // held to the top of the range
    r.flagC = 2;
    r.tone1 = {.on = true, .dcs = true, .dcsInverted = true, .ctcss = 0, .dcsCode = 0x1A5};
    r.tone2 = {.on = true, .dcs = false, .dcsInverted = false, .ctcss = 12, .dcsCode = 0};
    r.name = {'C', 'H', ' ', '4', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    r.Store(1, 3);
    const int32_t e = kE + 90;
    EXPECT_EQ(image.GetWord(e), 146520000 >> 16);
    EXPECT_EQ(image.GetWord(e + 2), 146520000 & 0xFFFF);
    EXPECT_EQ(image.GetByte(e + 4), 0x80 | (799999950 >> 24));
    EXPECT_EQ(image.GetByte(e + 8), 0x61); // on, coded, inverted, code bit 8
    EXPECT_EQ(image.GetByte(e + 9), 0xA5);
    EXPECT_EQ(image.GetByte(e + 10), 0x00);
    EXPECT_EQ(image.GetByte(e + 11), 12);
    EXPECT_EQ(image.GetByte(e + 12) & 0x20, 0x20); // the name is not blank
    const datCh back = datCh(&image).Load(1, 3);
    EXPECT_EQ(back.rxFreq, 146520000u);
    EXPECT_EQ(back.txFreq, 799999950u);
    EXPECT_EQ(back.flagC, 2);
    EXPECT_EQ(back.tone1, r.tone1);
    EXPECT_EQ(back.tone2, r.tone2);
    EXPECT_EQ(back.name, r.name);
}

TEST(AdjustRecordsTest, ABlankRowStoresNoFrequency) {
    testimage::ScopedModel model(0);
    cmcEeprom image = Blank();
    image.SetWord(kE + 30 * 5, 0x0800);
    image.SetWord(kE + 30 * 5 + 4, 0x0800);
    datCh r(&image);
    r.Load(1, 5);
    ASSERT_TRUE(r.InUse());
    r.flagA = 0;
    r.Store(1, 5);
    EXPECT_EQ(image.GetWord(kE + 150), 0);
    EXPECT_EQ(image.GetWord(kE + 154), 0);
    EXPECT_FALSE(datCh(&image).Load(1, 5).InUse());
}

TEST(AdjustRecordsTest, MarkAWritesItsRow) {
    testimage::ScopedModel model(0);
    cmcEeprom image = Blank();
    image.SetWord(80768, 40);
    datCh r(&image);
    r.Load(1, 9);
    EXPECT_FALSE(r.marks & 1);
    r.marks |= 1;
    r.Store(1, 9);
    EXPECT_EQ(image.GetWord(80768), 9);
    EXPECT_TRUE(datCh(&image).Load(1, 9).marks & 1);
    EXPECT_FALSE(datCh(&image).Load(1, 40).marks & 1);
    // Mark E shows only while its switch is on.
    image.SetWord(93812, 9);
    EXPECT_FALSE(datCh(&image).Load(1, 9).marks & 4);
    image.SetByte(93822, 0x20);
    EXPECT_TRUE(datCh(&image).Load(1, 9).marks & 4);
}

TEST(AdjustRecordsTest, LtrChannelsKeepTheirContents) {
    // Model 1 is LTR: its rows are programmed channels like any other.
    testimage::ScopedModel model(1);
    cmcEeprom image = Blank();
    image.SetWord(kE + 30 * 2, 0x0900);
    EXPECT_TRUE(datCh(&image).Load(2, 2).InUse());
    EXPECT_EQ(adj::CountBankUsedChannels(image, 0), 1);
    EXPECT_EQ(adj::LastUsedChannelInBank(image, 0), 3);
}

TEST(AdjustRecordsTest, ScrambleTypeTwoCountsFromOne) {
    testimage::ScopedModel model(0);
    cmcEeprom image = Blank();
    image.SetByte(kG + 18, 0x80); // W bits 17-18 = 2
    datCh r(&image);
    r.Load(1, 0);
    EXPECT_EQ(r.v1, 1);
    r.v1 = 0;
    r.Store(1, 0);
    EXPECT_EQ(image.GetByte(kG + 5), 0);
    image.SetByte(kG + 5, 255);
    EXPECT_EQ(datCh(&image).Load(1, 0).v1, 256);
    r.Load(1, 0);
    r.Store(1, 0);
    EXPECT_EQ(image.GetByte(kG + 5), 255);
}

TEST(AdjustRecordsTest, LoadThenStoreChangesNoByte) {
    testimage::ScopedModel model(0);
    std::mt19937 random(2121);
    for (int round = 0; round < 3; ++round) {
        cmcEeprom image;
        image.SetSize(layout::kImageSize);
        for (int32_t i = 0; i < image.GetSize(); ++i)
            image.Data()[i] = static_cast<uint8_t>(random());
        for (int32_t b = 0; b < 128; ++b)
            SetBankChannelCount(image, b, b < 64 ? 8 : 0);
        // What the rows derive from their contents (a row without a receive
        // frequency sends none, frequencies stay in range, the texts' bits, a
        // two-tone code's row in its name entry) is put right once; after
        // that every row of every kind goes back as it came.
        for (int32_t kind = 0; kind < datCh::kKinds; ++kind)
            for (int32_t n = 0; n < 2560; ++n) {
                datCh r(&image);
                r.Load(kind, n);
                r.Store(kind, n);
            }
        const std::vector<uint8_t> settled = Bytes(image);
        for (int32_t kind = 0; kind < datCh::kKinds; ++kind)
            for (int32_t n = -1; n <= 2560; ++n) {
                datCh r(&image);
                r.Load(kind, n);
                r.Store(kind, n);
            }
        EXPECT_EQ(Differences(Bytes(image), settled), std::vector<int32_t>{}) << round;
    }
}

TEST(AdjustRecordsTest, StartupDataGoesBackAsItCame) {
    // Every row of every kind of each model's start-up data goes back as it
    // came, but for what a two-tone code writes for the radio: its row in its
    // name entry.
    std::set<int32_t> written;
    for (int32_t n = 1; n <= 10; ++n)
        written.insert(98098 + 14 * n + 12);
    for (int32_t m = 0; m < 10; ++m) {
        testimage::ScopedModel model(m);
        cmcEeprom image;
        BuildStartupImage(image, m, adj::AdjustLayout());
        adj::Dynamic2Static(image);
        const std::vector<uint8_t> before = Bytes(image);
        for (int32_t kind = 0; kind < datCh::kKinds; ++kind)
            for (int32_t n = 0; n < 2560; ++n) {
                datCh r(&image);
                r.Load(kind, n);
                r.Store(kind, n);
            }
        const std::vector<uint8_t> after = Bytes(image);
        for (size_t at = 0; at < after.size(); ++at) {
            if (after[at] != before[at]) {
                EXPECT_TRUE(written.count(static_cast<int32_t>(at))) << m << " " << at;
            }
        }
    }
}

TEST(AdjustRecordsTest, OtherKindsFields) {
    testimage::ScopedModel model(0);
    cmcEeprom image = Blank();
    // A two-tone code: its tones, windows and name entry.
    image.SetWord(81868 + 4 * 3, 1500);
    image.SetWord(81870 + 4 * 3, 2200);
    datCh code(&image);
    code.Load(15, 3);
    EXPECT_EQ(code.doubles[0], 1500.0);
    EXPECT_EQ(code.doubles[1], 2200.0);
    code.limits = {1, 2, 3, 4};
    code.bits |= 0x80;
    code.Store(15, 3);
    EXPECT_EQ(image.GetWord(95406 + 24), 1);
    EXPECT_EQ(image.GetWord(95406 + 30), 4);
    EXPECT_EQ(image.GetByte(98098 + 14 * 3 + 12), 0x22);
    code.bits &= ~0x80u;
    code.Store(15, 3);
    EXPECT_EQ(image.GetByte(98098 + 14 * 3 + 12), 0x2F);
    // A call-list number without digits stays without.
    image.SetWord(82000 + 4 * 5, 0xFFFF);
    datCh call(&image);
    call.Load(19, 5);
    EXPECT_EQ(call.values[0], 0xFFFF);
    call.values[0] = 1234;
    call.Store(19, 5);
    EXPECT_EQ(image.GetWord(82000 + 20), 0x1234);
    // A tone pair's selection bit, a NAC channel's.
    datCh pair(&image);
    pair.Load(11, 9);
    pair.flagD |= 0x02;
    pair.Store(11, 9);
    EXPECT_EQ(image.GetByte(93902 + 1), 0x40);
    datCh nac(&image);
    nac.Load(24, 0);
    nac.flagD |= 0x01;
    nac.Store(24, 0);
    EXPECT_EQ(image.GetByte(93907), 0x80);
    // A repeater entry of site 0 holds its frequency within range.
    image.SetWord(108366 + 10 * 4, 0x7FFF);
    datCh entry(&image);
    entry.Load(25, 4);
    EXPECT_EQ(entry.word1, datCh::kMaxFreq);
    EXPECT_TRUE(entry.InUse());
}

TEST(AdjustRecordsTest, KindTable) {
    struct Case {
        int32_t kind, min, max, flag, getMin, getMax;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0},          {1, 0, 511, 1, 0, 511},     {2, 0, 511, 1, 0, 511},
        {5, 0, 511, 1, 0, 511},      {6, 0, 0, 0, 0, 100000000}, {8, 0, 15, 1, 0, 15},
        {11, 0, 39, 0, 0, 39},       {14, 0, 14, 0, 0, 14},      {15, 1, 10, 0, 1, 10},
        {17, 0, 0, 0, 0, 100000000}, {25, 0, 19, 0, 0, 19},      {27, 0, 0, 0, 0, 100000000},
        {-1, 0, 0, 0, 0, 100000000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(datCh::FieldMin(c.kind), c.min) << c.kind;
        EXPECT_EQ(datCh::FieldMax(c.kind), c.max) << c.kind;
        EXPECT_EQ(datCh::FieldFlag(c.kind), c.flag) << c.kind;
        EXPECT_EQ(datCh::GetMin(c.kind), c.getMin) << c.kind;
        EXPECT_EQ(datCh::GetMax(c.kind), c.getMax) << c.kind;
    }
}

} // namespace

namespace {

TEST(AdjustRecordsTest, SiteCountAskingTheSheetFirst) {
    plat::ManualScheduler scheduler;
    scheduler.Install();
    cmcEvMan bus;
    cmcEvMan* old = gEvMan;
    gEvMan = &bus;
    int asked = 0;
    bus.AddListener(
        [](void* user, const cmcEvent& ev) { *static_cast<int*>(user) += ev.type == evQueryBank; }, &asked);
    cmcEeprom image;
    image.SetSize(layout::kImageSize);
    image.SetByte(107210 + 3, 9);
    EXPECT_EQ(adj::GetSiteChannelCountAt(image, 3, false), 9);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(adj::GetSiteChannelCountAt(image, 3, true), 9);
    EXPECT_EQ(asked, 1);
    gEvMan = old;
}

} // namespace
