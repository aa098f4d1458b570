#pragma once

#include "core/MouseButton.h"
#include "player/InputPlayer.h"
#include "player/PathPlayer.h"
#include "player/PlayRange.h"
#include "player/PlaybackMessages.h"
#include "player/PlaybackProgress.h"
#include "player/PlayedButtons.h"
#include "player/ScreenCheck.h"
#include "player/StepSchedule.h"
#include "player/StopKeyWatch.h"
#include "player/TaskPlacement.h"
#include "player/TaskScreenCheck.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <optional>
#include <vector>

class Desktop;
struct TaskRow;
class TaskList;
struct SharedState;

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
    QString EndMessage() const
    {
        return PlaybackMessages::Finished(m_unplayableRows, m_skipped, m_placement.FoundElsewhere());
    }
    // Where the last run stopped because the screen never matched, if it did.
    const std::optional<ScreenMismatch>& StoppedOn() const { return m_stoppedOn; }
    // Tasks clicked since playback started where their image was found, away from their point.
    qint64 FoundElsewhere() const { return m_placement.FoundElsewhere(); }
    // Where the last run found a task's image away from its point.
    using FoundPlace = TaskPlacement::FoundPlace;
    const FoundPlace* FoundAt(int row) const { return m_placement.FoundAt(row); }

    // The message that reports a stopped playback.
    static QString StopMessage(qint64 executedTasks) { return PlaybackMessages::Stopped(executedTasks); }

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
    void ScreenNeverMatched(const ScreenMismatch& mismatch);
    // The task of a button at its point, or where its image was found.
    void RunButtonTask(int row, const TaskRow& cells, const TaskKinds::Kind& kind);
    // Runs the waiting task, or skips it, and goes on as after any task.
    void ResumeAfterScreenCheck(bool runTask);
    // Moves on to the next row, or ends the run after the last one.
    void FinishStep(int row);
    void RunTask(int row);
    // Runs the task and moves on, at once or, for a typing or path task, once it is done.
    void RunStep(int row);
    // A task of the keyboard or the wheel.
    void RunInputTask(const TaskRow& cells);
    // A typing task has typed its last key, or a path task has reached its last point.
    void InputDone();
    // True while a typing task types or a path task moves the pointer.
    bool InputUnderWay() const { return m_input.IsTyping() || m_path.IsMoving(); }
    // Counts the row as one that cannot be played, and says why.
    void SkipRow(int row, const QString& problem);
    void StartPause(const QString& lengthText);
    // The time from the previous row's moment to this row's: the recorded wait after a wait task,
    // nothing before one, one time unit otherwise; divided by the speed. previous 0: none.
    StepSchedule::Clock::duration LeadBefore(int row, int previous) const;
    // Lets go of the buttons that pushed tasks hold, with a remark.
    void ReleaseHeldButtons();
    void Halt();
    void StopTimersAndRestore();
    void ReportProgress(int row);

    TaskList& m_tasks;
    Desktop& m_desktop;
    const SharedState& m_state;
    QTimer m_stepTimer;
    QTimer m_pauseTimer;
    bool m_playing = false;
    PlayRange m_range;
    // Once it has seen the stop keys nothing runs any more, and the run ends once F11 is up.
    StopKeyWatch m_stopKeys;
    int m_pauseSecondsLeft = 0;

    qint64 m_executed = 0;
    PlayedButtons m_buttons;
    PlaybackProgress m_progress;
    bool m_ticksHeld = false;
    bool m_tickWaiting = false;
    // Paces m_stepTimer; each start, after Play or after a pause, begins a schedule of its own.
    StepSchedule m_schedule;
    InputPlayer m_input;
    PathPlayer m_path;
    int m_inputRow = 0; // the row of the typing or path task under way
    qint64 m_skipped = 0;
    std::vector<int> m_unplayableRows;
    std::optional<ScreenMismatch> m_stoppedOn;
    TaskPlacement m_placement;
    TaskScreenCheck m_screenCheck; // places tasks through m_placement
};
