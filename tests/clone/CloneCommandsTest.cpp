// The clone read, write and information commands through the clone manager
// against the radio simulator, with the application manager as a recording
// double. Only a successful read may change the working image; every failure
// shows its box.
#include "clone/CloneCommands.h"
#include "foundation/cmcGTex.h"
#include "image/ImageLayout.h"
#include "image/ImagePacking.h"
#include "image/ModelPasses.h"
#include "tests/clone/CloneFixture.h"
#include "tests/image/StartupData.h"
#include "tests/support/ParamNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>

namespace {

using testsupport::PrintTo;

using namespace clonetest;
using linkwire::With;
using radiosim::Faults;

// The LMR start-up data file beside the program: a real radio image.
cmcEeprom StartupImage(cmcGTex& texts) {
    cmcEeprom image;
    EXPECT_EQ(testimage::LoadCloneFile(testimage::StartupFilePath(texts, 0), image), 0);
    return image;
}

class HostDouble : public CloneHost {
public:
    HostDouble() {
        work.SetSize(layout::kImageSize);
        work.Fill(0x5A);
    }

    cmcEeprom& WorkingImage() override { return work; }
    uint16_t ModelCode() const override { return 0x4410; }
    uint16_t SubCode() const override { return 0; }
    bool IsMakerMode() const override { return maker; }
    CloneInfoBlock& InfoBlock() override { return info; }
    RadioIdentity& Identity() override { return identity; }
    int ConfirmSave(bool) override {
        calls.push_back("ConfirmSave");
        return saveAnswer;
    }
    int ConfirmMakerCaution() override {
        calls.push_back("MakerCaution");
        return makerAnswer;
    }
    void EndEdit() override { calls.push_back("EndEdit"); }
    void SetModified() override { calls.push_back("SetModified"); }
    void SetFileName(const std::string& path) override { calls.push_back("SetFileName:" + path); }
    void CloseSheet() override { calls.push_back("CloseSheet"); }
    void AfterLoad(cmcEeprom& image) override {
        calls.push_back(&image == &work ? "AfterLoad" : "AfterLoad:other");
    }
    void NormalizeImage(cmcEeprom& image, int mode) override {
        calls.push_back((&image == &work ? "Normalize:" : "NormalizeCopy:") + std::to_string(mode));
    }
    int Static2Dynamic(cmcEeprom& image, int mode) override {
        const int r = ::Static2Dynamic(image, mode);
        if (onPack) onPack(image);
        packed = image;
        return r;
    }
    int CheckImage(const cmcEeprom& image, bool strict) override { return CheckImageHeader(image, strict); }
    bool IsLockedOutNewerData(const cmcEeprom&) override { return lockout; }
    RangeList CloneAreas(int32_t type) override {
        if (type == 0 && normalArea) return {*normalArea, kRangeListEnd};
        return CloneAreasFor(type);
    }
    int ProgrammedChannelCount() override { return channels; }
    int DataWarningCount() override { return warnings; }
    void OpenCloneInformation() override { calls.push_back("Information"); }
    void SendDataReloaded() override { calls.push_back("Event25"); }

    cmcEeprom work;
    cmcEeprom packed;
    bool maker = false;
    CloneInfoBlock info{};
    RadioIdentity identity{};
    int saveAnswer = plat::IDNO;
    int makerAnswer = plat::IDOK;
    bool lockout = false;
    int channels = 1;
    int warnings = 0;
    std::optional<AddressRange> normalArea; // instead of the program's area of type 0
    std::function<void(cmcEeprom&)> onPack;
    std::vector<std::string> calls;
};

class CloneCommandsTest : public CloneFixture {
protected:
    CloneCommandsTest() {
        const cmcEeprom radio = StartupImage(texts);
        std::memcpy(sim.Memory().data(), radio.Data(), sim.Memory().size());
        // Read as far as the block that holds the end signature, not the whole radio.
        const int32_t signature =
            radio.GetWord(layout::kHdrEndAddress) - radio.GetWord(layout::kHdrBase) + 504;
        cloneEnd = ((signature + 8) | 15);
        sim.SetCloneEnd(cloneEnd);
        before = host.work;
    }

