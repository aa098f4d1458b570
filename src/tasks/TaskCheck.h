#pragma once

#include "tasks/TaskRows.h"

#include <QSize>
#include <QString>

#include <optional>

// What the task editor and Paste accept as a task row, and how the grid shows a pause. The list
// itself stores whatever a file holds; only what the user puts in is checked.
namespace TaskCheck {

// The longest pause that the Insert Pause dialog of earlier versions could read back.
inline constexpr int kMaxPauseSeconds = 32767;

// How a kind uses x and y: a point on the screen, a pause's length in x, or text (kinds that carry
// text, and task texts that are no kind).
enum class Shape
{
    Point,
    Duration,
    Text,
};
Shape ShapeOf(const QString& taskText);

// A pause's length as the list holds it: a whole number of seconds, from 0 up.
std::optional<int> PauseSeconds(const QString& cell);
// Hours, minutes and seconds: "1:02:30", "0:00:05".
QString DurationText(int seconds);

// Why the row is no task the program can run, in the user's words; nothing for a good row. With a
// screen size, a point must lie on the screen.
std::optional<QString> Problem(const TaskRow& row, QSize screen = {});

// Why the kind editor may not give the row this task text, in the user's words; nothing where it
// may. Keys written over a row of the mouse or a pause would throw its x and y away: keys come in
// by their own insert commands.
std::optional<QString> KindChangeProblem(const TaskRow& row, const QString& taskText);

// The row as a task of another kind: x, y and the image stay where both kinds use them alike; a
// pause becomes 1 second, a point (0, 0).
TaskRow WithKind(const TaskRow& row, const QString& taskText);

} // namespace TaskCheck
