#include "app/TaskGrid.h"

#include "tasks/TaskList.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

#include <set>

namespace {
// Rows dragged within the grid carry nothing: the drop takes the grid's selection.
const QString kRowsFormat = QStringLiteral("application/x-clickwarden-grid-rows");
} // namespace

TaskGrid::TaskGrid(QWidget* parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setSortingEnabled(false);
    verticalHeader()->hide();
}

void TaskGrid::ShowList(TaskList& tasks)
{
    setModel(&tasks);
    setColumnHidden(TaskList::kColumnImage, true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [&tasks](const QModelIndex& current) {
        if (current.isValid())
            tasks.SetCurrentRow(current.row() + 1);
    });
    connect(&tasks, &TaskList::currentRowChanged, this, [this, &tasks](int row) {
        const QModelIndex index = tasks.index(row - 1, TaskList::kColumnX);
        if (index.isValid() && currentIndex().row() != index.row())
            setCurrentIndex(index);
    });
}

std::vector<int> TaskGrid::SelectedRows() const
{
    std::set<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.insert(index.row() + 1);
    return {rows.begin(), rows.end()};
}

void TaskGrid::SelectRows(int first, int last)
{
    const QModelIndex top = model()->index(first - 1, 1);
    if (!top.isValid())
        return;
    selectionModel()->setCurrentIndex(top, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(top, model()->index(last - 1, 1)),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TaskGrid::FinishEditing()
{
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TaskGrid::startDrag(Qt::DropActions /*supportedActions*/)
{
    auto* mime = new QMimeData;
    mime->setData(kRowsFormat, {});
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
}

void TaskGrid::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void TaskGrid::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->source() == this && event->mimeData()->hasFormat(kRowsFormat))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TaskGrid::dropEvent(QDropEvent* event)
{
    if (event->source() != this || !event->mimeData()->hasFormat(kRowsFormat))
        return event->ignore();
    event->acceptProposedAction();
    emit rowsDropped(DropRow(event->position().toPoint()));
}

// Before the row under the point, or after it in its lower half; after the last row below them all.
int TaskGrid::DropRow(QPoint at) const
{
    const QModelIndex index = indexAt(at);
    if (!index.isValid())
        return model()->rowCount() + 1;
    const QRect rect = visualRect(index);
    return index.row() + 1 + (at.y() > rect.center().y() ? 1 : 0);
}

void TaskGrid::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != EditingState && event->modifiers() == Qt::NoModifier && currentIndex().isValid() &&
        edit(currentIndex(), EditKeyPressed, event))
        return;
    QTableView::keyPressEvent(event);
}

void TaskGrid::keyReleaseEvent(QKeyEvent* event)
{
    emit keyReleased();
    QTableView::keyReleaseEvent(event);
}
