// The protocol driver against a scripted device: exact bytes, frame checks and
// time-outs on virtual time (the device answers inside the write, so virtual
// time moves only while the radio side has nothing more to say).
#include "clone/cmcCloneDrv.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ScriptedSerialPorts.h"

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

std::string Hex(const Bytes& b) {
    std::string s;
    char two[3];
    for (uint8_t x : b) {
        std::snprintf(two, sizeof two, "%02X", x);
        s += two;
    }
    return s;
}

// Frames as the radio sends them, built here independently of the driver.
Bytes FromRadio(uint8_t cmd, const Bytes& body) {
    return Bytes{0xFE, 0xFE, 0xEF, 0xEE, cmd} + body + Bytes{0xFD};
}

Bytes DataText(int address, const Bytes& data, int checksumDelta = 0) {
    Bytes raw{static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
              static_cast<uint8_t>(data.size())};
    raw = raw + data;
    unsigned sum = 0;
    for (uint8_t b : raw)
        sum += b;
    raw.push_back(static_cast<uint8_t>((256 - sum % 256 + checksumDelta) % 256));
    return Text(Hex(raw));
}

Bytes Pattern(int address, int n) {
    Bytes b;
    for (int i = 0; i < n; ++i)
        b.push_back(static_cast<uint8_t>((address + i) * 3 + 1));
    return b;
}

Bytes DataFrame(int address, int n) {
    return FromRadio(0xE4, DataText(address, Pattern(address, n)));
}

Bytes EndFrame(const std::string& text) {
    return FromRadio(0xE5, Text(text));
}

Bytes InfoReply(const Bytes& words, const Bytes& payload) {
    return FromRadio(0xE1, words + payload);
}

Bytes Command(uint8_t cmd, int leadIn = 0) {
    return Bytes(static_cast<size_t>(leadIn), 0xFE) +
           Bytes{0xFE, 0xFE, 0xEE, 0xEF, cmd, 0x44, 0x10, 0x00, 0x00, 0xFD};
}

class CloneDrvTest : public ::testing::Test {
protected:
    CloneDrvTest() {
        ports.Install();
        ports.onWrite = [this](const uint8_t* data, int n) {
            for (int i = 0; i < n; ++i) {
                pending.push_back(data[i]);
                if (data[i] == 0xFD) {
                    Bytes frame;
                    frame.swap(pending);
                    sent.push_back(frame);
                    if (respond) respond(frame);
                }
            }
        };
        drv.SetSettleWait([this](int ms) { settles.push_back(ms); });
        drv.SetModel(0x4410, 0);
        drv.SetImageSize(0x100);
        drv.SetPort(5, "9600,n,8,1");
    }

    static void OnDone(void* user, dst_CDrv_Result* r) {
        auto* t = static_cast<CloneDrvTest*>(user);
        ++t->doneCalls;
        t->portOpenAtDone = t->ports.isOpen;
        t->done.emplace(*r);
    }

    void Run(uint64_t maxMs = 60000) {
        for (uint64_t t = 0; t < maxMs && drv.IsBusy(); t += 10)
            sched.Advance(10);
    }
    int Code() const { return done ? done->result : -1; }
    // The command byte of a frame the program sent (lead-ins skipped).
    static int CommandOf(const Bytes& frame) {
        size_t i = 0;
        while (i < frame.size() && frame[i] == 0xFE)
            ++i;
        return i + 2 < frame.size() ? frame[i + 2] : -1;
    }
    static cmcEeprom PatternImage(int size) {
        cmcEeprom image;
        image.SetSize(size);
        for (int a = 0; a < size; ++a)
            image.SetByte(a, Pattern(a, 1)[0]);
        return image;
    }
    // A write job waiting for the go byte and for every block of 128 bytes, and its image of 0x300 bytes.
    cmcEeprom BlockWrite() {
        drv.SetWaitGo(1);
        drv.SetAck(128, 0);
        drv.SetImageSize(0x300);
        return PatternImage(0x300);
    }
    void Reset() {
        done.reset();
        doneCalls = 0;
        sent.clear();
        pending.clear();
        ports.written.clear();
        ports.input.clear();
    }

