#include "tasks/TaskEdits.h"

#include "tasks/TaskList.h"

#include <algorithm>

namespace TaskEdits {
namespace {

// Rows [first, first + count) replaced by rows. Applying it swaps in what it took out, so the same
// splice, applied again, takes the change back.
struct Splice
{
    int first;
    int count;
    TaskRows rows;

    void Apply(TaskList& list)
    {
        const int added = static_cast<int>(rows.size());
        rows = list.Splice(first, count, rows);
        count = added;
    }
};

// Splices applied in order; undone in the reverse order.
class SpliceCommand : public QUndoCommand
{
public:
    SpliceCommand(TaskList& list, std::vector<Splice> splices, bool done = false)
        : m_list(list), m_splices(std::move(splices)), m_done(done)
    {}

    void redo() override
    {
        if (std::exchange(m_done, false))
            return;
        TaskList::TrackedChanges tracked(m_list);
        for (Splice& splice : m_splices)
            splice.Apply(m_list);
    }

    void undo() override
    {
        TaskList::TrackedChanges tracked(m_list);
        for (auto splice = m_splices.rbegin(); splice != m_splices.rend(); ++splice)
            splice->Apply(m_list);
    }

private:
    TaskList& m_list;
    std::vector<Splice> m_splices;
    bool m_done;
};

// Single rows moved in order (from, to); undone by the reverse moves in the reverse order.
class MoveCommand : public QUndoCommand
{
public:
    MoveCommand(TaskList& list, std::vector<std::pair<int, int>> moves) : m_list(list), m_moves(std::move(moves)) {}

    void redo() override
    {
        TaskList::TrackedChanges tracked(m_list);
        for (const auto& [from, to] : m_moves)
            m_list.MoveRow(from, to);
    }

    void undo() override
    {
        TaskList::TrackedChanges tracked(m_list);
        for (auto move = m_moves.rbegin(); move != m_moves.rend(); ++move)
            m_list.MoveRow(move->second, move->first);
    }

private:
    TaskList& m_list;
    std::vector<std::pair<int, int>> m_moves;
};

TaskRows OneRow(const TaskRow& row)
{
    TaskRows rows;
    rows.push_back(row);
    return rows;
}

// The task rows among rows, sorted, each once.
std::vector<int> TaskRowsOf(const TaskList& list, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [&list](int row) { return row < 1 || row > list.TaskCount(); });
    return rows;
}

// The runs of consecutive rows: first and last of each.
std::vector<std::pair<int, int>> Runs(const std::vector<int>& sorted)
{
    std::vector<std::pair<int, int>> runs;
    for (const int row : sorted) {
        if (!runs.empty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    return runs;
}

std::unique_ptr<QUndoCommand> Push(TaskList& list, std::vector<std::pair<int, int>> moves)
{
    if (moves.empty())
        return nullptr;
    return std::make_unique<MoveCommand>(list, std::move(moves));
}

} // namespace

std::unique_ptr<QUndoCommand> Insert(TaskList& list, int before, TaskRows rows)
{
    if (rows.empty())
        return nullptr;
    if (list.IsEmpty())
        return std::make_unique<SpliceCommand>(list, std::vector<Splice>{{1, 1, std::move(rows)}});
    before = std::clamp(before, 1, list.Rows());
    return std::make_unique<SpliceCommand>(list, std::vector<Splice>{{before, 0, std::move(rows)}});
}

std::unique_ptr<QUndoCommand> Remove(TaskList& list, std::vector<int> rows)
{
    rows = TaskRowsOf(list, std::move(rows));
    if (rows.empty())
        return nullptr;
    if (static_cast<int>(rows.size()) == list.TaskCount())
        return std::make_unique<SpliceCommand>(list, std::vector<Splice>{{1, list.TaskCount(), OneRow(TaskRow{})}});
    // From the bottom up, so that each run keeps its numbers until it goes.
    std::vector<Splice> splices;
    const auto runs = Runs(rows);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run)
        splices.push_back({run->first, run->second - run->first + 1, TaskRows{}});
    return std::make_unique<SpliceCommand>(list, std::move(splices));
}

std::unique_ptr<QUndoCommand> Change(TaskList& list, int at, const TaskRow& row)
{
    if (at < 1 || at >= list.Rows())
        return nullptr;
    const TaskRows rows = OneRow(row);
    if (rows == list.RowsAt(at, 1))
        return nullptr;
    return std::make_unique<SpliceCommand>(list, std::vector<Splice>{{at, 1, rows}});
}

std::unique_ptr<QUndoCommand> MoveTo(TaskList& list, std::vector<int> rows, int before)
{
    rows = TaskRowsOf(list, std::move(rows));
    before = std::clamp(before, 1, list.TaskCount() + 1);
    // The rows above the drop go down to it, the last first; then those below come up after them, the
    // first first: each move leaves the rows still to move where they were.
    const auto below = std::lower_bound(rows.begin(), rows.end(), before);
    std::vector<std::pair<int, int>> moves;
    int to = before - 1;
    for (auto row = std::make_reverse_iterator(below); row != rows.rend(); ++row, --to) {
        if (*row != to)
            moves.emplace_back(*row, to);
    }
    to = before;
    for (auto row = below; row != rows.end(); ++row, ++to) {
        if (*row != to)
            moves.emplace_back(*row, to);
    }
    return Push(list, std::move(moves));
}

std::unique_ptr<QUndoCommand> MoveBy(TaskList& list, std::vector<int> rows, int step)
{
    rows = TaskRowsOf(list, std::move(rows));
    if (rows.empty() || (step < 0 && rows.front() == 1) || (step > 0 && rows.back() == list.TaskCount()))
        return nullptr;
    // The row beside each run goes to its other side.
    std::vector<std::pair<int, int>> moves;
    for (const auto& [first, last] : Runs(rows))
        moves.push_back(step < 0 ? std::pair(first - 1, last) : std::pair(last + 1, first));
    if (step > 0)
        std::reverse(moves.begin(), moves.end());
    return Push(list, std::move(moves));
}

struct Recording::Tracking
{
    explicit Tracking(TaskList& list) : changes(list) {}
    TaskList::TrackedChanges changes;
};

Recording::Recording(TaskList& list)
    : m_list(list), m_firstNew(list.IsEmpty() ? 1 : list.Rows()), m_tracking(std::make_unique<Tracking>(list))
{
    if (list.IsEmpty())
        m_replaced = list.RowsAt(1, 1);
}

Recording::~Recording() = default;

std::unique_ptr<QUndoCommand> Recording::Finish()
{
    m_tracking.reset();
    if (m_list.IsEmpty() || m_list.Rows() == m_firstNew)
        return nullptr;
    // The splice as it stands once done: it takes the added rows out again.
    const int added = m_list.Rows() - m_firstNew;
    Splice splice{m_firstNew, added, m_replaced.value_or(TaskRows{})};
    return std::make_unique<SpliceCommand>(m_list, std::vector<Splice>{std::move(splice)}, true);
}

} // namespace TaskEdits
