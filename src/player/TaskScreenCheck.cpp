#include "player/TaskScreenCheck.h"

#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "player/TaskPlacement.h"
#include "tasks/Playability.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

TaskScreenCheck::TaskScreenCheck(const TaskList& tasks, Desktop& desktop, const SharedState& state,
                                 TaskPlacement& placement, QObject* parent)
    : QObject(parent), m_tasks(tasks), m_desktop(desktop), m_state(state), m_placement(placement), m_check(desktop)
{
    connect(&m_check, &ScreenCheck::matched, this, &TaskScreenCheck::matched);
    connect(&m_check, &ScreenCheck::gaveUp, this, &TaskScreenCheck::gaveUp);
}

QString TaskScreenCheck::RemarkOnTasksWithoutImages() const
{
    if (!m_state.screenCheck.enabled || m_tasks.IsEmpty())
        return {};
    const std::vector<int> rows = Playability::RowsWithoutImages(m_tasks.PackedRows());
    return rows.empty() ? QString() : TextTable::Text(TextId::CheckWithoutImagesRemark).arg(Playability::RowList(rows));
}

bool TaskScreenCheck::Waits(int row)
{
    const TaskKinds::Kind* kind = TaskKinds::Find(m_tasks.Cell(row, TaskList::kColumnTask));
    if (!m_state.screenCheck.enabled || !kind)
        return false;
    // A drag is decided on its press: the check would move the pointer with the button down, and
    // a release left out would leave it down. Found elsewhere, the press takes its release along.
    if (kind->action == TaskKinds::Action::Up) {
        m_placement.FollowPress(kind->button.value_or(MouseButton::Left), Finds());
        return false;
    }
    const QByteArray image = m_tasks.Image(row);
    const TaskRow cells{m_tasks.Cell(row, TaskList::kColumnX),
                        m_tasks.Cell(row, TaskList::kColumnY),
                        m_tasks.Cell(row, TaskList::kColumnTask),
                        {}};
    const std::optional<QPoint> point = Playability::Point(cells, m_desktop.ScreenSize());
    if (image.isEmpty() || !TaskKinds::HasPoint(kind->action) || !point)
        return false;
    const qint64 waitMs = qint64(m_state.screenCheck.waitSeconds) * 1000;
    if (m_check.Begin(row, point->x(), point->y(), image, waitMs,
                      Finds() ? std::optional<QPoint>(m_placement.FindFrom()) : std::nullopt)) {
        TakeFoundPlace();
        return false;
    }
    return true;
}

void TaskScreenCheck::TakeFoundPlace()
{
    m_placement.Found(m_check.FoundOffset(), Finds());
}

bool TaskScreenCheck::SkipsMismatches() const
{
    // Find stops too: an image found nowhere, or in two places as alike, is never guessed at.
    return m_state.screenCheck.onMismatch == ScreenCheckOptions::OnMismatch::Skip;
}

bool TaskScreenCheck::Finds() const
{
    return m_state.screenCheck.onMismatch == ScreenCheckOptions::OnMismatch::Find;
}
