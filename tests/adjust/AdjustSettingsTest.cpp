#include "adjust/AdjustProfile.h"
#include "foundation/indEnviron.h"
#include "platform/Screen.h"
#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

using testsupport::ScopedEnv;
using testsupport::TempDir;

// The adjustment program's settings object as its start-up makes it, over
// an INI file under a temporary configuration folder, on a 1024 x 768 screen.
class AdjustSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { plat::SetScreen(&screen_); }
    void TearDown() override { plat::SetScreen(nullptr); }

    std::unique_ptr<indEnviron> Open() {
        const ProgramProfile& p = adj::AdjustProfile();
        return std::make_unique<indEnviron>(p.mutexName, p.settingsKey, p.settingsFile,
                                            p.comSpeedHighDefault);
    }
    std::string IniPath() const { return config_.File("Morv/TolvaneADJ.ini"); }
    void WriteIni(const std::string& text) {
        std::filesystem::create_directories(config_.File("Morv"));
        TempDir::WriteFile(IniPath(), text);
    }

    TempDir config_;
    TempDir runtime_;
    ScopedEnv configEnv_{"XDG_CONFIG_HOME", config_.Path()};
    ScopedEnv runtimeEnv_{"XDG_RUNTIME_DIR", runtime_.Path()};
    plat::FixedScreen screen_{{0, 0, 1024, 768}, {0, 0, 1024, 768}};
};

TEST_F(AdjustSettingsTest, EmptySettingsGiveTheDefaultsWithTheSlowLink) {
    auto env = Open();
    ASSERT_TRUE(env->IsFirstInstance());
    EXPECT_EQ(env->Marker, indEnviron::ValidMarker);
    EXPECT_EQ(env->WindowWidth, 800);
    EXPECT_EQ(env->WindowHeight, 600);
    EXPECT_EQ(env->WindowLeft, 112);
    EXPECT_EQ(env->WindowTop, 50);
    EXPECT_EQ(env->ComSpeedHigh, 0);
    EXPECT_EQ(env->ComPort, 1);
    EXPECT_EQ(env->FontSizePercentage, 100);
    EXPECT_EQ(env->SplitterV, 200);
    EXPECT_EQ(env->ModelType, 5);
    EXPECT_EQ(env->AdWindowFlag, 0);
}

TEST_F(AdjustSettingsTest, StoredValuesAreHeldToTheirRanges) {
    struct Case {
        const char* name;
        int32_t stored;
        int32_t comPort, fontSize, comSpeedHigh;
    };
    const Case cases[] = {
        {"ComPort 0", 0, 1, 100, 1},        {"ComPort 300", 300, 256, 100, 1},
        {"FontSize 10", 10, 3, 25, 1},      {"FontSize 5000", 5000, 3, 1000, 1},
        {"ComSpeedHigh -1", -1, 3, 100, 0}, {"ComSpeedHigh 7", 7, 3, 100, 1},
    };
    for (const Case& c : cases) {
        const std::string n = c.name;
        const int32_t port = n.starts_with("ComPort") ? c.stored : 3;
        const int32_t font = n.starts_with("FontSize") ? c.stored : 100;
        const int32_t high = n.starts_with("ComSpeedHigh") ? c.stored : 1;
        WriteIni(
            "[Global]\nBBT=753951\nComPort=" + std::to_string(port) +
            "\nComSpeedHigh=" + std::to_string(high) +
            "\nCurrent Directory=\"\"\n[View Option]\nFontSize Percentage=" + std::to_string(font) +
            "\nToolbar Visible=1\n[Window Position]\nLeft=1\nTop=2\nWidth=300\nHeight=200\nSplitterV=90\n"
            "[Setup]\nModelType=3\n");
        auto env = Open();
        EXPECT_EQ(env->ComPort, c.comPort) << c.name;
        EXPECT_EQ(env->FontSizePercentage, c.fontSize) << c.name;
        EXPECT_EQ(env->ComSpeedHigh, c.comSpeedHigh) << c.name;
        EXPECT_EQ(env->ModelType, 3) << c.name;
    }
}

TEST_F(AdjustSettingsTest, ASecondInstanceWritesNothingAndTheClonersFileIsUntouched) {
    WriteIni("[Global]\nBBT=1\n");
    std::filesystem::create_directories(config_.File("Morv"));
    TempDir::WriteFile(config_.File("Morv/Tolvane.ini"), "[Global]\nBBT=753951\nComPort=7\n");
    {
        auto first = Open();
        ASSERT_TRUE(first->IsFirstInstance());
        {
            auto second = Open();
            EXPECT_FALSE(second->IsFirstInstance());
            EXPECT_EQ(second->Marker, 0);
            second->ComPort = 9;
        }
        // The second one went without writing: the file is as it was.
        EXPECT_EQ(TempDir::ReadFile(IniPath()), "[Global]\nBBT=1\n");
    }
    // The first one wrote its defaults at its end; the cloning program's file is its own.
    plat::IniSettingsStore written(IniPath());
    EXPECT_EQ(written.Get("Global", "ComSpeedHigh").integer, 0);
    EXPECT_EQ(written.Get("Global", "BBT").integer, indEnviron::ValidMarker);
    EXPECT_EQ(TempDir::ReadFile(config_.File("Morv/Tolvane.ini")), "[Global]\nBBT=753951\nComPort=7\n");
}

TEST_F(AdjustSettingsTest, WindowPlacementsLoadOnFirstUse) {
    WriteIni(
        "[Global]\nBBT=753951\nComPort=1\nComSpeedHigh=0\nCurrent Directory=\"\"\n"
        "[View Option]\nFontSize Percentage=100\nToolbar Visible=1\n"
        "[Window Position]\nLeft=1\nTop=2\nWidth=300\nHeight=200\nSplitterV=90\n[Setup]\nModelType=3\n"
        "[EditForm Position]\nGI_Sheet_Win_AD_Left=10\nGI_Sheet_Win_AD_Top=20\nGI_Sheet_Win_AD_Width=30\n"
        "GI_Sheet_Win_AD_Height=40\nGI_Sheet_Win_AD_WindowState=1\nHalf_Left=1\n");
    auto env = Open();
    indEditFormPos* p = env->FindOrLoadEditFormPos("GI_Sheet_Win_AD");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Left, 10);
    EXPECT_EQ(p->Height, 40);
    EXPECT_EQ(p->WindowState, 1);
    EXPECT_EQ(p->Col, -1);
    EXPECT_EQ(p->Flag, 0);
    EXPECT_EQ(env->FindOrLoadEditFormPos("Half"), nullptr);
}

TEST(AdjustProfileTest, NamesItsOwnGuardSettingsAndCaption) {
    const ProgramProfile& p = adj::AdjustProfile();
    EXPECT_EQ(p.programName, "QT4411R");
    EXPECT_EQ(p.mutexName, "Morv TolvaneADJ APP Exclusive Mutex");
    EXPECT_EQ(p.settingsKey, "Software\\Morv\\TolvaneADJ");
    EXPECT_EQ(p.titleKey, "GI_Sys_AppTitle_ADJ");
    EXPECT_EQ(p.boxCaptionKey, "GI_Sys_AppTitle_ADJ");
    EXPECT_TRUE(p.helpOverlay.empty());
    EXPECT_TRUE(p.AcceptsMapRevision(1));
    EXPECT_FALSE(p.AcceptsMapRevision(0));
    EXPECT_FALSE(p.AcceptsMapRevision(-1));
    EXPECT_FALSE(p.AcceptsMapRevision(2));
}

} // namespace
