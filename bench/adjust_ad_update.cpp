// The A/D monitor's update (13 reads of the radio's converter and their
// replies at 38400 baud) against the radio simulator pacing its bytes at the
// line speed, beside the time it cannot beat: the bytes on the line at their
// speeds, the 100 ms settle wait after each port open and one task period for
// every state the transfer passes through. Goal: at most 1.1 times that.
#include "bench/PacedLink.h"

#include <benchmark/benchmark.h>

namespace {

void BM_AdUpdate(benchmark::State& state) {
    pacedlink::Program program;
    for (auto _ : state) {
        radiosim::Adjustment monitor;
        const pacedlink::Result r = pacedlink::Run(
            program, monitor, true, [](adj::AdjustAutomation& a) { a.ReadAdValues(); },
            [](adj::AdjustAutomation&) { return false; },
            [&monitor](adj::AdjustAutomation& a, pacedlink::BenchWorkspace&) {
                // The battery (selector 1) and SQL (selector 43) rows, the list's ends.
                return a.AdReading(0) == monitor.monitor.front().second &&
                               a.AdReading(12) == monitor.monitor.back().second
                           ? std::string()
                           : std::string("the readings did not arrive");
            });
        pacedlink::Report(state, r);
    }
}

} // namespace

BENCHMARK(BM_AdUpdate)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
