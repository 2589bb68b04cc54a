#pragma once
// The main of a bench that shows widgets: the application on the offscreen
// platform (unless another is chosen), then the bench's program object,
// reachable through the pointer given while the benchmarks run.
#include <QApplication>

#include <benchmark/benchmark.h>

namespace bench {

template <class Program> int RunWithProgram(int argc, char** argv, Program*& program) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Program made;
    program = &made;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    program = nullptr;
    return 0;
}

} // namespace bench
