#include "app/MainWindow.h"

#include "app/CommandLineStart.h"
#include "app/EditorCommands.h"
#include "app/FileCommands.h"
#include "app/MainMenus.h"
#include "app/ReadNote.h"
#include "app/RunReporter.h"
#include "app/RunStatusDisplay.h"
#include "app/StatusIndicator.h"
#include "app/TaskArea.h"
#include "app/TaskEditor.h"
#include "app/TaskGrid.h"
#include "app/TaskPreview.h"
#include "app/Twips.h"
#include "core/AppInfo.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "desktop/Desktop.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

#include <utility>

namespace {
// The window's size, in twips.
constexpr int kFormWidth = 6450;
constexpr int kFormHeight = 6465;
} // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services))
{
    setObjectName(QStringLiteral("Form1"));
    if (!m_services.openUrl)
        m_services.openUrl = [](const QUrl& url) {
            return QDesktopServices::openUrl(url);
        };

    if (m_services.desktop)
        m_run = std::make_unique<Run>(m_tasks, *m_services.desktop, m_state);
    ApplyOptions(OptionValues{});

    m_menus = std::make_unique<MainMenus>(*menuBar());
    connect(m_menus->exitAction, &QAction::triggered, this, &MainWindow::Exit);
    BuildGrid();
    const auto fileName = [this] {
        return m_files ? m_files->FileName() : QString();
    };
    m_reporter = new RunReporter(m_run.get(), *m_services.messages, m_services.notifier, fileName, m_state,
                                 m_services.unattended, this);
    m_editor = new TaskEditor(*this, *m_grid, m_tasks, m_state, *m_services.messages, m_services.desktop, m_run.get());
    connect(m_editor, &TaskEditor::currentRowPicked, this, &MainWindow::PreviewCurrentRow);
    menuBar()->insertMenu(m_menus->commandsMenu->menuAction(), m_editor->Menu());
    connect(m_editor, &TaskEditor::emptied, this, [this](bool empty) { UpdateCommandState(!empty); });
    ConnectCommands();
    ConnectRun();
    ConnectFiles();
}

// The editor goes before the task list it holds a recording on, and the run before the window's
// state: children outlive the members.
MainWindow::~MainWindow()
{
    delete m_editor;
    m_run.reset();
}

void MainWindow::BuildGrid()
{
    m_area = new TaskArea(m_tasks, this);
    setCentralWidget(m_area);
    m_grid = m_area->Grid();
    m_preview = m_area->Preview();
    // Only the user's picks draw the preview: playback and loading move the current row too, and
    // clicked comes also for the row that is already current.
    connect(m_grid, &QAbstractItemView::clicked, this, &MainWindow::PreviewCurrentRow);
    connect(m_grid, &TaskGrid::keyReleased, this, &MainWindow::PreviewCurrentRow);
}

void MainWindow::ConnectCommands()
{
    m_editorCommands = new EditorCommands(*this, m_tasks, m_state, *m_editor, *m_services.messages, m_services.openUrl,
                                          m_services.settings);
    EditorCommands* commands = m_editorCommands;
    connect(m_menus->deleteLastAction, &QAction::triggered, commands, &EditorCommands::DeleteLastTask);
    connect(m_menus->insertPauseAction, &QAction::triggered, commands, &EditorCommands::AskForPause);
    connect(m_menus->optionsAction, &QAction::triggered, commands, &EditorCommands::EditOptions);
    connect(m_menus->helpPageAction, &QAction::triggered, commands, &EditorCommands::OpenHelpPage);
    connect(m_menus->aboutAction, &QAction::triggered, commands, &EditorCommands::ShowAbout);
    connect(commands, &EditorCommands::commandStateChanged, this, &MainWindow::UpdateCommandState);
    connect(commands, &EditorCommands::optionsChosen, this, &MainWindow::ApplyOptions);
}

