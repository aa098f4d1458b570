#include "desktop/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>

namespace {
// Xlib's error handler is one per process, so the trap's state is too.
Display* g_trapped = nullptr;
XErrorHandler g_previous = nullptr;
bool g_failed = false;

int OnError(Display* display, XErrorEvent* error)
{
    if (display == g_trapped) {
        g_failed = true;
        return 0;
    }
    return g_previous != nullptr ? g_previous(display, error) : 0;
}
} // namespace

X11ErrorTrap::X11ErrorTrap(_XDisplay* display)
{
    g_trapped = display;
    g_failed = false;
    g_previous = XSetErrorHandler(&OnError);
}

X11ErrorTrap::~X11ErrorTrap()
{
    XSetErrorHandler(g_previous);
    g_trapped = nullptr;
    g_previous = nullptr;
}

bool X11ErrorTrap::Failed() const
{
    return g_failed;
}
