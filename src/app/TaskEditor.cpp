#include "app/TaskEditor.h"

#include "app/InsertTaskDialog.h"
#include "app/PauseDialog.h"
#include "app/Run.h"
#include "app/ScreenNote.h"
#include "app/TaskDelegate.h"
#include "app/TaskGrid.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "macrofile/TaskClipboard.h"
#include "tasks/SharedState.h"
#include "tasks/TaskCheck.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include <utility>

TaskEditor::TaskEditor(QWidget& window, TaskGrid& grid, TaskList& tasks, const SharedState& state,
                       MessageBoxes& messages, Desktop* desktop, Run* run)
    : QObject(&window), m_window(window), m_grid(grid), m_tasks(tasks), m_state(state), m_messages(messages), m_run(run)
{
    m_menu = new QMenu(&window);
    m_menu->setObjectName(QStringLiteral("editMenu"));
    m_undo = AddAction("editUndo", QKeySequence::Undo, &TaskEditor::Undo);
    m_redo = AddAction("editRedo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TaskEditor::Redo);
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    m_menu->addSeparator();
    m_cut = AddAction("editCut", QKeySequence::Cut, &TaskEditor::Cut);
    m_copy = AddAction("editCopy", QKeySequence::Copy, &TaskEditor::Copy);
    m_paste = AddAction("editPaste", QKeySequence::Paste, &TaskEditor::Paste);
    // Ctrl+A is Append, as it always was.
    m_selectAll = AddAction("editSelectAll", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), &TaskEditor::SelectAll);
    // Del stays with "Delete last task added.".
    m_deleteRows = AddAction("editDeleteRows", QKeySequence(Qt::CTRL | Qt::Key_Delete), &TaskEditor::DeleteRows);
    m_menu->addSeparator();
    m_moveUp = AddAction("editMoveUp", QKeySequence(Qt::ALT | Qt::Key_Up), &TaskEditor::MoveUp);
    m_moveDown = AddAction("editMoveDown", QKeySequence(Qt::ALT | Qt::Key_Down), &TaskEditor::MoveDown);
    m_menu->addSeparator();
    m_insertMenu = m_menu->addMenu(QString());
    m_insertMenu->setObjectName(QStringLiteral("editInsertMenu"));
    m_insertClick = AddAction("editInsertClick", QKeySequence(), &TaskEditor::InsertClick, m_insertMenu);
    m_insertTyping = AddAction("editInsertTyping", QKeySequence(), &TaskEditor::InsertTyping, m_insertMenu);
    m_insertKey = AddAction("editInsertKey", QKeySequence(), &TaskEditor::InsertKey, m_insertMenu);
    m_insertWheel = AddAction("editInsertWheel", QKeySequence(), &TaskEditor::InsertWheel, m_insertMenu);
    m_insertWait = AddAction("editInsertWait", QKeySequence(), &TaskEditor::InsertWait, m_insertMenu);
    m_insertPauseHere = AddAction("editInsertPause", QKeySequence(), &TaskEditor::InsertPauseHere);
    m_pickPoint = AddAction("editPickPoint", QKeySequence(Qt::CTRL | Qt::Key_K), &TaskEditor::PickPoint);

    if (m_run) {
        connect(m_run, &Run::picked, this, &TaskEditor::PointPicked);
        connect(m_run, &Run::pickCancelled, this, [this] {
            m_pendingInsert.reset();
            m_note->hide();
            m_window.showNormal();
        });
        m_note = new ScreenNote(&m_window);
    }
    const auto screenSize = [desktop] {
        return desktop ? desktop->ScreenSize() : QSize();
    };
    // The grid marks the rows whose point lies off this screen.
    m_tasks.SetScreen(screenSize());
    m_grid.setItemDelegate(new TaskDelegate(
        m_tasks, screenSize,
        [this](int row, const TaskRow& changed) { Apply(TaskEdits::Change(m_tasks, row, changed)); },
        [this](const QString& reason) { Refuse(reason); }, &m_grid));
    connect(&m_grid, &TaskGrid::rowsDropped, this, [this](int before) {
        m_grid.FinishEditing();
        Apply(TaskEdits::MoveTo(m_tasks, m_grid.SelectedRows(), before));
    });

    connect(m_grid.selectionModel(), &QItemSelectionModel::selectionChanged, this, &TaskEditor::UpdateActions);
    connect(&m_tasks.Edits(), &QUndoStack::indexChanged, this, &TaskEditor::UpdateActions);
    connect(&m_tasks, &TaskList::untrackedChange, this, &TaskEditor::UpdateActions);
    UpdateActions();
}