    plat::ManualScheduler sched;
    bool installed = (sched.Install(), true); // before the driver creates its task
    plat::ScriptedSerialPorts ports;
    cmcCloneDrv drv;
    std::function<void(const Bytes&)> respond;
    std::vector<Bytes> sent;
    Bytes pending;
    std::vector<int> settles;
    std::optional<dst_CDrv_Result> done;
    int doneCalls = 0;
    bool portOpenAtDone = true;
};

TEST_F(CloneDrvTest, InformationJobSendsTheCommandFrameAndTakesTheReply) {
    const Bytes payload = {5, 1, 2, 3, 4};
    respond = [&](const Bytes& f) {
        if (CommandOf(f) == 0xE0) ports.Feed(InfoReply({0x44, 0x10, 0x01, 0x02}, payload));
    };
    drv.SetCommandLeadIn(3);
    ASSERT_TRUE(drv.StartInfo(&OnDone, this));
    EXPECT_TRUE(drv.IsBusy());
    Run();
    ASSERT_EQ(doneCalls, 1);
    EXPECT_FALSE(portOpenAtDone);
    EXPECT_EQ(Code(), kCloneOk);
    EXPECT_EQ(done->operation, 1);
    EXPECT_EQ(done->info1, 0x4410);
    EXPECT_EQ(done->info2, 0x0102);
    EXPECT_EQ(Bytes(done->payload.Data(), done->payload.Data() + done->payload.Size()), payload);
    EXPECT_EQ(ports.written, Command(0xE0, 3));
    EXPECT_EQ(ports.paths.back(), plat::ComPortPath(5));
    EXPECT_EQ(settles, std::vector<int>({100}));
    EXPECT_FALSE(drv.IsBusy());
    EXPECT_EQ(sched.ActiveTimers(), 0);
}

TEST_F(CloneDrvTest, InformationRepliesAreCheckedAndNeverReadPastTheirBytes) {
    const Bytes words = {0x44, 0x10, 0x00, 0x01};
    Bytes big(512, 0x11);
    big[0] = 200;
    struct Case {
        const char* name;
        Bytes reply;
        int code;
        int payloadSize;
    };
    const Case cases[] = {
        {"whole", InfoReply(words, {3, 9, 9}), kCloneOk, 3},
        {"noise before it", Bytes{0x00, 0x11, 0xFD} + InfoReply(words, {1}), kCloneOk, 1},
        {"word not two decimal digits", InfoReply({0x44, 0x1A, 0x00, 0x01}, {1}), kCloneBadFrame, 0},
        {"another command", FromRadio(0xE4, words + Bytes{1}), kCloneBadFrame, 0},
        {"program's direction", Bytes{0xFE, 0xFE, 0xEE, 0xEF, 0xE1} + words + Bytes{1, 0xFD}, kCloneBadFrame,
         0},
        // Too short for the two words: as bad as any other frame.
        {"stops inside the words", FromRadio(0xE1, {0x44, 0x10}), kCloneBadFrame, 0},
        {"nothing after the command", FromRadio(0xE1, {}), kCloneBadFrame, 0},
        {"no payload", InfoReply(words, {}), kCloneBadInfo, 0},
        {"block shorter than it says", InfoReply(words, {127, 1, 2}), kCloneBadInfo, 3},
        {"two replies, the later counts", InfoReply({0x44, 0x1A, 0, 0}, {1}) + InfoReply(words, {2, 7}),
         kCloneOk, 2},
        {"520 bytes", InfoReply(words, big), kCloneOk, 512},
        {"521 bytes", InfoReply(words, big + Bytes{0x11}), kCloneBadFrame, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        respond = [&](const Bytes& f) {
            if (CommandOf(f) == 0xE0) ports.Feed(c.reply);
        };
        ASSERT_TRUE(drv.StartInfo(&OnDone, this));
        Run();
        ASSERT_EQ(doneCalls, 1);
        EXPECT_EQ(Code(), c.code);
        EXPECT_EQ(done->payload.Size(), c.payloadSize);
    }
}

TEST_F(CloneDrvTest, SilenceEndsWithATimeOutOnVirtualTime) {
    ASSERT_TRUE(drv.StartInfo(&OnDone, this));
    while (sent.empty())
        sched.Advance(10);
    const uint64_t sentAt = sched.Now();
    while (drv.IsBusy())
        sched.Advance(10);
    EXPECT_EQ(Code(), kCloneTimeout);
    // The information reply time-out, counted from the tick after the request went out.
    EXPECT_GE(sched.Now() - sentAt, 1000u);
    EXPECT_LE(sched.Now() - sentAt, 1040u);
}

TEST_F(CloneDrvTest, GoByteIsAwaitedForTheWholeGoTimeOut) {
    drv.SetWaitGo(1);
    drv.SetGoTimeout(20000);
    drv.SetTimeout(2000);
    cmcEeprom image;
    image.SetSize(0x100);
    ASSERT_TRUE(drv.StartWrite(image, {{0, 0x1F}, {1, 0}}, &OnDone, this));
    while (sent.empty())
        sched.Advance(10);
    const uint64_t sentAt = sched.Now();
    sched.Advance(19900);
    EXPECT_TRUE(drv.IsBusy());
    Run();
    EXPECT_EQ(Code(), kCloneTimeout);
    EXPECT_GE(sched.Now() - sentAt, 20000u);
    EXPECT_LE(sched.Now() - sentAt, 20040u);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], Command(0xE3));
}

