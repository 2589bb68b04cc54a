#include "tests/support/ManualScheduler.h"

namespace plat {

class ManualScheduler::ManualTimer : public Timer {
public:
    ManualTimer(ManualScheduler* owner, uint64_t id, std::function<void()> fn)
        : owner_(owner), id_(id), fn_(std::move(fn)) {}
    ~ManualTimer() override {
        if (owner_) owner_->entries_.erase(id_);
    }
    void Start(int intervalMs) override {
        if (!owner_) return;
        Entry& e = owner_->entries_.at(id_);
        e.active = true;
        e.interval = intervalMs > 0 ? static_cast<uint64_t>(intervalMs) : 1;
        e.due = owner_->now_ + e.interval;
    }
    void Stop() override {
        if (owner_) owner_->entries_.at(id_).active = false;
    }
    void Fire() { fn_(); }
    void Orphan() { owner_ = nullptr; }

private:
    ManualScheduler* owner_;
    uint64_t id_;
    std::function<void()> fn_;
};

ManualScheduler::~ManualScheduler() {
    for (auto& [id, e] : entries_)
        e.timer->Orphan();
    if (installed_) {
        SetClock(oldClock_);
        SetTimers(oldTimers_);
    }
}

std::unique_ptr<Timer> ManualScheduler::CreateTimer(std::function<void()> onTimeout) {
    uint64_t id = nextId_++;
    auto timer = std::make_unique<ManualTimer>(this, id, std::move(onTimeout));
    entries_[id] = Entry{timer.get()};
    return timer;
}

void ManualScheduler::Advance(uint64_t ms) {
    const uint64_t target = now_ + ms;
    for (;;) {
        uint64_t bestId = 0;
        bool found = false;
        uint64_t bestDue = 0;
        for (auto& [id, e] : entries_) {
            if (e.active && e.due <= target && (!found || e.due < bestDue)) {
                found = true;
                bestDue = e.due;
                bestId = id;
            }
        }
        if (!found) break;
        Entry& e = entries_.at(bestId);
        now_ = e.due;
        e.due += e.interval;
        // The callback may stop, restart or destroy this or any other timer.
        e.timer->Fire();
    }
    // A callback that advanced the time itself may already have gone past the target.
    if (now_ < target) now_ = target;
}

int ManualScheduler::ActiveTimers() const {
    int n = 0;
    for (auto& [id, e] : entries_)
        n += e.active ? 1 : 0;
    return n;
}

void ManualScheduler::Install() {
    if (installed_) return;
    oldClock_ = &SystemClock();
    oldTimers_ = &Timers();
    SetClock(this);
    SetTimers(this);
    installed_ = true;
}

} // namespace plat
