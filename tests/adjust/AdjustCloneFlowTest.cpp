// The adjustment program's document against the simulated radio on a
// pseudo-terminal, with the application manager's automatic adjustment
// joined to it as the manager joins it: a read of the radio leads into
// adjustment use with the first programmed test channel, a failed one
// changes nothing and locks nothing out, and the clone write stops before
// anything is written when the radio's head is not the model's.
#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustCloneCommands.h"
#include "adjust/TestChannel.h"
#include "adjust/indCloneMan.h"
#include "image/BankSite.h"
#include "tests/adjust/AdjustDocumentFixture.h"
#include "tests/app/RecordingWindow.h"
#include "tests/clone/CloneFixture.h"
#include "tests/support/ParamNames.h"
#include "tools/radiosim/RadioSim.h"
#include "tools/radiosim/StartupMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using adjtest::AdjustDocumentFixture;

constexpr uint8_t kPhaseEntryRead = adj::AdjustAutomation::kPhaseEntryRead;

struct Timed {
    uint64_t at;
    radiosim::LogEntry entry;
};

class AdjustCloneFlowTest : public AdjustDocumentFixture {
public:
    using AdjustDocumentFixture::AdjustDoc;

    ~AdjustCloneFlowTest() override {
        if (gEvMan) gEvMan->RemoveListener(&AdjustCloneFlowTest::OnEvent, this);
        if (globals_) AdjustDoc().JoinMainForm({});
    }

    // The program after start-up with the model's data, joined to a radio whose
    // memory is that model's with a few channels.
    adj::AdjustDocument& Start(int32_t model, int32_t radioModel) {
        adj::AdjustDocument& doc = StartAdjust();
        gEnviron->ModelType = model;
        gEnviron->ComPort = 5;
        doc.LoadStartupData();
        const radiosim::StartupMemory radio = radiosim::BuildStartupMemory(radioModel);
        sim.Memory() = radio.bytes;
        sim.SetCloneEnd(radio.cloneEnd);
        sim.SetInfoModel(radioModel);
        sim.onLog = [this](const radiosim::LogEntry& e) {
            log.push_back({scheduler_.Now(), e});
            if (onLog) onLog(e);
        };
        EXPECT_TRUE(sim.Open());
        EXPECT_FALSE(sim.LinkAs(dir_.Path(), 5).empty());
        auto view = std::make_unique<clonetest::RecordingProgress>();
        progress = view.get();
        doc.CloneManager().SetProgressView(std::move(view));
        doc.CloneManager().Driver().SetSettleWait([this](int) { sim.Pump(); });
        // The main form as the link leaves it.
        doc.JoinMainForm([this] { return progress->mainEnabled; });
        automation = &doc.Automation();
        gEvMan->AddListener(&AdjustCloneFlowTest::OnEvent, this);
        return doc;
    }

    // The application manager's event handler: the step pass first, whatever the event.
    static void OnEvent(void* user, const cmcEvent& ev) {
        auto* self = static_cast<AdjustCloneFlowTest*>(user);
        self->events.push_back(ev.type);
        if (self->automation) self->automation->StepPass();
    }

    void Run() {
        adj::indCloneMan& man = AdjustDoc().AdjustCloneMan();
        for (int t = 0; t < 600000 && man.IsBusy(); t += 2) {
            sim.Pump();
            scheduler_.Advance(2);
        }
        ASSERT_FALSE(man.IsBusy());
        sim.Pump();
    }

