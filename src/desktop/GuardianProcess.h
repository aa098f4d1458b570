#pragma once

#include "desktop/HeldInputs.h"

#include <QByteArray>
#include <QString>

#include <memory>

// The program's link to its guardian: a small process of its own, one per kind of desktop
// (clickwarden-guardian for X11, clickwarden-wayland-guardian), with its own connection to the
// desktop, that learns of every button and key the program's presses hold, and lets go of them once
// the program is gone, however it ended. The X server keeps what XTEST pressed when the client that
// pressed it goes away, and a Wayland compositor sends no release for the button of a virtual
// pointer that went away: without the guardian a killed or crashed playback would leave the left
// button down and the user's next move would drag.
//
// A separate executable rather than a forked copy of this process: a fork of a threaded Qt program
// may only call async-signal-safe functions until it execs, and opening a connection is none.
// The guardian reads its instructions from a socket that the kernel closes when this process ends
// (exit, a crash, SIGKILL alike): that end is its signal to let go.
class GuardianProcess
{
public:
    // A guardian program by name: beside the executable, or in ../libexec/clickwarden once
    // installed; empty where there is none.
    static QString ProgramPath(const char* programName);

    // Starts the guardian program (the path to it) for the named display; null where it or the
    // socket is missing.
    static std::unique_ptr<GuardianProcess> Start(const char* programName, const QByteArray& displayName,
                                                  const QString& program);
    // Closes the link: the guardian lets go of whatever it still knows as held, then ends.
    ~GuardianProcess();
    GuardianProcess(const GuardianProcess&) = delete;
    GuardianProcess& operator=(const GuardianProcess&) = delete;

    // Waits until the guardian says it is ready (kReady), at most timeoutMs: one that must be connected
    // before the program may die (the Wayland one) says so. False when it did not.
    bool WaitUntilReady(int timeoutMs);
    // Tells the guardian of a press about to go out (held) or of a release that went out; false when
    // the guardian has ended (it could not open the display, or it was killed).
    bool Tell(const HeldInputs::Input& input, bool held);
    int Pid() const { return m_pid; }
    // The link's socket: it reads as ready (at its end) once the guardian has ended.
    int Socket() const { return m_socket; }

private:
    GuardianProcess(int socket, int pid);

    int m_socket;
    int m_pid;
};
