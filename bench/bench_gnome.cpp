// The GNOME desktop under a headless mutter with a German layout (scripts/bench.sh starts one and
// runs this as its client): 1,000 characters of a typing task played into wev and compared with what
// it received; and the screen reads of a check (a descriptive image's block, on a still screen and
// just after a click) and of a find (the whole screen, from the finder's own reader).
#include "core/KeySymbols.h"
#include "desktop/ScreenReader.h"
#include "desktop/gnome/GnomeDesktop.h"
#include "player/InputPlayer.h"
#include "support/WevLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "QtBenchmarkMain.h"
#include "TypingText.h"
#include "WevTyping.h"

#include <benchmark/benchmark.h>

#include <xkbcommon/xkbcommon-keysyms.h>

namespace {

// Characters a German layout has, AltGr ones among them.
QString Text()
{
    return TypingText(QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 "
                                     "äöüßÄÖÜ€@µ{}[]\\~|!\"§$%&/()=?+*#'<>,.-;:_"));
}

GnomeDesktop* SharedDesktop()
{
    static const std::unique_ptr<GnomeDesktop> desktop =
        GnomeDesktop::Open(qgetenv("DBUS_SESSION_BUS_ADDRESS"), qgetenv("XDG_RUNTIME_DIR"));
    return desktop.get();
}

// wev, maximised by Super+Up: mutter places windows.
WevLog& Client(GnomeDesktop& desktop)
{
    static WevLog wev;
    static const bool started = wev.Start(5000, [&desktop] {
        desktop.KeyDown(XKB_KEY_Super_L);
        desktop.KeyTap(XKB_KEY_Up);
        desktop.KeyUp(XKB_KEY_Super_L);
    });
    Q_UNUSED(started);
    QThread::msleep(300);
    return wev;
}

void BM_GnomeTypingTask(benchmark::State& state)
{
    GnomeDesktop* desktop = SharedDesktop();
    if (desktop == nullptr) {
        state.SkipWithError("no headless mutter: run under scripts/bench.sh");
        return;
    }
    WevLog& wev = Client(*desktop);
    InputPlayer player(*desktop);
    TypeIntoWev(state, wev, Text(), [&](const QString& text) {
        InputTask task;
        task.kind = InputTask::Kind::Type;
        for (const char32_t character : text.toUcs4())
            task.keys.push_back(KeySymbols::FromCharacter(character));
        player.Run(task);
    });
    state.counters["untyped"] = double(desktop->TakeUntypedKeys().size());
    desktop->ReleaseHeld();
}
BENCHMARK(BM_GnomeTypingTask)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A check's 51 x 51 block: on a still screen (after:0), and just after a click (after:1), when the
// read waits for the frame drawn after it (wev draws nothing on a click: the whole wait).
void BM_GnomeScreenCheckRead(benchmark::State& state)
{
    GnomeDesktop* desktop = SharedDesktop();
    if (desktop == nullptr) {
        state.SkipWithError("no headless mutter");
        return;
    }
    Client(*desktop);
    desktop->MovePointer(640, 512);
    // The stream's first frame, once.
    desktop->PixelBlock(600, 400, 51, 51);
    for (auto _ : state) {
        if (state.range(0) != 0) {
            state.PauseTiming();
            desktop->ButtonClick(MouseButton::Left);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(desktop->PixelBlock(600, 400, 51, 51));
    }
}
BENCHMARK(BM_GnomeScreenCheckRead)->ArgName("after")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A find's whole screen, from its reader on the finder's thread.
void BM_GnomeFindRead(benchmark::State& state)
{
    GnomeDesktop* desktop = SharedDesktop();
    if (desktop == nullptr) {
        state.SkipWithError("no headless mutter");
        return;
    }
    const std::unique_ptr<ScreenReader> reader = desktop->OpenScreenReader();
    const QRect whole(QPoint(0, 0), desktop->ScreenSize());
    for (auto _ : state)
        benchmark::DoNotOptimize(reader->Block(whole, {}));
}
BENCHMARK(BM_GnomeFindRead)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

CW_QT_BENCHMARK_MAIN(QCoreApplication)