    // Adjustment items the program sent (code, value), the speed script's item 01 left out.
    std::vector<std::pair<int, int>> Items() const {
        std::vector<std::pair<int, int>> out;
        for (const Timed& t : log) {
            const std::vector<uint8_t>& b = t.entry.bytes;
            if (t.entry.fromRadio || t.entry.what != "E8") continue;
            const auto at = std::search(b.begin(), b.end(), kItemHead.begin(), kItemHead.end()) - b.begin();
            if (static_cast<size_t>(at) + 10 > b.size() || b[at + 7] == 0x01) continue;
            const auto digit = [](uint8_t c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
            out.emplace_back(b[at + 7], digit(b[at + 8]) * 16 + digit(b[at + 9]));
        }
        return out;
    }
    int Frames(const std::string& what, bool fromRadio) const {
        return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const Timed& t) {
            return t.entry.what == what && t.entry.fromRadio == fromRadio;
        }));
    }
    // The first program frame of item `code`.
    const Timed* ItemFrame(int code) const {
        for (const Timed& t : log) {
            const std::vector<uint8_t>& b = t.entry.bytes;
            const auto at = std::search(b.begin(), b.end(), kItemHead.begin(), kItemHead.end()) - b.begin();
            if (!t.entry.fromRadio && static_cast<size_t>(at) + 7 < b.size() && b[at + 7] == code) return &t;
        }
        return nullptr;
    }
    // The radio's memory as an image of the program's size.
    cmcEeprom RadioImage() {
        cmcEeprom image;
        image.SetSize(layout::kImageSize);
        image.Write(0, sim.Memory().data(), static_cast<int32_t>(sim.Memory().size()));
        return image;
    }
    // The radio's memory, edited in its unpacked tables.
    void EditRadio(const std::function<void(cmcEeprom&)>& edit) {
        cmcEeprom image = RadioImage();
        adj::UnpackDynamicArea(image);
        edit(image);
        ASSERT_EQ(adj::Static2Dynamic(image, kPackPlain), 0);
        std::copy(image.Data(), image.Data() + sim.Memory().size(), sim.Memory().begin());
    }

    static constexpr std::array<uint8_t, 3> kItemHead{0xEE, 0xEF, 0xE8};

    testsupport::ScopedEnv comDir{"TOLVANE_COM_DIR", dir_.Path()};
    radiosim::RadioSim sim;
    std::vector<Timed> log;
    std::function<void(const radiosim::LogEntry&)> onLog;
    clonetest::RecordingProgress* progress = nullptr;
    adj::AdjustAutomation* automation = nullptr;
    std::vector<int> events;
    apptest::RecordingWindow window;
};

TEST_F(AdjustCloneFlowTest, AReadLeadsIntoAdjustmentOnTheFirstProgrammedTestChannel) {
    adj::AdjustDocument& doc = Start(5, 5);
    EditRadio([](cmcEeprom& image) {
        // The test channels are the first channel records: the first two cleared.
        ASSERT_FALSE(adj::ReadTestChannel(image, 3).empty);
        for (int ch = 1; ch < 3; ++ch) {
            const int32_t at = adj::TestChannel::kBase + (ch - 1) * adj::TestChannel::kRecordSize;
            image.SetWord(at, 0);
            image.SetWord(at + 2, 0);
        }
        // A key given function 32 without the option bit that normalisation sets for it.
        image.SetByte(93860, 32);
        image.SetByte(93822, static_cast<uint8_t>(image.GetByte(93822) & ~1));
    });
    doc.CloneRead();
    EXPECT_EQ(automation->State().AdjustPhase, kPhaseEntryRead);
    Run();

    ASSERT_TRUE(boxes_.Log().empty()) << boxes_.Log().front().text;
    // The memory came at 38400 baud.
    const int dataFrames = Frames("E4", true);
    ASSERT_GT(dataFrames, 0);
    for (const Timed& t : log) {
        if (t.entry.fromRadio && t.entry.what == "E4") {
            EXPECT_EQ(t.entry.baud, 38400);
        }
    }
    // Then the radio was put into adjustment use, slowly, and told the test channel.
    const Timed* entry = ItemFrame(0x02);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(radiosim::RadioSim::Hex(entry->entry.bytes), "FE FE EE EF E8 44 10 00 00 02 30 31 FD");
    const Timed* readEnd = nullptr;
    for (const Timed& t : log)
        if (t.entry.what == "E5" && t.at <= entry->at) readEnd = &t;
    ASSERT_NE(readEnd, nullptr);
    EXPECT_GE(entry->at - readEnd->at, 250u);
    EXPECT_EQ(Items(), (std::vector<std::pair<int, int>>{{2, 1}, {0, 3}}));
    EXPECT_EQ(automation->State().AdjustPhase, 0);
    // After the read at 38400 the entry goes at 9600 again.
    EXPECT_EQ(entry->entry.baud, 9600);
    // The radio copy holds what the radio holds.
    EXPECT_TRUE(std::equal(sim.Memory().begin(), sim.Memory().end(), doc.RadioCopy().Data()));
    EXPECT_FALSE(doc.IsModified());
    // The model the radio's data names was current: nothing asked, the data reloaded.
    EXPECT_EQ(gEnviron->ModelType, 5);
    EXPECT_EQ(doc.WorkingImage().GetByte(93822) & 1, 1);
    EXPECT_NE(std::find(events.begin(), events.end(), evDataReloaded), events.end());
}

