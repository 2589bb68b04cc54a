#pragma once
// The adjustment link against the radio simulator pacing its bytes at the
// line speed, run in wall-clock time, with the time it cannot beat beside
// it: the bytes on the line at their speeds, the 100 ms settle wait after
// each port open and one task period for every state each transfer passes
// through.
#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustWorkspace.h"
#include "adjust/indCloneMan.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/cmcEeprom.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "tests/support/ManualScheduler.h"
#include "tools/radiosim/RadioSim.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>

namespace pacedlink {

class BenchWorkspace : public adj::AdjustWorkspace {
public:
    BenchWorkspace() {
        work.SetSize(148298);
        radio.SetSize(148298);
    }
    cmcEeprom& WorkingImage() override { return work; }
    cmcEeprom& RadioCopy() override { return radio; }
    adj::indCloneMan& CloneMan() override { return man; }
    bool MainFormEnabled() const override { return true; }
    bool AdWindowOpen() const override { return adWindowOpen; }
    int ModelWord() const override { return 0x4410; }

    cmcEeprom work, radio;
    adj::indCloneMan man;
    bool adWindowOpen = false;
};

// A clone error box ends the run as a failure of the benchmark.
class NotedBoxes : public plat::MessageBoxService {
public:
    int Show(const std::string& text, const std::string&, unsigned) override {
        shown = text;
        return plat::IDOK;
    }
    std::string shown;
};

// The program around the link for the whole benchmark: settings in memory
// on COM5 in a temporary folder, the shipped overlay, noted boxes.
class Program {
public:
    Program() {
        dir_ = (std::filesystem::temp_directory_path() / "tolvane-bench-XXXXXX").string();
        if (!mkdtemp(dir_.data())) std::abort();
        setenv("TOLVANE_COM_DIR", dir_.c_str(), 1);
        env_.ComPort = 5;
        oldEnv_ = std::exchange(gEnviron, &env_);
        texts_.SetFile(TOLVANE_BIN_DIR "/QT4411R.OVL");
        oldTexts_ = std::exchange(gGTex, &texts_);
        plat::SetMessageBoxes(&boxes);
    }
    ~Program() {
        gEnviron = oldEnv_;
        gGTex = oldTexts_;
        plat::SetMessageBoxes(nullptr);
        unsetenv("TOLVANE_COM_DIR");
        std::filesystem::remove_all(dir_);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const std::string& Dir() const { return dir_; }
    NotedBoxes boxes;

private:
    std::string dir_;
    plat::MemorySettingsStore store_;
    indEnviron env_{"Morv TolvaneADJ bench", "Software\\Morv\\TolvaneADJ", store_};
    indEnviron* oldEnv_ = nullptr;
    cmcGTex texts_;
    cmcGTex* oldTexts_ = nullptr;
};

struct Result {
    double seconds = 0; // from the start to the link's last state
    double bound = 0;   // the bytes on the wire, the settle waits and the task periods
    double wire = 0;
    std::string error; // a box shown, or what the check found wrong
};

// One run: start sets the link going, running says whether it is still at
// work, check looks at the outcome (empty when good). Every bus event runs
// the step pass, as the application manager's event handler does.
inline Result Run(Program& program, const radiosim::Adjustment& adjustment, bool adWindowOpen,
                  const std::function<void(adj::AdjustAutomation&)>& start,
                  const std::function<bool(adj::AdjustAutomation&)>& running,
                  const std::function<std::string(adj::AdjustAutomation&, BenchWorkspace&)>& check) {
    radiosim::RadioSim sim;
    if (!sim.Open() || sim.LinkAs(program.Dir(), 5).empty()) std::abort();
    sim.SetAdjustment(adjustment);
    sim.SetPacing(true);
    sim.Start();

    plat::ManualScheduler sched;
    sched.Install();
    cmcEvMan bus;
    cmcEvMan* oldBus = std::exchange(gEvMan, &bus);
    Result result;
    double waits = 0;
    {
        BenchWorkspace ws;
        ws.adWindowOpen = adWindowOpen;
        adj::AdjustAutomation automation(ws);
        const auto step = [](void* user, const cmcEvent&) {
            static_cast<adj::AdjustAutomation*>(user)->StepPass();
        };
        bus.AddListener(step, &automation);
        // Each port open waits for the line to settle, as in the program; its timers do not
        // fire the ticks they missed meanwhile, so virtual time stands still for the wait.
        int64_t settledMs = 0;
        ws.man.Driver().SetSettleWait([&waits, &settledMs](int ms) {
            waits += ms / 1000.0;
            settledMs += ms;
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        });
        program.boxes.shown.clear();
        const auto begin = std::chrono::steady_clock::now();
        start(automation);
        int lastState = -1;
        // Virtual time follows the wall clock: the link's timers as in the program.
        while (running(automation) || ws.man.IsBusy()) {
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - begin);
            if (static_cast<uint64_t>(elapsed.count() - settledMs) < sched.Now() + 1) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                continue;
            }
            const int period = ws.man.Link().Mode() == adj::imcCloneDrv::kModeList ? 10 : 4;
            sched.Advance(1);
            const int now = ws.man.Link().StateNow();
            if (now != lastState && now != 0) waits += period / 1000.0;
            lastState = now;
        }
        result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        bus.RemoveListener(step, &automation);
        result.error = program.boxes.shown.empty() ? check(automation, ws) : program.boxes.shown;
    }
    gEvMan = oldBus;
    sim.Stop();
    result.wire = sim.WireSeconds();
    result.bound = result.wire + waits;
    return result;
}

// One run as the benchmark's iteration: its time, the bound and their ratio.
inline void Report(benchmark::State& state, const Result& r) {
    if (!r.error.empty()) state.SkipWithError(r.error.c_str());
    state.SetIterationTime(r.seconds);
    state.counters["bound_s"] = r.bound;
    state.counters["wire_s"] = r.wire;
    state.counters["ratio"] = r.seconds / r.bound;
}

} // namespace pacedlink
