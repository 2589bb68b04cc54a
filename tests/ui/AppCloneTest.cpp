// The clone commands as the program runs them: the application manager with
// its main form, over a pseudo-terminal to the radio simulator on COM5.
#include "cells/CellEngine.h"
#include "clone/indCloneMan.h"
#include "foundation/ModelClass.h"
#include "image/ModelPasses.h"
#include "image/datCh.h"
#include "platform/HelpViewer.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "tests/clone/LinkWire.h"
#include "tests/ui/AppFixture.h"
#include "tests/ui/ScreenGrab.h"
#include "tools/radiosim/RadioSim.h"
#include "ui/TForm1.h"
#include "ui/cuiInformation.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <ostream>

namespace {

using uitest::AppFixture;

constexpr int32_t kRadioModel = 0; // the radio holds an LMR handheld's data
constexpr int32_t kStartModel = 5; // the program starts with the stored default, LMR mobile

class AppCloneTest : public AppFixture {
protected:
    AppCloneTest() {
        EXPECT_TRUE(sim_.Open());
        EXPECT_FALSE(sim_.LinkAs(dir_.Path(), 5).empty());
    }

    // The program with its window and the stored model's data (or the given
    // model's), its port set to COM5, and the radio holding the start-up
    // data of the LMR handheld.
    CloningDocument& StartLinked(int32_t model = -1) {
        indMain& window = Start();
        if (model >= 0) gEnviron->ModelType = model;
        gEnviron->ComPort = 5;
        gEnviron->ComSpeedHigh = 1;
        form_ = std::make_unique<TForm1>(window);
        CloningDocument& app = Doc();
        app.CloneManager().Driver().SetSettleWait([this](int) { sim_.Pump(); });
        radio_ = StartupImage(kRadioModel, false);
        std::memcpy(sim_.Memory().data(), radio_.Data(), sim_.Memory().size());
        // Read as far as the block that holds the end signature, not the whole radio.
        const int32_t signature =
            radio_.GetWord(layout::kHdrEndAddress) - radio_.GetWord(layout::kHdrBase) + 504;
        cloneEnd_ = (signature + 8) | 15;
        sim_.SetCloneEnd(cloneEnd_);
        return app;
    }

    // Runs the clone manager's jobs, one after the other, until none is left.
    void Run() {
        indCloneMan& man = Doc().CloneManager();
        for (int t = 0; t < 300000 && man.IsBusy(); t += 10) {
            sim_.Pump();
            scheduler_.Advance(10);
        }
        ASSERT_FALSE(man.IsBusy());
        scheduler_.Advance(100); // the progress task's last tick
    }

    // The commands the program sent, in order ("E0", "E2", "E3").
    std::vector<std::string> Commands() const {
        std::vector<std::string> out;
        for (const linkwire::Wire& w : linkwire::Sent(sim_, false))
            if (w.what == "E0" || w.what == "E2" || w.what == "E3") out.push_back(w.what);
        return out;
    }

    // The main form is back and no progress window is left.
    void ExpectIdleWindow() {
        EXPECT_TRUE(form_->isEnabled());
        ASSERT_NE(Doc().CloneManager().ProgressView(), nullptr);
        EXPECT_FALSE(Doc().CloneManager().ProgressView()->IsOpen());
    }

