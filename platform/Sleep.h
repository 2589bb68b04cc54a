#pragma once

namespace plat {

// Pauses on the calling thread (the GUI thread's short paced waits).
class SleepService {
public:
    virtual ~SleepService() = default;
    virtual void Sleep(int ms) = 0;
};

// Really waits; the default.
class ThreadSleep : public SleepService {
public:
    void Sleep(int ms) override;
};

SleepService& Sleeper();
// Null puts the default back.
void SetSleeper(SleepService* service);

// Installs a sleeper for the scope, then puts the one before back.
class ScopedSleeper {
public:
    explicit ScopedSleeper(SleepService* service);
    ~ScopedSleeper();
    ScopedSleeper(const ScopedSleeper&) = delete;
    ScopedSleeper& operator=(const ScopedSleeper&) = delete;

private:
    SleepService* old_;
};

} // namespace plat
