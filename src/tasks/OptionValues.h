#pragma once

// The five option values: the two intervals and three switches that the Options dialog edits
// and that travel inside a macro file.
struct OptionValues
{
    int playIntervalMs = 1000; // interval of tmrPlay: one task per tick
    int recIntervalMs = 20;    // interval of tmrRec: recording poll and stop-key checks
    bool Termina = false;      // close the program when playback has finished
    bool Ripeti = false;       // repeat the task list for ever
    bool SalvaImmagine = true; // capture a descriptive image with every recorded task

    friend bool operator==(const OptionValues&, const OptionValues&) = default;
};