    std::string Lines(const char* key) { return GetMultiLineText(texts, key); }
    bool WorkUnchanged() const { return host.work.IsEqual(before); }

    HostDouble host;
    AppCloneCommands cmds{host, man};
    int32_t cloneEnd = 0;
    cmcEeprom before;
};

TEST_F(CloneCommandsTest, ReadLandsInTheWorkingImage) {
    cmds.CloneRead();
    EXPECT_TRUE(man.IsBusy());
    Run();
    EXPECT_TRUE(boxes.Log().empty());
    EXPECT_EQ(Commands(), (std::vector<std::string>{"E0", "E2"}));
    for (int32_t a = 0; a < layout::kImageSize; ++a) {
        const uint8_t want = a <= cloneEnd ? sim.Memory()[static_cast<size_t>(a)] : 0;
        ASSERT_EQ(host.work.GetByte(a), want) << a;
    }
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ConfirmSave", "AfterLoad", "SetModified",
                                                    "SetFileName:", "CloseSheet", "Event25"}));
    EXPECT_EQ(host.identity, (RadioIdentity{0x44, 0x10, 0x00, 0x01}));
    const std::vector<uint8_t> block = sim.InfoBlock();
    ASSERT_EQ(block.size(), 127u);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), host.info.begin()))
        << "the block as the radio sent it";
    EXPECT_TRUE(cmds.PendingAreas().empty());
    // Progress over the read only: opened once, filling up, closed, the main form back.
    EXPECT_EQ(man.Total(), cloneEnd + 1);
    EXPECT_EQ(progress->opens, 1);
    EXPECT_FALSE(progress->open);
    EXPECT_TRUE(progress->mainEnabled);
    EXPECT_EQ(progress->disables, 2); // the information job, then the read
    ASSERT_GE(progress->paints.size(), 2u);
    EXPECT_TRUE(std::is_sorted(progress->paints.begin(), progress->paints.end()));
    EXPECT_EQ(progress->paints.front(), 0);
    EXPECT_EQ(progress->paints.back(), 32);
}

struct ReadFault {
    const char* name;
    std::function<void(radiosim::RadioSim&, HostDouble&)> set;
    int code;
    std::vector<std::string> commands;
};

class CloneReadFaultTest : public CloneCommandsTest, public ::testing::WithParamInterface<ReadFault> {};

TEST_P(CloneReadFaultTest, ShowsItsBoxAndKeepsTheWorkingImage) {
    const ReadFault& c = GetParam();
    c.set(sim, host);
    // A port with no device behind it is named by the device looked for.
    const plat::PortOpenFailure port =
        c.code == kClonePortNotOpened ? plat::PortOpenFailure{plat::ComPortPath(gEnviron->ComPort), ENOENT}
                                      : plat::PortOpenFailure{};
    const std::string text = indCloneMan::CloneErrorText(c.code, port);
    boxes.Expect(text, plat::IDOK);
    cmds.CloneRead();
    Run();
    EXPECT_TRUE(boxes.Done());
    ASSERT_EQ(boxes.Log().size(), 1u);
    EXPECT_EQ(boxes.Log()[0].text, text);
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_TRUE(WorkUnchanged());
    EXPECT_EQ(host.calls, std::vector<std::string>{"ConfirmSave"});
    EXPECT_TRUE(cmds.PendingAreas().empty());
    EXPECT_FALSE(progress->open);
    EXPECT_TRUE(progress->mainEnabled);
}

const std::vector<std::string> kInfoOnly{"E0"};
const std::vector<std::string> kInfoAndRead{"E0", "E2"};

