#pragma once

#include "core/OptionValues.h"
#include "tasks/TaskRows.h"

#include <QSize>
#include <QString>

// What the status line says once a file was read: which options in force the file changed (its
// switches and intervals come into force as it is opened, so later recordings may have no images),
// by the names the Options dialog gives them, and the rows that cannot be played.
namespace ReadNote {

// Empty when the file changed no option and every row can be played on a screen of this size.
QString Text(const OptionValues& before, const OptionValues& after, const TaskRows& rows, QSize screen);

} // namespace ReadNote
