#include "desktop/x11/X11ErrorTrap.h"

#include <QtGlobal>

#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdio>

namespace {
// The open trap of this thread: a connection is used by one thread, and its errors arrive in the
// thread that reads its replies.
thread_local X11ErrorTrap* t_open = nullptr;

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

struct X11ErrorTrapAccess
{
    static int OnError(Display* display, XErrorEvent* error)
    {
        X11ErrorTrap* trap = t_open;
        if (trap != nullptr && trap->m_display == display) {
            trap->m_failed = true;
            return 0;
        }
        // Another connection's error: whoever handled errors before the trap hears of it.
        const auto previous = trap != nullptr ? reinterpret_cast<XErrorHandler>(trap->m_previous) : nullptr;
        if (previous != nullptr && previous != &X11ErrorTrapAccess::OnError)
            return previous(display, error);
        return LogError(display, error);
    }
};

X11ErrorTrap::X11ErrorTrap(_XDisplay* display) : m_display(display)
{
    Q_ASSERT_X(t_open == nullptr, "X11ErrorTrap", "error traps do not nest");
    if (t_open != nullptr) {
        m_outer = t_open;
        return;
    }
    // Errors of requests made before the trap go to the handler that was in place for them.
    XSync(m_display, False);
    m_previous = reinterpret_cast<Handler>(XSetErrorHandler(&X11ErrorTrapAccess::OnError));
    t_open = this;
}

X11ErrorTrap::~X11ErrorTrap()
{
    if (m_outer != nullptr)
        return;
    XSync(m_display, False);
    t_open = nullptr;
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(m_previous));
}

bool X11ErrorTrap::Failed() const
{
    return m_outer != nullptr ? m_outer->m_failed : m_failed;
}

void X11ErrorTrap::InstallHandlers()
{
    XSetErrorHandler(&LogError);
    XSetIOErrorHandler(&OnIOError);
}
