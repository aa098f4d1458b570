#pragma once

#include "app/Run.h"
#include "app/StopKeyReminder.h"
#include "core/OptionValues.h"
#include "core/PaceOptions.h"
#include "core/ScreenCheckOptions.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QMainWindow>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class CommandLineStart;
class Desktop;
class EditorCommands;
class FileChooser;
class FileCommands;
class MainMenus;
class MessageBoxes;
class Notifier;
class QLabel;
class QSettings;
class RunReporter;
class RunStatusDisplay;
class StatusIndicator;
class TaskArea;
class TaskEditor;
class TaskGrid;
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
    // Shows what runs (the tray icon); the window makes its own when not given.
    StatusIndicator* indicator = nullptr;
    // The command line's file came from elsewhere (--ask): what it does is shown, and it plays
    // only once the user says Play.
    bool askBeforePlaying = false;
};

// The program's one working window and its composition root: it owns the task list and the
// shared state, builds the menus and the grid, wires the subsystems to them (the run, the file
// commands, the editor and its commands, the reporter of runs, start-up) and shows what they report.
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
    // The one door to recordings, playbacks and picks; none without a desktop to work on.
    Run* RunOwner() { return m_run.get(); }
    bool IsRecording() const { return m_run && m_run->IsRecording(); }
    bool IsPlaying() const { return m_run && m_run->IsPlaying(); }
    // True while the file named on the command line is read, after the load and before it plays.
    bool ReadsCommandLineFile() const;

    // Enables or disables the commands that need a task list, and clears the preview.
    void UpdateCommandState(bool flag);
    // The two intervals and three switches in force, and their change (Options, opened files).
    OptionValues CurrentOptions() const { return m_state.options; }
    void ApplyOptions(const OptionValues& options);
    // What the program returns when it ends.
    int ExitStatus() const;
    // Appends a pause task of this many seconds and enables the task commands.
    void AppendPause(int seconds);

public slots:
    // Starts playback at the first task: the Play menu entry.
    void Play();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildGrid();
    // Each subsystem is made and wired to the menus in one of these.
    void ConnectRun();
    void ConnectFiles();
    void ConnectCommands();

    void SetCaptions();
    // The one place that sets the caption: what runs, then the title.
    void UpdateCaption();
    void Exit();
    void Record();
    // Play from the current row, the selected rows only, or by steps from the current row.
    void PlayPart(PlayRange range);
    void LayoutControls();
    StopKeyReminder::WindowChange CurrentChange() const;
    void RemindOfStopKeys();
    void LayoutGrid();
    // While a file is read the commands wait: the menus are off, the window goes on.
    void ShowReading(bool reading);
    // The preview of the grid's current row, beside what the last run saw there.
    void PreviewCurrentRow();
    // The status line's note: what a read file changed, rows that cannot be played, remarks of a run.
    void ShowNote(const QString& text);

    MainWindowServices m_services;
    SharedState m_state;
    TaskList m_tasks;

    TaskArea* m_area = nullptr;
    TaskGrid* m_grid = nullptr;
    TaskPreview* m_preview = nullptr;

    std::unique_ptr<MainMenus> m_menus;
    std::unique_ptr<Run> m_run;
    std::unique_ptr<FileCommands> m_files;
    TaskEditor* m_editor = nullptr; // the Edit menu
    EditorCommands* m_editorCommands = nullptr;
    RunReporter* m_reporter = nullptr;
    RunStatusDisplay* m_status = nullptr;
    CommandLineStart* m_start = nullptr;
    QLabel* m_note = nullptr;
    bool m_reminderPending = false;
    StopKeyReminder::RestoreWatch m_restoreWatch; // tells the user's restores from the window manager's
};