TaskEditor::~TaskEditor() = default;

QAction* TaskEditor::AddAction(const char* name, const QKeySequence& shortcut, void (TaskEditor::*slot)(), QMenu* menu)
{
    QAction* action = (menu ? menu : m_menu)->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    // What the user typed into a cell counts first.
    connect(action, &QAction::triggered, this, [this, slot] {
        m_grid.FinishEditing();
        (this->*slot)();
    });
    return action;
}

void TaskEditor::SetCaptions()
{
    m_menu->setTitle(TextTable::Text(TextId::EditMenu));
    const std::pair<QAction*, TextId> captions[] = {
        {m_undo, TextId::UndoCommand},
        {m_redo, TextId::RedoCommand},
        {m_cut, TextId::CutCommand},
        {m_copy, TextId::CopyCommand},
        {m_paste, TextId::PasteCommand},
        {m_deleteRows, TextId::DeleteRowsCommand},
        {m_moveUp, TextId::MoveUpCommand},
        {m_moveDown, TextId::MoveDownCommand},
        {m_selectAll, TextId::SelectAllCommand},
        {m_insertMenu->menuAction(), TextId::InsertMenu},
        {m_insertClick, TextId::InsertClickCommand},
        {m_insertTyping, TextId::InsertTypingCommand},
        {m_insertKey, TextId::InsertKeyCommand},
        {m_insertWheel, TextId::InsertWheelCommand},
        {m_insertWait, TextId::InsertWaitCommand},
        {m_insertPauseHere, TextId::InsertPauseHereCommand},
        {m_pickPoint, TextId::PickPointCommand},
    };
    for (const auto& [action, id] : captions)
        action->setText(TextTable::Text(id));
}

void TaskEditor::UpdateActions()
{
    const std::vector<int> rows = m_tasks.IsEmpty() || !m_grid.isEnabled() ? std::vector<int>{} : m_grid.SelectedRows();
    m_undo->setEnabled(m_tasks.Edits().canUndo());
    m_redo->setEnabled(m_tasks.Edits().canRedo());
    for (QAction* action : {m_cut, m_copy, m_deleteRows})
        action->setEnabled(!rows.empty());
    const std::vector<int> moving = m_tasks.IsEmpty() || !m_grid.isEnabled() ? std::vector<int>{} : RowsToMove();
    m_moveUp->setEnabled(!moving.empty() && moving.front() > 1);
    m_moveDown->setEnabled(!moving.empty() && moving.back() < m_tasks.TaskCount());
    m_selectAll->setEnabled(!m_tasks.IsEmpty());
    // A row without a point is told why when asked.
    m_pickPoint->setEnabled(m_run && !m_tasks.IsEmpty());
    for (QAction* action : {m_insertClick, m_insertWheel})
        action->setEnabled(m_run != nullptr);
}

std::vector<int> TaskEditor::RowsToMove() const
{
    std::vector<int> rows = m_grid.SelectedRows();
    if (rows.empty() && m_tasks.CurrentRow() >= 1)
        rows.push_back(m_tasks.CurrentRow());
    return rows;
}

void TaskEditor::SelectAll()
{
    if (!m_tasks.IsEmpty())
        m_grid.SelectRows(1, m_tasks.TaskCount());
}

