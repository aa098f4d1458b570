#pragma once

#include "core/ScreenCheckOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

// The program's command line, read as people know it from other tools: every option with a value
// takes it after "=" or as the next argument, "-h" is "--help", and "--" ends the options.
//   -h, --help, --version      answered without a window
//   --stop                     asks the running instance to stop its run, and exits
//   --unattended               no message box: messages go to stderr, the program ends after playing
//   --speed=FACTOR             the time unit and the recorded waits divided by FACTOR (0.1 to 10)
//   --check-screen[=SECONDS]   check the screen before each click, waiting up to SECONDS (0: don't check);
//                              a whole number after a blank is its value too
//   --on-mismatch=stop|skip|find  what to do when the screen never matches
// What is left names the macro file: joined by blanks, as without options.
struct PlaybackArguments
{
    QStringList fileArguments;
    bool help = false;
    bool version = false;
    bool stop = false;
    bool unattended = false;
    bool ask = false; // the file came from elsewhere: what it does is shown first
    std::optional<double> speed;
    std::optional<bool> checkScreen;
    std::optional<int> waitSeconds;
    std::optional<ScreenCheckOptions::OnMismatch> onMismatch;
    // Why the arguments were refused; empty when they were not.
    QString error;

    // The arguments without the program's own name.
    static PlaybackArguments Parse(const QStringList& arguments);

    // The user's screen check with what the command line changes for this run.
    ScreenCheckOptions AppliedTo(ScreenCheckOptions options) const;

    // Writes the error and a pointer to --help on stderr and gives the exit status.
    int ReportError() const;
};
