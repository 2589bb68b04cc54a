#include "image/datCh.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "tests/image/RecordFixture.h"
#include "tests/image/ScopedModel.h"
#include "tests/support/ManualScheduler.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace recordtest;

namespace {

void SetDword(cmcEeprom& img, int32_t at, uint32_t v) {
    img.SetWord(at, uint16_t(v >> 16));
    img.SetWord(at + 2, uint16_t(v));
}

uint32_t GetDword(const cmcEeprom& img, int32_t at) {
    return uint32_t(img.GetWord(at)) << 16 | img.GetWord(at + 2);
}

TEST(datChLimits, TheLimitTable) {
    struct Row {
        int32_t min, max, flag;
    };
    const Row rows[27] = {{0, 0, 0},    {0, 511, 1}, {0, 511, 1}, {0, 511, 1}, {0, 511, 1}, {0, 511, 1},
                          {0, 15, 1},   {0, 7, 0},   {0, 16, 0},  {0, 39, 0},  {1, 8, 0},   {0, 31, 0},
                          {0, 14, 0},   {1, 10, 0},  {0, 9, 0},   {0, 127, 0}, {0, 7, 0},   {0, 31, 0},
                          {0, 22, 0},   {0, 7, 0},   {0, 99, 0},  {0, 249, 0}, {0, 39, 0},  {0, 31, 0},
                          {0, 2559, 1}, {0, 9, 0},   {0, 499, 1}};
    for (int32_t k = 0; k < 27; ++k) {
        EXPECT_EQ(datCh::FieldMin(k), rows[k].min) << k;
        EXPECT_EQ(datCh::FieldMax(k), rows[k].max) << k;
        EXPECT_EQ(datCh::FieldFlag(k), rows[k].flag) << k;
        EXPECT_EQ(datCh::GetMin(k), rows[k].min) << k;
        EXPECT_EQ(datCh::GetMax(k), rows[k].max) << k;
        // The status messages' tables hold a row beyond the user's.
        EXPECT_EQ(datCh::TableMax(k), k == 18 ? 23 : rows[k].max) << k;
    }
    for (int32_t k : {27, 100, -1}) {
        EXPECT_EQ(datCh::GetMin(k), 0) << k;
        EXPECT_EQ(datCh::GetMax(k), 100000000) << k;
        EXPECT_EQ(datCh::FieldMax(k), 0) << k;
        EXPECT_EQ(datCh::FieldFlag(k), 0) << k;
    }
}

class datChTest : public RecordTest {
protected:
    // A record of the kind's row 0 with its fields as loaded: plenty of non-zero values.
    datCh Filled(int32_t kind) {
        datCh ch(&image);
        ch.Load(kind, kind == 0 || kind == 14 ? 0 : datCh::FieldMin(kind));
        ch.programmed = false;
        ch.isRefA = ch.isRefB = ch.isRefC = ch.siteMark = ch.siteMarkClear = true;
        return ch;
    }
    datCh Cleared(int32_t kind, int32_t n) {
        datCh ch(&image);
        ch.kind = kind;
        ch.index = n;
        return ch;
    }
};

TEST_F(datChTest, ConstructionAndClearGiveAnEmptyProgrammedRecordBoundToItsImage) {
    datCh ch(&image);
    EXPECT_TRUE(ch.programmed);
    EXPECT_EQ(ch.image, &image);
    ch.Load(8, 3);
    ch.Clear();
    EXPECT_EQ(ch, datCh(&image));
    cmcEeprom other;
    ch.Load(8, 3);
    const datCh loaded = ch;
    ch.SetImage(&other);
    EXPECT_EQ(ch.image, &other);
    EXPECT_EQ(ch.scanMode, loaded.scanMode);
    EXPECT_EQ(ch.text24, loaded.text24) << "rebinding leaves the fields alone";
}

// No row index, however wrong, makes a record read or write outside its table.
TEST_F(datChTest, RowsOutsideTheKindDecodeNothingAndAreNotWritten) {
    const cmcEeprom before(image);
    for (int32_t kind = -1; kind <= 27; ++kind) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        std::vector<int32_t> rows = {-1, datCh::TableMax(kind) + 1, INT32_MIN, INT32_MAX};
        if (kind == 0 || kind == 14) rows.push_back(0);
        for (int32_t n : rows) {
            datCh ch = Filled(kind);
            ch.Load(kind, n);
            EXPECT_EQ(ch, Cleared(kind, n)) << n;
            ch = Filled(kind);
            ch.Store(kind, n);
            EXPECT_EQ(ch.index, n);
            EXPECT_TRUE(image.IsEqual(before)) << n;
        }
    }
}

