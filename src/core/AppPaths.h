#pragma once

#include <QString>

// Data files (the recording cursor, the help page) ship beside the executable in the build tree
// and under <prefix>/share/clickwarden once installed.
namespace AppPaths {

// The folder that holds the program file.
QString ProgramFolder();

// The full path of a data file such as "rec.cur" or "help/index.html", or an empty text where
// no copy is found.
QString DataFile(const QString& relativePath);

// The full path of a helper program of this one, beside the executable (the build tree) or under
// <prefix>/libexec/clickwarden once installed; empty where none is found.
QString HelperProgram(const QString& name);

// The cursor file that recording and playback give the pointer. Where no copy is found the path
// beside the program is given all the same: the desktop then leaves the pointer as it is.
QString RecordingCursor();

// The file address of the help page shipped with the program.
QString HelpPageUrl();

} // namespace AppPaths
