#pragma once

struct _XDisplay;

// Catches the X errors of one display connection while it lives. Traps nest: an error goes to the
// innermost open trap of its connection. An error that no trap catches is logged on stderr and the
// program goes on (InstallHandlers); only a lost connection ends it. Requests that get no reply
// report their errors only after a round trip (XSync) made inside the trap's life.
class X11ErrorTrap
{
public:
    explicit X11ErrorTrap(_XDisplay* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // True once an error of the trapped connection has arrived.
    bool Failed() const { return m_failed; }

    // Makes this program's handlers Xlib's; the toolkit installs its own when it connects, so this
    // runs again once it has. A lost connection ends the program at once with status 1: what the
    // player held down is let go by the guardian (X11Guardian), which sees the program end.
    static void InstallHandlers();

private:
    friend struct X11ErrorTrapAccess;

    _XDisplay* m_display;
    X11ErrorTrap* m_outer; // the trap that was innermost before this one
    bool m_failed = false;
};