TEST_F(CloneDrvTest, WriteWaitsForTheRadioAtEveryBlockOfTheAcknowledgePeriod) {
    const cmcEeprom image = BlockWrite();
    std::vector<int> waits;
    respond = [&](const Bytes& f) {
        if (CommandOf(f) == 0xE3) ports.Feed({0xFB});
        if (CommandOf(f) == 0xE5) ports.Feed(FromRadio(0xE6, {0x00}));
    };
    ASSERT_TRUE(drv.StartWrite(image, {{0x100, 0x1FF}, {1, 0}}, &OnDone, this));
    for (int block = 0; block < 2; ++block) {
        // The driver holds back the next frame until the block is acknowledged.
        Run(500);
        ASSERT_TRUE(drv.IsBusy());
        EXPECT_EQ(sent.size(), 1u + 8u * (block + 1));
        ports.Feed({0xFB});
    }
    Run();
    EXPECT_EQ(Code(), kCloneOk);
    ASSERT_EQ(sent.size(), 1u + 16u + 1u);
    EXPECT_EQ(sent[0], Command(0xE3));
    for (int i = 0; i < 16; ++i) {
        const int a = 0x100 + 16 * i;
        EXPECT_EQ(sent[1 + i],
                  Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE4}) + DataText(a, Pattern(a, 16)) + Bytes{0xFD})
            << i;
    }
    EXPECT_EQ(sent.back(), Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE5}) + Text("Morv Inc.10") + Bytes{0xFD});
    EXPECT_EQ(drv.DataByteCount(), 256);
    EXPECT_EQ(drv.FrameCount(), 16);
}

// A device whose output queue fills with each write and has drained by the
// next tick: frames are held back and go out in threes, so a block's last
// frame waits in the driver with the frame after it about to be built, and the
// range's last frame is held when the ranges run out.
TEST_F(CloneDrvTest, FramesHeldBackByABusyDeviceStillStopAtTheBlockEndAndAllGoOut) {
    drv.SetPort(5, "4000000,n,8,1"); // line time too short to hold anything back
    const cmcEeprom image = BlockWrite();
    const auto record = ports.onWrite;
    ports.onWrite = [this, record](const uint8_t* data, int n) {
        record(data, n);
        ports.outQueue = 350;
    };
    bool unacknowledged = false; // a data frame came while the block's acknowledgement was unread
    respond = [&](const Bytes& f) {
        if (CommandOf(f) == 0xE3) ports.Feed({0xFB});
        if (CommandOf(f) == 0xE4) {
            unacknowledged = unacknowledged || !ports.input.empty();
            // The frame's text after FE FE EE EF E4: address, then length.
            const int end = std::stoi(std::string(f.begin() + 5, f.begin() + 9), nullptr, 16) +
                            std::stoi(std::string(f.begin() + 9, f.begin() + 11), nullptr, 16);
            if (end % 128 == 0) ports.Feed({0xFB});
        }
        if (CommandOf(f) == 0xE5) ports.Feed(FromRadio(0xE6, {0x00}));
    };
    ASSERT_TRUE(drv.StartWrite(image, {{0x100, 0x1F7}, {1, 0}}, &OnDone, this));
    for (int t = 0; t < 6000 && drv.IsBusy(); ++t) {
        ports.outQueue = 0;
        sched.Advance(10);
    }
    EXPECT_EQ(Code(), kCloneOk);
    EXPECT_FALSE(unacknowledged);
    ASSERT_EQ(sent.size(), 1u + 16u + 1u);
    EXPECT_EQ(sent[16],
              Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE4}) + DataText(0x1F0, Pattern(0x1F0, 8)) + Bytes{0xFD});
    EXPECT_EQ(sent.back(), Bytes({0xFE, 0xFE, 0xEE, 0xEF, 0xE5}) + Text("Morv Inc.10") + Bytes{0xFD});
}

