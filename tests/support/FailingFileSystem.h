#pragma once
#include "platform/FileSystem.h"

namespace plat {

// Test double: the file system installed before it, but the chosen call fails
// with the chosen error number, as a full disk (ENOSPC), a read-only disk
// (EROFS) or a refused permission (EACCES) would make it fail. Installed for
// its lifetime; two of them make two calls fail.
class FailingFileSystem : public FileSystem {
public:
    // kCreateUnnamed fails only files made without a name, as a file system
    // that cannot make them does (EOPNOTSUPP); kCreate fails every file.
    enum class Call { kNone, kCreate, kCreateUnnamed, kWrite, kSync, kClose, kRename };

    FailingFileSystem(Call call, int error);
    ~FailingFileSystem() override;
    FailingFileSystem(const FailingFileSystem&) = delete;
    FailingFileSystem& operator=(const FailingFileSystem&) = delete;

    int Open(const std::string& path, int flags, mode_t mode) override;
    ssize_t Write(int fd, const void* data, size_t size) override;
    int Sync(int fd) override;
    int Close(int fd) override;
    int ChangeMode(int fd, mode_t mode) override;
    int Link(int fd, const std::string& path) override;
    int Rename(const std::string& from, const std::string& to) override;
    int Remove(const std::string& path) override;

    // Writes that succeed before the failing one.
    int writesBeforeFailure = 0;

private:
    int Failed();

    Call call_;
    int error_;
    FileSystem& next_;
};

} // namespace plat
