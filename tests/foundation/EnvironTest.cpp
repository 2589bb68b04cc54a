#include "foundation/indEnviron.h"
#include "platform/InstanceLock.h"
#include "platform/Screen.h"
#include "platform/SettingsStore.h"
#include "tests/support/FailingFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <ostream>
#include <sys/stat.h>
#include <vector>

using plat::MemorySettingsStore;
using plat::SettingsValue;
using plat::ValueType;
using testsupport::ScopedEnv;
using testsupport::TempDir;

namespace {

const char* const kMutex = "Morv Tolvane APP Exclusive Mutex";
const char* const kKey = "Software\\Morv\\Tolvane";

// Every setting of the object, to compare whole sets at once.
struct Fields {
    int32_t marker, comPort, comSpeedHigh, fontSize, toolbar;
    std::string directory;
    std::vector<std::string> recent;
    int32_t left, top, width, height, splitter, model;
    bool operator==(const Fields&) const = default;
};

void PrintTo(const Fields& f, std::ostream* os) {
    *os << "{BBT " << f.marker << ", port " << f.comPort << ", high " << f.comSpeedHigh << ", font "
        << f.fontSize << ", toolbar " << f.toolbar << ", dir '" << f.directory << "', recent [";
    for (const std::string& r : f.recent)
        *os << "'" << r << "' ";
    *os << "], window " << f.left << "," << f.top << "," << f.width << "," << f.height << ", splitter "
        << f.splitter << ", model " << f.model << "}";
}

Fields Of(const indEnviron& e) {
    Fields f{e.Marker,           e.ComPort,   e.ComSpeedHigh, e.FontSizePercentage, e.ToolbarVisible,
             e.CurrentDirectory, {},          e.WindowLeft,   e.WindowTop,          e.WindowWidth,
             e.WindowHeight,     e.SplitterV, e.ModelType};
    for (int i = 0; i < e.Recent.Count(); ++i)
        f.recent.push_back(e.Recent.Path(i));
    return f;
}

// On the 1024 x 768 screen of the fixture.
const Fields kDefaults{753951, 1, 1, 100, 1, "", {}, 112, 50, 800, 600, 200, 5};

// A complete set in which nothing is a default. Missing recent values read as
// empty texts, and the one empty entry they leave stays at the end.
const Fields kStored{753951, 3,  0,   150, 0,   "/home/u", {"/home/u/a.icf", "/b.icf", ""},
                     -5,     20, 700, 500, 250, 2};

void StoreValid(MemorySettingsStore& s) {
    s.SetInteger("Global", "BBT", 753951);
    s.SetInteger("Global", "ComPort", 3);
    s.SetInteger("Global", "ComSpeedHigh", 0);
    s.SetString("Global", "Current Directory", "/home/u");
    s.SetString("Recent File List", "Recent0", "/home/u/a.icf");
    s.SetString("Recent File List", "Recent1", "/b.icf");
    s.SetInteger("View Option", "FontSize Percentage", 150);
    s.SetInteger("View Option", "Toolbar Visible", 0);
    s.SetInteger("Window Position", "Left", -5);
    s.SetInteger("Window Position", "Top", 20);
    s.SetInteger("Window Position", "Width", 700);
    s.SetInteger("Window Position", "Height", 500);
    s.SetInteger("Window Position", "SplitterV", 250);
    s.SetInteger("Setup", "ModelType", 2);
}

const char* const kValidIni =
    "[Global]\nBBT=753951\nComPort=3\nComSpeedHigh=0\nCurrent Directory=\"/home/u\"\n"
    "[Recent File List]\nRecent0=\"/home/u/a.icf\"\nRecent1=\"/b.icf\"\n"
    "[View Option]\nFontSize Percentage=150\nToolbar Visible=0\n"
    "[Window Position]\nLeft=-5\nTop=20\nWidth=700\nHeight=500\nSplitterV=250\n"
    "[Setup]\nModelType=2\n";

class EnvironTest : public ::testing::Test {
protected:
    void SetUp() override { plat::SetScreen(&screen_); }
    void TearDown() override { plat::SetScreen(nullptr); }

    std::string IniPath() const { return config_.File("Morv/Tolvane.ini"); }
    void WriteIni(const std::string& text) const {
        ASSERT_EQ(mkdir(config_.File("Morv").c_str(), 0700), 0);
        TempDir::WriteFile(IniPath(), text);
    }

