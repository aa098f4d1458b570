#pragma once

#include "desktop/DesktopFactory.h"

#include <QString>

class QMainWindow;

// The desktop the factory chose, opened before the toolkit needs a display, and what start-up
// tells the user when there is none or when it drives the desktop through a stand-in (XWayland).
class DesktopStartup
{
public:
    explicit DesktopStartup(DesktopChoice choice, bool sessionBus = true)
        : m_choice(std::move(choice)), m_sessionBus(sessionBus)
    {}
    static DesktopStartup Open(const SessionEnvironment& environment)
    {
        return DesktopStartup(DesktopFactory::Open(environment), environment.HasSessionBus());
    }

    // Null when no desktop could be opened.
    ::Desktop* Desktop() const { return m_choice.desktop.get(); }
    const DesktopChoice& Choice() const { return m_choice; }

    // Sets the Qt platform the choice calls for in the process environment, and keeps the toolkit
    // from starting a session bus where none runs.
    void PreparePlatform() const;
    // Prints the failure on stderr, shows it in a box where one can be shown and may be, and
    // returns the program's exit status.
    int ReportFailure(int& argc, char** argv, bool mayShowBox = true) const;
    // Prints the warning on stderr and shows it in the window's status bar: never in a box, which
    // would hold up a playback started from the command line. Where the desktop cannot be recorded
    // from, Record is turned off and the warning says why.
    void ShowWarning(QMainWindow& window) const;

private:
    DesktopChoice m_choice;
    bool m_sessionBus;
};
