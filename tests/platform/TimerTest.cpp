#include "platform/Fatal.h"
#include "platform/QtServices.h"
#include "tests/support/ManualScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <vector>

using namespace plat;

TEST(ManualScheduler, FiresTimersInTimeOrderWithTheClockAtEachFiring) {
    ManualScheduler s(1000);
    std::vector<std::pair<char, uint32_t>> fired;
    auto a = s.CreateTimer([&] { fired.push_back({'a', s.TickCount()}); });
    auto b = s.CreateTimer([&] { fired.push_back({'b', s.TickCount()}); });
    a->Start(10);
    b->Start(25);
    s.Advance(50);
    std::vector<std::pair<char, uint32_t>> want = {{'a', 1010}, {'a', 1020}, {'b', 1025}, {'a', 1030},
                                                   {'a', 1040}, {'a', 1050}, {'b', 1050}};
    EXPECT_EQ(fired, want);
    EXPECT_EQ(s.TickCount(), 1050u);
}

TEST(ManualScheduler, ATimerMayDestroyItselfOrAnotherWhileFiring) {
    ManualScheduler s;
    int aCount = 0, bCount = 0;
    std::unique_ptr<Timer> a, b;
    a = s.CreateTimer([&] {
        ++aCount;
        b.reset();
        a.reset();
    });
    b = s.CreateTimer([&] { ++bCount; });
    a->Start(5);
    b->Start(5);
    s.Advance(100);
    EXPECT_EQ(aCount, 1);
    EXPECT_EQ(bCount, 0);
    EXPECT_EQ(s.ActiveTimers(), 0);
}

TEST(ManualScheduler, ClockWrapsAt32Bits) {
    ManualScheduler s;
    s.SetTick(0xFFFFFFF0u);
    s.Advance(0x20);
    EXPECT_EQ(s.TickCount(), 0x10u);
}

TEST(QtTimerService, TimerDestroyedInsideItsOwnCallbackIsSafe) {
    // The program's services leave the default fatal handler behind when they
    // go; the tests' throwing one must come back for the tests after this one.
    struct RestoreFatalHandler {
        ~RestoreFatalHandler() { SetFatalHandler(ThrowingFatalHandler); }
    } restore;
    QtServices services;
    int calls = 0;
    std::unique_ptr<Timer> t = Timers().CreateTimer([&] {
        ++calls;
        t.reset();
    });
    t->Start(1);
    QElapsedTimer clock;
    clock.start();
    while (calls == 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(t, nullptr);
}
