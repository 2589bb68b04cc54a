// The bank overview, LTR bank and row-number cells, run through
// indActiveCell::Execute on the model's start-up data and the shipped overlay.
#include "CellHarness.h"
#include "cells/CellFrame.h"
#include "cells/LayoutCache.h"
#include "cells/cmcFCache.h"
#include "foundation/ModelClass.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/DynamicCapacity.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/RecordLayout.h"
#include "image/datCh.h"
#include "tests/image/StartupData.h"
#include "tests/support/ParamNames.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kCatBank = 13;
constexpr int32_t kBankCount = 105;
constexpr int32_t kGroupRecords = 107342;

struct Outcome {
    int32_t result = 0;
    int32_t flags = -1;
    std::string text;
    bool grey = false;
    bool error = false;
};

// The cell harness on the model's start-up data: its reference image is the
// start-up data and its working image starts as a copy, with empty banks and
// no reference channel. No sheet is open.
class BankCellsTest : public ::testing::Test {
protected:
    BankCellsTest() { UseModel(0); }

    void UseModel(int32_t modelIndex) {
        h.reset();
        h = std::make_unique<celltest::CellHarness>(modelIndex);
        Reference() = StartupData(modelIndex);
        Image() = Reference();
        for (int32_t b = 0; b < layout::kBanks; ++b)
            SetBankChannelCount(Image(), b, 0);
        Image().SetWord(layout::kRefAChannel, 0xFFFF);
        Image().SetWord(layout::kRefBChannel, 0xFFFF);
        Image().SetWord(layout::kRefCChannel, 0xFFFF);
        ASSERT_EQ(Static2DynamicInit(Image()), 0);
    }

    // Each model's start-up data is read once for all tests.
    static const cmcEeprom& StartupData(int32_t modelIndex) {
        static std::map<int32_t, cmcEeprom> loaded;
        auto [it, added] = loaded.try_emplace(modelIndex);
        if (added) {
            EXPECT_EQ(testimage::LoadCloneFile(testimage::StartupFilePath(*gGTex, modelIndex), it->second),
                      cmcIcfFile::kOk);
            Dynamic2Static(it->second);
        }
        return it->second;
    }

    cmcEeprom& Image() { return h->Image(); }
    cmcEeprom& Reference() { return h->app.ReferenceImage(); }
    plat::ScriptedMessageBox& Boxes() { return h->boxes; }
    std::string Text(const char* key) { return gGTex->GetText(key); }

    static int32_t Freq(char c) { return 150000000 + 12500 * (c - 'a' + 1); }

    // One text a bank: a letter is a channel programmed with that letter's
    // frequency, '-' an empty row as the reference image holds it.
    void SetBanks(const std::vector<std::string>& banks) {
        datCh ch(&Image());
        int32_t row = 0;
        for (size_t b = 0; b < banks.size(); ++b) {
            SetBankChannelCount(Image(), static_cast<int32_t>(b), static_cast<int32_t>(banks[b].size()));
            for (char c : banks[b]) {
                ch.Load(GetModelClass(), row);
                ch.rxFreq = ch.txFreq = c == '-' ? 0 : Freq(c);
                ch.Store(GetModelClass(), row);
                ++row;
            }
        }
        ASSERT_EQ(Static2DynamicInit(Image()), 0);
    }

    // The banks up to the last that holds rows, in SetBanks' letters; '=' is an
    // empty row that differs from the reference image's row, '?' a row
    // programmed with no letter's frequency.
    std::vector<std::string> Banks() {
        std::vector<std::string> banks;
        datCh ch(&Image());
        datCh ref(&Reference());
        int32_t row = 0;
        for (int32_t b = 0; b < layout::kBanks && row < GetTotalBankChannels(Image()); ++b) {
            std::string text;
            for (int32_t i = 0; i < GetBankChannelCount(Image(), b); ++i, ++row) {
                ch.Load(GetModelClass(), row);
                if (!ch.programmed) {
                    ref.Load(GetModelClass(), row);
                    text +=
                        ch.rxFreq == ref.rxFreq && ch.txFreq == ref.txFreq && ch.name == ref.name ? '-' : '=';
                    continue;
                }
                const char letter = static_cast<char>('a' - 1 + (ch.rxFreq - 150000000) / 12500);
                text += ch.rxFreq == Freq(letter) ? letter : '?';
            }
            banks.push_back(text);
        }
        return banks;
    }

