#pragma once

// The switches and flags that the main window owns and the recorder, the player, the file
// commands and the Options dialog share.
struct SharedState
{
    bool Termina = false;      // close the program when playback has finished
    bool Ripeti = false;       // repeat the task list for ever
    bool SalvaImmagine = true; // capture a descriptive image with every recorded task
    bool recording = false;    // a recording runs
    bool playing = false;      // playback runs
};
