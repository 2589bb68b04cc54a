// A full clone read (0 to 0xFF7F) at 38400 baud against the radio simulator,
// which paces its bytes at the real line speed, beside the time the frames
// that crossed the line need at their speeds (10 bits a byte): about 49 s.
// The driver's overhead (port opens with their 100 ms settle waits, 10 ms
// ticks) should stay within 2 % of that bound. The driver is set up by the
// clone manager, with the program's own link script, for COM1 (the port of a
// program without settings) in a temporary folder.
#include "clone/indCloneMan.h"
#include "tests/support/ManualScheduler.h"
#include "tools/radiosim/RadioSim.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr int64_t kTickMs = 10; // the driver's step period

struct Outcome {
    int code = -1;
};

void OnDone(void* user, dst_CDrv_Result* r) {
    static_cast<Outcome*>(user)->code = r->result;
}

void BM_CloneReadAt38400(benchmark::State& state) {
    std::string dir = (std::filesystem::temp_directory_path() / "tolvane-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) std::abort();
    setenv("TOLVANE_COM_DIR", dir.c_str(), 1);
    for (auto _ : state) {
        radiosim::RadioSim sim;
        if (!sim.Open() || sim.LinkAs(dir, 1).empty()) std::abort();
        sim.FillPattern("random");
        sim.SetPacing(true);
        sim.Start();

        // Virtual time that follows the wall clock in 10 ms steps: the driver's timers as in the program.
        plat::ManualScheduler sched;
        sched.Install();
        Outcome outcome;
        const auto start = std::chrono::steady_clock::now();
        {
            indCloneMan man;
            man.SetModel(0x4410, 0);
            man.SetImageSize(148298);
            man.BuildLinkScript(true, false);
            cmcCloneDrv& drv = man.Driver();
            if (!drv.StartRead({{0, 0xFF7F}, {1, 0}}, &OnDone, &outcome)) std::abort();
            // The program's timers do not fire the ticks they missed while the program
            // waited (a port open's settle wait, a busy machine): virtual time never
            // falls more than one tick behind the wall clock, the rest is skipped.
            int64_t skippedMs = 0;
            while (drv.IsBusy()) {
                const int64_t wall = std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start)
                                         .count();
                const int64_t behind = wall - skippedMs - static_cast<int64_t>(sched.Now());
                if (behind > 2 * kTickMs) skippedMs += behind - kTickMs;
                if (behind >= kTickMs)
                    sched.Advance(kTickMs);
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        sim.Stop();
        if (outcome.code != kCloneOk) {
            state.SkipWithError(("the clone read failed with code " + std::to_string(outcome.code)).c_str());
            break;
        }
        double dataSeconds = 0;
        for (const radiosim::LogEntry& e : sim.Log())
            if (e.fromRadio) dataSeconds += 10.0 * static_cast<double>(e.bytes.size()) / e.baud;
        const double bound = sim.WireSeconds();
        state.SetIterationTime(seconds);
        state.counters["wire_bound_s"] = bound;
        state.counters["radio_frames_s"] = dataSeconds;
        state.counters["over_bound_pct"] = (seconds / bound - 1.0) * 100.0;
    }
    unsetenv("TOLVANE_COM_DIR");
    std::filesystem::remove_all(dir);
}

} // namespace

BENCHMARK(BM_CloneReadAt38400)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
