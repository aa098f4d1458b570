#pragma once

#include "support/WevLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

// Lets `type` type the text into wev, waits until as many characters came (or 60 s passed) and
// counts what came: received, differing (lost, duplicated or out of order) and ms_per_char.
inline void TypeIntoWev(benchmark::State& state, WevLog& wev, const QString& text,
                        const std::function<void(const QString&)>& type)
{
    for (auto _ : state) {
        wev.Clear();
        QElapsedTimer clock;
        clock.start();
        type(text);
        // A typing task plays from the event loop, one key per tick.
        while (wev.Typed().size() < text.size() && clock.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            wev.WaitFor([&] { return wev.Typed().size() >= text.size(); }, 1);
        }
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        const QString& typed = wev.Typed();
        int differing = int(std::abs(typed.size() - text.size()));
        for (qsizetype i = 0; i < std::min(text.size(), typed.size()); ++i)
            differing += typed[i] != text[i];
        state.counters["received"] = double(typed.size());
        state.counters["differing"] = differing;
        state.counters["ms_per_char"] = ms / double(text.size());
    }
}
