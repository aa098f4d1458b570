// The main window's part in playback and pauses: the player does the work and asks the window,
// through its signals, to minimise, restore, report or end the program.

#include "app/MainWindow.h"

#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "player/PauseDialog.h"
#include "tasks/TaskKinds.h"

#include <QAction>

void MainWindow::ConnectPlayback()
{
    connect(mnuComandiPlay, &QAction::triggered, this, &MainWindow::mnuComandiPlay_Click);
    connect(mnuComandiPausa, &QAction::triggered, this, &MainWindow::mnuComandiPausa_Click);
    connect(&tmrPlay, &QTimer::timeout, this, &MainWindow::tmrPlay_Timer);
    connect(&tmrPause, &QTimer::timeout, this, &MainWindow::tmrPause_Timer);
    if (!m_services.desktop)
        return;

    m_player = std::make_unique<Player>(m_tasks, *m_services.desktop, m_state, tmrPlay, tmrPause, tmrRec);
    connect(m_player.get(), &Player::minimiseRequested, this, &MainWindow::showMinimized);
    connect(m_player.get(), &Player::normalRequested, this, &MainWindow::showNormal);
    connect(m_player.get(), &Player::finished, this,
            [this](const QString& message) { m_services.messages->Show(MessageBoxes::Icon::Information, message); });
    connect(m_player.get(), &Player::stopped, this, [this](qint64 executedTasks) {
        m_services.messages->Show(MessageBoxes::Icon::Information, Player::StopMessage(executedTasks));
    });
    // Closing after playback shows nothing: every window closes and the program ends, as on Exit.
    connect(m_player.get(), &Player::closeProgramRequested, this, &MainWindow::mnuFileEsci_Click);
}

void MainWindow::mnuComandiPlay_Click()
{
    if (m_player)
        m_player->mnuComandiPlay_Click();
}

void MainWindow::tmrPlay_Timer()
{
    if (m_player)
        m_player->tmrPlay_Timer();
}

void MainWindow::tmrPause_Timer()
{
    if (m_player)
        m_player->tmrPause_Timer();
}

bool MainWindow::PlaybackStopCheck()
{
    return m_player && m_player->PlaybackStopCheck();
}

void MainWindow::mnuComandiPausa_Click()
{
    PauseDialog::Open(this, [this](int seconds) { InserisciPausa(seconds); });
}

void MainWindow::InserisciPausa(int seconds)
{
    m_tasks.AddTask(QString::number(seconds), QString(), TaskKinds::Text(TaskKinds::Action::Pause), QByteArray(),
                    TaskOrigin::Inserted);
    // A list that holds only a pause can be played, saved and deleted too.
    UpdateCommandState(true);
}
