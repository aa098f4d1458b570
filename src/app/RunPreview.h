#pragma once

#include <QString>

class TaskList;

// What a macro will do, told before it plays when the file came from elsewhere (a file manager's
// double click, --ask): how many clicks, the text it types and the keys it presses, its first rows.
// A person who did not write the file decides on this whether to let it act on the desktop.
namespace RunPreview {

QString Text(const TaskList& tasks);

} // namespace RunPreview
