#pragma once
// The clone manager over a real pseudo-terminal against the radio simulator,
// with the shipped overlay, settings in memory (COM5), scripted message boxes
// and a recording progress window. The simulator runs stepped before every
// 10 ms tick of virtual time, as in the driver's link test.
#include "clone/CloneProgressView.h"
#include "clone/indCloneMan.h"
#include "foundation/Globals.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "tests/clone/LinkWire.h"
#include "tests/image/ScopedModel.h"
#include "tests/support/ManualScheduler.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"
#include "tools/radiosim/RadioSim.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace clonetest {

// The progress window and main form as the manager drives them.
class RecordingProgress : public CloneProgressView {
public:
    static constexpr int kPaintBoxWidth = 256;

    void Open(SpanSource source) override {
        if (open) return;
        open = true;
        ++opens;
        source_ = std::move(source);
        SetMainFormEnabled(false);
        Repaint();
    }
    void Close() override {
        open = false;
        ++closes;
    }
    bool IsOpen() const override { return open; }
    void Repaint() override {
        int filled = 0;
        for (const ProgressSpan& s : source_(kPaintBoxWidth))
            if (s.colour == kProgressFilled) ++filled;
        paints.push_back(filled);
    }
    void SetMainFormEnabled(bool enabled) override {
        mainEnabled = enabled;
        if (!enabled) ++disables;
    }

    bool open = false;
    int opens = 0, closes = 0, disables = 0;
    bool mainEnabled = true;
    std::vector<int> paints; // filled cells at each paint

private:
    SpanSource source_;
};

class CloneFixture : public ::testing::Test {
protected:
    CloneFixture() {
        EXPECT_TRUE(sim.Open());
        EXPECT_FALSE(sim.LinkAs(dir.Path(), 5).empty());
        texts.SetFile(std::string(TOLVANE_BIN_DIR) + "/QT4410R.OVL");
        gGTex = &texts;
        gEnviron->ComPort = 5;
        gEnviron->ComSpeedHigh = 1;
        auto view = std::make_unique<RecordingProgress>();
        progress = view.get();
        man.SetProgressView(std::move(view));
        man.Driver().SetSettleWait([this](int) { sim.Pump(); });
    }
    ~CloneFixture() override { gGTex = oldTexts; }

    // Runs the manager's jobs, one after the other, until none is left.
    void Run(uint64_t maxMs = 300000) {
        for (uint64_t t = 0; t < maxMs && man.IsBusy(); t += 10) {
            sim.Pump();
            sched.Advance(10);
        }
        ASSERT_FALSE(man.IsBusy());
        sched.Advance(100); // the progress task's last tick
    }

    std::string Head(int code) { return texts.GetTextLine("GI_Mess_CloneErr_Head", code); }
    std::vector<linkwire::Wire> Sent(bool fromRadio) const { return linkwire::Sent(sim, fromRadio); }
    // The command frames the program sent, in order ("E0", "E2", "E3"...).
    std::vector<std::string> Commands() const {
        std::vector<std::string> out;
        for (const linkwire::Wire& w : Sent(false))
            if (w.what == "E0" || w.what == "E2" || w.what == "E3") out.push_back(w.what);
        return out;
    }

    testsupport::TempDir dir;
    testsupport::ScopedEnv env{"TOLVANE_COM_DIR", dir.Path()};
    testimage::ScopedModel model{0};
    plat::ManualScheduler sched;
    bool installed = (sched.Install(), true);
    cmcGTex texts;
    cmcGTex* oldTexts = gGTex;
    plat::ScriptedMessageBox boxes;
    plat::ScopedMessageBoxes useBoxes{&boxes};
    radiosim::RadioSim sim;
    indCloneMan man;
    RecordingProgress* progress = nullptr;
};

} // namespace clonetest
