#pragma once

#include <benchmark/benchmark.h>

// main() of a benchmark that needs a Qt application object of the given class (timers, windows).
#define CW_QT_BENCHMARK_MAIN(ApplicationClass)                                                                         \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        ApplicationClass app(argc, argv);                                                                              \
        benchmark::Initialize(&argc, argv);                                                                            \
        benchmark::RunSpecifiedBenchmarks();                                                                           \
        benchmark::Shutdown();                                                                                         \
        return 0;                                                                                                      \
    }
