#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace plat {

std::string InstanceLock::LockFilePath(const std::string& mutexName) {
    std::string dir;
    if (const char* x = std::getenv("XDG_RUNTIME_DIR"); x && *x)
        dir = x;
    else if (const char* t = std::getenv("TMPDIR"); t && *t)
        dir = t;
    else
        dir = "/tmp";
    std::string name;
    for (char c : mutexName)
        name += (c == '/' || c == '\\') ? '_' : c;
    return dir + "/" + name + ".lock";
}

InstanceLock::InstanceLock(const std::string& mutexName) {
    std::string path = LockFilePath(mutexName);
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error_ = "cannot create the lock file " + path + ": " + std::strerror(errno);
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        state_ = State::Acquired;
        return;
    }
    if (errno == EWOULDBLOCK) {
        state_ = State::HeldElsewhere;
    } else {
        error_ = "cannot lock " + path + ": " + std::strerror(errno);
    }
    ::close(fd_);
    fd_ = -1;
}

InstanceLock::~InstanceLock() {
    Release();
}

void InstanceLock::Release() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace plat
