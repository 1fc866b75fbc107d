// The main of a window benchmark: Qt offscreen, then the registered benchmarks.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

namespace kal::bench {

inline int runQtBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace kal::bench
