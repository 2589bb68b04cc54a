// The document as the one object behind the cells and the clone commands:
// one working image and one set of radio answers for both, one packing entry
// for every pass that packs, and the window's requests handed to a window
// when there is one.
#include "app/DocumentWindow.h"
#include "cells/WindowCommands.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/indActiveCell.h"
#include "clone/CloneCommands.h"
#include "clone/dst_CDrv_Result.h"
#include "foundation/ModelClass.h"
#include "image/BankSite.h"
#include "image/datCh.h"
#include "tests/app/DocumentFixture.h"
#include "tests/app/RecordingWindow.h"
#include "tests/support/RecordingAppManager.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using apptest::DocumentFixture;

class DocumentTest : public DocumentFixture {};

TEST_F(DocumentTest, IsTheApplicationManagerWhileItLivesThenTheOneBeforeComesBack) {
    RecordingAppManager before;
    ScopedAppManager outer(&before);
    CloningDocument& doc = Start();
    EXPECT_EQ(gAppManager, static_cast<AppManager*>(&doc));
    globals_.reset();
    EXPECT_EQ(gAppManager, &before);
}

// The clone commands fill the radio's answers; the cells read the same ones.
TEST_F(DocumentTest, WhatTheCloneCommandsTakeInTheCellsFindWithoutForwarding) {
    CloningDocument& doc = StartWithData();
    AppManager& cells = *gAppManager;
    CloneHost& clone = doc;
    EXPECT_EQ(&cells.WorkingImage(), &clone.WorkingImage());
    EXPECT_EQ(&cells.InfoBlock(), &clone.InfoBlock());

    indCloneMan man;
    CloneCommands commands(doc, man);
    dst_CDrv_Result reply(1, 0x4410, 0x0102, 0);
    reply.result = kCloneOk;
    std::vector<uint8_t> block(CloneCommands::kInfoMinLength, '0');
    block[0] = static_cast<uint8_t>(block.size());
    block[CloneCommands::kInfoRevision] = 1;
    reply.payload.Set(block.data(), static_cast<int32_t>(block.size()));
    commands.CheckInfoReply(reply);
    ASSERT_EQ(reply.result, kCloneOk);
    EXPECT_EQ(cells.Identity(), (RadioIdentity{0x44, 0x10, 0x01, 0x02}));
    EXPECT_TRUE(std::equal(block.begin(), block.end(), cells.InfoBlock().begin()));
    EXPECT_EQ(cells.InfoBlock()[block.size()], 0) << "what the reply did not carry is 0";
}

// A program with another layout replaces the one entry; every pass that
// packs the working image takes it: the start-up data, New, the bank cells,
// a save, and the unpacking of an opened file. (A clone write packs its copy
// through the same entry, with mode 1: CloneCommandsTest.)
class LayoutRecordingDocument : public CloningDocument {
public:
    using CloningDocument::CloningDocument;
    int Static2Dynamic(cmcEeprom& image, int mode) override {
        packs.push_back({&image == &working_, mode});
        return CloningDocument::Static2Dynamic(image, mode);
    }
    struct Pack {
        bool working;
        int mode;
        bool operator==(const Pack&) const = default;
    };
    std::vector<Pack> packs;
};

