#include "foundation/cmcEvMan.h"
#include "tests/support/ManualScheduler.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A listener that notes "<name><type>" for every event it hears, then does its part.
struct Probe {
    char name;
    Log* log;
    std::function<void(const cmcEvent&)> act = nullptr;
};

void Hear(void* user, const cmcEvent& ev) {
    auto* probe = static_cast<Probe*>(user);
    probe->log->push_back(std::string(1, probe->name) + std::to_string(ev.type));
    if (probe->act) probe->act(ev);
}

class EvManTest : public ::testing::Test {
protected:
    EvManTest() {
        sched.Install();
        bus = std::make_unique<cmcEvMan>();
    }
    ~EvManTest() override {
        bus.reset();
        // The bus's dispatch task frees itself on its next timer event.
        sched.Advance(1);
    }

    Probe& Listen(char name, std::function<void(const cmcEvent&)> act = nullptr) {
        probes.push_back(std::make_unique<Probe>(Probe{name, &log, std::move(act)}));
        bus->AddListener(&Hear, probes.back().get());
        return *probes.back();
    }
    void Tick() { sched.Advance(10); }
    Log Take() { return std::exchange(log, {}); }

    plat::ManualScheduler sched;
    std::unique_ptr<cmcEvMan> bus;
    Log log;
    std::vector<std::unique_ptr<Probe>> probes;
};

TEST_F(EvManTest, SendReachesEveryListenerAtOnceMostRecentFirst) {
    cmcEvent seen;
    Listen('A', [&](const cmcEvent& ev) { seen = ev; });
    Listen('B');
    Listen('C');
    int object = 0;
    bus->Send(evObjectDestroyed, -1, reinterpret_cast<intptr_t>(&object));
    EXPECT_EQ(Take(), (Log{"C1", "B1", "A1"}));
    EXPECT_EQ(seen.mode, evModeSent);
    EXPECT_EQ(seen.p1, -1);
    EXPECT_EQ(reinterpret_cast<int*>(seen.p2), &object);
    EXPECT_EQ(seen.Length(), 0u);
}

TEST_F(EvManTest, PostIsDeliveredOnceOnTheNextTick) {
    cmcEvent seen;
    Listen('A', [&](const cmcEvent& ev) { seen = ev; });
    bus->Post(evRedrawRow, 3, 7);
    sched.Advance(9);
    EXPECT_TRUE(log.empty());
    sched.Advance(1);
    EXPECT_EQ(Take(), (Log{"A16"}));
    EXPECT_EQ(seen.mode, evModePosted);
    EXPECT_EQ(seen.p1, 3);
    EXPECT_EQ(seen.p2, 7);
    Tick();
    EXPECT_TRUE(log.empty());
}

TEST_F(EvManTest, EventPostedDuringATickWaitsForTheFollowingTick) {
    Listen('A', [&](const cmcEvent& ev) {
        if (ev.type == evRedrawSheet) bus->Post(evRebuildTree);
    });
    bus->Post(evRedrawSheet);
    bus->Post(evShowAbout);
    Tick();
    EXPECT_EQ(Take(), (Log{"A13", "A3"}));
    Tick();
    EXPECT_EQ(Take(), (Log{"A35"}));
}

TEST_F(EvManTest, RemovalDuringDeliveryTakesEffectAtOnce) {
    Probe& c = Listen('C');
    Listen('B');
    Probe& a = Listen('A');
    a.act = [&](const cmcEvent&) {
        bus->RemoveListener(&Hear, &a);
        bus->RemoveListener(&Hear, &c);
    };
    bus->Post(1);
    bus->Post(2);
    Tick();
    EXPECT_EQ(Take(), (Log{"A1", "B1", "B2"}));
    bus->Send(3);
    EXPECT_EQ(Take(), (Log{"B3"}));
}

TEST_F(EvManTest, AddingTheSameRegistrationAgainKeepsOneAtTheFront) {
    Probe& a = Listen('A');
    Listen('B');
    bus->AddListener(&Hear, &a);
    bus->AddListener(nullptr, &a);
    bus->Send(9);
    EXPECT_EQ(Take(), (Log{"A9", "B9"}));
    bus->RemoveListener(nullptr, &a);
    bus->RemoveListener(&Hear, &a);
    Tick();
    bus->Send(9);
    EXPECT_EQ(Take(), (Log{"B9"}));
}

TEST_F(EvManTest, ListenersAddedDuringDeliveryHearOnlyLaterEvents) {
    Probe b{'B', &log};
    Probe& a = Listen('A');
    a.act = [&](const cmcEvent& ev) {
        if (ev.type != 1) return;
        bus->AddListener(&Hear, &b);
        bus->AddListener(&Hear, &a);
    };
    bus->Send(1);
    EXPECT_EQ(Take(), (Log{"A1"}));
    bus->Send(2);
    EXPECT_EQ(Take(), (Log{"A2", "B2"}));
}

// A listener that pumps messages lets the dispatch tick run in the middle of a
// send; the tick must not free the registration that send is standing on.
TEST_F(EvManTest, TickInsideADeliveryKeepsTheWalkIntact) {
    Listen('B');
    Probe& a = Listen('A');
    a.act = [&](const cmcEvent& ev) {
        if (ev.type != 1) return;
        bus->RemoveListener(&Hear, &a);
        bus->Post(2);
        Tick();
    };
    bus->Send(1);
    EXPECT_EQ(Take(), (Log{"A1", "B2", "B1"}));
    Tick();
    bus->Send(3);
    EXPECT_EQ(Take(), (Log{"B3"}));
}

