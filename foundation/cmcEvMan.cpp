#include "foundation/cmcEvMan.h"

#include "foundation/cmcTask.h"

namespace {

// Keeps a counter raised for the length of a scope, also when a listener throws.
class ScopedCount {
public:
    explicit ScopedCount(int& count) : count_(count) { ++count_; }
    ~ScopedCount() { --count_; }
    ScopedCount(const ScopedCount&) = delete;
    ScopedCount& operator=(const ScopedCount&) = delete;

private:
    int& count_;
};

std::vector<uint8_t> CopyBlock(const void* data, size_t length) {
    if (!data || length == 0) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + length);
}

} // namespace

cmcEvMan::cmcEvMan() : task_(new cmcTask) {
    task_->SetHandler(&cmcEvMan::OnTick, this);
    task_->SetInterval(10);
}

cmcEvMan::~cmcEvMan() {
    // Queued events go with their queue, undelivered, and the listeners with their list.
    cmcTask::Dispose(task_);
}

void cmcEvMan::AddListener(Callback callback, void* user) {
    if (!callback) return;
    RemoveListener(callback, user);
    listeners_.push_front(Listener{callback, user, false});
}

void cmcEvMan::RemoveListener(Callback callback, void* user) {
    if (!callback) return;
    for (Listener& l : listeners_)
        if (l.callback == callback && l.user == user) l.removed = true;
}

cmcEvent cmcEvMan::MakeEvent(int32_t type, int32_t mode, intptr_t p1, intptr_t p2, const void* data,
                             size_t length) {
    return cmcEvent{type, mode, p1, p2, CopyBlock(data, length)};
}

void cmcEvMan::Deliver(const cmcEvent& ev) {
    ScopedCount delivering(delivering_);
    // Removal only marks and additions go to the front, so the walk's node and
    // everything after it stay in place whatever the callbacks do.
    for (auto it = listeners_.begin(); it != listeners_.end(); ++it)
        if (!it->removed) it->callback(it->user, ev);
}

void cmcEvMan::Enqueue(int32_t type, intptr_t p1, intptr_t p2, const void* data, size_t length) {
    queue_.push_back(Queued{MakeEvent(type, evModePosted, p1, p2, data, length), true, false});
}

void cmcEvMan::Send(int32_t type, intptr_t p1, intptr_t p2) {
    Deliver(MakeEvent(type, evModeSent, p1, p2, nullptr, 0));
}

void cmcEvMan::Post(int32_t type, intptr_t p1, intptr_t p2) {
    Enqueue(type, p1, p2, nullptr, 0);
}

void cmcEvMan::SendText(int32_t type, intptr_t p1, intptr_t p2, const std::string& text) {
    Deliver(MakeEvent(type, evModeSent, p1, p2, text.c_str(), text.size() + 1));
}

void cmcEvMan::SendTextOnly(int32_t type, const std::string& text) {
    SendText(type, 0, 0, text);
}

void cmcEvMan::PostText(int32_t type, intptr_t p1, intptr_t p2, const std::string& text) {
    Enqueue(type, p1, p2, text.c_str(), text.size() + 1);
}

void cmcEvMan::PostData(int32_t type, const void* data, size_t length) {
    Enqueue(type, 0, 0, data, length);
}

std::vector<cmcEvAns> cmcEvMan::SendWithAnswer(int32_t type, intptr_t p1, intptr_t p2) {
    std::vector<cmcEvAns> answers;
    struct Restore {
        std::vector<cmcEvAns>*& slot;
        std::vector<cmcEvAns>* outer;
        ~Restore() { slot = outer; }
    } restore{answers_, answers_};
    answers_ = &answers;
    Deliver(MakeEvent(type, evModeSentWithAnswer, p1, p2, nullptr, 0));
    return answers;
}

void cmcEvMan::Answer(intptr_t p1, intptr_t p2) {
    if (answers_) answers_->push_back(cmcEvAns{p1, p2, {}});
}

void cmcEvMan::AnswerData(const void* data, size_t length) {
    if (answers_) answers_->push_back(cmcEvAns{0, 0, CopyBlock(data, length)});
}

void cmcEvMan::OnTick(void* user, cmcTask*) {
    static_cast<cmcEvMan*>(user)->Dispatch();
}

void cmcEvMan::Dispatch() {
    // Only what was queued before this tick goes out now; events posted by the
    // listeners are appended fresh and wait for the next tick.
    for (Queued& q : queue_)
        q.fresh = false;
    for (auto it = queue_.begin(); it != queue_.end(); ++it) {
        if (it->done || it->fresh) continue;
        Deliver(it->ev);
        it->done = true;
    }
    queue_.remove_if([](const Queued& q) { return q.done; });
    if (delivering_ == 0) listeners_.remove_if([](const Listener& l) { return l.removed; });
}
