// Adjustment commands and lists as the application manager sends them: where
// the value lands and when, the completions' events, the A/D read list and the
// clone area.
#include "tests/adjust/AdjustLinkFixture.h"
#include "tests/support/ParamNames.h"

namespace {

using namespace adjtest;

class AdjustCommandsTest : public AdjustLinkFixture {
protected:
    std::string Head(int code) { return texts.GetTextLine("GI_Mess_CloneErr_Head", code); }
};

TEST_F(AdjustCommandsTest, AWorkingImageByteFollowsAtOnceTheRadioCopyOnlyOnceTheRadioHasIt) {
    automation.SendAdjustCommand(19, 0x42, &workspace.work.Data()[84], false);
    EXPECT_EQ(workspace.work.GetByte(84), 0x42);
    Run();
    automation.SendAdjustCommand(20, 0x43, &workspace.radio.Data()[85], false);
    EXPECT_EQ(workspace.radio.GetByte(85), 0);
    Run();
    EXPECT_EQ(workspace.radio.GetByte(85), 0x43);
    EXPECT_EQ(ItemsSent(), (std::vector<Item>{{19, 0x42}, {20, 0x43}}));
    EXPECT_EQ(CountEvents(evRedrawSheet), 2);
}

TEST_F(AdjustCommandsTest, AFailedCommandLeavesTheRadioCopyAndShowsOneBox) {
    gEnviron->ComPort = 7;
    boxes.Expect("", plat::IDOK);
    automation.SendAdjustCommand(20, 0x43, &workspace.radio.Data()[85], false);
    Run();
    EXPECT_EQ(workspace.radio.GetByte(85), 0);
    EXPECT_EQ(boxes.Log().size(), 1u);
    EXPECT_EQ(CountEvents(evRedrawSheet), 1); // the completion still redraws
    // Redraws send nothing again: the next command is the user's.
    bus.Send(evRedrawSheet);
    bus.Send(evRowDeleted);
    EXPECT_FALSE(man.IsBusy());
}

TEST_F(AdjustCommandsTest, WithReadBackTheTargetTakesTheAnswerWhenItArrives) {
    radiosim::Adjustment a;
    a.floor = 0x21;
    sim.SetAdjustment(a);
    uint8_t target = 0xEE;
    automation.SendAdjustCommand(3, 2, &target, true);
    EXPECT_EQ(target, 0xEE);
    Run();
    EXPECT_EQ(target, 0x21);
}

TEST_F(AdjustCommandsTest, NothingGoesOutWhileTheLinkIsBusyOrTheMainFormDisabled) {
    ASSERT_TRUE(automation.SendAdReadList());
    automation.SendAdjustCommand(19, 7, &workspace.work.Data()[84], false);
    EXPECT_EQ(workspace.work.GetByte(84), 0);
    EXPECT_FALSE(automation.SendAdReadList());
    Run();
    progress->mainEnabled = false;
    automation.SendAdjustCommand(19, 7, &workspace.work.Data()[84], false);
    EXPECT_FALSE(man.IsBusy());
    EXPECT_EQ(workspace.work.GetByte(84), 0);
    for (const Item& i : ItemsSent())
        EXPECT_EQ(i.code, 3);
}

TEST_F(AdjustCommandsTest, TheAdListReadsThirteenSelectorsAndItsCompletionTellsTheOpenWindowFirst) {
    workspace.adWindowOpen = true;
    ASSERT_TRUE(automation.SendAdReadList());
    Run();
    const std::vector<int> selectors = {1, 2, 3, 4, 32, 33, 34, 35, 39, 40, 41, 42, 43};
    std::vector<Item> expected;
    for (int s : selectors)
        expected.push_back({3, s});
    EXPECT_EQ(ItemsSent(), expected);
    for (size_t i = 0; i < selectors.size(); ++i)
        EXPECT_EQ(automation.AdReading(i), sim.Reading(selectors[i])) << "selector " << selectors[i];
    EXPECT_EQ(events, (std::vector<int>{41, 13}));
}

TEST_F(AdjustCommandsTest, AListCompletionWithTheWindowClosedOnlyRedraws) {
    ASSERT_TRUE(automation.SendAdReadList());
    Run();
    EXPECT_EQ(events, std::vector<int>{13});
}

TEST_F(AdjustCommandsTest, TheCommandThatEntersAdjustmentGoesAtAQuarterSecondAStep) {
    stepOnEvents = false;
    const auto elapsed = [this](auto send) {
        const uint64_t start = sched.Now();
        send();
        Run();
        return sched.Now() - start;
    };
    // The same transfer, the speed script played both times.
    const uint64_t single = elapsed([this] { automation.SendAdjustCommand(33, 1, nullptr, false); });
    automation.State().LastLinkSpeed = -1;
    const uint64_t entry = elapsed([this] { automation.EnterAdjustment(); });
    EXPECT_LT(single, 100u);
    EXPECT_GE(entry, 4 * 250u);
    EXPECT_EQ(ItemsSent(), (std::vector<Item>{{33, 1}, {2, 1}}));
}

TEST_F(AdjustCommandsTest, TheCloneAreaSkipsTheFirstPageOnlyForKindZero) {
    struct Case {
        int kind;
        int32_t first;
    };
    for (const Case& c : {Case{0, 256}, Case{1, 0}, Case{5, 0}}) {
        const RangeList area = automation.GetCloneArea(c.kind);
        ASSERT_EQ(area.size(), 2u) << "kind " << c.kind;
        EXPECT_EQ(area[0].first, c.first) << "kind " << c.kind;
        EXPECT_EQ(area[0].last, 0xFF7F) << "kind " << c.kind;
        EXPECT_EQ(area[1].first, 1);
        EXPECT_EQ(area[1].last, 0);
    }
}

TEST_F(AdjustCommandsTest, TheCellsSendAnItemByItsImageByteWithTheWorkingValue) {
    adj::AdjustManager& cells = automation;
    workspace.work.SetByte(108, 0x61);
    workspace.work.SetByte(88, 0x62);
    EXPECT_EQ(cells.SendAdjustCommand(108), 0);
    EXPECT_EQ(cells.SendAdjustCommand(108), 1); // the link is busy
    Run();
    EXPECT_EQ(cells.SendAdjustCommand(88), 0);
    Run();
    EXPECT_EQ(cells.SendAdjustCommand(300), 1); // no item of the radio
    EXPECT_EQ(ItemsSent(), (std::vector<Item>{{13, 0x61}, {64, 88}, {65, 0x62}}));
    EXPECT_EQ(cells.RadioCopy().GetByte(108), 0x61);
    EXPECT_EQ(cells.RadioCopy().GetByte(88), 0x62);
    cells.StartSweep(adj::Sweep::Auto04, 0);
    EXPECT_EQ(cells.State().TargetSearch, 0);
}

} // namespace
