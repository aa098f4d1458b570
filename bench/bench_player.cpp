// Playback timing where the clicks arrive: 200 left clicks at an interval of 50 ms, received by a
// window of a second X connection that stamps every press on a steady clock as it is read. Three
// players take turns in one run: the playback engine alone, driven by its real timers; the program
// as a user starts it (`clickwarden FILE.#cw`, window minimised, grid and stop-key poll live, closing
// after playing); and `xdotool click --repeat 200 --delay 50 1`. Reported for each: the drift of the
// last press from the first press + 199 × 50 ms, the 95th percentile and the maximum of
// |interval − 50 ms| between consecutive presses, and the CPU time the player used meanwhile.
//
// The program runs twice more the way a script or a timer starts it, beside xdotool in the same
// setting: the presses received by a window over the whole screen, the clicks at 8 points along the
// screen's edges, a fresh empty home folder (no settings, no caches of its own), no desktop session
// and no session bus. (BM_ProgramClicksFreshSession, BM_XdotoolClicksFullScreen)
#include "core/TextTable.h"
#include "desktop/x11/X11Desktop.h"
#include "macrofile/MacroFile.h"
#include "player/Player.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "QtBenchmarkMain.h"
#include <X11/Xlib.h>

#include <benchmark/benchmark.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClicks = 200;
constexpr int kIntervalMs = 50;
// Bottom right of the 1280 × 1024 test screen, clear of the splash and of the main window.
constexpr int kLeft = 1000;
constexpr int kTop = 780;
constexpr int kSide = 200;
constexpr int kCentreX = kLeft + kSide / 2;
constexpr int kCentreY = kTop + kSide / 2;

// A window on its own connection and thread that notes when each button press reaches it.
class ReceivingWindow
{
public:
    // A window over the whole screen when fullScreen, else a square at the bottom right.
    explicit ReceivingWindow(bool fullScreen = false)
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            return;
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.event_mask = ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
        const Screen* screen = DefaultScreenOfDisplay(m_display);
        const int left = fullScreen ? 0 : kLeft;
        const int top = fullScreen ? 0 : kTop;
        const unsigned width = fullScreen ? unsigned(WidthOfScreen(screen)) : kSide;
        const unsigned height = fullScreen ? unsigned(HeightOfScreen(screen)) : kSide;
        m_window = XCreateWindow(m_display, DefaultRootWindow(m_display), left, top, width, height, 0, CopyFromParent,
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

    // Reads presses until `count` have arrived or nothing came for `quietMs`. Where it may, the
    // reading thread takes a real-time priority, so that the load of a shared machine blurs the
    // stamps less; the players keep the normal priority.
    std::vector<Clock::time_point> CollectPresses(int count, int quietMs)
    {
        sched_param priority{};
        priority.sched_priority = 10;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority);
        XRaiseWindow(m_display, m_window);
        XFlush(m_display);
        std::vector<Clock::time_point> presses;
        pollfd descriptor{ConnectionNumber(m_display), POLLIN, 0};
        while (static_cast<int>(presses.size()) < count) {
            if (XPending(m_display) == 0 && poll(&descriptor, 1, quietMs) <= 0)
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

double Ms(Clock::duration span)
{
    return std::chrono::duration<double, std::milli>(span).count();
}

double CpuMs(const rusage& usage)
{
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void Report(benchmark::State& state, const std::vector<Clock::time_point>& presses, double cpuMs)
{
    if (static_cast<int>(presses.size()) != kClicks) {
        state.SkipWithError(("presses received: " + std::to_string(presses.size())).c_str());
        return;
    }
    std::vector<double> deviations;
    for (std::size_t i = 1; i < presses.size(); ++i)
        deviations.push_back(std::abs(Ms(presses[i] - presses[i - 1]) - kIntervalMs));
    std::sort(deviations.begin(), deviations.end());
    const Clock::duration span = presses.back() - presses.front();
    state.SetIterationTime(std::chrono::duration<double>(span).count());
    state.counters["drift_ms"] = Ms(span) - (kClicks - 1) * kIntervalMs;
    state.counters["p95_dev_ms"] = deviations[static_cast<std::size_t>(std::ceil(0.95 * deviations.size())) - 1];
    state.counters["max_dev_ms"] = deviations.back();
    state.counters["cpu_ms"] = cpuMs;
}

// Along the edges of the 1280 × 1024 screen: the pointer jumps far at every click.
std::vector<TaskRow> EdgeClicks()
{
    constexpr int kPoints[][2] = {{5, 5},   {1274, 5},   {1274, 1018}, {5, 1018},
                                  {640, 5}, {1274, 512}, {640, 1018},  {5, 512}};
    std::vector<TaskRow> rows;
    for (int i = 0; i < kClicks; ++i) {
        const auto& [x, y] = kPoints[i % std::size(kPoints)];
        rows.push_back({QString::number(x), QString::number(y), TextTable::Text(TextId::ClickLeft), {}});
    }
    return rows;
}

std::vector<TaskRow> Clicks()
{
    return std::vector<TaskRow>(
        kClicks, TaskRow{QString::number(kCentreX), QString::number(kCentreY), TextTable::Text(TextId::ClickLeft), {}});
}

// The engine alone, driven by its real timers: stepTimer steps, pollTimer polls the stop keys meanwhile.
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
        tasks.AddTasks(Clicks());
        SharedState shared;
        QTimer pollTimer;
        pollTimer.setTimerType(Qt::PreciseTimer);
        pollTimer.setInterval(20);
        Player player(tasks, *opened.desktop, shared);
        player.SetStepInterval(kIntervalMs);
        QObject::connect(&pollTimer, &QTimer::timeout, &player, &Player::PlaybackStopCheck);
        pollTimer.start();
        QObject::connect(&player, &Player::finished, qApp, &QCoreApplication::quit);

        std::vector<Clock::time_point> presses;
        std::thread reader([&window, &presses] { presses = window.CollectPresses(kClicks, 2000); });
        rusage before{};
        getrusage(RUSAGE_THREAD, &before);
        player.Play();
        QCoreApplication::exec();
        rusage after{};
        getrusage(RUSAGE_THREAD, &after);
        reader.join();
        Report(state, presses, CpuMs(after) - CpuMs(before));
    }
}

// Runs a program to its end; its CPU time in milliseconds, or a negative number when it failed.
double RunProgram(std::vector<std::string> arguments, char** environment = environ)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environment) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return CpuMs(usage);
}

