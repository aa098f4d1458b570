#include "tasks/TaskList.h"

#include "core/TextTable.h"
#include "tasks/TaskKinds.h"

#include <climits>
#include <cstdlib>
#include <optional>

namespace {
// The header row: no caption above the task number and the image.
constexpr std::optional<TextId> kHeaderTextIds[TaskList::kColumnCount] = {
    std::nullopt, TextId::ColumnX, TextId::ColumnY, TextId::ColumnTask, std::nullopt};
} // namespace

TaskList::TaskList(QObject* parent) : QAbstractTableModel(parent)
{
    m_rows.push_back(TaskRow{});
}

int TaskList::Rows() const
{
    return static_cast<int>(m_rows.size()) + 1;
}

QByteArrayView TaskList::FieldOf(int row, TaskRows::Field field) const
{
    return m_rows.FieldOf(static_cast<std::size_t>(row - 1), field);
}

QString TaskList::Cell(int row, int column) const
{
    if (row == 0)
        return column >= 0 && column < kColumnCount && kHeaderTextIds[column] ? TextTable::Text(*kHeaderTextIds[column])
                                                                              : QString();
    if (!HasRow(row))
        return {};
    switch (column) {
    case kColumnNumber:
        return QString::number(row);
    case kColumnX:
        return QString::fromLatin1(FieldOf(row, TaskRows::kX));
    case kColumnY:
        return QString::fromLatin1(FieldOf(row, TaskRows::kY));
    case kColumnTask:
        return QString::fromLatin1(FieldOf(row, TaskRows::kTask));
    case kColumnImage:
        return QString::fromLatin1(FieldOf(row, TaskRows::kImage));
    default:
        return {};
    }
}

QByteArray TaskList::Image(int row) const
{
    return HasRow(row) ? FieldOf(row, TaskRows::kImage).toByteArray() : QByteArray();
}

bool TaskList::IsEmpty() const
{
    return m_rows.size() == 1 && FieldOf(1, TaskRows::kTask).isEmpty();
}

int TaskList::TaskCount() const
{
    return IsEmpty() ? 0 : Rows() - 1;
}

bool TaskList::MergesAsDoubleClick(const QString& x, const QString& y, const QString& taskText,
                                   std::optional<quint32> pressTime) const
{
    const int row = Rows() - 1;
    const TaskKinds::Kind* added = TaskKinds::Find(taskText);
    const TaskKinds::Kind* last = TaskKinds::Find(Cell(row, kColumnTask));
    if (!added || !last || added->action != TaskKinds::Action::Click || last->button != added->button ||
        (last->action != TaskKinds::Action::Click && last->action != TaskKinds::Action::DoubleClick))
        return false;
    if (std::abs(x.toInt() - Cell(row, kColumnX).toInt()) > m_doubleClickDistance ||
        std::abs(y.toInt() - Cell(row, kColumnY).toInt()) > m_doubleClickDistance)
        return false;
    const bool withinTicks = m_tickCounter >= 1 && m_tickCounter <= kDoubleClickTicks;
    // The clock wraps around: the difference of the two readings is right across the wrap.
    const bool withinInterval =
        pressTime && m_lastPressTime && *pressTime - *m_lastPressTime < static_cast<quint32>(m_doubleClickInterval);
    return withinTicks || withinInterval;
}

void TaskList::ReplaceLastRow(const TaskRow& row)
{
    m_rows.pop_back();
    m_rows.push_back(row);
    EmitRowChanged(Rows() - 1);
}

void TaskList::AddTask(const QString& x, const QString& y, const QString& taskText, const QByteArray& imageText,
                       TaskOrigin origin, std::optional<quint32> pressTime)
{
    if (origin == TaskOrigin::Recorded && MergesAsDoubleClick(x, y, taskText, pressTime)) {
        ReplaceLastRow(TaskRow{x, y, TaskKinds::Text(TaskKinds::Action::DoubleClick, TaskKinds::Find(taskText)->button),
                               imageText});
    } else if (IsEmpty()) {
        ReplaceLastRow(TaskRow{x, y, taskText, imageText});
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

void TaskList::AddTasks(const std::vector<TaskRow>& rows)
{
    TaskRows packed;
    for (const TaskRow& row : rows)
        packed.push_back(row);
    AddTasks(std::move(packed));
}

void TaskList::AddTasks(TaskRows&& rows)
{
    if (rows.empty())
        return;
    if (IsEmpty()) {
        // The blank row 1 goes as well: the list is new from its first row.
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    } else {
        const int first = static_cast<int>(m_rows.size());
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
        m_rows.Append(rows);
        endInsertRows();
    }
    rows = TaskRows{};
    CloseDoubleClickWindow();
}

void TaskList::ClearTaskList()
{
    if (m_rows.size() > 1) {
        beginRemoveRows(QModelIndex(), 1, static_cast<int>(m_rows.size()) - 1);
        m_rows = TaskRows{};
        m_rows.push_back(TaskRow{});
        endRemoveRows();
    } else {
        m_rows.pop_back();
        m_rows.push_back(TaskRow{});
    }
    EmitRowChanged(1);
    SetCurrentRow(1);
}

bool TaskList::DeleteLastTask()
{
    if (m_rows.size() == 1) {
        ReplaceLastRow(TaskRow{{}, {}, {}, Image(1)});
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