// Row 23 of the MSK status messages lies in their tables, beyond the rows
// the user inserts or deletes: it reads and writes its own 16 + 16 bytes.
TEST_F(datChTest, TheLastStatusMessageRowReadsAndWritesItsOwnBytes) {
    image.SetByte(100496, 'S');
    image.SetByte(100508, 0xE3);
    image.SetByte(100124, 0x01);
    image.SetByte(100512, 0x77);
    datCh ch(&image);
    ch.Load(18, 23);
    EXPECT_EQ(ch.name[0], 'S');
    EXPECT_EQ(ch.msgBeep, 3);
    EXPECT_TRUE(ch.msgAuto);
    EXPECT_TRUE(ch.msgPriority);
    ch.msgBeep = 5;
    ch.name2[0] = 'T';
    ch.Store(18, 23);
    EXPECT_EQ(image.GetByte(100508), 0xE5);
    EXPECT_EQ(image.GetByte(100112), 'T');
    EXPECT_EQ(image.GetByte(100512), 0x77) << "the short texts' flags after the table";
}

TEST_F(datChTest, ChannelRow512IsClearedAndProgrammedAndStoresNothing) {
    const cmcEeprom before(image);
    datCh ch(&image);
    ch.Load(1, 512);
    EXPECT_TRUE(ch.programmed);
    EXPECT_EQ(ch.rxFreq, 0);
    ch.rxFreq = 146000000;
    ch.isRefA = true;
    ch.Store(0, 512);
    EXPECT_TRUE(image.IsEqual(before));
}

TEST_F(datChTest, AnUnboundRecordOrAnImageWithoutTheTablesIsNeitherReadNorWritten) {
    datCh unbound;
    unbound.Load(1, 0);
    datCh cleared;
    cleared.kind = 1;
    EXPECT_EQ(unbound, cleared);
    unbound.rxFreq = 5;
    unbound.Store(1, 0);

    cmcEeprom small;
    small.SetSize(layout::kStaticStart + 100);
    small.Fill(0x5A);
    const cmcEeprom before(small);
    for (int32_t kind = 1; kind < datCh::kKinds; ++kind) {
        datCh ch(&small);
        ch.Load(kind, datCh::FieldMin(kind));
        datCh cleared(&small);
        cleared.kind = kind;
        cleared.index = datCh::FieldMin(kind);
        EXPECT_EQ(ch, cleared) << kind;
        ch.name[0] = 'X';
        ch.Store(kind, datCh::FieldMin(kind));
    }
    EXPECT_TRUE(small.IsEqual(before));
}

TEST_F(datChTest, StoreOfKind0UsesTheRecordsOwnKindAndStoreAndReloadShowsTheImage) {
    datCh ch(&image);
    ch.Load(8, 4);
    ch.scanMode = 0x1A; // wider than its 4 bits
    ch.Store(0, 4);
    EXPECT_EQ(ch.kind, 8);
    EXPECT_EQ(image.GetByte(97238 + 34 * 4 + 24) & 0x0F, 0x0A);
    ch.scanMode = 0x17;
    ch.StoreAndReload();
    EXPECT_EQ(ch.scanMode, 0x07);
    EXPECT_EQ(ch.kind, 8);
    EXPECT_EQ(ch.index, 4);
    image.SetByte(97238 + 34 * 4 + 24, 0x05);
    EXPECT_EQ(ch.Reload().scanMode, 5);
}

