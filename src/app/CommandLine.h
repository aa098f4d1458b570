#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the program answers without opening a window: --help (-h), --version, --stop and a command
// line it does not understand (PlaybackArguments reads it).
namespace CommandLine {

enum class Request
{
    Run,
    Help,
    Version,
    Stop, // --stop: ask the running instance to stop its run
    Refused,
};

// The arguments without the program's own name.
Request Parse(const QStringList& arguments);

// Usage, options and the address of the help page, wrapped for a terminal.
QString HelpText();
// "Clickwarden 2004 1.0.25"
QString VersionText();

// Prints the help or the version when the arguments ask for one, or why they are refused, and gives
// the exit code; nothing
// here needs a display, so it runs before the X11 checks and the QApplication.
std::optional<int> AnswerInfoRequest(int& argc, char* argv[]);

} // namespace CommandLine