TEST_F(CloneDrvTest, FramesFollowTheBlockGridAndTheRangeEnds) {
    drv.SetDataLeadIns(1, 2);
    drv.SetEndCount(0);
    const cmcEeprom image = PatternImage(0x100);
    respond = [&](const Bytes& f) {
        if (CommandOf(f) == 0xE5) ports.Feed(FromRadio(0xE6, {0x00}));
    };
    ASSERT_TRUE(drv.StartWrite(image, {{0x05, 0x1A}, {0x40, 0x40}, {1, 0}, {0x80, 0x8F}}, &OnDone, this));
    Run();
    EXPECT_EQ(Code(), kCloneOk);
    const Bytes head = {0xFE, 0xFE, 0xEE, 0xEF, 0xE4};
    const std::vector<Bytes> want = {
        Command(0xE3),
        Bytes{0xFE, 0xFE} + head + DataText(0x05, Pattern(0x05, 11)) + Bytes{0xFD},
        Bytes{0xFE} + head + DataText(0x10, Pattern(0x10, 11)) + Bytes{0xFD},
        Bytes{0xFE} + head + DataText(0x40, Pattern(0x40, 1)) + Bytes{0xFD},
        Bytes{0xFE, 0xFE, 0xEE, 0xEF, 0xE5} + Text("Morv Inc.") + Bytes{0xFD},
    };
    EXPECT_EQ(sent, want);
}

TEST_F(CloneDrvTest, WritesOfNoRangeOrBeyondTheImageOrTheRadioAreRefused) {
    drv.SetImageSize(0x20000);
    cmcEeprom image;
    image.SetSize(0x20000);
    const RangeList cases[] = {
        {},
        {{1, 0}},
        {{0x200, 0x100}},
        {{0, 0xFF80}, {1, 0}},
        {{-1, 5}, {1, 0}},
        {{0, 0x10}, {0x20, 0x10000}, {1, 0}},
    };
    for (const RangeList& ranges : cases) {
        EXPECT_FALSE(drv.StartWrite(image, ranges, &OnDone, this));
        EXPECT_FALSE(drv.IsBusy());
    }
    cmcEeprom small;
    small.SetSize(0x100);
    EXPECT_FALSE(drv.StartWrite(small, {{0, 0x100}, {1, 0}}, &OnDone, this));
    Run();
    EXPECT_EQ(ports.opens, 0);
    EXPECT_EQ(doneCalls, 0);
    // The whole of the radio's memory is fine.
    EXPECT_TRUE(drv.StartWrite(image, {{0, 0xFF7F}, {1, 0}}, &OnDone, this));
}

TEST_F(CloneDrvTest, ReadsBeyondTheImageAreRefused) {
    EXPECT_FALSE(drv.StartRead({{0, 0x100}, {1, 0}}, &OnDone, this));
    EXPECT_FALSE(drv.IsBusy());
    EXPECT_TRUE(drv.StartRead({{0, 0xFF}, {1, 0}}, &OnDone, this));
}

