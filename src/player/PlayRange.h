#pragma once

#include <vector>

// Which rows a playback runs: from `first` to the last task, or only the rows of `only`, in order.
// By steps, each press of Ctrl+Shift+F12 runs one task; no timer does.
struct PlayRange
{
    int first = 1;
    std::vector<int> only; // sorted; empty: every row from first on
    bool bySteps = false;

    // The first row to run in a list of `rows` grid rows (the header included).
    int FirstRow(int rows) const;
    // The row after row in the range, 0 after its last.
    int NextRow(int row, int rows) const;
};