    TempDir runtime_, config_;
    ScopedEnv runtimeEnv_{"XDG_RUNTIME_DIR", runtime_.Path()};
    ScopedEnv configEnv_{"XDG_CONFIG_HOME", config_.Path()};
    plat::FixedScreen screen_{{0, 0, 1024, 768}, {0, 0, 1024, 768}};
};

TEST_F(EnvironTest, EmptyStoreGivesDefaultsSizedToThePrimaryScreen) {
    struct Case {
        int screenWidth, screenHeight;
        int32_t left, top, width, height;
    } cases[] = {
        {1024, 768, 112, 50, 800, 600},
        {640, 480, 32, 14, 576, 432}, // top 48 * 0.3 = 14.4
        {1000, 700, 100, 30, 800, 600},
    };
    for (const Case& c : cases) {
        screen_.screen_ = {0, 0, c.screenWidth, c.screenHeight};
        MemorySettingsStore store;
        indEnviron env(kMutex, kKey, store);
        EXPECT_TRUE(env.IsFirstInstance());
        EXPECT_FALSE(env.LockFailed());
        Fields expected = kDefaults;
        expected.left = c.left;
        expected.top = c.top;
        expected.width = c.width;
        expected.height = c.height;
        EXPECT_EQ(Of(env), expected) << c.screenWidth << "x" << c.screenHeight;
    }
}

TEST_F(EnvironTest, CompleteStoreIsReadAsStored) {
    MemorySettingsStore store;
    StoreValid(store);
    indEnviron env(kMutex, kKey, store);
    EXPECT_EQ(Of(env), kStored);
}

TEST_F(EnvironTest, MarkerOtherThanTheValidOneGivesDefaults) {
    for (int32_t marker : {0, 1, 753950, -753951}) {
        MemorySettingsStore store;
        StoreValid(store);
        store.SetInteger("Global", "BBT", marker);
        indEnviron env(kMutex, kKey, store);
        EXPECT_EQ(Of(env), kDefaults) << marker;
    }
}

TEST_F(EnvironTest, OutOfRangeValuesAreClamped) {
    struct Case {
        const char* group;
        const char* name;
        int32_t stored;
        int32_t indEnviron::*field;
        int32_t read;
    } cases[] = {
        {"Global", "ComPort", 0, &indEnviron::ComPort, 1},
        {"Global", "ComPort", 300, &indEnviron::ComPort, 256},
        {"Global", "ComPort", 256, &indEnviron::ComPort, 256},
        {"Global", "ComSpeedHigh", 7, &indEnviron::ComSpeedHigh, 1},
        {"Global", "ComSpeedHigh", -3, &indEnviron::ComSpeedHigh, 0},
        {"View Option", "FontSize Percentage", 5, &indEnviron::FontSizePercentage, 25},
        {"View Option", "FontSize Percentage", 5000, &indEnviron::FontSizePercentage, 1000},
        {"View Option", "FontSize Percentage", 25, &indEnviron::FontSizePercentage, 25},
        {"View Option", "Toolbar Visible", 5, &indEnviron::ToolbarVisible, 1},
        {"View Option", "Toolbar Visible", -1, &indEnviron::ToolbarVisible, 1},
        {"Setup", "ModelType", 12, &indEnviron::ModelType, 12},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        StoreValid(store);
        store.SetInteger(c.group, c.name, c.stored);
        indEnviron env(kMutex, kKey, store);
        EXPECT_EQ(env.*c.field, c.read) << c.name << " " << c.stored;
        EXPECT_EQ(env.Marker, 753951);
    }
}

TEST_F(EnvironTest, OneUnusableValueResetsEverySetting) {
    using Change = std::function<void(MemorySettingsStore&)>;
    const SettingsValue foreign{ValueType::Missing, 0, "?"};
    struct Case {
        const char* what;
        Change change;
        bool defaults;
    } cases[] = {
        {"SplitterV missing", [](auto& s) { s.groups_["Window Position"].erase("SplitterV"); }, true},
        {"ComPort a string", [](auto& s) { s.SetString("Global", "ComPort", "3"); }, true},
        {"ModelType of a foreign type", [&](auto& s) { s.groups_["Setup"]["ModelType"] = foreign; }, true},
        {"Setup missing", [](auto& s) { s.groups_.erase("Setup"); }, true},
        {"Current Directory an integer", [](auto& s) { s.SetInteger("Global", "Current Directory", 4); },
         true},
        {"Recent3 an integer, after three were added",
         [](auto& s) { s.SetInteger("Recent File List", "Recent3", 0); }, true},
        {"Recent0 of a foreign type", [&](auto& s) { s.groups_["Recent File List"]["Recent0"] = foreign; },
         true},
        {"Current Directory missing", [](auto& s) { s.groups_["Global"].erase("Current Directory"); }, false},
        {"Recent File List missing", [](auto& s) { s.groups_.erase("Recent File List"); }, false},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        StoreValid(store);
        c.change(store);
        indEnviron env(kMutex, kKey, store);
        if (c.defaults) {
            EXPECT_EQ(Of(env), kDefaults) << c.what;
        } else {
            EXPECT_EQ(env.ComPort, 3) << c.what;
            EXPECT_EQ(env.SplitterV, 250) << c.what;
        }
    }
}

TEST_F(EnvironTest, SettingsFileIsReadAndAStringInPlaceOfAnIntegerResetsIt) {
    WriteIni(kValidIni);
    {
        indEnviron env(kMutex, kKey);
        EXPECT_EQ(Of(env), kStored);
    }
    std::string text = kValidIni;
    text.replace(text.find("ComPort=3"), 9, "ComPort=\"3\"");
    TempDir::WriteFile(IniPath(), text);
    indEnviron env(kMutex, kKey);
    EXPECT_EQ(Of(env), kDefaults);
}

TEST_F(EnvironTest, EmptyRecentValuesLeaveOneEmptyEntryAtTheEnd) {
    MemorySettingsStore store;
    StoreValid(store);
    store.SetString("Recent File List", "Recent0", "");
    store.SetString("Recent File List", "Recent1", "/a.icf");
    store.SetString("Recent File List", "Recent2", "");
    store.SetString("Recent File List", "Recent3", "/b.icf");
    indEnviron env(kMutex, kKey, store);
    EXPECT_EQ(Of(env).recent, (std::vector<std::string>{"/a.icf", "/b.icf", ""}));
}

TEST_F(EnvironTest, FirstStartWritesEveryKeyAtExitAndTheNextStartReadsThemBack) {
    {
        indEnviron env(kMutex, kKey);
        EXPECT_EQ(Of(env), kDefaults);
    }
    plat::IniSettingsStore file(IniPath());
    struct Int {
        const char* group;
        const char* name;
        int32_t value;
    } ints[] = {
        {"Global", "BBT", 753951},
        {"Global", "ComPort", 1},
        {"Global", "ComSpeedHigh", 1},
        {"View Option", "FontSize Percentage", 100},
        {"View Option", "Toolbar Visible", 1},
        {"Window Position", "Left", 112},
        {"Window Position", "Top", 50},
        {"Window Position", "Width", 800},
        {"Window Position", "Height", 600},
        {"Window Position", "SplitterV", 200},
        {"Setup", "ModelType", 5},
    };
    for (const Int& i : ints) {
        SettingsValue v = file.Get(i.group, i.name);
        EXPECT_EQ(v.type, ValueType::Integer) << i.name;
        EXPECT_EQ(v.integer, i.value) << i.name;
    }
    std::vector<std::pair<std::string, std::string>> texts = {{"Global", "Current Directory"}};
    for (int n = 0; n < 10; ++n)
        texts.push_back({"Recent File List", "Recent" + std::to_string(n)});
    for (const auto& [group, name] : texts) {
        SettingsValue v = file.Get(group, name);
        EXPECT_EQ(v.type, ValueType::String) << name;
        EXPECT_EQ(v.text, "") << name;
    }

    {
        indEnviron env(kMutex, kKey);
        env.ComPort = 4;
        env.ModelType = 9;
        env.CurrentDirectory = "/home/u";
        env.Recent.AddTop("/x.icf");
        env.Recent.AddTop("/home/u/y.icf");
    }
    indEnviron env(kMutex, kKey);
    EXPECT_EQ(env.ComPort, 4);
    EXPECT_EQ(env.ModelType, 9);
    EXPECT_EQ(env.CurrentDirectory, "/home/u");
    EXPECT_EQ(Of(env).recent, (std::vector<std::string>{"/home/u/y.icf", "/x.icf", ""}));
}

TEST_F(EnvironTest, RecentEntriesAreWrittenAsStoredNotAsShownInTheMenu) {
    MemorySettingsStore store;
    {
        indEnviron env(kMutex, kKey, store);
        env.Recent.AddTop("/file1");
        env.Recent.AddTop("/home/u/radio.icf");
        env.CurrentDirectory = "/home/u";
    }
    EXPECT_EQ(store.Get("Recent File List", "Recent0").text, "/home/u/radio.icf");
    EXPECT_EQ(store.Get("Recent File List", "Recent1").text, "/file1");
    EXPECT_EQ(store.Get("Recent File List", "Recent2").type, ValueType::String);
    EXPECT_EQ(store.flushes, 1);
}

TEST_F(EnvironTest, SecondInstanceNeitherReadsNorWrites) {
    WriteIni(kValidIni);
    plat::InstanceLock first(kMutex);
    ASSERT_EQ(first.GetState(), plat::InstanceLock::State::Acquired);
    {
        indEnviron env(kMutex, kKey);
        EXPECT_FALSE(env.IsFirstInstance());
        EXPECT_FALSE(env.LockFailed());
        EXPECT_EQ(env.Marker, 0);
        EXPECT_EQ(env.ComPort, 0);
        EXPECT_EQ(env.Recent.Count(), 0);
        EXPECT_EQ(env.FindEditFormPos("ChEdit"), nullptr);
        env.ComPort = 7;
        env.Marker = 753951;
    }
    EXPECT_EQ(TempDir::ReadFile(IniPath()), kValidIni);

    MemorySettingsStore store;
    StoreValid(store);
    { indEnviron env(kMutex, kKey, store); }
    EXPECT_EQ(store.flushes, 0);
}

TEST_F(EnvironTest, LockFileThatCannotBeCreatedIsAFailureWithItsReason) {
    WriteIni(kValidIni);
    ScopedEnv noRuntime("XDG_RUNTIME_DIR", runtime_.File("missing/dir"));
    {
        indEnviron env(kMutex, kKey);
        EXPECT_FALSE(env.IsFirstInstance());
        EXPECT_TRUE(env.LockFailed());
        EXPECT_NE(env.LockError().find(runtime_.File("missing/dir")), std::string::npos) << env.LockError();
        EXPECT_EQ(env.Marker, 0);
    }
    EXPECT_EQ(TempDir::ReadFile(IniPath()), kValidIni);
}

TEST_F(EnvironTest, FailedWriteAtExitKeepsTheOldFile) {
    WriteIni(kValidIni);
    {
        // The settings go at the end of the scope, onto a full disk.
        plat::FailingFileSystem full(plat::FailingFileSystem::Call::kWrite, ENOSPC);
        indEnviron env(kMutex, kKey);
        env.ComPort = 9;
        env.Recent.Clear();
    }
    EXPECT_EQ(TempDir::ReadFile(IniPath()), kValidIni);
}

TEST_F(EnvironTest, EditFormPlacementExistsOnlyOnceStoredAndIsReadBackOnFirstUse) {
    MemorySettingsStore store;
    {
        indEnviron env(kMutex, kKey, store);
        EXPECT_EQ(env.FindEditFormPos("ChEdit"), nullptr);
        EXPECT_EQ(env.FindEditFormPos("ChEdit"), nullptr);
        indEditFormPos& p = env.SetEditFormPos("ChEdit", 10, 20, 300, 200, 3, 4, 1, 2, 2, 1);
        EXPECT_EQ(env.FindEditFormPos("ChEdit"), &p);
        EXPECT_EQ(p.Col, 3);
        EXPECT_EQ(p.Flag, 1);
        env.SetEditFormPos("Other", 1, 2, 3, 4, 0, 0, 0, 0, 0, 0);
        EXPECT_EQ(&env.SetEditFormPos("ChEdit", 11, 21, 301, 201, 3, 4, 1, 2, 0, 1), &p);
    }
    const char* names[] = {"ChEdit_Left", "ChEdit_Top", "ChEdit_Width", "ChEdit_Height",
                           "ChEdit_WindowState"};
    const int32_t values[] = {11, 21, 301, 201, 0};
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(store.Get("EditForm Position", names[i]).integer, values[i]) << names[i];
    EXPECT_EQ(store.Get("EditForm Position", "Other_WindowState").type, ValueType::Integer);

    store.groups_["EditForm Position"].erase("Other_WindowState");
    store.SetString("EditForm Position", "Third_Left", "1");
    for (const char* v : {"Top", "Width", "Height", "WindowState"})
        store.SetInteger("EditForm Position", std::string("Third_") + v, 5);
    indEnviron env(kMutex, kKey, store);
    indEditFormPos* p = env.FindEditFormPos("ChEdit");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Name, "ChEdit");
    EXPECT_EQ((std::vector<int32_t>{p->Left, p->Top, p->Width, p->Height, p->WindowState}),
              (std::vector<int32_t>{11, 21, 301, 201, 0}));
    EXPECT_EQ((std::vector<int32_t>{p->Col, p->Row, p->LeftCol, p->TopRow, p->Flag}),
              (std::vector<int32_t>{-1, -1, -1, -1, 0}));
    EXPECT_EQ(env.FindEditFormPos("Other"), nullptr) << "one of its values is missing";
    EXPECT_EQ(env.FindEditFormPos("Third"), nullptr) << "one of its values is not an integer";
    EXPECT_EQ(env.FindEditFormPos("chedit"), nullptr) << "names are matched exactly";
}

} // namespace
