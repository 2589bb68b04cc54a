#pragma once
#include <string>

namespace plat {

// The single-instance guard: an exclusive flock on a lock file named after the
// mutex, in $XDG_RUNTIME_DIR (the temp dir when unset). The lock goes with the
// process, however it ends.
class InstanceLock {
public:
    enum class State { Acquired, HeldElsewhere, Failed };

    explicit InstanceLock(const std::string& mutexName);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State GetState() const { return state_; }
    // Why the lock file could not be used (State::Failed).
    const std::string& Error() const { return error_; }
    // Gives the lock up; the file stays.
    void Release();

    static std::string LockFilePath(const std::string& mutexName);

private:
    int fd_ = -1;
    State state_ = State::Failed;
    std::string error_;
};

} // namespace plat
