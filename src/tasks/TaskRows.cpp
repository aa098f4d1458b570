#include "tasks/TaskRows.h"

namespace {
constexpr char kSeparator = '*';

QByteArray CellBytes(const QString& text)
{
    QByteArray bytes = text.toLatin1();
    bytes.replace(kSeparator, ' ');
    return bytes;
}
} // namespace

QByteArrayView TaskRows::Packed(std::size_t row) const
{
    const qsizetype begin = row == 0 ? 0 : m_ends[row - 1];
    return QByteArrayView(m_bytes).sliced(begin, m_ends[row] - begin);
}

QByteArrayView TaskRows::FieldOf(std::size_t row, Field field) const
{
    QByteArrayView rest = Packed(row);
    for (int skipped = 0; skipped < field; ++skipped)
        rest = rest.sliced(rest.indexOf(kSeparator) + 1);
    if (field == kImage)
        return rest;
    return rest.first(rest.indexOf(kSeparator));
}

TaskRow TaskRows::operator[](std::size_t row) const
{
    return TaskRow{QString::fromLatin1(FieldOf(row, kX)), QString::fromLatin1(FieldOf(row, kY)),
                   QString::fromLatin1(FieldOf(row, kTask)), FieldOf(row, kImage).toByteArray()};
}

void TaskRows::push_back(const TaskRow& row)
{
    Append(CellBytes(row.x), CellBytes(row.y), CellBytes(row.task), row.image);
}

void TaskRows::Append(QByteArrayView x, QByteArrayView y, QByteArrayView task, QByteArrayView image)
{
    m_bytes.append(x).append(kSeparator).append(y).append(kSeparator).append(task).append(kSeparator).append(image);
    m_ends.push_back(m_bytes.size());
}

void TaskRows::Append(const TaskRows& rows)
{
    const qsizetype offset = m_bytes.size();
    m_bytes.reserve(offset + rows.m_bytes.size());
    m_bytes.append(rows.m_bytes);
    for (const qsizetype end : rows.m_ends)
        m_ends.push_back(offset + end);
}

void TaskRows::pop_back()
{
    m_ends.pop_back();
    m_bytes.truncate(m_ends.empty() ? 0 : m_ends.back());
}

TaskRows TaskRows::Slice(std::size_t first, std::size_t count) const
{
    TaskRows out;
    if (count == 0)
        return out;
    const qsizetype begin = first == 0 ? 0 : m_ends[first - 1];
    out.m_bytes = m_bytes.sliced(begin, m_ends[first + count - 1] - begin);
    for (std::size_t row = first; row < first + count; ++row)
        out.m_ends.push_back(m_ends[row] - begin);
    return out;
}

TaskRows TaskRows::Splice(std::size_t first, std::size_t count, const TaskRows& rows)
{
    TaskRows removed = Slice(first, count);
    const qsizetype begin = first == 0 ? 0 : m_ends[first - 1];
    m_bytes.replace(begin, removed.m_bytes.size(), rows.m_bytes);
    const auto at = m_ends.begin() + static_cast<std::ptrdiff_t>(first);
    m_ends.insert(m_ends.erase(at, at + static_cast<std::ptrdiff_t>(count)), rows.m_ends.begin(), rows.m_ends.end());
    for (std::size_t row = first; row < first + rows.size(); ++row)
        m_ends[row] += begin;
    const qsizetype shift = rows.m_bytes.size() - removed.m_bytes.size();
    for (std::size_t row = first + rows.size(); row < m_ends.size(); ++row)
        m_ends[row] += shift;
    return removed;
}
