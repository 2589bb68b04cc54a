#include "platform/SettingsStore.h"
#include "tests/support/FailingFileSystem.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

using namespace plat;
using testsupport::TempDir;

TEST(IniSettingsStore, RoundTripsTypedValuesThroughTheFile) {
    TempDir dir;
    std::string path = dir.File("Morv/Tolvane.ini");
    {
        IniSettingsStore store(path);
        EXPECT_FALSE(store.HasGroup("Global"));
        store.SetInteger("Global", "BBT", 753951);
        store.SetInteger("Global", "ComSpeedHigh", -3);
        store.SetString("Global", "Current Directory", " /home/a \"b\"\\c\n ");
        store.SetString("Recent File List", "Recent0", "");
        ASSERT_TRUE(store.Flush());
    }
    IniSettingsStore back(path);
    EXPECT_TRUE(back.HasGroup("Recent File List"));
    SettingsValue v = back.Get("Global", "BBT");
    EXPECT_EQ(v.type, ValueType::Integer);
    EXPECT_EQ(v.integer, 753951);
    EXPECT_EQ(back.Get("Global", "ComSpeedHigh").integer, -3);
    v = back.Get("Global", "Current Directory");
    EXPECT_EQ(v.type, ValueType::String);
    EXPECT_EQ(v.text, " /home/a \"b\"\\c\n ");
    EXPECT_EQ(back.Get("Recent File List", "Recent0").type, ValueType::String);
    EXPECT_EQ(back.Get("Global", "Nothing").type, ValueType::Missing);
}

TEST(IniSettingsStore, KeepsIntegersAndStringsApart) {
    TempDir dir;
    std::string path = dir.File("t.ini");
    TempDir::WriteFile(path,
                       "[Global]\r\nComPort=\"3\"\r\nCurrent Directory=42\r\nBBT=abc\r\nBig=4294967295\r\n");
    IniSettingsStore store(path);
    EXPECT_EQ(store.Get("Global", "ComPort").type, ValueType::String);
    EXPECT_EQ(store.Get("Global", "Current Directory").type, ValueType::Integer);
    SettingsValue junk = store.Get("Global", "BBT");
    EXPECT_EQ(junk.type, ValueType::Missing);
    EXPECT_FALSE(junk.text.empty()) << "present but of a foreign type";
    EXPECT_EQ(store.Get("Global", "Big").integer, -1) << "a DWORD's upper half reads back negative";
}

TEST(IniSettingsStore, FailedFlushLeavesTheOldFile) {
    TempDir dir;
    std::string path = dir.File("s.ini");
    TempDir::WriteFile(path, "[Global]\nBBT=1\n");
    IniSettingsStore store(path);
    store.SetInteger("Global", "BBT", 2);
    {
        plat::FailingFileSystem full(plat::FailingFileSystem::Call::kWrite, ENOSPC);
        EXPECT_FALSE(store.Flush());
    }
    EXPECT_EQ(TempDir::ReadFile(path), "[Global]\nBBT=1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
        << "no temporary file is left";
}

TEST(IniSettingsStore, FlushCreatesMissingDirectoriesAndReplacesAtomically) {
    TempDir dir;
    std::string path = dir.File("a/b/c.ini");
    IniSettingsStore store(path);
    store.SetInteger("G", "X", 1);
    ASSERT_TRUE(store.Flush());
    EXPECT_EQ(TempDir::ReadFile(path), "[G]\nX=1\n\n");
    struct stat st;
    EXPECT_NE(stat((path + ".tmp").c_str(), &st), 0) << "no temporary file is left behind";
}

TEST(SettingsFilePath, FollowsTheRegistryKeyUnderTheConfigHome) {
    testsupport::ScopedEnv env("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(SettingsFilePath("Software\\Morv\\Tolvane"), "/cfg/Morv/Tolvane.ini");
    EXPECT_EQ(SettingsFilePath("Software\\Morv\\TolvaneADJ"), "/cfg/Morv/TolvaneADJ.ini");
}
