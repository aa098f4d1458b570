#include "app/MainWindow.h"

#include "app/StderrMessageBoxes.h"
#include "app/TaskEditor.h"
#include "app/TaskGrid.h"
#include "app/TaskPreview.h"
#include "app/Twips.h"
#include "core/AppInfo.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "macrofile/FileCommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>

namespace {
// Window, grid and preview geometry, in twips.
constexpr int kFormWidth = 6450;
constexpr int kFormHeight = 6465;
constexpr int kGridWidthMargin = 150;
constexpr int kGridHeightMargin = 720;
constexpr int kPictureLeft = 5040;
constexpr int kPictureTop = 120;
constexpr int kPictureSide = 975;
constexpr int kTaskColumnWidth = 2000;
constexpr int kDefaultColumnWidth = 900;
} // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services))
{
    setObjectName(QStringLiteral("Form1"));
    if (!m_services.openUrl)
        m_services.openUrl = [](const QUrl& url) {
            return QDesktopServices::openUrl(url);
        };

    if (m_services.desktop) {
        m_run = std::make_unique<Run>(m_tasks, *m_services.desktop, m_state);
        m_recorder = &m_run->TheRecorder();
        m_player = &m_run->ThePlayer();
    }
    ApplyOptions(OptionValues{});

    BuildMenus();
    BuildGrid();
    // Each subsystem connects its menus and timers here.
    ConnectEditing();
    ConnectRecording();
    ConnectPlayback();
    ConnectFiles();
    ConnectDialogs();
    ConnectStatus();
}

// The editor goes before the task list it holds a recording on: children outlive the members.
MainWindow::~MainWindow()
{
    delete m_editor;
}

QAction* MainWindow::AddMenuAction(QMenu* menu, const char* name, const QKeySequence& shortcut,
                                   CommandState::Control control)
{
    auto* action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setEnabled(CommandState::IsEnabled(control, false));
    m_commands.emplace_back(action, control);
    return action;
}

void MainWindow::BuildMenus()
{
    using CommandState::Control;
    m_fileMenu = menuBar()->addMenu(QString());
    m_fileMenu->setObjectName(QStringLiteral("mnuFile"));
    m_newAction = AddMenuAction(m_fileMenu, "mnuFileNuovo", QKeySequence(Qt::CTRL | Qt::Key_N), Control::New);
    m_openAction = AddMenuAction(m_fileMenu, "mnuFileApri", QKeySequence(Qt::CTRL | Qt::Key_O), Control::Open);
    m_appendAction = AddMenuAction(m_fileMenu, "mnuFileAggiungi", QKeySequence(Qt::CTRL | Qt::Key_A), Control::Append);
    m_saveAction = AddMenuAction(m_fileMenu, "mnuFileSalva", QKeySequence(Qt::CTRL | Qt::Key_S), Control::Save);
    m_exitAction = AddMenuAction(m_fileMenu, "mnuFileEsci", QKeySequence(Qt::CTRL | Qt::Key_Q), Control::Exit);

    m_commandsMenu = menuBar()->addMenu(QString());
    m_commandsMenu->setObjectName(QStringLiteral("mnuComandi"));
    m_recordAction = AddMenuAction(m_commandsMenu, "mnuComandiRec", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12),
                                   Control::Record);
    m_playAction = AddMenuAction(m_commandsMenu, "mnuComandiPlay", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F11),
                                 Control::Play);
    m_deleteLastAction = AddMenuAction(m_commandsMenu, "mnuComandiCanc", QKeySequence(Qt::Key_Delete), Control::Delete);
    m_optionsAction = AddMenuAction(m_commandsMenu, "mnuComandiImpostazioni", QKeySequence(), Control::Options);
    m_insertPauseAction = AddMenuAction(m_commandsMenu, "mnuComandiPausa", QKeySequence(), Control::InsertPause);

    m_helpMenu = menuBar()->addMenu(TextTable::Text(TextId::HelpMenu));
    m_helpMenu->setObjectName(QStringLiteral("mnuHelp"));
    m_helpPageAction = AddMenuAction(m_helpMenu, "mnuGotosite", QKeySequence(Qt::Key_F1), Control::OnlineHelp);
    m_aboutAction = AddMenuAction(m_helpMenu, "mnuHelpAbout", QKeySequence(Qt::Key_F3), Control::About);

    connect(m_deleteLastAction, &QAction::triggered, this, &MainWindow::DeleteLastTask);
    connect(m_exitAction, &QAction::triggered, this, &MainWindow::Exit);
    connect(m_helpPageAction, &QAction::triggered, this, &MainWindow::OpenHelpPage);
}

