// A full clone read (0 to 0xFF7F) at 38400 baud against the radio simulator,
// which paces its bytes at the real line speed, beside the time the frames
// that crossed the line need at their speeds (10 bits a byte): about 49 s.
// The driver's overhead (port opens with their 100 ms settle waits, 10 ms
// ticks) should stay within 2 % of that bound.
#include "clone/cmcCloneDrv.h"
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

std::string LinkScript(int modelA) {
    char frame[128];
    const auto speed = [&](const char* settings, int d1, int d2) {
        std::snprintf(frame, sizeof frame,
                      "(%s)FEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFE EEEF E8 %04X%04X 01 %02X%02X FD",
                      settings, modelA, 0, d1, d2);
        return std::string(frame);
    };
    std::string script = speed("38400,N,8,1", 0x32, 0x37) + "(9600,N,8,1)";
    std::snprintf(frame, sizeof frame, "FEFE EEEF E8 %04X%04X 55 %02X%02X FD", modelA, 0, 0x30, 0x30);
    return script + frame + speed("9600,N,8,1", 0x30, 0x39);
}

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
        if (!sim.Open() || sim.LinkAs(dir, 5).empty()) std::abort();
        sim.FillPattern("random");
        sim.SetPacing(true);
        sim.Start();

        // Virtual time that follows the wall clock in 10 ms steps: the driver's timers as in the program.
        plat::ManualScheduler sched;
        sched.Install();
        Outcome outcome;
        const auto start = std::chrono::steady_clock::now();
        {
            cmcCloneDrv drv;
            drv.SetModel(0x4410, 0);
            drv.SetImageSize(148298);
            drv.SetPort(5, "38400,N,8,1");
            drv.SetCommandLeadIn(48);
            drv.SetScript(LinkScript(0x4410));
            drv.SetEndCount(1);
            drv.SetWaitGo(1);
            drv.SetAck(128, 0);
            drv.SetTimeout(1000);
            if (!drv.StartRead({{0, 0xFF7F}, {1, 0}}, &OnDone, &outcome)) std::abort();
            while (drv.IsBusy()) {
                const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - start);
                if (static_cast<uint64_t>(elapsed.count()) >= sched.Now() + 10)
                    sched.Advance(10);
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        sim.Stop();
        if (outcome.code != kCloneOk) {
            state.SkipWithError("the clone read failed");
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
