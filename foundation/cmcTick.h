#pragma once
#include <cstdint>

// A time-out measured against the system tick counter, correct across its
// wrap at 2^32 ms as long as the duration itself is shorter.
class cmcTick {
public:
    // (Re)arms the time-out: ms from now.
    void Start(uint32_t ms);
    // Milliseconds left; 0 once elapsed (the time-out then turns inactive) and 0 when inactive.
    uint32_t Remaining();

private:
    uint32_t duration_ = 0;
    uint32_t start_ = 0;
    bool active_ = false;
};
