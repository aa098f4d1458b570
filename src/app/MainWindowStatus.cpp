// The main window's part in showing what runs: the status indicator and the caption follow the
// recorder and the player, and the indicator's Stop does what the stop keys do.
#include "app/MainWindow.h"

#include "app/StatusIndicator.h"
#include "macrofile/FileCommands.h"

#include <QAction>

#include <utility>

namespace {
// The progress of a run is shown at most this often: a caption changed at every task of a fast run
// would keep the window manager and the task bar busy beside the playback.
constexpr int kStatusPacingMs = 100;
// Progress held back shows once no task has come for this long (a pause, a long wait).
constexpr int kStatusQuietMs = 250;
} // namespace

void MainWindow::ConnectStatus()
{
    m_indicator = new StatusIndicator(this);
    connect(m_indicator, &StatusIndicator::stopRequested, this, &MainWindow::StopFromIndicator);
    connect(m_indicator, &StatusIndicator::menuShown, this, &MainWindow::IndicatorMenuShown);
    m_statusPacing.setSingleShot(true);
    m_statusPacing.setTimerType(Qt::PreciseTimer);
    m_statusPacing.setInterval(kStatusQuietMs);
    connect(&m_statusPacing, &QTimer::timeout, this, [this] {
        if (std::exchange(m_statusPending, false))
            ShowStatus();
    });
    if (m_run) {
        connect(m_run.get(), &Run::stateChanged, this, &MainWindow::ShowStatus);
        connect(m_player, &Player::progressChanged, this, &MainWindow::ShowStatus);
    }
}

void MainWindow::ShowStatus()
{
    ActivityStatus status;
    if (IsRecording()) {
        status.activity = ActivityStatus::Activity::Recording;
    } else if (IsPlaying()) {
        status.activity = ActivityStatus::Activity::Playing;
        status.progress = m_player->Progress();
    }
    // A start or an end shows at once. Progress shows right after a task, as the player reports it,
    // and never from a timer of its own that could fall just before the next task's moment and hold
    // it up: held back, it shows with a later task, or once the tasks have paused.
    if (status.activity == m_indicator->Status().activity && m_statusShown.isValid() &&
        m_statusShown.elapsed() < kStatusPacingMs) {
        m_statusPending = true;
        m_statusPacing.start();
        return;
    }
    m_statusPending = false;
    m_statusPacing.stop();
    m_indicator->Show(status);
    UpdateCaption();
    m_statusShown.start();
}

void MainWindow::UpdateCaption()
{
    setWindowTitle(StatusIndicator::Caption(m_indicator->Status(), m_files->Caption()));
}

void MainWindow::StopFromIndicator()
{
    // The clicks on the indicator and its menu went to this program's own windows: the recorder
    // leaves them out.
    if (m_run)
        m_run->Stop();
}

void MainWindow::IndicatorMenuShown(bool shown)
{
    if (!m_player)
        return;
    // No task runs while the menu is open: the pointer stays with the user, and a click of the
    // player cannot close the menu or pick an entry of it.
    if (shown) {
        m_player->HoldTicks(true);
        return;
    }
    // The menu closes before its entry is triggered: a Stop chosen there comes first.
    QMetaObject::invokeMethod(
        this, [this] { m_player->HoldTicks(false); }, Qt::QueuedConnection);
}
