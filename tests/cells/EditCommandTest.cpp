// The row commands of the channel and repeater sheets over the start-up data,
// with a stand-in main window carrying out the insert and delete events.
#include "cells/EditCommand.h"
#include "cells/cmcCellCapsule.h"
#include "image/DynamicCapacity.h"
#include "image/datClipCh.h"
#include "tests/image/RowEditFixture.h"
#include "tests/support/ParamNames.h"
#include "tests/support/RecordingAppManager.h"

#include <optional>

namespace {

using testsupport::PrintTo;

using rowtest::Heard;

// The LMR channels' kind and the repeater pool's.
constexpr int32_t kCh = 1;

class EditCommandTest : public rowtest::RowEditFixture {
protected:
    explicit EditCommandTest(int32_t modelIndex = 0) : RowEditFixture(modelIndex) {
        SetProgramClipboard(&clip);
    }
    ~EditCommandTest() override { SetProgramClipboard(nullptr); }

    // Runs the command on the rows of the bank (site) with the current row
    // and, when given, a selection; posted events have arrived afterwards.
    cmcCellCapsule Run(RowCommand command, int32_t kind, int32_t current, int32_t unit, int32_t selFirst = -1,
                       int32_t selLast = -1) {
        cmcCellCapsule request;
        if (selFirst >= 0) {
            request.rangeSelected = true;
            request.rangeFirst = selFirst;
            request.rangeLast = selLast;
        }
        const bool pool = kind == kindRepeaterPool;
        const int32_t first = pool ? GetSiteFirstChannel(image, unit) : GetBankFirstChannel(image, unit);
        const int32_t last = pool ? GetSiteLastChannel(image, unit) : GetBankLastChannel(image, unit);
        datCh record(&image);
        record.Load(kind, current);
        heard.clear();
        datCh& answer = EditCommand(command, request, record, first, last, unit);
        EXPECT_EQ(&answer, &record);
        EXPECT_EQ(answer.index, current);
        sched.Advance(10);
        EXPECT_FALSE(rowDeleteInProgress);
        EXPECT_TRUE(boxes.Done()) << "a box the test expected was not shown";
        return request;
    }

    // The status line's texts, in the order they came.
    std::vector<std::string> Statuses() {
        std::vector<std::string> texts_;
        for (const Heard& h : heard) {
            if (h.type != evStatusText) continue;
            EXPECT_EQ(h.p1, 0x80000008);
            EXPECT_EQ(h.p2, 0x8000000F);
            texts_.push_back(h.text);
        }
        return texts_;
    }
    std::vector<std::string> Status(const char* key) { return {texts.GetText(key)}; }
    int Count(int32_t type, std::optional<intptr_t> p2 = std::nullopt) {
        return static_cast<int>(std::count_if(heard.begin(), heard.end(), [&](const Heard& h) {
            return h.type == type && (!p2 || h.p2 == *p2);
        }));
    }

    // The eight channels by the row they came from (their frequency's row), 0 for an empty row.
    std::vector<int32_t> Order(std::initializer_list<int32_t> rows) {
        std::vector<int32_t> f;
        for (int32_t r : rows)
            f.push_back(r < 0 ? 0 : Freq(r));
        return f;
    }

