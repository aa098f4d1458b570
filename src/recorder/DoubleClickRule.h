#pragma once

#include <QString>

#include <optional>

class TaskList;

// The recording's double-click rule: a click whose last row is a click or a double click of the
// same button, within the double-click distance of it, turns that row into a double click at the
// new point with the new image when it arrives within kTicks recording ticks of the last recorded
// task, or when its press came within the double-click interval of that click's press. It keeps
// what the rule needs between tasks; the task list only holds the rows.
class DoubleClickRule
{
public:
    static constexpr int kTicks = 4;

    // The desktop's double-click time and distance (QStyleHints gives them): the interval in
    // milliseconds, the distance in pixels along either axis.
    void SetLimits(int intervalMs, int distance);

    // Whether a click with this task text at (x, y) would turn the list's last row into a double
    // click rather than get a row of its own. pressTime is the desktop's clock in milliseconds at
    // the press, where the desktop reported it.
    bool Merges(const TaskList& tasks, const QString& x, const QString& y, const QString& taskText,
                std::optional<quint32> pressTime) const;
    // Adds a recorded task by the rule, and opens the window for the next click.
    void AddTask(TaskList& tasks, const QString& x, const QString& y, const QString& taskText,
                 const QByteArray& imageText, std::optional<quint32> pressTime = {});

    // A recording tick has passed.
    void Tick();
    // The next click cannot merge: a recording starts, or a task that is no recorded one came.
    void Close();

private:
    int m_ticks = kTicks + 1;               // recording ticks since the last recorded task
    std::optional<quint32> m_lastPressTime; // of the click in the last row, when the desktop gave it
    int m_interval = 400;
    int m_distance = 5;
};