template <typename Change> void TaskEditor::FollowEmptiness(Change change)
{
    const bool wasEmpty = m_tasks.IsEmpty();
    change();
    if (m_tasks.IsEmpty() != wasEmpty)
        emit emptied(!wasEmpty);
    UpdateActions();
}

void TaskEditor::Apply(std::unique_ptr<QUndoCommand> edit)
{
    if (edit)
        FollowEmptiness([&] { m_tasks.Edits().push(edit.release()); });
}

void TaskEditor::RecordingStarted()
{
    if (!m_recording)
        m_recording.emplace(m_tasks);
}

void TaskEditor::RecordingEnded()
{
    if (!m_recording)
        return;
    std::unique_ptr<QUndoCommand> recorded = m_recording->Finish();
    m_recording.reset();
    // Already done: pushing it only puts it on the stack.
    if (recorded)
        m_tasks.Edits().push(recorded.release());
}

void TaskEditor::Undo()
{
    FollowEmptiness([this] { m_tasks.Edits().undo(); });
}

void TaskEditor::Redo()
{
    FollowEmptiness([this] { m_tasks.Edits().redo(); });
}

void TaskEditor::Copy()
{
    const std::vector<int> rows = m_grid.SelectedRows();
    TaskRows copied;
    for (const int row : rows)
        copied.push_back(m_tasks.Row(row));
    QGuiApplication::clipboard()->setText(QString::fromLatin1(TaskClipboard::Text(copied)));
}

void TaskEditor::Cut()
{
    Copy();
    DeleteRows();
}

void TaskEditor::Paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    const QByteArray bytes = text.toLatin1();
    if (QString::fromLatin1(bytes) != text)
        return Refuse(TextTable::Text(TextId::NothingPasted) + QLatin1Char('\n') +
                      TextTable::Text(TextId::UnsafeCharacters));
    TaskClipboard::Parsed parsed = TaskClipboard::Rows(bytes);
    if (!parsed.problem.isEmpty())
        return Refuse(parsed.problem);
    // After the current row; into the empty list in place of its blank row.
    const int first = m_tasks.IsEmpty() ? 1 : m_tasks.CurrentRow() + 1;
    const int count = static_cast<int>(parsed.rows.size());
    Apply(TaskEdits::Insert(m_tasks, first, std::move(parsed.rows)));
    m_grid.SelectRows(first, first + count - 1);
}

bool TaskEditor::DeleteSelectedRows()
{
    m_grid.FinishEditing();
    if (m_tasks.IsEmpty() || m_grid.SelectedRows().empty())
        return false;
    DeleteRows();
    return true;
}

void TaskEditor::DeleteRows()
{
    const std::vector<int> rows = m_grid.SelectedRows();
    if (rows.empty())
        return;
    Apply(TaskEdits::Remove(m_tasks, rows));
    const int current = std::min(rows.front(), m_tasks.Rows() - 1);
    m_grid.SelectRows(current, current);
}

void TaskEditor::MoveUp()
{
    const std::vector<int> rows = RowsToMove();
    Apply(TaskEdits::MoveBy(m_tasks, rows, -1));
    if (!rows.empty() && rows.front() > 1)
        m_grid.SelectRows(rows.front() - 1, rows.back() - 1);
}

void TaskEditor::MoveDown()
{
    const std::vector<int> rows = RowsToMove();
    Apply(TaskEdits::MoveBy(m_tasks, rows, 1));
    if (!rows.empty() && rows.back() < m_tasks.TaskCount())
        m_grid.SelectRows(rows.front() + 1, rows.back() + 1);
}

void TaskEditor::InsertPauseHere()
{
    const int after = m_tasks.IsEmpty() ? 0 : m_tasks.CurrentRow();
    PauseDialog::Open(&m_window, [this, after](int seconds) {
        TaskRows pause;
        pause.push_back(TaskRow{QString::number(seconds), {}, TaskKinds::Text(TaskKinds::Action::Pause), {}});
        Apply(TaskEdits::Insert(m_tasks, after + 1, std::move(pause)));
        m_grid.SelectRows(after + 1, after + 1);
    });
}

