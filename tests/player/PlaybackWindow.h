#pragma once

#include "app/MainWindow.h"

// Sets the playback and recording intervals of the main window.
inline bool SetIntervals(MainWindow& window, int playMs, int recMs)
{
    OptionValues options = window.CurrentOptions();
    options.playIntervalMs = playMs;
    options.recIntervalMs = recMs;
    window.ApplyOptions(options);
    return true;
}