TEST_F(DocumentTest, EveryPackingOfTheWorkingImageGoesThroughTheDocumentsEntry) {
    auto& doc = static_cast<LayoutRecordingDocument&>(
        StartWith([](const ProgramProfile& profile, const std::string& dir) -> std::unique_ptr<Document> {
            return std::make_unique<LayoutRecordingDocument>(profile, dir);
        }));
    const std::string path = Documents() + "/bank127.icf";
    cmcCellObj bankCount;
    bankCount.category = 13;
    bankCount.cellId = 105;
    bankCount.index = 0;

    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"start-up data", [&] { doc.LoadStartupData(); }},
        {"New", [&] { ASSERT_EQ(doc.NewFile(), 0); }},
        {"bank count cell",
         [&] {
             cmcCellCapsule request;
             request.cell = &bankCount;
             request.mode = cmcCellCapsule::kModeCommit;
             const int32_t count = GetBankChannelCount(doc.WorkingImage(), 0);
             request.editText = std::to_string(count + 1);
             indActiveCell::Execute(request, 0);
             ASSERT_EQ(GetBankChannelCount(doc.WorkingImage(), 0), count + 1);
         }},
        {"Save",
         [&] {
             // Channels in bank 127 travel in blocks of their own, which an open
             // merges back and packs again.
             SetBankChannelCount(doc.WorkingImage(), layout::kBanks - 1, 1);
             datCh channel(&doc.WorkingImage());
             channel.Load(ModelClassOf(gEnviron->ModelType), 2);
             channel.rxFreq = 146520000;
             channel.Store(ModelClassOf(gEnviron->ModelType), 2);
             ASSERT_EQ(doc.SaveFile(path), 0);
         }},
        {"Open", [&] { ASSERT_EQ(doc.OpenFile(path), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.packs.clear();
        c.run();
        // (The newer-data test of an opened file unpacks a scratch copy, which packs too.)
        EXPECT_NE(
            std::find(doc.packs.begin(), doc.packs.end(), LayoutRecordingDocument::Pack{true, kPackPlain}),
            doc.packs.end());
        for (const LayoutRecordingDocument::Pack& pack : doc.packs)
            EXPECT_EQ(pack.mode, kPackPlain);
    }
}

using apptest::RecordingWindow;

// Without a window the document and the cells do without: nothing is shown,
// nothing counted, and the answers are those of an empty window.
TEST_F(DocumentTest, HandsTheWindowsRequestsToItsWindowAndDoesWithoutOne) {
    CloningDocument& doc = StartWithData();
    cmcCellCapsule request;
    struct Case {
        std::function<void()> request;
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        {[&] { InstalledWindow().Print(1); }, {"Print 1"}},
        {[&] { InstalledWindow().OpenSheet("[St_Common]GI_Sheet_X"); }, {"OpenSheet [St_Common]GI_Sheet_X"}},
        {[&] { InstalledWindow().CloseSheetCmd(); }, {"CloseSheetCmd"}},
        {[&] { InstalledWindow().OpenRepeaterSettings(request); }, {"OpenRepeaterSettings"}},
        {[&] { InstalledWindow().ScheduleWarningCheck(); }, {"ScheduleWarningCheck"}},
        {[&] { InstalledWindow().SelectComPort(); }, {"SelectComPort"}},
        {[&] { doc.OpenCloneInformation(); }, {"OpenCloneInformation"}},
        {[&] { InstalledWindow().ToggleToolBar(); }, {"ToggleToolBar"}},
        {[&] { InstalledWindow().CloseMainForm(); }, {"CloseMainForm"}},
        {[&] { doc.SetFileName(Documents() + "/x.icf"); }, {"UpdateTitle"}},
        {[&] { ASSERT_EQ(doc.SaveFile(Documents() + "/y.icf"), 0); },
         {"Busy", "UpdateTitle", "UpdateTitle", "NotBusy"}},
        {[&] { ASSERT_EQ(doc.NewFile(), 0); }, {"UpdateTitle", "UpdateTitle", "CloseSheet"}},
    };

    for (const Case& c : cases)
        c.request();
    EXPECT_FALSE(InstalledWindow().IsOpenSheetPrintable());
    EXPECT_EQ(InstalledWindow().MainMenuSubItemCount(20), -1);
    EXPECT_EQ(InstalledWindow().MainMenuContext(), 0);
    EXPECT_EQ(doc.DataWarningCount(), 0);

    RecordingWindow window;
    doc.SetWindow(&window);
    ScopedWindowCommands useWindow(&window);
    for (const Case& c : cases) {
        window.calls.clear();
        c.request();
        EXPECT_EQ(window.calls, c.heard);
    }
    EXPECT_TRUE(InstalledWindow().IsOpenSheetPrintable());
    EXPECT_EQ(InstalledWindow().MainMenuSubItemCount(20), 21);
    EXPECT_EQ(InstalledWindow().MainMenuContext(), 0x4D4D);
    EXPECT_EQ(doc.DataWarningCount(), 2) << "the errors of the tree's check stop a write, warnings do not";

    // Maker mode rebuilds the tree and puts its panel up.
    window.calls.clear();
    boxes_.Expect(Text("GI_Mess_Maker_Caution"), plat::IDOK);
    doc.EnterMakerMode();
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"BuildTree", "ShowMakerPanel " + Text("GI_StatusPanel_Maker")}));
    doc.SetWindow(nullptr);
}

} // namespace