const ReadFault kReadFaults[] = {
    {"silent_radio", [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.silentInfo = true; })); },
     kCloneTimeout, kInfoOnly},
    {"bad_checksum", [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.badChecksumFrame = 3; })); },
     kCloneBadFrame, kInfoAndRead},
    {"wrong_model", [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.modelWord = 0x4420; })); },
     kCloneBadInfo, kInfoOnly},
    {"short_info_block",
     [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.info = Faults::Info::ShortBlock; })); },
     kCloneBadInfo, kInfoOnly},
    {"empty_info_block",
     [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.info = Faults::Info::EmptyPayload; })); },
     kCloneBadInfo, kInfoOnly},
    {"revision_2", [](auto& s, auto&) { s.SetRevision(2); }, 14, kInfoOnly},
    // The end signature's offset lies before the image: the strict check fails, nothing is read past it.
    {"signature_outside_the_image",
     [](auto& s, auto&) {
         s.Memory()[layout::kHdrEndAddress] = 0x00;
         s.Memory()[layout::kHdrEndAddress + 1] = 0x00;
         s.Memory()[layout::kHdrBase] = 0xFF;
         s.Memory()[layout::kHdrBase + 1] = 0xFF;
     },
     15, kInfoAndRead},
    {"newer_data", [](auto&, auto& h) { h.lockout = true; }, 16, kInfoAndRead},
    {"dropped_frame", [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.dropFrame = 5; })); },
     kCloneMissing, kInfoAndRead},
    {"frame_not_requested",
     [](auto& s, auto&) {
         s.SetFaults(With([](Faults& f) {
             f.extraFrameAfter = 2;
             f.extraFrameAddress = 0xF000;
         }));
     },
     kCloneOutside, kInfoAndRead},
    {"wrong_end_count", [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.wrongEndCount = true; })); },
     kCloneEndCount, kInfoAndRead},
    {"port_gone_while_reading",
     [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.disappearAfterFrames = 3; })); }, kCloneTimeout,
     kInfoAndRead},
    // No device behind the COM port: the program never reaches a radio.
    {"no_port", [](auto&, auto&) { gEnviron->ComPort = 6; }, kClonePortNotOpened, {}},
};

INSTANTIATE_TEST_SUITE_P(Faults, CloneReadFaultTest, ::testing::ValuesIn(kReadFaults),
                         testsupport::CaseName());

TEST_F(CloneCommandsTest, CancelInTheSaveQuestionEndsBeforeThePort) {
    host.saveAnswer = plat::IDCANCEL;
    cmds.CloneRead();
    EXPECT_FALSE(man.IsBusy());
    Run();
    EXPECT_TRUE(sim.Log().empty());
    EXPECT_EQ(host.calls, std::vector<std::string>{"ConfirmSave"});
    EXPECT_EQ(progress->disables, 0);
}

TEST_F(CloneCommandsTest, CloneAreaEndFromTheInformationBlock) {
    const struct {
        const char* text;
        int32_t last;
    } cases[] = {{"7f7F", 0x7F7F}, {"8000", 0x800F}, {"0000", 0x000F}, {"7G7F", 0x707F},
                 {"FF7F", 0xFF7F}, {"FFFF", 0xFF7F}}; // past the radio's memory: clamped to its end
    for (const auto& c : cases) {
        CloneInfoBlock block{};
        std::memcpy(block.data() + CloneCommands::kInfoCloneEnd, c.text, 4);
        EXPECT_EQ(CloneCommands::CloneAreaEnd(block), c.last) << c.text;
    }
    // The read that follows an information reply asks for that area.
    std::memcpy(host.info.data() + CloneCommands::kInfoCloneEnd, "7f7F", 4);
    dst_CDrv_Result ok(1, 0x4410, 1, 1);
    ok.result = kCloneOk;
    cmds.OnReadInfo(ok);
    EXPECT_TRUE(man.IsBusy());
    EXPECT_EQ(cmds.PendingAreas().size(), 2u);
    EXPECT_EQ(cmds.PendingAreas()[0].first, 0);
    EXPECT_EQ(cmds.PendingAreas()[0].last, 0x7F7F);
    EXPECT_EQ(man.Total(), 0x7F80);
}

