#include "tests/support/FailingFileSystem.h"

#include <cerrno>
#include <fcntl.h>

namespace plat {

FailingFileSystem::FailingFileSystem(Call call, int error) : call_(call), error_(error), next_(Files()) {
    SetFileSystem(this);
}

FailingFileSystem::~FailingFileSystem() {
    SetFileSystem(&next_);
}

int FailingFileSystem::Failed() {
    errno = error_;
    return -1;
}

int FailingFileSystem::Open(const std::string& path, int flags, mode_t mode) {
    const bool unnamed = (flags & O_TMPFILE) == O_TMPFILE;
    if (call_ == Call::kCreate || (call_ == Call::kCreateUnnamed && unnamed)) return Failed();
    return next_.Open(path, flags, mode);
}

ssize_t FailingFileSystem::Write(int fd, const void* data, size_t size) {
    if (call_ == Call::kWrite) {
        if (writesBeforeFailure <= 0) return Failed();
        --writesBeforeFailure;
    }
    return next_.Write(fd, data, size);
}

int FailingFileSystem::Sync(int fd) {
    return call_ == Call::kSync ? Failed() : next_.Sync(fd);
}

int FailingFileSystem::Close(int fd) {
    const int closed = next_.Close(fd);
    return call_ == Call::kClose ? Failed() : closed;
}

int FailingFileSystem::ChangeMode(int fd, mode_t mode) {
    return next_.ChangeMode(fd, mode);
}

int FailingFileSystem::Link(int fd, const std::string& path) {
    return next_.Link(fd, path);
}

int FailingFileSystem::Rename(const std::string& from, const std::string& to) {
    return call_ == Call::kRename ? Failed() : next_.Rename(from, to);
}

int FailingFileSystem::Remove(const std::string& path) {
    return next_.Remove(path);
}

} // namespace plat