    datClipCh clip;
    RecordingAppManager manager;
    ScopedAppManager useManager{&manager};
};

TEST_F(EditCommandTest, ShippedOverlayHoldsEveryKeyTheCommandsRead) {
    for (const char* key : kRowEditKeys) {
        const std::optional<std::string> line = texts.TryGetTextLine(key, 0);
        ASSERT_TRUE(line.has_value()) << key;
        EXPECT_FALSE(line->empty()) << key;
        EXPECT_FALSE(line->starts_with('#')) << key;
    }
}

// Bank 0's rows pasted over bank 3's: as many as fit, the destination's
// reference channel C stays where it was.
TEST_F(EditCommandTest, CopyAndPasteAcrossBanks) {
    cmcCellCapsule copied = Run(RowCommand::Copy, kKind, 0, 0, 0, 2);
    EXPECT_TRUE(copied.rangeRequest);
    EXPECT_EQ(copied.rangeFirst, 0);
    EXPECT_EQ(copied.rangeLast, 2);
    EXPECT_EQ(clip.Count(), 3);
    EXPECT_EQ(Statuses(), Status("GI_AppMess_S_Copy"));

    const cmcEeprom before = image;
    boxes.Expect("already hold data", plat::IDCANCEL);
    Run(RowCommand::Paste, kKind, 6, 3);
    EXPECT_TRUE(image.IsEqual(before));
    EXPECT_EQ(Statuses(), std::vector<std::string>{});

    boxes.Expect("already hold data", plat::IDOK);
    cmcCellCapsule pasted = Run(RowCommand::Paste, kKind, 6, 3);
    EXPECT_EQ(Channels(0, 8), Order({0, 1, 2, 3, 4, 5, 0, 1, -1}));
    EXPECT_EQ(image.GetWord(layout::kRefAChannel), 1);
    EXPECT_EQ(image.GetWord(layout::kRefCChannel), 6);
    EXPECT_EQ(GetBankChannelCount(image, 3), 2);
    EXPECT_TRUE(pasted.rangeRequest);
    EXPECT_EQ(pasted.rangeFirst, 6);
    EXPECT_EQ(pasted.rangeLast, 7);
    EXPECT_EQ(Count(evRedrawSheet), 1);
    EXPECT_EQ(Statuses(), Status("GI_AppMess_S_Paste"));

    // One row into the SmarTrunk bank: the bank keeps its bit, the row is redrawn.
    Run(RowCommand::Copy, kKind, 5, 2);
    boxes.Expect("already hold data", plat::IDOK);
    Run(RowCommand::Paste, kKind, 3, 1);
    EXPECT_EQ(RxFreq(3), Freq(5));
    EXPECT_TRUE(IsSmarTrunkBank(image, 1));
    EXPECT_FALSE(IsSmarTrunkBank(image, 2));
    EXPECT_EQ(Count(evRedrawRow, 3), 1);
}

TEST_F(EditCommandTest, CopyOutsideTheSheetsRowsAndPasteOfAnotherKindDoNothing) {
    Run(RowCommand::Copy, kKind, 6, 0); // row 6 is not bank 0's
    EXPECT_EQ(clip.Kind(), 0);
    EXPECT_EQ(Statuses(), std::vector<std::string>{});
    Run(RowCommand::Copy, kindRepeaterPool, 0, 0);
    const cmcEeprom before = image;
    Run(RowCommand::Paste, kKind, 0, 0);
    EXPECT_TRUE(image.IsEqual(before));
}

struct MoveCase {
    const char* name;
    RowCommand command;
    int32_t current, selFirst, selLast, bank;
    std::vector<int32_t> order; // rows 0..7 afterwards, by where they came from
    bool moved;
    int32_t rangeFirst, rangeLast, jumpIndex;
};

class MoveCommand : public EditCommandTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveCommand, MovesInsideTheBankAndEveryReferenceFollows) {
    const MoveCase& c = GetParam();
    const std::vector<rowtest::Named> before = References();
    const cmcCellCapsule request = Run(c.command, kKind, c.current, c.bank, c.selFirst, c.selLast);
    std::vector<int32_t> expected;
    for (int32_t r : c.order)
        expected.push_back(Freq(r));
    EXPECT_EQ(Channels(0, 7), expected);
    ExpectReferencesFollow(before);
    EXPECT_EQ(request.rangeRequest, c.moved);
    EXPECT_EQ(request.jumpRequest, c.moved ? 1 : 0);
    if (c.moved) {
        EXPECT_EQ(request.rangeFirst, c.rangeFirst);
        EXPECT_EQ(request.rangeLast, c.rangeLast);
        EXPECT_EQ(request.jumpIndex, c.jumpIndex);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, MoveCommand,
    ::testing::Values(
        MoveCase{"BlockDown", RowCommand::MoveDown, 0, 0, 1, 0, {2, 0, 1, 3, 4, 5, 6, 7}, true, 1, 2, 2},
        MoveCase{"LastRowUp", RowCommand::MoveUp, 2, -1, -1, 0, {0, 2, 1, 3, 4, 5, 6, 7}, true, 1, 1, 1},
        MoveCase{
            "ReferenceBDown", RowCommand::MoveDown, 3, -1, -1, 1, {0, 1, 2, 4, 3, 5, 6, 7}, true, 4, 4, 4},
        MoveCase{"ReferenceCDownInLastBank",
                 RowCommand::MoveDown,
                 6,
                 -1,
                 -1,
                 3,
                 {0, 1, 2, 3, 4, 5, 7, 6},
                 true,
                 7,
                 7,
                 7},
        MoveCase{"DownAtTheBanksEnd",
                 RowCommand::MoveDown,
                 2,
                 -1,
                 -1,
                 0,
                 {0, 1, 2, 3, 4, 5, 6, 7},
                 false,
                 0,
                 0,
                 0},
        MoveCase{
            "UpAtTheBanksStart", RowCommand::MoveUp, 3, -1, -1, 1, {0, 1, 2, 3, 4, 5, 6, 7}, false, 0, 0, 0},
        MoveCase{
            "OnlyRowOfItsBank", RowCommand::MoveUp, 5, -1, -1, 2, {0, 1, 2, 3, 4, 5, 6, 7}, false, 0, 0, 0},
        MoveCase{"BlockReachingIntoTheNextBank",
                 RowCommand::MoveDown,
                 2,
                 2,
                 3,
                 0,
                 {0, 1, 2, 3, 4, 5, 6, 7},
                 false,
                 0,
                 0,
                 0}),
    testsupport::CaseName());

TEST_F(EditCommandTest, ClearAlwaysAsksAndKeepsTheReferences) {
    const cmcEeprom before = image;
    boxes.Expect("initial settings", plat::IDCANCEL);
    Run(RowCommand::Clear, kKind, 0, 0, 0, 1);
    EXPECT_TRUE(image.IsEqual(before));
    EXPECT_EQ(Statuses(), std::vector<std::string>{});

    boxes.Expect("initial settings", plat::IDOK);
    Run(RowCommand::Clear, kKind, 0, 0, 0, 1);
    EXPECT_EQ(Channels(0, 2), Order({-1, -1, 2}));
    EXPECT_EQ(image.GetWord(layout::kChannelS + 8), reference.GetWord(layout::kChannelS + 8));
    EXPECT_EQ(image.GetWord(layout::kRefAChannel), 1);
    EXPECT_EQ(Count(evRedrawRow, 0), 1);
    EXPECT_EQ(Count(evRedrawRow, 1), 1);
    EXPECT_EQ(Statuses(), Status("GI_AppMess_S_Clear"));

    boxes.Expect("initial settings", plat::IDOK);
    Run(RowCommand::Clear, kKind, 0, 0, 0, 1);
}

struct DeleteCase {
    const char* name;
    int32_t current, selFirst, selLast, bank;
    std::vector<int32_t> removed; // rows
    const char* refusal;          // the error box's text, or none
};

class DeleteCommand : public EditCommandTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteCommand, RemovesExactlyTheSelectedRows) {
    const DeleteCase& c = GetParam();
    const std::vector<rowtest::Named> before = References();
    std::vector<int32_t> expected, removedFreqs;
    for (int32_t r = 0; r < 8; ++r) {
        if (std::find(c.removed.begin(), c.removed.end(), r) == c.removed.end()) {
            expected.push_back(Freq(r));
        } else {
            removedFreqs.push_back(Freq(r));
        }
    }
    expected.resize(8);
    const int32_t count = GetBankChannelCount(image, c.bank);

