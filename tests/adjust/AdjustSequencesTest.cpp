// The automatic sequences against the simulator, each run to its end by the
// completions of its own commands: peak sweeps and their chains over the
// detector's plateau, target searches over rising and falling lines.
#include "tests/adjust/AdjustLinkFixture.h"
#include "tests/support/ParamNames.h"

namespace {

using namespace adjtest;
using testsupport::PrintTo;
using Automation = adj::AdjustAutomation;

// The detector reads its peak over 101..144. Stepping by 1 the range with the
// best reading is 101..144, its middle (101 + 144) / 2 = 122; stepping by 2
// from 0 it is 102..144, middle 123.
constexpr int kPlateauLow = 101;
constexpr int kPlateauHigh = 144;
constexpr int kFineResult = 122;
constexpr int kCoarseResult = 123;

struct SweptItem {
    int32_t byte; // image byte of the item
    int code;     // its code, or the item code 64 selects
    bool selected;
};

struct PeakCase {
    const char* name;
    void (Automation::*start)();
    std::vector<SweptItem> items; // in the order they are swept
    int result;
};

class PeakSweepTest : public AdjustLinkFixture, public ::testing::WithParamInterface<PeakCase> {};

TEST_P(PeakSweepTest, WritesTheMiddleOfThePlateau) {
    const PeakCase& c = GetParam();
    radiosim::Adjustment a;
    a.plateauLow = kPlateauLow;
    a.plateauHigh = kPlateauHigh;
    sim.SetAdjustment(a);
    (automation.*c.start)();
    EXPECT_NE(automation.State().PeakSearch, Automation::kPeakIdle);
    Run();
    EXPECT_EQ(automation.State().PeakSearch, Automation::kPeakIdle);
    EXPECT_EQ(automation.chained, 0);
    for (const SweptItem& i : c.items) {
        EXPECT_EQ(workspace.work.GetByte(i.byte), c.result) << "image byte " << i.byte;
        EXPECT_EQ(sim.ItemValue(i.code, i.selected), c.result) << "item " << i.code;
        // The selected items' senders record what the radio holds; codes 19 and 20 leave the copy alone.
        EXPECT_EQ(workspace.radio.GetByte(i.byte), i.selected ? c.result : 0) << "radio copy " << i.byte;
    }
    // The last frame is the result of the last item.
    const std::vector<Item> sent = ItemsSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), (Item{c.items.back().selected ? 65 : c.items.back().code, c.result}));
    EXPECT_TRUE(boxes.Log().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sweeps, PeakSweepTest,
    ::testing::Values(
        PeakCase{"BpfT1", &Automation::StartSweepBpfT1, {{84, 19, false}}, kFineResult},
        PeakCase{"BpfT2", &Automation::StartSweepBpfT2, {{85, 20, false}}, kFineResult},
        PeakCase{"BpfT3", &Automation::StartSweepBpfT3, {{88, 88, true}}, kFineResult},
        PeakCase{"BpfT4", &Automation::StartSweepBpfT4, {{90, 90, true}}, kFineResult},
        PeakCase{"AUTO02", &Automation::StartSweepAuto02, {{89, 89, true}}, kFineResult},
        PeakCase{"AUTO03", &Automation::StartSweepAuto03, {{91, 91, true}}, kFineResult},
        PeakCase{"BpfAll", &Automation::StartSweepBpfAll, {{84, 19, false}, {85, 20, false}}, kCoarseResult},
        PeakCase{"AUTO19", &Automation::StartSweepAuto19, {{88, 88, true}, {90, 90, true}}, kCoarseResult},
        PeakCase{"AUTO20", &Automation::StartSweepAuto20, {{89, 89, true}, {91, 91, true}}, kCoarseResult}),
    testsupport::CaseName());

TEST_F(AdjustLinkFixture, AChainPresetsItsSecondItemThenSweepsBothCoarsely) {
    automation.StartSweepAuto19();
    Run();
    const std::vector<Item> sent = ItemsSent();
    ASSERT_GE(sent.size(), 5u);
    // Start selects the second item, the first step sets it to the middle, the first list follows.
    EXPECT_EQ(sent[0], (Item{64, 90}));
    EXPECT_EQ(sent[1], (Item{65, 64}));
    EXPECT_EQ(sent[2], (Item{64, 88}));
    EXPECT_EQ(sent[3], (Item{65, 0}));
    EXPECT_EQ(sent[6], (Item{65, 2}));
    // 32 lists of four values for each item, two result frames each, the three first frames.
    EXPECT_EQ(sent.size(), 3u + 2 * (32 * 12 + 2) - 1);
}

