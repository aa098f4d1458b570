#include "player/Player.h"

#include "core/AppPaths.h"
#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "tasks/Playability.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// A pause counts down in whole seconds.
constexpr int kPauseTickMs = 1000;
// How long before a task is due the stop-key check keeps away.
constexpr std::chrono::milliseconds kQuietBeforeTask{10};

TaskRow CellsOf(const TaskList& tasks, int row)
{
    return TaskRow{tasks.Cell(row, TaskList::kColumnX),
                   tasks.Cell(row, TaskList::kColumnY),
                   tasks.Cell(row, TaskList::kColumnTask),
                   {}};
}

} // namespace

Player::Player(TaskList& tasks, Desktop& desktop, const SharedState& state, QObject* parent)
    : QObject(parent), m_tasks(tasks), m_desktop(desktop), m_state(state), m_stopKeys(desktop), m_buttons(desktop),
      m_schedule(m_stepTimer), m_input(desktop), m_path(desktop), m_screenCheck(tasks, desktop, state, m_placement)
{
    connect(&m_input, &InputPlayer::typed, this, &Player::InputDone);
    connect(&m_path, &PathPlayer::moved, this, &Player::InputDone);
    // An untypable character ends its row (the rest typed without it would be worse): skipped.
    connect(&m_input, &InputPlayer::untypable, this,
            [this](quint32 keysym) { SkipRow(m_tasks.CurrentRow(), PlaybackMessages::Untypable(keysym)); });
    m_stepTimer.setObjectName(QStringLiteral("tmrPlay"));
    m_pauseTimer.setObjectName(QStringLiteral("tmrPause"));
    for (QTimer* timer : {&m_stepTimer, &m_pauseTimer}) {
        timer->setParent(this);
        timer->setTimerType(Qt::PreciseTimer);
    }
    m_stepTimer.setInterval(m_state.options.playIntervalMs);
    m_pauseTimer.setInterval(kPauseTickMs);
    connect(&m_stepTimer, &QTimer::timeout, this, &Player::Step);
    connect(&m_pauseTimer, &QTimer::timeout, this, &Player::CountPauseDown);
    connect(&m_screenCheck, &TaskScreenCheck::matched, this, [this] { ResumeAfterScreenCheck(true); });
    connect(&m_screenCheck, &TaskScreenCheck::gaveUp, this, &Player::ScreenNeverMatched);
}

Player::~Player()
{
    m_desktop.ReleaseHeld();
}

void Player::SetStepInterval(int milliseconds)
{
    m_stepTimer.setInterval(milliseconds);
}

void Player::Play(PlayRange range)
{
    m_range = std::move(range);
    m_stopKeys.Arm();
    emit minimiseRequested();
    m_desktop.SetPointerShape(AppPaths::RecordingCursor());
    m_tasks.SetCurrentRow(m_range.FirstRow(m_tasks.Rows()));
    if (!m_range.bySteps)
        m_schedule.Start(LeadBefore(m_range.FirstRow(m_tasks.Rows()), 0));
    m_playing = true;
    m_executed = 0;
    m_skipped = 0;
    m_unplayableRows.clear();
    m_buttons.Reset();
    m_stoppedOn.reset();
    m_placement.Reset();
    m_progress.pass = 1;
    ReportProgress(1);
    if (const QString remarkText = m_screenCheck.RemarkOnTasksWithoutImages(); !remarkText.isEmpty())
        emit remark(remarkText);
}

void Player::Step()
{
    // By steps the user is the clock: a tick that comes all the same runs nothing.
    if (!m_playing || m_range.bySteps || m_stopKeys.IsStopping() || m_screenCheck.IsWaiting() || InputUnderWay())
        return;
    if (m_ticksHeld) {
        m_tickWaiting = true;
        return;
    }
    const int row = m_tasks.CurrentRow();
    if (row == 0) {
        m_schedule.BeginTick();
        m_schedule.ArmNext();
        return;
    }
    ++m_executed;
    m_placement.BeginTask();
    // The timer wakes a little ahead of the task's moment: the screen is read then, so that a
    // screen that already matches adds no delay to the task.
    if (m_screenCheck.Waits(row)) {
        // The wait's end starts a schedule of its own, as the end of a pause does.
        m_schedule.Stop();
        return;
    }
    m_schedule.BeginTick();
    RunStep(row);
}

void Player::RunStep(int row)
{
    RunTask(row);
    if (InputUnderWay()) {
        // Typing and paths go on over short steps of their own; the end moves on, and starts a schedule of its own.
        m_inputRow = row;
        m_schedule.Stop();
        return;
    }
    FinishStep(row);
}

void Player::InputDone()
{
    if (!m_playing || m_stopKeys.IsStopping() || m_inputRow == 0)
        return;
    const int row = std::exchange(m_inputRow, 0);
    FinishStep(row);
    if (m_playing && !m_range.bySteps && !m_schedule.IsRunning() && !m_pauseTimer.isActive())
        m_schedule.Start(LeadBefore(m_tasks.CurrentRow(), row));
}

