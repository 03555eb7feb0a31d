#pragma once

// The main of a benchmark over the system's code, which needs an application object for its
// folders, strings and events.
#include <QCoreApplication>

#include <benchmark/benchmark.h>

inline int RunQtBenchmarks(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