TEST_F(EvManTest, SendWithAnswerCollectsTheAnswersInOrder) {
    struct Case {
        const char* name;
        // What each listener answers, in the order they were added.
        std::vector<std::vector<cmcEvAns>> byListener;
        std::vector<cmcEvAns> want;
    };
    const Case cases[] = {
        {"nobody answers", {{}, {}}, {}},
        {"one answers twice", {{}, {{1, 2, {}}, {3, 4, {}}}}, {{1, 2, {}}, {3, 4, {}}}},
        {"most recent listener first", {{{1, 0, {}}}, {{2, 0, {}}}}, {{2, 0, {}}, {1, 0, {}}}},
        {"data answers", {{{0, 0, {'x', 'y'}}, {0, 0, {}}}}, {{0, 0, {'x', 'y'}}, {0, 0, {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bus = std::make_unique<cmcEvMan>();
        for (const auto& answers : c.byListener) {
            Listen('L', [&](const cmcEvent& ev) {
                EXPECT_EQ(ev.mode, evModeSentWithAnswer);
                for (const cmcEvAns& ans : answers) {
                    if (ans.p1 == 0 && ans.p2 == 0)
                        bus->AnswerData(ans.data.data(), ans.data.size());
                    else
                        bus->Answer(ans.p1, ans.p2);
                }
            });
        }
        EXPECT_EQ(bus->SendWithAnswer(evQueryBank), c.want);
    }
}

TEST_F(EvManTest, NestedSendWithAnswerKeepsItsOwnAnswers) {
    std::vector<cmcEvAns> inner;
    Listen('A', [&](const cmcEvent& ev) { bus->Answer(ev.type == evQuerySite ? 32 : 9, 0); });
    Listen('B', [&](const cmcEvent& ev) {
        if (ev.type != evQueryBank) return;
        bus->Answer(1, 0);
        inner = bus->SendWithAnswer(evQuerySite);
        bus->Answer(2, 0);
    });
    const std::vector<cmcEvAns> outer = bus->SendWithAnswer(evQueryBank);
    EXPECT_EQ(inner, (std::vector<cmcEvAns>{{32, 0, {}}}));
    EXPECT_EQ(outer, (std::vector<cmcEvAns>{{1, 0, {}}, {2, 0, {}}, {9, 0, {}}}));
}

TEST_F(EvManTest, AnswerWithoutAQueryChangesNothing) {
    bus->Answer(5, 6);
    bus->AnswerData("zz", 2);
    Listen('A', [&](const cmcEvent& ev) {
        if (ev.mode != evModeSentWithAnswer) bus->Answer(7, 8);
    });
    bus->Send(1);
    bus->Post(2);
    Tick();
    EXPECT_EQ(Take(), (Log{"A1", "A2"}));
    EXPECT_TRUE(bus->SendWithAnswer(evQuerySite).empty());
}

TEST_F(EvManTest, TextsAndDataBlocksArriveAsPrivateCopies) {
    char block[] = {'a', 'b', 'c'};
    std::string text = "Ready";
    struct Case {
        const char* name;
        std::function<void()> emit;
        std::vector<uint8_t> want;
        std::string wantText;
    };
    const Case cases[] = {
        {"sent text",
         [&] { bus->SendText(evStatusText, 0, 0, text); },
         {'R', 'e', 'a', 'd', 'y', 0},
         "Ready"},
        {"posted text",
         [&] { bus->PostText(evSetBankNodeText, 0, 5, text); },
         {'R', 'e', 'a', 'd', 'y', 0},
         "Ready"},
        {"empty text", [&] { bus->PostText(evDebugLine, 0, 0, ""); }, {0}, ""},
        {"posted block", [&] { bus->PostData(evCellSelected, block, sizeof block); }, {'a', 'b', 'c'}, "abc"},
        {"no block", [&] { bus->PostData(evCellSelected, nullptr, 5); }, {}, ""},
        {"zero length", [&] { bus->PostData(evCellSelected, block, 0); }, {}, ""},
    };
    std::vector<uint8_t> seen;
    std::string seenText;
    Listen('A', [&](const cmcEvent& ev) {
        seen = ev.data;
        seenText = ev.Text();
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        seen = {1, 2};
        c.emit();
        // The sender's own buffers may change or go before a posted event is delivered.
        block[0] = 'Z';
        text[0] = 'Z';
        Tick();
        block[0] = 'a';
        text[0] = 'R';
        EXPECT_EQ(seen, c.want);
        EXPECT_EQ(seenText, c.wantText);
    }
}

TEST_F(EvManTest, TextOnlyArrivesAtOnceWithZeroValuesAndItsTerminatingZero) {
    const std::string texts[] = {"GI_Sheet_Win_AD", ""};
    std::vector<cmcEvent> seen;
    Listen('A', [&](const cmcEvent& ev) { seen.push_back(ev); });
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        seen.clear();
        bus->Post(evStatusText, 7, 8);
        bus->SendTextOnly(evCloseNamedWindow, text);
        // Sent, not queued: it overtakes the event posted before it.
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].type, evCloseNamedWindow);
        EXPECT_EQ(seen[0].mode, evModeSent);
        EXPECT_EQ(seen[0].p1, 0);
        EXPECT_EQ(seen[0].p2, 0);
        std::vector<uint8_t> want(text.begin(), text.end());
        want.push_back(0);
        EXPECT_EQ(seen[0].data, want);
        EXPECT_EQ(seen[0].Text(), text);
        Tick();
        EXPECT_EQ(seen.size(), 2u);
    }
}

TEST_F(EvManTest, DestroyingTheBusDropsQueuedEventsUndelivered) {
    Listen('A');
    bus->PostText(evStatusText, 0, 0, "Cloning...");
    bus->PostData(evCellSelected, "0123456789ab", 12);
    bus->Post(evRedrawSheet);
    bus.reset();
    sched.Advance(100);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(sched.ActiveTimers(), 0);
}

} // namespace