void Player::FinishStep(int row)
{
    // Whatever shows the progress runs once the task has been done, never between its moment and it.
    ReportProgress(row);
    const int next = m_range.NextRow(row, m_tasks.Rows());
    const bool lastRow = next == 0;
    const int following = lastRow ? m_range.FirstRow(m_tasks.Rows()) : next;
    m_tasks.SetCurrentRow(following);
    if (lastRow && m_state.options.repeatForever)
        ++m_progress.pass;
    if (!lastRow || m_state.options.repeatForever) {
        // Does nothing after a pause task: the countdown starts the next run.
        if (!m_range.bySteps)
            m_schedule.ArmNext(LeadBefore(following, row));
        return;
    }
    StopTimersAndRestore();
    if (m_state.options.closeAfterPlaying) {
        emit closeProgramRequested();
        return;
    }
    emit finished(EndMessage());
    emit normalRequested();
}

StepSchedule::Clock::duration Player::LeadBefore(int row, int previous) const
{
    const auto kindOf = [this](int r) {
        return r >= 1 ? TaskKinds::Find(m_tasks.Cell(r, TaskList::kColumnTask)) : nullptr;
    };
    const auto scaled = [this](StepSchedule::Clock::duration span) {
        return std::chrono::duration_cast<StepSchedule::Clock::duration>(span / m_state.pace.speed);
    };
    const TaskKinds::Kind* before = kindOf(previous);
    if (before && before->action == TaskKinds::Action::Wait) {
        const int ms = Playability::WholeNumber(QStringView(m_tasks.Cell(previous, TaskList::kColumnX))).value_or(0);
        return scaled(std::chrono::milliseconds(std::clamp(ms, 0, Playability::kMaxWaitMs)));
    }
    const TaskKinds::Kind* kind = kindOf(row);
    if (kind && kind->action == TaskKinds::Action::Wait)
        return StepSchedule::Clock::duration::zero();
    // A path follows its press at once: its first point carries the time since the press.
    if (!kind && row >= 1)
        if (const std::optional<InputTask> input = InputTask::Parse(m_tasks.Cell(row, TaskList::kColumnTask)))
            if (input->kind == InputTask::Kind::Path)
                return StepSchedule::Clock::duration::zero();
    return scaled(m_schedule.Interval());
}

void Player::RunTask(int row)
{
    const TaskRow cells = CellsOf(m_tasks, row);
    const QString problem = Playability::Problem(cells, m_desktop.ScreenSize());
    if (!problem.isEmpty()) {
        SkipRow(row, problem);
        return;
    }
    const TaskKinds::Kind* kind = TaskKinds::Find(cells.task);
    if (!kind) {
        RunInputTask(cells);
        return;
    }
    if (kind->action == TaskKinds::Action::Pause) {
        // By steps the user is the clock: a pause is one step like any task.
        if (!m_range.bySteps)
            StartPause(cells.x);
        return;
    }
    if (kind->action == TaskKinds::Action::Wait)
        return;
    RunButtonTask(row, cells, *kind);
}

void Player::ScreenNeverMatched(const ScreenMismatch& mismatch)
{
    if (m_screenCheck.SkipsMismatches()) {
        ++m_skipped;
        const TaskKinds::Kind* kind = TaskKinds::Find(m_tasks.Cell(mismatch.row, TaskList::kColumnTask));
        if (kind && kind->action == TaskKinds::Action::Down)
            m_buttons.GiveUp(kind->button.value_or(MouseButton::Left));
        emit taskSkipped(mismatch);
        ResumeAfterScreenCheck(false);
        return;
    }
    // The grid stays on the task that never matched, where the preview can show both images.
    m_stoppedOn = mismatch;
    StopTimersAndRestore();
    emit stoppedOnMismatch(mismatch);
}

void Player::ResumeAfterScreenCheck(bool runTask)
{
    const int row = m_tasks.CurrentRow();
    if (runTask) {
        m_screenCheck.TakeFoundPlace();
        RunTask(row);
    }
    FinishStep(row);
    // The next task comes one interval after this one, however long the wait was.
    if (m_playing && !m_schedule.IsRunning() && !m_pauseTimer.isActive())
        m_schedule.Start(LeadBefore(m_tasks.CurrentRow(), 0));
}

