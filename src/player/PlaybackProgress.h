#pragma once

// Where a run stands: the task (row) played last of how many, in which pass over the list.
struct PlaybackProgress
{
    int task = 0;
    int taskCount = 0;
    int pass = 0;

    friend bool operator==(const PlaybackProgress&, const PlaybackProgress&) = default;
};