void MainWindow::ConnectRun()
{
    connect(m_menus->recordAction, &QAction::triggered, this, &MainWindow::Record);
    connect(m_menus->playAction, &QAction::triggered, this, &MainWindow::Play);
    connect(m_menus->playFromHereAction, &QAction::triggered, this, [this] {
        PlayPart({m_tasks.CurrentRow(), {}, false});
    });
    connect(m_menus->playSelectionAction, &QAction::triggered, this, [this] {
        const std::vector<int> rows = m_grid->SelectedRows();
        PlayPart({m_tasks.CurrentRow(), rows.empty() ? std::vector<int>{m_tasks.CurrentRow()} : rows, false});
    });
    connect(m_menus->stepAction, &QAction::triggered, this, [this] { PlayPart({m_tasks.CurrentRow(), {}, true}); });
    connect(m_reporter, &RunReporter::exitRequested, this, &MainWindow::Exit);
    connect(m_reporter, &RunReporter::noteRaised, this, &MainWindow::ShowNote);
    connect(m_reporter, &RunReporter::mismatchShown, this, [this](int row) {
        m_grid->setCurrentIndex(m_tasks.index(row - 1, TaskList::kColumnX));
        PreviewCurrentRow();
    });
    m_status = new RunStatusDisplay(m_run.get(), m_services.indicator, this);
    connect(m_status, &RunStatusDisplay::shown, this, &MainWindow::UpdateCaption);
    if (!m_run)
        return;
    connect(m_run.get(), &Run::minimiseRequested, this, &QWidget::showMinimized);
    connect(m_run.get(), &Run::restoreRequested, this, &QWidget::showNormal);
    connect(m_run.get(), &Run::recordingEnded, this, [this](int eventCount) {
        m_editor->RecordingEnded();
        m_reporter->RecordingEnded(eventCount);
        UpdateCommandState(true);
    });
    connect(m_run.get(), &Run::recordingEndedEmpty, this, [this] {
        m_editor->RecordingEnded();
        UpdateCommandState(false);
    });
}

void MainWindow::ConnectFiles()
{
    m_files = std::make_unique<FileCommands>(m_tasks, m_state.options, *m_services.messages, m_services.files);
    FileCommands* files = m_files.get();
    connect(m_menus->newAction, &QAction::triggered, files, &FileCommands::New);
    connect(m_menus->openAction, &QAction::triggered, files, &FileCommands::Open);
    connect(m_menus->appendAction, &QAction::triggered, files, &FileCommands::Append);
    connect(m_menus->saveAction, &QAction::triggered, files, &FileCommands::Save);
    connect(files, &FileCommands::captionChanged, this, &MainWindow::UpdateCaption);
    connect(files, &FileCommands::readingChanged, this, &MainWindow::ShowReading);
    // The file's rows are in place by now: the status line tells what it changed, what cannot be played.
    connect(files, &FileCommands::optionsRead, this, [this](const OptionValues& read) {
        const OptionValues before = m_state.options;
        ApplyOptions(read);
        const QSize screen = m_services.desktop ? m_services.desktop->ScreenSize() : QSize();
        ShowNote(ReadNote::Text(before, m_state.options, m_tasks.PackedRows(), screen));
    });
    connect(files, &FileCommands::commandStateChanged, this, &MainWindow::UpdateCommandState);
    m_start = new CommandLineStart(*files, m_run.get(), *m_reporter, this);
    if (m_services.askBeforePlaying)
        m_start->AskFirst(*m_services.messages, m_tasks);
}

void MainWindow::Start()
{
    resize(TwipsToPixels(kFormWidth, this), TwipsToPixels(kFormHeight, this));
    LayoutGrid();
    SetCaptions();
    m_area->SetUp();
    m_state = SharedState{};
    m_state.screenCheck = m_services.screenCheck;
    m_state.pace = m_services.pace;
    ApplyOptions(m_state.options);
    if (m_services.settings)
        m_state.keyboard = KeyboardOptions::Load(*m_services.settings);
    show();
    StopKeyReminder::WatchReportedStates(windowHandle(),
                                         [this](bool minimised) { m_restoreWatch.Reported(minimised); });
    m_start->Start(m_services.arguments);
}

void MainWindow::SetCaptions()
{
    UpdateCaption();
    m_editor->SetCaptions();
    m_menus->SetCaptions();
}

void MainWindow::UpdateCommandState(bool flag)
{
    m_menus->UpdateCommandState(flag);
    m_grid->setEnabled(CommandState::IsEnabled(CommandState::Control::TaskGrid, flag));
    // The keys reach the rows as soon as there are rows: F2, Enter, the arrows.
    if (m_grid->isEnabled())
        m_grid->setFocus();
    m_preview->Clear();
}

void MainWindow::ApplyOptions(const OptionValues& options)
{
    m_state.options = options;
    // A run no one watches ends when it is done, whatever the file says.
    if (m_services.unattended)
        m_state.options.closeAfterPlaying = true;
    if (m_run)
        m_run->ApplyIntervals(options);
}

int MainWindow::ExitStatus() const
{
    return m_reporter->ExitStatus();
}

