#pragma once

// The main of the window benchmarks: a QApplication on the offscreen platform unless a
// platform was chosen, then Google Benchmark.
#include <QApplication>

#include <benchmark/benchmark.h>

inline int RunWindowBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
