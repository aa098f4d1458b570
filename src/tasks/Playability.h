#pragma once

#include "tasks/InputTask.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskRows.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// Whether a task row can be played, and why not: a point that is not a pair of whole numbers (a
// hand-edited file), a point off the screen (a file recorded on a larger screen), a task text of no
// known kind, a wait that is not a whole number. Such a row is skipped by the player, as ever, but
// the grid, the status line, the end message and the exit status tell it.
namespace Playability {

// The longest wait a row may ask for: a day, in milliseconds. Divided by the slowest speed it still
// fits a timer's 32-bit milliseconds; a longer one is a row that cannot be played. A pause is
// bounded as the editor bounds it (TaskCheck::kMaxPauseSeconds).
inline constexpr int kMaxWaitMs = 24 * 60 * 60 * 1000;

// A coordinate or a length as the recorder writes it: a whole decimal number in the 32-bit range,
// blanks around it allowed.
std::optional<int> WholeNumber(QStringView cell);
std::optional<int> WholeNumber(QByteArrayView cell);

// Why the row cannot be played on a screen of this size, in the user's words; empty when it can.
// An empty size checks no screen.
QString Problem(const TaskRow& row, QSize screen);
// The same for a row whose task text was looked at already: its kind, or what it holds of the keys
// or the wheel (InputTask::Parse) when it is no mouse kind.
QString Problem(const TaskRow& row, const TaskKinds::Kind* kind, const std::optional<InputTask>& input, QSize screen);

// The point of a row that can be played and has one.
std::optional<QPoint> Point(const TaskRow& row, QSize screen);

// The rows (numbered from 1, as the grid numbers them) that cannot be played. The empty list's
// blank row is not a task and is never counted.
std::vector<int> UnplayableRows(const TaskRows& rows, QSize screen);

// The rows with a point to check the screen at that have no image to check it against (a release
// is decided by its press and needs none).
std::vector<int> RowsWithoutImages(const TaskRows& rows);

// "4, 9, 12" for a few rows; the first ones and "..." for many.
QString RowList(const std::vector<int>& rows);

} // namespace Playability
