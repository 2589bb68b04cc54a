// The channel-row cells on the option word of the adjustment program's
// channel record, run through its engine on a programmed channel.
#include "tests/adjust/AdjustCellFixture.h"

#include "adjust/AdjustRecords.h"
#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "tests/support/ParamNames.h"

namespace adjtest {
namespace {

using testsupport::PrintTo;

struct OptionCase {
    const char* name;
    const char* cell;
    int32_t first, width;
    int32_t pick;
    bool rebuild;
    bool warning, error; // the marks the picked value gets
    const char* item;    // the list's item cell
    const char* shown;
};

class AdjustOptionWordTest : public AdjustCellFixture, public ::testing::WithParamInterface<OptionCase> {
protected:
    AdjustOptionWordTest() {
        h.LoadStartupData(0);
        h.OpenBank(0);
        SetBankChannelCount(h.Image(), 0, 1);
        kind = GetModelClass();
        adj::datCh record(&h.Image());
        record.Load(kind, 0);
        record.flagA |= 1;
        record.rxFreq = 146520000;
        record.txFreq = 146520000;
        record.optionW = kAllBits;
        record.Store(kind, 0);
    }

    uint32_t OptionWord() {
        adj::datCh record(&h.Image());
        record.Load(kind, 0);
        return record.optionW;
    }

    static constexpr uint32_t kAllBits = 0x7FFFF; // 19 bits
    int32_t kind = 1;
};

TEST_P(AdjustOptionWordTest, APickLandsInItsBitsAndKeepsTheOthers) {
    const OptionCase& c = GetParam();
    const CellAddress at{Category("CT_Mch"), Id(c.cell), 0};
    // Every bit the record holds set (the short channel form holds no bit 1).
    const uint32_t before = OptionWord();
    ASSERT_EQ(before | 2u, kAllBits);
    const auto out = h.Pick(at, Id(c.item), c.pick);
    const uint32_t mask = ((1u << c.width) - 1u) << c.first;
    EXPECT_EQ(OptionWord() & ~mask, before & ~mask);
    EXPECT_EQ((OptionWord() & mask) >> c.first, static_cast<uint32_t>(c.pick));
    EXPECT_EQ((out.flags & 0x20) != 0, c.rebuild);
    EXPECT_EQ(out.request.markFlags.warning, c.warning);
    EXPECT_EQ(out.request.markFlags.error, c.error);
    EXPECT_EQ(h.Display(at).text, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, AdjustOptionWordTest,
    ::testing::Values(
        OptionCase{"AutoReset", "CL_Mch_AutoReset", 0, 2, 0, false, false, false, "Flex0", "Off"},
        OptionCase{"Log", "CL_Mch_Log", 2, 4, 2, false, false, false, "Flex0", "Or"},
        OptionCase{"MoniAuto", "CL_Mch_Moni", 6, 4, 6, true, false, false, "FlexMark", "Auto"},
        OptionCase{"MoniOff", "CL_Mch_Moni", 6, 4, 0, true, true, false, "FlexMark", "Off"},
        OptionCase{"SelOne", "CL_Mch_Sel", 10, 2, 1, true, false, false, "FlexMark", "Individual"},
        OptionCase{"SelOther", "CL_Mch_Sel", 10, 2, 2, true, false, true, "FlexMark", "Group"},
        OptionCase{"CallOff", "CL_Mch_Call", 12, 1, 0, true, false, false, "FlexMark", "Off"},
        OptionCase{"PttOff", "CL_Mch_PTT", 13, 1, 0, true, false, false, "FlexMark", "Off"},
        OptionCase{"MuteOff", "CL_Mch_CH_Mute", 14, 1, 0, true, true, false, "FlexMark", "Off"},
        OptionCase{"ScrambleOn", "CL_Mch_Scrm_On", 15, 2, 2, false, false, false, "Flex0", "Key off"},
        OptionCase{"ScrambleType", "CL_Mch_Scrm_Type", 17, 2, 0, false, false, false, "Flex0", "Inversion"}),
    testsupport::CaseName());

struct ScrambleCase {
    const char* name;
    uint32_t type; // W bits 17-18
    int32_t stored;
    const char* shown;
    const char* typed; // none: nothing typed
    int32_t kept;      // V1 afterwards
};

class AdjustScrambleCodeTest : public AdjustOptionWordTest {};

TEST_F(AdjustScrambleCodeTest, FollowsTheScramblerType) {
    const ScrambleCase cases[] = {
        {"Fixed", 1, 7, "----", "9", 7},
        {"RollingShowsItsBound", 2, 40, "16", nullptr, 40},
        {"RollingKeepsToSixteen", 2, 3, "3", "20", 16},
        {"Inversion", 0, 200, "200", "255", 255},
    };
    const CellAddress at{Category("CT_Mch"), Id("CL_Mch_Scrm_Code"), 0};
    for (const ScrambleCase& c : cases) {
        SCOPED_TRACE(c.name);
        adj::datCh record(&h.Image());
        record.Load(kind, 0);
        record.optionW = (record.optionW & ~(3u << 17)) | c.type << 17;
        record.v1 = c.stored;
        record.Store(kind, 0);
        EXPECT_EQ(h.Display(at).text, c.shown);
        if (c.typed) h.Commit(at, c.typed);
        record.Load(kind, 0);
        EXPECT_EQ(record.v1, c.kept);
    }
}

} // namespace
} // namespace adjtest