void MainWindow::AppendPause(int seconds)
{
    m_editorCommands->AppendPause(seconds);
}

void MainWindow::Play()
{
    PlayPart({});
}

void MainWindow::PlayPart(PlayRange range)
{
    if (m_run)
        m_run->Play(std::move(range));
}

void MainWindow::Record()
{
    // A pick or a playback holds the input stream: the run refuses, and the editor opens no edit.
    if (!m_run || !m_run->IsIdle())
        return;
    m_editor->RecordingStarted();
    m_run->Record();
}

void MainWindow::UpdateCaption()
{
    const ActivityStatus& status = m_status->Indicator().Status();
    setWindowTitle(StatusIndicator::Caption(status, m_files->Caption()));
    // A pause counts down on the status line too, over the note, which comes back after it.
    if (status.progress.pauseSecondsLeft > 0)
        statusBar()->showMessage(TextTable::Text(TextId::PauseCountdown).arg(status.progress.pauseSecondsLeft));
    else
        statusBar()->clearMessage();
}

bool MainWindow::ReadsCommandLineFile() const
{
    return m_start->IsReading();
}

void MainWindow::ShowReading(bool reading)
{
    menuBar()->setEnabled(!reading);
    if (reading)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void MainWindow::PreviewCurrentRow()
{
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() ? current.row() + 1 : 0;
    const QByteArray image = m_tasks.Image(row);
    const std::optional<Run::Seen> seen = m_run ? m_run->SeenAt(row, image) : std::nullopt;
    if (seen)
        m_preview->PreviewBeside(image, seen->screen, seen->tip);
    else
        m_preview->Preview(image);
    LayoutGrid();
}

void MainWindow::ShowNote(const QString& text)
{
    if (text.isEmpty() && !m_note)
        return;
    // A widget of the bar, not a message of it: menu status tips would wipe a message away.
    if (!m_note) {
        m_note = new QLabel(this);
        m_note->setObjectName(QStringLiteral("lblNote"));
        m_note->setWordWrap(true);
        statusBar()->addWidget(m_note, 1);
    }
    m_note->setText(text);
    statusBar()->setVisible(true);
    LayoutGrid();
}

void MainWindow::Exit()
{
    if (!m_files->MayDiscardChanges())
        return;
    QApplication::closeAllWindows();
    QApplication::exit(ExitStatus());
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        LayoutControls();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutControls();
}

// The window manager may add its frame after the first resize: lay out again when it moves the window.
void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (!isMinimized() && !IsRecording() && !IsPlaying())
        LayoutGrid();
}

// Closing the main window ends the program, as Exit does: no other window keeps it alive. Only
// the user's own close (the window's close box) asks about changes: Exit has asked already, and an
// end asked for by a signal saves nothing and asks nothing.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous() && !m_files->MayDiscardChanges()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QMetaObject::invokeMethod(qApp, &QApplication::closeAllWindows, Qt::QueuedConnection);
}

StopKeyReminder::WindowChange MainWindow::CurrentChange() const
{
    return {isMinimized(), IsRecording(), IsPlaying(), m_restoreWatch.RestoredByUser()};
}

void MainWindow::LayoutControls()
{
    switch (StopKeyReminder::AnswerChange(CurrentChange())) {
    case StopKeyReminder::Answer::LayOut:
        LayoutGrid();
        break;
    case StopKeyReminder::Answer::RemindAndMinimise:
        // The reminder is a modal box: show it once the window system has finished this change.
        if (!m_reminderPending) {
            m_reminderPending = true;
            QMetaObject::invokeMethod(this, &MainWindow::RemindOfStopKeys, Qt::QueuedConnection);
        }
        break;
    case StopKeyReminder::Answer::Nothing:
        break;
    }
}

void MainWindow::RemindOfStopKeys()
{
    // Window state changes that arrive while the box is open (the window manager may answer one
    // restore with several) must not queue a second box: the flag stays set until the box is closed.
    const StopKeyReminder::WindowChange change = CurrentChange();
    if (StopKeyReminder::AnswerChange(change) == StopKeyReminder::Answer::RemindAndMinimise) {
        m_services.messages->Show(MessageBoxes::Icon::Exclamation,
                                  TextTable::Text(StopKeyReminder::ReminderText(change)));
        // The recording or playback may have ended while the box was open.
        if (IsRecording() || IsPlaying())
            showMinimized();
    }
    m_reminderPending = false;
}

void MainWindow::LayoutGrid()
{
    m_area->Layout();
}
