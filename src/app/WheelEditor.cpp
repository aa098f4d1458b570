#include "app/WheelEditor.h"

#include "tasks/InputTask.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QSpinBox>

WheelEditor::WheelEditor(QWidget* parent) : QWidget(parent)
{
    // The direction words of the task text, so the list reads as the grid does.
    m_direction = new QComboBox(this);
    m_direction->setObjectName(QStringLiteral("wheelDirection"));
    for (const WheelDirection direction :
         {WheelDirection::Up, WheelDirection::Down, WheelDirection::Left, WheelDirection::Right}) {
        InputTask task;
        task.kind = InputTask::Kind::Wheel;
        task.direction = direction;
        task.notches = 1;
        m_direction->addItem(task.Text().section(QLatin1Char(' '), 1, 1));
    }
    m_notches = new QSpinBox(this);
    m_notches->setObjectName(QStringLiteral("wheelNotches"));
    m_notches->setRange(1, InputTask::kMaxNotches);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_direction);
    layout->addWidget(m_notches);
    setFocusProxy(m_direction);
    setAutoFillBackground(true);
}

WheelDirection WheelEditor::Direction() const
{
    return WheelDirection(m_direction->currentIndex());
}

int WheelEditor::Notches() const
{
    return m_notches->value();
}

void WheelEditor::Set(WheelDirection direction, int notches)
{
    m_direction->setCurrentIndex(int(direction));
    m_notches->setValue(notches);
}