TEST_F(CloneDrvTest, AStartWhileBusyIsRefusedAndLeavesTheJobAlone) {
    respond = [&](const Bytes& f) {
        if (CommandOf(f) == 0xE0) ports.Feed(InfoReply({0x44, 0x10, 0, 0}, {1}));
    };
    cmcEeprom image;
    image.SetSize(0x100);
    ASSERT_TRUE(drv.StartInfo(&OnDone, this));
    sched.Advance(30);
    EXPECT_FALSE(drv.StartInfo(&OnDone, this));
    EXPECT_FALSE(drv.StartRead({{0, 0xF}, {1, 0}}, &OnDone, this));
    EXPECT_FALSE(drv.StartWrite(image, {{0, 0xF}, {1, 0}}, &OnDone, this));
    Run();
    EXPECT_EQ(doneCalls, 1);
    EXPECT_EQ(Code(), kCloneOk);
    EXPECT_EQ(done->operation, 1);
}

TEST_F(CloneDrvTest, ReadFramesAreCheckedAndTheCoverageDecides) {
    struct Case {
        const char* name;
        Bytes stream;
        int code;
    };
    const Bytes f0 = DataFrame(0x00, 16), f1 = DataFrame(0x10, 16);
    const Bytes head = {0xFE, 0xFE, 0xEF, 0xEE, 0xE4};
    Bytes lower = DataText(0x10, Pattern(0x10, 16));
    for (auto& c : lower)
        c = static_cast<uint8_t>(std::tolower(c));
    Bytes longFrame = head + Bytes(600, '0');
    const Case cases[] = {
        {"whole", f0 + f1 + EndFrame("Morv Inc.02"), kCloneOk},
        {"odd lengths", DataFrame(0, 15) + DataFrame(15, 17) + EndFrame("Morv Inc.02"), kCloneOk},
        {"lead-ins and noise between frames",
         Bytes{0xFE, 0xFE, 0xFE} + f0 + Bytes{0x00, 0x41} + f1 + EndFrame("Morv Inc.02"), kCloneOk},
        {"odd number of hex digits", f0 + head + DataText(0x10, Pattern(0x10, 16)) + Text("0") + Bytes{0xFD},
         kCloneBadFrame},
        {"lower-case hex", f0 + head + lower + Bytes{0xFD}, kCloneBadFrame},
        {"bad checksum", f0 + FromRadio(0xE4, DataText(0x10, Pattern(0x10, 16), 1)), kCloneBadFrame},
        {"length byte wrong",
         f0 + FromRadio(0xE4, Text("001011") + Text(Hex(Pattern(0x10, 16))) + Text("00")), kCloneBadFrame},
        {"too short", f0 + FromRadio(0xE4, Text("0010")), kCloneBadFrame},
        {"unknown command", f0 + FromRadio(0xE7, Text("0010100000000000")), kCloneBadFrame},
        {"longer than a frame can be", f0 + longFrame, kCloneBadFrame},
        {"beyond the image", f0 + DataFrame(0xF8, 16), kCloneOutside},
        {"not requested", f0 + f1 + DataFrame(0x40, 16) + EndFrame("Morv Inc.03"), kCloneOutside},
        {"one frame missing", f0 + EndFrame("Morv Inc.01"), kCloneMissing},
        {"end count differs", f0 + f1 + EndFrame("Morv Inc.03"), kCloneEndCount},
        {"end frame short", f0 + f1 + EndFrame("Morv Inc.2"), kCloneBadFrame},
        {"end frame long", f0 + f1 + EndFrame("Morv Inc.020"), kCloneBadFrame},
        {"end frame of another maker", f0 + f1 + EndFrame("Morx Inc.02"), kCloneBadFrame},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        respond = [&](const Bytes& f) {
            if (CommandOf(f) == 0xE2) ports.Feed(c.stream);
        };
        ASSERT_TRUE(drv.StartRead({{0, 0x1F}, {1, 0}}, &OnDone, this));
        Run();
        ASSERT_EQ(doneCalls, 1);
        EXPECT_EQ(Code(), c.code);
        EXPECT_EQ(sent.front(), Command(0xE2));
        if (c.code == kCloneOk) {
            for (int a = 0; a < 0x20; ++a)
                ASSERT_EQ(done->image.GetByte(a), Pattern(a, 1)[0]) << a;
            EXPECT_TRUE(done->WasReceived(0x1F));
            EXPECT_FALSE(done->WasReceived(0x20));
            EXPECT_EQ(drv.DataByteCount(), 32);
        }
    }
}

