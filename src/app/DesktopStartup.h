#pragma once

#include "desktop/x11/X11Desktop.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QMainWindow;

// What the environment says about the desktop session the program starts in.
struct SessionEnvironment
{
    QByteArray display;        // DISPLAY
    QByteArray sessionType;    // XDG_SESSION_TYPE
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray qtPlatform;     // QT_QPA_PLATFORM, the user's choice of Qt platform
    // A Wayland compositor answers and Qt has its wayland platform, so a window can be shown
    // there even without any X server.
    bool waylandUsable = false;

    static SessionEnvironment FromProcess();
    bool IsWayland() const { return sessionType == "wayland" || !waylandDisplay.isEmpty(); }
    // A Wayland session whose compositor the program should drive itself: WAYLAND_DISPLAY is set
    // and the session says it is Wayland, or no X display is named.
    bool PrefersWayland() const { return !waylandDisplay.isEmpty() && (sessionType == "wayland" || display.isEmpty()); }
};

// The desktop connection, opened before the toolkit needs a display, and what start-up does when it
// cannot be opened or when the session is Wayland with XWayland. In a Wayland session the
// compositor is driven directly where it offers the wlroots interfaces; elsewhere XWayland is.
class DesktopStartup
{
public:
    static DesktopStartup Open(const SessionEnvironment& environment);
    // The same for a connection attempt already made.
    static DesktopStartup FromOpenResult(const SessionEnvironment& environment, X11Desktop::OpenResult opened);

    // Null when no usable desktop was found.
    ::Desktop* Desktop() const { return m_desktop.get(); }
    // The desktop is a Wayland compositor driven directly.
    bool OnWayland() const { return m_onWayland; }
    X11Desktop::OpenError Error() const { return m_error; }

    // Why the program cannot run; empty when the desktop was opened.
    QString FailureText() const;
    // Whether the failure can be shown in a message box: the X server answers (only XTEST is
    // missing), or a Wayland compositor can show a window.
    bool CanShowFailureBox() const;
    // The Qt platform to set before the application object exists; empty to leave Qt's choice.
    // Under Wayland the program drives XWayland, so Qt must run there too unless the user chose.
    QByteArray PlatformToForce() const;
    // The warning for a Wayland session; empty elsewhere.
    QString WaylandWarning() const;

    // Sets the Qt platform (PlatformToForce) in the process environment.
    void PreparePlatform() const;
    // Prints the failure on stderr, shows it in a box where one can be shown and may be, and
    // returns the program's exit status.
    int ReportFailure(int& argc, char** argv, bool mayShowBox = true) const;
    // In a Wayland session, prints the warning on stderr and shows it in the window's status bar:
    // never in a box, which would hold up a playback started from the command line. Driving the
    // compositor directly, it also turns Record off and says why instead.
    void WarnAboutWayland(QMainWindow& window) const;

private:
    SessionEnvironment m_environment;
    std::unique_ptr<::Desktop> m_desktop;
    X11Desktop::OpenError m_error = X11Desktop::OpenError::NoError;
    bool m_onWayland = false;
    QStringList m_waylandMissing; // what the Wayland compositor lacked, when it was tried
};
