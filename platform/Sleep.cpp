#include "platform/Sleep.h"

#include <chrono>
#include <thread>

namespace plat {

namespace {
SleepService* gSleeper = nullptr;
} // namespace

void ThreadSleep::Sleep(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

SleepService& Sleeper() {
    static ThreadSleep real;
    return gSleeper ? *gSleeper : real;
}

void SetSleeper(SleepService* service) {
    gSleeper = service;
}

ScopedSleeper::ScopedSleeper(SleepService* service) : old_(gSleeper) {
    gSleeper = service;
}

ScopedSleeper::~ScopedSleeper() {
    gSleeper = old_;
}

} // namespace plat
