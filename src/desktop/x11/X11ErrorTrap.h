#pragma once

struct _XDisplay;

// Catches the X errors of one display connection while it lives, instead of Xlib's default
// handler, which ends the program. Errors of other connections go on to the handler that was there
// before. Requests that get no reply report their errors only after a round trip (XSync) made
// inside the trap's life. One trap at a time.
class X11ErrorTrap
{
public:
    explicit X11ErrorTrap(_XDisplay* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // True once an error of the trapped connection has arrived.
    bool Failed() const;
};
