// The adjustment link on the wire: E8 frames, the answers it takes and
// refuses, item lists, the pending flag, and when the link script plays.
#include "tests/adjust/AdjustLinkFixture.h"
#include "tests/clone/LinkWire.h"
#include "tests/support/ParamNames.h"

namespace {

using namespace adjtest;
using linkwire::Bytes;
using testsupport::PrintTo;

class AdjustLinkTest : public AdjustLinkFixture {
protected:
    AdjustLinkTest() { stepOnEvents = false; }

    static void OnDone(void* user, dst_CDrv_Result* r) {
        static_cast<AdjustLinkTest*>(user)->codes.push_back(r->result);
    }
    bool Single(int code, int value, uint8_t* readBack = nullptr) {
        man.SetSingle(code, value, readBack);
        return man.StartWriteSingle(&OnDone, this);
    }
    bool List(const std::vector<adj::ItemEntry>& entries) {
        man.SetItemTable(entries.data());
        return man.StartWriteList(&OnDone, this);
    }
    // The program's item frames (not the link script's) as they crossed the line.
    std::vector<Bytes> ItemFrames() const {
        std::vector<Bytes> out;
        for (const radiosim::LogEntry& e : sim.Log())
            if (!e.fromRadio && e.what == "E8" && e.bytes.size() == 13 && e.bytes[9] != 0x01)
                out.push_back(e.bytes);
        return out;
    }
    std::string Head(int code) { return texts.GetTextLine("GI_Mess_CloneErr_Head", code); }

    std::vector<int> codes;
};

TEST_F(AdjustLinkTest, ASingleItemGoesOutAsOneE8FrameWithItsValueInUpperCaseDigits) {
    ASSERT_TRUE(Single(0x13, 0xA5));
    EXPECT_TRUE(man.IsPending());
    Run();
    EXPECT_EQ(codes, std::vector<int>{kCloneOk});
    EXPECT_EQ(ItemFrames(), (std::vector<Bytes>{{0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x44, 0x10, 0x00, 0x00, 0x13,
                                                 0x41, 0x35, 0xFD}}));
    EXPECT_EQ(sim.ItemValue(0x13), 0xA5);
    EXPECT_FALSE(man.IsPending());
    EXPECT_TRUE(boxes.Log().empty());
    // No progress window for an adjustment transfer; the main form is back when it ends.
    EXPECT_EQ(progress->opens, 0);
    EXPECT_EQ(progress->disables, 1);
    EXPECT_TRUE(progress->mainEnabled);
}

TEST_F(AdjustLinkTest, AListSendsEachValueAsItStandsWhenItsFrameIsBuilt) {
    uint8_t low = 0x0F, high = 0xF0;
    ASSERT_TRUE(List({{0x20, &low, nullptr}, {0x21, &high, nullptr}, {0x22, nullptr, nullptr}, {}}));
    high = 0xF0; // unchanged; a list reads its bytes as it goes
    Run();
    EXPECT_EQ(codes, std::vector<int>{kCloneOk});
    const std::vector<Bytes> frames = ItemFrames();
    ASSERT_EQ(frames.size(), 3u);
    const std::vector<Bytes> tails = {{0x30, 0x46, 0xFD}, {0x46, 0x30, 0xFD}, {0x30, 0x30, 0xFD}};
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(Bytes(frames[i].end() - 3, frames[i].end()), tails[i]) << "entry " << i;
}

TEST_F(AdjustLinkTest, AnAdReadStoresTheRadiosReadingAndTheEchoNeverCounts) {
    radiosim::Adjustment a;
    a.floor = 0x5C;
    a.echoFrames = true;
    sim.SetAdjustment(a);
    uint8_t reading = 0;
    ASSERT_TRUE(Single(3, 2, &reading));
    Run();
    EXPECT_EQ(codes, std::vector<int>{kCloneOk});
    EXPECT_EQ(reading, 0x5C);
    EXPECT_EQ(reading, sim.Reading(2));
}

struct RefusedCase {
    const char* name;
    void (*set)(radiosim::Adjustment&);
};

class RefusedAnswerTest : public AdjustLinkTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedAnswerTest, EndsInATimeOutAfterOneSecondWithOneBox) {
    radiosim::Adjustment a;
    GetParam().set(a);
    sim.SetAdjustment(a);
    boxes.Expect(Head(kCloneTimeout), plat::IDOK);
    uint8_t reading = 0x77;
    ASSERT_TRUE(Single(3, 2, &reading));
    // Link script and port reopen first; the wait for the answer is what takes a second.
    while (man.Link().StateNow() != adj::imcCloneDrv::kAwaitReply && man.IsBusy()) {
        sim.Pump();
        sched.Advance(1);
    }
    const uint64_t waitStart = sched.Now();
    Run();
    EXPECT_GE(sched.Now() - waitStart, 1000u);
    EXPECT_LT(sched.Now() - waitStart, 1100u);
    EXPECT_EQ(codes, std::vector<int>{kCloneTimeout});
    EXPECT_EQ(reading, 0x77);
    EXPECT_EQ(boxes.Log().size(), 1u);
    EXPECT_EQ(boxes.Log()[0].caption, texts.GetTextLine("GI_Sys_AppTitle_ADJ", 0));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RefusedAnswerTest,
    ::testing::Values(RefusedCase{"OtherWordA", [](radiosim::Adjustment& a) { a.otherWordA = 0x4411; }},
                      RefusedCase{"LowerCaseDigits",
                                  [](radiosim::Adjustment& a) {
                                      a.lowerCaseDigits = true;
                                      a.floor = 0xAB;
                                  }},
                      RefusedCase{"OtherItem", [](radiosim::Adjustment& a) { a.otherItem = 0x04; }},
                      RefusedCase{"Silent", [](radiosim::Adjustment& a) { a.silentFromRead = 1; }}),
    testsupport::CaseName());

