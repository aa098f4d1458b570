#pragma once

#include "tasks/RowLook.h"

#include <map>
#include <optional>
#include <utility>

// The looks of a list's rows (RowLook), so that painting the grid never reads a whole long row. A
// row with a long task text (a typing row of thousands of keys) has its look worked out when it
// changes and kept, moved along with the row; a shorter row's is worked out when asked, which costs
// about what reading it does, and the last one asked for is kept until the rows change, since the
// grid asks for a row's cells one after the other. Rows are counted from 0, as TaskRows counts them.
class RowLooks
{
public:
    // Task texts from this length on have their looks kept.
    static constexpr qsizetype kKeptFrom = 2048;

    // The look of a row of rows, which are the rows last told of.
    RowLook At(const TaskRows& rows, std::size_t row) const;

    // The count rows from first were replaced by added rows, which rows holds now.
    void Replaced(const TaskRows& rows, std::size_t first, std::size_t count, std::size_t added);
    // One row was moved so that it is now row to.
    void Moved(std::size_t from, std::size_t to);
    // Every row is new (or the screen changed): the looks are worked out again.
    void Reset(const TaskRows& rows);
    void Reset(const TaskRows& rows, QSize screen);

private:
    RowLook LookOf(const TaskRows& rows, std::size_t row) const;
    static bool IsKept(const TaskRows& rows, std::size_t row);

    QSize m_screen;
    std::map<std::size_t, RowLook> m_kept;
    mutable std::optional<std::pair<std::size_t, RowLook>> m_recent;
};