TEST_F(datChTest, FrequenciesKeepTheirTopBitAndAreClamped) {
    struct Case {
        uint32_t stored;
        int32_t freq;
        bool top;
    } cases[] = {
        {0x80000000u | 146520000u, 146520000, true},
        {146520000u, 146520000, false},
        {800000000u, datCh::kMaxFreq, false},
        {0xFFFFFFFFu, datCh::kMaxFreq, true},
        {0x80000000u, 0, true},
    };
    for (const Case& c : cases) {
        SetDword(image, S(7, 0), c.stored);
        datCh ch(&image);
        ch.Load(1, 7);
        EXPECT_EQ(ch.rxFreq, c.freq) << std::hex << c.stored;
        EXPECT_EQ(ch.rxFreqTopBit, c.top) << std::hex << c.stored;
        ch.StoreSelf();
        EXPECT_EQ(GetDword(image, S(7, 0)), uint32_t(c.freq) | (c.top ? 0x80000000u : 0))
            << std::hex << c.stored;
    }
    datCh ch(&image);
    ch.Load(4, 7);
    ch.txFreq = -5;
    ch.txFreqTopBit = false;
    ch.rxFreq = 900000000;
    ch.StoreSelf();
    EXPECT_EQ(ch.txFreq, 0) << "the record is clamped too";
    EXPECT_EQ(ch.rxFreq, datCh::kMaxFreq);
    EXPECT_EQ(GetDword(image, S(7, 4)), 0u);

    // Pool entries have no top bit: a negative value is 0.
    const int32_t p = 108366 + 10 * 30;
    SetDword(image, p, 0x80000001u);
    SetDword(image, p + 4, 900000000u);
    ch.Load(24, 30);
    EXPECT_EQ(ch.poolRxFreq, 0);
    EXPECT_EQ(ch.poolTxFreq, datCh::kMaxFreq);
    EXPECT_FALSE(ch.programmed);
    ch.poolRxFreq = 453000000;
    ch.StoreAndReload();
    EXPECT_TRUE(ch.programmed);
    EXPECT_EQ(GetDword(image, p), 453000000u);
    EXPECT_EQ(GetDword(image, p + 4), uint32_t(datCh::kMaxFreq));
}

TEST_F(datChTest, ToneBytesDecodeAsCtcssOrDtcs) {
    struct Case {
        uint8_t t0, t1;
        datTone tone;
    } cases[] = {
        {0x00, 0x0C, {true, false, false, 12, 0}},  {0x80, 0x0C, {false, false, false, 12, 0}},
        {0x41, 0xFF, {true, true, false, 0, 511}},  {0x61, 0x17, {true, true, true, 0, 0x117}},
        {0xE0, 0x17, {false, true, true, 0, 0x17}}, {0x3F, 0x05, {true, false, false, 5, 0}},
    };
    for (const Case& c : cases) {
        image.SetByte(97078, c.t0);
        image.SetByte(97079, c.t1);
        datCh ch(&image);
        ch.Load(9, 0);
        EXPECT_EQ(ch.rxTone, c.tone) << std::hex << int(c.t0) << " " << int(c.t1);
    }
    // Encoding keeps bits 1..4 of the first byte; a CTCSS tone clears the DTCS-only bits 0 and 5.
    struct Enc {
        datTone tone;
        uint8_t t0, t1;
    } encs[] = {
        {{true, true, true, 0, 0x1A5}, 0x7F, 0xA5},
        {{true, false, true, 33, 0x1FF}, 0x1E, 33},
        {{false, false, false, 0, 0}, 0x9E, 0},
        {{false, true, false, 7, 0x0FF}, 0xDE, 0xFF},
    };
    for (const Enc& e : encs) {
        image.SetByte(97078, 0x1F);
        datCh ch(&image);
        ch.Load(9, 0);
        ch.rxTone = e.tone;
        ch.StoreSelf();
        EXPECT_EQ(image.GetByte(97078), e.t0);
        EXPECT_EQ(image.GetByte(97079), e.t1);
    }
}

TEST_F(datChTest, TextPresenceBitsFollowTheTextOnStore) {
    struct Case {
        int32_t kind, row;
        std::array<uint8_t, 12> datCh::*text12;
        std::array<uint8_t, 24> datCh::*text24;
        std::vector<std::pair<int32_t, uint8_t>> bits;
    } cases[] = {
        {1, 9, &datCh::name, nullptr, {{S(9, 12), 0x20}}},
        {5, 9, &datCh::name, nullptr, {{S(9, 12), 0x20}}},
        {10, 2, nullptr, &datCh::text24, {{98560 + 68 + 31, 0x04}}},
        {25, 2, nullptr, &datCh::text24, {{137038 + 88 + 39, 0x04}}},
        {11, 2, &datCh::name, nullptr, {{98112 + 28 + 13, 0x20}}},
        {13, 2, nullptr, &datCh::text24, {{98560 + 68 + 31, 0x04}, {98098 + 28 + 13, 0x20}}},
        {16, 2, &datCh::name, nullptr, {{99000 + 64 + 29, 0x04}}},
        {17, 2, &datCh::name, nullptr, {{99264 + 28 + 13, 0x20}}},
    };
    for (const Case& c : cases) {
        for (bool present : {false, true, false}) {
            SCOPED_TRACE("kind " + std::to_string(c.kind) + (present ? " with text" : " blank"));
            datCh ch(&image);
            ch.Load(c.kind, c.row);
            if (c.text12) (ch.*c.text12).fill(' ');
            if (c.text24) (ch.*c.text24).fill(' ');
            if (present && c.text12) (ch.*c.text12)[11] = 'A';
            if (present && c.text24) (ch.*c.text24)[5] = 'A';
            ch.StoreSelf();
            for (auto [at, mask] : c.bits)
                EXPECT_EQ((image.GetByte(at) & mask) != 0, present) << at;
        }
    }
}

