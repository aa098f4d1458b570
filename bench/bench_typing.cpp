// Typing on a real X server: 1,000 characters of a typing task (letters, digits, Shift characters,
// blanks) replayed into a window that logs what it receives, and the same text typed by
// `xdotool type` beside it: time per character, and whether every character arrived once and in order.
// Run under an X server of its own (the keys go to the focused window).
#include "core/KeySymbols.h"
#include "desktop/x11/X11Desktop.h"
#include "player/InputPlayer.h"
#include "xdriver/LogWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include "QtBenchmarkMain.h"
#include "TypingText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>

namespace {

QString Text()
{
    return TypingText(QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 "
                                     "!@#$%^&*()-_=+[]{};:',.<>/?"));
}

// Shows a focused window, lets `type` type the text into it and waits until it has as many
// characters (or 60 s have passed); the time taken and how many characters differ.
void TypeInto(benchmark::State& state, const std::function<void(const QString&)>& type)
{
    const QString text = Text();
    for (auto _ : state) {
        LogWindow window(QRect(50, 50, 300, 200), true);
        window.show();
        window.activateWindow();
        QElapsedTimer focus;
        focus.start();
        while (QGuiApplication::focusWindow() != window.windowHandle() && focus.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QElapsedTimer clock;
        clock.start();
        type(text);
        while (window.Typed().size() < text.size() && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        int differing = int(std::abs(window.Typed().size() - text.size()));
        for (qsizetype i = 0; i < std::min(text.size(), window.Typed().size()); ++i)
            differing += window.Typed()[i] != text[i];
        state.counters["characters"] = double(text.size());
        state.counters["received"] = double(window.Typed().size());
        state.counters["differing"] = differing;
        state.counters["ms_per_char"] = ms / double(text.size());
    }
}

void BM_TypingTask(benchmark::State& state)
{
    auto opened = X11Desktop::Open();
    if (!opened.desktop) {
        state.SkipWithError("no X display with XTEST: set DISPLAY");
        return;
    }
    InputPlayer player(*opened.desktop);
    TypeInto(state, [&](const QString& text) {
        InputTask task;
        task.kind = InputTask::Kind::Type;
        for (const char32_t character : text.toUcs4())
            task.keys.push_back(KeySymbols::FromCharacter(character));
        player.Run(task);
    });
    opened.desktop->ReleaseHeld();
}
BENCHMARK(BM_TypingTask)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// xdotool's own default pace (12 ms a key), in a process of its own.
void BM_XdotoolType(benchmark::State& state)
{
    QProcess xdotool;
    TypeInto(state, [&](const QString& text) { xdotool.start("xdotool", {"type", "--", text}); });
    xdotool.waitForFinished();
}
BENCHMARK(BM_XdotoolType)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

CW_QT_BENCHMARK_MAIN(QApplication)
