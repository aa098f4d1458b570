#pragma once

struct _XDisplay;

// Catches the X errors of one display connection while it lives, as GDK's error traps do: it
// makes a round trip when it opens, so that an error of an earlier request is not charged to it,
// and another when it closes, so that every error of its own requests has come in; then it puts
// back the handler it found. Traps do not nest: one is open at a time on a thread, and opening a
// second is a fault of the program (it asserts; a release build lets the outer trap catch for both).
// An error that no trap catches is logged on stderr and the program goes on (InstallHandlers);
// only a lost connection ends it.
class X11ErrorTrap
{
public:
    explicit X11ErrorTrap(_XDisplay* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // True once an error of the trapped connection has arrived. Requests that get no reply report
    // their errors only after a round trip (XSync) made inside the trap's life.
    bool Failed() const;

    // Makes this program's handlers Xlib's; the toolkit installs its own when it connects, so this
    // runs again once it has. A lost connection ends the program at once with status 1: what the
    // player held down is let go by the guardian (GuardianProcess), which sees the program end.
    static void InstallHandlers();

private:
    friend struct X11ErrorTrapAccess;
    // Xlib's XErrorHandler, whose argument type this header cannot name.
    using Handler = void (*)();

    _XDisplay* m_display;
    Handler m_previous = nullptr;
    X11ErrorTrap* m_outer = nullptr; // the trap this one was opened inside, which catches for both
    bool m_failed = false;
};
