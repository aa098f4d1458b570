#include "app/MainWindow.h"

#include "app/TaskPreview.h"
#include "app/Twips.h"
#include "core/AppInfo.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"
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

constexpr int kPauseIntervalMs = 1000;
} // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services))
{
    setObjectName(QStringLiteral("Form1"));
    if (!m_services.openUrl)
        m_services.openUrl = [](const QUrl& url) {
            return QDesktopServices::openUrl(url);
        };

    // The timers are members, destroyed before the window lets go of its children.
    for (QTimer* timer : {&tmrRec, &tmrPlay, &tmrPause}) {
        timer->setParent(this);
        timer->setTimerType(Qt::PreciseTimer);
    }
    tmrRec.setObjectName(QStringLiteral("tmrRec"));
    tmrPlay.setObjectName(QStringLiteral("tmrPlay"));
    tmrPause.setObjectName(QStringLiteral("tmrPause"));
    ApplyOptions(OptionValues{});
    tmrPause.setInterval(kPauseIntervalMs);

    BuildMenus();
    BuildGrid();
    // Each subsystem connects its menus and timers here.
    ConnectRecording();
    ConnectPlayback();
    ConnectFiles();
    ConnectDialogs();
    ConnectStatus();
}

MainWindow::~MainWindow() = default;

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
    mnuFile = menuBar()->addMenu(QString());
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileNuovo = AddMenuAction(mnuFile, "mnuFileNuovo", QKeySequence(Qt::CTRL | Qt::Key_N), Control::New);
    mnuFileApri = AddMenuAction(mnuFile, "mnuFileApri", QKeySequence(Qt::CTRL | Qt::Key_O), Control::Open);
    mnuFileAggiungi = AddMenuAction(mnuFile, "mnuFileAggiungi", QKeySequence(Qt::CTRL | Qt::Key_A), Control::Append);
    mnuFileSalva = AddMenuAction(mnuFile, "mnuFileSalva", QKeySequence(Qt::CTRL | Qt::Key_S), Control::Save);
    mnuFileEsci = AddMenuAction(mnuFile, "mnuFileEsci", QKeySequence(Qt::CTRL | Qt::Key_Q), Control::Exit);

    mnuComandi = menuBar()->addMenu(QString());
    mnuComandi->setObjectName(QStringLiteral("mnuComandi"));
    mnuComandiRec =
        AddMenuAction(mnuComandi, "mnuComandiRec", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12), Control::Record);
    mnuComandiPlay =
        AddMenuAction(mnuComandi, "mnuComandiPlay", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F11), Control::Play);
    mnuComandiCanc = AddMenuAction(mnuComandi, "mnuComandiCanc", QKeySequence(Qt::Key_Delete), Control::Delete);
    mnuComandiImpostazioni = AddMenuAction(mnuComandi, "mnuComandiImpostazioni", QKeySequence(), Control::Options);
    mnuComandiPausa = AddMenuAction(mnuComandi, "mnuComandiPausa", QKeySequence(), Control::InsertPause);

    mnuHelp = menuBar()->addMenu(QStringLiteral("?"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuGotosite = AddMenuAction(mnuHelp, "mnuGotosite", QKeySequence(Qt::Key_F1), Control::OnlineHelp);
    mnuHelpAbout = AddMenuAction(mnuHelp, "mnuHelpAbout", QKeySequence(Qt::Key_F3), Control::About);

    connect(mnuComandiCanc, &QAction::triggered, this, &MainWindow::mnuComandiCanc_Click);
    connect(mnuFileEsci, &QAction::triggered, this, &MainWindow::mnuFileEsci_Click);
    connect(mnuGotosite, &QAction::triggered, this, &MainWindow::mnuGotosite_Click);
}

void MainWindow::BuildGrid()
{
    auto* body = new QWidget(this);
    setCentralWidget(body);

    grdComandi = new QTableView(body);
    grdComandi->setObjectName(QStringLiteral("grdComandi"));
    grdComandi->setModel(&m_tasks);
    grdComandi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdComandi->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdComandi->setSelectionMode(QAbstractItemView::SingleSelection);
    grdComandi->setSortingEnabled(false);
    grdComandi->verticalHeader()->hide();
    grdComandi->setColumnHidden(TaskList::kColumnImage, true);
    grdComandi->move(0, 0);
    grdComandi->setEnabled(CommandState::IsEnabled(CommandState::Control::TaskGrid, false));

    // The grid's current row and the task list's current row (the playback position) follow each other.
    connect(grdComandi->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    m_tasks.SetCurrentRow(current.row() + 1);
            });
    connect(&m_tasks, &TaskList::currentRowChanged, this, [this](int row) {
        const QModelIndex index = m_tasks.index(row - 1, TaskList::kColumnX);
        if (index.isValid() && grdComandi->currentIndex().row() != index.row())
            grdComandi->setCurrentIndex(index);
    });

    Picture1 = new TaskPreview(body);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->raise();
}

