// The player's check of the screen before a task: kept apart from the rest of the engine.
#include "player/Player.h"

#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "tasks/Playability.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

namespace {

TaskRow CellsOf(const TaskList& tasks, int row)
{
    return TaskRow{tasks.Cell(row, TaskList::kColumnX),
                   tasks.Cell(row, TaskList::kColumnY),
                   tasks.Cell(row, TaskList::kColumnTask),
                   {}};
}

} // namespace

void Player::RemarkTasksWithoutImages()
{
    if (!m_state.screenCheck.enabled)
        return;
    const std::vector<int> rows =
        m_tasks.IsEmpty() ? std::vector<int>() : Playability::RowsWithoutImages(m_tasks.PackedRows());
    if (!rows.empty())
        emit remark(TextTable::Text(TextId::CheckWithoutImagesRemark).arg(Playability::RowList(rows)));
}

bool Player::WaitsForScreen(int row)
{
    const TaskKinds::Kind* kind = TaskKinds::Find(m_tasks.Cell(row, TaskList::kColumnTask));
    if (!m_state.screenCheck.enabled || !kind)
        return false;
    const bool find = m_state.screenCheck.onMismatch == ScreenCheckOptions::OnMismatch::Find;
    // A drag is decided on its press: the check would move the pointer with the button down, and
    // a release left out would leave it down. Found elsewhere, the press takes its release along.
    if (kind->action == TaskKinds::Action::Up) {
        m_placement.FollowPress(kind->button.value_or(MouseButton::Left), find);
        return false;
    }
    const QByteArray image = m_tasks.Image(row);
    const std::optional<QPoint> point = Playability::Point(CellsOf(m_tasks, row), m_desktop.ScreenSize());
    if (image.isEmpty() || !TaskKinds::HasPoint(kind->action) || !point)
        return false;
    const qint64 waitMs = qint64(m_state.screenCheck.waitSeconds) * 1000;
    if (m_screenCheck.Begin(row, point->x(), point->y(), image, waitMs,
                            find ? std::optional<QPoint>(m_placement.FindFrom()) : std::nullopt)) {
        TakeFoundPlace();
        return false;
    }
    // The wait's end starts a schedule of its own, as the end of a pause does.
    m_schedule.Stop();
    return true;
}

void Player::ScreenNeverMatched(const ScreenMismatch& mismatch)
{
    // Find stops too: an image found nowhere, or in two places as alike, is never guessed at.
    if (m_state.screenCheck.onMismatch == ScreenCheckOptions::OnMismatch::Skip) {
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

void Player::TakeFoundPlace()
{
    m_placement.Found(m_screenCheck.FoundOffset(),
                      m_state.screenCheck.onMismatch == ScreenCheckOptions::OnMismatch::Find);
}

void Player::ResumeAfterScreenCheck(bool runTask)
{
    const int row = m_tasks.CurrentRow();
    if (runTask) {
        TakeFoundPlace();
        RunTask(row);
    }
    FinishStep(row);
    // The next task comes one interval after this one, however long the wait was.
    if (m_playing && !m_schedule.IsRunning() && !m_pauseTimer.isActive())
        m_schedule.Start(LeadBefore(m_tasks.CurrentRow(), 0));
}