TEST_F(CloneCommandsTest, InformationReplyKeepsOnlyTheBytesThatCame) {
    const struct {
        int size;
        int lengthByte;
        int code;
    } cases[] = {{0, 0, kCloneBadInfo}, {40, 40, kCloneBadInfo}, {100, 127, kCloneBadInfo},
                 {100, 100, kCloneOk},  {127, 127, kCloneOk},    {140, 140, kCloneOk}};
    for (const auto& c : cases) {
        host.info.fill(0xEE);
        dst_CDrv_Result r(1, 0x4410, 1, 1);
        r.result = kCloneOk;
        std::vector<uint8_t> payload(static_cast<size_t>(c.size), 0x31);
        if (c.size > 0) payload[0] = static_cast<uint8_t>(c.lengthByte);
        if (c.size > 35) payload[35] = 1;
        r.payload.Set(payload.data(), c.size);
        cmds.CheckInfoReply(r);
        EXPECT_EQ(r.result, c.code) << c.size;
        for (int i = 0; i < 127; ++i) {
            const uint8_t want = c.code != kCloneOk ? 0xEE : i < c.size ? payload[static_cast<size_t>(i)] : 0;
            ASSERT_EQ(host.info[static_cast<size_t>(i)], want) << c.size << " " << i;
        }
    }
}

TEST_F(CloneCommandsTest, InformationOpensTheInformationWindow) {
    cmds.ReadCloneInfo();
    Run();
    EXPECT_TRUE(boxes.Log().empty());
    EXPECT_EQ(host.calls, std::vector<std::string>{"Information"});
    EXPECT_EQ(host.identity, (RadioIdentity{0x44, 0x10, 0x00, 0x01}));
    EXPECT_EQ(progress->opens, 0);
    EXPECT_TRUE(WorkUnchanged());
}

// --- Clone write

class CloneWriteTest : public CloneCommandsTest {
protected:
    CloneWriteTest() {
        host.work = StartupImage(texts);
        before = host.work;
        sim.FillPattern("ff");
        radioBefore = sim.Memory();
    }
    bool RadioUnchanged() { return sim.Memory() == radioBefore; }

    std::vector<uint8_t> radioBefore;
};

TEST_F(CloneWriteTest, ConfirmedWriteSendsThePackedCopyUpToTheUsedEnd) {
    boxes.Expect(Lines("GI_Mess_Confirm_CloneWrite"), plat::IDOK);
    boxes.Expect(Lines("GI_Mess_CloneWrite_Succeeded"), plat::IDOK);
    cmds.CloneWrite();
    Run();
    EXPECT_TRUE(boxes.Done());
    EXPECT_EQ(boxes.Log()[0].flags, plat::MB_OKCANCEL | plat::MB_ICONWARNING);
    EXPECT_EQ(boxes.Log()[1].flags, plat::MB_OK | plat::MB_ICONINFORMATION);
    EXPECT_EQ(Commands(), (std::vector<std::string>{"E0", "E0", "E3"}));
    EXPECT_TRUE(sim.WriteFlag());
    const int32_t last = (host.packed.GetWord(layout::kHdrEndAddress) & ~127) + 127;
    ASSERT_GT(last, 0x100);
    cmcEeprom sent = host.packed;
    sent.SetByte(264, 1); // the radio's revision from its information block
    for (int32_t a = 0; a < radiosim::RadioSim::kMemorySize; ++a) {
        const uint8_t want = a >= 0x100 && a <= last ? sent.GetByte(a) : radioBefore[static_cast<size_t>(a)];
        ASSERT_EQ(sim.Memory()[static_cast<size_t>(a)], want) << a;
    }
    EXPECT_TRUE(WorkUnchanged()); // the copy went out, the working image stays as it is
    EXPECT_EQ(host.calls, (std::vector<std::string>{"EndEdit", "NormalizeCopy:1", "CloseSheet"}));
    EXPECT_TRUE(cmds.PendingAreas().empty());
    EXPECT_EQ(progress->opens, 1);
    EXPECT_FALSE(progress->open);
}

struct WriteFault {
    const char* name;
    std::function<void(radiosim::RadioSim&, HostDouble&)> set;
    bool confirmAnswered; // the confirmation box is shown and answered OK
    std::string box;      // text part of the box that ends it
    std::vector<std::string> commands;
};

