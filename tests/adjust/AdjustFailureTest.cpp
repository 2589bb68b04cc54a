// A radio that stops answering, or a port that goes away, in the middle of a
// procedure: one box, nothing running, the image as it was, and not one frame
// more. And one procedure at a time.
#include "tests/adjust/AdjustLinkFixture.h"
#include "tests/support/ParamNames.h"

#include <functional>

namespace {

using namespace adjtest;
using testsupport::PrintTo;
using Automation = adj::AdjustAutomation;

struct FailureCase {
    const char* name;
    std::function<void(Automation&)> start;
    int silentFromRead; // -1: the radio answers
    // The port goes away once this holds of the running procedure and the image; none: it stays.
    std::function<bool(const Automation&, const cmcEeprom&)> goneWhen;
    std::vector<int32_t> bytes; // image bytes the procedure changes
};

class AdjustFailureTest : public AdjustLinkFixture, public ::testing::WithParamInterface<FailureCase> {
protected:
    void SetChannel1() {
        workspace.work.SetByte(0xFF80, 0x1A); // 0x1AD27480: 450 MHz
        workspace.work.SetByte(0xFF81, 0xD2);
        workspace.work.SetByte(0xFF82, 0x74);
        workspace.work.SetByte(0xFF83, 0x80);
    }
};

TEST_P(AdjustFailureTest, OneBoxNothingRunningTheBytesBackNoFurtherFrame) {
    const FailureCase& c = GetParam();
    radiosim::Adjustment a;
    a.silentFromRead = c.silentFromRead;
    sim.SetAdjustment(a);
    SetChannel1();
    for (size_t i = 0; i < c.bytes.size(); ++i) {
        workspace.work.SetByte(c.bytes[i], static_cast<uint8_t>(40 + i));
        workspace.radio.SetByte(c.bytes[i], static_cast<uint8_t>(40 + i));
    }
    boxes.Expect("", plat::IDOK);
    c.start(automation);
    if (c.goneWhen) {
        while (man.IsBusy() && !c.goneWhen(automation, workspace.work)) {
            sim.Pump();
            sched.Advance(2);
        }
        sim.Disappear();
    }
    Run();
    const size_t failedAt = LogSize();
    // Whatever comes now finds nothing to step.
    bus.Send(evRedrawSheet);
    Run();
    sched.Advance(5000);
    sim.Pump();

    EXPECT_EQ(boxes.Log().size(), 1u);
    const adj::AdjustState& s = automation.State();
    EXPECT_EQ(s.AdjustPhase, 0);
    EXPECT_EQ(s.PeakSearch, Automation::kPeakIdle);
    EXPECT_EQ(s.TargetSearch, Automation::kSearchIdle);
    EXPECT_EQ(s.LevelStep, 0);
    EXPECT_TRUE(s.RedrawSendsHeld); // drawing the items sends nothing more until the user acts
    EXPECT_FALSE(man.IsBusy());
    EXPECT_EQ(LogSize(), failedAt);
    for (size_t i = 0; i < c.bytes.size(); ++i) {
        EXPECT_EQ(workspace.work.GetByte(c.bytes[i]), 40 + i) << "image byte " << c.bytes[i];
        // What the radio holds of it is unknown: the copy differs so that the next edit sends it.
        EXPECT_NE(workspace.radio.GetByte(c.bytes[i]), 40 + i) << "radio copy " << c.bytes[i];
    }
    if (c.silentFromRead > 0) {
        const std::vector<Item> sent = ItemsSent();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back().code, 3); // the read that got no answer was the last frame
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AdjustFailureTest,
    ::testing::Values(
        FailureCase{"SilentInASweep", [](Automation& m) { m.StartSweepBpfT1(); }, 10, nullptr, {84}},
        FailureCase{
            "SilentInAChain", [](Automation& m) { m.StartSweepAuto19(); }, 32 * 4 + 9, nullptr, {88, 90}},
        // The target 0 lies below the line: the read at 255 is the search's last.
        FailureCase{"SilentInASearch", [](Automation& m) { m.StartSweepAuto05(); }, 2, nullptr, {186}},
        FailureCase{"PortGoneInASweep",
                    [](Automation& m) { m.StartSweepBpfAll(); },
                    -1,
                    [](const Automation& m, const cmcEeprom&) { return m.State().ValueCounter >= 40; },
                    {84, 85}},
        FailureCase{"PortGoneInALevelProcedure",
                    [](Automation& m) {
                        m.StartSweepAuto10();
                        m.levels[0].centreLevel = 1; // the live step sends the level
                    },
                    -1,
                    [](const Automation& m, const cmcEeprom&) { return m.levels[0].centreLevel == 40; },
                    {108}},
        FailureCase{"PortGoneAtTheEntry",
                    [](Automation& m) { m.EnterAdjustment(); },
                    -1,
                    [](const Automation&, const cmcEeprom&) { return true; },
                    {}},
        FailureCase{"PortGoneInTheScan",
                    [](Automation& m) { m.EnterAdjustment(); },
                    -1,
                    [](const Automation& m, const cmcEeprom&) { return m.State().AdjustPhase == 0; },
                    {}}),
    testsupport::CaseName());

class OneAtATimeTest : public AdjustLinkFixture {};

TEST_F(OneAtATimeTest, ASecondStartDuringARunChangesAndSendsNothing) {
    automation.StartSweepBpfT1();
    for (int t = 0; t < 500; t += 2) {
        sim.Pump();
        sched.Advance(2);
    }
    workspace.work.SetByte(97, 33);
    automation.StartSweepAuto04();
    automation.StartSweepBpfAll();
    automation.StartSweepAuto10();
    automation.EnterAdjustment();
    EXPECT_EQ(automation.State().PeakSearch, 0);
    EXPECT_EQ(automation.State().TargetSearch, Automation::kSearchIdle);
    EXPECT_EQ(automation.State().AdjustPhase, 0);
    EXPECT_EQ(workspace.work.GetByte(97), 33);
    Run();
    for (const Item& i : ItemsSent())
        EXPECT_TRUE(i.code == 19 || i.code == 3) << i.code << " = " << i.value;
}

TEST_F(OneAtATimeTest, EventsWhileTheLinkIsBusyStepNothing) {
    automation.StartSweepBpfT1();
    while (automation.State().ValueCounter < 4) {
        sim.Pump();
        sched.Advance(2);
    }
    ASSERT_TRUE(man.IsBusy()); // the first list runs
    for (int i = 0; i < 3; ++i)
        bus.Send(evCellSelected);
    EXPECT_EQ(automation.State().ValueCounter, 4);
    EXPECT_EQ(workspace.work.GetByte(84), 0);
    Run();
    EXPECT_EQ(automation.State().PeakSearch, Automation::kPeakIdle);
}

TEST_F(OneAtATimeTest, AStartOnABusyLinkChangesAndSendsNothing) {
    automation.SendAdjustCommand(33, 5, nullptr, false);
    automation.StartSweepBpfT2();
    automation.StartSweepAuto13();
    automation.StartSweepAuto06();
    EXPECT_EQ(automation.State().PeakSearch, Automation::kPeakIdle);
    EXPECT_EQ(automation.State().TargetSearch, Automation::kSearchIdle);
    EXPECT_EQ(automation.State().AdjustPhase, 0);
    Run();
    EXPECT_EQ(ItemsSent(), (std::vector<Item>{{33, 5}}));
}

} // namespace

namespace {

class SendHoldTest : public AdjustLinkFixture {};

TEST_F(SendHoldTest, AnItemTheRadioTookLeavesDrawingFreeToSendAVanishedRadioHoldsIt) {
    workspace.work.SetByte(164, 70);
    ASSERT_EQ(automation.SendAdjustCommand(164), 0);
    Run();
    EXPECT_EQ(workspace.radio.GetByte(164), 70);
    EXPECT_FALSE(automation.State().RedrawSendsHeld);

    boxes.Expect("", plat::IDOK);
    workspace.work.SetByte(164, 71);
    ASSERT_EQ(automation.SendAdjustCommand(164), 0);
    sim.Disappear();
    Run();
    EXPECT_EQ(boxes.Log().size(), 1u);
    EXPECT_EQ(workspace.radio.GetByte(164), 70);
    EXPECT_TRUE(automation.State().RedrawSendsHeld);
}

} // namespace
