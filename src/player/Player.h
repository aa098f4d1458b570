#pragma once

#include "player/ScreenCheck.h"
#include "player/StepSchedule.h"

#include <QObject>
#include <QString>

#include <map>
#include <optional>

class Desktop;
class QTimer;
class TaskList;
struct SharedState;

// Where a run stands: the task (row) played last of how many, in which pass over the list.
struct PlaybackProgress
{
    int task = 0;
    int taskCount = 0;
    int pass = 0;

    friend bool operator==(const PlaybackProgress&, const PlaybackProgress&) = default;
};

// The playback engine: runs the task list one task per tick of m_stepTimer, counts pauses down on
// m_pauseTimer and watches the Ctrl+Shift+F11 stop keys on the recording poll's tick. The task list's
// current row is the playback position. It touches no widget: what the main window must do
// (minimise, restore, show a message, end the program) goes out as signals.
class Player : public QObject
{
    Q_OBJECT

public:
    // The name of the dynamic property of m_pauseTimer that holds the seconds still to wait.
    static constexpr const char* kPauseTag = "Tag";

    Player(TaskList& tasks, Desktop& desktop, SharedState& state, QTimer& m_stepTimer, QTimer& m_pauseTimer,
           QTimer& m_pollTimer, QObject* parent = nullptr);
    // Releases any button a pushed task left down.
    ~Player() override;

    // Starts playback at row 1; the first task runs one m_stepTimer interval later.
    void Play();
    // Runs the task at the current row and moves on to the next one.
    void Step();
    // Counts a pause down; once it has reached 0, the next tick restarts m_stepTimer.
    void CountPauseDown();
    // Stops playback once Ctrl+Shift+F11 are held and F11 is released; true when it stopped.
    bool PlaybackStopCheck();
    // Stops playback as the stop keys do: buttons let go, the window restored, the count reported.
    void Stop();
    // While held, a task that falls due waits; it runs when the hold ends (on the schedule's
    // catch-up rule), unless playback was stopped meanwhile.
    void HoldTicks(bool hold);

    // Releases the buttons that pushed tasks pressed and no released task has let go yet.
    void ReleaseHeldButtons();

    // Rows processed since playback started, over every pass.
    qint64 ExecutedTasks() const { return m_executed; }
    PlaybackProgress Progress() const { return m_progress; }
    // The seconds still to wait in the running pause, as m_pauseTimer keeps them.
    int PauseSecondsLeft() const;

    // True while a task waits for the screen to match its image.
    bool WaitingForScreen() const { return m_screenCheck.IsWaiting(); }
    // Tasks skipped since playback started because the screen never matched their image.
    qint64 SkippedTasks() const { return m_skipped; }
    // Where the last run stopped because the screen never matched, if it did.
    const std::optional<ScreenMismatch>& StoppedOn() const { return m_stoppedOn; }
    // Tasks clicked since playback started where their image was found, away from their point.
    qint64 FoundElsewhere() const { return m_foundElsewhere; }
    // Where the last run found a task's image away from its point: the offset and the screen
    // there (null for the release of a drag, which follows its press unlooked).
    struct FoundPlace
    {
        QPoint offset;
        QImage screen;
        QByteArray storedImage;
    };
    const FoundPlace* FoundAt(int row) const;

    // The message that reports a stopped playback.
    static QString StopMessage(qint64 executedTasks);

signals:
    void minimiseRequested();
    void normalRequested();
    // The whole list has run and the program stays open: the message to show.
    void finished(const QString& message);
    // The stop keys ended playback after this many processed rows.
    void stopped(qint64 executedTasks);
    // The whole list has run and the close-after-playing switch is set.
    void closeProgramRequested();
    // The screen never matched a task's image: the task was skipped and the run goes on.
    void taskSkipped(const ScreenMismatch& mismatch);
    // The screen never matched a task's image and playback stopped there.
    void stoppedOnMismatch(const ScreenMismatch& mismatch);
    // A task was clicked `offset` away from its point, where its image was found.
    void taskFound(int row, QPoint offset);
    // A task has run (or playback started, at the first task of pass 1).
    void progressChanged(const PlaybackProgress& progress);

private:
    // Starts the check of the screen before a task that has an image; true while it waits.
    bool WaitsForScreen(int row);
    void ScreenNeverMatched(const ScreenMismatch& mismatch);
    // Takes where the check found the task's image as the place to click it.
    void TakeFoundPlace();
    // Runs the waiting task, or skips it, and goes on as after any task.
    void ResumeAfterScreenCheck(bool runTask);
    // Moves on to the next row, or ends the run after the last one.
    void FinishStep(int row);
    void RunTask(int row);
    void StartPause(const QString& lengthText);
    void StopTimersAndRestore();
    void ReportProgress(int row);

    TaskList& m_tasks;
    Desktop& m_desktop;
    SharedState& m_state;
    QTimer& m_stepTimer;
    QTimer& m_pauseTimer;
    QTimer& m_pollTimer;

    qint64 m_executed = 0;
    // The stop keys count only after they have been seen not all down since playback started,
    // so the Ctrl+Shift+F11 shortcut that started playback does not stop it at once.
    bool m_stopKeysArmed = false;
    // Button codes (1, 2, 4) currently held down by pushed tasks.
    int m_heldButtons = 0;
    PlaybackProgress m_progress;
    bool m_checkDeferred = false;
    bool m_ticksHeld = false;
    bool m_tickWaiting = false;
    // Paces m_stepTimer; each start, after Play or after a pause, begins a schedule of its own.
    StepSchedule m_schedule;
    ScreenCheck m_screenCheck;
    qint64 m_skipped = 0;
    std::optional<ScreenMismatch> m_stoppedOn;
    // Where the running task is clicked, from its point; where the last one was found, for the next
    // to be looked for there first; where each held button's press was found, for its release.
    QPoint m_taskOffset;
    QPoint m_findOffset;
    std::map<int, QPoint> m_pressOffsets;
    qint64 m_foundElsewhere = 0;
    std::map<int, FoundPlace> m_found;
};
