#include "tasks/TaskList.h"

#include "core/TextTable.h"

#include <QColor>

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

bool TaskList::HasImages() const
{
    for (int row = 1; row < Rows(); ++row)
        // The blank row of an emptied list may keep its image (DeleteLastTask): it is no task.
        if (!FieldOf(row, TaskRows::kImage).isEmpty() && !FieldOf(row, TaskRows::kTask).isEmpty())
            return true;
    return false;
}

bool TaskList::IsEmpty() const
{
    return m_rows.size() == 1 && FieldOf(1, TaskRows::kTask).isEmpty();
}

int TaskList::TaskCount() const
{
    return IsEmpty() ? 0 : Rows() - 1;
}

void TaskList::ReplaceLastTask(const TaskRow& row)
{
    m_rows.pop_back();
    m_rows.push_back(row);
    Replaced(int(m_rows.size()) - 1, 1, 1);
    EmitRowChanged(Rows() - 1);
}

void TaskList::AddTask(const QString& x, const QString& y, const QString& taskText, const QByteArray& imageText)
{
    if (IsEmpty()) {
        ReplaceLastTask(TaskRow{x, y, taskText, imageText});
    } else {
        const int qtRow = static_cast<int>(m_rows.size());
        beginInsertRows(QModelIndex(), qtRow, qtRow);
        m_rows.push_back(TaskRow{x, y, taskText, imageText});
        Replaced(qtRow, 0, 1);
        endInsertRows();
    }
    Changed();
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
        m_looks.Reset(m_rows);
        endResetModel();
    } else {
        const int first = static_cast<int>(m_rows.size());
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
        m_rows.Append(rows);
        Replaced(first, 0, static_cast<int>(rows.size()));
        endInsertRows();
    }
    rows = TaskRows{};
    Changed();
}

void TaskList::ClearTaskList()
{
    if (m_rows.size() > 1) {
        beginRemoveRows(QModelIndex(), 1, static_cast<int>(m_rows.size()) - 1);
        m_rows = TaskRows{};
        m_rows.push_back(TaskRow{});
        m_looks.Reset(m_rows);
        endRemoveRows();
    } else {
        m_rows.pop_back();
        m_rows.push_back(TaskRow{});
        m_looks.Reset(m_rows);
    }
    EmitRowChanged(1);
    SetCurrentRow(1);
    Changed();
}

bool TaskList::DeleteLastTask()
{
    if (m_rows.size() == 1) {
        ReplaceLastTask(TaskRow{{}, {}, {}, Image(1)});
        Changed();
        return true;
    }
    const int qtRow = static_cast<int>(m_rows.size()) - 1;
    beginRemoveRows(QModelIndex(), qtRow, qtRow);
    m_rows.pop_back();
    Replaced(qtRow, 1, 0);
    endRemoveRows();
    if (m_currentRow >= Rows())
        SetCurrentRow(Rows() - 1);
    Changed();
    return false;
}

TaskRows TaskList::RowsAt(int first, int count) const
{
    return m_rows.Slice(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(count));
}

TaskRow TaskList::Row(int row) const
{
    return HasRow(row) ? m_rows[static_cast<std::size_t>(row - 1)] : TaskRow{};
}

TaskRows TaskList::Splice(int first, int count, const TaskRows& rows)
{
    Q_ASSERT(first >= 1 && count >= 0 && first + count <= Rows() && Rows() - 1 - count + int(rows.size()) >= 1);
    const int qtFirst = first - 1;
    const int added = static_cast<int>(rows.size());
    const auto splice = [&] {
        TaskRows taken = m_rows.Splice(static_cast<std::size_t>(qtFirst), static_cast<std::size_t>(count), rows);
        Replaced(qtFirst, count, added);
        return taken;
    };
    // The rows both sides have in common change in place, so the grid keeps its selection on them.
    TaskRows removed;
    if (count > added) {
        beginRemoveRows(QModelIndex(), qtFirst + added, qtFirst + count - 1);
        removed = splice();
        endRemoveRows();
    } else if (count < added) {
        beginInsertRows(QModelIndex(), qtFirst + count, qtFirst + added - 1);
        removed = splice();
        endInsertRows();
    } else {
        removed = splice();
    }
    if (const int common = std::min(count, added); common > 0)
        emit dataChanged(index(qtFirst, 0), index(qtFirst + common - 1, kColumnCount - 1));
    if (m_currentRow >= Rows())
        SetCurrentRow(Rows() - 1);
    Changed();
    return removed;
}

void TaskList::MoveRow(int from, int to)
{
    if (from == to || !HasRow(from) || !HasRow(to))
        return;
    beginMoveRows(QModelIndex(), from - 1, from - 1, QModelIndex(), to > from ? to : to - 1);
    const TaskRows row = m_rows.Splice(static_cast<std::size_t>(from - 1), 1, TaskRows{});
    m_rows.Splice(static_cast<std::size_t>(to - 1), 0, row);
    m_looks.Moved(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - 1));
    endMoveRows();
    Changed();
}

void TaskList::Replaced(int first, int count, int added)
{
    m_looks.Replaced(m_rows, static_cast<std::size_t>(first), static_cast<std::size_t>(count),
                     static_cast<std::size_t>(added));
}

void TaskList::SetScreen(QSize screen)
{
    m_looks.Reset(m_rows, screen);
    emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

RowLook TaskList::Look(int row) const
{
    return HasRow(row) ? m_looks.At(m_rows, static_cast<std::size_t>(row - 1)) : RowLook{};
}

void TaskList::Changed()
{
    if (m_trackedDepth == 0)
        emit untrackedChange();
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
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    if (role == Qt::EditRole)
        return Cell(row, index.column());
    const bool marked = role == Qt::ForegroundRole || role == Qt::ToolTipRole;
    if (role != Qt::DisplayRole && !marked)
        return {};
    const bool shown = index.column() == kColumnX || index.column() == kColumnTask;
    if (IsEmpty() || (!marked && !shown))
        return role == Qt::DisplayRole ? QVariant(Cell(row, index.column())) : QVariant();
    const RowLook look = Look(row);
    if (role == Qt::ForegroundRole)
        return look.problem.isEmpty() ? QVariant() : QVariant(QColor(Qt::red));
    if (role == Qt::ToolTipRole)
        return look.problem.isEmpty() ? QVariant() : QVariant(look.problem);
    return index.column() == kColumnX ? look.x : look.task;
}

QVariant TaskList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return Cell(0, section);
}

Qt::ItemFlags TaskList::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    const bool editable = index.column() == kColumnY ? Look(index.row() + 1).yEditable
                                                     : index.column() == kColumnX || index.column() == kColumnTask;
    if (!IsEmpty() && editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}