    static Outcome Of(const celltest::Outcome& o) {
        return {o.result, o.flags, o.text,
                o.request.canvas && o.request.canvas->FontColor() == CellFrame::kGrey,
                o.request.markFlags.error};
    }
    Outcome Display(int32_t cellId, int32_t index, int32_t category = kCatBank) {
        return Of(h->Display({category, cellId, index}));
    }
    Outcome Key(int32_t cellId, int32_t index, int32_t key) {
        return Of(h->Key({kCatBank, cellId, index}, key));
    }
    Outcome Commit(int32_t cellId, int32_t index, const std::string& text) {
        return Of(h->Commit({kCatBank, cellId, index}, text));
    }
    Outcome Pick(int32_t cellId, int32_t index, int32_t value) {
        return Of(h->Pick({kCatBank, cellId, index}, 1 /* Flex0 */, value));
    }

    struct Heard {
        int32_t type;
        intptr_t p2;
        std::string text;
        bool operator==(const Heard&) const = default;
    };
    std::vector<Heard> Events() {
        std::vector<Heard> heard;
        for (const cmcEvent& ev : h->Events())
            heard.push_back({ev.type, ev.p2, ev.Text()});
        return heard;
    }

    std::unique_ptr<celltest::CellHarness> h;
};

// ---- the channel count of a bank ----

struct CountCase {
    const char* name;
    std::vector<std::string> before;
    int32_t bank;
    const char* typed; // null: the key
    int32_t key;
    std::vector<std::string> after;
    const char* box; // the message the edit shows, or null
};

const CountCase kCountCases[] = {
    {"grow a middle bank", {"ab", "c", "de"}, 1, "3", 0, {"ab", "c--", "de"}, nullptr},
    {"grow the first bank", {"ab", "c", "de"}, 0, "4", 0, {"ab--", "c", "de"}, nullptr},
    {"grow an empty bank", {"", "c"}, 0, "1", 0, {"-", "c"}, nullptr},
    {"shrink over empty rows", {"a--", "c-", "de"}, 0, "1", 0, {"a", "c-", "de"}, nullptr},
    {"space adds a row", {"ab", "c", "d"}, 1, nullptr, ' ', {"ab", "c-", "d"}, nullptr},
    {"backspace removes an empty row", {"ab", "c-", "d"}, 1, nullptr, 8, {"ab", "c", "d"}, nullptr},
    {"backspace stops at a programmed row", {"ab", "c", "d"}, 1, nullptr, 8, {"ab", "c", "d"}, nullptr},
    {"a typed count equal to the count", {"ab", "c"}, 0, "2", 0, {"ab", "c"}, nullptr},
    {"a text without digits", {"ab", "c"}, 0, "x", 0, {"ab", "c"}, nullptr},
    {"shrink past a programmed row", {"a-b--", "c"}, 0, "1", 0, {"a-b", "c"}, "GI_AppMess_ChErr_NotBlank"},
    {"shrink below no rows", {"a--", "c"}, 0, "-2", 0, {"a", "c"}, "GI_AppMess_ChErr_NoCh"},
};

class BankCountTest : public BankCellsTest, public ::testing::WithParamInterface<int32_t> {};

