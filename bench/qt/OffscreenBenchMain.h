// The main function of the window benchmarks: Qt offscreen, then every registered benchmark.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

namespace kal::bench {

inline int runOffscreenBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace kal::bench
