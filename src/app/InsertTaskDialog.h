#pragma once

#include "tasks/TaskRows.h"

#include <QDialog>

#include <functional>
#include <optional>

class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class WheelEditor;

// The dialog of one Insert command: the text to type, the key to press, the wheel's turn or the
// wait's length, each in the editor the grid uses for it. OK hands the task row on, or says what is
// wrong and stays open. It is shown without modality and deletes itself once closed.
class InsertTaskDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Kind
    {
        Typing,
        Key,
        Wheel, // its point is picked afterwards
        Wait,
    };
    using Insert = std::function<void(const TaskRow& row)>;

    InsertTaskDialog(QWidget* parent, Kind kind, Insert insert);
    static InsertTaskDialog* Open(QWidget* parent, Kind kind, Insert insert);

    // The row the editor makes, or none when it makes no task.
    std::optional<TaskRow> Row() const;
    void accept() override;

    QLineEdit* TextField() const { return m_text; }
    QKeySequenceEdit* KeyField() const { return m_key; }
    WheelEditor* WheelField() const { return m_wheel; }
    QSpinBox* WaitField() const { return m_wait; }

private:
    Kind m_kind;
    Insert m_insert;
    QLabel* m_problem = nullptr;
    QLineEdit* m_text = nullptr;
    QKeySequenceEdit* m_key = nullptr;
    WheelEditor* m_wheel = nullptr;
    QSpinBox* m_wait = nullptr;
};
