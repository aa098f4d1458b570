#pragma once

// Where a run stands: the task (row) played last of how many, in which pass over the list, and
// while a pause holds the run, the whole seconds until it goes on.
struct PlaybackProgress
{
    int task = 0;
    int taskCount = 0;
    int pass = 0;
    int pauseSecondsLeft = 0; // 0: no pause holds the run

    friend bool operator==(const PlaybackProgress&, const PlaybackProgress&) = default;
};
