#pragma once

#include "desktop/HeldInputs.h"

#include <QByteArray>
#include <QString>

#include <memory>

// The program's link to its guardian: a small process of its own (clickwarden-guardian) with its
// own X connection that learns of every button and key the program's presses hold, every key code
// it lends and the pointer shape it sets, and undoes them once the program is gone, however it ended. The X server
// keeps what XTEST pressed when the client that pressed it goes away: without the guardian a killed or crashed playback
// would leave the left button down and the user's next move would drag.
//
// A separate executable rather than a forked copy of this process: a fork of a threaded Qt program
// may only call async-signal-safe functions until it execs, and opening an X connection is none.
// The guardian reads its instructions from a socket that the kernel closes when this process ends
// (exit, a crash, SIGKILL alike): that end is its signal to let go.
class X11Guardian
{
public:
    // The guardian program: beside the executable, or in ../libexec/clickwarden once installed;
    // empty where there is none.
    static QString ProgramPath();

    // Starts the guardian program for the named display; null where it or the socket is missing, or
    // it cannot be run (a line on standard error says why).
    static std::unique_ptr<X11Guardian> Start(const QByteArray& displayName, const QString& program = ProgramPath());
    // Closes the link: the guardian lets go of whatever it still knows as held, then ends.
    ~X11Guardian();
    X11Guardian(const X11Guardian&) = delete;
    X11Guardian& operator=(const X11Guardian&) = delete;

    // Tells the guardian of a press about to go out (held) or of a release that went out; false when
    // the guardian has ended (it could not open the display, or it was killed).
    bool Tell(const HeldInputs::Input& input, bool held);
    int Pid() const { return m_pid; }
    // The link's socket: it reads as ready (at its end) once the guardian has ended.
    int Socket() const { return m_socket; }

private:
    X11Guardian(int socket, int pid);

    int m_socket;
    int m_pid;
};
