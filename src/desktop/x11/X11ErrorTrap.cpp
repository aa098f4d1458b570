#include "desktop/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdio>

namespace {
// Xlib's handlers are one per process, so the chain of open traps is too. Traps are opened and
// closed on one thread, like every call on a display connection.
X11ErrorTrap* g_innermost = nullptr;

// An error that no trap expects: said on stderr, then the program goes on. The default handler
// would end the program, and with it the user's unsaved task list.
int LogError(Display* display, XErrorEvent* error)
{
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "clickwarden: X error ignored: %s (request %d.%d, resource 0x%lx)\n", text,
                 error->request_code, error->minor_code, error->resourceid);
    return 0;
}

[[noreturn]] void EndOnLostConnection()
{
    constexpr char kMessage[] = "clickwarden: the connection to the X server was lost\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    ::_exit(1);
}

int OnIOError(Display*)
{
    EndOnLostConnection();
}
} // namespace

// The handler walks the chain of open traps, innermost first.
struct X11ErrorTrapAccess
{
    static int OnError(Display* display, XErrorEvent* error);
};

int X11ErrorTrapAccess::OnError(Display* display, XErrorEvent* error)
{
    for (X11ErrorTrap* trap = g_innermost; trap != nullptr; trap = trap->m_outer) {
        if (trap->m_display == display) {
            trap->m_failed = true;
            return 0;
        }
    }
    return LogError(display, error);
}

X11ErrorTrap::X11ErrorTrap(_XDisplay* display) : m_display(display), m_outer(g_innermost)
{
    // The toolkit may have put its handler in place since the last trap.
    XSetErrorHandler(&X11ErrorTrapAccess::OnError);
    g_innermost = this;
}

X11ErrorTrap::~X11ErrorTrap()
{
    g_innermost = m_outer;
}

void X11ErrorTrap::InstallHandlers()
{
    XSetErrorHandler(&X11ErrorTrapAccess::OnError);
    XSetIOErrorHandler(&OnIOError);
}
