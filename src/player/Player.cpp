#include "player/Player.h"

#include "core/AppPaths.h"
#include "core/KeySymbols.h"
#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "tasks/Playability.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QRect>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

// A pause counts down in whole seconds.
constexpr int kPauseTickMs = 1000;

TaskRow CellsOf(const TaskList& tasks, int row)
{
    return TaskRow{tasks.Cell(row, TaskList::kColumnX),
                   tasks.Cell(row, TaskList::kColumnY),
                   tasks.Cell(row, TaskList::kColumnTask),
                   {}};
}

} // namespace

Player::Player(TaskList& tasks, Desktop& desktop, const SharedState& state, QObject* parent)
    : QObject(parent), m_tasks(tasks), m_desktop(desktop), m_state(state), m_schedule(m_stepTimer),
      m_screenCheck(desktop), m_input(desktop)
{
    connect(&m_input, &InputPlayer::typed, this, &Player::TypingDone);
    connect(&m_input, &InputPlayer::untypable, this, &Player::SkipUntypable);
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
    connect(&m_screenCheck, &ScreenCheck::matched, this, [this] { ResumeAfterScreenCheck(true); });
    connect(&m_screenCheck, &ScreenCheck::gaveUp, this, &Player::ScreenNeverMatched);
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
    m_stepKeyDown = true; // the key counts once seen up
    emit minimiseRequested();
    m_desktop.SetPointerShape(AppPaths::RecordingCursor());
    m_desktop.ClaimHotKeys(true);
    m_tasks.SetCurrentRow(FirstRow());
    if (!m_range.bySteps)
        m_schedule.Start(LeadBefore(FirstRow(), 0));
    m_playing = true;
    m_stopping = false;
    m_executed = 0;
    m_stopKeysArmed = false;
    m_skipped = 0;
    m_unplayableRows.clear();
    m_heldButtons.reset();
    m_givenUpButtons = 0;
    m_stoppedOn.reset();
    m_findOffset = QPoint();
    m_pressOffsets.clear();
    m_foundElsewhere = 0;
    m_found.clear();
    m_progress.pass = 1;
    ReportProgress(1);
    RemarkTasksWithoutImages();
}

void Player::Step()
{
    if (!m_playing || m_stopping || m_screenCheck.IsWaiting() || m_input.IsTyping())
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
    m_taskOffset = QPoint();
    // The timer wakes a little ahead of the task's moment: the screen is read then, so that a
    // screen that already matches adds no delay to the task.
    if (WaitsForScreen(row))
        return;
    m_schedule.BeginTick();
    RunTask(row);
    if (m_input.IsTyping()) {
        // Typing goes on over short steps of its own; its end starts a schedule of its own.
        m_typingRow = row;
        m_schedule.Stop();
        return;
    }
    FinishStep(row);
}

void Player::TypingDone()
{
    if (!m_playing || m_stopping)
        return;
    FinishStep(m_typingRow);
    if (m_playing && !m_schedule.IsRunning() && !m_pauseTimer.isActive())
        m_schedule.Start();
}

