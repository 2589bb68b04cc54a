// The channel clipboard over the start-up data: which reference bits a pasted
// row brings along and which it leaves to the row it replaces.
#include "image/datClipCh.h"
#include "tests/image/RowEditFixture.h"
#include "tests/support/ParamNames.h"

namespace {

using testsupport::PrintTo;

class ClipChTest : public rowtest::RowEditFixture {
protected:
    datClipCh clip;
};

struct PasteCase {
    const char* name;
    int32_t from;
    int32_t to;
    bool keep;
    int32_t refA, refB, refC; // afterwards
};

class ClipPaste : public ClipChTest, public ::testing::WithParamInterface<PasteCase> {};

// Rows 1, 4 and 6 are reference channels A, B and C; bank 1 (rows 3..4) is
// the only SmarTrunk bank.
TEST_P(ClipPaste, CarriesTheReferencesOnlyWithoutKeptAttributes) {
    const PasteCase& c = GetParam();
    clip.Copy(image, kKind, c.from, 1);
    if (c.keep) {
        clip.PasteKeepingAttributes(image, kKind, c.to, 1);
    } else {
        clip.Paste(image, kKind, c.to, 1);
    }
    EXPECT_EQ(RxFreq(c.to), Freq(c.from));
    EXPECT_EQ(image.GetWord(layout::kRefAChannel), c.refA);
    EXPECT_EQ(image.GetWord(layout::kRefBChannel), c.refB);
    EXPECT_EQ(image.GetWord(layout::kRefCChannel), c.refC);
    EXPECT_EQ(image.GetByte(layout::kRefCFlags) & 0x20, 0x20) << "reference C stays on";
    for (int32_t b = 0; b < 4; ++b)
        EXPECT_EQ(IsSmarTrunkBank(image, b), b == 1) << "bank " << b;
}

INSTANTIATE_TEST_SUITE_P(Rows, ClipPaste,
                         ::testing::Values(PasteCase{"RefAOntoRefBKept", 1, 4, true, 1, 4, 6},
                                           PasteCase{"RefAOntoRefBPlain", 1, 4, false, 4, 4, 6},
                                           PasteCase{"RefCAcrossBanksKept", 6, 2, true, 1, 4, 6},
                                           PasteCase{"RefCAcrossBanksPlain", 6, 2, false, 1, 4, 2},
                                           PasteCase{"SmarTrunkRowIntoPlainBankKept", 3, 0, true, 1, 4, 6},
                                           PasteCase{"SmarTrunkRowIntoPlainBankPlain", 3, 0, false, 1, 4, 6},
                                           PasteCase{"PlainRowIntoSmarTrunkBankPlain", 0, 3, false, 1, 4, 6}),
                         testsupport::CaseName());

TEST_F(ClipChTest, AnEmptyClipboardOrAnotherKindWritesNothing) {
    const cmcEeprom before = image;
    EXPECT_FALSE(clip.CanPaste(kKind));
    clip.Paste(image, kKind, 0, 3);
    clip.Copy(image, kindRepeaterPool, 0, 2);
    EXPECT_FALSE(clip.CanPaste(kKind));
    clip.PasteKeepingAttributes(image, kKind, 0, 2);
    EXPECT_TRUE(image.IsEqual(before));
}

TEST_F(ClipChTest, PastesAsManyRowsAsBothSidesHave) {
    clip.Copy(image, kKind, 0, 3);
    clip.Paste(image, kKind, 5, 2);
    EXPECT_EQ(Channels(5, 7), (std::vector<int32_t>{Freq(0), Freq(1), Freq(7)}));
    clip.Paste(image, kKind, 5, 10);
    EXPECT_EQ(Channels(5, 8), (std::vector<int32_t>{Freq(0), Freq(1), Freq(2), 0}));
}

struct CopyCase {
    const char* name;
    int32_t kind, first, n, count;
};

class ClipCopy : public ClipChTest, public ::testing::WithParamInterface<CopyCase> {};

// Rows outside the kind's table are never held, so they are never pasted.
TEST_P(ClipCopy, HoldsOnlyRowsOfTheTable) {
    const CopyCase& c = GetParam();
    clip.Copy(image, c.kind, c.first, c.n);
    EXPECT_EQ(clip.Count(), c.count);
    EXPECT_TRUE(clip.CanPaste(c.kind));
    const cmcEeprom before = image;
    if (c.count == 0) {
        clip.Paste(image, c.kind, 0, 5);
        EXPECT_TRUE(image.IsEqual(before));
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, ClipCopy,
                         ::testing::Values(CopyCase{"ThreeChannels", 1, 0, 3, 3},
                                           CopyCase{"ChannelsPastTheTableEnd", 1, 510, 5, 2},
                                           CopyCase{"NoRows", 1, 0, 0, 0},
                                           CopyCase{"NegativeCount", 1, 2, -4, 0},
                                           CopyCase{"FirstRowBeforeTheTable", 1, -1, 3, 0},
                                           CopyCase{"FirstRowPastTheTable", 1, 512, 1, 0},
                                           CopyCase{"PoolEntriesPastTheTableEnd", 24, 2558, 9, 2},
                                           CopyCase{"MoreScanListsThanThereAre", 8, 0, 40, 17}),
                         testsupport::CaseName());

TEST_F(ClipChTest, ClearEmptiesIt) {
    clip.Copy(image, kKind, 0, 2);
    clip.Clear();
    EXPECT_EQ(clip.Count(), 0);
    EXPECT_EQ(clip.Kind(), 0);
    EXPECT_FALSE(clip.CanPaste(kKind));
}

} // namespace
