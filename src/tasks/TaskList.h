#pragma once

#include "tasks/RowLooks.h"
#include "tasks/TaskRows.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>
#include <QUndoStack>

#include <optional>
#include <vector>

// The task list, numbered as the grid shows it: row 0 is the header, tasks are rows 1 and up,
// and Rows() counts the header too. The empty list keeps one blank row 1, so Rows() is never
// below 2. Columns: 0 task number, 1 x, 2 y, 3 task text, 4 descriptive image text.
// (Qt's model rows are one less than these rows; only the model interface below uses them.)
class TaskList : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        kColumnNumber = 0,
        kColumnX = 1,
        kColumnY = 2,
        kColumnTask = 3,
        kColumnImage = 4,
        kColumnCount = 5,
    };

    explicit TaskList(QObject* parent = nullptr);

    int Rows() const;
    // The cell text; row 0 holds the header texts. Out of range gives an empty text.
    QString Cell(int row, int column) const;
    // Column 4 of a task row as bytes; empty out of range.
    QByteArray Image(int row) const;
    bool IsEmpty() const;
    // Whether any task holds a descriptive image.
    bool HasImages() const;
    int TaskCount() const;

    // Adds a task in a row of its own; the first task fills the blank row 1.
    void AddTask(const QString& x, const QString& y, const QString& taskText, const QByteArray& imageText);
    // Puts row in place of the last task (the recorder's double click).
    void ReplaceLastTask(const TaskRow& row);
    // The same as AddTask for each row, in one model update.
    void AddTasks(const std::vector<TaskRow>& rows);
    // The same; rows that fill an empty list are taken over without a copy.
    void AddTasks(TaskRows&& rows);
    // Rows 1 to the last, packed.
    const TaskRows& PackedRows() const { return m_rows; }
    // A copy of count rows from first; a task row as a whole.
    TaskRows RowsAt(int first, int count) const;
    TaskRow Row(int row) const;

    // The edits of the list, each one step to undo and redo (TaskEdits makes them). Its clean state
    // is the list as last read or saved.
    QUndoStack& Edits() { return m_edits; }
    // Puts rows in place of count rows from first (1 to Rows()) and returns the rows taken out. The
    // caller keeps at least one row: the empty list is a blank row 1.
    TaskRows Splice(int first, int count, const TaskRows& rows);
    // Moves one row so that it becomes row `to`; the grid's selection follows it.
    void MoveRow(int from, int to);

    // While one lives, the list's changes belong to an edit on the stack (or to one it will hold):
    // they raise no untrackedChange.
    class TrackedChanges
    {
    public:
        explicit TrackedChanges(TaskList& list) : m_list(list) { ++m_list.m_trackedDepth; }
        ~TrackedChanges() { --m_list.m_trackedDepth; }
        TrackedChanges(const TrackedChanges&) = delete;
        TrackedChanges& operator=(const TrackedChanges&) = delete;

    private:
        TaskList& m_list;
    };

    // Removes every row after row 1 and blanks row 1.
    void ClearTaskList();
    // Removes the last task; returns true when the list was down to row 1, which is blanked in
    // columns 1 to 3 (column 4 stays until the next task overwrites it).
    bool DeleteLastTask();

    // The size of the screen that rows are played on: a point off it cannot be played (the grid marks
    // it). An empty size checks no screen.
    void SetScreen(QSize screen);
    // What the grid shows for a task row: kept beside the row from when it last changed.
    RowLook Look(int row) const;

    // The grid's current row, which is also the playback position; 0 when none is current.
    int CurrentRow() const { return m_currentRow; }
    void SetCurrentRow(int row);

    // QAbstractTableModel: the display of a cell, its text to edit, the red of a row that cannot be
    // played and the reason as its tool tip.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void currentRowChanged(int row);
    // The list changed outside the edits on the stack, so undoing cannot bring back the saved list.
    void untrackedChange();

private:
    bool HasRow(int row) const { return row >= 1 && row < Rows(); }
    QByteArrayView FieldOf(int row, TaskRows::Field field) const;
    void EmitRowChanged(int row);
    void Changed();
    // The rows from first (counted from 0) changed: count of them were replaced by added ones.
    void Replaced(int first, int count, int added);

    TaskRows m_rows; // m_rows[0] is row 1; never empty
    RowLooks m_looks;
    int m_currentRow = 1;
    int m_trackedDepth = 0;
    QUndoStack m_edits;
};
