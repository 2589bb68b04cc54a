#pragma once
#include "platform/Timer.h"

#include <cstdint>
#include <map>

namespace plat {

// Test double for the clock and the timers: virtual time that moves only when
// the test says so. Timers fire at every multiple of their interval that the
// time passes, in time order (creation order for ties), with the clock set to
// the moment each one fires.
class ManualScheduler : public Clock, public TimerService {
public:
    explicit ManualScheduler(uint32_t startTick = 0) : now_(startTick) {}
    ~ManualScheduler() override;

    uint32_t TickCount() override { return static_cast<uint32_t>(now_); }
    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) override;

    // Moves virtual time forward by ms, firing the timers that fall due.
    void Advance(uint64_t ms);
    // Sets the clock without firing anything (for wrap-around cases).
    void SetTick(uint32_t tick) { now_ = tick; }
    uint64_t Now() const { return now_; }
    // Number of timers currently running.
    int ActiveTimers() const;

    // Installs this scheduler as clock and timer service; restores the old ones on destruction.
    void Install();

private:
    class ManualTimer;
    struct Entry {
        ManualTimer* timer;
        bool active = false;
        uint64_t interval = 0;
        uint64_t due = 0;
    };
    uint64_t now_;
    uint64_t nextId_ = 0;
    std::map<uint64_t, Entry> entries_;
    bool installed_ = false;
    Clock* oldClock_ = nullptr;
    TimerService* oldTimers_ = nullptr;
};

} // namespace plat
