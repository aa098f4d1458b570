// The recorder on a real X server: what an idle tick costs, what waiting for a held button costs
// the program and the X server, and how many quick double clicks come out as one row.
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

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
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

// The X server's process, from the lock file of the display named in DISPLAY.
long XServerPid()
{
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
    QTimer tmrRec;
    Recorder recorder{tasks, *desktop, state, tmrRec};

    Recording()
    {
        tmrRec.setTimerType(Qt::PreciseTimer);
        tmrRec.setInterval(20);
        recorder.mnuComandiRec_Click();
    }
};

// One poll tick while recording and no button is held: the program's cost every 20 ms.
void BM_IdleTick(benchmark::State& state)
{
    Recording recording;
    for (auto _ : state)
        recording.recorder.tmrRec_Timer();
    if (!recording.state.recording || !recording.tasks.IsEmpty())
        state.SkipWithError("a key or button was down: run on an idle X server");
}
BENCHMARK(BM_IdleTick)->Unit(benchmark::kMicrosecond);

// A button held for 2 s while the recorder waits for its release: CPU used meanwhile by the
// program and by the X server, in percent of one core.
void BM_HeldButtonCpu(benchmark::State& state)
{
    const long server = XServerPid();
    for (auto _ : state) {
        Recording recording;
        auto user = OpenDesktop();
        user->MovePointer(400, 300);
        user->ButtonDown(VirtualKey::kLeftButton);
        std::thread release([&user] {
            std::this_thread::sleep_for(milliseconds(2000));
            user->ButtonUp(VirtualKey::kLeftButton);
        });
        const double ownBefore = CpuSeconds(0);
        const double serverBefore = CpuSeconds(server);
        const auto start = Clock::now();
        recording.recorder.tmrRec_Timer(); // returns after the release and the image
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

// 100 double clicks (50 ms presses, 50 ms apart) from a second connection while the poll timer
// runs: how many become one double-click row.
void BM_QuickDoubleClicks(benchmark::State& state)
{
    constexpr int kDoubleClicks = 100;
    for (auto _ : state) {
        Recording recording;
        QObject::connect(&recording.tmrRec, &QTimer::timeout, &recording.recorder, &Recorder::tmrRec_Timer);
        std::atomic<bool> done = false;
        std::thread user([&done] {
            auto desktop = OpenDesktop();
            for (int i = 0; i < kDoubleClicks; ++i) {
                desktop->MovePointer(100 + (i % 20) * 50, 100 + (i / 20) * 60);
                for (int click = 0; click < 2; ++click) {
                    desktop->ButtonDown(VirtualKey::kLeftButton);
                    std::this_thread::sleep_for(milliseconds(50));
                    desktop->ButtonUp(VirtualKey::kLeftButton);
                    std::this_thread::sleep_for(milliseconds(50));
                }
                // Well past the double-click window before the next pair.
                std::this_thread::sleep_for(milliseconds(150));
            }
            done = true;
        });
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done)
                loop.quit();
        });
        poll.start(100);
        loop.exec();
        user.join();

        const QString doubleClick = TextTable::Text(117);
        int merged = 0;
        for (int row = 1; row < recording.tasks.Rows(); ++row)
            merged += recording.tasks.Cell(row, TaskList::kColumnTask) == doubleClick ? 1 : 0;
        state.counters["double_click_rows"] = merged;
        state.counters["rows"] = recording.tasks.TaskCount();
    }
}
BENCHMARK(BM_QuickDoubleClicks)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
