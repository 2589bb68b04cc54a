// The adjustment program's data is only kept in the radio: never marked
// modified, so nothing asks to save it; a stored model it does not know
// starts as model 5; start-up and New fill the radio copy with the working
// image; its header check wants revision byte 1; and its start-up files
// must carry map revision 1 or the program ends.
#include "app/ProgramGlobals.h"
#include "tests/adjust/AdjustDocumentFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using adjtest::AdjustDocumentFixture;

class AdjustFileRulesTest : public AdjustDocumentFixture {
protected:
    // A program directory with the shipped overlay and every start-up file
    // but the stored model's, which gets the text made from the shipped one.
    std::string ProgramDirWithStartupFile(int32_t model,
                                          const std::function<std::string(std::string)>& edit) {
        const std::string program = dir_.File("adjust/");
        std::filesystem::create_directories(program);
        for (const auto& entry : std::filesystem::directory_iterator(TOLVANE_BIN_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.ends_with(".icf") || name == "QT4411R.OVL")
                std::filesystem::create_symlink(entry.path(), program + name);
        }
        cmcGTex texts;
        texts.SetFile(program + "QT4411R.OVL");
        const std::string name = texts.GetTextLine(adj::AdjustProfile().startupFileKey, model);
        const std::string text = testsupport::TempDir::ReadFile(program + name);
        std::filesystem::remove(program + name);
        testsupport::TempDir::WriteFile(program + name, edit(text));
        return program;
    }
};

TEST_F(AdjustFileRulesTest, AStoredModelOutsideTheTenStartsAsModelFive) {
    for (const int32_t stored : {10, -1, 99}) {
        adj::AdjustDocument& doc = StartAdjust();
        gEnviron->ModelType = stored;
        doc.LoadStartupData();
        EXPECT_EQ(gEnviron->ModelType, 5) << stored;
        EXPECT_TRUE(doc.ReferenceImage().IsEqual(AdjustStartup(5, true))) << stored;
        globals_.reset();
    }
}

TEST_F(AdjustFileRulesTest, EditedDataIsNeverModifiedAndNothingAsksToSaveIt) {
    adj::AdjustDocument& doc = StartAdjust();
    doc.LoadStartupData();
    // What a cell does after it changed a value.
    doc.WorkingImage().SetByte(300, static_cast<uint8_t>(doc.WorkingImage().GetByte(300) ^ 0x5A));
    doc.SetModified();
    EXPECT_FALSE(doc.UpdateModified());
    EXPECT_FALSE(doc.IsModified());
    // The scripted boxes fail the test on any question.
    EXPECT_EQ(doc.ConfirmSave(false), plat::IDYES);
    EXPECT_EQ(doc.ConfirmSave(true), plat::IDYES);
    EXPECT_EQ(doc.NewFile(), 0);
    EXPECT_TRUE(boxes_.Log().empty());
}

TEST_F(AdjustFileRulesTest, StartupAndNewFillTheRadioCopyWithTheWorkingImage) {
    adj::AdjustDocument& doc = StartAdjust();
    for (const int32_t model : {0, 7}) {
        gEnviron->ModelType = model;
        doc.LoadStartupData();
        EXPECT_TRUE(doc.RadioCopy().IsEqual(doc.WorkingImage())) << model;
        // Adjusted values the radio was told, and an edit it was not.
        doc.RadioCopy().SetByte(84, 0x33);
        doc.WorkingImage().SetByte(85, 0x44);
        ASSERT_EQ(doc.NewFile(), 0);
        EXPECT_TRUE(doc.RadioCopy().IsEqual(doc.WorkingImage())) << model;
        cmcEeprom packed = AdjustStartup(model, true);
        ASSERT_EQ(adj::Static2DynamicInit(packed), 0);
        EXPECT_TRUE(doc.WorkingImage().IsEqual(packed)) << model;
    }
}

TEST_F(AdjustFileRulesTest, TheHeaderCheckWantsRevisionByteOne) {
    adj::AdjustDocument& doc = StartAdjust();
    doc.LoadStartupData();
    struct Case {
        uint8_t revision;
        int result;
    };
    for (const Case c : {Case{1, 0}, Case{0, 1}, Case{2, 1}}) {
        cmcEeprom image = doc.WorkingImage();
        image.SetByte(264, c.revision);
        EXPECT_EQ(doc.CheckImage(image, false), c.result) << int(c.revision);
        EXPECT_EQ(doc.CheckImage(image, true), c.result) << int(c.revision);
    }
}

TEST_F(AdjustFileRulesTest, AStartupFileOfAnotherMapRevisionEndsTheProgram) {
    struct Case {
        const char* name;
        std::function<std::string(std::string)> edit;
    };
    auto replaceRevision = [](const std::string& with) {
        return [with](std::string text) {
            const size_t at = text.find("#MapRev=1");
            EXPECT_NE(at, std::string::npos);
            return text.replace(at, 9, with);
        };
    };
    const Case cases[] = {{"revision 0", replaceRevision("#MapRev=0")},
                          {"no revision line", replaceRevision("#")},
                          {"revision 2", replaceRevision("#MapRev=2")}};
    const plat::FatalHandler old = plat::SetFatalHandler(plat::ThrowingFatalHandler);
    for (const Case& c : cases) {
        const std::string program = ProgramDirWithStartupFile(5, c.edit);
        globals_ = std::make_unique<ProgramGlobals>(adj::AdjustProfile(), adj::MakeAdjustDocument, program);
        gEnviron->ModelType = 5;
        const std::string path = program + gGTex->GetTextLine(adj::AdjustProfile().startupFileKey, 5);
        // The reader tells what it refused, then the program ends.
        boxes_.Expect("", plat::IDOK);
        try {
            AdjustDoc().LoadStartupData();
            ADD_FAILURE() << c.name << ": the program went on";
        } catch (const plat::FatalError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open '" + path + "'.") << c.name;
        }
        globals_.reset();
        std::filesystem::remove_all(program);
    }
    plat::SetFatalHandler(old);
}

} // namespace
