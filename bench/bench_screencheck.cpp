// The check of the screen before a click: the comparison of a 51x51 block with a task's image on
// its own, one whole check on a real X server (pointer move, block read, decoding the image,
// comparison), and one playback tick of a click task with the check and without it, on a screen
// that already matches: the difference is what the check adds to every task.
#include "core/TextTable.h"
#include "desktop/x11/X11Desktop.h"
#include "player/Player.h"
#include "player/ScreenCheck.h"
#include "tasks/DescriptiveImage.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QCoreApplication>
#include <QTimer>

#include "ExposedWindow.h"
#include "QtBenchmarkMain.h"
#include <X11/Xlib.h>

#include <benchmark/benchmark.h>

namespace {
constexpr int kSide = DescriptiveImage::kSide;
constexpr int kLeft = 400;
constexpr int kTop = 300;
constexpr int kWindowSide = 200;
constexpr int kX = kLeft + kWindowSide / 2;
constexpr int kY = kTop + kWindowSide / 2;
constexpr int kRepetitions = 11;

// A window with stripes of colour, so the block is not one colour.
class StripedWindow : public ExposedWindow
{
public:
    StripedWindow() : ExposedWindow(kLeft, kTop, kWindowSide, kWindowSide)
    {
        if (!IsOpen())
            return;
        GC gc = XCreateGC(display(), window(), 0, nullptr);
        for (int i = 0; i < kWindowSide; i += 4) {
            XSetForeground(display(), gc, 0x102030UL * static_cast<unsigned long>(i % 7 + 1));
            XFillRectangle(display(), window(), gc, i, 0, 4, kWindowSide);
        }
        XFreeGC(display(), gc);
        XSync(display(), False);
    }
};

struct Rig
{
    StripedWindow window;
    std::unique_ptr<X11Desktop> desktop = X11Desktop::Open().desktop;
    QByteArray image;

    Rig()
    {
        if (desktop && window.IsOpen())
            image = DescriptiveImage::Encode(desktop->PixelBlock(kX - kSide / 2, kY - kSide / 2, kSide, kSide));
    }
};

Rig& SharedRig()
{
    static Rig rig;
    return rig;
}

void BM_CompareBlock(benchmark::State& state)
{
    std::vector<quint32> block(kSide * kSide);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<quint32>(i * 2654435761u) & 0xFFFFFF;
    const QImage stored = DescriptiveImage::Decode(DescriptiveImage::Encode(block));
    for (auto _ : state)
        benchmark::DoNotOptimize(ScreenCheck::DifferingPixels(stored, block));
}
BENCHMARK(BM_CompareBlock)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();

void BM_CheckMatchingScreen(benchmark::State& state)
{
    Rig& rig = SharedRig();
    if (rig.image.isEmpty()) {
        state.SkipWithError("no X display with XTEST");
        return;
    }
    ScreenCheck check(*rig.desktop);
    for (auto _ : state) {
        if (!check.Begin(1, kX, kY, rig.image, 1000)) {
            state.SkipWithError("the screen did not match");
            return;
        }
    }
}
BENCHMARK(BM_CheckMatchingScreen)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly();

// One playback tick of a click task on the striped window, run by hand; the list repeats.
void BM_ClickTick(benchmark::State& state)
{
    Rig& rig = SharedRig();
    if (rig.image.isEmpty()) {
        state.SkipWithError("no X display with XTEST");
        return;
    }
    TaskList tasks;
    tasks.AddTasks({TaskRow{QString::number(kX), QString::number(kY), TextTable::Text(TextId::ClickLeft), rig.image}});
    SharedState shared;
    shared.options.repeatForever = true;
    shared.screenCheck.enabled = state.range(0) != 0;
    Player player(tasks, *rig.desktop, shared);
    player.SetStepInterval(60000);
    player.Play();
    for (auto _ : state) {
        player.Step();
        if (player.WaitingForScreen()) {
            state.SkipWithError("the screen did not match");
            return;
        }
    }
    player.Stop();
}
BENCHMARK(BM_ClickTick)
    ->ArgName("check")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();

} // namespace

CW_QT_BENCHMARK_MAIN(QCoreApplication)
