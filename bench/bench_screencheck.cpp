// The check of the screen before a click: the comparison of a 51x51 block with a task's image on
// its own, one whole check on a real X server (pointer move, block read, decoding the image,
// comparison), and one playback tick of a click task with the check and without it, on a screen
// that already matches: the difference is what the check adds to every task. And a find that
// waits for an image that never comes: what it costs the window's thread and the processor, and
// whether the stop keys still end the run at once.
#include "core/TextTable.h"
#include "desktop/x11/X11Desktop.h"
#include "player/Player.h"
#include "player/ScreenCheck.h"
#include "tasks/DescriptiveImage.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "ExposedWindow.h"
#include "QtBenchmarkMain.h"
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

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

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The CPU time of the whole program, every thread of it, or of the calling thread alone.
double CpuMs(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID)
{
    timespec time{};
    clock_gettime(clock, &time);
    return double(time.tv_sec) * 1000.0 + double(time.tv_nsec) / 1e6;
}

void RunFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Holds Ctrl+Shift+F11 down for `holdMs` on a connection of its own, as a hand would; when they were let go.
Clock::time_point HoldStopKeys(int holdMs)
{
    Display* display = XOpenDisplay(nullptr);
    const KeyCode keys[] = {XKeysymToKeycode(display, XK_Control_L), XKeysymToKeycode(display, XK_Shift_L),
                            XKeysymToKeycode(display, XK_F11)};
    for (const KeyCode key : keys)
        XTestFakeKeyEvent(display, key, True, 0);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
    XTestFakeKeyEvent(display, keys[2], False, 0);
    XSync(display, False);
    const Clock::time_point released = Clock::now();
    XTestFakeKeyEvent(display, keys[1], False, 0);
    XTestFakeKeyEvent(display, keys[0], False, 0);
    XCloseDisplay(display);
    return released;
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

// While a find waits for an image that never comes, on a still screen: the longest the window's
// thread is busy at a time (its own CPU time between two ticks of a 2 ms timer, the task's own
// Step included; on a loaded machine a tick may come later than that), the
// program's CPU in % of a core while the screen stays still, and how long after Ctrl+Shift+F11
// (held 300 ms) is let go the run has stopped. One iteration is one run of about five seconds.
void BM_FindWaitsForNothing(benchmark::State& state)
{
    Rig& rig = SharedRig();
    if (rig.image.isEmpty()) {
        state.SkipWithError("no X display with XTEST");
        return;
    }
    const QSize screen = rig.desktop->ScreenSize();
    state.SetLabel(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
    // Noise that is nowhere on the screen.
    std::vector<quint32> noise(kSide * kSide);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = quint32(i * 2654435761u) >> 8;
    double busiest = 0;
    double latest = 0; // the latest tick, by the clock
    double cpuPercent = 0;
    double stopMs = 0;
    for (auto _ : state) {
        TaskList tasks;
        tasks.AddTasks({TaskRow{QString::number(kX), QString::number(kY), TextTable::Text(TextId::ClickLeft),
                                DescriptiveImage::Encode(noise)}});
        SharedState shared;
        shared.screenCheck = {true, 60, ScreenCheckOptions::OnMismatch::Find};
        Player player(tasks, *rig.desktop, shared);
        QTimer poll; // the run's poll of the stop keys
        poll.setTimerType(Qt::PreciseTimer);
        QObject::connect(&poll, &QTimer::timeout, &player, &Player::PlaybackStopCheck);
        poll.start(20);
        Clock::time_point lastTick = Clock::now();
        double lastCpu = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        const auto restart = [&] {
            lastTick = Clock::now();
            lastCpu = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        };
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            busiest = std::max(busiest, CpuMs(CLOCK_THREAD_CPUTIME_ID) - lastCpu);
            latest = std::max(latest, Ms(Clock::now() - lastTick) - 2.0);
            restart();
        });
        ticker.start(2);
        player.SetStepInterval(60000);
        player.Play();
        restart();
        player.Step();
        busiest = std::max(busiest, CpuMs(CLOCK_THREAD_CPUTIME_ID) - lastCpu);
        restart();
        RunFor(1500); // the first look, near and then over the whole screen
        ticker.stop();
        const double cpuBefore = CpuMs();
        const Clock::time_point stillStart = Clock::now();
        RunFor(3000);
        cpuPercent = 100.0 * (CpuMs() - cpuBefore) / Ms(Clock::now() - stillStart);
        restart();
        ticker.start(2);
        Clock::time_point stoppedAt{};
        QObject::connect(&player, &Player::stopped, [&] { stoppedAt = Clock::now(); });
        std::atomic<Clock::rep> releasedAt = 0;
        std::thread hand([&releasedAt] { releasedAt = HoldStopKeys(300).time_since_epoch().count(); });
        for (int i = 0; i < 400 && stoppedAt == Clock::time_point{}; ++i)
            RunFor(5);
        hand.join();
        if (stoppedAt == Clock::time_point{}) {
            state.SkipWithError("the stop keys did not stop the run");
            return;
        }
        stopMs = Ms(stoppedAt - Clock::time_point(Clock::duration(releasedAt.load())));
    }
    state.counters["busiest_ms"] = busiest;
    state.counters["latest_tick_ms"] = latest;
    state.counters["cpu_percent_still"] = cpuPercent;
    state.counters["stop_ms"] = stopMs;
}
BENCHMARK(BM_FindWaitsForNothing)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

CW_QT_BENCHMARK_MAIN(QCoreApplication)
