#include "foundation/cmcTick.h"

#include "platform/Timer.h"

void cmcTick::Start(uint32_t ms) {
    duration_ = ms;
    start_ = plat::SystemClock().TickCount();
    active_ = true;
}

uint32_t cmcTick::Remaining() {
    if (!active_) return 0;
    const uint32_t elapsed = plat::SystemClock().TickCount() - start_;
    if (elapsed < duration_) return duration_ - elapsed;
    active_ = false;
    return 0;
}