TEST_F(CloneDrvTest, EndFrameWithoutCountWhenTheFlagIsOff) {
    drv.SetEndCount(0);
    respond = [&](const Bytes& f) {
        if (CommandOf(f) == 0xE2) ports.Feed(DataFrame(0, 16) + EndFrame("Morv Inc."));
    };
    ASSERT_TRUE(drv.StartRead({{0, 0xF}, {1, 0}}, &OnDone, this));
    Run();
    EXPECT_EQ(Code(), kCloneOk);
}

TEST_F(CloneDrvTest, OutputThatNeverDrainsKeepsTheResultAlreadyReached) {
    const struct {
        Bytes reply;
        int code;
    } cases[] = {{InfoReply({0x44, 0x10, 0, 0}, {1}), kCloneOk}, {FromRadio(0xE4, {}), kCloneBadFrame}};
    for (const auto& c : cases) {
        Reset();
        ports.outQueue = 0;
        respond = [&](const Bytes& f) {
            if (CommandOf(f) != 0xE0) return;
            ports.Feed(c.reply);
            ports.outQueue = 7; // the line never empties
        };
        ASSERT_TRUE(drv.StartInfo(&OnDone, this));
        Run();
        ASSERT_EQ(doneCalls, 1);
        EXPECT_EQ(Code(), c.code);
        EXPECT_FALSE(ports.isOpen);
    }
}

TEST_F(CloneDrvTest, FailedPortWriteEndsWithItsCode) {
    ports.writeLimit = 4;
    ASSERT_TRUE(drv.StartInfo(&OnDone, this));
    Run();
    EXPECT_EQ(Code(), kClonePortWriteError);
    EXPECT_FALSE(portOpenAtDone);
}

TEST_F(CloneDrvTest, LinkScriptSwitchesThePortAndSendsItsBytes) {
    const std::string script = "(38400,N,8,1)FEFEFE EEEF E8 44100000 01 3237 FD(9600,N,8,1)FEFE EEEF E8 "
                               "44100000 55 3030 FD";
    respond = [&](const Bytes& f) {
        if (CommandOf(f) == 0xE0) ports.Feed(InfoReply({0x44, 0x10, 0, 0}, {1}));
    };
    drv.SetScript(script);
    drv.SetPort(5, "19200,n,8,1");
    ASSERT_TRUE(drv.StartInfo(&OnDone, this));
    Run();
    EXPECT_EQ(Code(), kCloneOk);
    ASSERT_EQ(ports.settings.size(), 3u);
    EXPECT_EQ(ports.settings[0].baud, 38400);
    EXPECT_EQ(ports.settings[1].baud, 9600);
    EXPECT_EQ(ports.settings[2].baud, 19200);
    // The device stays open from the first switch to the end: closed in between, it would be free to another
    // program.
    EXPECT_EQ(ports.opens, 1);
    EXPECT_EQ(ports.drains, 2);
    EXPECT_EQ(settles, std::vector<int>({100, 100, 100}));
    const std::vector<Bytes> want = {
        {0xFE, 0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x44, 0x10, 0x00, 0x00, 0x01, 0x32, 0x37, 0xFD},
        {0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x44, 0x10, 0x00, 0x00, 0x55, 0x30, 0x30, 0xFD},
        Command(0xE0),
    };
    EXPECT_EQ(sent, want);

    // The script is used up: the next job goes straight to the main settings.
    Reset();
    ports.settings.clear();
    ASSERT_TRUE(drv.StartInfo(&OnDone, this));
    Run();
    EXPECT_EQ(ports.settings.size(), 1u);
}

