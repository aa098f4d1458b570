#pragma once

// What the program returns, for a script that started it: listed in --help and the README.
namespace ExitStatus {
inline constexpr int kPlayed = 0;       // every task played (or nothing was to be played)
inline constexpr int kStopped = 1;      // playback stopped: screen mismatch, stop keys, tray; or no desktop
inline constexpr int kUsage = 2;        // the command line was not understood
inline constexpr int kSkipped = 3;      // played to the end, but tasks were skipped
inline constexpr int kFileProblem = 4;  // the file could not be read or is not a valid macro file
inline constexpr int kSignalBase = 128; // plus the signal's number: a signal ended a run (the shell's way)
} // namespace ExitStatus