    testsupport::ScopedEnv comDir_{"TOLVANE_COM_DIR", dir_.Path()};
    radiosim::RadioSim sim_;
    std::unique_ptr<TForm1> form_;
    cmcEeprom radio_;
    int32_t cloneEnd_ = 0;
};

TEST_F(AppCloneTest, ReadLandsInTheWorkingImageAsTheRadiosModel) {
    CloningDocument& app = StartLinked();
    ASSERT_EQ(gEnviron->ModelType, kStartModel);
    ListenToTheBus();
    app.CloneRead();
    EXPECT_FALSE(form_->isEnabled()) << "the main form waits for the radio";
    Run();

    EXPECT_TRUE(boxes_.Log().empty());
    EXPECT_EQ(Commands(), (std::vector<std::string>{"E0", "E2"}));
    // What was read, unpacked and normalised against the detected model's start-up data.
    EXPECT_EQ(gEnviron->ModelType, kRadioModel);
    const cmcEeprom reference = StartupImage(kRadioModel, true);
    EXPECT_TRUE(app.ReferenceImage().IsEqual(reference));
    cmcEeprom expected;
    expected.SetSize(layout::kImageSize);
    expected.Write(0, radio_.Data(), cloneEnd_ + 1);
    ASSERT_EQ(AfterLoadImage(expected, reference, nullptr, PackingFor(ModelClassOf(kRadioModel))),
              kRadioModel);
    EXPECT_TRUE(app.WorkingImage().IsEqual(expected));

    EXPECT_TRUE(app.IsModified());
    EXPECT_TRUE(app.IsUntitled());
    EXPECT_EQ(form_->windowTitle().toStdString(), "Untitled - " + AppTitle());
    EXPECT_EQ(events_[evDataReloaded], 2) << "the model change's new tree, then the data read";
    EXPECT_EQ(app.InfoBlock()[0], 127);
    ExpectIdleWindow();

    // What was read is kept as a clone data file: opened again and saved
    // again, it gives the same file.
    const std::string path = dir_.File("read.icf");
    const std::string again = dir_.File("again.icf");
    ASSERT_EQ(app.SaveFile(path), 0);
    EXPECT_FALSE(app.IsModified());
    ASSERT_EQ(app.OpenFile(path), 0);
    ASSERT_EQ(app.SaveFile(again), 0);
    EXPECT_TRUE(boxes_.Log().empty());
    EXPECT_EQ(testsupport::TempDir::ReadFile(again), testsupport::TempDir::ReadFile(path));
    EXPECT_EQ(gEnviron->ModelType, kRadioModel);
}

struct ReadFault {
    const char* name;
    std::function<void(radiosim::RadioSim&)> set;
    int code;
    std::vector<std::string> commands;
};

// Test names and failures name the fault.
void PrintTo(const ReadFault& fault, std::ostream* os) {
    *os << fault.name;
}

class AppCloneReadFaultTest : public AppCloneTest, public ::testing::WithParamInterface<ReadFault> {};

TEST_P(AppCloneReadFaultTest, ShowsItsBoxAndKeepsTheWorkingImage) {
    const ReadFault& c = GetParam();
    CloningDocument& app = StartLinked();
    c.set(sim_);
    const cmcEeprom before = app.WorkingImage();
    boxes_.Expect(gGTex->GetTextLine("GI_Mess_CloneErr_Head", c.code), plat::IDOK);
    app.CloneRead();
    Run();

    ASSERT_EQ(boxes_.Log().size(), 1u);
    EXPECT_EQ(boxes_.Log()[0].text, indCloneMan::CloneErrorText(c.code));
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_TRUE(app.WorkingImage().IsEqual(before));
    EXPECT_EQ(gEnviron->ModelType, kStartModel);
    EXPECT_FALSE(app.IsModified());
    ExpectIdleWindow();
}

const ReadFault kReadFaults[] = {
    {"wrong_model",
     [](radiosim::RadioSim& s) { s.SetFaults(linkwire::With([](auto& f) { f.modelWord = 0x4420; })); },
     kCloneBadInfo,
     {"E0"}},
    // A broken end signature fails the image check after the whole read.
    {"broken_signature",
     [](radiosim::RadioSim& s) {
         const int32_t end =
             (s.Memory()[layout::kHdrEndAddress] << 8 | s.Memory()[layout::kHdrEndAddress + 1]) -
             (s.Memory()[layout::kHdrBase] << 8 | s.Memory()[layout::kHdrBase + 1]) + 504;
         s.Memory()[static_cast<size_t>(end)] ^= 0xFF;
     },
     15,
     {"E0", "E2"}},
};

INSTANTIATE_TEST_SUITE_P(Faults, AppCloneReadFaultTest, ::testing::ValuesIn(kReadFaults),
                         [](const ::testing::TestParamInfo<ReadFault>& i) {
                             return std::string(i.param.name);
                         });

TEST_F(AppCloneTest, ConfirmedWriteLeavesThePackedImageInTheRadio) {
    CloningDocument& app = StartLinked();
    sim_.FillPattern("ff");
    const std::vector<uint8_t> radioBefore = sim_.Memory();
    // One programmed channel: without one the write is refused.
    datCh channel(&app.WorkingImage());
    channel.Load(1, 0);
    channel.rxFreq = 146520000;
    channel.Store(1, 0);
    const cmcEeprom before = app.WorkingImage();

    boxes_.Expect(GetMultiLineText(*gGTex, "GI_Mess_Confirm_CloneWrite"), plat::IDOK);
    boxes_.Expect(GetMultiLineText(*gGTex, "GI_Mess_CloneWrite_Succeeded"), plat::IDOK);
    app.CloneWrite();
    Run();

    EXPECT_EQ(Commands(), (std::vector<std::string>{"E0", "E0", "E3"}));
    EXPECT_TRUE(sim_.WriteFlag());
    // The radio holds a normalised, packed copy from its user area up to the
    // end of the used data, with its own revision.
    cmcEeprom sent = before;
    app.NormalizeImage(sent, 1);
    ASSERT_EQ(app.Static2Dynamic(sent, 1), 0);
    sent.SetByte(264, 1);
    const int32_t last = (sent.GetWord(layout::kHdrEndAddress) & ~127) + 127;
    ASSERT_GT(last, 0x100);
    for (int32_t a = 0; a < radiosim::RadioSim::kMemorySize; ++a) {
        const uint8_t want = a >= 0x100 && a <= last ? sent.GetByte(a) : radioBefore[static_cast<size_t>(a)];
        ASSERT_EQ(sim_.Memory()[static_cast<size_t>(a)], want) << a;
    }
    EXPECT_TRUE(app.WorkingImage().IsEqual(before)) << "only the copy is packed";
    ExpectIdleWindow();
}

// Tables that do not fit the radio's memory would leave an image whose
// partition table is not its own: neither the radio nor a file gets one.
TEST_F(AppCloneTest, DataThatDoesNotFitIsNeitherWrittenNorSaved) {
    constexpr int32_t kLtrHandheld = 1;
    CloningDocument& app = StartLinked(kLtrHandheld);
    sim_.FillPattern("ff");
    const std::vector<uint8_t> radioBefore = sim_.Memory();
    cmcEeprom& work = app.WorkingImage();
    // All 512 channels in bank 0 and a repeater pool filled to the brim.
    work.SetWord(layout::kBankCounts, 512);
    for (int32_t site = 0; site < layout::kSites; ++site)
        work.SetByte(layout::kSiteCounts + site, 0xFF);
    datCh channel(&work);
    channel.Load(2, 0);
    channel.rxFreq = 146520000;
    channel.Store(2, 0);
    cmcEeprom probe = work;
    app.NormalizeImage(probe, 1);
    ASSERT_EQ(app.Static2Dynamic(probe, 1), 1) << "the tables must overflow for this test";
    const cmcEeprom before = work;

    boxes_.Expect(GetMultiLineText(*gGTex, "GI_Mess_Confirm_CloneWrite"), plat::IDOK);
    boxes_.Expect(GetMultiLineText(*gGTex, "GI_AppMess_CloneErr_Area"), plat::IDOK);
    app.CloneWrite();
    Run();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"E0", "E0"}));
    EXPECT_TRUE(sim_.Memory() == radioBefore);
    EXPECT_TRUE(work.IsEqual(before));
    ExpectIdleWindow();

    const std::string path = Documents() + "/full.icf";
    boxes_.Expect(GetMultiLineText(*gGTex, "GI_AppMess_DataTooLarge"), plat::IDOK);
    EXPECT_EQ(app.SaveFile(path), 1);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(app.IsUntitled());
    EXPECT_EQ(boxes_.Log().size(), 3u);
}