TEST_F(AdjustLinkTest, AnAnswerToAnEarlierItemIsPassedOver) {
    radiosim::Adjustment a;
    a.answerEveryItem = true;
    a.floor = 0x3C;
    sim.SetAdjustment(a);
    uint8_t value = 0x99, reading = 0;
    // The first item's answer is still on the way while the read waits for its own.
    ASSERT_TRUE(List({{0x40, &value, nullptr}, {3, nullptr, &reading}, {}}));
    Run();
    EXPECT_EQ(codes, std::vector<int>{kCloneOk});
    EXPECT_EQ(reading, sim.Reading(0)); // selector 0 is no monitor channel: reads 0
    EXPECT_NE(reading, 0x99);
}

TEST_F(AdjustLinkTest, AListHoldsFortyNineItemsAndItsEnd) {
    std::vector<uint8_t> values(60);
    std::vector<adj::ItemEntry> entries;
    for (int i = 0; i < 60; ++i) {
        values[i] = static_cast<uint8_t>(i);
        entries.push_back({0x10 + i, &values[i], nullptr});
    }
    // No end of its own: the table's last entry ends it.
    ASSERT_TRUE(List(entries));
    EXPECT_EQ(man.Link().Entry(48).code, 0x10 + 48);
    EXPECT_EQ(man.Link().Entry(49).code, adj::imcCloneDrv::kListEnd);
    Run();
    EXPECT_EQ(codes, std::vector<int>{kCloneOk});
    const std::vector<Item> sent = ItemsSent();
    ASSERT_EQ(sent.size(), 49u);
    EXPECT_EQ(sent.back(), (Item{0x10 + 48, 48}));
}

TEST_F(AdjustLinkTest, AListThatStartsWithItsEndSendsNoItemAndEndsWell) {
    ASSERT_TRUE(List({{}}));
    Run();
    EXPECT_EQ(codes, std::vector<int>{kCloneOk});
    EXPECT_TRUE(ItemsSent().empty());
    EXPECT_GT(ScriptFrames(0), 0);
}

TEST_F(AdjustLinkTest, ATransferThatFailsBeforeItsFrameLeavesNothingPending) {
    gEnviron->ComPort = 7; // no such port
    boxes.Expect("", plat::IDOK);
    ASSERT_TRUE(Single(0x13, 1));
    Run();
    EXPECT_EQ(codes, std::vector<int>{kClonePortNotOpened});
    EXPECT_FALSE(man.IsPending());
}

TEST_F(AdjustLinkTest, BothStartsRefuseWhileTheLinkIsBusy) {
    ASSERT_TRUE(Single(0x13, 1));
    uint8_t v = 5;
    man.SetItemTable(std::vector<adj::ItemEntry>{{0x14, &v, nullptr}, {}}.data());
    EXPECT_FALSE(man.StartWriteList(&OnDone, this));
    EXPECT_FALSE(man.StartWriteSingle(&OnDone, this));
    Run();
    EXPECT_EQ(codes, std::vector<int>{kCloneOk});
    EXPECT_EQ(ItemsSent(), (std::vector<Item>{{0x13, 1}}));
}

// A driver started in a mode of no transfer kind.
class ProbeDriver : public adj::imcCloneDrv {
public:
    void StartMode(int mode) { BeginJob(mode, nullptr, nullptr, 10); }
};

