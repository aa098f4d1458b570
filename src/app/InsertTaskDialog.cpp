#include "app/InsertTaskDialog.h"

#include "app/WheelEditor.h"
#include "core/TextTable.h"
#include "tasks/InputTask.h"
#include "tasks/KeyCombination.h"
#include "tasks/TaskKinds.h"
#include "tasks/TypedText.h"

#include <QDialogButtonBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>

namespace {

// The window title and the prompt of each kind.
struct Texts
{
    TextId title;
    TextId prompt;
};
Texts TextsOf(InsertTaskDialog::Kind kind)
{
    switch (kind) {
    case InsertTaskDialog::Kind::Typing:
        return {TextId::InsertTypingCommand, TextId::TypingPrompt};
    case InsertTaskDialog::Kind::Key:
        return {TextId::InsertKeyCommand, TextId::KeyPrompt};
    case InsertTaskDialog::Kind::Wheel:
        return {TextId::InsertWheelCommand, TextId::WheelPrompt};
    case InsertTaskDialog::Kind::Wait:
        break;
    }
    return {TextId::InsertWaitCommand, TextId::WaitPrompt};
}

TaskRow InputRow(const InputTask& task)
{
    return TaskRow{{}, {}, task.Text(), {}};
}

} // namespace

InsertTaskDialog::InsertTaskDialog(QWidget* parent, Kind kind, Insert insert)
    : QDialog(parent), m_kind(kind), m_insert(std::move(insert))
{
    setObjectName(QStringLiteral("insertTaskDialog"));
    const Texts texts = TextsOf(kind);
    setWindowTitle(TextTable::Text(texts.title).remove(QStringLiteral("...")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(TextTable::Text(texts.prompt), this));
    QWidget* field = nullptr;
    switch (kind) {
    case Kind::Typing:
        field = m_text = new QLineEdit(this);
        m_text->setMinimumWidth(320);
        m_text->setToolTip(TextTable::Text(TextId::TypedTextProblem));
        break;
    case Kind::Key:
        field = m_key = new QKeySequenceEdit(this);
        break;
    case Kind::Wheel:
        field = m_wheel = new WheelEditor(this);
        m_wheel->Set(WheelDirection::Down, 3);
        break;
    case Kind::Wait:
        field = m_wait = new QSpinBox(this);
        m_wait->setRange(0, INT_MAX);
        m_wait->setValue(500);
        m_wait->setSuffix(TextTable::Text(TextId::WaitLength).arg(QString()));
        break;
    }
    layout->addWidget(field);
    m_problem = new QLabel(this);
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #b00020"));
    m_problem->hide();
    layout->addWidget(m_problem);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // A key editor takes Return as a key: OK is clicked, never pressed by default.
    buttons->button(QDialogButtonBox::Ok)->setAutoDefault(kind != Kind::Key);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    field->setFocus();
}

InsertTaskDialog* InsertTaskDialog::Open(QWidget* parent, Kind kind, Insert insert)
{
    auto* dialog = new InsertTaskDialog(parent, kind, std::move(insert));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

std::optional<TaskRow> InsertTaskDialog::Row() const
{
    InputTask task;
    switch (m_kind) {
    case Kind::Typing: {
        const auto keys = TypedText::ToKeys(m_text->text());
        if (!keys)
            return std::nullopt;
        task.kind = InputTask::Kind::Type;
        task.keys = *keys;
        return InputRow(task);
    }
    case Kind::Key: {
        const QKeySequence sequence = m_key->keySequence();
        const auto keys = sequence.isEmpty() ? std::nullopt : KeyCombination::ToKeys(sequence[0]);
        if (!keys)
            return std::nullopt;
        task.kind = InputTask::Kind::Key;
        task.keys = *keys;
        return InputRow(task);
    }
    case Kind::Wheel:
        task.kind = InputTask::Kind::Wheel;
        task.direction = m_wheel->Direction();
        task.notches = m_wheel->Notches();
        return InputRow(task);
    case Kind::Wait:
        break;
    }
    return TaskRow{QString::number(m_wait->value()), {}, TaskKinds::Text(TaskKinds::Action::Wait), {}};
}

void InsertTaskDialog::accept()
{
    const std::optional<TaskRow> row = Row();
    if (!row) {
        m_problem->setText(TextTable::Text(m_kind == Kind::Key ? TextId::KeyComboProblem : TextId::TypedTextProblem));
        m_problem->show();
        return;
    }
    QDialog::accept();
    m_insert(*row);
}
