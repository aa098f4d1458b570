#pragma once

#include "core/ScreenCheckOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

// The options of a playback run on the command line, written before the macro file:
//   --check-screen[=SECONDS]   check the screen before each click, waiting up to SECONDS (0: don't check)
//   --on-mismatch=stop|skip|find  what to do when the screen never matches
// They are taken out of the arguments; what is left names the macro file, as without options.
// After "--" every argument belongs to the file name.
struct PlaybackArguments
{
    // The exit status of a command line the program does not understand.
    static constexpr int kUsageStatus = 2;

    QStringList fileArguments;
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
