// Whole-program runs of QT4410R and QT4411R on the offscreen platform, with
// their settings and lock files in a temp dir.
#include "platform/SettingsStore.h"
#include "tests/support/ProgramProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/types.h>

namespace {

using testsupport::TempDir;

class ProgramRunTest : public ::testing::Test {
protected:
    std::string IniPath() const { return dir_.File("config") + "/Morv/Tolvane.ini"; }
    std::string AdjustIniPath() const { return dir_.File("config") + "/Morv/TolvaneADJ.ini"; }

    // Starts the program (QT4410R unless named) with its settings and lock
    // file in the temp dir; its stderr goes to the file errPath when given.
    pid_t Launch(const std::string& runtimeDir = {}, const std::string& errPath = {},
                 const std::string& name = "QT4410R") {
        const pid_t pid =
            testsupport::LaunchProgram(name,
                                       {{"QT_QPA_PLATFORM", "offscreen"},
                                        {"XDG_CONFIG_HOME", dir_.File("config")},
                                        {"XDG_RUNTIME_DIR", runtimeDir.empty() ? dir_.Path() : runtimeDir}},
                                       errPath);
        EXPECT_GT(pid, 0);
        return pid;
    }
    static int Wait(pid_t pid) { return testsupport::WaitForExit(pid); }
    static bool WaitForLock(pid_t pid) { return testsupport::WaitForLock(pid); }

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