class CloneWriteFaultTest : public CloneWriteTest, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(CloneWriteFaultTest, NothingIsWrittenOrReportedAsWritten) {
    const WriteFault& c = GetParam();
    c.set(sim, host);
    if (c.confirmAnswered) boxes.Expect(Lines("GI_Mess_Confirm_CloneWrite"), plat::IDOK);
    if (!c.box.empty())
        boxes.Expect(std::isdigit(static_cast<unsigned char>(c.box[0]))
                         ? indCloneMan::CloneErrorText(std::stoi(c.box))
                         : Lines(c.box.c_str()),
                     plat::IDOK);
    if (c.box.empty() && !c.confirmAnswered && !host.maker)
        boxes.Expect(Lines("GI_Mess_Confirm_CloneWrite"), plat::IDCANCEL);
    cmds.CloneWrite();
    Run();
    EXPECT_TRUE(boxes.Done());
    EXPECT_EQ(Commands(), c.commands);
    if (c.commands.size() < 3) {
        EXPECT_TRUE(RadioUnchanged());
    }
    for (const auto& shown : boxes.Log())
        EXPECT_EQ(shown.text.find(Lines("GI_Mess_CloneWrite_Succeeded")), std::string::npos);
    EXPECT_TRUE(WorkUnchanged());
    EXPECT_TRUE(cmds.PendingAreas().empty());
    EXPECT_FALSE(man.IsBusy());
    EXPECT_FALSE(progress->open);
    EXPECT_TRUE(progress->mainEnabled);
}

const WriteFault kWriteFaults[] = {
    {"no_programmed_channel",
     [](auto&, auto& h) { h.channels = 0; },
     false,
     "GI_AppMess_CloneErr_NoActualCh",
     {}},
    {"data_warnings", [](auto&, auto& h) { h.warnings = 2; }, false, "GI_Mess_DataError", {}},
    {"confirmation_cancelled", [](auto&, auto&) {}, false, "", {"E0"}},
    {"maker_caution_cancelled",
     [](auto&, auto& h) {
         h.maker = true;
         h.makerAnswer = plat::IDCANCEL;
     },
     false,
     "",
     {"E0"}},
    {"radio_refuses",
     [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.refuseAck = 0; })); },
     true,
     "6",
     {"E0", "E0", "E3"}},
    {"radio_silent_after_go",
     [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.silentAck = 2; })); },
     true,
     "5",
     {"E0", "E0", "E3"}},
    {"wrong_end_acknowledgement",
     [](auto& s, auto&) { s.SetFaults(With([](Faults& f) { f.wrongEndAck = true; })); },
     true,
     "10",
     {"E0", "E0", "E3"}},
    // The used end below the start of the area, or past the radio's memory: refused before the port.
    {"used_end_below_the_area",
     [](auto&, auto& h) { h.onPack = [](cmcEeprom& c) { c.SetWord(274, 0x0080); }; },
     true,
     "GI_AppMess_CloneErr_Area",
     {"E0", "E0"}},
    {"used_end_past_the_radio",
     [](auto&, auto& h) { h.onPack = [](cmcEeprom& c) { c.SetWord(274, 0xFFC0); }; },
     true,
     "GI_AppMess_CloneErr_Area",
     {"E0", "E0"}},
};

INSTANTIATE_TEST_SUITE_P(Faults, CloneWriteFaultTest, ::testing::ValuesIn(kWriteFaults),
                         testsupport::CaseName());

TEST_F(CloneWriteTest, MainWindowWriteSendsTheNormalisedWorkingImageOverTheNormalArea) {
    CloneCommands plain(host,
                        man); // the main window's own commands, without the application manager's checks
    host.normalArea = AddressRange{0x100, 0x2FF};
    boxes.Expect(Lines("GI_Mess_CloneWrite_Succeeded"), plat::IDOK);
    plain.CloneWrite();
    Run();
    EXPECT_TRUE(boxes.Done());
    EXPECT_EQ(Commands(), (std::vector<std::string>{"E0", "E3"}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"EndEdit", "Normalize:1", "CloseSheet"}));
    for (int32_t a = 0; a < radiosim::RadioSim::kMemorySize; ++a) {
        const uint8_t want =
            a >= 0x100 && a <= 0x2FF ? host.work.GetByte(a) : radioBefore[static_cast<size_t>(a)];
        ASSERT_EQ(sim.Memory()[static_cast<size_t>(a)], want) << a;
    }
}

} // namespace
