// The main window's part in recording: the Record command, the poll timer and what the window
// shows when a recording starts and ends. The recording itself is the Recorder's.
#include "app/MainWindow.h"

#include "app/OwnWindowPresses.h"
#include "app/TaskEditor.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"

#include <QAction>
#include <QGuiApplication>
#include <QStyleHints>

void MainWindow::ConnectRecording()
{
    connect(m_recordAction, &QAction::triggered, this, &MainWindow::Record);
    if (!m_recorder)
        return;
    const auto* ownPresses = new OwnWindowPresses(this);
    m_recorder->SetOwnWindowTest([ownPresses](const ButtonEvent& press) { return ownPresses->IsOwn(press); });
    m_recorder->SetOwnKeyTest([ownPresses](const InputEvent& press) { return ownPresses->IsOwnKey(press); });
    connect(m_recorder, &Recorder::minimiseRequested, this, &QWidget::showMinimized);
    connect(m_recorder, &Recorder::restoreRequested, this, &QWidget::showNormal);
    connect(m_recorder, &Recorder::recordingEnded, this, [this](int eventCount) {
        m_editor->RecordingEnded();
        m_services.messages->Show(MessageBoxes::Icon::Information, TextTable::Text(TextId::EventsCaptured) +
                                                                       QLatin1Char(' ') + QString::number(eventCount) +
                                                                       QLatin1Char(' ') +
                                                                       TextTable::Text(TextId::SentenceEnd));
        UpdateCommandState(true);
    });
    connect(m_recorder, &Recorder::recordingEndedEmpty, this, [this] {
        m_editor->RecordingEnded();
        UpdateCommandState(false);
    });
}

void MainWindow::Record()
{
    if (!m_recorder)
        return;
    // Double clicks are recognised as the desktop recognises them, with its settings of the moment.
    const QStyleHints* hints = QGuiApplication::styleHints();
    m_tasks.SetDoubleClickLimits(hints->mouseDoubleClickInterval(), hints->mouseDoubleClickDistance());
    m_editor->RecordingStarted();
    m_run->Record();
    if (m_run->IsIdle())
        m_editor->RecordingEnded();
    ShowStatus();
}
