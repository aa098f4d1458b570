// Playback timing where the clicks arrive: 200 left clicks at an interval of 50 ms, played by the
// player through the X11 desktop into a window of a second X connection that stamps every press
// on a steady clock as it is read. The same window then takes `xdotool click --repeat 200
// --delay 50 1` for comparison. Reported: the drift of the last press from the first press +
// 199 × 50 ms, and the 95th percentile of |interval − 50 ms| between consecutive presses.
#include "core/TextTable.h"
#include "desktop/x11/X11Desktop.h"
#include "player/Player.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QCoreApplication>
#include <QTimer>

#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <poll.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClicks = 200;
constexpr int kIntervalMs = 50;
constexpr int kLeft = 500;
constexpr int kTop = 300;
constexpr int kSide = 300;

// A window on its own connection and thread that notes when each button press reaches it.
class ReceivingWindow
{
public:
    ReceivingWindow()
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            return;
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.event_mask = ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
        m_window = XCreateWindow(m_display, DefaultRootWindow(m_display), kLeft, kTop, kSide, kSide, 0, CopyFromParent,
                                 InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask, &attributes);
        XMapRaised(m_display, m_window);
        XEvent event;
        XWindowEvent(m_display, m_window, StructureNotifyMask, &event);
        XSync(m_display, True);
    }
    ~ReceivingWindow()
    {
        if (!m_display)
            return;
        XDestroyWindow(m_display, m_window);
        XCloseDisplay(m_display);
    }
    ReceivingWindow(const ReceivingWindow&) = delete;
    ReceivingWindow& operator=(const ReceivingWindow&) = delete;

    bool IsOpen() const { return m_display != nullptr; }

    // Reads presses until `count` have arrived or nothing came for two seconds.
    std::vector<Clock::time_point> CollectPresses(int count)
    {
        std::vector<Clock::time_point> presses;
        pollfd descriptor{ConnectionNumber(m_display), POLLIN, 0};
        while (static_cast<int>(presses.size()) < count) {
            if (XPending(m_display) == 0 && poll(&descriptor, 1, 2000) <= 0)
                break;
            while (XPending(m_display) > 0) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == ButtonPress)
                    presses.push_back(Clock::now());
            }
        }
        return presses;
    }

private:
    Display* m_display = nullptr;
    Window m_window = 0;
};

struct Figures
{
    double driftMs = 0;
    double p95DeviationMs = 0;
    double maxDeviationMs = 0;
};

Figures Measure(const std::vector<Clock::time_point>& presses)
{
    Figures figures;
    const auto ms = [](Clock::duration span) {
        return std::chrono::duration<double, std::milli>(span).count();
    };
    figures.driftMs = ms(presses.back() - presses.front()) - (kClicks - 1) * kIntervalMs;
    std::vector<double> deviations;
    for (std::size_t i = 1; i < presses.size(); ++i)
        deviations.push_back(std::abs(ms(presses[i] - presses[i - 1]) - kIntervalMs));
    std::sort(deviations.begin(), deviations.end());
    figures.p95DeviationMs = deviations[static_cast<std::size_t>(std::ceil(0.95 * deviations.size())) - 1];
    figures.maxDeviationMs = deviations.back();
    return figures;
}

void Report(benchmark::State& state, const std::vector<Clock::time_point>& presses, Clock::time_point start)
{
    const Clock::duration elapsed = Clock::now() - start;
    if (static_cast<int>(presses.size()) != kClicks) {
        state.SkipWithError(("presses received: " + std::to_string(presses.size())).c_str());
        return;
    }
    const Figures figures = Measure(presses);
    state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
    state.counters["drift_ms"] = figures.driftMs;
    state.counters["p95_dev_ms"] = figures.p95DeviationMs;
    state.counters["max_dev_ms"] = figures.maxDeviationMs;
    // The first click is due one interval after the start.
    state.counters["first_ms"] = std::chrono::duration<double, std::milli>(presses.front() - start).count();
}

// The player, driven by its real timers: tmrPlay steps, tmrRec polls the stop keys meanwhile.
void BM_PlayerClicks(benchmark::State& state)
{
    ReceivingWindow window;
    X11Desktop::OpenResult opened = X11Desktop::Open();
    if (!window.IsOpen() || !opened.desktop) {
        state.SkipWithError("no X display with XTEST");
        return;
    }
    for (auto _ : state) {
        TaskList tasks;
        std::vector<TaskRow> rows(
            kClicks,
            TaskRow{QString::number(kLeft + kSide / 2), QString::number(kTop + kSide / 2), TextTable::Text(114), {}});
        tasks.AddTasks(std::move(rows));
        SharedState shared;
        QTimer tmrPlay;
        QTimer tmrPause;
        QTimer tmrRec;
        for (QTimer* timer : {&tmrPlay, &tmrPause, &tmrRec})
            timer->setTimerType(Qt::PreciseTimer);
        tmrPlay.setInterval(kIntervalMs);
        tmrPause.setInterval(1000);
        tmrRec.setInterval(20);
        Player player(tasks, *opened.desktop, shared, tmrPlay, tmrPause, tmrRec);
        QObject::connect(&tmrPlay, &QTimer::timeout, &player, &Player::tmrPlay_Timer);
        QObject::connect(&tmrPause, &QTimer::timeout, &player, &Player::tmrPause_Timer);
        QObject::connect(&tmrRec, &QTimer::timeout, &player, &Player::PlaybackStopCheck);
        QObject::connect(&player, &Player::finished, qApp, &QCoreApplication::quit);

        std::vector<Clock::time_point> presses;
        std::thread reader([&window, &presses] { presses = window.CollectPresses(kClicks); });
        const Clock::time_point start = Clock::now();
        player.mnuComandiPlay_Click();
        QCoreApplication::exec();
        tmrRec.stop();
        reader.join();
        Report(state, presses, start);
    }
}

void BM_XdotoolClicks(benchmark::State& state)
{
    ReceivingWindow window;
    if (!window.IsOpen() || std::system("command -v xdotool >/dev/null") != 0) {
        state.SkipWithError("no X display or no xdotool");
        return;
    }
    const std::string move =
        "xdotool mousemove " + std::to_string(kLeft + kSide / 2) + " " + std::to_string(kTop + kSide / 2);
    const std::string clicks =
        "xdotool click --repeat " + std::to_string(kClicks) + " --delay " + std::to_string(kIntervalMs) + " 1";
    for (auto _ : state) {
        std::vector<Clock::time_point> presses;
        if (std::system(move.c_str()) != 0) {
            state.SkipWithError("xdotool mousemove failed");
            return;
        }
        std::thread reader([&window, &presses] { presses = window.CollectPresses(kClicks); });
        const Clock::time_point start = Clock::now();
        const int status = std::system(clicks.c_str());
        reader.join();
        if (status != 0) {
            state.SkipWithError("xdotool click failed");
            return;
        }
        Report(state, presses, start);
    }
}

BENCHMARK(BM_PlayerClicks)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XdotoolClicks)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