void Player::FinishStep(int row)
{
    // Whatever shows the progress runs once the task has been done, never between its moment and it.
    ReportProgress(row);
    const int next = NextRow(row);
    const bool lastRow = next == 0;
    const int following = lastRow ? FirstRow() : next;
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

QString Player::EndMessage() const
{
    QString message = m_unplayableRows.empty() ? TextTable::Text(TextId::AllTasksExecuted)
                                               : TextTable::Text(TextId::SkippedRowsMessage)
                                                     .arg(m_unplayableRows.size())
                                                     .arg(Playability::RowList(m_unplayableRows));
    if (m_skipped > 0)
        message += QLatin1Char(' ') + ScreenCheck::SkippedNote(m_skipped);
    if (m_foundElsewhere > 0)
        message += QLatin1Char(' ') + ScreenCheck::FoundNote(m_foundElsewhere);
    return message;
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
    return scaled(m_schedule.Interval());
}

int Player::FirstRow() const
{
    return m_range.only.empty() ? std::clamp(m_range.first, 1, m_tasks.Rows() - 1) : m_range.only.front();
}

int Player::NextRow(int row) const
{
    if (m_range.only.empty())
        return row < m_tasks.Rows() - 1 ? row + 1 : 0;
    const auto next = std::upper_bound(m_range.only.begin(), m_range.only.end(), row);
    return next != m_range.only.end() && *next < m_tasks.Rows() ? *next : 0;
}

void Player::RunTask(int row)
{
    const TaskRow cells = CellsOf(m_tasks, row);
    const QString problem = Playability::Problem(cells, m_desktop.ScreenSize());
    if (!problem.isEmpty()) {
        if (std::find(m_unplayableRows.begin(), m_unplayableRows.end(), row) == m_unplayableRows.end())
            m_unplayableRows.push_back(row);
        emit unplayableTask(row, problem);
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
    // The release of a press that was skipped would drop whatever the user holds, or click.
    const MouseButton button = kind->button.value_or(MouseButton::Left);
    const int index = IndexOf(button);
    if (kind->action == TaskKinds::Action::Up && m_givenUpButtons[index] && !m_heldButtons[index]) {
        m_givenUpButtons[index] = false;
        ++m_skipped;
        emit remark(TextTable::Text(TextId::ReleaseNeverPressedRemark).arg(row));
        return;
    }
    const std::optional<QPoint> point = Playability::Point(cells, m_desktop.ScreenSize());
    if (!point)
        return;
    const QPoint at = *point + m_taskOffset;
    m_desktop.MovePointer(at.x(), at.y());
    // A release that followed its press was not looked for: there is no screen of its own to show.
    const bool followedPress = kind->action == TaskKinds::Action::Up && m_pressOffsets.contains(button);
    if (kind->action == TaskKinds::Action::Down)
        m_pressOffsets[button] = m_taskOffset;
    else
        m_pressOffsets.erase(button);
    if (m_taskOffset != QPoint()) {
        ++m_foundElsewhere;
        m_found[row] = {m_taskOffset, followedPress ? QImage() : m_screenCheck.FoundImage(), m_tasks.Image(row)};
        emit taskFound(row, m_taskOffset);
    }
    switch (kind->action) {
    case TaskKinds::Action::Click:
        m_desktop.ButtonClick(button);
        m_heldButtons[index] = false;
        break;
    case TaskKinds::Action::DoubleClick:
        m_desktop.ButtonDoubleClick(button);
        m_heldButtons[index] = false;
        break;
    case TaskKinds::Action::Down:
        m_desktop.ButtonDown(button);
        m_heldButtons[index] = true;
        m_givenUpButtons[index] = false;
        m_pressPoints[index] = at;
        break;
    case TaskKinds::Action::Up:
        m_desktop.ButtonUp(button);
        m_heldButtons[index] = false;
        break;
    case TaskKinds::Action::Pause:
    case TaskKinds::Action::Wait:
        break;
    }
}

// A character that cannot be typed ends its row: the rest of a text typed without it (a password,
// a command) would be worse than none. The row counts as skipped, as one that cannot be played.
void Player::SkipUntypable(quint32 keysym)
{
    const int row = m_tasks.CurrentRow();
    if (std::find(m_unplayableRows.begin(), m_unplayableRows.end(), row) == m_unplayableRows.end())
        m_unplayableRows.push_back(row);
    const char32_t character = KeySymbols::Character(keysym);
    const QString name =
        character != 0 ? QString::fromUcs4(&character, 1) : QString::fromLatin1(KeySymbols::Name(keysym));
    emit unplayableTask(row, TextTable::Text(TextId::UntypableKey).arg(name));
}

void Player::RunInputTask(const TaskRow& cells)
{
    const std::optional<InputTask> task = InputTask::Parse(cells.task);
    if (!task)
        return;
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
    // A length that is negative or not a whole number waits as a pause of 0.
    const int seconds = std::max(0, Playability::WholeNumber(QStringView(lengthText)).value_or(0));
    m_pauseSecondsLeft = seconds;
    m_pauseTimer.start();
    m_schedule.Stop();
}

void Player::CountPauseDown()
{
    if (m_pauseSecondsLeft <= 0) {
        m_pauseTimer.stop();
        // A fresh schedule for the tasks after the pause.
        m_schedule.Start(LeadBefore(m_tasks.CurrentRow(), 0));
        return;
    }
    --m_pauseSecondsLeft;
}

void Player::HoldTicks(bool hold)
{
    m_ticksHeld = hold;
    if (hold || !m_tickWaiting)
        return;
    m_tickWaiting = false;
    if (m_playing && !m_stopping)
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
    m_tickWaiting = false;
    m_input.Cancel();
    ReleaseHeldButtons();
    m_desktop.ReleaseHeld();
}

void Player::ReleaseHeldButtons()
{
    if (m_heldButtons.none())
        return;
    emit remark(TextTable::Text(TextId::DragGivenUpRemark).arg(m_tasks.CurrentRow()));
    for (const MouseButton button : kMouseButtons) {
        if (!m_heldButtons[IndexOf(button)])
            continue;
        const QPoint pressed = m_pressPoints[IndexOf(button)];
        m_desktop.MovePointer(pressed.x(), pressed.y());
        m_desktop.ButtonUp(button);
    }
    m_heldButtons.reset();
}

void Player::StopTimersAndRestore()
{
    Halt();
    m_playing = false;
    m_stopping = false;
    m_desktop.SetPointerShape();
    m_desktop.ClaimHotKeys(false);
    emit normalRequested();
    emit ended();
}

const Player::FoundPlace* Player::FoundAt(int row) const
{
    const auto found = m_found.find(row);
    return found == m_found.end() ? nullptr : &found->second;
}

QString Player::StopMessage(qint64 executedTasks)
{
    return TextTable::Text(TextId::TasksExecuted) + QLatin1Char(' ') + QString::number(executedTasks) +
           QLatin1Char(' ') + TextTable::Text(TextId::SentenceEnd);
}
