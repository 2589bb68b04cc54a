#pragma once
#include "platform/Timer.h"

#include <memory>

// A timer-driven handler on the GUI thread: the program's only means of
// periodic or deferred work. The handler is never re-entered by its own timer,
// and a task can free itself once its current run is over.
class cmcTask {
public:
    using Handler = void (*)(void* user, cmcTask* task);

    cmcTask();
    ~cmcTask();
    cmcTask(const cmcTask&) = delete;
    cmcTask& operator=(const cmcTask&) = delete;

    // Stores the handler; the timer is started by SetInterval only.
    void SetHandler(Handler handler, void* user);
    // ms < 0 stops the timer, 0 runs it at 1 ms. Returns whether it is now stopped.
    bool SetInterval(int ms);
    // Forgets the handler and stops the timer.
    void Stop();
    // The task deletes itself on its next timer event once no run of its handler is in progress.
    void Release();

    // How every owner gets rid of its task. A task whose handler is running (the
    // owner may be torn down from inside that very handler) or whose timer still
    // runs is stopped and released; only an idle, stopped task is deleted at once.
    static void Dispose(cmcTask* task);

    int Interval() const { return interval_; }
    bool IsStopped() const { return stopped_; }

private:
    void OnTimer();

    Handler handler_ = nullptr;
    void* user_ = nullptr;
    int interval_ = -1;
    bool busy_ = false;
    bool release_ = false;
    bool stopped_ = true;
    std::unique_ptr<plat::Timer> timer_;
};
