// The main window's part in playback and pauses: the player does the work and asks the window,
// through its signals, to minimise, restore, report or end the program.

#include "app/MainWindow.h"

#include "app/PauseDialog.h"
#include "core/AppInfo.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "tasks/TaskKinds.h"

#include <QAction>
#include <QTableView>

#include <cstdio>

namespace {
// What the program returns when a run that closes it stopped on a screen that never matched, or
// went to its end but skipped tasks.
constexpr int kStoppedOnMismatchStatus = 1;
constexpr int kSkippedTasksStatus = 3;
} // namespace

void MainWindow::ConnectPlayback()
{
    connect(m_playAction, &QAction::triggered, this, &MainWindow::Play);
    connect(m_insertPauseAction, &QAction::triggered, this, &MainWindow::AskForPause);
    if (!m_player)
        return;
    connect(m_player, &Player::minimiseRequested, this, &MainWindow::showMinimized);
    connect(m_player, &Player::normalRequested, this, &MainWindow::showNormal);
    connect(m_player, &Player::finished, this,
            [this](const QString& message) { m_services.messages->Show(MessageBoxes::Icon::Information, message); });
    connect(m_player, &Player::stopped, this, [this](qint64 executedTasks) {
        m_services.messages->Show(MessageBoxes::Icon::Information, Player::StopMessage(executedTasks));
    });
    // Closing after playback shows nothing: every window closes and the program ends, as on Exit.
    connect(m_player, &Player::closeProgramRequested, this, [this] {
        if (m_player->SkippedTasks() > 0)
            m_exitStatus = kSkippedTasksStatus;
        Exit();
    });
    connect(m_player, &Player::taskSkipped, this,
            [this](const ScreenMismatch& mismatch) { ReportScreenMismatch(mismatch, true); });
    connect(m_player, &Player::stoppedOnMismatch, this,
            [this](const ScreenMismatch& mismatch) { ReportScreenMismatch(mismatch, false); });
    connect(m_player, &Player::taskFound, this,
            [](int row, QPoint offset) { WriteError(ScreenCheck::FoundLine(row, offset)); });
}

void MainWindow::WriteError(const QString& line)
{
    const QByteArray bytes =
        (AppInfo::ExecutableName() + QStringLiteral(": ") + line + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

void MainWindow::ReportScreenMismatch(const ScreenMismatch& mismatch, bool skipped)
{
    WriteError(ScreenCheck::ReportLine(mismatch, skipped));
    if (skipped)
        return;
    // A run that closes the program has no one to read a box: it ends, and says so in its status.
    if (m_state.options.closeAfterPlaying) {
        m_exitStatus = kStoppedOnMismatchStatus;
        Exit();
        return;
    }
    m_services.messages->Show(MessageBoxes::Icon::Exclamation, ScreenCheck::StopMessage(mismatch));
    // The grid shows the task, and the preview what was recorded and what the screen showed.
    m_grid->setCurrentIndex(m_tasks.index(mismatch.row - 1, TaskList::kColumnX));
    PreviewCurrentRow();
}

void MainWindow::Play()
{
    if (m_run)
        m_run->Play();
}

void MainWindow::AskForPause()
{
    PauseDialog::Open(this, [this](int seconds) { AppendPause(seconds); });
}

void MainWindow::AppendPause(int seconds)
{
    m_tasks.AddTask(QString::number(seconds), QString(), TaskKinds::Text(TaskKinds::Action::Pause), QByteArray(),
                    TaskOrigin::Inserted);
    // A list that holds only a pause can be played, saved and deleted too.
    UpdateCommandState(true);
}
