// The level slope procedures and the test-channel scan against the simulator.
#include "adjust/TestChannel.h"
#include "tests/adjust/AdjustLinkFixture.h"
#include "tests/support/ParamNames.h"

namespace {

using namespace adjtest;
using testsupport::PrintTo;

// Group 1: level code 13 in image byte 108, slope items 180 (low side) and 181 (high side).
constexpr int32_t kLevelByte = 108;
constexpr int kLevelCode = 13;

class AdjustLevelsTest : public AdjustLinkFixture {
protected:
    void SetChannel(int channel, uint32_t hertz) {
        const int32_t at = adj::TestChannel::kBase + adj::TestChannel::kRecordSize * (channel - 1);
        for (int i = 0; i < 4; ++i)
            workspace.work.SetByte(at + i, static_cast<uint8_t>(hertz >> (24 - 8 * i)));
    }
    // An event that is not the link's own: the handler's pass runs.
    void Pass() {
        bus.Send(evCellSelected);
        Run();
    }
    void Confirm() {
        automation.State().LevelStep = 5;
        Pass();
    }
    adj::AdjustAutomation::LevelGroup& Group() { return automation.levels[0]; }
};

TEST_F(AdjustLevelsTest, CentreLowAndHighLeaveTheSlopesAndTheRadioAtTheCentreLevel) {
    SetChannel(1, 450000000); // 4500 in the procedures' units
    workspace.work.SetWord(176, 4600);
    workspace.work.SetByte(kLevelByte, 100);
    automation.StartSweepAuto10();
    EXPECT_EQ(automation.State().AdjustPhase, 2);
    Run();
    EXPECT_EQ(automation.State().LevelStep, 4);
    Confirm();
    EXPECT_EQ(automation.State().AdjustPhase, 0);
    EXPECT_EQ(ItemsSent(), (std::vector<Item>{{64, 180}, {65, 0}, {64, 181}, {65, 0}, {13, 100}, {13, 100}}));

    const size_t low = LogSize();
    SetChannel(1, 440000000);
    workspace.work.SetByte(kLevelByte, 80);
    automation.StartSweepAuto11();
    EXPECT_EQ(automation.State().AdjustPhase, 4);
    Run();
    Confirm();
    EXPECT_EQ(ItemsSent(low), (std::vector<Item>{{13, 80}, {13, 80}, {64, 180}, {65, 51}, {13, 100}}));
    EXPECT_EQ(Group().lowSlope, 51);
    EXPECT_EQ(Group().extrapolated, 100 + (100 * 51 >> 8));
    EXPECT_EQ(workspace.work.GetByte(180), 51);

    const size_t high = LogSize();
    SetChannel(1, 460000000);
    workspace.work.SetByte(kLevelByte, 130);
    automation.StartSweepAuto12();
    EXPECT_EQ(automation.State().AdjustPhase, 3);
    Run();
    Confirm();
    EXPECT_EQ(ItemsSent(high),
              (std::vector<Item>{{13, 130}, {13, 130}, {64, 181}, {65, 30 * 256 / 100}, {13, 100}}));
    EXPECT_EQ(workspace.work.GetByte(181), 76);
    EXPECT_EQ(workspace.work.GetByte(kLevelByte), 100);
    EXPECT_EQ(sim.ItemValue(kLevelCode), 100);
    EXPECT_EQ(sim.ItemValue(180, true), 51);
    EXPECT_EQ(sim.ItemValue(181, true), 76);
    EXPECT_EQ(automation.State().AdjustPhase, 0);
}

TEST_F(AdjustLevelsTest, AnEditedLevelGoesOutOnceHoweverOftenItIsRepeated) {
    SetChannel(1, 440000000);
    workspace.work.SetByte(kLevelByte, 80);
    automation.StartSweepAuto11();
    Run();
    const size_t from = LogSize();
    for (int i = 0; i < 3; ++i) {
        Group().editedLow = 90;
        Pass();
    }
    Group().editedLow = 80;
    Pass();
    Pass();
    EXPECT_EQ(ItemsSent(from), (std::vector<Item>{{13, 90}, {13, 80}}));
    EXPECT_EQ(automation.State().LevelStep, 4);
}

struct SlopeCase {
    const char* name;
    bool low; // the low procedure, else the high one
    uint8_t centreLevel;
    uint8_t level;
    int32_t centreFrequency;
    uint32_t hertz;
    int slope;
};

class SlopeTest : public AdjustLevelsTest, public ::testing::WithParamInterface<SlopeCase> {};

TEST_P(SlopeTest, IsTheLevelStepPer256FrequencyUnitsHeldToASignedByte) {
    const SlopeCase& c = GetParam();
    Group().centreLevel = c.centreLevel;
    Group().centreFrequency = c.centreFrequency;
    SetChannel(1, c.hertz);
    workspace.work.SetByte(kLevelByte, c.level);
    if (c.low)
        automation.StartSweepAuto11();
    else
        automation.StartSweepAuto12();
    Run();
    Confirm();
    const int32_t item = c.low ? 180 : 181;
    EXPECT_EQ(c.low ? Group().lowSlope : Group().highSlope, c.slope);
    EXPECT_EQ(workspace.work.GetByte(item), static_cast<uint8_t>(c.slope));
    EXPECT_EQ(sim.ItemValue(item, true), static_cast<uint8_t>(c.slope));
}

INSTANTIATE_TEST_SUITE_P(Slopes, SlopeTest,
                         ::testing::Values(SlopeCase{"Low51", true, 100, 80, 4500, 440000000, 51},
                                           SlopeCase{"LowClampedUp", true, 200, 100, 4500, 440000000, 127},
                                           SlopeCase{"LowClampedDown", true, 0, 100, 4500, 440000000, -128},
                                           SlopeCase{"LowEqualFrequencies", true, 100, 80, 4500, 450000000,
                                                     0},
                                           SlopeCase{"HighFalling", false, 100, 80, 4500, 460000000, -51},
                                           SlopeCase{"HighBelowCentre", false, 100, 120, 4500, 440000000, 0}),
                         testsupport::CaseName());

TEST_F(AdjustLevelsTest, AStepTheLinkRefusedKeepsItsPlaceAndGoesOnAtTheNextPass) {
    SetChannel(1, 440000000);
    workspace.work.SetByte(kLevelByte, 80);
    automation.StartSweepAuto11();
    Run();
    const size_t from = LogSize();
    progress->mainEnabled = false;
    Confirm();
    EXPECT_EQ(automation.State().LevelStep, 5);
    EXPECT_TRUE(ItemsSent(from).empty());
    progress->mainEnabled = true;
    Pass();
    EXPECT_EQ(automation.State().AdjustPhase, 0);
    EXPECT_EQ(ItemsSent(from).size(), 4u);
}

TEST(TestChannelTest, TheRecordsTopBitIsNoPartOfTheFrequency) {
    cmcEeprom image;
    image.SetSize(kImageSize);
    const int32_t at = adj::TestChannel::kBase + adj::TestChannel::kRecordSize;
    const uint32_t flagged = 0x80000000u | 450000000u;
    for (int i = 0; i < 4; ++i)
        image.SetByte(at + i, static_cast<uint8_t>(flagged >> (24 - 8 * i)));
    EXPECT_TRUE(adj::ReadTestChannel(image, 1).empty);
    const adj::TestChannel c = adj::ReadTestChannel(image, 2);
    EXPECT_FALSE(c.empty);
    EXPECT_EQ(c.frequency, 4500u);
}

TEST_F(AdjustLevelsTest, TheEntrySelectsTheFirstProgrammedChannel) {
    SetChannel(4, 450000000);
    automation.State().TargetNotReached = {1, 1, 1};
    automation.SendAdjustCommand(33, 1, nullptr, false);
    Run();
    const size_t entry = LogSize();
    automation.EnterAdjustment();
    EXPECT_EQ(automation.State().TargetNotReached, (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(automation.State().AdjustPhase, adj::AdjustAutomation::kPhaseEntry);
    Run();
    EXPECT_EQ(ItemsSent(entry), (std::vector<Item>{{2, 1}, {0, 4}}));
    EXPECT_EQ(automation.State().WorkBytes[0], 4);
    EXPECT_EQ(automation.State().AdjustPhase, 0);
    EXPECT_EQ(sim.ItemValue(0), 4);
    // The radio was at the slow speed already: the script plays because the read may have changed it.
    EXPECT_GT(ScriptFrames(entry), 0);
}

TEST_F(AdjustLevelsTest, WithEveryChannelEmptyTheScanSelectsChannelOne) {
    automation.State().WorkBytes[0] = 9;
    automation.EnterAdjustment();
    Run();
    EXPECT_EQ(ItemsSent(), (std::vector<Item>{{2, 1}, {0, 1}}));
    EXPECT_EQ(automation.State().WorkBytes[0], 1);
    EXPECT_EQ(automation.State().AdjustPhase, 0);
}

} // namespace
