// Whole-program runs of QT4410R and QT4411R on the offscreen platform, with
// their settings and lock files in a temp dir.
#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using testsupport::TempDir;

// A failure to come up within this long is a broken program, not a slow one.
constexpr auto kPatience = std::chrono::seconds(60);

class ProgramRunTest : public ::testing::Test {
protected:
    std::string IniPath() const { return dir_.File("config") + "/Morv/Tolvane.ini"; }
    std::string AdjustIniPath() const { return dir_.File("config") + "/Morv/TolvaneADJ.ini"; }

    // Starts the program (QT4410R unless named); its stderr goes to the file
    // errPath when given.
    pid_t Launch(const std::string& runtimeDir = {}, const std::string& errPath = {},
                 const std::string& name = "QT4410R") {
        std::map<std::string, std::string> env;
        for (char** e = environ; *e; ++e) {
            const char* eq = std::strchr(*e, '=');
            if (eq) env[std::string(*e, static_cast<size_t>(eq - *e))] = eq + 1;
        }
        env["QT_QPA_PLATFORM"] = "offscreen";
        env["XDG_CONFIG_HOME"] = dir_.File("config");
        env["XDG_RUNTIME_DIR"] = runtimeDir.empty() ? dir_.Path() : runtimeDir;
        std::vector<std::string> texts;
        for (const auto& [name, value] : env)
            texts.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (std::string& t : texts)
            envp.push_back(t.data());
        envp.push_back(nullptr);
        std::string program = TOLVANE_BIN_DIR "/" + name;
        char* argv[] = {program.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!errPath.empty())
            posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                             0644);
        // As from a terminal, whatever started the tests: a run in the
        // background of a script would ignore Ctrl+C and hang-up.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGHUP);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, envp.data()), 0);
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    // The exit code of a process that ended by itself, -1 otherwise.
    static int Wait(pid_t pid) {
        int status = 0;
        if (waitpid(pid, &status, 0) != pid) return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // True once the process holds the single-instance lock, which it takes
    // when it starts; false when it ended or never took it.
    static bool WaitForLock(pid_t pid) {
        const auto end = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < end) {
            std::ifstream locks("/proc/locks");
            std::string line;
            while (std::getline(locks, line)) {
                std::istringstream in(line);
                std::string n, kind, mode, access;
                pid_t holder = 0;
                if (in >> n >> kind >> mode >> access >> holder && kind == "FLOCK" && holder == pid)
                    return true;
            }
            if (waitpid(pid, nullptr, WNOHANG) == pid) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    TempDir dir_;
};

TEST_F(ProgramRunTest, OneInstanceRunsAndWritesItsSettingsWhenItEnds) {
    const pid_t first = Launch();
    ASSERT_TRUE(WaitForLock(first));

    // A second start ends at once, silently and successfully, and touches no settings.
    EXPECT_EQ(Wait(Launch()), 0);
    EXPECT_FALSE(std::filesystem::exists(IniPath())) << "settings are written at the end of the first only";

    // The session's end closes the window; unmodified data asks nothing.
    ASSERT_EQ(kill(first, SIGTERM), 0);
    EXPECT_EQ(Wait(first), 0);
    ASSERT_TRUE(std::filesystem::exists(IniPath()));
    plat::IniSettingsStore defaults(IniPath());
    EXPECT_EQ(defaults.Get("Global", "BBT").integer, 753951);
    EXPECT_EQ(defaults.Get("Setup", "ModelType").integer, 5);

    // The next run reads them and keeps them; a second instance meanwhile leaves the file alone.
    plat::IniSettingsStore edit(IniPath());
    edit.SetInteger("Setup", "ModelType", 3);
    edit.SetInteger("Window Position", "SplitterV", 150);
    ASSERT_TRUE(edit.Flush());
    const std::string before = TempDir::ReadFile(IniPath());
    const pid_t again = Launch();
    ASSERT_TRUE(WaitForLock(again));
    EXPECT_EQ(Wait(Launch()), 0);
    EXPECT_EQ(TempDir::ReadFile(IniPath()), before);
    ASSERT_EQ(kill(again, SIGTERM), 0);
    EXPECT_EQ(Wait(again), 0);
    plat::IniSettingsStore kept(IniPath());
    EXPECT_EQ(kept.Get("Setup", "ModelType").integer, 3);
    EXPECT_EQ(kept.Get("Window Position", "SplitterV").integer, 150);
}

// The adjustment program runs beside the cloning program with its own lock
// and settings, and a second one of it ends at once without a word.
TEST_F(ProgramRunTest, TheAdjustmentProgramRunsBesideTheCloningProgramOnItsOwnSettings) {
    const pid_t cloning = Launch();
    ASSERT_TRUE(WaitForLock(cloning));
    const pid_t adjust = Launch({}, dir_.File("adjust.err"), "QT4411R");
    ASSERT_TRUE(WaitForLock(adjust)) << TempDir::ReadFile(dir_.File("adjust.err"));

    EXPECT_EQ(Wait(Launch({}, dir_.File("second.err"), "QT4411R")), 0);
    EXPECT_EQ(TempDir::ReadFile(dir_.File("second.err")), "");
    EXPECT_FALSE(std::filesystem::exists(AdjustIniPath()));

    ASSERT_EQ(kill(adjust, SIGTERM), 0);
    EXPECT_EQ(Wait(adjust), 0);
    ASSERT_TRUE(std::filesystem::exists(AdjustIniPath()));
    EXPECT_EQ(plat::IniSettingsStore(AdjustIniPath()).Get("Global", "BBT").integer, 753951);
    EXPECT_FALSE(std::filesystem::exists(IniPath())) << "the cloning program's settings are its own";

    ASSERT_EQ(kill(cloning, SIGTERM), 0);
    EXPECT_EQ(Wait(cloning), 0);
    EXPECT_TRUE(std::filesystem::exists(IniPath()));
}

class EndingSignalTest : public ProgramRunTest, public ::testing::WithParamInterface<int> {};

// Ctrl+C in the terminal that started the program, and closing that
// terminal, end it as the session's end does: the settings are written.
TEST_P(EndingSignalTest, ClosesTheProgramAndWritesTheSettings) {
    const pid_t program = Launch();
    ASSERT_TRUE(WaitForLock(program));
    ASSERT_EQ(kill(program, GetParam()), 0);
    EXPECT_EQ(Wait(program), 0);
    ASSERT_TRUE(std::filesystem::exists(IniPath()));
    plat::IniSettingsStore written(IniPath());
    EXPECT_EQ(written.Get("Global", "BBT").integer, 753951);
}

INSTANTIATE_TEST_SUITE_P(Signals, EndingSignalTest, ::testing::Values(SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(sigabbrev_np(info.param));
                         });

TEST_F(ProgramRunTest, ALockFileThatCannotBeMadeIsAnErrorNotASecondInstance) {
    // The runtime "directory" is a plain file, so no lock file can be created in it.
    const std::string notADir = dir_.File("not-a-dir");
    std::ofstream(notADir) << "x";
    const std::string err = dir_.File("stderr.txt");
    EXPECT_EQ(Wait(Launch(notADir, err)), 1);
    EXPECT_NE(TempDir::ReadFile(err).find("QT4410R"), std::string::npos) << TempDir::ReadFile(err);
    EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

} // namespace
