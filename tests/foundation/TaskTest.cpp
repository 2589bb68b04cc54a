#include "foundation/cmcTask.h"
#include "foundation/cmcTick.h"
#include "tests/support/ManualScheduler.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

class TaskTest : public ::testing::Test {
protected:
    TaskTest() { sched.Install(); }

    // The handler of every task here: runs the test's body for it.
    static void Run(void* user, cmcTask* task) { (*static_cast<std::function<void(cmcTask*)>*>(user))(task); }

    cmcTask* MakeTask(std::function<void(cmcTask*)>& body) {
        auto* task = new cmcTask;
        task->SetHandler(&TaskTest::Run, &body);
        return task;
    }

    plat::ManualScheduler sched;
};

TEST_F(TaskTest, IntervalDecidesWhetherAndHowOftenTheHandlerRuns) {
    struct Case {
        int ms;
        bool stopped;
        int callsIn10ms;
    };
    const Case cases[] = {{-5, true, 0}, {-1, true, 0}, {0, false, 10}, {1, false, 10}, {4, false, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        int calls = 0;
        std::function<void(cmcTask*)> body = [&](cmcTask*) { ++calls; };
        cmcTask* task = MakeTask(body);
        task->SetInterval(7);
        EXPECT_EQ(task->SetInterval(c.ms), c.stopped);
        EXPECT_EQ(task->IsStopped(), c.stopped);
        EXPECT_EQ(task->Interval(), c.ms);
        sched.Advance(10);
        EXPECT_EQ(calls, c.callsIn10ms);
        task->Stop();
        cmcTask::Dispose(task);
    }
}

TEST_F(TaskTest, SetHandlerDoesNotStartAndStopForgetsTheHandler) {
    int calls = 0;
    std::function<void(cmcTask*)> body = [&](cmcTask*) { ++calls; };
    cmcTask* task = MakeTask(body);
    sched.Advance(10);
    EXPECT_EQ(calls, 0);
    task->SetInterval(1);
    sched.Advance(1);
    EXPECT_EQ(calls, 1);
    task->Stop();
    EXPECT_TRUE(task->IsStopped());
    task->SetInterval(1);
    sched.Advance(5);
    EXPECT_EQ(calls, 1);
    cmcTask::Dispose(task);
    sched.Advance(1);
    EXPECT_EQ(sched.ActiveTimers(), 0);
}

TEST_F(TaskTest, TimerEventsDuringARunAreDroppedNotQueued) {
    int calls = 0, depth = 0, maxDepth = 0;
    std::function<void(cmcTask*)> body = [&](cmcTask*) {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        // Stands for a modal box pumping messages: the task's own timer falls due 5 times meanwhile.
        if (calls == 1) sched.Advance(5);
        --depth;
    };
    cmcTask* task = MakeTask(body);
    task->SetInterval(1);
    sched.Advance(10);
    EXPECT_EQ(maxDepth, 1);
    // The run at 1 ms, none for 2..6, then 7, 8, 9 and 10.
    EXPECT_EQ(calls, 5);
    task->Stop();
    cmcTask::Dispose(task);
}

// A handler that ends its own task, the way an owner torn down from inside the
// handler does; with or without pumping messages before it returns.
TEST_F(TaskTest, HandlerThatEndsItsOwnTaskFinishesAndTheTaskGoesOnTheNextEvent) {
    enum Ending { Release, DisposeRunning, DisposeStopped };
    for (Ending ending : {Release, DisposeRunning, DisposeStopped}) {
        for (bool pump : {false, true}) {
            SCOPED_TRACE(testing::Message() << "ending " << ending << " pump " << pump);
            int calls = 0;
            bool finished = false;
            std::function<void(cmcTask*)> body = [&](cmcTask* task) {
                ++calls;
                switch (ending) {
                case Release:
                    task->Release();
                    break;
                case DisposeRunning:
                    cmcTask::Dispose(task);
                    break;
                case DisposeStopped:
                    task->SetInterval(-1);
                    cmcTask::Dispose(task);
                    break;
                }
                if (pump) sched.Advance(5);
                finished = true;
            };
            cmcTask* task = MakeTask(body);
            task->SetInterval(3);
            sched.Advance(3);
            EXPECT_TRUE(finished);
            EXPECT_EQ(calls, 1);
            // Still alive after the run, its timer set to free it. (A pumping run
            // leaves the scheduler's clock behind that timer's next due time.)
            EXPECT_EQ(sched.ActiveTimers(), 1);
            sched.Advance(pump ? 10 : 1);
            EXPECT_EQ(sched.ActiveTimers(), 0);
            EXPECT_EQ(calls, 1);
        }
    }
}

TEST_F(TaskTest, DisposeOutsideTheHandlerFreesAtOnceRunningTimerOrNot) {
    int calls = 0;
    std::function<void(cmcTask*)> body = [&](cmcTask*) { ++calls; };
    cmcTask* running = MakeTask(body);
    running->SetInterval(10);
    cmcTask::Dispose(running);
    EXPECT_EQ(sched.ActiveTimers(), 0) << "its timer went with it";
    sched.Advance(50);
    EXPECT_EQ(calls, 0);

    cmcTask::Dispose(MakeTask(body));
    cmcTask::Dispose(nullptr);
}

TEST_F(TaskTest, TickRemainingAcrossTheWrap) {
    struct Case {
        uint32_t start, ms, now, remaining;
    };
    const Case cases[] = {
        {0xFFFFFFF6u, 100, 0xFFFFFFF6u, 100},
        {0xFFFFFFF6u, 100, 0xFFFFFFFFu, 91},
        {0xFFFFFFF6u, 100, 30, 60},
        {0xFFFFFFF6u, 100, 89, 1},
        {0xFFFFFFF6u, 100, 90, 0},
        {1000, 0, 1000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " + " << c.ms << " at " << c.now);
        cmcTick tick;
        sched.SetTick(c.start);
        tick.Start(c.ms);
        sched.SetTick(c.now);
        EXPECT_EQ(tick.Remaining(), c.remaining);
    }
}

TEST_F(TaskTest, TickTurnsInactiveOnceElapsedAndNeverStartedGivesZero) {
    cmcTick tick;
    EXPECT_EQ(tick.Remaining(), 0u);
    sched.SetTick(500);
    tick.Start(20);
    sched.SetTick(520);
    EXPECT_EQ(tick.Remaining(), 0u);
    // Inactive now: even a clock that reads earlier again gives nothing left.
    sched.SetTick(505);
    EXPECT_EQ(tick.Remaining(), 0u);
    tick.Start(20);
    EXPECT_EQ(tick.Remaining(), 20u);
}

} // namespace