// A document whose session has no main form (none joined, or the window
// gone) reads and loads, and sends the radio nothing after the read.
TEST_F(AdjustCloneFlowTest, WithoutAMainFormAReadOnlyLoads) {
    adj::AdjustDocument& doc = Start(5, 5);
    doc.JoinMainForm({});
    ASSERT_FALSE(doc.MainFormJoined());
    doc.CloneRead();
    EXPECT_EQ(automation->State().AdjustPhase, 0);
    Run();

    ASSERT_TRUE(boxes_.Log().empty()) << boxes_.Log().front().text;
    EXPECT_GT(Frames("E4", true), 0);
    EXPECT_EQ(Items(), (std::vector<std::pair<int, int>>{}));
    EXPECT_EQ(automation->State().AdjustPhase, 0);
    EXPECT_TRUE(std::equal(sim.Memory().begin(), sim.Memory().end(), doc.RadioCopy().Data()));
}

TEST_F(AdjustCloneFlowTest, AReadWhosePhaseChangedMeanwhileOnlyLoads) {
    adj::AdjustDocument& doc = Start(5, 5);
    doc.CloneRead();
    // Whatever took the phase over keeps it: the read does not enter adjustment.
    automation->State().AdjustPhase = 1;
    Run();
    ASSERT_TRUE(boxes_.Log().empty()) << boxes_.Log().front().text;
    EXPECT_TRUE(std::equal(sim.Memory().begin(), sim.Memory().end(), doc.RadioCopy().Data()));
    EXPECT_EQ(automation->State().AdjustPhase, 1);
    EXPECT_TRUE(Items().empty());
}

struct FailedRead {
    const char* name;
    std::function<void(radiosim::RadioSim&)> fault;
};

void PrintTo(const FailedRead& c, std::ostream* os) {
    *os << c.name;
}

class AFailedRead : public AdjustCloneFlowTest, public ::testing::WithParamInterface<FailedRead> {};

