#include "app/RunStatusDisplay.h"

#include "app/Run.h"
#include "app/StatusIndicator.h"

#include <utility>

namespace {
// The progress of a run is shown at most this often: a caption changed at every task of a fast run
// would keep the window manager and the task bar busy beside the playback.
constexpr int kStatusPacingMs = 100;
// Progress held back shows once no task has come for this long (a pause, a long wait).
constexpr int kStatusQuietMs = 250;
} // namespace

RunStatusDisplay::RunStatusDisplay(Run* run, StatusIndicator* indicator, QObject* parent)
    : QObject(parent), m_run(run), m_indicator(indicator ? indicator : new StatusIndicator(this))
{
    // The clicks on the indicator and its menu went to this program's own windows: the recorder
    // leaves them out.
    connect(m_indicator, &StatusIndicator::stopRequested, this, [this] {
        if (m_run)
            m_run->Stop();
    });
    connect(m_indicator, &StatusIndicator::menuShown, this, &RunStatusDisplay::MenuShown);
    m_pacing.setSingleShot(true);
    m_pacing.setTimerType(Qt::PreciseTimer);
    m_pacing.setInterval(kStatusQuietMs);
    connect(&m_pacing, &QTimer::timeout, this, [this] {
        if (std::exchange(m_pending, false))
            ShowStatus();
    });
    if (m_run) {
        connect(m_run, &Run::stateChanged, this, &RunStatusDisplay::ShowStatus);
        connect(m_run, &Run::progressChanged, this, &RunStatusDisplay::ShowStatus);
    }
}

void RunStatusDisplay::ShowStatus()
{
    ActivityStatus status;
    if (m_run && m_run->IsRecording()) {
        status.activity = ActivityStatus::Activity::Recording;
    } else if (m_run && m_run->IsPlaying()) {
        status.activity = ActivityStatus::Activity::Playing;
        status.progress = m_run->Progress();
    }
    // A start or an end shows at once. Progress shows right after a task, as the player reports it,
    // and never from a timer of its own that could fall just before the next task's moment and hold
    // it up: held back, it shows with a later task, or once the tasks have paused.
    if (status.activity == m_indicator->Status().activity && m_shown.isValid() && m_shown.elapsed() < kStatusPacingMs) {
        m_pending = true;
        m_pacing.start();
        return;
    }
    m_pending = false;
    m_pacing.stop();
    m_indicator->Show(status);
    emit shown();
    m_shown.start();
}

void RunStatusDisplay::MenuShown(bool shown)
{
    if (!m_run)
        return;
    // No task runs while the menu is open: the pointer stays with the user, and a click of the
    // player cannot close the menu or pick an entry of it.
    if (shown) {
        m_run->HoldTicks(true);
        return;
    }
    // The menu closes before its entry is triggered: a Stop chosen there comes first.
    QMetaObject::invokeMethod(
        this, [this] { m_run->HoldTicks(false); }, Qt::QueuedConnection);
}
