#include "platform/FailingFileSystem.h"

#include <cerrno>

namespace plat {

FailingFileSystem::FailingFileSystem(Call call, int error) : call_(call), error_(error), previous_(&Files()) {
    SetFileSystem(this);
}

FailingFileSystem::~FailingFileSystem() {
    SetFileSystem(previous_ == this ? nullptr : previous_);
}

int FailingFileSystem::Failed() {
    errno = error_;
    return -1;
}

int FailingFileSystem::Open(const std::string& path, int flags, mode_t mode) {
    return call_ == Call::kCreate ? Failed() : PosixFileSystem::Open(path, flags, mode);
}

ssize_t FailingFileSystem::Write(int fd, const void* data, size_t size) {
    if (call_ == Call::kWrite) {
        if (writesBeforeFailure <= 0) return Failed();
        --writesBeforeFailure;
    }
    const ssize_t n = PosixFileSystem::Write(fd, data, size);
    if (n > 0) written += static_cast<size_t>(n);
    return n;
}

int FailingFileSystem::Sync(int fd) {
    return call_ == Call::kSync ? Failed() : PosixFileSystem::Sync(fd);
}

int FailingFileSystem::Close(int fd) {
    if (call_ != Call::kClose) return PosixFileSystem::Close(fd);
    PosixFileSystem::Close(fd);
    return Failed();
}

int FailingFileSystem::Rename(const std::string& from, const std::string& to) {
    return call_ == Call::kRename ? Failed() : PosixFileSystem::Rename(from, to);
}

} // namespace plat
