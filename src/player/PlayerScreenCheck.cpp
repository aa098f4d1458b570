// The player's part in checking the screen before a task: waiting for the recorded image, finding
// it elsewhere, and what a task that never matched does to the run.
#include "player/Player.h"

#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "tasks/Playability.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QTimer>

#include <vector>

void Player::RemarkTasksWithoutImages()
{
    if (!m_state.screenCheck.enabled)
        return;
    std::vector<int> rows;
    const TaskRows& packed = m_tasks.PackedRows();
    for (std::size_t i = 0; i < packed.size() && !m_tasks.IsEmpty(); ++i) {
        const TaskKinds::Kind* kind = TaskKinds::Find(QString::fromLatin1(packed.FieldOf(i, TaskRows::kTask)));
        if (kind && TaskKinds::HasPoint(kind->action) && kind->action != TaskKinds::Action::Up &&
            packed.FieldOf(i, TaskRows::kImage).isEmpty())
            rows.push_back(int(i) + 1);
    }
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
        const auto press = m_pressOffsets.find(kind->button.value_or(MouseButton::Left));
        if (find && press != m_pressOffsets.end())
            m_taskOffset = press->second;
        return false;
    }
    const QByteArray image = m_tasks.Image(row);
    const std::optional<QPoint> point = Playability::Point(TaskRow{m_tasks.Cell(row, TaskList::kColumnX),
                                                                   m_tasks.Cell(row, TaskList::kColumnY),
                                                                   m_tasks.Cell(row, TaskList::kColumnTask),
                                                                   {}},
                                                           m_desktop.ScreenSize());
    if (image.isEmpty() || !TaskKinds::HasPoint(kind->action) || !point)
        return false;
    const qint64 waitMs = qint64(m_state.screenCheck.waitSeconds) * 1000;
    if (m_screenCheck.Begin(row, point->x(), point->y(), image, waitMs,
                            find ? std::optional<QPoint>(m_findOffset) : std::nullopt)) {
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
            m_givenUpButtons[IndexOf(kind->button.value_or(MouseButton::Left))] = true;
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
    m_taskOffset = m_screenCheck.FoundOffset();
    if (m_state.screenCheck.onMismatch == ScreenCheckOptions::OnMismatch::Find)
        m_findOffset = m_taskOffset;
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
