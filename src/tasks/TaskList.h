#pragma once

#include "tasks/TaskRows.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// Where a task comes from: only recorded tasks open the double-click window.
enum class TaskOrigin
{
    Recorded,
    Inserted, // a pause or a line loaded from a macro file
};

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

    // A click merges into the previous click when it is added within this many recording ticks,
    // or when its press came within the double-click interval of the previous click's press.
    static constexpr int kDoubleClickTicks = 4;

    explicit TaskList(QObject* parent = nullptr);

    int Rows() const;
    // The cell text; row 0 holds the header texts. Out of range gives an empty text.
    QString Cell(int row, int column) const;
    // Column 4 of a task row as bytes; empty out of range.
    QByteArray Image(int row) const;
    bool IsEmpty() const;
    int TaskCount() const;

    // Adds a task by the double-click rule: a click whose last row is a click or a double click of
    // the same button, within the double-click distance of it, turns that row into a double click
    // at the new point with the new image when it arrives while the tick counter is 1 to 4 or when
    // its press came within the double-click interval of that click's press. Every other task gets
    // a row of its own; the first task fills the blank row 1. pressTime is the desktop's clock in
    // milliseconds at the press, where the desktop reported it.
    void AddTask(const QString& x, const QString& y, const QString& taskText, const QByteArray& imageText,
                 TaskOrigin origin = TaskOrigin::Recorded, std::optional<quint32> pressTime = {});
    // The same as AddTask with TaskOrigin::Inserted for each row, in one model update.
    void AddTasks(const std::vector<TaskRow>& rows);
    // The same; rows that fill an empty list are taken over without a copy.
    void AddTasks(TaskRows&& rows);
    // Rows 1 to the last, packed.
    const TaskRows& PackedRows() const { return m_rows; }
    // Whether AddTask would turn the last row into a double click rather than add a row.
    bool MergesAsDoubleClick(const QString& x, const QString& y, const QString& taskText,
                             std::optional<quint32> pressTime) const;

    // Removes every row after row 1 and blanks row 1.
    void ClearTaskList();
    // Removes the last task; returns true when the list was down to row 1, which is blanked in
    // columns 1 to 3 (column 4 stays until the next task overwrites it).
    bool DeleteLastTask();

    // Recording ticks since the last task was added.
    int TickCounter() const { return m_tickCounter; }
    void RaiseTickCounter();
    // Puts the counter above the double-click window and forgets the last press, so the next
    // click cannot merge.
    void CloseDoubleClickWindow();
    // The desktop's double-click time and distance (QStyleHints gives them): the interval in
    // milliseconds, the distance in pixels along either axis.
    void SetDoubleClickLimits(int intervalMs, int distance);

    // The grid's current row, which is also the playback position; 0 when none is current.
    int CurrentRow() const { return m_currentRow; }
    void SetCurrentRow(int row);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void currentRowChanged(int row);

private:
    bool HasRow(int row) const { return row >= 1 && row < Rows(); }
    QByteArrayView FieldOf(int row, TaskRows::Field field) const;
    // Puts row in place of the last row.
    void ReplaceLastRow(const TaskRow& row);
    void EmitRowChanged(int row);

    TaskRows m_rows; // m_rows[0] is row 1; never empty
    int m_tickCounter = 0;
    std::optional<quint32> m_lastPressTime; // of the click in the last row, when the desktop gave it
    int m_doubleClickInterval = 400;
    int m_doubleClickDistance = 5;
    int m_currentRow = 1;
};
