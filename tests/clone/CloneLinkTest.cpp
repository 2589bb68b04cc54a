// The driver over a real pseudo-terminal against the radio simulator. The
// simulator runs stepped: before every 10 ms tick of virtual time it takes all
// that the program sent and writes all its answers, so virtual time moves only
// while the radio has nothing more to say and the long time-outs cost no real time.
#include "clone/cmcCloneDrv.h"
#include "tests/clone/LinkWire.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ParamNames.h"
#include "tests/support/TempDir.h"
#include "tools/radiosim/RadioSim.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::PrintTo;

using namespace linkwire;
using radiosim::Faults;
using radiosim::LogEntry;

class CloneLinkTest : public ::testing::Test {
protected:
    CloneLinkTest() {
        EXPECT_TRUE(sim.Open());
        EXPECT_FALSE(sim.LinkAs(dir.Path(), 5).empty());
        drv.SetSettleWait([this](int) { sim.Pump(); });
        drv.SetModel(0x4410, 0);
        drv.SetImageSize(148298);
    }

    // The driver set up for a clone job as the clone manager does it.
    void Configure(bool high, bool write) {
        char frame[128];
        const auto speedText = [&](const char* settings, int d1, int d2) {
            std::snprintf(frame, sizeof frame,
                          "(%s)FEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFE EEEF E8 %04X%04X 01 %02X%02X FD",
                          settings, drv.ModelA(), 0, d1, d2);
            return std::string(frame);
        };
        std::string script = speedText("38400,N,8,1", 0x32, 0x37) + "(9600,N,8,1)";
        std::snprintf(frame, sizeof frame, "FEFE EEEF E8 %04X%04X 55 %02X%02X FD", drv.ModelA(), 0, 0x30,
                      write ? 0x31 : 0x30);
        script += frame;
        script += high ? speedText("9600,N,8,1", 0x30, 0x39) : speedText("38400,N,8,1", 0x32, 0x37);
        drv.SetPort(5, high ? "38400,N,8,1" : "9600,N,8,1");
        drv.SetCommandLeadIn(high ? 48 : 12);
        drv.SetDataLeadIn(0);
        drv.SetScript(script);
        drv.SetEchoCheck(0);
        drv.SetEndCount(1);
        drv.SetWaitGo(1);
        drv.SetAck(128, 0);
        drv.SetTimeout(1000);
        if (write) {
            drv.SetGoTimeout(20000);
            drv.SetTimeout(2000);
        }
    }

    static void OnDone(void* user, dst_CDrv_Result* r) {
        auto* t = static_cast<CloneLinkTest*>(user);
        ++t->doneCalls;
        t->done.emplace(*r);
    }

    void Run(uint64_t maxMs = 120000) {
        for (uint64_t t = 0; t < maxMs && drv.IsBusy(); t += 10) {
            sim.Pump();
            sched.Advance(10);
        }
        ASSERT_FALSE(drv.IsBusy());
        ASSERT_EQ(doneCalls, 1);
    }
    int Code() const { return done ? done->result : -1; }

    std::vector<Wire> Sent(bool fromRadio) const { return linkwire::Sent(sim, fromRadio); }

    testsupport::TempDir dir;
    testsupport::ScopedEnv env{"TOLVANE_COM_DIR", dir.Path()};
    plat::ManualScheduler sched;
    bool installed = (sched.Install(), true);
    radiosim::RadioSim sim;
    cmcCloneDrv drv;
    std::optional<dst_CDrv_Result> done;
    int doneCalls = 0;
};

TEST_F(CloneLinkTest, InformationAtNormalSpeed) {
    Configure(false, false);
    ASSERT_TRUE(drv.StartInfo(&OnDone, this));
    Run();
    EXPECT_EQ(Code(), kCloneOk);
    EXPECT_EQ(done->info1, 0x4410);
    EXPECT_EQ(done->info2, 0x0001);
    ASSERT_EQ(done->payload.Size(), 127);
    EXPECT_EQ(done->payload.Data()[0], 127);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(done->payload.Data()) + 56, 4), "FF7F");
    // The radio starts at 9600 baud: the first speed frame at 38400 is noise to it.
    const std::vector<Wire> want = {
        {38400, "noise", SpeedFrame(0x32, 0x37)},
        {9600, "E8", WriteFlagFrame(false)},
        {38400, "noise", SpeedFrame(0x32, 0x37)},
        {9600, "E0", Command(0xE0, 12)},
    };
    EXPECT_EQ(Sent(false), want);
    ASSERT_EQ(Sent(true).size(), 1u);
    EXPECT_EQ(Sent(true)[0].what, "E1");
    EXPECT_EQ(sim.LineSpeed(), 9600);
}

