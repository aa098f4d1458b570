#pragma once

#include "desktop/HeldInputs.h"
#include "desktop/x11/X11HeldRecord.h"

#include <QByteArray>

#include <memory>

class QSocketNotifier;
class GuardianProcess;

// Keeps the two watchers of what the program holds on the server told of every change, before a
// press goes out: the record in the runtime directory and the guardian process. A guardian that
// ended (killed, or unable to open the display) is noticed as it ends, while the program's event
// loop runs, or else at the next change: the program says so once, starts a new one and tells it
// all that is held.
class X11Safeguard
{
public:
    X11Safeguard(const QByteArray& displayName, const HeldInputs& held);
    ~X11Safeguard();
    X11Safeguard(const X11Safeguard&) = delete;
    X11Safeguard& operator=(const X11Safeguard&) = delete;

    // The held list has just changed by this input (held or let go).
    void Changed(const HeldInputs::Input& input, bool held);

private:
    // Starts a guardian and tells it all that is held.
    void StartGuardian();
    // The guardian has ended: says so (once), and starts another while the limit allows.
    void Replace();

    QByteArray m_displayName;
    const HeldInputs& m_held;
    X11HeldRecord m_record;
    std::unique_ptr<GuardianProcess> m_guardian;     // started with the first press
    std::unique_ptr<QSocketNotifier> m_watch;        // hears the guardian's end
    std::unique_ptr<QSocketNotifier> m_retiredWatch; // the last guardian's
    int m_starts = 0;
};