TEST_F(CloneDrvTest, PortThatCannotBeOpenedEndsWithCode2) {
    const struct {
        int refusedBaud;
        size_t framesSent;
    } cases[] = {{38400, 0}, {9600, 1}};
    for (const auto& c : cases) {
        Reset();
        ports.refuseSettings = [&](const plat::SerialSettings& s) { return s.baud == c.refusedBaud; };
        drv.SetScript("FEFE EEEF E8 44100000 55 3030 FD(38400,N,8,1)FEFE EEEF E8 44100000 01 3039 FD");
        drv.SetPort(5, "9600,n,8,1");
        ASSERT_TRUE(drv.StartInfo(&OnDone, this));
        Run();
        EXPECT_EQ(Code(), kClonePortNotOpened);
        EXPECT_EQ(sent.size(), c.framesSent);
    }
}

TEST_F(CloneDrvTest, EchoCheckWantsEverySentByteBack) {
    drv.SetEchoCheck(1);
    const struct {
        bool corrupt;
        int code;
    } cases[] = {{false, kCloneOk}, {true, kCloneEchoMismatch}};
    for (const auto& c : cases) {
        Reset();
        respond = [&](const Bytes& f) {
            Bytes echo = f;
            if (c.corrupt) echo[3] ^= 1;
            ports.Feed(echo);
            if (CommandOf(f) == 0xE0) ports.Feed(InfoReply({0x44, 0x10, 0, 0}, {1}));
        };
        ASSERT_TRUE(drv.StartInfo(&OnDone, this));
        Run();
        EXPECT_EQ(Code(), c.code);
    }
}

// The adjustment program's link runs states of its own through the two hooks.
class HookedDrv : public cmcCloneDrv {
public:
    using cmcCloneDrv::BeginJob;
    int initialMode = 0;
    std::vector<int> steps;
    int stepsToRun = 0;

protected:
    int InitialState(int mode) override {
        initialMode = mode;
        return 17;
    }
    int Step(int state, bool& progress) override {
        steps.push_back(state);
        if (stepsToRun-- > 0) return 18;
        return cmcCloneDrv::Step(state, progress);
    }
};

TEST_F(CloneDrvTest, StatesWithoutACaseGoToTheHookAndAnUnknownOneEndsTheJob) {
    HookedDrv hooked;
    hooked.SetSettleWait([](int) {});
    hooked.stepsToRun = 2;
    hooked.BeginJob(4, &OnDone, this, 10);
    Run();
    for (int i = 0; i < 100 && hooked.IsBusy(); ++i)
        sched.Advance(10);
    EXPECT_FALSE(hooked.IsBusy());
    EXPECT_EQ(hooked.initialMode, 4);
    EXPECT_EQ(hooked.steps, std::vector<int>({17, 18, 18}));
    ASSERT_EQ(doneCalls, 1);
    EXPECT_FALSE(portOpenAtDone);
    EXPECT_EQ(done->operation, 4);
}

struct Chain {
    cmcCloneDrv* drv;
    int calls = 0;
    bool deleteIt = false;
    static void OnDone(void* user, dst_CDrv_Result*) {
        auto* c = static_cast<Chain*>(user);
        ++c->calls;
        if (c->deleteIt) {
            delete c->drv;
            c->drv = nullptr;
        } else if (c->calls == 1) {
            EXPECT_TRUE(c->drv->StartInfo(&Chain::OnDone, c));
        }
    }
};

TEST_F(CloneDrvTest, DoneHandlerMayStartTheNextJobOrFreeTheDriver) {
    Chain next{new cmcCloneDrv};
    next.drv->SetSettleWait([](int) {});
    ASSERT_TRUE(next.drv->StartInfo(&Chain::OnDone, &next));
    for (int i = 0; i < 1000 && next.drv->IsBusy(); ++i)
        sched.Advance(10);
    EXPECT_EQ(next.calls, 2);
    delete next.drv;

    Chain gone{new cmcCloneDrv, 0, true};
    gone.drv->SetSettleWait([](int) {});
    ASSERT_TRUE(gone.drv->StartInfo(&Chain::OnDone, &gone));
    sched.Advance(3000);
    EXPECT_EQ(gone.calls, 1);
    EXPECT_EQ(gone.drv, nullptr);
}

} // namespace
