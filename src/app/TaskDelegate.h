#pragma once

#include "tasks/TaskRows.h"

#include "app/CellTipDelegate.h"
#include <QSize>

#include <functional>
#include <optional>

class TaskList;

// The task grid's delegate: the tool tips of CellTipDelegate,
// and the editors of the cells: x and y as typed text, the kind from the list of the task
// kinds, a typing task as its text, a key task by pressing it, a wheel turn by direction and notches,
// a pause's length in hours, minutes and seconds, a wait's in milliseconds. A change is checked before it is handed
// on as a whole row; a bad one is refused with its reason and changes nothing.
class TaskDelegate : public CellTipDelegate
{
    Q_OBJECT

public:
    using Commit = std::function<void(int row, const TaskRow& changed)>;
    using Refuse = std::function<void(const QString& reason)>;

    TaskDelegate(const TaskList& tasks, std::function<QSize()> screenSize, Commit commit, Refuse refuse,
                 QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    // An editor as wide as it needs, over the cells to its right where the column is narrower.
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // The row that the editor's value makes of the row at index, unchecked; none for typed text
    // or a combination that gives no keys.
    std::optional<TaskRow> Changed(QWidget* editor, const QModelIndex& index) const;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    const TaskList& m_tasks;
    std::function<QSize()> m_screenSize;
    Commit m_commit;
    Refuse m_refuse;
};