void MainWindow::BuildGrid()
{
    auto* body = new QWidget(this);
    setCentralWidget(body);

    m_grid = new TaskGrid(body);
    m_grid->setObjectName(QStringLiteral("grdComandi"));
    m_grid->setModel(&m_tasks);
    m_grid->setColumnHidden(TaskList::kColumnImage, true);
    m_grid->move(0, 0);
    m_grid->setEnabled(CommandState::IsEnabled(CommandState::Control::TaskGrid, false));
    // The editor gives the grid its delegate: rows that cannot be played marked, cells changed in place.

    // The grid's current row and the task list's current row (the playback position) follow each other.
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_tasks.SetCurrentRow(current.row() + 1);
            });
    connect(&m_tasks, &TaskList::currentRowChanged, this, [this](int row) {
        const QModelIndex index = m_tasks.index(row - 1, TaskList::kColumnX);
        if (index.isValid() && m_grid->currentIndex().row() != index.row())
            m_grid->setCurrentIndex(index);
    });

    m_preview = new TaskPreview(body);
    m_preview->setObjectName(QStringLiteral("Picture1"));
    m_preview->raise();
}

void MainWindow::Start()
{
    resize(TwipsToPixels(kFormWidth, this), TwipsToPixels(kFormHeight, this));
    LayoutGrid();
    SetCaptions();
    m_grid->horizontalHeader()->setDefaultSectionSize(TwipsToPixels(kDefaultColumnWidth, this));
    m_grid->setColumnWidth(TaskList::kColumnTask, TwipsToPixels(kTaskColumnWidth, this));
    const int side = TwipsToPixels(kPictureSide, this);
    m_preview->setGeometry(TwipsToPixels(kPictureLeft, this), TwipsToPixels(kPictureTop, this), side, side);
    m_state = SharedState{};
    m_state.screenCheck = m_services.screenCheck;
    m_state.pace = m_services.pace;
    ApplyOptions(m_state.options);
    if (m_services.settings)
        m_state.keyboard = KeyboardOptions::Load(*m_services.settings);
    show();
    StopKeyReminder::WatchReportedStates(windowHandle(),
                                         [this](bool minimised) { m_restoreWatch.Reported(minimised); });
    m_files->LoadCommandLineFile(m_services.arguments);
}

void MainWindow::SetCaptions()
{
    UpdateCaption();
    m_editor->SetCaptions();
    const std::pair<QAction*, TextId> actionCaptions[] = {
        {m_aboutAction, TextId::AboutCommand},
        {m_exitAction, TextId::ExitCommand},
        {m_recordAction, TextId::RecordCommand},
        {m_playAction, TextId::PlayCommand},
        {m_playFromHereAction, TextId::PlayFromHereCommand},
        {m_playSelectionAction, TextId::PlaySelectionCommand},
        {m_stepAction, TextId::StepCommand},
        {m_deleteLastAction, TextId::DeleteLastTaskCommand},
        {m_openAction, TextId::OpenCommand},
        {m_saveAction, TextId::SaveCommand},
        {m_appendAction, TextId::AppendCommand},
        {m_newAction, TextId::NewCommand},
        {m_helpPageAction, TextId::OnlineHelpCommand},
        {m_optionsAction, TextId::OptionsCommand},
        {m_insertPauseAction, TextId::InsertPauseCommand},
    };
    m_fileMenu->setTitle(TextTable::Text(TextId::FileMenu));
    m_commandsMenu->setTitle(TextTable::Text(TextId::CommandsMenu));
    for (const auto& [action, id] : actionCaptions)
        action->setText(TextTable::Text(id));
}

void MainWindow::UpdateCommandState(bool flag)
{
    for (const auto& [action, control] : m_commands)
        action->setEnabled(CommandState::IsEnabled(control, flag));
    m_grid->setEnabled(CommandState::IsEnabled(CommandState::Control::TaskGrid, flag));
    // The keys reach the rows as soon as there are rows: F2, Enter, the arrows.
    if (m_grid->isEnabled())
        m_grid->setFocus();
    m_preview->Clear();
}

OptionValues MainWindow::CurrentOptions() const
{
    return m_state.options;
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

void MainWindow::DeleteLastTask()
{
    if (m_tasks.IsEmpty())
        UpdateCommandState(false);
    else
        m_editor->Apply(TaskEdits::Remove(m_tasks, {m_tasks.TaskCount()}));
}

void MainWindow::Exit()
{
    if (!m_files->MayDiscardChanges())
        return;
    QApplication::closeAllWindows();
    QApplication::exit(m_exitStatus);
}

void MainWindow::ShowNote(const QString& text, bool toStderr)
{
    if (toStderr)
        StderrMessageBoxes::Print(text);
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

void MainWindow::OpenHelpPage()
{
    m_services.openUrl(QUrl(TextTable::Text(TextId::HelpPageAddress)));
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
    // The grid leaves the window's frame, title and menu bar room, as sized by the window system.
    const QRect frame = frameGeometry();
    const int width = std::max(0, frame.width() - TwipsToPixels(kGridWidthMargin, this));
    // A status bar (the Wayland warning) takes its room from the grid.
    const auto* bar = findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    const int barHeight = bar && bar->isVisible() ? bar->height() : 0;
    const int height = std::max(0, frame.height() - TwipsToPixels(kGridHeightMargin, this) - barHeight);
    m_grid->resize(width, height);
}