    boxes.Expect("hold data", plat::IDOK);
    if (c.refusal) boxes.Expect(c.refusal, plat::IDOK);
    const cmcCellCapsule request = Run(RowCommand::Delete, kKind, c.current, c.bank, c.selFirst, c.selLast);

    EXPECT_EQ(Channels(0, 7), expected);
    EXPECT_EQ(GetBankChannelCount(image, c.bank), count - static_cast<int32_t>(c.removed.size()));
    ExpectReferencesFollow(before, removedFreqs);
    const int32_t first = c.selFirst >= 0 ? c.selFirst : c.current;
    EXPECT_EQ(Count(evRemoveChannelRow, first), static_cast<int>(c.removed.size()));
    EXPECT_EQ(deletesWhileFlagged, static_cast<int>(c.removed.size()));
    EXPECT_FALSE(request.rangeRequest);
    EXPECT_EQ(request.jumpRequest, 1);
    EXPECT_EQ(request.jumpIndex, first);
    EXPECT_EQ(Count(evRedrawSheet), 1);
    EXPECT_EQ(Statuses(), Status("GI_AppMess_S_Delete"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DeleteCommand,
    ::testing::Values(DeleteCase{"FirstRow", 0, -1, -1, 0, {0}, nullptr},
                      DeleteCase{"LastRow", 7, -1, -1, 3, {7}, nullptr},
                      DeleteCase{"OnlyRow", 5, -1, -1, 2, {5}, nullptr},
                      DeleteCase{"SelectionBelowTheCurrentRow", 0, 2, 2, 0, {2}, nullptr},
                      DeleteCase{"SelectionAboveTheCurrentRow", 7, 6, 6, 3, {6}, nullptr},
                      DeleteCase{"ReferenceA", 0, 0, 1, 0, {}, "priority channel"},
                      DeleteCase{"ReferenceB", 3, 3, 4, 1, {}, "priority channel"}),
    testsupport::CaseName());

TEST_F(EditCommandTest, DeletingReferenceCSwitchesItOff) {
    boxes.Expect("hold data", plat::IDOK);
    Run(RowCommand::Delete, kKind, 6, 3, 6, 7);
    EXPECT_EQ(GetBankChannelCount(image, 3), 0);
    EXPECT_EQ(image.GetByte(layout::kRefCFlags) & 0x20, 0);
}

TEST_F(EditCommandTest, DeleteAsksOnlyForProgrammedRowsAndCancelKeepsThem) {
    const cmcEeprom before = image;
    boxes.Expect("hold data", plat::IDCANCEL);
    Run(RowCommand::Delete, kKind, 0, 0);
    EXPECT_TRUE(image.IsEqual(before));
    EXPECT_EQ(Statuses(), std::vector<std::string>{});

    datCh row(&image);
    row.Load(kKind, 5);
    row.rxFreq = 0;
    row.Store(kKind, 5);
    Run(RowCommand::Delete, kKind, 5, 2);
    EXPECT_EQ(GetBankChannelCount(image, 2), 0);
}

TEST_F(EditCommandTest, DeletingAPoolEntryTakesItsSitesMark) {
    openSite = 1;
    const int32_t markAt = layout::kGroupRecords + layout::kGroupRecordSize * 1 + 7;
    image.SetByte(markAt, 2);
    boxes.Expect("hold data", plat::IDOK);
    Run(RowCommand::Delete, kindRepeaterPool, 3, 1);
    EXPECT_EQ(GetSiteChannelCount(image, 1), 2);
    EXPECT_EQ(PoolFreq(3), Freq(104));
    EXPECT_EQ(image.GetByte(markAt), 0);
    EXPECT_EQ(Count(evRemovePoolRow, 3), 1);
}

struct InsertCase {
    const char* name;
    int32_t kind, current, selFirst, selLast, unit;
    int32_t at, n;
};

class InsertCommand : public EditCommandTest, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(InsertCommand, InsertsEmptyRowsAndRepacks) {
    const InsertCase& c = GetParam();
    const bool pool = c.kind == kindRepeaterPool;
    const std::vector<rowtest::Named> before = References();
    auto rows = [&] {
        std::vector<int32_t> f;
        for (int32_t r = 0; r < 10; ++r)
            f.push_back(pool ? PoolFreq(r) : RxFreq(r));
        return f;
    };
    std::vector<int32_t> expected = rows();
    expected.insert(expected.begin() + c.at, static_cast<size_t>(c.n), 0);
    expected.resize(10);
    const int32_t count = pool ? GetSiteChannelCount(image, c.unit) : GetBankChannelCount(image, c.unit);
    const int32_t end = image.GetWord(layout::kHdrEndAddress);

    const cmcCellCapsule request = Run(RowCommand::Insert, c.kind, c.current, c.unit, c.selFirst, c.selLast);

    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(pool ? GetSiteChannelCount(image, c.unit) : GetBankChannelCount(image, c.unit), count + c.n);
    ExpectReferencesFollow(before);
    if (!pool) {
        // An LMR channel packs its 30- and 22-byte records.
        EXPECT_EQ(image.GetWord(layout::kHdrEndAddress), end + 52 * c.n) << "repacked";
    }
    EXPECT_EQ(Count(pool ? evInsertPoolRow : evInsertChannelRow, c.at), c.n);
    EXPECT_TRUE(request.rangeRequest);
    EXPECT_EQ(request.rangeFirst, c.selFirst >= 0 ? c.selFirst : c.current);
    EXPECT_EQ(Statuses(), Status("GI_AppMess_S_Insert"));
}

INSTANTIATE_TEST_SUITE_P(Rows, InsertCommand,
                         ::testing::Values(InsertCase{"AtTheFirstRow", kCh, 0, -1, -1, 0, 0, 1},
                                           InsertCase{"AfterTheLastRow", kCh, 8, -1, -1, 3, 8, 1},
                                           InsertCase{"BeforeTheOnlyRow", kCh, 5, -1, -1, 2, 5, 1},
                                           InsertCase{"TwoRowsAtTheSelection", kCh, 4, 3, 4, 1, 3, 2},
                                           InsertCase{"SelectionBelowTheCurrentRow", kCh, 3, 4, 4, 1, 4, 1},
                                           InsertCase{"PoolEntry", kindRepeaterPool, 2, -1, -1, 1, 2, 1}),
                         testsupport::CaseName());

struct FullCase {
    const char* name;
    int32_t kind, current, selFirst, selLast, unit;
    int inserted;
};

class InsertRefused : public EditCommandTest, public ::testing::WithParamInterface<FullCase> {
protected:
    void Fill(const std::string& name) {
        if (name == "ChannelTableFull") SetBankChannelCount(image, 5, 504);
        if (name == "ChannelTablePartlyFull") SetBankChannelCount(image, 5, 503);
        if (name == "DynamicAreaFull") image.SetWord(layout::kHdrEndAddress, layout::kDynamicEnd - 1 - 57);
        if (name == "SiteFull") SetSiteChannelCount(image, 1, 20);
        if (name == "PoolFull") {
            for (int32_t site = 2; site < 12; ++site)
                SetSiteChannelCount(image, site, 255);
            SetSiteChannelCount(image, 12, 5);
        }
    }
};

TEST_P(InsertRefused, ShowsTheOverflowMessageAndKeepsTheImageWhole) {
    const FullCase& c = GetParam();
    Fill(c.name);
    const cmcEeprom before = image;
    boxes.Expect("No more rows", plat::IDOK);
    Run(RowCommand::Insert, c.kind, c.current, c.unit, c.selFirst, c.selLast);
    EXPECT_EQ(Count(c.kind == kindRepeaterPool ? evInsertPoolRow : evInsertChannelRow), c.inserted);
    if (c.inserted == 0) {
        EXPECT_TRUE(image.IsEqual(before));
    }
    EXPECT_LE(GetTotalBankChannels(image), layout::kChannelRows);
    EXPECT_EQ(Static2DynamicInit(image), 0) << "the image still packs";
    EXPECT_EQ(Statuses(), Status("GI_AppMess_S_Insert"));
}

INSTANTIATE_TEST_SUITE_P(Limits, InsertRefused,
                         ::testing::Values(FullCase{"ChannelTableFull", kCh, 0, -1, -1, 0, 0},
                                           FullCase{"ChannelTablePartlyFull", kCh, 0, 0, 2, 0, 1},
                                           FullCase{"DynamicAreaFull", kCh, 0, -1, -1, 0, 0},
                                           FullCase{"SiteFull", kindRepeaterPool, 2, -1, -1, 1, 0},
                                           FullCase{"PoolFull", kindRepeaterPool, 2, -1, -1, 1, 0}),
                         testsupport::CaseName());

// An LTR radio packs its repeater pool too, so a full pool can overflow the
// dynamic area even when the header words that the capacity test reads say
// otherwise (as after a load that has not been packed since).
class LtrEditCommandTest : public EditCommandTest {
protected:
    LtrEditCommandTest() : EditCommandTest(1) {}
};

TEST_F(LtrEditCommandTest, AnInsertThatDoesNotPackIsTakenBack) {
    SetBankChannelCount(image, 4, 504);
    ASSERT_EQ(Static2DynamicInit(image), 0);
    int32_t more = MaxFittingCount(image, kCategoryRepeater, 2555, 0);
    for (int32_t site = 2; more > 0; ++site, more -= 255)
        SetSiteChannelCount(image, site, std::min(more, 255));
    ASSERT_EQ(Static2DynamicInit(image), 0);
    ASSERT_EQ(FitsDynamicArea(image, kCategoryRepeater, 1, 1), 0);
    const cmcEeprom packed = image;
    image.SetWord(layout::kHdrEndAddress, layout::kDynamicStart);
    ASSERT_EQ(FitsDynamicArea(image, kCategoryRepeater, 1, 1), 1);

    boxes.Expect("No more rows", plat::IDOK);
    Run(RowCommand::Insert, kindRepeaterPool, 2, 1);
    EXPECT_EQ(Count(evInsertPoolRow, 2), 1);
    EXPECT_EQ(Count(evRemovePoolRow, 2), 1);
    EXPECT_TRUE(image.IsEqual(packed));
}

struct SwapCase {
    const char* name;
    int32_t unit, step;
};

class SwapRows : public EditCommandTest, public ::testing::WithParamInterface<SwapCase> {};

// Banks 0 and 1 (rows 0..2 and 3..4) change places, whichever of them moves.
TEST_P(SwapRows, ExchangesTwoBanksRowsAndCounts) {
    const SwapCase& c = GetParam();
    const std::vector<rowtest::Named> before = References();
    cmcCellCapsule request;
    request.rangeSelected = true;
    SwapBankRows(request, image, kKind, GetTotalBankChannels(image), c.unit, c.step);
    EXPECT_EQ(GetBankChannelCount(image, 0), 2);
    EXPECT_EQ(GetBankChannelCount(image, 1), 3);
    EXPECT_EQ(Channels(0, 5), Order({3, 4, 0, 1, 2, 5}));
    ExpectReferencesFollow(before);
}

TEST_P(SwapRows, ExchangesTwoSitesEntriesAndKeepsTheirMarks) {
    const SwapCase& c = GetParam();
    openSite = 0;
    const int32_t mark0 = layout::kGroupRecords + 7, mark1 = mark0 + layout::kGroupRecordSize;
    image.SetByte(mark0, 1);
    image.SetByte(mark1, 3);
    cmcCellCapsule request;
    request.rangeSelected = true;
    SwapSiteRows(request, image, kindRepeaterPool, GetTotalSiteChannels(image), c.unit, c.step);
    EXPECT_EQ(GetSiteChannelCount(image, 0), 3);
    EXPECT_EQ(GetSiteChannelCount(image, 1), 2);
    const std::vector<int32_t> entries = {PoolFreq(0), PoolFreq(1), PoolFreq(2), PoolFreq(3), PoolFreq(4)};
    EXPECT_EQ(entries, Order({102, 103, 104, 100, 101}));
    EXPECT_EQ(image.GetByte(mark0), 1);
    EXPECT_EQ(image.GetByte(mark1), 3);
}

INSTANTIATE_TEST_SUITE_P(Directions, SwapRows,
                         ::testing::Values(SwapCase{"FirstDown", 0, 1}, SwapCase{"SecondUp", 1, -1}),
                         testsupport::CaseName());

TEST_F(EditCommandTest, SwapWithNoNeighbourDoesNothing) {
    const cmcEeprom before = image;
    cmcCellCapsule request;
    SwapBankRows(request, image, kKind, 8, 0, -1);
    SwapBankRows(request, image, kKind, 8, 127, 1);
    SwapSiteRows(request, image, kindRepeaterPool, 5, 127, 1);
    EXPECT_TRUE(image.IsEqual(before));
}

} // namespace
