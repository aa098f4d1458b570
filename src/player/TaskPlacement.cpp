#include "player/TaskPlacement.h"

void TaskPlacement::Reset()
{
    m_taskOffset = QPoint();
    m_findFrom = QPoint();
    m_pressOffsets.clear();
    m_foundElsewhere = 0;
    m_found.clear();
}

void TaskPlacement::Found(QPoint offset, bool find)
{
    m_taskOffset = offset;
    if (find)
        m_findFrom = offset;
}

void TaskPlacement::FollowPress(MouseButton button, bool find)
{
    const auto press = m_pressOffsets.find(button);
    if (find && press != m_pressOffsets.end())
        m_taskOffset = press->second;
}

bool TaskPlacement::Played(int row, TaskKinds::Action action, MouseButton button, const QImage& screen,
                           const QByteArray& storedImage)
{
    // A release that followed its press was not looked for: there is no screen of its own to show.
    const bool followedPress = action == TaskKinds::Action::Up && m_pressOffsets.contains(button);
    if (action == TaskKinds::Action::Down)
        m_pressOffsets[button] = m_taskOffset;
    else
        m_pressOffsets.erase(button);
    if (m_taskOffset == QPoint())
        return false;
    ++m_foundElsewhere;
    m_found[row] = {m_taskOffset, followedPress ? QImage() : screen, storedImage};
    return true;
}

const TaskPlacement::FoundPlace* TaskPlacement::FoundAt(int row) const
{
    const auto found = m_found.find(row);
    return found == m_found.end() ? nullptr : &found->second;
}