void MainWindow::Form_Load()
{
    resize(TwipsToPixels(kFormWidth, this), TwipsToPixels(kFormHeight, this));
    LayoutGrid();
    SetCaptions();
    grdComandi->horizontalHeader()->setDefaultSectionSize(TwipsToPixels(kDefaultColumnWidth, this));
    grdComandi->setColumnWidth(TaskList::kColumnTask, TwipsToPixels(kTaskColumnWidth, this));
    const int side = TwipsToPixels(kPictureSide, this);
    Picture1->setGeometry(TwipsToPixels(kPictureLeft, this), TwipsToPixels(kPictureTop, this), side, side);
    m_state = SharedState{};
    m_state.screenCheck = m_services.screenCheck;
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
    const std::pair<QAction*, int> actionCaptions[] = {
        {mnuHelpAbout, 109},   {mnuFileEsci, 110}, {mnuComandiRec, 112},          {mnuComandiPlay, 113},
        {mnuComandiCanc, 124}, {mnuFileApri, 131}, {mnuFileSalva, 132},           {mnuFileAggiungi, 133},
        {mnuFileNuovo, 134},   {mnuGotosite, 137}, {mnuComandiImpostazioni, 138}, {mnuComandiPausa, 140},
    };
    mnuFile->setTitle(TextTable::Text(108));
    mnuComandi->setTitle(TextTable::Text(111));
    for (const auto& [action, id] : actionCaptions)
        action->setText(TextTable::Text(id));
}

void MainWindow::UpdateCommandState(bool flag)
{
    for (const auto& [action, control] : m_commands)
        action->setEnabled(CommandState::IsEnabled(control, flag));
    grdComandi->setEnabled(CommandState::IsEnabled(CommandState::Control::TaskGrid, flag));
    Picture1->Clear();
}

OptionValues MainWindow::CurrentOptions() const
{
    return m_state.options;
}

void MainWindow::ApplyOptions(const OptionValues& options)
{
    m_state.options = options;
    tmrPlay.setInterval(options.playIntervalMs);
    tmrRec.setInterval(options.recIntervalMs);
}

void MainWindow::mnuComandiCanc_Click()
{
    if (m_tasks.DeleteLastTask())
        UpdateCommandState(false);
}

void MainWindow::mnuFileEsci_Click()
{
    if (!m_files->MayDiscardChanges())
        return;
    QApplication::closeAllWindows();
    QApplication::exit(m_exitStatus);
}

void MainWindow::mnuGotosite_Click()
{
    m_services.openUrl(QUrl(TextTable::Text(205)));
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

// The window manager may add its frame after the first resize: lay out again when it moves the window.
void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (!isMinimized() && !m_state.recording && !m_state.playing)
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
    return {isMinimized(), m_state.recording, m_state.playing, m_restoreWatch.RestoredByUser()};
}

void MainWindow::Form_Resize()
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
        if (m_state.recording || m_state.playing)
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
    grdComandi->resize(width, height);
}