TEST_F(datChTest, ProgrammedAndInUseForBankFollowTheBankKind) {
    // Channel 5 lies in bank 1.
    SetDword(image, S(5, 0), 0);
    image.SetByte(G(5, 0), 17);
    for (bool ltr : {true, false}) {
        SetBankFlagB(image, 1, ltr);
        datCh ch(&image);
        ch.Load(2, 5);
        EXPECT_EQ(ch.ltrBank, ltr);
        EXPECT_TRUE(ch.programmed);
        EXPECT_EQ(ch.inUseForBank, ltr);
    }
    SetBankFlagB(image, 1, true);
    SetDword(image, S(5, 0), 0x80000000u | 150000000u);
    image.SetByte(G(5, 0), 0);
    datCh ch(&image);
    ch.Load(2, 5);
    EXPECT_TRUE(ch.programmed);
    EXPECT_FALSE(ch.inUseForBank) << "an LTR bank counts channels by their receive ID";
    SetDword(image, S(5, 0), 0x80000000u);
    EXPECT_FALSE(ch.Load(2, 5).programmed);
}

TEST_F(datChTest, ReferenceChannelsAreWrittenOnlyWhenSet) {
    image.SetWord(80768, 5);
    image.SetWord(80770, 6);
    image.SetWord(93812, 5);
    image.SetByte(93822, 0x20);
    datCh ch(&image);
    ch.Load(1, 5);
    EXPECT_TRUE(ch.isRefA);
    EXPECT_FALSE(ch.isRefB);
    EXPECT_FALSE(ch.refCOff);
    EXPECT_TRUE(ch.isRefC);
    ch.isRefA = false;
    ch.isRefC = false;
    ch.StoreSelf();
    EXPECT_EQ(image.GetWord(80768), 5) << "a clear flag leaves the number alone";
    EXPECT_EQ(image.GetWord(93812), 5);
    ch.Load(1, 9);
    ch.isRefB = true;
    ch.refCOff = true;
    ch.StoreSelf();
    EXPECT_EQ(image.GetWord(80770), 9);
    EXPECT_EQ(image.GetByte(93822) & 0x20, 0);
    ch.Load(1, 5);
    EXPECT_TRUE(ch.refCOff);
    EXPECT_FALSE(ch.isRefC) << "reference C is off";
}

TEST_F(datChTest, BankBitsOfAChannelOutsideEveryBankAreNeitherReadNorWritten) {
    for (int32_t b = 0; b < layout::kBanks; ++b)
        SetBankChannelCount(image, b, b < 2 ? 3 : 0);
    for (int32_t i = 0; i < 16; ++i)
        image.SetByte(93796 + i, 0xFF);
    const cmcEeprom before(image);
    datCh ch(&image);
    ch.Load(1, 6);
    EXPECT_FALSE(ch.smarTrunkBank);
    ch.smarTrunkBank = false;
    ch.ltrBank = true;
    ch.StoreSelf();
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(image.GetByte(93796 + i), 0xFF);
        EXPECT_EQ(image.GetByte(94188 + i), before.GetByte(94188 + i));
    }
}

TEST_F(datChTest, BankOfChannelCountsRowsFromZero) {
    for (int32_t b = 0; b < layout::kBanks; ++b)
        SetBankChannelCount(image, b, 0);
    SetBankChannelCount(image, 1, 3);
    SetBankChannelCount(image, 3, 5);
    struct Case {
        int32_t row, bank;
    } cases[] = {{0, 1}, {2, 1}, {3, 3}, {7, 3}, {8, 128}, {511, 128}, {-1, 128}};
    datCh ch(&image);
    for (const Case& c : cases)
        EXPECT_EQ(ch.BankOfChannel(c.row), c.bank) << c.row;
    // Without an image of its own a record asks the current image.
    cmcEeprom other;
    other.SetSize(layout::kImageSize);
    SetBankChannelCount(other, 0, 10);
    SetCurrentImage(&other);
    EXPECT_EQ(datCh().BankOfChannel(9), 0);
    EXPECT_EQ(ch.BankOfChannel(9), 128);
}

