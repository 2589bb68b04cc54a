#pragma once
#include <cstdint>
#include <functional>
#include <memory>

namespace plat {

// The system tick counter: milliseconds since an arbitrary start, wrapping at 2^32.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t TickCount() = 0;
};

// A periodic timer on the GUI thread. Destroying it stops it, also from inside
// its own callback.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
};

class TimerService {
public:
    virtual ~TimerService() = default;
    virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) = 0;
};

// The installed services. The clock defaults to the steady clock; timers must be
// installed (Qt in the programs, the manual scheduler in tests).
Clock& SystemClock();
void SetClock(Clock* clock);
TimerService& Timers();
void SetTimers(TimerService* service);

class SteadyClock : public Clock {
public:
    uint32_t TickCount() override;
};

} // namespace plat
