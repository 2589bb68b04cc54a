#pragma once
#include <cstdint>
#include <vector>

// One answer to a send with answer. The caller gets its own copies, so an
// answer stays valid however the bus is used afterwards.
struct cmcEvAns {
    intptr_t p1 = 0;
    intptr_t p2 = 0;
    std::vector<uint8_t> data;

    bool operator==(const cmcEvAns&) const = default;
};
