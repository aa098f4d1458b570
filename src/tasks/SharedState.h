#pragma once

#include "core/KeyboardOptions.h"
#include "core/OptionValues.h"
#include "core/PaceOptions.h"
#include "core/ScreenCheckOptions.h"

// The option values that the main window owns and changes (Options, opened files); the recorder,
// the player and the file commands read them.
struct SharedState
{
    OptionValues options;
    ScreenCheckOptions screenCheck;
    PaceOptions pace;
    KeyboardOptions keyboard;
};
