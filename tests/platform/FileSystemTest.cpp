// Writing a user's file whole: real files in a temp dir, failures injected
// where root would never see them.
#include "platform/FileSystem.h"
#include "tests/support/FailingFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using plat::FailingFileSystem;
using plat::FileWriteError;
using testsupport::TempDir;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// Every test runs twice: with files made without a name, and on a file
// system that cannot make them, where each file gets a name from the start.
class ReplaceFileTest : public ::testing::TestWithParam<bool> {
protected:
    ReplaceFileTest() {
        if (!GetParam())
            noUnnamed_ =
                std::make_unique<FailingFileSystem>(FailingFileSystem::Call::kCreateUnnamed, EOPNOTSUPP);
    }

    TempDir dir_;
    std::unique_ptr<FailingFileSystem> noUnnamed_;
};

TEST_P(ReplaceFileTest, WritesANewFileAndReplacesAnOldOneKeepingItsPermissions) {
    const std::string path = dir_.File("data.icf");
    ASSERT_FALSE(plat::ReplaceFile(path, "first", 0600));
    EXPECT_EQ(TempDir::ReadFile(path), "first");
    EXPECT_EQ(ModeOf(path), 0600u);

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_FALSE(plat::ReplaceFile(path, "second, longer than the first"));
    EXPECT_EQ(TempDir::ReadFile(path), "second, longer than the first");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_EQ(TempDir::Names(dir_.Path()), std::vector<std::string>{"data.icf"});
}

TEST_P(ReplaceFileTest, ThroughALinkTheTargetIsWrittenAndTheLinkStays) {
    std::filesystem::create_directory(dir_.File("store"));
    struct Case {
        const char* name;
        std::string link;   // the path the program is given
        std::string target; // link target as written in the link
        std::string file;   // the file that must receive the text
    } cases[] = {
        {"relative", dir_.File("rel.icf"), "store/a.icf", dir_.File("store/a.icf")},
        {"absolute", dir_.File("abs.icf"), dir_.File("store/b.icf"), dir_.File("store/b.icf")},
        {"chain", dir_.File("chain.icf"), "rel.icf", dir_.File("store/a.icf")},
        {"dangling", dir_.File("new.icf"), "store/new.icf", dir_.File("store/new.icf")},
    };
    TempDir::WriteFile(dir_.File("store/a.icf"), "old a");
    TempDir::WriteFile(dir_.File("store/b.icf"), "old b");
    for (const Case& c : cases)
        ASSERT_EQ(::symlink(c.target.c_str(), c.link.c_str()), 0) << c.name;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileWriteError result = plat::ReplaceFile(c.link, c.name);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.path, c.file);
        EXPECT_TRUE(std::filesystem::is_symlink(c.link)) << "the link is kept";
        EXPECT_EQ(std::filesystem::read_symlink(c.link).string(), c.target);
        EXPECT_EQ(TempDir::ReadFile(c.file), c.name);
    }
    EXPECT_EQ(TempDir::Names(dir_.File("store")), (std::vector<std::string>{"a.icf", "b.icf", "new.icf"}));
}

struct Failure {
    const char* name;
    FailingFileSystem::Call call;
    int error;
    FileWriteError::Step step;
};

class ReplaceFileFailureTest : public ::testing::TestWithParam<std::tuple<bool, Failure>> {};

TEST_P(ReplaceFileFailureTest, LeavesTheOldFileAsItWasAndNoOtherFile) {
    const auto& [unnamed, f] = GetParam();
    TempDir dir;
    const std::string path = dir.File("data.icf");
    TempDir::WriteFile(path, "old");
    // A leftover of another program's way of saving is none of ours.
    TempDir::WriteFile(path + ".tmp", "the user's");
    std::unique_ptr<FailingFileSystem> noUnnamed;
    if (!unnamed)
        noUnnamed = std::make_unique<FailingFileSystem>(FailingFileSystem::Call::kCreateUnnamed, EOPNOTSUPP);
    FileWriteError result;
    {
        FailingFileSystem failing(f.call, f.error);
        result = plat::ReplaceFile(path, std::string(100000, 'x'));
    }
    EXPECT_EQ(result.step, f.step);
    EXPECT_EQ(result.error, f.error);
    EXPECT_EQ(result.path, path);
    EXPECT_EQ(TempDir::ReadFile(path), "old");
    EXPECT_EQ(TempDir::ReadFile(path + ".tmp"), "the user's");
    EXPECT_EQ(TempDir::Names(dir.Path()), (std::vector<std::string>{"data.icf", "data.icf.tmp"}));
}

const Failure kFailures[] = {
    {"read_only", FailingFileSystem::Call::kCreate, EROFS, FileWriteError::kCreate},
    {"no_permission", FailingFileSystem::Call::kCreate, EACCES, FileWriteError::kCreate},
    {"disk_full", FailingFileSystem::Call::kWrite, ENOSPC, FileWriteError::kWrite},
    {"sync", FailingFileSystem::Call::kSync, EIO, FileWriteError::kWrite},
    {"close", FailingFileSystem::Call::kClose, EDQUOT, FileWriteError::kWrite},
    {"rename", FailingFileSystem::Call::kRename, EXDEV, FileWriteError::kReplace},
};

INSTANTIATE_TEST_SUITE_P(Failures, ReplaceFileFailureTest,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(kFailures)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "unnamed_" : "named_") +
                                    std::get<1>(info.param).name;
                         });

TEST_P(ReplaceFileTest, OnlyAFileIsReplaced) {
    ASSERT_EQ(::mkfifo(dir_.File("pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(dir_.File("folder"));
    ASSERT_EQ(::symlink("loop", dir_.File("loop").c_str()), 0);
    struct Case {
        std::string path;
        int error;
    } cases[] = {{dir_.File("folder"), EISDIR},
                 {dir_.File("pipe"), plat::kNotARegularFile},
                 {dir_.File("loop"), ELOOP}};
    for (const Case& c : cases) {
        const FileWriteError result = plat::ReplaceFile(c.path, "x");
        EXPECT_EQ(result.step, FileWriteError::kCreate) << c.path;
        EXPECT_EQ(result.error, c.error) << c.path;
    }
    EXPECT_EQ(TempDir::Names(dir_.Path()), (std::vector<std::string>{"folder", "loop", "pipe"}));
}

// The program dies half way through writing: the old file is whole, and the
// next save leaves nothing beside it either.
class DiesWhileWriting : public plat::PosixFileSystem {
public:
    ssize_t Write(int fd, const void* data, size_t size) override {
        PosixFileSystem::Write(fd, data, size / 2);
        ::raise(SIGKILL);
        return -1;
    }
};

TEST(ReplaceFileCrash, AProgramThatDiesHalfWayLeavesTheOldFileAndNothingElse) {
    TempDir dir;
    const std::string path = dir.File("data.icf");
    TempDir::WriteFile(path, "old");
    for (int crash = 0; crash < 2; ++crash) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DiesWhileWriting dying;
            plat::SetFileSystem(&dying);
            plat::ReplaceFile(path, std::string(1 << 20, 'n'));
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(TempDir::ReadFile(path), "old");
        EXPECT_EQ(TempDir::Names(dir.Path()), std::vector<std::string>{"data.icf"});
    }
    ASSERT_FALSE(plat::ReplaceFile(path, "new"));
    EXPECT_EQ(TempDir::ReadFile(path), "new");
    EXPECT_EQ(TempDir::Names(dir.Path()), std::vector<std::string>{"data.icf"});
}

INSTANTIATE_TEST_SUITE_P(Ways, ReplaceFileTest, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "unnamed" : "named"); });

} // namespace