// Every model class keeps its channels in its own record kind; the later
// banks' channels move with the rows a bank gains or loses.
TEST_P(BankCountTest, GrowingAndShrinkingABankMovesTheLaterBanks) {
    UseModel(GetParam());
    for (const CountCase& c : kCountCases) {
        SCOPED_TRACE(c.name);
        UseModel(GetParam());
        SetBanks(c.before);
        if (c.box) Boxes().Expect(Text(c.box), 1);
        const Outcome out = c.typed ? Commit(kBankCount, c.bank, c.typed) : Key(kBankCount, c.bank, c.key);
        EXPECT_TRUE(Boxes().Done());
        EXPECT_EQ(Banks(), c.after);
        EXPECT_EQ(out.text, std::to_string(c.after[static_cast<size_t>(c.bank)].size()));
        const bool moved = c.after != c.before;
        EXPECT_EQ((out.flags & CellFrame::kFlagRowCounts) != 0, moved);
        if (c.box) {
            EXPECT_EQ(Boxes().Log().back().caption, Text("GI_Sys_AppTitle"));
            EXPECT_EQ(Boxes().Log().back().flags, plat::MB_OK | plat::MB_ICONERROR);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryModel, BankCountTest, ::testing::Range(0, 10), testsupport::ModelParamName());

// A step past either end of what the bank can become changes nothing: no row
// is inserted or removed, and the count stays.
TEST_F(BankCellsTest, AStepPastTheEndOfTheRangeChangesNothing) {
    SetBanks({"ab", "c", std::string(509, '-')});
    const std::vector<std::string> full = Banks();
    const std::vector<uint8_t> before(Image().Data(), Image().Data() + Image().GetSize());
    for (int32_t key : {int32_t(' '), int32_t(8)}) {
        SCOPED_TRACE(key);
        const Outcome out = Key(kBankCount, 1, key);
        EXPECT_EQ(out.text, "1");
        EXPECT_EQ(Banks(), full);
        EXPECT_EQ(out.flags & CellFrame::kFlagRowCounts, 0);
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Image().Data()));
}

TEST_F(BankCellsTest, NewRowsTakeTheReferenceRowsAndReferencesFollowTheirChannels) {
    SetBanks({"a", "bc"});
    datCh ref(&Reference());
    ref.Load(GetModelClass(), 1);
    ref.name = {'R', 'E', 'F', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    ref.Store(GetModelClass(), 1);
    Image().SetWord(layout::kRefAChannel, 2); // channel c
    Commit(kBankCount, 0, "2");
    EXPECT_EQ(Banks(), (std::vector<std::string>{"a-", "bc"}));
    datCh ch(&Image());
    EXPECT_EQ(ch.Load(GetModelClass(), 1).name, ref.name);
    EXPECT_EQ(Image().GetWord(layout::kRefAChannel), 3);
    EXPECT_TRUE(ch.Load(GetModelClass(), 3).isRefA);

    // A row a reference channel names is not given up.
    Image().SetWord(layout::kRefAChannel, 1);
    Boxes().Expect(Text("GI_AppMess_ChErr_NotBlank"), 1);
    Commit(kBankCount, 0, "1");
    EXPECT_TRUE(Boxes().Done());
    EXPECT_EQ(Banks(), (std::vector<std::string>{"a-", "bc"}));
}

TEST_F(BankCellsTest, GrowingPastWhatFitsShowsTheOverflowAndAddsWhatFits) {
    const std::string empties(490, '-');
    SetBanks({"ab", "c", "d" + empties});
    const int32_t room = std::max(MaxFittingCount(Image(), kCategoryChannel, 18, 1), 0);
    ASSERT_GT(room, 0);
    Boxes().Expect(Text("GI_AppMess_ChErr_Overflow"), 1);
    EXPECT_EQ(Commit(kBankCount, 1, "600").text, std::to_string(1 + room));
    EXPECT_TRUE(Boxes().Done());
    EXPECT_EQ(Banks(), (std::vector<std::string>{"ab", "c" + std::string(static_cast<size_t>(room), '-'),
                                                 "d" + empties}));
}

// The capacity test reads the header that packing keeps; an evaluation of a
// bank leaves it up to date.
TEST_F(BankCellsTest, AFullDynamicAreaRefusesMoreRowsAndCountsAsNoRoom) {
    SetBanks({"ab", "c"});
    Image().SetWord(272, 0xFF7F);
    Image().SetWord(274, 0xFF7F);
    ASSERT_EQ(MaxFittingCount(Image(), kCategoryChannel, 509, 129), -1);
    EXPECT_EQ(Display(kBankCount, 129).text, "0");
    EXPECT_EQ(Display(107, 129).text, "0");

    Boxes().Expect(Text("GI_AppMess_ChErr_Overflow"), 1);
    EXPECT_EQ(Commit(kBankCount, 1, "2").text, "1");
    EXPECT_TRUE(Boxes().Done());
    EXPECT_EQ(Banks(), (std::vector<std::string>{"ab", "c"}));
    EXPECT_NE(Image().GetWord(272), 0xFF7F) << "repacked";
    EXPECT_EQ(Display(kBankCount, 129).text, std::to_string(MaxFittingCount(Image(), 2, 509, 129)));
}

TEST_F(BankCellsTest, CountsOfAllBanks) {
    SetBanks({"ab-", "", "c--"});
    EXPECT_EQ(Display(kBankCount, 0).text, "3");
    EXPECT_EQ(Display(kBankCount, 1).text, "0");
    EXPECT_EQ(Display(kBankCount, 128).text, "6");
    const int32_t room = MaxFittingCount(Image(), 2, 506, 129);
    ASSERT_GT(room, 0);
    EXPECT_EQ(Display(kBankCount, 129).text, std::to_string(room));

    EXPECT_EQ(Display(107, 0).text, "2");
    EXPECT_EQ(Display(107, 2).text, "1");
    EXPECT_EQ(Display(107, 128).text, "3");
    EXPECT_EQ(Display(107, 129).text, std::to_string(room + 6 - 3));

    EXPECT_EQ(Display(100, 0).text, "3");
    EXPECT_EQ(Display(101, 0).text, "509");
    EXPECT_EQ(Display(98, 0).text, "Non");
}

// ---- the bank overview ----

TEST_F(BankCellsTest, BankModeAndUsedQuantity) {
    SetBanks({"ab-"});
    EXPECT_EQ(Display(97, 0).text, "Free");
    EXPECT_EQ(Display(99, 0).text, "---");
    SetBanks({"ab-", "c"});
    EXPECT_EQ(Display(97, 0).text, "Bank");
    EXPECT_EQ(Display(99, 0).text, "2");
    EXPECT_EQ(Display(99, 1).text, "1");
    EXPECT_EQ(Display(99, 5).text, "0");

    // The mode follows from the counts; a pick only has every view rebuilt.
    Events();
    const Outcome out = Pick(97, 0, 0);
    EXPECT_EQ(out.flags & CellFrame::kFlagRebuildAll, CellFrame::kFlagRebuildAll);
    EXPECT_EQ(Events(), (std::vector<Heard>{{evDataReloaded, 0, ""}}));
    EXPECT_EQ(Display(97, 0).text, "Bank");
}

TEST_F(BankCellsTest, BankNameAndFlags) {
    Events();
    Commit(102, 4, "Fire");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Image().Data()) + 95542 + 12 * 4, 12),
              "Fire        ");
    EXPECT_EQ(Events(), (std::vector<Heard>{{evSetBankNodeText, 4, "5: Fire        "}}));
    // Drawn in the radio's characters on a canvas; as text elsewhere.
    EXPECT_EQ(h->Run({kCatBank, 102, 4}, [](cmcCellCapsule& r) { r.canvas = nullptr; }).text, "Fire");

    EXPECT_EQ(Display(103, 3).text, "Off");
    Pick(103, 3, 1);
    EXPECT_TRUE(IsSmarTrunkBank(Image(), 3));
    EXPECT_EQ(Events(), (std::vector<Heard>{{evRebuildTree, 0, ""}}));
    Key(104, 5, ' ');
    EXPECT_TRUE(IsBankFlagB(Image(), 5));
    EXPECT_EQ(Display(104, 5).text, "On");
    EXPECT_EQ(Events(), (std::vector<Heard>{{evRebuildTree, 0, ""}}));

    for (int32_t id : {103, 104}) {
        const Outcome all = Key(id, 128, ' ');
        EXPECT_EQ(all.text, "----");
        EXPECT_TRUE(all.grey);
    }
    EXPECT_TRUE(Events().empty());
}

