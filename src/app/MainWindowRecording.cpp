// The main window's part in recording: the Record command, the poll timer and what the window
// shows when a recording starts and ends. The recording itself is the Recorder's.
#include "app/MainWindow.h"

#include "app/OwnWindowPresses.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"

#include <QAction>
#include <QGuiApplication>
#include <QStyleHints>

void MainWindow::ConnectRecording()
{
    connect(mnuComandiRec, &QAction::triggered, this, &MainWindow::mnuComandiRec_Click);
    connect(&tmrRec, &QTimer::timeout, this, &MainWindow::tmrRec_Timer);
    if (!m_services.desktop)
        return;
    m_recorder = std::make_unique<Recorder>(m_tasks, *m_services.desktop, m_state, tmrRec);
    const auto* ownPresses = new OwnWindowPresses(this);
    m_recorder->SetOwnWindowTest([ownPresses](const ButtonEvent& press) { return ownPresses->IsOwn(press); });
    m_recorder->SetOwnKeyTest([ownPresses](const InputEvent& press) { return ownPresses->IsOwnKey(press); });
    connect(m_recorder.get(), &Recorder::minimiseRequested, this, &QWidget::showMinimized);
    connect(m_recorder.get(), &Recorder::restoreRequested, this, &QWidget::showNormal);
    connect(m_recorder.get(), &Recorder::recordingEnded, this, [this](int eventCount) {
        m_services.messages->Show(MessageBoxes::Icon::Information, TextTable::Text(129) + QLatin1Char(' ') +
                                                                       QString::number(eventCount) + QLatin1Char(' ') +
                                                                       TextTable::Text(149));
        UpdateCommandState(true);
    });
    connect(m_recorder.get(), &Recorder::recordingEndedEmpty, this, [this] { UpdateCommandState(false); });
}

void MainWindow::mnuComandiRec_Click()
{
    if (!m_recorder)
        return;
    // Double clicks are recognised as the desktop recognises them, with its settings of the moment.
    const QStyleHints* hints = QGuiApplication::styleHints();
    m_tasks.SetDoubleClickLimits(hints->mouseDoubleClickInterval(), hints->mouseDoubleClickDistance());
    m_recorder->mnuComandiRec_Click();
    ShowStatus();
}

void MainWindow::tmrRec_Timer()
{
    if (m_recorder)
        m_recorder->tmrRec_Timer();
    if (m_state.playing)
        PlaybackStopCheck();
}
