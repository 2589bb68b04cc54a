#pragma once
#include "platform/FileSystem.h"

namespace plat {

// Test double: the system's calls, but the chosen one fails with the chosen
// error number, as a full disk (ENOSPC), a read-only disk (EROFS) or a refused
// permission (EACCES) would make it fail. Installed for its lifetime.
class FailingFileSystem : public PosixFileSystem {
public:
    enum class Call { kNone, kCreate, kWrite, kSync, kClose, kRename };

    FailingFileSystem(Call call, int error);
    ~FailingFileSystem() override;
    FailingFileSystem(const FailingFileSystem&) = delete;
    FailingFileSystem& operator=(const FailingFileSystem&) = delete;

    int Open(const std::string& path, int flags, mode_t mode) override;
    ssize_t Write(int fd, const void* data, size_t size) override;
    int Sync(int fd) override;
    int Close(int fd) override;
    int Rename(const std::string& from, const std::string& to) override;

    // Bytes that reached the disk before the failing write.
    size_t written = 0;
    // Writes that succeed before the failing one.
    int writesBeforeFailure = 0;

private:
    int Failed();

    Call call_;
    int error_;
    FileSystem* previous_;
};

} // namespace plat
