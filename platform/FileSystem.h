#pragma once
#include <string>
#include <string_view>
#include <sys/types.h>

namespace plat {

// The file calls that writing a user's file goes through. Each returns what
// its system call returns (-1 with errno set on failure), so a test can make
// any one of them fail as a full disk, a read-only disk or a refused
// permission would, also where the tests run as root.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual int Open(const std::string& path, int flags, mode_t mode) = 0;
    virtual ssize_t Write(int fd, const void* data, size_t size) = 0;
    virtual int Sync(int fd) = 0;
    virtual int Close(int fd) = 0;
    virtual int ChangeMode(int fd, mode_t mode) = 0;
    // Gives an open file a name (also one opened without a name); -1 with EEXIST when the name is taken.
    virtual int Link(int fd, const std::string& path) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int Remove(const std::string& path) = 0;
};

// The calls of the system itself.
class PosixFileSystem : public FileSystem {
public:
    int Open(const std::string& path, int flags, mode_t mode) override;
    ssize_t Write(int fd, const void* data, size_t size) override;
    int Sync(int fd) override;
    int Close(int fd) override;
    int ChangeMode(int fd, mode_t mode) override;
    int Link(int fd, const std::string& path) override;
    int Rename(const std::string& from, const std::string& to) override;
    int Remove(const std::string& path) override;
};

// The installed file system; the POSIX one unless a test installs another.
FileSystem& Files();
// Null puts the POSIX one back.
void SetFileSystem(FileSystem* files);

// In place of an error number: the path names a device, a pipe or a socket, not a file.
constexpr int kNotARegularFile = -1;

// Why a file could not be written: the system's error number and the step.
struct FileWriteError {
    enum Step { kNone, kCreate, kWrite, kReplace };
    Step step = kNone;
    int error = 0;
    // The file that was to be written: the path, or the file its links lead to.
    std::string path;

    explicit operator bool() const { return step != kNone; }
};

// The file a path names once its symbolic links are followed, also when the
// last one leads to a file that is not there yet; the path itself when it is
// no link. Links that go round in a circle give the path itself.
std::string FollowLinks(const std::string& path);

// Writes a whole file so that it is replaced only once it has been written
// whole: a failure at any step, or a crash, leaves the old file as it was and
// no temporary file behind. Through a symbolic link the link's target is
// written and the link stays. An existing file keeps its permissions; a new
// one gets newFileMode less the umask. A folder in the file's place, or a
// file the user may not write, is not replaced (EISDIR, EACCES at kCreate).
FileWriteError ReplaceFile(const std::string& path, std::string_view contents, mode_t newFileMode = 0666);

} // namespace plat