TEST_F(CloneLinkTest, FullReadAt38400AndBackTo9600Afterwards) {
    sim.FillPattern("random");
    Configure(true, false);
    ASSERT_TRUE(drv.StartRead({{0, 0xFF7F}, {1, 0}}, &OnDone, this));
    Run();
    EXPECT_EQ(Code(), kCloneOk);
    for (int32_t a = 0; a <= 0xFF7F; ++a) {
        ASSERT_EQ(done->image.GetByte(a), sim.Memory()[static_cast<size_t>(a)]) << a;
        ASSERT_TRUE(done->WasReceived(a)) << a;
    }
    EXPECT_FALSE(done->WasReceived(0xFF80));
    EXPECT_EQ(drv.DataByteCount(), 0xFF80);
    const std::vector<Wire> want = {
        {38400, "noise", SpeedFrame(0x32, 0x37)},
        {9600, "E8", WriteFlagFrame(false)},
        {9600, "E8", SpeedFrame(0x30, 0x39)},
        {38400, "E2", Command(0xE2, 48)},
    };
    EXPECT_EQ(Sent(false), want);
    const std::vector<Wire> replies = Sent(true);
    ASSERT_EQ(replies.size(), 4088u + 1u);
    EXPECT_EQ(replies.back(),
              (Wire{38400, "E5", Bytes{0xFE, 0xFE, 0xEF, 0xEE, 0xE5} + Text("Morv Inc.F8") + Bytes{0xFD}}));

    // The next job's script finds the radio at 38400 and brings it back to 9600.
    done.reset();
    doneCalls = 0;
    const size_t before = sim.Log().size();
    Configure(false, false);
    ASSERT_TRUE(drv.StartInfo(&OnDone, this));
    Run();
    EXPECT_EQ(Code(), kCloneOk);
    const std::vector<LogEntry> log = sim.Log();
    ASSERT_GT(log.size(), before);
    EXPECT_EQ(log[before].baud, 38400);
    EXPECT_EQ(log[before].what, "E8");
    EXPECT_EQ(sim.LineSpeed(), 9600);
}

TEST_F(CloneLinkTest, ShortReadAt9600) {
    sim.SetCloneEnd(0x3FF);
    Configure(false, false);
    ASSERT_TRUE(drv.StartRead({{0, 0x3FF}, {1, 0}}, &OnDone, this));
    Run();
    EXPECT_EQ(Code(), kCloneOk);
    for (int32_t a = 0; a <= 0x3FF; ++a)
        ASSERT_EQ(done->image.GetByte(a), sim.Memory()[static_cast<size_t>(a)]) << a;
    EXPECT_EQ(Sent(false).back(), (Wire{9600, "E2", Command(0xE2, 12)}));
    const std::vector<Wire> replies = Sent(true);
    ASSERT_EQ(replies.size(), 64u + 1u);
    for (const Wire& w : replies)
        EXPECT_EQ(w.baud, 9600);
}

TEST_F(CloneLinkTest, WriteAtHighSpeed) {
    cmcEeprom image;
    image.SetSize(148298);
    for (int32_t a = 0; a < 0x10000; ++a)
        image.SetByte(a, static_cast<uint8_t>(0xA5 ^ (a * 13)));
    const std::vector<uint8_t> before = sim.Memory();
    Configure(true, true);
    ASSERT_TRUE(drv.StartWrite(image, {{0x100, 0x7FF}, {1, 0}}, &OnDone, this));
    Run();
    EXPECT_EQ(Code(), kCloneOk);
    EXPECT_TRUE(sim.WriteFlag());
    for (int32_t a = 0; a < radiosim::RadioSim::kMemorySize; ++a) {
        const uint8_t want = a >= 0x100 && a <= 0x7FF ? image.GetByte(a) : before[static_cast<size_t>(a)];
        ASSERT_EQ(sim.Memory()[static_cast<size_t>(a)], want) << a;
    }
    std::vector<Wire> want = {
        {38400, "noise", SpeedFrame(0x32, 0x37)},
        {9600, "E8", WriteFlagFrame(true)},
        {9600, "E8", SpeedFrame(0x30, 0x39)},
        {38400, "E3", Command(0xE3, 48)},
    };
    for (int a = 0x100; a <= 0x7FF; a += 16)
        want.push_back({38400, "E4", ProgramDataFrame(image, a, 16)});
    want.push_back({38400, "E5", Bytes{0xFE, 0xFE, 0xEE, 0xEF, 0xE5} + Text("Morv Inc.70") + Bytes{0xFD}});
    EXPECT_EQ(Sent(false), want);
    // The go byte, one byte for each block of 128, and the end acknowledgement.
    const std::vector<Wire> replies = Sent(true);
    ASSERT_EQ(replies.size(), 1u + 14u + 1u);
    for (size_t i = 0; i + 1 < replies.size(); ++i)
        EXPECT_EQ(replies[i].bytes, Bytes{0xFB});
    EXPECT_EQ(replies.back().bytes, (Bytes{0xFE, 0xFE, 0xEF, 0xEE, 0xE6, 0x00, 0xFD}));
}

enum class Job { Info, Read, Write };

struct FaultCase {
    const char* name;
    Job job;
    Faults faults;
    int code;
    int imageBound = 148298;
    bool noWaits = false; // write without waiting for the radio
};