TEST_F(AdjustLinkTest, AModelOtherThanOneToFiveRunsTheInformationQuery) {
    ProbeDriver probe;
    probe.SetSettleWait([this](int) { sim.Pump(); });
    probe.SetModel(kModelWord, 0);
    probe.SetPort(5, "9600,N,8,1");
    probe.StartMode(9);
    for (int t = 0; t < 3000 && probe.IsBusy(); t += 2) {
        sim.Pump();
        sched.Advance(2);
    }
    bool queried = false;
    for (const radiosim::LogEntry& e : sim.Log())
        queried |= !e.fromRadio && e.what == "E0";
    EXPECT_TRUE(queried);
}

// --- link scripts

class FakeHost : public adj::AdjustLinkHost {
public:
    int32_t& LastLinkSpeed() override { return last; }
    bool PeakSweepRunning() const override { return sweeping; }
    bool EnteringAdjustment() const override { return false; }
    int32_t last = -1;
    bool sweeping = false;
};

class LinkScriptTest : public AdjustLinkTest {
protected:
    LinkScriptTest() { man.SetHost(&host); }
    ~LinkScriptTest() override { man.SetHost(&automation); }

    struct Outcome {
        int scriptFrames;
        int lineSpeed;
    };
    template <class Start> Outcome Transfer(Start start) {
        const size_t from = LogSize();
        EXPECT_TRUE(start());
        Run();
        return {ScriptFrames(from), sim.LineSpeed()};
    }
    Outcome SingleItem() {
        return Transfer([this] { return Single(0x13, 1); });
    }
    Outcome ItemList() {
        return Transfer([this] { return List({{0x14, &listValue, nullptr}, {}}); });
    }

    FakeHost host;
    uint8_t listValue = 2;
};

TEST_F(LinkScriptTest, TheScriptPlaysOnlyWhenTheWantedSpeedChanges) {
    const Outcome first = SingleItem();
    EXPECT_EQ(first.scriptFrames, 2);
    EXPECT_EQ(first.lineSpeed, 9600);
    const Outcome second = SingleItem();
    EXPECT_EQ(second.scriptFrames, 0);
    EXPECT_EQ(second.lineSpeed, 9600);
    const Outcome list = ItemList();
    EXPECT_EQ(list.scriptFrames, 2);
    EXPECT_EQ(list.lineSpeed, 38400);
    host.sweeping = true; // a sweep's final value
    const Outcome final = SingleItem();
    EXPECT_EQ(final.scriptFrames, 0);
    EXPECT_EQ(final.lineSpeed, 38400);
    host.sweeping = false;
    const Outcome back = SingleItem();
    EXPECT_EQ(back.scriptFrames, 2);
    EXPECT_EQ(back.lineSpeed, 9600);
    EXPECT_EQ(codes, std::vector<int>(5, kCloneOk));
    EXPECT_EQ(sim.ItemValue(0x14), 2);
}

TEST_F(LinkScriptTest, AReadRunsAtHighSpeedWhateverTheSetting) {
    gEnviron->ComSpeedHigh = 0;
    sim.SetCloneEnd(0xFF);
    man.SetImageSize(kImageSize);
    man.SetReadDoneHandler([](void*, dst_CDrv_Result*) {}, nullptr);
    const Outcome read = Transfer([this] {
        return man.StartRead({{0, 0xFF}, kRangeListEnd}, &OnDone, this);
    });
    EXPECT_EQ(codes, std::vector<int>{kCloneOk});
    EXPECT_EQ(read.lineSpeed, 38400);
    EXPECT_EQ(man.Driver().MainSettings(), "38400,N,8,1");
}

TEST_F(LinkScriptTest, AFailureAPortChangeOrTheEntryIntoAdjustmentPlaysTheScriptAgain) {
    ASSERT_EQ(SingleItem().scriptFrames, 2);
    // A silent radio: the read times out.
    radiosim::Adjustment silent;
    silent.silentFromRead = 1;
    sim.SetAdjustment(silent);
    boxes.Expect(Head(kCloneTimeout), plat::IDOK);
    uint8_t reading = 0;
    EXPECT_EQ(Transfer([&] { return Single(3, 2, &reading); }).scriptFrames, 0);
    EXPECT_EQ(host.last, -1);
    EXPECT_EQ(SingleItem().scriptFrames, 2);

    // The same radio on another port name.
    ASSERT_FALSE(sim.LinkAs(dir.Path(), 6).empty());
    gEnviron->ComPort = 6;
    EXPECT_EQ(SingleItem().scriptFrames, 2);
    EXPECT_EQ(man.Driver().PortNumber(), 6);
    EXPECT_EQ(SingleItem().scriptFrames, 0);

    host.last = -1; // what the entry into adjustment does
    EXPECT_EQ(SingleItem().scriptFrames, 2);
}

} // namespace
