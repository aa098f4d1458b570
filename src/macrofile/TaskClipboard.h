#pragma once

#include "tasks/TaskRows.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Task rows on the clipboard, as the task lines of a macro file: each row a quoted line ending in
// CR LF, its image included. So rows go between two windows of the program, and into a text
// editor and back.
namespace TaskClipboard {

QByteArray Text(const TaskRows& rows);

struct Parsed
{
    TaskRows rows;
    QString problem; // empty when every line is a task the program can run
};

// The rows of text: task lines ending in CR LF or LF, blank lines between them ignored. When a line
// is not a task line, or not a task (Problem), no row is taken and problem says which line and why.
Parsed Rows(QByteArrayView text);

} // namespace TaskClipboard
