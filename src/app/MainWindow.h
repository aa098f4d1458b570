#pragma once

#include "app/CommandState.h"
#include "app/Run.h"
#include "app/StopKeyReminder.h"
#include "core/OptionValues.h"
#include "core/PaceOptions.h"
#include "core/ScreenCheckOptions.h"
#include "player/Player.h"
#include "recorder/Recorder.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class Desktop;
class FileChooser;
class FileCommands;
class MessageBoxes;
class Notifier;
class AboutBox;
class QAction;
class QLabel;
class QMenu;
class QSettings;
class QTableView;
class StatusIndicator;
class TaskPreview;

// What the main window reaches the outside world through; tests pass their own.
struct MainWindowServices
{
    MessageBoxes* messages = nullptr;
    Desktop* desktop = nullptr;
    // Opens an address in the user's browser; QDesktopServices where not given.
    std::function<bool(const QUrl&)> openUrl;
    // The file dialog of Open, Append and Save; those commands do nothing without one.
    FileChooser* files = nullptr;
    // The program's arguments without its own name and its options: a macro file named there is
    // loaded and played.
    QStringList arguments = {};
    // The check of the screen before each click at start-up: the user's settings with what the
    // command line changes for this run.
    ScreenCheckOptions screenCheck = {};
    // Where a screen check changed in the Options dialog is kept; nowhere when not given.
    QSettings* settings = nullptr;
    // The pace of recording and the speed of playing: the user's settings with the command line's speed.
    PaceOptions pace = {};
    // No one watches (--unattended): messages go to stderr (the messages given are such), the
    // program ends after playing, and its exit status tells how the run went.
    bool unattended = false;
    // Tells a person that a run which closes the program failed; nothing told when not given.
    Notifier* notifier = nullptr;
};

// The program's one working window and its composition root: it owns the task list, the timers
// and the shared state, and wires the subsystems to its menus.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Sets the captions, the size and the defaults, shows the window and plays a macro file
    // named on the command line.
    void Start();

    TaskList& Tasks() { return m_tasks; }
    SharedState& State() { return m_state; }
    // The owner of recordings and playbacks; none without a desktop to record from and play on.
    Run* RunOwner() { return m_run.get(); }
    bool IsRecording() const { return m_run && m_run->Current() == Run::State::Recording; }
    bool IsPlaying() const { return m_run && m_run->Current() == Run::State::Playing; }
    // True while the file named on the command line is read, after the load and before it plays.
    bool ReadsCommandLineFile() const;

    // Enables or disables the commands that need a task list, and clears the preview.
    void UpdateCommandState(bool flag);
    // The two intervals and three switches in force, and their change (Options, opened files).
    OptionValues CurrentOptions() const;
    void ApplyOptions(const OptionValues& options);
    // What the program returns when it ends.
    int ExitStatus() const { return m_exitStatus; }
    // Appends a pause task of this many seconds and enables the task commands.
    void AppendPause(int seconds);

public slots:
    // Starts playback at the first task: the Play menu entry and the command-line loader.
    void Play();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void DeleteLastTask();
    void Exit();
    void OpenHelpPage();

    // Recording (MainWindowRecording.cpp)
    void Record();

    // Playback and pauses (MainWindowPlayback.cpp)
    void AskForPause();

    // Options, preview, About (MainWindowDialogs.cpp)
    void EditOptions();
    void ShowAbout();
    // The preview follows the user's picks in the grid: a click, or a key once it has moved the row.
    void GridClicked();
    void GridKeyReleased(int keyCode, Qt::KeyboardModifiers shift);

private:
    void BuildMenus();
    void BuildGrid();
    void SetCaptions();
    void LayoutControls();
    StopKeyReminder::WindowChange CurrentChange() const;
    void RemindOfStopKeys();
    void LayoutGrid();
    // A menu entry, enabled as the command-state rule has it for a window without tasks.
    QAction* AddMenuAction(QMenu* menu, const char* name, const QKeySequence& shortcut, CommandState::Control control);

    // Each subsystem connects its menus and timers in one of these.
    void ConnectRecording();
    void ConnectPlayback();
    void ConnectFiles();
    void ConnectDialogs();
    void ConnectStatus();

    // What runs, shown in the status indicator and the caption (MainWindowStatus.cpp).
    void ShowStatus();
    // The one place that sets the caption: what runs, then the title.
    void UpdateCaption();
    // The indicator's Stop: what the stop keys do.
    void StopFromIndicator();
    void IndicatorMenuShown(bool shown);

    // While a file is read the commands wait: the menus are off, the window goes on.
    void ShowReading(bool reading);
    void PreviewCurrentRow();
    // Reports a task whose screen never matched: a line on stderr, and the box or the end of the
    // program when playback stopped there.
    void ReportScreenMismatch(const ScreenMismatch& mismatch, bool skipped);
    // The stop keys or the tray stopped playback.
    void PlaybackStopped(qint64 executedTasks);
    // A run that closes the program when it is done: the file's switch, or --unattended.
    bool ClosesAfterPlaying() const;
    // Ends a run that closed the program: tells a failure to a person, and ends with this status.
    void EndRun(int status, const QString& failure = QString());
    // The file named on the command line could not be used (MainWindowFiles.cpp).
    void CommandLineFileFailed(const QString& text, const QString& line);
    // The status line's note, and the same on stderr when stderr is asked for.
    void ShowNote(const QString& text, bool toStderr);
    // Counts the rows that cannot be played after a file was read, for the status line.
    void TellUnplayableRows();

    MainWindowServices m_services;
    SharedState m_state;
    TaskList m_tasks;

    QTableView* m_grid = nullptr;
    TaskPreview* m_preview = nullptr;

    QMenu* m_fileMenu = nullptr;
    QAction* m_newAction = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_appendAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_exitAction = nullptr;
    QMenu* m_commandsMenu = nullptr;
    QAction* m_recordAction = nullptr;
    QAction* m_playAction = nullptr;
    QAction* m_deleteLastAction = nullptr;
    QAction* m_optionsAction = nullptr;
    QAction* m_insertPauseAction = nullptr;
    QMenu* m_helpMenu = nullptr;
    QAction* m_helpPageAction = nullptr;
    QAction* m_aboutAction = nullptr;
    // Every menu entry with the control it is in the command-state rule.
    std::vector<std::pair<QAction*, CommandState::Control>> m_commands;

    std::unique_ptr<Run> m_run;
    // The run's recorder and player, for the window's connections; null where m_run is.
    Recorder* m_recorder = nullptr;
    Player* m_player = nullptr;
    std::unique_ptr<FileCommands> m_files;
    QPointer<AboutBox> m_aboutBox; // one About box at a time
    StatusIndicator* m_indicator = nullptr;
    QLabel* m_note = nullptr; // the status line's note: rows that cannot be played, remarks of a run
    QTimer m_statusPacing;    // shows progress held back once the tasks have paused
    QElapsedTimer m_statusShown;
    bool m_statusPending = false;
    bool m_reminderPending = false;
    StopKeyReminder::RestoreWatch m_restoreWatch; // tells the user's restores from the window manager's
    // What the program returns when it ends: not 0 when a run that closed it did not click every task.
    int m_exitStatus = 0;
};
