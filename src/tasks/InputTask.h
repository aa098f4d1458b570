#pragma once

#include "core/Wheel.h"

#include <QString>

#include <optional>
#include <vector>

// A task of the keyboard or the wheel, held in the task text as a kind word and what follows it:
//   "Type H e l l o space exclam"   the characters typed, as key symbol names apart by blanks
//   "Key Control_L+Shift_L+t"       a key pressed and released, with the modifiers held around it
//   "Key Pushed Shift_L"            a key pressed and held across the tasks that follow
//   "Key Released Shift_L"          that key let go
//   "Wheel down 3"                  notches of the wheel at the task's point: up, down, left, right
//   "Mouse Path 318,150,16 340,162,33"  where the pointer went while a button was held, after the
//                                   press before it: each point with the milliseconds since the
//                                   one before (the first: since the press)
// Key symbol names hold neither "*" nor a double quote, so the line of a macro file keeps its form,
// and a program that knows only the mouse kinds skips these rows as unknown.
struct InputTask
{
    enum class Kind
    {
        Type,
        Key,
        KeyDown,
        KeyUp,
        Wheel,
        Path,
    };

    // Larger counts are refused: no recording makes them.
    static constexpr int kMaxNotches = 10000;
    // The longest task text of any row, in characters (a file's bytes): a typing row of about
    // 100,000 keys. Files and Paste refuse a longer one at its line, and no longer one is a task.
    static constexpr qsizetype kMaxTaskText = 1 << 20;
    static constexpr int kMaxCoordinate = 65535;
    static constexpr int kMaxPathGapMs = 3600000;

    struct PathPoint
    {
        int x = 0;
        int y = 0;
        int ms = 0; // since the point before, or the press

        friend bool operator==(const PathPoint&, const PathPoint&) = default;
    };

    Kind kind = Kind::Key;
    std::vector<quint32> keys; // keysyms: typed in order; or the modifiers, then the key
    WheelDirection direction = WheelDirection::Down;
    int notches = 0;
    std::vector<PathPoint> path;

    // The task a task text holds, or none: not one of these kinds, or a key name that is no key.
    static std::optional<InputTask> Parse(const QString& taskText);
    QString Text() const;
    // What the grid shows: the typed text in quotes, or the keys by their labels ("Key Ctrl+Shift+T").
    QString Display() const;

    friend bool operator==(const InputTask&, const InputTask&) = default;
};
