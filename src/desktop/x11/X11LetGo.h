#pragma once

#include "desktop/HeldInputs.h"

#include <vector>

struct _XDisplay;

// Undoes what a program that is gone held on the server: lets go of its buttons and keys (last
// pressed first), takes the characters off the key codes it lent and gives the root window its
// normal pointer back. Plain Xlib, shared by the guardian and by a start that finds a record left
// by a run killed together with its guardian.
namespace X11LetGo {

void Undo(_XDisplay* display, const std::vector<HeldInputs::Input>& held);

// Sets the cursor of every master pointer (XInput 2) on the root window; nothing where the server
// has no XInput 2. Window managers such as openbox set one there, which hides the core one.
void SetPointersCursor(_XDisplay* display, unsigned long root, unsigned long cursor);

} // namespace X11LetGo
