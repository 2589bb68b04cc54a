// The repeater data file through the cloning program's window: one site
// exported and imported again, the dialogs it shows, and the files it refuses.
#include "tests/ui/RepeaterFixture.h"

#include <string>
#include <vector>

namespace {

class RepeaterFileTest : public uitest::RepeaterFixture {
protected:
    RepeaterFileTest() {
        StartLtr();
        Doc().LoadStartupData();
        FillSites();
    }

    static std::vector<uint8_t> Pool(const cmcEeprom& image) {
        return {image.Data() + layout::kPool,
                image.Data() + layout::kPool + layout::kPoolRows * layout::kPoolEntrySize};
    }
    std::string File(const std::string& name) { return dir_.File("docs/" + name); }
};

TEST_F(RepeaterFileTest, ASiteExportedAndImportedIntoTheEmptiedSiteGivesTheSamePoolBytes) {
    const cmcEeprom before = Doc().WorkingImage();
    const std::string path = File("site2.rpt");
    EXPECT_EQ(Window().GetRepeaterFileName(), Documents() + "/Untitled");

    dialogs_.Expect(plat::ScriptedFileDialog::Kind::Save, path);
    ASSERT_EQ(Window().ExportRepeaterDialog(1), 0);
    plat::FileDialogRequest asked{"rpt", gGTex->GetTextLine("GI_Sys_Dialog_FOpenRpt", 1), Documents(),
                                  "Untitled"};
    EXPECT_EQ(dialogs_.Log().at(0).request, asked);
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(before)) << "the export leaves the working image alone";
    EXPECT_EQ(Window().GetRepeaterFileName(), path);
    EXPECT_FALSE(Doc().IsModified());
    const RepeaterBlock block = ReadBlock(path);
    EXPECT_EQ(std::vector<uint8_t>(block.begin() + 1, block.begin() + 5),
              (std::vector<uint8_t>{2, 24, 1, 3}));

    RepeaterBlock empty{};
    ASSERT_EQ(ImportRepeaterBlock(Doc().WorkingImage(), Doc().ReferenceImage(), empty, 1),
              RepeaterImport::kDone);
    ASSERT_EQ(Doc().Static2Dynamic(Doc().WorkingImage(), kPackPlain), 0);
    ASSERT_NE(Pool(Doc().WorkingImage()), Pool(before));

    ListenToTheBus();
    dialogs_.Expect(plat::ScriptedFileDialog::Kind::Open, path);
    ASSERT_EQ(Window().ImportRepeaterDialog(1), 0);
    EXPECT_EQ(dialogs_.Log().at(1).request.fileName, "") << "the open dialog proposes no name";
    EXPECT_EQ(Pool(Doc().WorkingImage()), Pool(before));
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(events_[evAddRow], 1) << "the site's sheet grows by the new rows";
    EXPECT_EQ(events_[evRemoveLastRow], 0);
    EXPECT_EQ(events_[evEndEditing], 1) << "the open dialog ends editing first";
}

TEST_F(RepeaterFileTest, WithoutASiteTheOpenSheetsSiteTravels) {
    const auto answerTwo = [](void*, const cmcEvent& ev) {
        if (ev.type == evQuerySite) gEvMan->Answer(2, 0);
    };
    gEvMan->AddListener(answerTwo, this);
    const std::string path = File("open.rpt");
    EXPECT_EQ(Window().ExportRepeaterFile(path), 0);
    gEvMan->RemoveListener(answerTwo, this);
    const RepeaterBlock block = ReadBlock(path);
    EXPECT_EQ(block[3], 2);
    EXPECT_EQ(block[4], 2);
}

TEST_F(RepeaterFileTest, AFailedExportLeavesTheImageAndTheNameAsTheyWere) {
    const cmcEeprom before = Doc().WorkingImage();
    boxes_.Expect(Text("GI_Mess_FileErr_FileOpen"), plat::IDOK);
    EXPECT_EQ(Window().ExportRepeaterFile(File("no/such/folder/x.rpt"), 1), 1);
    EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));
    EXPECT_EQ(Window().GetRepeaterFileName(), Documents() + "/Untitled");
}

TEST_F(RepeaterFileTest, AFileThatDoesNotFitIsRefusedWithOneBoxAndTheImageStaysAsItWas) {
    // Site 3 gets the entries; sites 10 to 19 fill the pool but for 5 rows.
    const cmcEeprom good = Doc().WorkingImage();
    RepeaterBlock block = BuildRepeaterBlock(good, 1);
    struct Case {
        const char* what;
        std::string box;
        bool namesFile;
        int32_t format, code1, code2, last;
        uint8_t count;
        bool fullPool;
    };
    const std::vector<Case> cases = {
        {"format 1", Text("GI_Mess_FileErr_MapRev"), false, 1, 0x4410, 0, 214, 3, false},
        {"bytes 0 to 255", Text("GI_Mess_FileErr_Data"), true, 3, 0x4410, 0, 255, 3, false},
        {"count 21", Text("GI_Mess_FileErr_Data"), true, 3, 0x4410, 0, 214, 21, false},
        {"another model", Text("GI_Mess_FileErr_Model"), false, 3, 0x4411, 0, 214, 3, false},
        {"sub-code 256", Text("GI_Mess_FileErr_Extra"), false, 3, 0x4410, 256, 214, 3, false},
        {"more than the pool holds", Text("GI_Mess_FileErr_Data"), true, 3, 0x4410, 0, 214, 6, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Doc().WorkingImage().Assign(good);
        if (c.fullPool)
            for (int32_t site = 10; site < 20; ++site)
                SetSiteChannelCount(Doc().WorkingImage(), site, 255);
        const cmcEeprom before = Doc().WorkingImage();
        const std::string path = File(std::string(c.what) + ".rpt");
        block[4] = c.count;
        WriteBlock(path, block, c.format, c.code1, c.code2, c.last);
        const size_t shown = boxes_.Log().size();
        boxes_.Expect(c.namesFile ? "File: " + path : c.box, plat::IDOK);
        EXPECT_EQ(Window().ImportRepeaterFile(path, 3), 1);
        ASSERT_EQ(boxes_.Log().size(), shown + 1);
        EXPECT_NE(boxes_.Log().back().text.find(c.box), std::string::npos) << boxes_.Log().back().text;
        EXPECT_TRUE(Doc().WorkingImage().IsEqual(before));
        EXPECT_FALSE(Doc().IsModified());
        EXPECT_EQ(Window().GetRepeaterFileName(), Documents() + "/Untitled");
    }
}

} // namespace
