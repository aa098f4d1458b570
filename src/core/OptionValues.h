#pragma once

#include <QStringView>

#include <optional>

// The five option values: the two intervals and three switches that the Options dialog edits and
// that travel inside a macro file. Their defaults and the ranges the intervals may take live here
// and nowhere else.
struct OptionValues
{
    static constexpr int kMinPlayIntervalMs = 1;
    static constexpr int kMaxPlayIntervalMs = 32767;
    // A recording interval of seconds would leave recording and playback without a timely stop.
    static constexpr int kMinRecIntervalMs = 1;
    static constexpr int kMaxRecIntervalMs = 1000;

    int playIntervalMs = 1000;      // interval of m_stepTimer: one task per tick
    int recIntervalMs = 20;         // interval of m_pollTimer: recording poll and stop-key checks
    bool closeAfterPlaying = false; // close the program when playback has finished
    bool repeatForever = false;     // repeat the task list for ever
    bool saveImages = true;         // capture a descriptive image with every recorded task

    friend bool operator==(const OptionValues&, const OptionValues&) = default;
};

// A whole number of decimal digits within [min, max], blanks around it allowed: how a typed or a
// stored interval is read. Signs, fractions and overflow are refused.
std::optional<int> ParseInterval(QStringView text, int min, int max);

// A switch as the settings file holds it: "true" or "1" is on, "false" or "0" off, in any letter
// case and with blanks around it; anything else ("no", "-1", "yes") is no clear answer.
std::optional<bool> ParseSwitch(QStringView text);
