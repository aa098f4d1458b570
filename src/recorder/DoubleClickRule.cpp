#include "recorder/DoubleClickRule.h"

#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <climits>
#include <cstdlib>

void DoubleClickRule::SetLimits(int intervalMs, int distance)
{
    m_interval = intervalMs;
    m_distance = distance;
}

bool DoubleClickRule::Merges(const TaskList& tasks, const QString& x, const QString& y, const QString& taskText,
                             std::optional<quint32> pressTime) const
{
    const int row = tasks.Rows() - 1;
    const TaskKinds::Kind* added = TaskKinds::Find(taskText);
    const TaskKinds::Kind* last = TaskKinds::Find(tasks.Cell(row, TaskList::kColumnTask));
    if (!added || !last || added->action != TaskKinds::Action::Click || last->button != added->button ||
        (last->action != TaskKinds::Action::Click && last->action != TaskKinds::Action::DoubleClick))
        return false;
    if (std::abs(x.toInt() - tasks.Cell(row, TaskList::kColumnX).toInt()) > m_distance ||
        std::abs(y.toInt() - tasks.Cell(row, TaskList::kColumnY).toInt()) > m_distance)
        return false;
    const bool withinTicks = m_ticks >= 1 && m_ticks <= kTicks;
    // The clock wraps around: the difference of the two readings is right across the wrap.
    const bool withinInterval =
        pressTime && m_lastPressTime && *pressTime - *m_lastPressTime < static_cast<quint32>(m_interval);
    return withinTicks || withinInterval;
}

void DoubleClickRule::AddTask(TaskList& tasks, const QString& x, const QString& y, const QString& taskText,
                              const QByteArray& imageText, std::optional<quint32> pressTime)
{
    if (Merges(tasks, x, y, taskText, pressTime))
        tasks.ReplaceLastTask(TaskRow{
            x, y, TaskKinds::Text(TaskKinds::Action::DoubleClick, TaskKinds::Find(taskText)->button), imageText});
    else
        tasks.AddTask(x, y, taskText, imageText);
    m_ticks = 0;
    m_lastPressTime = pressTime;
}

void DoubleClickRule::Tick()
{
    if (m_ticks < INT_MAX)
        ++m_ticks;
}

void DoubleClickRule::Close()
{
    m_ticks = kTicks + 1;
    m_lastPressTime.reset();
}
