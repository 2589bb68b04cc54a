#pragma once
#include "app/CloningDocument.h"
#include "app/ProgramGlobals.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ImageUnpacking.h"
#include "image/cmcEeprom.h"
#include "image/cmcIcfFile.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/SettingsStore.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ScriptedFileDialog.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace apptest {

// The cloning program's globals as its start-up builds them, over the shipped
// overlay and start-up data beside the test binaries, with settings, lock file
// and documents folder in a temp dir and every dialog and box scripted. No
// window: what the document asks of one is not done.
class DocumentFixture : public ::testing::Test {
protected:
    DocumentFixture() {
        scheduler_.Install();
        plat::SetScreen(&screen_);
        std::filesystem::create_directories(Documents());
        dialogs_.documents = Documents();
    }
    ~DocumentFixture() override {
        globals_.reset();
        plat::SetScreen(nullptr);
    }

    void TearDown() override {
        EXPECT_TRUE(boxes_.Done()) << "a message box the test expected did not come";
        EXPECT_TRUE(dialogs_.Done()) << "a file dialog the test expected did not come";
    }

    // The globals with the document the factory makes; nothing loaded yet.
    Document& StartWith(const DocumentFactory& makeDocument,
                        const std::string& programDirectory = TOLVANE_BIN_DIR "/") {
        globals_ = std::make_unique<ProgramGlobals>(CloningProfile(), makeDocument, programDirectory);
        return globals_->Doc();
    }
    // A program directory in the temp dir: the shipped start-up data and help
    // overlay linked in, and the shipped overlay with the fixture text joined
    // before its end mark.
    std::string ProgramDirWithFixture(const std::string& fixture) {
        return ProgramDirWithOverlay("", testsupport::TempDir::ReadFile(fixture));
    }
    // The same with the text joined before the shipped overlay's keys: the
    // first of two keys of one name is the one read, so the text's keys stand
    // in for the shipped ones.
    std::string ProgramDirWithOverlayFirst(const std::string& text) {
        return ProgramDirWithOverlay(text, "");
    }
    CloningDocument& Start() { return static_cast<CloningDocument&>(StartWith(CloningDocumentFactory())); }
    // The globals with the stored model's start-up data loaded, as after start.
    CloningDocument& StartWithData() {
        CloningDocument& doc = Start();
        doc.LoadStartupData();
        return doc;
    }
    CloningDocument& Doc() { return static_cast<CloningDocument&>(globals_->Doc()); }

    std::string ProgramDirWithOverlay(const std::string& before, const std::string& after) {
        const std::string program = dir_.File("program/");
        std::filesystem::create_directories(program);
        for (const auto& entry : std::filesystem::directory_iterator(TOLVANE_BIN_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".icf") || name == "QT4410RH.OVL")
                std::filesystem::create_symlink(entry.path(), program + name);
        }
        std::string overlay = testsupport::TempDir::ReadFile(TOLVANE_BIN_DIR "/QT4410R.OVL");
        overlay.erase(overlay.rfind("#End_Of_Ovl"));
        testsupport::TempDir::WriteFile(program + "QT4410R.OVL", before + overlay + after + "#End_Of_Ovl\n");
        return program;
    }

    std::string Documents() const { return dir_.File("docs"); }
    std::string AppTitle() { return BoxCaption(); }
    std::string Text(const std::string& key) { return gGTex->GetText(key); }

    // A model's start-up data file as shipped, read raw and then expanded:
    // what the reference image of that model must be.
    static cmcEeprom StartupImage(int32_t model, bool expand) {
        cmcEeprom image;
        image.SetSize(layout::kImageSize);
        cmcIcfFile file;
        file.SetImage(&image);
        file.SetOnMapRev([](int32_t) { return true; });
        file.SetOnHeader([](int32_t, int32_t, int&) { return true; });
        const std::string path =
            std::string(TOLVANE_BIN_DIR) + "/" + gGTex->GetTextLine(CloningProfile().startupFileKey, model);
        EXPECT_EQ(file.Load(path), cmcIcfFile::kOk) << path;
        if (expand) Dynamic2Static(image);
        return image;
    }

    // The document holds the model's start-up data: expanded as its
    // reference, packed again as its working image.
    static void ExpectModelData(Document& doc, int32_t model) {
        EXPECT_EQ(gEnviron->ModelType, model);
        const cmcEeprom reference = StartupImage(model, true);
        EXPECT_TRUE(doc.ReferenceImage().IsEqual(reference));
        cmcEeprom packed = reference;
        ASSERT_EQ(Static2DynamicInit(packed), 0);
        EXPECT_TRUE(doc.WorkingImage().IsEqual(packed));
    }

    // Counts the events of each code that reach the bus from now on.
    void ListenToTheBus() {
        gEvMan->AddListener(
            [](void* user, const cmcEvent& ev) { ++(*static_cast<std::map<int32_t, int>*>(user))[ev.type]; },
            &events_);
    }

    // Writes the radio's part of an image as a clone data file with the given header words.
    static void WriteIcf(const std::string& path, cmcEeprom& image, int32_t code1 = 0x4410,
                         int32_t code2 = 0) {
        cmcIcfFile file;
        file.SetImage(&image);
        file.SetCode1(code1);
        file.SetCode2(code2);
        file.SetMapRev(1);
        ASSERT_EQ(file.Save(path, RangeList{{0, 0xFF7F}, kRangeListEnd}), cmcIcfFile::kOk);
    }

    testsupport::TempDir dir_;
    testsupport::ScopedEnv config_{"XDG_CONFIG_HOME", dir_.File("config")};
    testsupport::ScopedEnv runtime_{"XDG_RUNTIME_DIR", dir_.Path()};
    plat::ManualScheduler scheduler_;
    plat::FixedScreen screen_{{0, 0, 1280, 1024}, {0, 0, 1280, 984}};
    plat::ScriptedMessageBox boxes_;
    plat::ScopedMessageBoxes boxService_{&boxes_};
    plat::ScriptedFileDialog dialogs_;
    plat::ScopedFileDialogs dialogService_{&dialogs_};
    std::unique_ptr<ProgramGlobals> globals_;
    std::map<int32_t, int> events_;
};

} // namespace apptest
