// A single-item peak sweep (BpfT1: 64 lists of four values and four A/D reads
// at 38400 baud) against the radio simulator pacing its bytes at the line
// speed, beside the time it cannot beat: the bytes on the line at their
// speeds, the 100 ms settle wait after each port open and one task period for
// every state each transfer passes through. Goal: at most 1.1 times that.
#include "bench/PacedLink.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PeakSweepBpfT1(benchmark::State& state) {
    pacedlink::Program program;
    for (auto _ : state) {
        radiosim::Adjustment plateau;
        const pacedlink::Result r = pacedlink::Run(
            program, plateau, false, [](adj::AdjustAutomation& a) { a.StartSweepBpfT1(); },
            [](adj::AdjustAutomation& a) { return a.State().PeakSearch != adj::AdjustAutomation::kPeakIdle; },
            [&plateau](adj::AdjustAutomation&, pacedlink::BenchWorkspace& ws) {
                return ws.work.GetByte(84) == (plateau.plateauLow + plateau.plateauHigh) / 2
                           ? std::string()
                           : std::string("the sweep did not find the plateau's middle");
            });
        pacedlink::Report(state, r);
    }
}

} // namespace

BENCHMARK(BM_PeakSweepBpfT1)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
