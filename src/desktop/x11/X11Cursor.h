#pragma once

struct CursorFile;
struct _XDisplay;

namespace X11Cursor {

// Makes a full-colour cursor with an alpha channel from a cursor file's image (RENDER extension).
// Returns the new cursor's id, or 0 where the server cannot make one.
unsigned long Create(_XDisplay* display, unsigned long root, const CursorFile& file);

} // namespace X11Cursor
