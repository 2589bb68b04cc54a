#include "platform/FileSystem.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {
namespace {

PosixFileSystem gPosix;
FileSystem* gFiles = &gPosix;

// The kernel's own limit on links followed in one path.
constexpr int kMaxLinks = 40;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name beside the file that no file has yet, for as long as nobody else
// creates it: the caller makes sure by creating it exclusively.
class TempNames {
public:
    explicit TempNames(const std::string& target)
        : prefix_(FolderOf(target) + "/." + NameOf(target) + "."),
          random_(static_cast<uint32_t>(std::random_device{}()) ^
                  static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                  static_cast<uint32_t>(::getpid())) {}

    std::string Next() {
        static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        std::string name = prefix_;
        for (int i = 0; i < 6; ++i)
            name += kChars[random_() % (sizeof kChars - 1)];
        return name;
    }

    // Enough tries that only a folder full of such names runs out.
    static constexpr int kTries = 100;

private:
    std::string prefix_;
    std::mt19937 random_;
};

// A file system that cannot make a file without a name says so in one of these ways.
bool UnnamedUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

class Writer {
public:
    Writer(FileSystem& fs, FileWriteError& outcome) : fs_(fs), outcome_(outcome) {}

    bool Fail(FileWriteError::Step step, int error) {
        outcome_.step = step;
        outcome_.error = error;
        return false;
    }

    // The whole contents, on the disk.
    bool Fill(int fd, std::string_view contents) {
        const char* p = contents.data();
        size_t left = contents.size();
        while (left > 0) {
            const ssize_t n = fs_.Write(fd, p, left);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return Fail(FileWriteError::kWrite, n < 0 ? errno : EIO);
            p += n;
            left -= static_cast<size_t>(n);
        }
        if (fs_.Sync(fd) != 0) return Fail(FileWriteError::kWrite, errno);
        return true;
    }

    // Closing reports a write the disk refused late (network file systems do).
    bool Close(int fd) {
        if (fs_.Close(fd) != 0) return Fail(FileWriteError::kWrite, errno);
        return true;
    }

    bool Replace(const std::string& temp, const std::string& target) {
        if (fs_.Rename(temp, target) == 0) return true;
        const int error = errno;
        fs_.Remove(temp);
        return Fail(FileWriteError::kReplace, error);
    }

private:
    FileSystem& fs_;
    FileWriteError& outcome_;
};

} // namespace

int PosixFileSystem::Open(const std::string& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags, mode);
}

ssize_t PosixFileSystem::Write(int fd, const void* data, size_t size) {
    return ::write(fd, data, size);
}

int PosixFileSystem::Sync(int fd) {
    return ::fsync(fd);
}

int PosixFileSystem::Close(int fd) {
    return ::close(fd);
}

int PosixFileSystem::ChangeMode(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int PosixFileSystem::Link(int fd, const std::string& path) {
    // The descriptor's entry in /proc names the file, also one without a name of its own.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW);
}

int PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str());
}

int PosixFileSystem::Remove(const std::string& path) {
    return ::unlink(path.c_str());
}

FileSystem& Files() {
    return *gFiles;
}

void SetFileSystem(FileSystem* files) {
    gFiles = files ? files : &gPosix;
}

std::string FollowLinks(const std::string& path) {
    std::string at = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(at.c_str(), target, sizeof target - 1);
        if (n <= 0) return at;
        const std::string next(target, static_cast<size_t>(n));
        at = next.front() == '/' ? next : FolderOf(at) + "/" + next;
    }
    return path;
}

FileWriteError ReplaceFile(const std::string& path, std::string_view contents, mode_t newFileMode) {
    FileWriteError outcome;
    outcome.path = FollowLinks(path);
    const std::string& target = outcome.path;
    Writer writer(Files(), outcome);
    FileSystem& fs = Files();

    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (exists && S_ISLNK(old.st_mode)) return writer.Fail(FileWriteError::kCreate, ELOOP), outcome;
    if (exists && S_ISDIR(old.st_mode)) return writer.Fail(FileWriteError::kCreate, EISDIR), outcome;
    // A device or a pipe would be replaced by a plain file, not written.
    if (exists && !S_ISREG(old.st_mode))
        return writer.Fail(FileWriteError::kCreate, kNotARegularFile), outcome;
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return writer.Fail(FileWriteError::kCreate, errno), outcome;
    const mode_t mode = exists ? old.st_mode & 07777 : newFileMode;
    TempNames names(target);

    // A file without a name first: should the program end half way, nothing is left behind.
    int fd = fs.Open(FolderOf(target), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd < 0 && !UnnamedUnsupported(errno)) return writer.Fail(FileWriteError::kCreate, errno), outcome;
    if (fd >= 0) {
        if (exists) fs.ChangeMode(fd, mode); // the umask must not narrow what the file had
        if (!writer.Fill(fd, contents)) return fs.Close(fd), outcome;
        // A new file takes its name at once; an old one is replaced through a name beside it.
        int linked = exists ? -1 : fs.Link(fd, target);
        std::string temp;
        for (int i = 0; linked != 0 && i < TempNames::kTries; ++i) {
            temp = names.Next();
            linked = fs.Link(fd, temp);
            if (linked != 0 && errno != EEXIST) break;
        }
        if (linked != 0) {
            const int error = errno;
            fs.Close(fd);
            // Without /proc the file cannot be named: write it again with a name from the start.
            if (error != ENOENT) return writer.Fail(FileWriteError::kReplace, error), outcome;
        } else {
            if (!writer.Close(fd)) {
                fs.Remove(temp.empty() ? target : temp);
                return outcome;
            }
            if (!temp.empty()) writer.Replace(temp, target);
            return outcome;
        }
    }

    std::string temp;
    for (int i = 0; i < TempNames::kTries; ++i) {
        temp = names.Next();
        fd = fs.Open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) break;
    }
    if (fd < 0) return writer.Fail(FileWriteError::kCreate, errno), outcome;
    if (exists) fs.ChangeMode(fd, mode);
    if (!writer.Fill(fd, contents)) {
        fs.Close(fd);
        fs.Remove(temp);
        return outcome;
    }
    if (!writer.Close(fd)) {
        fs.Remove(temp);
        return outcome;
    }
    writer.Replace(temp, target);
    return outcome;
}

} // namespace plat
