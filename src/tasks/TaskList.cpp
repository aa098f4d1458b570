#include "tasks/TaskList.h"

#include "core/TextTable.h"
#include "tasks/TaskKinds.h"

#include <climits>
#include <cstdlib>

namespace {
constexpr int kHeaderTextIds[TaskList::kColumnCount] = {0, 125, 126, 127, 0};
}

TaskList::TaskList(QObject* parent) : QAbstractTableModel(parent), m_rows(1)
{}

int TaskList::Rows() const
{
    return static_cast<int>(m_rows.size()) + 1;
}

const TaskRow* TaskList::RowAt(int row) const
{
    if (row < 1 || row >= Rows())
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row - 1)];
}

QString TaskList::Cell(int row, int column) const
{
    if (row == 0)
        return column >= 0 && column < kColumnCount && kHeaderTextIds[column] ? TextTable::Text(kHeaderTextIds[column])
                                                                              : QString();
    const TaskRow* task = RowAt(row);
    if (!task)
        return {};
    switch (column) {
    case kColumnNumber:
        return QString::number(row);
    case kColumnX:
        return task->x;
    case kColumnY:
        return task->y;
    case kColumnTask:
        return task->task;
    case kColumnImage:
        return QString::fromLatin1(task->image);
    default:
        return {};
    }
}

QByteArray TaskList::Image(int row) const
{
    const TaskRow* task = RowAt(row);
    return task ? task->image : QByteArray();
}

bool TaskList::IsEmpty() const
{
    return m_rows.size() == 1 && m_rows.front().task.isEmpty();
}

int TaskList::TaskCount() const
{
    return IsEmpty() ? 0 : Rows() - 1;
}

bool TaskList::MergesAsDoubleClick(const QString& x, const QString& y, const QString& taskText,
                                   std::optional<quint32> pressTime) const
{
    const TaskKinds::Kind* added = TaskKinds::Find(taskText);
    const TaskKinds::Kind* last = TaskKinds::Find(m_rows.back().task);
    if (!added || !last || added->action != TaskKinds::Action::Click || last->button != added->button ||
        (last->action != TaskKinds::Action::Click && last->action != TaskKinds::Action::DoubleClick))
        return false;
    const TaskRow& row = m_rows.back();
    if (std::abs(x.toInt() - row.x.toInt()) > m_doubleClickDistance ||
        std::abs(y.toInt() - row.y.toInt()) > m_doubleClickDistance)
        return false;
    const bool withinTicks = m_tickCounter >= 1 && m_tickCounter <= kDoubleClickTicks;
    // The clock wraps around: the difference of the two readings is right across the wrap.
    const bool withinInterval =
        pressTime && m_lastPressTime && *pressTime - *m_lastPressTime < static_cast<quint32>(m_doubleClickInterval);
    return withinTicks || withinInterval;
}

void TaskList::AddTask(const QString& x, const QString& y, const QString& taskText, const QByteArray& imageText,
                       TaskOrigin origin, std::optional<quint32> pressTime)
{
    if (origin == TaskOrigin::Recorded && MergesAsDoubleClick(x, y, taskText, pressTime)) {
        TaskRow& last = m_rows.back();
        last.x = x;
        last.y = y;
        last.task = TaskKinds::Text(TaskKinds::Action::DoubleClick, TaskKinds::Find(taskText)->button);
        last.image = imageText;
        EmitRowChanged(Rows() - 1);
    } else if (IsEmpty()) {
        m_rows.front() = TaskRow{x, y, taskText, imageText};
        EmitRowChanged(1);
    } else {
        const int qtRow = static_cast<int>(m_rows.size());
        beginInsertRows(QModelIndex(), qtRow, qtRow);
        m_rows.push_back(TaskRow{x, y, taskText, imageText});
        endInsertRows();
    }
    if (origin == TaskOrigin::Recorded) {
        m_tickCounter = 0;
        m_lastPressTime = pressTime;
    } else {
        CloseDoubleClickWindow();
    }
}

void TaskList::AddTasks(std::vector<TaskRow> rows)
{
    if (rows.empty())
        return;
    auto next = rows.begin();
    if (IsEmpty()) {
        m_rows.front() = std::move(*next++);
        EmitRowChanged(1);
    }
    if (next != rows.end()) {
        const int first = static_cast<int>(m_rows.size());
        const int last = first + static_cast<int>(rows.end() - next) - 1;
        beginInsertRows(QModelIndex(), first, last);
        m_rows.insert(m_rows.end(), std::make_move_iterator(next), std::make_move_iterator(rows.end()));
        endInsertRows();
    }
    CloseDoubleClickWindow();
}

void TaskList::ClearTaskList()
{
    if (m_rows.size() > 1) {
        beginRemoveRows(QModelIndex(), 1, static_cast<int>(m_rows.size()) - 1);
        m_rows.resize(1);
        endRemoveRows();
    }
    m_rows.front() = TaskRow{};
    EmitRowChanged(1);
    SetCurrentRow(1);
}

bool TaskList::DeleteLastTask()
{
    if (m_rows.size() == 1) {
        TaskRow& only = m_rows.front();
        only.x.clear();
        only.y.clear();
        only.task.clear();
        EmitRowChanged(1);
        return true;
    }
    const int qtRow = static_cast<int>(m_rows.size()) - 1;
    beginRemoveRows(QModelIndex(), qtRow, qtRow);
    m_rows.pop_back();
    endRemoveRows();
    if (m_currentRow >= Rows())
        SetCurrentRow(Rows() - 1);
    return false;
}

void TaskList::CloseDoubleClickWindow()
{
    m_tickCounter = kDoubleClickTicks + 1;
    m_lastPressTime.reset();
}

void TaskList::SetDoubleClickLimits(int intervalMs, int distance)
{
    m_doubleClickInterval = intervalMs;
    m_doubleClickDistance = distance;
}

void TaskList::RaiseTickCounter()
{
    if (m_tickCounter < INT_MAX)
        ++m_tickCounter;
}

void TaskList::SetCurrentRow(int row)
{
    if (row == m_currentRow)
        return;
    m_currentRow = row;
    emit currentRowChanged(row);
}

void TaskList::EmitRowChanged(int row)
{
    emit dataChanged(index(row - 1, 0), index(row - 1, kColumnCount - 1));
}

int TaskList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TaskList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TaskList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return Cell(index.row() + 1, index.column());
}

QVariant TaskList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return Cell(0, section);
}

Qt::ItemFlags TaskList::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
