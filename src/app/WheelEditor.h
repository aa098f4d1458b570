#pragma once

#include "core/Wheel.h"

#include <QWidget>

class QComboBox;
class QSpinBox;

// A wheel turn as a person sets it: the direction from a list and the count of notches.
class WheelEditor : public QWidget
{
    Q_OBJECT

public:
    explicit WheelEditor(QWidget* parent = nullptr);

    WheelDirection Direction() const;
    int Notches() const;
    void Set(WheelDirection direction, int notches);

private:
    QComboBox* m_direction = nullptr;
    QSpinBox* m_notches = nullptr;
};