void TaskEditor::InsertRow(const TaskRow& row)
{
    const int after = m_tasks.IsEmpty() ? 0 : m_tasks.CurrentRow();
    TaskRows rows;
    rows.push_back(row);
    Apply(TaskEdits::Insert(m_tasks, after + 1, std::move(rows)));
    m_grid.SelectRows(after + 1, after + 1);
}

void TaskEditor::OpenInsertDialog(int kind)
{
    InsertTaskDialog::Open(&m_window, InsertTaskDialog::Kind(kind), [this](const TaskRow& row) {
        if (TaskCheck::ShapeOf(row.task) != TaskCheck::Shape::Point)
            return InsertRow(row);
        m_pendingInsert = row;
        StartPick();
    });
}

void TaskEditor::InsertClick()
{
    m_pendingInsert = TaskRow{{}, {}, TaskKinds::Text(TaskKinds::Action::Click, MouseButton::Left), {}};
    StartPick();
}

void TaskEditor::InsertTyping()
{
    OpenInsertDialog(int(InsertTaskDialog::Kind::Typing));
}

void TaskEditor::InsertKey()
{
    OpenInsertDialog(int(InsertTaskDialog::Kind::Key));
}

void TaskEditor::InsertWheel()
{
    OpenInsertDialog(int(InsertTaskDialog::Kind::Wheel));
}

void TaskEditor::InsertWait()
{
    OpenInsertDialog(int(InsertTaskDialog::Kind::Wait));
}

void TaskEditor::PickPoint()
{
    const int row = m_tasks.CurrentRow();
    if (TaskCheck::ShapeOf(m_tasks.Cell(row, TaskList::kColumnTask)) != TaskCheck::Shape::Point)
        return Refuse(TextTable::Text(TextId::NoPointToPick).arg(row));
    m_pendingInsert.reset();
    m_pickRow = row;
    StartPick();
}

void TaskEditor::StartPick()
{
    // The run refuses a pick while it records, plays or picks already: they share the input stream.
    if (!m_run || !m_run->IsIdle())
        return;
    if (m_run->PicksOnPicture()) {
        // The picture is read once the window has left the screen; it shows the hint itself. A
        // Wayland compositor may not minimise, so the window hides.
        m_window.hide();
    } else {
        m_window.showMinimized();
        m_note->ShowText(TextTable::Text(TextId::PickPointHint), m_window);
    }
    m_run->PickPoint(m_state.options.saveImages);
}

void TaskEditor::PointPicked(int x, int y, const QByteArray& image)
{
    m_note->hide();
    m_window.showNormal();
    if (std::optional<TaskRow> inserted = std::exchange(m_pendingInsert, std::nullopt)) {
        inserted->x = QString::number(x);
        inserted->y = QString::number(y);
        // A click is checked by its image, a wheel turn never.
        if (TaskKinds::Find(inserted->task))
            inserted->image = image;
        InsertRow(*inserted);
        emit currentRowPicked();
        return;
    }
    const TaskRow row = m_tasks.Row(m_pickRow);
    if (TaskCheck::ShapeOf(row.task) != TaskCheck::Shape::Point)
        return;
    Apply(TaskEdits::Change(m_tasks, m_pickRow, TaskRow{QString::number(x), QString::number(y), row.task, image}));
    m_grid.SelectRows(m_pickRow, m_pickRow);
    emit currentRowPicked();
}

void TaskEditor::Refuse(const QString& reason)
{
    // The editor that brought the reason is still closing: the box comes once it has closed.
    QMetaObject::invokeMethod(
        this, [this, reason] { m_messages.Show(MessageBoxes::Icon::Exclamation, reason); }, Qt::QueuedConnection);
}
