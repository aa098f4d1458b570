#pragma once

#include <QTableView>

class TaskList;

// The task grid: a table of whole rows that the user selects, changes in place (F2, Enter or a
// double click) and reorders by dragging rows within it. A drop is only reported: the window
// turns it into an edit.
class TaskGrid : public QTableView
{
    Q_OBJECT

public:
    explicit TaskGrid(QWidget* parent = nullptr);

    // Shows the list, without its image column; the grid's current row and the list's (the
    // playback position) follow each other from now on.
    void ShowList(TaskList& tasks);

    // The selected task rows, counted from 1, in order.
    std::vector<int> SelectedRows() const;
    // Selects rows first to last and makes first current.
    void SelectRows(int first, int last);
    // Hands on what an open cell editor holds and closes it, so that a command given meanwhile (a
    // shortcut, a menu) comes after the change the user typed.
    void FinishEditing();

signals:
    // The selected rows were dropped before this row (one past the last row for the end).
    void rowsDropped(int before);
    // A key came up: the grid moved its current row on the press, so the row the user moved to is
    // current by now.
    void keyReleased();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    int DropRow(QPoint at) const;
};
