#pragma once

#include "tasks/TaskEdits.h"
#include "tasks/TaskRows.h"

#include <QObject>

#include <memory>
#include <optional>

class Desktop;
class MessageBoxes;
class QAction;
class QMenu;
class QUndoCommand;
class QWidget;
class Run;
class ScreenNote;
class TaskGrid;
class TaskList;
struct SharedState;

// The Edit menu over the task list and the grid: undo and redo, rows cut, copied and pasted as task
// lines, selected, deleted and moved (also by dragging them in the grid), a task of any kind or a
// pause inserted after the current row, cells changed in place, and a row's point picked on the screen. Each change is
// one edit on the list's stack.
class TaskEditor : public QObject
{
    Q_OBJECT

public:
    // window steps aside while a point is picked; without a desktop (and its run) nothing can be picked.
    TaskEditor(QWidget& window, TaskGrid& grid, TaskList& tasks, const SharedState& state, MessageBoxes& messages,
               Desktop* desktop, Run* run);
    ~TaskEditor() override;

    QMenu* Menu() const { return m_menu; }
    void SetCaptions();

    // Makes the edit, if any, and announces when the list became empty or stopped being empty.
    void Apply(std::unique_ptr<QUndoCommand> edit);
    // A recording is one edit: what it adds from now on until it ends.
    void RecordingStarted();
    void RecordingEnded();

signals:
    // The list became empty (true) or holds tasks again (false) through an edit.
    void emptied(bool empty);

private:
    QAction* AddAction(const char* name, const QKeySequence& shortcut, void (TaskEditor::*slot)(),
                       QMenu* menu = nullptr);
    void UpdateActions();
    template <typename Change> void FollowEmptiness(Change change);

    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void DeleteRows();
    void MoveUp();
    void MoveDown();
    void InsertPauseHere();
    void InsertClick();
    void InsertTyping();
    void InsertKey();
    void InsertWheel();
    void InsertWait();
    // Opens the dialog of an insert; its row goes after the current row, a wheel's once its point is picked.
    void OpenInsertDialog(int kind);
    // Puts the row after the current row, as one edit, and selects it.
    void InsertRow(const TaskRow& row);
    void SelectAll();
    // The selected rows, or the current row when none is selected.
    std::vector<int> RowsToMove() const;
    void PickPoint();
    void StartPick();
    void PointPicked(int x, int y, const QByteArray& image);
    void Refuse(const QString& reason);

    QWidget& m_window;
    TaskGrid& m_grid;
    TaskList& m_tasks;
    const SharedState& m_state;
    MessageBoxes& m_messages;
    QMenu* m_menu = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_cut = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_paste = nullptr;
    QAction* m_deleteRows = nullptr;
    QAction* m_moveUp = nullptr;
    QAction* m_moveDown = nullptr;
    QAction* m_insertPauseHere = nullptr;
    QAction* m_pickPoint = nullptr;
    QMenu* m_insertMenu = nullptr;
    QAction* m_insertClick = nullptr;
    QAction* m_insertTyping = nullptr;
    QAction* m_insertKey = nullptr;
    QAction* m_insertWheel = nullptr;
    QAction* m_insertWait = nullptr;
    QAction* m_selectAll = nullptr;
    // The row an insert puts in once its point is picked (a click, a wheel turn).
    std::optional<TaskRow> m_pendingInsert;
    Run* m_run = nullptr;         // picks the points
    ScreenNote* m_note = nullptr; // what to do while a point is picked
    int m_pickRow = 0;            // the row whose point is being picked
    std::optional<TaskEdits::Recording> m_recording;
};