TEST_F(AdjustLinkFixture, AFlatDetectorGivesHalfTheLastValue) {
    radiosim::Adjustment a;
    a.plateauLow = 300; // never: every reading is the floor
    sim.SetAdjustment(a);
    automation.StartSweepBpfT1();
    Run();
    EXPECT_EQ(workspace.work.GetByte(84), 255 / 2);
}

struct SearchCase {
    const char* name;
    void (Automation::*start)();
    int search;   // 0 AUTO04, 1 AUTO05, 2 AUTO06
    int32_t byte; // the searched item's image byte
    int32_t target;
    int code; // its code (186 for the selected item)
    bool selected;
    int at0, at255; // the line
    uint8_t aim;    // the target byte's value
    int result;
    bool outOfRange;
};

class SearchTest : public AdjustLinkFixture, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SearchTest, EndsAtTheTargetOrPutsTheStartValueBack) {
    const SearchCase& c = GetParam();
    radiosim::Adjustment a;
    a.at0 = c.at0;
    a.at255 = c.at255;
    sim.SetAdjustment(a);
    workspace.work.SetByte(c.byte, 77);
    workspace.work.SetByte(c.target, c.aim);
    automation.State().TargetNotReached[c.search] = 0;
    (automation.*c.start)();
    EXPECT_EQ(automation.State().TargetSearch, c.search);
    Run();
    EXPECT_EQ(automation.State().TargetSearch, Automation::kSearchIdle);
    EXPECT_EQ(automation.State().TargetNotReached[c.search], c.outOfRange ? 1 : 0);
    EXPECT_EQ(workspace.work.GetByte(c.byte), c.result);
    EXPECT_EQ(workspace.radio.GetByte(c.byte), c.result);
    EXPECT_EQ(sim.ItemValue(c.code, c.selected), c.result);
    EXPECT_TRUE(boxes.Log().empty());
}

// Rising 0..255 and aim 100: probes 127, 63, 95, 111, 103, 99, 101, 100.
// Falling 255..0 and aim 100: probes 127, 191, 159, 143, 151, 155 (reads 100).
// A line 40..200 holds no 250 and no 30: the start value 77 goes back.
INSTANTIATE_TEST_SUITE_P(Searches, SearchTest,
                         ::testing::Values(SearchCase{"AUTO04Rising", &Automation::StartSweepAuto04, 0, 97,
                                                      170, 6, false, 0, 255, 100, 100, false},
                                           SearchCase{"AUTO04Falling", &Automation::StartSweepAuto04, 0, 97,
                                                      170, 6, false, 255, 0, 100, 155, false},
                                           SearchCase{"AUTO04Above", &Automation::StartSweepAuto04, 0, 97,
                                                      170, 6, false, 40, 200, 250, 77, true},
                                           SearchCase{"AUTO05Rising", &Automation::StartSweepAuto05, 1, 186,
                                                      187, 186, true, 0, 255, 100, 100, false},
                                           SearchCase{"AUTO05Falling", &Automation::StartSweepAuto05, 1, 186,
                                                      187, 186, true, 255, 0, 100, 155, false},
                                           SearchCase{"AUTO05Below", &Automation::StartSweepAuto05, 1, 186,
                                                      187, 186, true, 40, 200, 30, 77, true},
                                           SearchCase{"AUTO06Rising", &Automation::StartSweepAuto06, 2, 98,
                                                      171, 7, false, 0, 255, 100, 100, false},
                                           SearchCase{"AUTO06Falling", &Automation::StartSweepAuto06, 2, 98,
                                                      171, 7, false, 255, 0, 100, 155, false},
                                           SearchCase{"AUTO06Above", &Automation::StartSweepAuto06, 2, 98,
                                                      171, 7, false, 40, 200, 250, 77, true}),
                         testsupport::CaseName());

TEST_F(AdjustLinkFixture, EachProbeIsSetThenReadThenJudged) {
    workspace.work.SetByte(170, 100);
    automation.StartSweepAuto04();
    Run();
    const std::vector<Item> sent = ItemsSent();
    std::vector<int> probes;
    for (size_t i = 0; i + 1 < sent.size(); ++i)
        if (sent[i].code == 6 && sent[i + 1] == (Item{3, 3})) probes.push_back(sent[i].value);
    EXPECT_EQ(probes, (std::vector<int>{0, 255, 127, 63, 95, 111, 103, 99, 101, 100}));
    EXPECT_EQ(sent.back(), (Item{6, 100}));
}

} // namespace
