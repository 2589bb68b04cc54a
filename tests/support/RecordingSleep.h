#pragma once
#include "platform/Sleep.h"

#include <vector>

namespace plat {

// Test double: remembers each pause and returns at once.
class RecordingSleep : public SleepService {
public:
    void Sleep(int ms) override { pauses.push_back(ms); }
    std::vector<int> pauses;
};

} // namespace plat