// ---- LTR banks ----

struct LtrCase {
    int32_t cellId;
    int32_t byte;  // of the site record, or the ATB ring-back byte
    uint8_t mask;  // the bits the cell owns
    uint8_t value; // the bits set before
    const char* shown;
    bool commit;       // else a pick
    const char* typed; // commit text
    int32_t pick;
    uint8_t stored;
};

const LtrCase kLtrCases[] = {
    {108, 0, 0x40, 0x40, "Enabled", false, nullptr, 0, 0x00},
    {109, 2, 0xFF, 7, "7", true, "250", 0, 250},
    {109, 2, 0xFF, 7, "7", true, "0", 0, 1},
    {110, 3, 0xFF, 250, "250", true, "251", 0, 250},
    {112, 4, 0xFF, 0, "0", true, "42", 0, 42},
    {113, 0, 0x10, 0x00, "Off", false, nullptr, 1, 0x10},
    {114, 0, 0x08, 0x08, "On", false, nullptr, 0, 0x00},
    {115, 0, 0x04, 0x00, "Off", false, nullptr, 1, 0x04},
    {117, 1, 0x20, 0x20, "ON", false, nullptr, 0, 0x00},
    {118, 1, 0x40, 0x00, "OFF", false, nullptr, 1, 0x40},
    {119, 0, 0x02, 0x00, "Off", false, nullptr, 1, 0x02},
};