TEST_P(AFailedRead, ShowsOneBoxChangesNothingAndLocksNothingOut) {
    adj::AdjustDocument& doc = Start(5, 5);
    GetParam().fault(sim);
    doc.WorkingImage().SetByte(84, 0x5C);
    const cmcEeprom work = doc.WorkingImage();
    const cmcEeprom radio = doc.RadioCopy();
    boxes_.Expect("", plat::IDOK);
    doc.CloneRead();
    Run();
    ASSERT_EQ(boxes_.Log().size(), 1u);
    EXPECT_EQ(boxes_.Log()[0].caption, Text("GI_Sys_AppTitle_ADJ"));
    EXPECT_TRUE(doc.WorkingImage().IsEqual(work));
    EXPECT_TRUE(doc.RadioCopy().IsEqual(radio));
    EXPECT_EQ(automation->State().AdjustPhase, 0);
    EXPECT_TRUE(Items().empty());
    // The level procedures start again.
    automation->StartSweepAuto10();
    EXPECT_NE(automation->State().AdjustPhase, 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, AFailedRead,
                         ::testing::Values(FailedRead{"Silent",
                                                      [](radiosim::RadioSim& s) {
                                                          radiosim::Faults f;
                                                          f.silentInfo = true;
                                                          s.SetFaults(f);
                                                      }},
                                           FailedRead{"WrongModel",
                                                      [](radiosim::RadioSim& s) {
                                                          radiosim::Faults f;
                                                          f.modelWord = 0x4405;
                                                          s.SetFaults(f);
                                                      }},
                                           FailedRead{"RejectedImage",
                                                      [](radiosim::RadioSim& s) { s.Memory()[264] = 0; }},
                                           FailedRead{"SilentRead",
                                                      [](radiosim::RadioSim& s) {
                                                          radiosim::Faults f;
                                                          f.silentRead = true;
                                                          s.SetFaults(f);
                                                      }}),
                         testsupport::CaseName());

// The clone write from data read of a radio of the model: what the user
// answers, what the radio answers, and whether its memory was written.
struct WriteCase {
    const char* name;
    int32_t model;
    // After the read, before the write.
    std::function<void(AdjustCloneFlowTest&)> prepare;
    std::vector<std::pair<const char*, int>> boxes; // text key, answer
    int queries;                                    // information queries of the write
    bool written;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

// The radio's head (true: handheld) in the write's first information reply, and after it.
std::function<void(AdjustCloneFlowTest&)> Head(bool first, bool second) {
    return [first, second](AdjustCloneFlowTest& t) {
        t.sim.SetHandheldHead(first);
        t.onLog = [&t, second](const radiosim::LogEntry& e) {
            if (e.fromRadio && e.what == "E1") t.sim.SetHandheldHead(second);
        };
    };
}

class TheCloneWrite : public AdjustCloneFlowTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(TheCloneWrite, WritesOnlyWhatTheUserAndTheRadioAllow) {
    const WriteCase& c = GetParam();
    adj::AdjustDocument& doc = Start(c.model, c.model);
    doc.CloneRead();
    Run();
    ASSERT_TRUE(boxes_.Log().empty());
    c.prepare(*this);
    log.clear();
    const std::vector<uint8_t> before = sim.Memory();
    for (const auto& [key, answer] : c.boxes)
        boxes_.Expect(Text(key), answer);
    doc.CloneWrite();
    Run();
    for (const plat::ScriptedMessageBox::Shown& b : boxes_.Log())
        EXPECT_EQ(b.caption, Text("GI_Sys_AppTitle_ADJ"));
    EXPECT_EQ(Frames("E0", false), c.queries);
    EXPECT_EQ(Frames("E4", false) > 0, c.written);
    if (!c.written) {
        EXPECT_EQ(sim.Memory(), before);
    }
    doc.SetWindow(nullptr);
}

const std::pair<const char*, int> kConfirm{"GI_Mess_Confirm_CloneWrite", plat::IDOK};
const std::pair<const char*, int> kHead{"GI_Mess_CloneErr5317_Head", plat::IDOK};

INSTANTIATE_TEST_SUITE_P(
    Cases, TheCloneWrite,
    ::testing::Values(
        WriteCase{"HandheldModelMobileRadio", 0, Head(false, false), {kHead}, 1, false},
        WriteCase{"MobileModelHandheldRadio", 5, Head(true, true), {kHead}, 1, false},
        WriteCase{
            "HandheldModelHeadChangedForTheSecondPass", 0, Head(true, false), {kConfirm, kHead}, 2, false},
        WriteCase{
            "MobileModelHeadChangedForTheSecondPass", 5, Head(false, true), {kConfirm, kHead}, 2, false},
        WriteCase{"Cancelled",
                  5,
                  [](AdjustCloneFlowTest&) {},
                  {{"GI_Mess_Confirm_CloneWrite", plat::IDCANCEL}},
                  1,
                  false},
        WriteCase{"NoChannel",
                  5,
                  [](AdjustCloneFlowTest& t) { ASSERT_EQ(t.AdjustDoc().NewFile(), 0); },
                  {{"GI_AppMess_CloneErr_NoActualCh", plat::IDOK}},
                  0,
                  false},
        WriteCase{"DataError",
                  5,
                  [](AdjustCloneFlowTest& t) { t.AdjustDoc().SetWindow(&t.window); },
                  {{"GI_Mess_DataError", plat::IDOK}},
                  0,
                  false},
        WriteCase{"CopyThatDoesNotPack",
                  5,
                  [](AdjustCloneFlowTest& t) {
                      cmcEeprom& work = t.AdjustDoc().WorkingImage();
                      SetBankChannelCount(work, 0, 512);
                      for (int32_t s = 0; s < 13; ++s)
                          SetSiteChannelCount(work, s, 200);
                      for (int32_t n = 0; n < 512; ++n)
                          work.SetWord(65408 + 30 * n, 0x0800);
                  },
                  {kConfirm, {"GI_AppMess_CloneErr_Area", plat::IDOK}},
                  2,
                  false},
        WriteCase{"Good",
                  5,
                  [](AdjustCloneFlowTest&) {},
                  {kConfirm, {"GI_Mess_CloneWrite_Succeeded", plat::IDOK}},
                  2,
                  true}),
    testsupport::CaseName());

TEST_F(AdjustCloneFlowTest, AGoodWriteCarriesTheRadiosRevisionAndTheToleranceWindows) {
    adj::AdjustDocument& doc = Start(5, 5);
    doc.CloneRead();
    Run();
    // Code 2 of the two-tone table, its first tone 1000 Hz; a radio of data revision 0 and data version 0x10.
    doc.WorkingImage().SetWord(81868 + 4 * 2, 1000);
    const uint16_t window = doc.WorkingImage().GetWord(95406 + 16);
    sim.SetRevision(0);
    ASSERT_EQ(sim.Memory()[264], 1);
    boxes_.Expect(Text("GI_Mess_Confirm_CloneWrite"), plat::IDOK);
    boxes_.Expect(Text("GI_Mess_CloneWrite_Succeeded"), plat::IDOK);
    doc.CloneWrite();
    Run();
    EXPECT_EQ(sim.Memory()[264], 0);
    cmcEeprom radio = RadioImage();
    adj::UnpackDynamicArea(radio);
    EXPECT_EQ(radio.GetWord(81868 + 4 * 2), 1000);
    EXPECT_EQ(radio.GetWord(95406 + 16), 970);
    EXPECT_EQ(radio.GetWord(95406 + 18), 1030);
    // The working image keeps the user's windows: the limits went out with the copy only.
    EXPECT_EQ(doc.WorkingImage().GetWord(95406 + 16), window);
}

} // namespace
