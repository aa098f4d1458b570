// The Wayland desktop under a headless sway (scripts/bench.sh starts one and runs this as its
// client): 1,000 characters of a typing task, US and non-US, played into wev and compared with what
// it received, with `wtype` typing the same beside it; 200 clicks at 50 ms, their timing error and
// drift; the time of one screen copy of a descriptive image's block and of the whole screen; and a
// find's whole-screen read from its own thread.
#include "core/KeySymbols.h"
#include "desktop/DesktopScreenReader.h"
#include "desktop/ScreenReader.h"
#include "desktop/wayland/WaylandDesktop.h"
#include "player/InputPlayer.h"
#include "support/WevLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "QtBenchmarkMain.h"
#include "TypingText.h"
#include "WevTyping.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

namespace {

QString Text(bool us)
{
    static const QString kUs = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 "
                                              "!@#$%^&*()-_=+[]{};:',.<>/?");
    static const QString kNonUs = QStringLiteral("äöüßÄÖÜéèêçñøåæœ€£¥ §°µ½ абвгдежзийклмнопрстуфхцчшщыэюя "
                                                 "ΑΒΓαβγδεζηθλμπσω łśźżčřšžő");
    return TypingText(us ? kUs : kNonUs);
}

WevLog& Client()
{
    static WevLog wev;
    static const bool started = wev.Start();
    Q_UNUSED(started);
    return wev;
}

WaylandDesktop* SharedDesktop()
{
    static const std::unique_ptr<WaylandDesktop> desktop = WaylandDesktop::Open().desktop;
    return desktop.get();
}

void TypeInto(benchmark::State& state, bool us, const std::function<void(const QString&)>& type)
{
    TypeIntoWev(state, Client(), Text(us), type);
}

void BM_WaylandTypingTask(benchmark::State& state)
{
    WaylandDesktop* desktop = SharedDesktop();
    if (desktop == nullptr) {
        state.SkipWithError("no Wayland compositor with the wlroots interfaces: run under scripts/bench.sh");
        return;
    }
    InputPlayer player(*desktop);
    TypeInto(state, state.range(0) == 1, [&](const QString& text) {
        InputTask task;
        task.kind = InputTask::Kind::Type;
        for (const char32_t character : text.toUcs4())
            task.keys.push_back(KeySymbols::FromCharacter(character));
        player.Run(task);
    });
    desktop->ReleaseHeld();
}
BENCHMARK(BM_WaylandTypingTask)
    ->ArgName("us")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// wtype, in a process of its own, with its own keymap too.
void BM_Wtype(benchmark::State& state)
{
    QProcess wtype;
    TypeInto(state, state.range(0) == 1, [&](const QString& text) { wtype.start("wtype", {"--", text}); });
    wtype.waitForFinished();
}
BENCHMARK(BM_Wtype)->ArgName("us")->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// 200 clicks due every 50 ms: how late each went out (p95), and how late the last one was (drift).
void BM_WaylandClickTiming(benchmark::State& state)
{
    WaylandDesktop* desktop = SharedDesktop();
    if (desktop == nullptr) {
        state.SkipWithError("no Wayland compositor with the wlroots interfaces");
        return;
    }
    WevLog& wev = Client();
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        wev.Clear();
        std::vector<double> lateness;
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < 200; ++i) {
            const Clock::time_point due = start + std::chrono::milliseconds(50 * i);
            std::this_thread::sleep_until(due);
            desktop->MovePointer(100 + 5 * i, 300 + i);
            desktop->ButtonClick(MouseButton::Left);
            lateness.push_back(std::chrono::duration<double, std::milli>(Clock::now() - due).count());
        }
        wev.WaitFor([&] { return wev.Presses().size() >= 400; }, 10000);
        const double drift = lateness.back();
        std::sort(lateness.begin(), lateness.end());
        state.counters["p95_error_ms"] = lateness[189];
        state.counters["drift_ms"] = drift;
        state.counters["presses_received"] = double(wev.Presses().size());
    }
}
BENCHMARK(BM_WaylandClickTiming)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One screen copy: the 51 x 51 block of a descriptive image or a screen check, and the whole screen of a find.
void BM_WaylandScreenCopy(benchmark::State& state)
{
    WaylandDesktop* desktop = SharedDesktop();
    if (desktop == nullptr) {
        state.SkipWithError("no Wayland compositor with the wlroots interfaces");
        return;
    }
    const QSize screen = desktop->ScreenSize();
    const int width = state.range(0) == 0 ? screen.width() : int(state.range(0));
    const int height = state.range(0) == 0 ? screen.height() : int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            desktop->PixelBlock(state.range(0) == 0 ? 0 : 600, state.range(0) == 0 ? 0 : 400, width, height));
}
BENCHMARK(BM_WaylandScreenCopy)->ArgName("side")->Arg(51)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole-screen read of a find, on the finder's thread: through the reader's own connection
// (own:1), or through the desktop's thread a band at a time (own:0), the way of a backend without one.
void BM_WaylandFindRead(benchmark::State& state)
{
    WaylandDesktop* desktop = SharedDesktop();
    if (desktop == nullptr) {
        state.SkipWithError("no Wayland compositor with the wlroots interfaces");
        return;
    }
    const std::unique_ptr<ScreenReader> reader =
        state.range(0) != 0 ? desktop->OpenScreenReader() : std::make_unique<DesktopScreenReader>(*desktop);
    const QRect whole(QPoint(0, 0), desktop->ScreenSize());
    for (auto _ : state) {
        std::stop_source running;
        auto read = std::async(std::launch::async, [&] { return reader->Block(whole, running.get_token()); });
        // The banded reader's bands are read here, on the desktop's thread.
        while (read.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        benchmark::DoNotOptimize(read.get());
    }
}
BENCHMARK(BM_WaylandFindRead)->ArgName("own")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

CW_QT_BENCHMARK_MAIN(QCoreApplication)
