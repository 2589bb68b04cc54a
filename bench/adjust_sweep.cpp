// A single-item peak sweep (BpfT1: 64 lists of four values and four A/D reads
// at 38400 baud) against the radio simulator pacing its bytes at the line
// speed, beside the time it cannot beat: the bytes on the line at their
// speeds, the 100 ms settle wait after each port open and one task period for
// every state each transfer passes through. Goal: at most 1.1 times that.
#include "adjust/AdjustAutomation.h"
#include "adjust/AdjustWorkspace.h"
#include "adjust/indCloneMan.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "foundation/cmcGTex.h"
#include "foundation/indEnviron.h"
#include "image/cmcEeprom.h"
#include "platform/ManualScheduler.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "tools/radiosim/RadioSim.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

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
    bool AdWindowOpen() const override { return false; }
    int ModelWord() const override { return 0x4410; }

    cmcEeprom work, radio;
    adj::indCloneMan man;
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

void OnEvent(void* user, const cmcEvent&) {
    static_cast<adj::AdjustAutomation*>(user)->StepPass();
}

void BM_PeakSweepBpfT1(benchmark::State& state) {
    std::string dir = (std::filesystem::temp_directory_path() / "tolvane-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) std::abort();
    setenv("TOLVANE_COM_DIR", dir.c_str(), 1);
    plat::MemorySettingsStore store;
    indEnviron env{"Morv TolvaneADJ bench", "Software\\Morv\\TolvaneADJ", store};
    env.ComPort = 5;
    indEnviron* oldEnv = std::exchange(gEnviron, &env);
    cmcGTex texts;
    texts.SetFile(TOLVANE_BIN_DIR "/QT4411R.OVL");
    cmcGTex* oldTexts = std::exchange(gGTex, &texts);
    NotedBoxes boxes;
    plat::SetMessageBoxes(&boxes);
    for (auto _ : state) {
        radiosim::RadioSim sim;
        if (!sim.Open() || sim.LinkAs(dir, 5).empty()) std::abort();
        radiosim::Adjustment plateau;
        sim.SetAdjustment(plateau);
        sim.SetPacing(true);
        sim.Start();

        plat::ManualScheduler sched;
        sched.Install();
        cmcEvMan bus;
        cmcEvMan* oldBus = std::exchange(gEvMan, &bus);
        double seconds = 0;
        double waits = 0;
        {
            BenchWorkspace ws;
            adj::AdjustAutomation automation(ws);
            bus.AddListener(&OnEvent, &automation);
            // Each port open waits for the line to settle, as in the program.
            // Each port open waits for the line to settle, as in the program; its timers do not
            // fire the ticks they missed meanwhile, so virtual time stands still for the wait.
            int64_t settledMs = 0;
            ws.man.Driver().SetSettleWait([&waits, &settledMs](int ms) {
                waits += ms / 1000.0;
                settledMs += ms;
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            });
            const auto start = std::chrono::steady_clock::now();
            automation.StartSweepBpfT1();
            int lastState = -1;
            // Virtual time follows the wall clock: the link's timers as in the program.
            while (automation.State().PeakSearch != adj::AdjustAutomation::kPeakIdle || ws.man.IsBusy()) {
                const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - start);
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
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            bus.RemoveListener(&OnEvent, &automation);
            if (!boxes.shown.empty())
                state.SkipWithError(boxes.shown.c_str());
            else if (ws.work.GetByte(84) != (plateau.plateauLow + plateau.plateauHigh) / 2)
                state.SkipWithError("the sweep did not find the plateau's middle");
        }
        gEvMan = oldBus;
        sim.Stop();
        const double bound = sim.WireSeconds() + waits;
        state.SetIterationTime(seconds);
        state.counters["bound_s"] = bound;
        state.counters["wire_s"] = sim.WireSeconds();
        state.counters["ratio"] = seconds / bound;
    }
    gEnviron = oldEnv;
    gGTex = oldTexts;
    plat::SetMessageBoxes(nullptr);
    unsetenv("TOLVANE_COM_DIR");
    std::filesystem::remove_all(dir);
}

} // namespace

BENCHMARK(BM_PeakSweepBpfT1)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
