#pragma once

#include "tasks/TaskRows.h"

#include <QUndoCommand>

#include <memory>
#include <optional>
#include <vector>

class TaskList;

// The edits of the task list, each an undo command for the list's stack (TaskList::Edits()). Rows
// are counted as TaskList counts them: 1 is the first task. Each returns nothing when it would
// change nothing. The empty list keeps its blank row 1: rows put into it replace that row, and
// removing every task leaves a blank one.
namespace TaskEdits {

// Puts rows before row `before` (Rows() to append).
std::unique_ptr<QUndoCommand> Insert(TaskList& list, int before, TaskRows rows);
// Removes the rows, in any order.
std::unique_ptr<QUndoCommand> Remove(TaskList& list, std::vector<int> rows);
// Puts `row` in place of the task in row `at`.
std::unique_ptr<QUndoCommand> Change(TaskList& list, int at, const TaskRow& row);
// Moves the rows, in their order, so that they stand together before row `before` (Rows() for the
// end), as a drop in the grid does.
std::unique_ptr<QUndoCommand> MoveTo(TaskList& list, std::vector<int> rows, int before);
// Moves each run of the rows one row up (step -1) or down (step 1); nothing when one is at the edge.
std::unique_ptr<QUndoCommand> MoveBy(TaskList& list, std::vector<int> rows, int step);

// A recording as one edit: made when the recording starts, it holds the list's changes until
// Finish gives the rows the recording added as one command, already done.
class Recording
{
public:
    explicit Recording(TaskList& list);
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    // Nothing when the recording added no task.
    std::unique_ptr<QUndoCommand> Finish();

private:
    TaskList& m_list;
    std::optional<TaskRows> m_replaced; // the blank row 1 that the first task fills
    int m_firstNew;
    struct Tracking;
    std::unique_ptr<Tracking> m_tracking;
};

} // namespace TaskEdits