void Player::RunButtonTask(int row, const TaskRow& cells, const TaskKinds::Kind& kind)
{
    const MouseButton button = kind.button.value_or(MouseButton::Left);
    if (kind.action == TaskKinds::Action::Up && m_buttons.TakeGivenUpRelease(button)) {
        ++m_skipped;
        emit remark(TextTable::Text(TextId::ReleaseNeverPressedRemark).arg(row));
        return;
    }
    const std::optional<QPoint> point = Playability::Point(cells, m_desktop.ScreenSize());
    if (!point)
        return;
    const QPoint at = *point + m_placement.TaskOffset();
    m_desktop.MovePointer(at.x(), at.y());
    if (m_placement.Played(row, kind.action, button, m_screenCheck.FoundImage(), m_tasks.Image(row)))
        emit taskFound(row, m_placement.TaskOffset());
    m_buttons.Play(kind.action, button, at);
}

void Player::SkipRow(int row, const QString& problem)
{
    if (std::find(m_unplayableRows.begin(), m_unplayableRows.end(), row) == m_unplayableRows.end())
        m_unplayableRows.push_back(row);
    emit unplayableTask(row, problem);
}

void Player::RunInputTask(const TaskRow& cells)
{
    const std::optional<InputTask> task = InputTask::Parse(cells.task);
    if (!task)
        return;
    if (task->kind == InputTask::Kind::Path) {
        m_path.Run(task->path, m_placement.HeldOffset(), m_state.pace.speed);
        return;
    }
    if (task->kind != InputTask::Kind::Wheel) {
        m_input.Run(*task);
        return;
    }
    // The wheel turns where it was recorded, under the same rule as a click's point.
    if (const std::optional<QPoint> point = Playability::Point(cells, m_desktop.ScreenSize()))
        m_input.Run(*task, *point);
}

void Player::StartPause(const QString& lengthText)
{
    // Only a length the row's check accepts (0 to TaskCheck::kMaxPauseSeconds) gets here.
    m_pauseSecondsLeft = Playability::WholeNumber(QStringView(lengthText)).value_or(0);
    m_pauseTimer.start();
    m_schedule.Stop();
    // The progress of the pause task itself, reported once it is done, starts the countdown.
    m_progress.pauseSecondsLeft = m_pauseSecondsLeft + 1;
}

void Player::CountPauseDown()
{
    if (m_pauseSecondsLeft <= 0) {
        m_pauseTimer.stop();
        m_progress.pauseSecondsLeft = 0;
        emit progressChanged(m_progress);
        // A fresh schedule for the tasks after the pause.
        m_schedule.Start(LeadBefore(m_tasks.CurrentRow(), 0));
        return;
    }
    --m_pauseSecondsLeft;
    // The run goes on at the tick after the one that reaches 0: the time left is one second more.
    m_progress.pauseSecondsLeft = m_pauseSecondsLeft + 1;
    emit progressChanged(m_progress);
}

void Player::HoldTicks(bool hold)
{
    m_ticksHeld = hold;
    if (hold || !m_tickWaiting)
        return;
    m_tickWaiting = false;
    if (m_playing && !m_stopKeys.IsStopping())
        Step();
}

void Player::ReportProgress(int row)
{
    m_progress.task = row;
    m_progress.taskCount = m_tasks.Rows() - 1;
    emit progressChanged(m_progress);
}

// No task runs after this, and nothing the tasks pressed stays held.
void Player::Halt()
{
    m_screenCheck.Cancel();
    m_schedule.Stop();
    m_pauseTimer.stop();
    m_progress.pauseSecondsLeft = 0;
    m_tickWaiting = false;
    m_input.Cancel();
    m_path.Cancel();
    m_inputRow = 0;
    ReleaseHeldButtons();
    m_desktop.ReleaseHeld();
}

void Player::ReleaseHeldButtons()
{
    if (!m_buttons.AnyHeld())
        return;
    emit remark(TextTable::Text(TextId::DragGivenUpRemark).arg(m_tasks.CurrentRow()));
    m_buttons.ReleaseAll();
}

void Player::StopTimersAndRestore()
{
    Halt();
    m_playing = false;
    m_stopKeys.Reset();
    m_desktop.SetPointerShape();
    emit normalRequested();
    emit ended();
}

bool Player::PlaybackStopCheck()
{
    switch (m_stopKeys.Poll(m_schedule.IsDueWithin(kQuietBeforeTask), m_range.bySteps)) {
    case StopKeyWatch::Verdict::Nothing:
        return false;
    case StopKeyWatch::Verdict::Step:
        // A press while a typing task still types is one too many: the task under way is this step.
        if (m_playing && !InputUnderWay()) {
            ++m_executed;
            RunStep(m_tasks.CurrentRow());
        }
        return false;
    case StopKeyWatch::Verdict::Stopping:
        // No task runs from now on; the window comes back once F11 is up, so the key does not reach it.
        if (m_playing)
            Halt();
        return false;
    case StopKeyWatch::Verdict::Stop:
        if (!m_playing)
            return false;
        Stop();
        return true;
    }
    return false;
}

void Player::Stop()
{
    if (!m_playing)
        return;
    StopTimersAndRestore();
    emit stopped(m_executed);
    m_tasks.SetCurrentRow(1);
}
