#include "tests/app/DocumentFixture.h"

#include <cstring>

namespace {

using apptest::DocumentFixture;
using plat::ScriptedFileDialog;
using testsupport::TempDir;

class FileCommandsTest : public DocumentFixture {
protected:
    void SetComment(CloningDocument& app, const char* text) {
        std::memcpy(app.WorkingImage().Data() + layout::kComment1, text, std::strlen(text));
    }
    std::string Comment(const cmcEeprom& image) {
        return std::string(reinterpret_cast<const char*>(image.Data() + layout::kComment1), 5);
    }
};

TEST_F(FileCommandsTest, SaveAsNewOpenAndSaveRoundTripThroughRealFiles) {
    CloningDocument& app = StartWithData();
    SetComment(app, "HELLO");
    ASSERT_TRUE(app.UpdateModified());

    // Untitled data goes to the documents folder, under the name "Untitled".
    const std::string path = Documents() + "/first.icf";
    dialogs_.Expect(ScriptedFileDialog::Kind::Save, path);
    ASSERT_EQ(app.SaveAsDialog(), 0);
    const plat::FileDialogRequest& asked = dialogs_.Log().back().request;
    EXPECT_EQ(asked.initialDir, Documents());
    EXPECT_EQ(asked.fileName, "Untitled");
    EXPECT_EQ(asked.defaultExtension, "icf");

    EXPECT_EQ(app.GetFileName(), path);
    EXPECT_FALSE(app.IsModified());
    EXPECT_EQ(gEnviron->Recent.Path(0), path);
    EXPECT_EQ(gEnviron->CurrentDirectory, Documents());
    const std::string text = TempDir::ReadFile(path);
    EXPECT_EQ(text.rfind("44100000\r\n#Comment=HELLO\r\n", 0), 0u) << text.substr(0, 40);

    // New: the model's empty data, untitled; nothing was modified, so no
    // question. Every bank's node hears its (empty) name.
    ListenToTheBus();
    ASSERT_EQ(app.NewFile(), 0);
    scheduler_.Advance(10);
    EXPECT_EQ(events_[evSetBankNodeText], 128);
    EXPECT_TRUE(app.IsUntitled());
    EXPECT_EQ(Comment(app.WorkingImage()), "     ");
    cmcEeprom empty = app.ReferenceImage();
    ASSERT_EQ(Static2DynamicInit(empty), 0);
    EXPECT_TRUE(app.WorkingImage().IsEqual(empty));

    dialogs_.Expect(ScriptedFileDialog::Kind::Open, path);
    ASSERT_EQ(app.OpenDialog(), 0);
    EXPECT_EQ(Comment(app.WorkingImage()), "HELLO");
    EXPECT_EQ(app.GetFileName(), path);
    EXPECT_FALSE(app.UpdateModified());

    // Save writes over the open file; what it wrote opens as it was saved.
    SetComment(app, "WORLD");
    ASSERT_TRUE(app.UpdateModified());
    ASSERT_EQ(app.SaveFile(app.GetFileName()), 0);
    const cmcEeprom saved = app.WorkingImage();
    ASSERT_EQ(app.NewFile(), 0);
    ASSERT_EQ(app.OpenFile(path), 0);
    EXPECT_TRUE(app.WorkingImage().IsEqual(saved));
}

TEST_F(FileCommandsTest, ACommentOfBlanksAndUnprintableBytesIsSavedEmpty) {
    CloningDocument& app = StartWithData();
    app.WorkingImage().SetByte(layout::kComment2 + 3, 0x07);
    ASSERT_EQ(app.SaveFile(Documents() + "/blank.icf"), 0);
    EXPECT_NE(TempDir::ReadFile(Documents() + "/blank.icf").find("#Comment=\r\n"), std::string::npos);
}

// Each refused file is reported with its own message, and the data being
// edited stays as it was: image, file name and modified flag.
TEST_F(FileCommandsTest, RefusedFilesLeaveTheDataAsItWas) {
    CloningDocument& app = StartWithData();
    cmcEeprom good = StartupImage(5, false);

    struct Case {
        const char* name;
        std::string messageKey;
        std::function<void(const std::string&)> write;
    };
    const Case cases[] = {
        {"model.icf", "GI_Mess_FileErr_Model", [&](const std::string& p) { WriteIcf(p, good, 0x4420, 0); }},
        {"version.icf", "GI_Mess_FileErr_Extra", [&](const std::string& p) { WriteIcf(p, good, 0x4410, 1); }},
        {"broken.icf", "GI_Mess_FileErr_Format",
         [](const std::string& p) { TempDir::WriteFile(p, "not a clone data file\r\n"); }},
        {"header.icf", "GI_Mess_FileErr_Data",
         [&](const std::string& p) {
             cmcEeprom image = good;
             image.SetByte(264, 2);
             WriteIcf(p, image);
         }},
        {"newer.icf", "GI_Mess_FileErr_Newer",
         [&](const std::string& p) {
             cmcEeprom image = StartupImage(5, true);
             image.SetByte(layout::kNewerDataByte, 1);
             ASSERT_EQ(Static2DynamicInit(image), 0);
             WriteIcf(p, image);
         }},
        {"short.icf", "GI_Mess_FileErr_Coverage",
         [&](const std::string& p) {
             cmcIcfFile file;
             file.SetImage(&good);
             file.SetCode1(0x4410);
             file.SetMapRev(1);
             ASSERT_EQ(file.Save(p, RangeList{{0, 0x7FFF}, kRangeListEnd}), cmcIcfFile::kOk);
         }},
    };

    SetComment(app, "KEEP!");
    ASSERT_TRUE(app.UpdateModified());
    const cmcEeprom before = app.WorkingImage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir_.File(c.name);
        c.write(path);
        // The unsaved data is offered for saving first; No goes on with the open.
        boxes_.Expect("Do you want to save the changes", plat::IDNO);
        boxes_.Expect(Text(c.messageKey), plat::IDOK);
        EXPECT_EQ(app.OpenFile(path), 1);
        EXPECT_EQ(boxes_.Log().back().caption, AppTitle());
        EXPECT_TRUE(app.WorkingImage().IsEqual(before));
        EXPECT_TRUE(app.IsUntitled());
        EXPECT_TRUE(app.IsModified());
        EXPECT_EQ(gEnviron->Recent.Count(), 0);
    }
}

