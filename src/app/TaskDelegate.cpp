#include "app/TaskDelegate.h"

#include "core/TextTable.h"
#include "tasks/TaskCheck.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimeEdit>

namespace {
bool IsDuration(const TaskList& tasks, const QModelIndex& index)
{
    return index.column() == TaskList::kColumnX &&
           TaskCheck::ShapeOf(tasks.Cell(index.row() + 1, TaskList::kColumnTask)) == TaskCheck::Shape::Duration;
}
} // namespace

TaskDelegate::TaskDelegate(const TaskList& tasks, std::function<QSize()> screenSize, Commit commit, Refuse refuse,
                           QObject* parent)
    : UnplayableRowDelegate(tasks, screenSize(), parent), m_tasks(tasks), m_screenSize(std::move(screenSize)),
      m_commit(std::move(commit)), m_refuse(std::move(refuse))
{}

QWidget* TaskDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                    const QModelIndex& index) const
{
    if (index.column() == TaskList::kColumnTask) {
        // Every kind of the table, so kinds added to it come by themselves; a key, typed text or a
        // wheel turn is written in ("Type H i", "Key Control_L+s", "Wheel down 3").
        auto* kinds = new QComboBox(parent);
        kinds->setEditable(true);
        kinds->setInsertPolicy(QComboBox::NoInsert);
        for (const TaskKinds::Kind& kind : TaskKinds::kAll)
            kinds->addItem(TextTable::Text(kind.textId));
        return kinds;
    }
    if (IsDuration(m_tasks, index)) {
        auto* length = new QTimeEdit(parent);
        length->setDisplayFormat(QStringLiteral("H:mm:ss"));
        length->setMaximumTime(QTime(0, 0).addSecs(TaskCheck::kMaxPauseSeconds));
        return length;
    }
    return new QLineEdit(parent);
}

void TaskDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString cell = m_tasks.Cell(index.row() + 1, index.column());
    if (auto* kinds = qobject_cast<QComboBox*>(editor))
        kinds->setCurrentText(cell);
    else if (auto* length = qobject_cast<QTimeEdit*>(editor))
        length->setTime(QTime(0, 0).addSecs(TaskCheck::PauseSeconds(cell).value_or(0)));
    else if (auto* text = qobject_cast<QLineEdit*>(editor))
        text->setText(cell);
}

TaskRow TaskDelegate::Changed(QWidget* editor, const QModelIndex& index) const
{
    TaskRow row = m_tasks.Row(index.row() + 1);
    if (auto* kinds = qobject_cast<QComboBox*>(editor))
        return TaskCheck::WithKind(row, kinds->currentText().trimmed());
    QString value;
    if (auto* length = qobject_cast<QTimeEdit*>(editor))
        value = QString::number(QTime(0, 0).secsTo(length->time()));
    else if (auto* text = qobject_cast<QLineEdit*>(editor))
        value = text->text().trimmed();
    (index.column() == TaskList::kColumnX ? row.x : row.y) = value;
    return row;
}

void TaskDelegate::setModelData(QWidget* editor, QAbstractItemModel* /*model*/, const QModelIndex& index) const
{
    const TaskRow changed = Changed(editor, index);
    if (const std::optional<QString> problem = TaskCheck::Problem(changed, m_screenSize()))
        m_refuse(*problem);
    else
        m_commit(index.row() + 1, changed);
}

void TaskDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& /*index*/) const
{
    QRect rect = option.rect;
    rect.setWidth(std::max(rect.width(), editor->sizeHint().width()));
    editor->setGeometry(rect);
}
