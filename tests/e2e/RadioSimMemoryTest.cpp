// The simulator's --memory as a user gives it: a file of the radio's memory is
// taken (a short one with the rest erased), anything else is refused at once
// with a message and exit code 2, whatever it is.
#include "tests/support/TempDir.h"
#include "tools/radiosim/RadioSim.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using testsupport::TempDir;

constexpr size_t kMemory = static_cast<size_t>(radiosim::RadioSim::kMemorySize);

struct Outcome {
    int exitCode = -1; // -1: killed after the patience ran out, or ended by a signal
    std::string err;
};

// Runs radiosim with the arguments; one that has not ended within ten seconds is killed.
Outcome RunSim(std::vector<std::string> args, const TempDir& dir) {
    const std::string errPath = dir.File("stderr.txt");
    std::string program = TOLVANE_BIN_DIR "/radiosim";
    std::vector<char*> argv{program.data()};
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    Outcome out;
    if (spawned != 0) return out;
    int status = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            out.err = TempDir::ReadFile(errPath);
            return out;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) out.exitCode = WEXITSTATUS(status);
    out.err = TempDir::ReadFile(errPath);
    return out;
}

std::string Bytes(size_t n) {
    std::string b(n, '\0');
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<char>(i * 7 + (i >> 8));
    return b;
}

struct MemoryCase {
    const char* name;
    std::string (*make)(const TempDir& dir); // the path given to --memory
    int exitCode;
    const char* message;     // part of stderr; empty: nothing on stderr
    std::string (*dumped)(); // the memory written by --dump, when taken
};

const MemoryCase kCases[] = {
    {"folder", [](const TempDir& dir) { return dir.Path(); }, 2, "is a folder", nullptr},
    {"dev_zero", [](const TempDir&) { return std::string("/dev/zero"); }, 2, "is a character device",
     nullptr},
    {"fifo",
     [](const TempDir& dir) {
         const std::string path = dir.File("fifo");
         mkfifo(path.c_str(), 0600);
         return path;
     },
     2, "is a FIFO", nullptr},
    {"oversized",
     [](const TempDir& dir) {
         const std::string path = dir.File("big.bin");
         TempDir::WriteFile(path, Bytes(kMemory + 1));
         return path;
     },
     2, "more than the radio's memory of 65408 bytes (addresses 0 to FF7F)", nullptr},
    {"missing", [](const TempDir& dir) { return dir.File("none.bin"); }, 2, "No such file or directory",
     nullptr},
    {"whole",
     [](const TempDir& dir) {
         const std::string path = dir.File("whole.bin");
         TempDir::WriteFile(path, Bytes(kMemory));
         return path;
     },
     0, "", [] { return Bytes(kMemory); }},
    {"short",
     [](const TempDir& dir) {
         const std::string path = dir.File("short.bin");
         TempDir::WriteFile(path, Bytes(100));
         return path;
     },
     0, "", [] { return Bytes(100) + std::string(kMemory - 100, '\xFF'); }},
};

TEST(RadioSimMemoryTest, TakesARegularFileOfAtMostTheMemorySizeAndRefusesEverythingElseAtOnce) {
    for (const MemoryCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string dump = dir.File("dump.bin");
        const Outcome out = RunSim({"--memory", c.make(dir), "--dump", dump}, dir);
        EXPECT_EQ(out.exitCode, c.exitCode) << out.err;
        if (*c.message) {
            EXPECT_NE(out.err.find(c.message), std::string::npos) << out.err;
            EXPECT_EQ(out.err.find("radiosim: --memory: "), 0u) << out.err;
            EXPECT_FALSE(std::filesystem::exists(dump));
        } else {
            EXPECT_EQ(out.err, "");
        }
        if (c.dumped) {
            EXPECT_EQ(TempDir::ReadFile(dump), c.dumped());
        }
    }
}

} // namespace
