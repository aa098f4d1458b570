// The recorder on a real X server: what an idle tick costs, what following a held button costs
// the program and the X server, how many 0 ms clicks are recorded and how many double clicks at
// human speed come out as one row.
// Run under an X server of its own (the clicks go to the real pointer).
#include "core/TextTable.h"
#include "desktop/x11/X11Desktop.h"
#include "recorder/Recorder.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::unique_ptr<X11Desktop> OpenDesktop()
{
    auto opened = X11Desktop::Open();
    if (!opened.desktop) {
        std::fprintf(stderr, "no X display with XTEST: set DISPLAY\n");
        std::exit(1);
    }
    return std::move(opened.desktop);
}

// The X server's process: CW_XSERVER_PID (scripts/bench.sh sets it), or else the lock file of the
// display named in DISPLAY.
long XServerPid()
{
    if (const long pid = qEnvironmentVariableIntValue("CW_XSERVER_PID"))
        return pid;
    QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.indexOf(':');
    if (colon < 0)
        return 0;
    display = display.mid(colon + 1);
    const qsizetype dot = display.indexOf('.');
    if (dot >= 0)
        display.truncate(dot);
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(QString::fromLatin1(display)));
    if (!lock.open(QIODevice::ReadOnly))
        return 0;
    return lock.readAll().trimmed().toLong();
}

// User plus system time of a process so far, in seconds (fields 14 and 15 of /proc/<pid>/stat).
double CpuSeconds(long pid)
{
    QFile stat(pid ? QStringLiteral("/proc/%1/stat").arg(pid) : QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    // The command name may hold blanks: count the fields after its closing parenthesis.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Recording
{
    std::unique_ptr<X11Desktop> desktop = OpenDesktop();
    TaskList tasks;
    SharedState state;
    Recorder recorder{tasks, *desktop, state};
    QTimer pollTimer;

    Recording()
    {
        pollTimer.setTimerType(Qt::PreciseTimer);
        pollTimer.setInterval(20);
        pollTimer.start();
        recorder.Record();
    }
};

// One poll tick while recording and no button is held: the program's cost every 20 ms.
void BM_IdleTick(benchmark::State& state)
{
    Recording recording;
    for (auto _ : state)
        recording.recorder.Tick();
    if (!recording.recorder.IsRecording() || !recording.tasks.IsEmpty())
        state.SkipWithError("a key or button was down: run on an idle X server");
}
BENCHMARK(BM_IdleTick)->Unit(benchmark::kMicrosecond);

// A button held for 2 s while the recorder follows it tick by tick: CPU used meanwhile by the
// program and by the X server, in percent of one core.
void BM_HeldButtonCpu(benchmark::State& state)
{
    const long server = XServerPid();
    for (auto _ : state) {
        Recording recording;
        auto user = OpenDesktop();
        user->MovePointer(400, 300);
        user->ButtonDown(MouseButton::Left);
        std::thread release([&user] {
            std::this_thread::sleep_for(milliseconds(2000));
            user->ButtonUp(MouseButton::Left);
        });
        const double ownBefore = CpuSeconds(0);
        const double serverBefore = CpuSeconds(server);
        const auto start = Clock::now();
        // The press stays open across ticks; the click comes once the release and its image have.
        while (recording.tasks.IsEmpty() && Clock::now() - start < milliseconds(3000)) {
            recording.recorder.Tick();
            std::this_thread::sleep_for(milliseconds(20));
            QCoreApplication::processEvents(); // the image's timer
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double own = CpuSeconds(0) - ownBefore;
        const double byServer = CpuSeconds(server) - serverBefore;
        release.join();
        state.counters["held_s"] = seconds;
        state.counters["program_cpu_%"] = 100 * own / seconds;
        state.counters["xserver_cpu_%"] = server ? 100 * byServer / seconds : -1;
        state.counters["total_cpu_%"] = 100 * (own + byServer) / seconds;
        if (recording.tasks.TaskCount() != 1)
            state.SkipWithError("the held button was not recorded as one click");
    }
}
BENCHMARK(BM_HeldButtonCpu)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Runs the poll timer until the user thread is done, then counts the rows of each task text.
template <typename User> std::map<QString, int> RecordWhile(Recording& recording, User user)
{
    QObject::connect(&recording.pollTimer, &QTimer::timeout, &recording.recorder, &Recorder::Tick);
    std::atomic<bool> done = false;
    std::thread thread([&done, &user] {
        auto desktop = OpenDesktop();
        user(*desktop);
        // The last press is seen at a tick or two later.
        std::this_thread::sleep_for(milliseconds(200));
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done)
            loop.quit();
    });
    poll.start(50);
    loop.exec();
    thread.join();
    std::map<QString, int> rows;
    for (int row = 1; row <= recording.tasks.TaskCount(); ++row)
        ++rows[recording.tasks.Cell(row, TaskList::kColumnTask)];
    return rows;
}

// Presses of the given length and gap from a second connection, at points far apart.
void Press(Desktop& desktop, milliseconds held)
{
    desktop.ButtonDown(MouseButton::Left);
    std::this_thread::sleep_for(held);
    desktop.ButtonUp(MouseButton::Left);
}
void MoveTo(Desktop& desktop, int i)
{
    desktop.MovePointer(100 + (i % 20) * 50, 100 + (i / 20) * 60);
}

// 200 clicks held 0 ms (as xdotool click makes them), 300 ms apart: how many are recorded.
void BM_ZeroMsClicks(benchmark::State& state)
{
    constexpr int kClicks = 200;
    for (auto _ : state) {
        Recording recording;
        const auto rows = RecordWhile(recording, [](Desktop& desktop) {
            for (int i = 0; i < kClicks; ++i) {
                MoveTo(desktop, i);
                Press(desktop, milliseconds(0));
                std::this_thread::sleep_for(milliseconds(300));
            }
        });
        state.counters["clicks"] = kClicks;
        state.counters["click_rows"] =
            rows.count(TextTable::Text(TextId::ClickLeft)) ? rows.at(TextTable::Text(TextId::ClickLeft)) : 0;
        state.counters["rows"] = recording.tasks.TaskCount();
    }
}
BENCHMARK(BM_ZeroMsClicks)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// 100 double clicks of 80 ms presses with 150 ms between them, as a person makes them: how many
// become one double-click row.
void BM_HumanDoubleClicks(benchmark::State& state)
{
    constexpr int kDoubleClicks = 100;
    for (auto _ : state) {
        Recording recording;
        const auto rows = RecordWhile(recording, [](Desktop& desktop) {
            for (int i = 0; i < kDoubleClicks; ++i) {
                MoveTo(desktop, i);
                Press(desktop, milliseconds(80));
                std::this_thread::sleep_for(milliseconds(150));
                Press(desktop, milliseconds(80));
                // Well past the desktop's double-click time before the next pair.
                std::this_thread::sleep_for(milliseconds(600));
            }
        });
        state.counters["double_clicks"] = kDoubleClicks;
        state.counters["double_click_rows"] = rows.count(TextTable::Text(TextId::DoubleClickLeft))
                                                  ? rows.at(TextTable::Text(TextId::DoubleClickLeft))
                                                  : 0;
        state.counters["rows"] = recording.tasks.TaskCount();
    }
}
BENCHMARK(BM_HumanDoubleClicks)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

CW_QT_BENCHMARK_MAIN(QCoreApplication)
