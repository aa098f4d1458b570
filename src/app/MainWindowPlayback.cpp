// The main window's part in playback and pauses: the player does the work and asks the window,
// through its signals, to minimise, restore, report or end the program.

#include "app/MainWindow.h"

#include "app/ExitStatus.h"
#include "app/Notifier.h"
#include "app/PauseDialog.h"
#include "app/StderrMessageBoxes.h"
#include "app/TaskEditor.h"
#include "app/TaskGrid.h"
#include "core/AppInfo.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "tasks/TaskKinds.h"

#include <QAction>
#include <QMenu>
#include <QTableView>

void MainWindow::ConnectPlayback()
{
    connect(m_playAction, &QAction::triggered, this, &MainWindow::Play);
    // Beside Play, enabled as it is: the whole list from the current row, the selection, by steps.
    using CommandState::Control;
    m_playFromHereAction = AddMenuAction(m_commandsMenu, "playFromHere", QKeySequence(), Control::Play);
    m_playSelectionAction = AddMenuAction(m_commandsMenu, "playSelection", QKeySequence(), Control::Play);
    m_stepAction = AddMenuAction(m_commandsMenu, "playBySteps", QKeySequence(), Control::Play);
    for (QAction* action : {m_playFromHereAction, m_playSelectionAction, m_stepAction})
        m_commandsMenu->insertAction(m_deleteLastAction, action);
    connect(m_playFromHereAction, &QAction::triggered, this, [this] { PlayPart({m_tasks.CurrentRow(), {}, false}); });
    connect(m_playSelectionAction, &QAction::triggered, this, [this] {
        const std::vector<int> rows = m_grid->SelectedRows();
        PlayPart({m_tasks.CurrentRow(), rows.empty() ? std::vector<int>{m_tasks.CurrentRow()} : rows, false});
    });
    connect(m_stepAction, &QAction::triggered, this, [this] { PlayPart({m_tasks.CurrentRow(), {}, true}); });
    connect(m_insertPauseAction, &QAction::triggered, this, &MainWindow::AskForPause);
    if (!m_player)
        return;
    connect(m_player, &Player::minimiseRequested, this, &MainWindow::showMinimized);
    connect(m_player, &Player::normalRequested, this, &MainWindow::showNormal);
    connect(m_player, &Player::finished, this,
            [this](const QString& message) { m_services.messages->Show(MessageBoxes::Icon::Information, message); });
    connect(m_player, &Player::stopped, this, &MainWindow::PlaybackStopped);
    // Closing after playback shows no box: every window closes and the program ends, as on Exit. A
    // run that skipped tasks says so where a person can see it.
    connect(m_player, &Player::closeProgramRequested, this, [this] {
        if (m_player->SkippedTasks() > 0)
            EndRun(ExitStatus::kSkipped, m_player->EndMessage());
        else
            EndRun(ExitStatus::kPlayed);
    });
    connect(m_player, &Player::unplayableTask, this, [this](int row, const QString& problem) {
        if (ClosesAfterPlaying())
            StderrMessageBoxes::Print(TextTable::Text(TextId::SkippedTaskLine).arg(row).arg(problem));
    });
    connect(m_player, &Player::remark, this, [this](const QString& text) { ShowNote(text, true); });
    connect(m_player, &Player::taskSkipped, this,
            [this](const ScreenMismatch& mismatch) { ReportScreenMismatch(mismatch, true); });
    connect(m_player, &Player::stoppedOnMismatch, this,
            [this](const ScreenMismatch& mismatch) { ReportScreenMismatch(mismatch, false); });
    connect(m_player, &Player::taskFound, this,
            [](int row, QPoint offset) { StderrMessageBoxes::Print(ScreenCheck::FoundLine(row, offset)); });
}

void MainWindow::ReportScreenMismatch(const ScreenMismatch& mismatch, bool skipped)
{
    StderrMessageBoxes::Print(ScreenCheck::ReportLine(mismatch, skipped));
    if (skipped)
        return;
    // A run that closes the program has no one to read a box: it ends, and says so in its status.
    if (ClosesAfterPlaying()) {
        EndRun(ExitStatus::kStopped, ScreenCheck::StopMessage(mismatch));
        return;
    }
    m_services.messages->Show(MessageBoxes::Icon::Exclamation, ScreenCheck::StopMessage(mismatch));
    // The grid shows the task, and the preview what was recorded and what the screen showed.
    m_grid->setCurrentIndex(m_tasks.index(mismatch.row - 1, TaskList::kColumnX));
    PreviewCurrentRow();
}

void MainWindow::PlaybackStopped(qint64 executedTasks)
{
    const QString message = Player::StopMessage(executedTasks);
    // Someone at the desktop stopped it: a box they can read, or stderr where no box may be shown.
    m_services.messages->Show(MessageBoxes::Icon::Information, message);
    if (m_services.unattended)
        EndRun(ExitStatus::kStopped, message);
}

bool MainWindow::ClosesAfterPlaying() const
{
    return m_state.options.closeAfterPlaying || m_services.unattended;
}

void MainWindow::EndRun(int status, const QString& failure)
{
    m_exitStatus = status;
    if (!failure.isEmpty() && m_services.notifier) {
        m_services.notifier->Notify(failure);
        m_services.notifier->Flush();
    }
    Exit();
}

void MainWindow::Play()
{
    if (m_run)
        m_run->Play();
}

void MainWindow::PlayPart(PlayRange range)
{
    if (m_run)
        m_run->Play(std::move(range));
}

void MainWindow::AskForPause()
{
    PauseDialog::Open(this, [this](int seconds) { AppendPause(seconds); });
}

void MainWindow::AppendPause(int seconds)
{
    TaskRows pause;
    pause.push_back(TaskRow{QString::number(seconds), {}, TaskKinds::Text(TaskKinds::Action::Pause), {}});
    m_editor->Apply(TaskEdits::Insert(m_tasks, m_tasks.Rows(), std::move(pause)));
    // A list that holds only a pause can be played, saved and deleted too.
    UpdateCommandState(true);
}
