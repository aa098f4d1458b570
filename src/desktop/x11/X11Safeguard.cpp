#include "desktop/x11/X11Safeguard.h"

#include "desktop/GuardianProcess.h"

#include <QSocketNotifier>

#include <cstdio>

namespace {
// A guardian that ends this often is given up on: each start would only end again.
constexpr int kMostStarts = 4;
constexpr const char* kProgramName = "clickwarden-guardian";
} // namespace

X11Safeguard::X11Safeguard(const QByteArray& displayName, const HeldInputs& held)
    : m_displayName(displayName), m_held(held), m_record(displayName)
{}

X11Safeguard::~X11Safeguard()
{
    // Closing the link is the guardian's cue to end: no replacement for that one.
    m_watch.reset();
    m_guardian.reset();
}

void X11Safeguard::Changed(const HeldInputs::Input& input, bool held)
{
    m_record.Write(m_held.Held());
    if (!m_guardian) {
        // Started with the first press; one that cannot be run (said on stderr) is not tried again.
        if (held && m_starts == 0)
            StartGuardian();
        return;
    }
    if (!m_guardian->Tell(input, held))
        Replace();
}

void X11Safeguard::Replace()
{
    const int pid = m_guardian->Pid();
    // The watch may be the one calling: it is put aside, not deleted under its own signal.
    if (m_watch)
        m_watch->setEnabled(false);
    m_retiredWatch = std::move(m_watch);
    m_guardian.reset();
    if (m_starts >= kMostStarts) {
        std::fprintf(stderr, "clickwarden: the guardian keeps ending: what playback holds stays held if the program is "
                             "killed\n");
        return;
    }
    if (m_starts == 1)
        std::fprintf(stderr, "clickwarden: the guardian (process %d) has ended; a new one takes its place\n", pid);
    StartGuardian();
}

void X11Safeguard::StartGuardian()
{
    ++m_starts;
    m_guardian = GuardianProcess::Start(kProgramName, m_displayName, GuardianProcess::ProgramPath(kProgramName));
    if (!m_guardian) {
        m_starts = kMostStarts;
        return;
    }
    m_watch = std::make_unique<QSocketNotifier>(m_guardian->Socket(), QSocketNotifier::Read);
    QObject::connect(m_watch.get(), &QSocketNotifier::activated, [this] { Replace(); });
    // The new one hears of all that is held; one that ends at once is noticed as it ends.
    for (const HeldInputs::Input& input : m_held.Held())
        m_guardian->Tell(input, true);
}