TEST_F(FileCommandsTest, ReopeningTheModifiedOpenFileOffersToSaveItUnderAnotherName) {
    CloningDocument& app = StartWithData();
    const std::string path = Documents() + "/open.icf";
    ASSERT_EQ(app.SaveFile(path), 0);
    SetComment(app, "EDITS");
    ASSERT_TRUE(app.UpdateModified());
    const cmcEeprom edited = app.WorkingImage();

    // Yes leads to Save As, never to a silent save over the file being
    // reloaded; cancelling that dialog cancels the open.
    boxes_.Expect(Text("GI_Mess_Confirm_WriteAnother"), plat::IDYES);
    dialogs_.Expect(ScriptedFileDialog::Kind::Save, std::nullopt);
    EXPECT_EQ(app.OpenFile(path), 1);
    EXPECT_TRUE(app.WorkingImage().IsEqual(edited));
    EXPECT_TRUE(app.IsModified());

    // Cancel in the question changes nothing either.
    boxes_.Expect(Text("GI_Mess_Confirm_WriteAnother"), plat::IDCANCEL);
    EXPECT_EQ(app.OpenFile(path), 1);
    EXPECT_TRUE(app.WorkingImage().IsEqual(edited));
}

TEST_F(FileCommandsTest, AFailedSaveKeepsTheFileNameAndTheModifiedFlag) {
    CloningDocument& app = StartWithData();
    SetComment(app, "LOST?");
    ASSERT_TRUE(app.UpdateModified());
    boxes_.Expect("", plat::IDOK);
    EXPECT_EQ(app.SaveFile(dir_.File("missing/folder/x.icf")), 1);
    EXPECT_TRUE(app.IsUntitled());
    EXPECT_TRUE(app.IsModified());
    EXPECT_EQ(gEnviron->Recent.Count(), 0);
}

} // namespace