// The information command opens the information window over the disabled
// main form, one row per information cell with what the simulator told (its
// block describes an LMR mobile); the serial number's Copy puts its digits
// on the clipboard, and OK closes the window and gives the form back.
TEST_F(AppCloneTest, InformationShowsWhatTheRadioTold) {
    CloningDocument& app = StartLinked();
    const cmcEeprom before = app.WorkingImage();
    unsigned sum = 0;
    for (uint8_t b : sim_.Memory())
        sum += b;
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "$%04X", sum & 0xFFFF);
    const std::map<std::string, std::string> expected = {
        {"CL_CloneInfo_Model", "LMR mobile\nMobile type\nWithout ten-key pad"},
        {"CL_CloneInfo_Revision", "1.0"},
        {"CL_CloneInfo_Comment1", "RADIOSIM"},
        {"CL_CloneInfo_Comment2", "Tolvane test rig"},
        {"CL_CloneInfo_Esn", "20240101234"},
        {"CL_CloneInfo_CheckSum", checksum},
    };
    app.ReadCloneInfo();
    Run();
    EXPECT_EQ(Commands(), std::vector<std::string>{"E0"});
    EXPECT_TRUE(app.WorkingImage().IsEqual(before));

    cuiInformation* info = Window().Information();
    ASSERT_NE(info, nullptr);
    QDialog& dialog = *info->Form();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(plat::FromQString(dialog.windowTitle()), gGTex->GetTextLine("GI_Sys_AppTitle", 0));
    EXPECT_FALSE(form_->isEnabled()) << "the main form waits for the window";
    // Over the middle of the main form, inside the work area.
    const QPoint offset = dialog.frameGeometry().center() - form_->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);
    const plat::Rect work = plat::Screen().WorkArea();
    EXPECT_TRUE(QRect(work.left, work.top, work.width, work.height).contains(dialog.frameGeometry()));
    uitest::SavePicture(dialog.grab(), "kinds14-information");

    // What each value cell of the sheet shows.
    cuiSheet& sheet = *info->Sheet();
    const CellVocabulary& words = CloningCellEngine().Vocabulary();
    std::map<std::string, std::string> shown;
    for (int r = 0; r < sheet.RowCount(); ++r)
        for (int c = 0; c < sheet.ColCount(); ++c)
            for (const auto& [name, text] : expected)
                if (sheet.GetCell(c, r).cellId == words.CellIndex(name)) {
                    cmcCellCapsule request;
                    sheet.PrepareRequest(c, r, request);
                    CloningCellEngine().Execute(request, 0);
                    shown[name] = request.displayText;
                }
    EXPECT_EQ(shown, expected);

    // Copy on the serial number, the one cell to stand on.
    struct : plat::Clipboard {
        void SetText(const std::string& t) override { text = t; }
        std::string text;
    } clipboard;
    plat::SetClipboard(&clipboard);
    ASSERT_EQ(sheet.GetCell(sheet.Grid()->Col(), sheet.Grid()->Row()).cellId,
              words.CellIndex("CL_CloneInfo_Esn"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const QRect esn = sheet.Grid()->CellRect(sheet.Grid()->Col(), sheet.Grid()->Row());
    QTest::mouseClick(sheet.Grid()->viewport(), Qt::LeftButton, {}, esn.center());
    QAction* copy = nullptr;
    for (QAction* a : sheet.PopupMenu()->actions())
        if (a->text() == "Copy") copy = a;
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    plat::SetClipboard(nullptr);
    EXPECT_EQ(clipboard.text, "20240101234");

    QTest::mouseClick(info->OkButton(), Qt::LeftButton);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Window().Information(), nullptr);
    ExpectIdleWindow();

    // The warning shows only when the radio reports it.
    sim_.SetFaults(linkwire::With([](radiosim::Faults& f) { f.overVoltage = true; }));
    app.ReadCloneInfo();
    Run();
    ASSERT_NE(Window().Information(), nullptr);
    cuiSheet& again = *Window().Information()->Sheet();
    std::string warning;
    for (int r = 0; r < again.RowCount(); ++r)
        if (again.GetCell(1, r).cellId == words.CellIndex("CL_CloneInfo_OverVolt")) {
            cmcCellCapsule request;
            again.PrepareRequest(1, r, request);
            CloningCellEngine().Execute(request, 0);
            warning = request.displayText;
        }
    EXPECT_EQ(warning, gGTex->GetTextLine("GI_Mess_CloneInfo_OverVolt", 0));
    Window().Information()->Form()->reject();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form_->isEnabled());
}

} // namespace
