// The X11 desktop's screen and key reads: one 51x51 block read against the 2,601 single-pixel
// reads it replaces, and one key query. Medians of many repetitions, and the block's speed-up.
// Run under an X server of its own, in a release build.
#include "core/KeySymbols.h"
#include "desktop/x11/X11Desktop.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include <unistd.h>

namespace {
constexpr int kSide = 51;
constexpr int kRepetitions = 21;

X11Desktop* SharedDesktop()
{
    static const std::unique_ptr<X11Desktop> desktop = X11Desktop::Open().desktop;
    return desktop.get();
}

// A block centred on the screen, as image capture reads it around a click.
int Left()
{
    return SharedDesktop()->ScreenSize().width() / 2 - kSide / 2;
}

int Top()
{
    return SharedDesktop()->ScreenSize().height() / 2 - kSide / 2;
}

void BM_PixelBlock51x51(benchmark::State& state)
{
    X11Desktop* desktop = SharedDesktop();
    for (auto _ : state) {
        std::vector<quint32> block = desktop->PixelBlock(Left(), Top(), kSide, kSide);
        benchmark::DoNotOptimize(block.data());
    }
}
BENCHMARK(BM_PixelBlock51x51)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();

// The same pixels one request each, column by column as the image text lists them.
void BM_PixelColor2601(benchmark::State& state)
{
    X11Desktop* desktop = SharedDesktop();
    for (auto _ : state) {
        quint32 sum = 0;
        for (int i = 0; i < kSide; ++i)
            for (int j = 0; j < kSide; ++j)
                sum += desktop->PixelColor(Left() + i, Top() + j);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PixelColor2601)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly()
    ->MinTime(0.3);

void BM_IsKeyDownButton(benchmark::State& state)
{
    X11Desktop* desktop = SharedDesktop();
    for (auto _ : state)
        benchmark::DoNotOptimize(desktop->IsButtonDown(MouseButton::Left));
}
BENCHMARK(BM_IsKeyDownButton)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();

void BM_IsKeyDownKey(benchmark::State& state)
{
    X11Desktop* desktop = SharedDesktop();
    for (auto _ : state)
        benchmark::DoNotOptimize(desktop->IsKeyDown(KeySymbols::kF12));
}
BENCHMARK(BM_IsKeyDownKey)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();

// Prints as usual and keeps each benchmark's median real time, in seconds.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    // Colours only on a terminal, so that the figures stay readable in a log.
    MedianReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_medians[run.run_name.function_name] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }

    double Median(const std::string& name) const
    {
        const auto found = m_medians.find(name);
        return found == m_medians.end() ? 0 : found->second;
    }

private:
    std::map<std::string, double> m_medians;
};
} // namespace

int main(int argc, char** argv)
{
    if (SharedDesktop() == nullptr) {
        std::fprintf(stderr, "no X display with XTEST: set DISPLAY\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double block = reporter.Median("BM_PixelBlock51x51");
    const double pixels = reporter.Median("BM_PixelColor2601");
    if (block > 0 && pixels > 0) {
        std::printf("\nMedians: 51x51 block %.1f us, 2,601 single pixels %.2f ms, IsKeyDown %.1f us (button) "
                    "%.1f us (key)\n",
                    block * 1e6, pixels * 1e3, reporter.Median("BM_IsKeyDownButton") * 1e6,
                    reporter.Median("BM_IsKeyDownKey") * 1e6);
        std::printf("The block read is %.0fx faster (target: under 100 us and at least 500x)\n", pixels / block);
    }
    return 0;
}
