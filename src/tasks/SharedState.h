#pragma once

#include "core/KeyboardOptions.h"
#include "core/OptionValues.h"
#include "core/ScreenCheckOptions.h"

// The option values and flags that the main window owns and the recorder, the player, the file
// commands and the Options dialog share.
struct SharedState
{
    OptionValues options;
    ScreenCheckOptions screenCheck;
    KeyboardOptions keyboard;
    bool recording = false; // a recording runs
    bool playing = false;   // playback runs
};
