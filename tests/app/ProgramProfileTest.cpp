// The program profile: the only place that names what tells the programs
// apart, what the shipped overlay must hold for it, and a second program's
// profile taking effect wherever the programs ask for theirs.
#include "platform/InstanceLock.h"
#include "tests/app/DocumentFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using apptest::DocumentFixture;
using testsupport::TempDir;
namespace fs = std::filesystem;

// The product sources name the program's mutex, its settings key and its
// title key only in the programs' profiles; the overlay data beside them holds the
// texts. Tests, benchmarks and fuzz targets may say what they like.
TEST(ProgramProfile, OnlyTheProfileNamesTheProgramsNames) {
    const fs::path root = TOLVANE_SOURCE_DIR;
    const fs::path profile = root / "foundation" / "ProgramProfile.cpp";
    // The adjustment program's profile names its own, which begin alike.
    const fs::path adjustProfile = root / "adjust" / "AdjustProfile.cpp";
    const std::vector<std::string> names = {"Morv Tolvane APP Exclusive Mutex", "Software\\Morv\\Tolvane",
                                            "Software\\\\Morv\\\\Tolvane", "GI_Sys_AppTitle"};
    const std::vector<fs::path> notProduct = {"tests", "bench", "fuzz", "data", "build"};

    std::vector<std::string> found;
    int files = 0;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path relative = it->path().lexically_relative(root);
        const std::string first = relative.begin()->string();
        const bool skipped = first.starts_with('.') || first.starts_with("build") ||
                             std::find(notProduct.begin(), notProduct.end(), relative) != notProduct.end();
        if (it.depth() == 0 && skipped) {
            if (it->is_directory()) it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file() || it->path() == profile || it->path() == adjustProfile) continue;
        ++files;
        std::ifstream in(it->path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (const std::string& name : names)
            if (text.find(name) != std::string::npos) found.push_back(relative.string() + ": " + name);
    }
    EXPECT_GT(files, 100) << "the walk must reach the sources";
    EXPECT_EQ(found, std::vector<std::string>{});

    std::ifstream in(profile);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* name :
         {"Morv Tolvane APP Exclusive Mutex", "Software\\\\Morv\\\\Tolvane", "GI_Sys_AppTitle"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
}

class ProgramProfileTest : public DocumentFixture {};

// A missing key would end the program at its first box or at its start.
TEST_F(ProgramProfileTest, TheShippedOverlayHoldsTheProfilesKeysAndFiles) {
    Start();
    const ProgramProfile& profile = CloningProfile();
    for (const std::string& key : {profile.titleKey, profile.boxCaptionKey, profile.helpFileKey}) {
        SCOPED_TRACE(key);
        const std::string line = gGTex->GetTextLine(key, 0);
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line[0], '#');
    }
    for (int32_t model = 0; model < Document::kModels; ++model)
        EXPECT_TRUE(
            fs::is_regular_file(TOLVANE_BIN_DIR "/" + gGTex->GetTextLine(profile.startupFileKey, model)))
            << "start-up data of model " << model;
    EXPECT_TRUE(fs::is_regular_file(TOLVANE_BIN_DIR "/" + profile.helpOverlay));
    EXPECT_TRUE(profile.AcceptsMapRevision(-1)) << "files from before map revisions were numbered";
    EXPECT_FALSE(profile.AcceptsMapRevision(2));
}

// A second program: its own lock and settings file, its own caption, the
// model it falls back to and the one map revision it reads.
TEST_F(ProgramProfileTest, ASecondProgramsProfileTakesEffectWhereverTheProgramAsks) {
    ProgramProfile tiny = CloningProfile();
    tiny.mutexName = "Tolvane Tiny Test Mutex";
    tiny.settingsKey = "Software\\Maker\\Tiny";
    tiny.settingsFile = "Maker/Tiny.ini";
    tiny.helpOverlay.clear();
    tiny.fallbackModel = 3;
    tiny.firstMapRevision = tiny.lastMapRevision = 1;
    tiny.boxCaptionKey = "GI_StatusPanel_Maker";

    globals_ = std::make_unique<ProgramGlobals>(tiny, CloningDocumentFactory(), TOLVANE_BIN_DIR "/");
    Document& doc = Doc();
    EXPECT_EQ(&RunningProfile(), &tiny);
    EXPECT_EQ(&doc.Profile(), &tiny);
    EXPECT_TRUE(fs::exists(plat::InstanceLock::LockFilePath(tiny.mutexName)));
    EXPECT_EQ(BoxCaption(), Text("GI_StatusPanel_Maker"));

    gEnviron->ModelType = 42;
    doc.LoadStartupData();
    EXPECT_EQ(gEnviron->ModelType, 3);

    cmcEeprom image = StartupImage(3, false);
    struct Case {
        int32_t mapRevision;
        int result;
    };
    for (const Case& c : {Case{0, 1}, Case{2, 1}, Case{1, 0}}) {
        SCOPED_TRACE(c.mapRevision);
        const std::string path = dir_.File("rev" + std::to_string(c.mapRevision) + ".icf");
        cmcIcfFile file;
        file.SetImage(&image);
        file.SetCode1(0x4410);
        file.SetMapRev(c.mapRevision);
        ASSERT_EQ(file.Save(path, RangeList{{0, 0xFF7F}, kRangeListEnd}), cmcIcfFile::kOk);
        if (c.result != 0) boxes_.Expect(Text("GI_Mess_FileErr_MapRev"), plat::IDOK);
        EXPECT_EQ(doc.OpenFile(path), c.result);
        if (c.result != 0) {
            EXPECT_EQ(boxes_.Log().back().caption, Text("GI_StatusPanel_Maker"));
        }
    }

    globals_.reset();
    EXPECT_EQ(&RunningProfile(), &CloningProfile());
    EXPECT_TRUE(fs::is_regular_file(dir_.File("config") + "/Maker/Tiny.ini"));
    EXPECT_FALSE(fs::exists(dir_.File("config") + "/Morv"));
}

} // namespace
