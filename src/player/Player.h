#pragma once

#include "core/MouseButton.h"
#include "player/InputPlayer.h"
#include "player/ScreenCheck.h"
#include "player/StepSchedule.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <array>
#include <bitset>
#include <map>
#include <optional>
#include <vector>

class Desktop;
struct TaskRow;
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

// Which rows a playback runs: from `first` to the last task, or only the rows of `only`, in order.
// By steps, each press of Ctrl+Shift+F12 runs one task; no timer does.
struct PlayRange
{
    int first = 1;
    std::vector<int> only; // sorted; empty: every row from first on
    bool bySteps = false;
};

// The playback engine: runs the task list one task per tick of its step timer, counts pauses down
// once a second and watches the Ctrl+Shift+F11 stop keys when its owner's poll asks. The task
// list's current row is the playback position. It touches no widget and never waits: what the main
// window must do (minimise, restore, show a message, end the program) goes out as signals.
class Player : public QObject
{
    Q_OBJECT

public:
    // The options are read, never written: the close and repeat switches and the screen check.
    Player(TaskList& tasks, Desktop& desktop, const SharedState& state, QObject* parent = nullptr);
    // Releases any button a pushed task left down.
    ~Player() override;

    // The time between two tasks, from the next start of the step timer on.
    void SetStepInterval(int milliseconds);

    // Starts playback at the range's first row; the first task runs one step interval later, or at
    // the first step key.
    void Play(PlayRange range = {});
    // Runs the task at the current row and moves on to the next one (the step timer's tick).
    void Step();
    // Counts a pause down (the pause timer's tick, once a second); once it has reached 0, the next
    // tick restarts the steps.
    void CountPauseDown();
    // Run at each poll tick while playing. Once Ctrl+Shift+F11 are held no task runs; playback
    // stops at the first check that finds F11 up, and then it returns true.
    bool PlaybackStopCheck();
    // Stops playback as the stop keys do: buttons let go, the window restored, the count reported.
    void Stop();
    // While held, a task that falls due waits; it runs when the hold ends (on the schedule's
    // catch-up rule), unless playback was stopped meanwhile.
    void HoldTicks(bool hold);

    // True from Play until the run ends, however it ends.
    bool IsPlaying() const { return m_playing; }
    // True while a task's moment is awaited (not while a pause counts down or the screen is awaited).
    bool IsStepping() const { return m_stepTimer.isActive(); }
    bool IsPausing() const { return m_pauseTimer.isActive(); }

    // Plays the tasks of the keys and the wheel; its timer types a typing task's keys.
    InputPlayer& Input() { return m_input; }

    // Rows processed since playback started, over every pass.
    qint64 ExecutedTasks() const { return m_executed; }
    PlaybackProgress Progress() const { return m_progress; }
    // When the next task is due; meaningful while playback steps.
    StepSchedule::Clock::time_point NextTaskDue() const { return m_schedule.NextDue(); }
    // The seconds still to wait in the running pause.
    int PauseSecondsLeft() const { return m_pauseSecondsLeft; }

    // True while a task waits for the screen to match its image.
    bool WaitingForScreen() const { return m_screenCheck.IsWaiting(); }
    // Tasks skipped since playback started: the screen never matched their image, or they cannot
    // be played at all (Playability).
    qint64 SkippedTasks() const { return m_skipped + qint64(m_unplayableRows.size()); }
    // The rows skipped because they cannot be played, in the order met.
    const std::vector<int>& UnplayableRows() const { return m_unplayableRows; }
    // "All task have been executed.", or what was skipped instead.
    QString EndMessage() const;
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
    // The run is over, however it ended (its end, the stop keys, Stop, a screen that never matched).
    void ended();
    // A task has run (or playback started, at the first task of pass 1).
    void progressChanged(const PlaybackProgress& progress);
    // A row that cannot be played was skipped; problem says why.
    void unplayableTask(int row, const QString& problem);
    // Something a person should hear of once, on stderr and in the status line: a screen check
    // over tasks without images, a drag given up.
    void remark(const QString& text);

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
    int FirstRow() const;
    // The row after row in the range, 0 after its last.
    int NextRow(int row) const;
    // By steps: the step key's release runs the task at the current row.
    void CheckStepKey(bool control, bool shift);
    void RunTask(int row);
    // A task of the keyboard or the wheel.
    void RunInputTask(const TaskRow& cells);
    void TypingDone();
    void SkipUntypable(quint32 keysym);
    void StartPause(const QString& lengthText);
    // The time from the previous row's moment to this row's: the recorded wait after a wait task,
    // nothing before one, one time unit otherwise; divided by the speed. previous 0: none.
    StepSchedule::Clock::duration LeadBefore(int row, int previous) const;
    // Tells once when the screen is checked but tasks have no image to check against.
    void RemarkTasksWithoutImages();
    // Lets go of the buttons that pushed tasks hold, each where it was pressed: a drag given up
    // drops nothing anywhere else.
    void ReleaseHeldButtons();
    void Halt();
    bool FinishStopOnceReleased();
    void StopTimersAndRestore();
    void ReportProgress(int row);

    TaskList& m_tasks;
    Desktop& m_desktop;
    const SharedState& m_state;
    QTimer m_stepTimer;
    QTimer m_pauseTimer;
    bool m_playing = false;
    PlayRange m_range;
    bool m_stepKeyDown = false;
    // The stop keys were seen: nothing runs any more, and the run ends once F11 is up.
    bool m_stopping = false;
    int m_pauseSecondsLeft = 0;

    qint64 m_executed = 0;
    // The stop keys count only after they have been seen not all down since playback started,
    // so the Ctrl+Shift+F11 shortcut that started playback does not stop it at once.
    bool m_stopKeysArmed = false;
    // The buttons held down by pushed tasks (by IndexOf), and where each was pressed.
    std::bitset<kMouseButtons.size()> m_heldButtons;
    std::array<QPoint, kMouseButtons.size()> m_pressPoints{};
    // Buttons whose pushed task was skipped: their released task is skipped too.
    std::bitset<kMouseButtons.size()> m_givenUpButtons;
    PlaybackProgress m_progress;
    bool m_checkDeferred = false;
    bool m_ticksHeld = false;
    bool m_tickWaiting = false;
    // Paces m_stepTimer; each start, after Play or after a pause, begins a schedule of its own.
    StepSchedule m_schedule;
    ScreenCheck m_screenCheck;
    InputPlayer m_input;
    int m_typingRow = 0; // the row of the typing task under way
    qint64 m_skipped = 0;
    std::vector<int> m_unplayableRows;
    std::optional<ScreenMismatch> m_stoppedOn;
    // Where the running task is clicked, from its point; where the last one was found, for the next
    // to be looked for there first; where each held button's press was found, for its release.
    QPoint m_taskOffset;
    QPoint m_findOffset;
    std::map<MouseButton, QPoint> m_pressOffsets;
    qint64 m_foundElsewhere = 0;
    std::map<int, FoundPlace> m_found;
};
