#pragma once

struct CursorFile;
struct _XDisplay;

namespace X11Cursor {

// Makes a full-colour cursor with an alpha channel from a cursor file's image (RENDER extension).
// Returns the new cursor's id, or 0 where the server cannot make one.
unsigned long Create(_XDisplay* display, unsigned long root, const CursorFile& file);

// Makes the cursor the root window's one. Window managers such as openbox give the root window a
// cursor of the pointer device (XInput 2), which hides the core one, so both are set.
void SetRootCursor(_XDisplay* display, unsigned long root, unsigned long cursor);

// Gives the root window its normal cursor back: none of its own in the core protocol, and the
// themed arrow for the pointer devices.
void ResetRootCursor(_XDisplay* display, unsigned long root);

} // namespace X11Cursor
