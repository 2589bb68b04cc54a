#pragma once
// The adjustment program's link over a real pseudo-terminal against the radio
// simulator: settings in memory (COM5), the shipped QT4411R overlay, scripted
// message boxes, an event bus whose listener runs the automatic adjustment's
// step pass as the application manager's event handler does, and a workspace
// of two images. The simulator runs stepped before every 2 ms of virtual time.
#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustWorkspace.h"
#include "adjust/indCloneMan.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/cmcEeprom.h"
#include "tests/clone/CloneFixture.h"
#include "tests/image/ScopedModel.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"
#include "tools/radiosim/RadioSim.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace adjtest {

constexpr int kModelWord = 0x4410;
constexpr int32_t kImageSize = 148298;

// One adjustment item as the program sent it.
struct Item {
    int code;
    int value;
    bool operator==(const Item& o) const { return code == o.code && value == o.value; }
};
inline void PrintTo(const Item& i, std::ostream* os) {
    *os << "{" << i.code << ", " << i.value << "}";
}

// The window side of the automatic adjustment, as the tests hold it.
class FakeWorkspace : public adj::AdjustWorkspace {
public:
    FakeWorkspace(adj::indCloneMan& man, clonetest::RecordingProgress*& view) : man_(man), view_(view) {
        work.SetSize(kImageSize);
        radio.SetSize(kImageSize);
    }
    cmcEeprom& WorkingImage() override { return work; }
    cmcEeprom& RadioCopy() override { return radio; }
    adj::indCloneMan& CloneMan() override { return man_; }
    bool MainFormEnabled() const override { return view_->mainEnabled; }
    bool AdWindowOpen() const override { return adWindowOpen; }
    int ModelWord() const override { return kModelWord; }

    cmcEeprom work;
    cmcEeprom radio;
    bool adWindowOpen = false;

private:
    adj::indCloneMan& man_;
    clonetest::RecordingProgress*& view_;
};

class AdjustLinkFixture : public ::testing::Test {
protected:
    AdjustLinkFixture() {
        EXPECT_TRUE(sim.Open());
        EXPECT_FALSE(sim.LinkAs(dir.Path(), 5).empty());
        texts.SetFile(std::string(TOLVANE_BIN_DIR) + "/QT4411R.OVL");
        gGTex = &texts;
        gEvMan = &bus;
        gEnviron->ComPort = 5;
        gEnviron->ComSpeedHigh = 0;
        auto view = std::make_unique<clonetest::RecordingProgress>();
        progress = view.get();
        man.SetProgressView(std::move(view));
        man.Driver().SetSettleWait([this](int) { sim.Pump(); });
        man.SetModel(kModelWord, 0);
        bus.AddListener(&AdjustLinkFixture::OnEvent, this);
    }
    ~AdjustLinkFixture() override {
        bus.RemoveListener(&AdjustLinkFixture::OnEvent, this);
        gGTex = oldTexts;
        gEvMan = oldBus;
    }

    // The application manager's event handler: the step pass first, whatever the event.
    static void OnEvent(void* user, const cmcEvent& ev) {
        auto* self = static_cast<AdjustLinkFixture*>(user);
        self->events.push_back(ev.type);
        if (self->stepOnEvents) self->automation.StepPass();
    }

    // Runs the link until it has nothing more to do.
    void Run(uint64_t maxMs = 600000) {
        for (uint64_t t = 0; t < maxMs && man.IsBusy(); t += 2) {
            sim.Pump();
            sched.Advance(2);
        }
        ASSERT_FALSE(man.IsBusy());
        sim.Pump(); // the last frames of a job that waited for no answer
    }

    // The adjustment items the program sent since the log entry `from`, link-script frames left out.
    std::vector<Item> ItemsSent(size_t from = 0) const {
        std::vector<Item> out;
        const std::vector<radiosim::LogEntry> log = sim.Log();
        for (size_t i = from; i < log.size(); ++i) {
            const radiosim::LogEntry& e = log[i];
            if (e.fromRadio || e.what != "E8") continue;
            const std::vector<uint8_t>& b = e.bytes;
            size_t at = 0;
            while (at + 2 < b.size() && !(b[at] == 0xEE && b[at + 1] == 0xEF && b[at + 2] == 0xE8))
                ++at;
            if (at + 10 > b.size()) continue;
            const int code = b[at + 7];
            if (code == 0x01) continue;
            const auto digit = [](uint8_t c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
            out.push_back({code, digit(b[at + 8]) * 16 + digit(b[at + 9])});
        }
        return out;
    }
    // Link-script frames (item 01 at either speed) logged since `from`.
    int ScriptFrames(size_t from) const {
        int n = 0;
        const std::vector<radiosim::LogEntry> log = sim.Log();
        for (size_t i = from; i < log.size(); ++i) {
            const std::vector<uint8_t>& b = log[i].bytes;
            if (log[i].fromRadio) continue;
            for (size_t at = 0; at + 7 < b.size(); ++at)
                if (b[at] == 0xEE && b[at + 1] == 0xEF && b[at + 2] == 0xE8 && b[at + 7] == 0x01) ++n;
        }
        return n;
    }
    size_t LogSize() const { return sim.Log().size(); }
    int CountEvents(int type) const {
        int n = 0;
        for (int e : events)
            n += e == type;
        return n;
    }

    testsupport::TempDir dir;
    testsupport::ScopedEnv env{"TOLVANE_COM_DIR", dir.Path()};
    testimage::ScopedModel model{0};
    plat::ManualScheduler sched;
    bool installed = (sched.Install(), true);
    cmcGTex texts;
    cmcGTex* oldTexts = gGTex;
    cmcEvMan bus;
    cmcEvMan* oldBus = gEvMan;
    plat::ScriptedMessageBox boxes;
    plat::ScopedMessageBoxes useBoxes{&boxes};
    radiosim::RadioSim sim;
    adj::indCloneMan man;
    clonetest::RecordingProgress* progress = nullptr;
    FakeWorkspace workspace{man, progress};
    adj::AdjustAutomation automation{workspace};
    std::vector<int> events;
    bool stepOnEvents = true;
};

} // namespace adjtest