TEST_F(datChTest, CallListAddressesArePackedDecimal) {
    const int32_t at = 82000 + 4 * 6;
    struct Case {
        std::array<uint8_t, 2> stored;
        int32_t address;
    } loads[] = {{{0x12, 0x34}, 1234}, {{0x12, 0xA4}, 65535}, {{0xFF, 0xFF}, 65535}, {{0x00, 0x00}, 0}};
    for (const Case& c : loads) {
        image.SetByte(at, c.stored[0]);
        image.SetByte(at + 1, c.stored[1]);
        EXPECT_EQ(datCh(&image).Load(17, 6).callListAdr, c.address);
    }
    struct Store {
        int32_t address;
        std::array<uint8_t, 4> bytes;
    } stores[] = {
        {1234, {0x12, 0x34, 0xFF, 0xFF}},
        {56789, {0x67, 0x89, 0xFF, 0xFF}},
        // No digits stay no digits, rather than becoming the address 5535.
        {65535, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Store& s : stores) {
        datCh ch(&image);
        ch.Load(17, 6);
        ch.callListAdr = s.address;
        ch.StoreSelf();
        for (int32_t i = 0; i < 4; ++i)
            EXPECT_EQ(image.GetByte(at + i), s.bytes[i]) << s.address << " " << i;
    }
}

TEST_F(datChTest, TwoToneCodesWriteNameCodeByteAndAnswerFlag) {
    const int32_t n = 4;
    const int32_t t = 98560 + 34 * n, nRec = 98098 + 14 * n;
    datCh ch(&image);
    ch.Load(13, n);
    const char* text = "CODE FOUR AND MORE TEXT!";
    std::memcpy(ch.text24.data(), text, 24);
    ch.ttAns = true;
    ch.ttCodeType = true;
    ch.StoreSelf();
    EXPECT_EQ(std::string(ch.name.begin(), ch.name.end()), "CODE FOUR AN");
    EXPECT_EQ(std::string(image.Data() + nRec, image.Data() + nRec + 12), "CODE FOUR AN");
    EXPECT_EQ(image.GetByte(t + 29), 255);
    EXPECT_EQ(image.GetByte(nRec + 12), 0x33);
    ch.ttAns = false;
    ch.ttCodeType = false;
    ch.StoreSelf();
    EXPECT_EQ(image.GetByte(t + 29), 0);
    EXPECT_EQ(image.GetByte(nRec + 12), 0x3F);
    EXPECT_FALSE(ch.Reload().ttCodeType);

    struct Case {
        double value;
        int32_t word;
    } cases[] = {{1234.9, 1234},
                 {-5, 0},
                 {70000, 65535},
                 {std::numeric_limits<double>::quiet_NaN(), 0},
                 {std::numeric_limits<double>::infinity(), 65535}};
    for (const Case& c : cases) {
        ch.Load(13, n);
        ch.ttTx1Freq = c.value;
        ch.ttPeriod2 = c.value;
        ch.StoreSelf();
        EXPECT_EQ(image.GetWord(81868 + 4 * n), c.word) << c.value;
        EXPECT_EQ(image.GetByte(95512 + 2 * n + 1), std::min(c.word, 255)) << c.value;
        EXPECT_EQ(ch.Reload().ttTx1Freq, c.word);
    }
}

TEST_F(datChTest, FiveToneEntriesShowTheSharedByteButNeverWriteIt) {
    image.SetByte(93817, 0xA7);
    for (int32_t kind : {10, 11}) {
        datCh ch(&image);
        ch.Load(kind, 1);
        EXPECT_EQ(ch.globalByte, 0xA7);
        ch.globalByte = 3;
        ch.StoreSelf();
        EXPECT_EQ(image.GetByte(93817), 0xA7);
    }
    image.SetByte(98112 + 14 + 13, 0x00);
    EXPECT_TRUE(datCh(&image).Load(11, 1).sel) << "sel is set while its bit is clear";
}

// The pool records keep the mark of the open site's marked entry in that site's group record.
class datChSiteTest : public RecordTest {
protected:
    datChSiteTest() {
        sched.Install();
        bus = std::make_unique<cmcEvMan>();
        gEvMan = bus.get();
        bus->AddListener(&Answer, this);
    }
    ~datChSiteTest() override {
        gEvMan = nullptr;
        bus.reset();
        sched.Advance(1);
    }
    static void Answer(void* user, const cmcEvent& ev) {
        if (ev.type == evQuerySite) gEvMan->Answer(static_cast<datChSiteTest*>(user)->site, 0);
    }

    static constexpr int32_t kGroup1 = 107342 + 8; // site 1 holds entries 20..39
    intptr_t site = 1;
    plat::ManualScheduler sched;
    std::unique_ptr<cmcEvMan> bus;
};

TEST_F(datChSiteTest, TheMarkedEntryIsKnownByItsPositionInTheOpenSite) {
    image.SetByte(kGroup1, 0x80);
    image.SetByte(kGroup1 + 7, 3);
    datCh ch(&image);
    ch.Load(24, 22);
    EXPECT_TRUE(ch.siteMark);
    EXPECT_TRUE(ch.areaBit);
    EXPECT_EQ(ch.siteMarkPos, 3);
    EXPECT_FALSE(ch.siteMarkClear);
    EXPECT_FALSE(ch.Load(24, 21).siteMark);

    ch.Load(24, 25);
    ch.siteMark = true;
    ch.StoreSelf();
    EXPECT_EQ(image.GetByte(kGroup1 + 7), 6);
    ch.siteMark = false;
    ch.StoreSelf();
    EXPECT_EQ(image.GetByte(kGroup1 + 7), 6) << "neither flag leaves the mark alone";
    ch.siteMarkClear = true;
    ch.siteMark = true;
    ch.StoreSelf();
    EXPECT_EQ(image.GetByte(kGroup1 + 7), 0);
}

TEST_F(datChSiteTest, NoMarkMarksNoEntryAndAMarkOutsideTheSiteIsNotWritten) {
    image.SetByte(kGroup1 + 7, 0);
    datCh ch(&image);
    EXPECT_FALSE(ch.Load(24, 19).siteMark) << "the entry before the site is not at position 0";
    image.SetByte(kGroup1 + 7, 4);
    ch.Load(24, 5);
    ch.siteMark = true;
    ch.StoreSelf();
    EXPECT_EQ(image.GetByte(kGroup1 + 7), 4);
}

TEST_F(datChSiteTest, AnAnswerThatNamesNoSiteLeavesTheGroupRecordsAlone) {
    site = 200;
    datCh ch(&image);
    ch.Load(24, 22).StoreSelf(); // the pool entry's own frequencies come back clamped
    ch.Load(24, 22);
    EXPECT_FALSE(ch.areaBit);
    EXPECT_FALSE(ch.siteMark);
    const cmcEeprom before(image);
    ch.siteMarkClear = true;
    ch.StoreSelf();
    EXPECT_EQ(Diff(before, image), BitMap{});
}

// Counting programmed channels decodes them as the current model's class.
class UsedChannelsTest : public RecordTest {
protected:
    UsedChannelsTest() {
        for (int32_t n = 0; n < layout::kChannelRows; ++n) {
            SetDword(image, S(n, 0), 0);
            image.SetByte(G(n, 0), 0);
        }
        for (int32_t i = 0; i < 16; ++i)
            image.SetByte(94188 + i, 0);
    }

    testimage::ScopedModel ltrMobile{6}; // channels of kind 2
};

TEST_F(UsedChannelsTest, CountsAndLastUsedPerBank) {
    // Bank 2 holds rows 8..11.
    SetDword(image, S(8, 0), 150000000);
    SetDword(image, S(10, 0), 150000000);
    image.SetByte(G(20, 0), 4); // bank 5: programmed by its receive ID alone
    EXPECT_EQ(CountBankUsedChannels(2), 2);
    EXPECT_EQ(LastUsedInBank(2), 3);
    EXPECT_EQ(CountBankUsedChannels(5), 1);
    EXPECT_EQ(LastUsedInBank(5), 1);
    EXPECT_EQ(CountBankUsedChannels(3), 0);
    EXPECT_EQ(LastUsedInBank(3), 0);
    EXPECT_EQ(CountBankUsedChannels(128), 0);
    EXPECT_EQ(CountAllUsedChannels(), 3);
}

TEST_F(UsedChannelsTest, CountsThatPassTheTableStopAtItsEnd) {
    SetBankChannelCount(image, 0, 600);
    SetBankChannelCount(image, 1, 65535);
    SetDword(image, S(511, 0), 150000000);
    EXPECT_EQ(CountBankUsedChannels(0), 1);
    EXPECT_EQ(LastUsedInBank(0), 512);
    EXPECT_EQ(CountBankUsedChannels(1), 0);
    EXPECT_EQ(CountAllUsedChannels(), 1);
}

} // namespace
