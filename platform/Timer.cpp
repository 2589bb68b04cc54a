#include "platform/Timer.h"

#include "platform/Fatal.h"

#include <chrono>

namespace plat {
namespace {

class NoTimers : public TimerService {
public:
    std::unique_ptr<Timer> CreateTimer(std::function<void()>) override {
        Fatal("No timer service installed.");
    }
};

SteadyClock gSteady;
Clock* gClock = &gSteady;
NoTimers gNoTimers;
TimerService* gTimers = &gNoTimers;

} // namespace

uint32_t SteadyClock::TickCount() {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(ms.count());
}

Clock& SystemClock() {
    return *gClock;
}
void SetClock(Clock* clock) {
    gClock = clock ? clock : &gSteady;
}
TimerService& Timers() {
    return *gTimers;
}
void SetTimers(TimerService* service) {
    gTimers = service ? service : &gNoTimers;
}

} // namespace plat
