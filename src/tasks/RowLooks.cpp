#include "tasks/RowLooks.h"

RowLook RowLooks::LookOf(const TaskRows& rows, std::size_t row) const
{
    // The image is left out: it is not shown in a cell, and it is the largest part of a row.
    const TaskRow cells{QString::fromLatin1(rows.FieldOf(row, TaskRows::kX)),
                        QString::fromLatin1(rows.FieldOf(row, TaskRows::kY)),
                        QString::fromLatin1(rows.FieldOf(row, TaskRows::kTask)),
                        {}};
    return RowLook::Of(cells, m_screen);
}

bool RowLooks::IsKept(const TaskRows& rows, std::size_t row)
{
    return rows.FieldOf(row, TaskRows::kTask).size() >= kKeptFrom;
}

RowLook RowLooks::At(const TaskRows& rows, std::size_t row) const
{
    if (const auto kept = m_kept.find(row); kept != m_kept.end())
        return kept->second;
    if (!m_recent || m_recent->first != row)
        m_recent.emplace(row, LookOf(rows, row));
    return m_recent->second;
}

void RowLooks::Replaced(const TaskRows& rows, std::size_t first, std::size_t count, std::size_t added)
{
    m_recent.reset();
    std::map<std::size_t, RowLook> kept;
    for (auto& [row, look] : m_kept) {
        if (row < first)
            kept.emplace_hint(kept.end(), row, std::move(look));
        else if (row >= first + count)
            kept.emplace_hint(kept.end(), row - count + added, std::move(look));
    }
    for (std::size_t row = first; row < first + added; ++row) {
        if (IsKept(rows, row))
            kept.emplace(row, LookOf(rows, row));
    }
    m_kept = std::move(kept);
}

void RowLooks::Moved(std::size_t from, std::size_t to)
{
    m_recent.reset();
    std::optional<RowLook> moved;
    if (const auto found = m_kept.find(from); found != m_kept.end()) {
        moved = std::move(found->second);
        m_kept.erase(found);
    }
    // The rows between the two places move one place towards from.
    std::map<std::size_t, RowLook> kept;
    for (auto& [row, look] : m_kept) {
        std::size_t now = row;
        if (from < to && row > from && row <= to)
            --now;
        else if (to < from && row >= to && row < from)
            ++now;
        kept.emplace(now, std::move(look));
    }
    if (moved)
        kept.emplace(to, std::move(*moved));
    m_kept = std::move(kept);
}

void RowLooks::Reset(const TaskRows& rows)
{
    m_recent.reset();
    m_kept.clear();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (IsKept(rows, row))
            m_kept.emplace_hint(m_kept.end(), row, LookOf(rows, row));
    }
}

void RowLooks::Reset(const TaskRows& rows, QSize screen)
{
    m_screen = screen;
    Reset(rows);
}