// The program as a user runs it: a macro file that closes the program after playing, named on the
// command line. The CPU time includes the program's start and end.
void BM_ProgramClicks(benchmark::State& state)
{
    ReceivingWindow window;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("clicks.#cw"));
    TaskList tasks;
    tasks.AddTasks(Clicks());
    OptionValues settings;
    settings.playIntervalMs = kIntervalMs;
    settings.closeAfterPlaying = true;
    if (!window.IsOpen() || MacroFile::Save(file, tasks, settings, false)) {
        state.SkipWithError("no X display, or the macro file could not be written");
        return;
    }
    for (auto _ : state) {
        std::vector<Clock::time_point> presses;
        // The program may take a few seconds to start on a busy machine.
        std::thread reader([&window, &presses] { presses = window.CollectPresses(kClicks, 10000); });
        const double cpuMs = RunProgram({CW_PROGRAM, file.toStdString()});
        reader.join();
        if (cpuMs < 0) {
            state.SkipWithError("the program failed");
            return;
        }
        Report(state, presses, cpuMs);
    }
}

void BM_XdotoolClicks(benchmark::State& state)
{
    ReceivingWindow window(state.range(0) != 0);
    if (!window.IsOpen() || std::system("command -v xdotool >/dev/null") != 0) {
        state.SkipWithError("no X display or no xdotool");
        return;
    }
    const std::string xdotool = "/usr/bin/xdotool";
    for (auto _ : state) {
        if (RunProgram({xdotool, "mousemove", std::to_string(kCentreX), std::to_string(kCentreY)}) < 0) {
            state.SkipWithError("xdotool mousemove failed");
            return;
        }
        std::vector<Clock::time_point> presses;
        std::thread reader([&window, &presses] { presses = window.CollectPresses(kClicks, 2000); });
        const double cpuMs = RunProgram(
            {xdotool, "click", "--repeat", std::to_string(kClicks), "--delay", std::to_string(kIntervalMs), "1"});
        reader.join();
        if (cpuMs < 0) {
            state.SkipWithError("xdotool click failed");
            return;
        }
        Report(state, presses, cpuMs);
    }
}

// The program started by a script or a timer: a fresh empty home, no session bus, no desktop
// session, the X server named alone; the clicks along the screen's edges, received over all of it.
void BM_ProgramClicksFreshSession(benchmark::State& state)
{
    ReceivingWindow window(true);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("edges.#cw"));
    TaskList tasks;
    tasks.AddTasks(EdgeClicks());
    OptionValues settings;
    settings.playIntervalMs = kIntervalMs;
    settings.closeAfterPlaying = true;
    if (!window.IsOpen() || MacroFile::Save(file, tasks, settings, false)) {
        state.SkipWithError("no X display, or the macro file could not be written");
        return;
    }
    for (auto _ : state) {
        QTemporaryDir home;
        QDir(home.path()).mkdir(QStringLiteral("run"));
        QFile::setPermissions(home.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        std::vector<std::string> variables = {"PATH=/usr/bin:/bin",
                                              "DISPLAY=" + qEnvironmentVariable("DISPLAY").toStdString(),
                                              "HOME=" + home.path().toStdString(),
                                              "XDG_CONFIG_HOME=" + home.path().toStdString(),
                                              "XDG_RUNTIME_DIR=" + home.filePath(QStringLiteral("run")).toStdString(),
                                              "QT_QPA_PLATFORM=xcb"};
        std::vector<char*> environment;
        for (std::string& variable : variables)
            environment.push_back(variable.data());
        environment.push_back(nullptr);
        std::vector<Clock::time_point> presses;
        std::thread reader([&window, &presses] { presses = window.CollectPresses(kClicks, 10000); });
        const double cpuMs = RunProgram({CW_PROGRAM, file.toStdString()}, environment.data());
        reader.join();
        if (cpuMs < 0) {
            state.SkipWithError("the program failed");
            return;
        }
        Report(state, presses, cpuMs);
    }
}

BENCHMARK(BM_PlayerClicks)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramClicks)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XdotoolClicks)->Arg(0)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramClicksFreshSession)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XdotoolClicks)
    ->Name("BM_XdotoolClicksFullScreen")
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

CW_QT_BENCHMARK_MAIN(QCoreApplication)
