#include "tests/support/RecordingAdjustManager.h"

#include <gtest/gtest.h>

namespace {

// The adjustment state starts as the manager's constructor leaves it: no
// procedure running, every search idle, no link speed yet.
TEST(AdjustManagerTest, StateStartsIdle) {
    adj::RecordingAdjustManager manager;
    const adj::AdjustState& s = manager.State();
    EXPECT_EQ(s.AdjustPhase, static_cast<uint8_t>(adj::AdjustPhaseCode::None));
    EXPECT_EQ(s.LastLinkSpeed, -1);
    EXPECT_EQ(s.WorkBytes[0], 1);
    EXPECT_EQ(s.ValueCounter, 257);
    EXPECT_EQ(s.PreviousValue, 257);
    EXPECT_EQ(s.PeakSearch, 7);
    EXPECT_EQ(s.TargetSearch, 4);
    EXPECT_EQ(manager.RadioCopy().GetSize(), 148298);
}

TEST(AdjustManagerTest, TheInstalledManagerIsTheScopes) {
    adj::RecordingAdjustManager manager;
    {
        adj::ScopedAdjustManager scope(&manager);
        ASSERT_EQ(adj::gAdjustManager, &manager);
        adj::gAdjustManager->SendAdjustCommand(12);
        adj::gAdjustManager->StartSweep(adj::Sweep::BpfT2, 40);
    }
    EXPECT_EQ(adj::gAdjustManager, nullptr);
    EXPECT_EQ(manager.calls, (std::vector<adj::RecordingAdjustManager::Call>{{"SendAdjustCommand", 12, 0},
                                                                             {"StartSweep", 2, 40}}));
}

} // namespace
