#include "foundation/cmcTask.h"

cmcTask::cmcTask() : timer_(plat::Timers().CreateTimer([this] { OnTimer(); })) {}

cmcTask::~cmcTask() = default;

void cmcTask::SetHandler(Handler handler, void* user) {
    handler_ = handler;
    user_ = user;
}

bool cmcTask::SetInterval(int ms) {
    interval_ = ms;
    if (ms < 0) {
        timer_->Stop();
        stopped_ = true;
    } else {
        timer_->Start(ms == 0 ? 1 : ms);
        stopped_ = false;
    }
    return stopped_;
}

void cmcTask::Stop() {
    handler_ = nullptr;
    user_ = nullptr;
    SetInterval(-1);
}

void cmcTask::Release() {
    release_ = true;
    SetInterval(1);
}

void cmcTask::Dispose(cmcTask* task) {
    if (!task) return;
    // Only a task whose handler is running must outlive this call; any other can
    // go at once, since destroying its timer stops it. Deferring those too would
    // leak the tasks disposed after the last timer event of the program.
    if (task->busy_) {
        task->Stop();
        task->Release();
    } else {
        delete task;
    }
}

void cmcTask::OnTimer() {
    // A handler that pumps messages after releasing its task must find the task
    // still there when it returns, so the delete waits until the run is over;
    // the timer keeps ticking at 1 ms and a later event does it.
    if (busy_) return;
    if (release_) {
        delete this;
        return;
    }
    if (!handler_) return;
    busy_ = true;
    handler_(user_, this);
    busy_ = false;
}
