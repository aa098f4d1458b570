#pragma once

#include <vector>

// Which rows a playback runs: from `first` to the last task, or only the rows of `only`, in order.
// By steps, each press of Ctrl+Shift+F12 runs one task; no timer does.
struct PlayRange
{
    int first = 1;
    std::vector<int> only; // sorted; empty: every row from first on
    bool bySteps = false;
};

// Where a run stands: the task (row) played last of how many, in which pass over the list.
struct PlaybackProgress
{
    int task = 0;
    int taskCount = 0;
    int pass = 0;

    friend bool operator==(const PlaybackProgress&, const PlaybackProgress&) = default;
};
