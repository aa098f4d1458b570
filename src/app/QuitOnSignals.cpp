#include "app/QuitOnSignals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {
// A signal handler may only write to a descriptor; the event loop reads the other end.
int g_signalSockets[2] = {-1, -1};
bool g_requested = false;
std::function<void(int)> g_witness;

extern "C" void OnQuitSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[1], &byte, 1);
}

// Runs in whichever event loop reads the signal: the main loop, or a box's own loop before the
// main loop has started (QApplication::quit alone would be lost there).
void EndEverything(int signal)
{
    if (!std::exchange(g_requested, true) && g_witness)
        g_witness(signal);
    // Hiding a dialog ends the loop its exec runs; hiding rather than closing asks no window
    // whether it may close.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QApplication::exit(0);
}
} // namespace

namespace QuitOnSignals {

void Install(QObject* parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSockets) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalSockets[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(g_signalSockets[0], &byte, 1);
        EndEverything(byte);
    });
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // The faults (SIGSEGV, SIGABRT ...) are left to their default: the guardian process lets go of
    // what playback held once the program is gone.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU,
                             SIGXFSZ, SIGPWR, SIGPOLL})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool Requested()
{
    return g_requested;
}

void SetWitness(std::function<void(int signal)> witness)
{
    g_witness = std::move(witness);
}

} // namespace QuitOnSignals