class CloneLinkFaultTest : public CloneLinkTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(CloneLinkFaultTest, InjectedFaultGivesItsResult) {
    const FaultCase& c = GetParam();
    sim.SetFaults(c.faults);
    sim.SetCloneEnd(0x3FF);
    drv.SetImageSize(c.imageBound);
    Configure(false, c.job == Job::Write);
    if (c.noWaits) {
        drv.SetWaitGo(0);
        drv.SetAck(0x10000, 0); // a period no address inside the radio reaches again
    }
    cmcEeprom image;
    image.SetSize(c.imageBound);
    const RangeList ranges = {{0, 0x3FF}, {1, 0}};
    switch (c.job) {
    case Job::Info:
        ASSERT_TRUE(drv.StartInfo(&OnDone, this));
        break;
    case Job::Read:
        ASSERT_TRUE(drv.StartRead(ranges, &OnDone, this));
        break;
    case Job::Write:
        ASSERT_TRUE(drv.StartWrite(image, ranges, &OnDone, this));
        break;
    }
    Run();
    EXPECT_EQ(Code(), c.code);
}

const FaultCase kFaults[] = {
    {"silent_info", Job::Info, With([](Faults& f) { f.silentInfo = true; }), kCloneTimeout},
    {"non_bcd_word", Job::Info, With([](Faults& f) { f.nonBcdWord = true; }), kCloneBadFrame},
    {"info_without_words", Job::Info, With([](Faults& f) { f.info = Faults::Info::NoWords; }),
     kCloneBadFrame},
    {"info_without_block", Job::Info, With([](Faults& f) { f.info = Faults::Info::EmptyPayload; }),
     kCloneBadInfo},
    {"short_info_block", Job::Info, With([](Faults& f) { f.info = Faults::Info::ShortBlock; }),
     kCloneBadInfo},
    {"silent_read", Job::Read, With([](Faults& f) { f.silentRead = true; }), kCloneTimeout},
    {"no_end_frame", Job::Read, With([](Faults& f) { f.silentReadEnd = true; }), kCloneTimeout},
    {"bad_checksum", Job::Read, With([](Faults& f) { f.badChecksumFrame = 3; }), kCloneBadFrame},
    {"lower_case_hex", Job::Read, With([](Faults& f) { f.lowerCaseFrame = 2; }), kCloneBadFrame},
    {"dropped_frame", Job::Read, With([](Faults& f) { f.dropFrame = 5; }), kCloneMissing},
    {"extra_frame_not_requested", Job::Read, With([](Faults& f) {
         f.extraFrameAfter = 2;
         f.extraFrameAddress = 0x5000;
     }),
     kCloneOutside},
    {"extra_frame_outside_the_image", Job::Read, With([](Faults& f) {
         f.extraFrameAfter = 2;
         f.extraFrameAddress = 0x7FF0;
     }),
     kCloneOutside, 0x4000},
    {"wrong_end_count", Job::Read, With([](Faults& f) { f.wrongEndCount = true; }), kCloneEndCount},
    {"read_port_gone", Job::Read, With([](Faults& f) { f.disappearAfterFrames = 3; }), kCloneTimeout},
    {"silent_go", Job::Write, With([](Faults& f) { f.silentAck = 0; }), kCloneTimeout},
    {"silent_block_ack", Job::Write, With([](Faults& f) { f.silentAck = 2; }), kCloneTimeout},
    {"refused_go", Job::Write, With([](Faults& f) { f.refuseAck = 0; }), kCloneBadFrame},
    {"refused_block", Job::Write, With([](Faults& f) { f.refuseAck = 3; }), kCloneBadFrame},
    {"silent_end_ack", Job::Write, With([](Faults& f) { f.silentEndAck = true; }), kCloneTimeout},
    {"wrong_end_ack", Job::Write, With([](Faults& f) { f.wrongEndAck = true; }), kCloneBadEndAck},
    {"write_port_gone", Job::Write, With([](Faults& f) { f.disappearAfterFrames = 3; }), kClonePortWriteError,
     148298, true},
};

INSTANTIATE_TEST_SUITE_P(Faults, CloneLinkFaultTest, ::testing::ValuesIn(kFaults), testsupport::CaseName());

TEST_F(CloneLinkTest, WrongModelWordIsReportedAsReceived) {
    sim.SetFaults(With([](Faults& f) { f.modelWord = 0x4420; }));
    Configure(false, false);
    ASSERT_TRUE(drv.StartInfo(&OnDone, this));
    Run();
    EXPECT_EQ(Code(), kCloneOk);
    EXPECT_EQ(done->info1, 0x4420);
}

TEST_F(CloneLinkTest, MissingPortEndsWithCode2) {
    Configure(true, false);
    drv.SetPort(6, "38400,N,8,1");
    testsupport::ScopedEnv other("TOLVANE_COM_DIR", dir.File("nowhere"));
    ASSERT_TRUE(drv.StartRead({{0, 0xFF}, {1, 0}}, &OnDone, this));
    Run();
    EXPECT_EQ(Code(), kClonePortNotOpened);
    EXPECT_TRUE(sim.Log().empty());
}

} // namespace
