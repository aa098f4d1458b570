#include "app/TaskDelegate.h"

#include "app/WheelEditor.h"
#include "core/TextTable.h"
#include "tasks/InputTask.h"
#include "tasks/KeyCombination.h"
#include "tasks/TaskCheck.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"
#include "tasks/TypedText.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimeEdit>

#include <climits>

namespace {

// Which editor a cell gets: each kind of task is edited as a person thinks of it.
enum class Editor
{
    Kinds,        // the kind, from the list of the mouse kinds or written in
    TypedText,    // a typing task's text
    Combination,  // a key task, pressed
    Wheel,        // a wheel turn: direction and notches
    Duration,     // a pause's length
    Milliseconds, // a wait's length
    Text,
};

Editor EditorOf(const TaskList& tasks, const QModelIndex& index)
{
    const QString task = tasks.Cell(index.row() + 1, TaskList::kColumnTask);
    if (index.column() == TaskList::kColumnTask) {
        const std::optional<InputTask> input = InputTask::Parse(task);
        if (input && input->kind == InputTask::Kind::Type)
            return Editor::TypedText;
        if (input && input->kind == InputTask::Kind::Key && KeyCombination::FromKeys(input->keys))
            return Editor::Combination;
        if (input && input->kind == InputTask::Kind::Wheel)
            return Editor::Wheel;
        return Editor::Kinds;
    }
    if (index.column() == TaskList::kColumnX) {
        if (TaskCheck::ShapeOf(task) == TaskCheck::Shape::Duration)
            return Editor::Duration;
        const TaskKinds::Kind* kind = TaskKinds::Find(task);
        if (kind && kind->action == TaskKinds::Action::Wait)
            return Editor::Milliseconds;
    }
    return Editor::Text;
}

InputTask InputOf(InputTask::Kind kind)
{
    InputTask task;
    task.kind = kind;
    return task;
}

} // namespace

TaskDelegate::TaskDelegate(const TaskList& tasks, std::function<QSize()> screenSize, Commit commit, Refuse refuse,
                           QObject* parent)
    : CellTipDelegate(parent), m_tasks(tasks), m_screenSize(std::move(screenSize)), m_commit(std::move(commit)),
      m_refuse(std::move(refuse))
{}

QWidget* TaskDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                    const QModelIndex& index) const
{
    switch (EditorOf(m_tasks, index)) {
    case Editor::Kinds: {
        // Every kind of the table, so kinds added to it come by themselves; any other task is
        // written in ("Key Pushed Shift_L"). The list is as wide as its longest entry.
        auto* kinds = new QComboBox(parent);
        kinds->setEditable(true);
        kinds->setInsertPolicy(QComboBox::NoInsert);
        for (const TaskKinds::Kind& kind : TaskKinds::kAll)
            kinds->addItem(TextTable::Text(kind.textId));
        kinds->view()->setMinimumWidth(kinds->view()->sizeHintForColumn(0) + 2 * kinds->view()->frameWidth() + 8);
        return kinds;
    }
    case Editor::TypedText: {
        auto* text = new QLineEdit(parent);
        text->setObjectName(QStringLiteral("typedTextEditor"));
        text->setToolTip(TextTable::Text(TextId::TypedTextProblem));
        return text;
    }
    case Editor::Combination: {
        auto* keys = new QKeySequenceEdit(parent);
        keys->setObjectName(QStringLiteral("keyEditor"));
        keys->setAutoFillBackground(true);
        // The combination is taken once the user lets go of it for a moment; the editor, closing,
        // says it has finished once more.
        connect(
            keys, &QKeySequenceEdit::editingFinished, this,
            [this, keys] {
                emit const_cast<TaskDelegate*>(this)->commitData(keys);
                emit const_cast<TaskDelegate*>(this)->closeEditor(keys);
            },
            Qt::SingleShotConnection);
        return keys;
    }
    case Editor::Wheel:
        return new WheelEditor(parent);
    case Editor::Duration: {
        auto* length = new QTimeEdit(parent);
        length->setDisplayFormat(QStringLiteral("H:mm:ss"));
        length->setMaximumTime(QTime(0, 0).addSecs(TaskCheck::kMaxPauseSeconds));
        return length;
    }
    case Editor::Milliseconds: {
        auto* ms = new QSpinBox(parent);
        ms->setRange(0, INT_MAX);
        ms->setSuffix(TextTable::Text(TextId::WaitLength).arg(QString()));
        return ms;
    }
    case Editor::Text:
        break;
    }
    return new QLineEdit(parent);
}

void TaskDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString cell = m_tasks.Cell(index.row() + 1, index.column());
    const std::optional<InputTask> input = InputTask::Parse(cell);
    if (auto* kinds = qobject_cast<QComboBox*>(editor))
        kinds->setCurrentText(cell);
    else if (auto* length = qobject_cast<QTimeEdit*>(editor))
        length->setTime(QTime(0, 0).addSecs(TaskCheck::PauseSeconds(cell).value_or(0)));
    else if (auto* ms = qobject_cast<QSpinBox*>(editor))
        ms->setValue(cell.trimmed().toInt());
    else if (auto* keys = qobject_cast<QKeySequenceEdit*>(editor))
        keys->setKeySequence(input ? QKeySequence(KeyCombination::FromKeys(input->keys).value_or(QKeyCombination()))
                                   : QKeySequence());
    else if (auto* wheel = qobject_cast<WheelEditor*>(editor))
        wheel->Set(input ? input->direction : WheelDirection::Down, input ? input->notches : 1);
    else if (auto* text = qobject_cast<QLineEdit*>(editor))
        text->setText(editor->objectName() == QLatin1String("typedTextEditor") && input
                          ? TypedText::FromKeys(input->keys)
                          : cell);
}

std::optional<TaskRow> TaskDelegate::Changed(QWidget* editor, const QModelIndex& index) const
{
    TaskRow row = m_tasks.Row(index.row() + 1);
    if (auto* kinds = qobject_cast<QComboBox*>(editor))
        return TaskCheck::WithKind(row, kinds->currentText().trimmed());
    if (auto* keys = qobject_cast<QKeySequenceEdit*>(editor)) {
        const QKeySequence sequence = keys->keySequence();
        const auto pressed = sequence.isEmpty() ? std::nullopt : KeyCombination::ToKeys(sequence[0]);
        if (!pressed)
            return std::nullopt;
        InputTask task = InputOf(InputTask::Kind::Key);
        task.keys = *pressed;
        row.task = task.Text();
        return row;
    }
    if (auto* wheel = qobject_cast<WheelEditor*>(editor)) {
        InputTask task = InputOf(InputTask::Kind::Wheel);
        task.direction = wheel->Direction();
        task.notches = wheel->Notches();
        row.task = task.Text();
        return row;
    }
    if (editor->objectName() == QLatin1String("typedTextEditor")) {
        const auto typed = TypedText::ToKeys(qobject_cast<QLineEdit*>(editor)->text());
        if (!typed)
            return std::nullopt;
        InputTask task = InputOf(InputTask::Kind::Type);
        task.keys = *typed;
        row.task = task.Text();
        return row;
    }
    QString value;
    if (auto* length = qobject_cast<QTimeEdit*>(editor))
        value = QString::number(QTime(0, 0).secsTo(length->time()));
    else if (auto* ms = qobject_cast<QSpinBox*>(editor))
        value = QString::number(ms->value());
    else if (auto* text = qobject_cast<QLineEdit*>(editor))
        value = text->text().trimmed();
    (index.column() == TaskList::kColumnX ? row.x : row.y) = value;
    return row;
}

void TaskDelegate::setModelData(QWidget* editor, QAbstractItemModel* /*model*/, const QModelIndex& index) const
{
    const std::optional<TaskRow> changed = Changed(editor, index);
    const auto* kinds = qobject_cast<QComboBox*>(editor);
    if (kinds && changed)
        if (const std::optional<QString> problem =
                TaskCheck::KindChangeProblem(m_tasks.Row(index.row() + 1), changed->task))
            return m_refuse(*problem);
    if (!changed)
        m_refuse(TextTable::Text(qobject_cast<QKeySequenceEdit*>(editor) ? TextId::KeyComboProblem
                                                                         : TextId::TypedTextProblem));
    else if (const std::optional<QString> problem = TaskCheck::Problem(*changed, m_screenSize()))
        m_refuse(*problem);
    else
        m_commit(index.row() + 1, *changed);
}

void TaskDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& /*index*/) const
{
    QRect rect = option.rect;
    rect.setWidth(std::max(rect.width(), editor->sizeHint().width()));
    editor->setGeometry(rect);
}

bool TaskDelegate::eventFilter(QObject* object, QEvent* event)
{
    // An open editor keeps its own keys: Alt+Down opens the kind list rather than moving the row,
    // and a combination being pressed is taken whole, whatever the menus' shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool altArrow =
            key->modifiers() == Qt::AltModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down);
        // In a text field Alt+Up/Down still moves the row, taking what was typed along.
        if ((altArrow && qobject_cast<QComboBox*>(object)) || qobject_cast<QKeySequenceEdit*>(object)) {
            event->accept();
            return true;
        }
    }
    return CellTipDelegate::eventFilter(object, event);
}
