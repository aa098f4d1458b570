#pragma once

#include "desktop/Desktop.h"
#include "desktop/SessionEnvironment.h"

#include <QByteArray>
#include <QString>

#include <memory>

// The desktop the program drives, chosen for the session it starts in, or why there is none.
struct DesktopChoice
{
    std::unique_ptr<Desktop> desktop;
    QString failure;              // why the program cannot run; empty when a desktop was opened
    bool failureShowable = false; // a window could still show the failure
    // The Qt platform to set before the application object exists; empty to leave Qt's choice.
    QByteArray qtPlatform;
    // What the user should know from the start about the desktop chosen; empty when nothing.
    QString warning;
    // The desktop lets the program see the user's input, so Record is offered; where not, the
    // warning says why.
    bool recordingOffered = true;
};

// The one place that decides which desktop the program drives: it looks at the session and opens
// the backend made for it (a Wayland compositor with the wlroots interfaces directly, GNOME's
// through its own interfaces on the session bus, else X11 or XWayland). The rest of the program
// sees only the Desktop interface.
class DesktopFactory
{
public:
    // Why a backend could not be opened, in the program's words.
    enum class Problem
    {
        None,
        NoDisplay, // no X server could be reached
        NoXTest,   // the X server answers but cannot be driven
    };

    static DesktopChoice Open(const SessionEnvironment& environment);
    // The choice once a backend was tried: with its desktop, or with the problem it met.
    static DesktopChoice Decide(const SessionEnvironment& environment, std::unique_ptr<Desktop> desktop,
                                Problem problem);
};