TEST_F(BankCellsTest, LtrSettingsOfAnLtrBank) {
    constexpr int32_t bank = 6;
    const int32_t site = kGroupRecords + 8 * bank;
    SetBankFlagB(Image(), bank, 1);
    for (const LtrCase& c : kLtrCases) {
        SCOPED_TRACE(c.cellId);
        const int32_t at = site + c.byte;
        Image().SetByte(at, static_cast<uint8_t>(~c.mask | c.value));
        EXPECT_EQ(Display(c.cellId, bank).text, c.shown);
        if (c.commit)
            Commit(c.cellId, bank, c.typed);
        else
            Pick(c.cellId, bank, c.pick);
        EXPECT_EQ(Image().GetByte(at), static_cast<uint8_t>(~c.mask | c.stored)) << "other bits kept";
    }
}

// Priority decode spans two bytes: R0 bit 5 is its low bit, R1 bit 7 its high bit.
TEST_F(BankCellsTest, PriorityDecodeAndRingBack) {
    constexpr int32_t bank = 2;
    const int32_t site = kGroupRecords + 8 * bank;
    SetBankFlagB(Image(), bank, 1);
    const char* names[] = {"Off", "Priority", "Phone", "Priority+Phone"};
    for (int32_t v = 0; v < 4; ++v) {
        SCOPED_TRACE(v);
        Image().SetByte(site, 0xDF);
        Image().SetByte(site + 1, 0x7F);
        Pick(111, bank, v);
        EXPECT_EQ(Image().GetByte(site), 0xDF | (v & 1 ? 0x20 : 0));
        EXPECT_EQ(Image().GetByte(site + 1), 0x7F | (v & 2 ? 0x80 : 0));
        EXPECT_EQ(Display(111, bank).text, names[v]);
    }

    Image().SetByte(107338, 0xFE);
    EXPECT_EQ(Display(116, bank).text, "OFF");
    Pick(116, bank, 1);
    EXPECT_EQ(Image().GetByte(107338), 0xFF);
}

TEST_F(BankCellsTest, LtrSettingsOfAnyOtherBankAreDashesAndEditNothing) {
    const std::vector<uint8_t> before(Image().Data(), Image().Data() + Image().GetSize());
    for (int32_t id = 106; id <= 119; ++id) {
        if (id == 107) continue; // the used channels of any bank
        SCOPED_TRACE(id);
        for (int32_t index : {3, 128}) {
            const Outcome shown = Display(id, index);
            EXPECT_EQ(shown.text, "---");
            EXPECT_TRUE(shown.grey);
            EXPECT_FALSE(shown.error);
            Key(id, index, ' ');
            Commit(id, index, "5");
            Pick(id, index, 1);
        }
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), Image().Data()));
}

TEST_F(BankCellsTest, HomeRepeaterOfAnLtrBank) {
    constexpr int32_t bank = 9;
    const int32_t r7 = kGroupRecords + 8 * bank + 7;
    SetBankFlagB(Image(), bank, 1);
    struct {
        uint8_t home;
        int32_t entries;
        const char* shown;
        bool error;
    } cases[] = {
        {0, 2, "", true}, {5, 2, " 5", false}, {20, 1, "20", false}, {21, 3, "", true}, {5, 0, " 5", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.home));
        Image().SetByte(r7, c.home);
        SetSiteChannelCount(Image(), bank, c.entries);
        const Outcome out = Display(106, bank);
        EXPECT_EQ(out.text, c.shown);
        EXPECT_EQ(out.error, c.error);
        EXPECT_FALSE(out.grey);
    }
    Key(106, bank, 13);
    EXPECT_EQ(h->app.Count("OpenRepeaterSettings"), 1);
    Key(106, 3, 13);
    EXPECT_EQ(h->app.Count("OpenRepeaterSettings"), 1) << "not an LTR bank";
}

// ---- row numbers and drawing ----

TEST_F(BankCellsTest, RowNumbersAndThePillar) {
    EXPECT_EQ(Display(121, 41, 0).text, "41");
    EXPECT_EQ(Display(122, 41, 0).text, "42");
    EXPECT_EQ(Display(122, 0, 0).text, "1");

    const CellRect rect{10, 20, 50, 41};
    h->Run({0, 123, 0}, [&](cmcCellCapsule& r) { r.cellRect = &rect; });
    const std::vector<convtest::RecordingCanvas::Fill>& fills = h->canvas->fills;
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].left, 10);
    EXPECT_EQ(fills[0].top, 41 - 21 * 3 / 10);
    EXPECT_EQ(fills[0].right, 50);
    EXPECT_EQ(fills[0].bottom, 41);
    EXPECT_EQ(fills[0].color, 0x808080u);
    h->Display({0, 123, 0});
    EXPECT_EQ(fills.size(), 1u) << "nothing to fill without a rectangle";
}

} // namespace
