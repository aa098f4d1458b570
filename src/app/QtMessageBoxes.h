#pragma once

#include "core/MessageBoxes.h"

#include <QPointer>
#include <QWidget>

// Message boxes on screen: modal, one OK button, the application title as caption.
class QtMessageBoxes : public MessageBoxes
{
public:
    void SetParent(QWidget* parent) { m_parent = parent; }
    void Show(Icon icon, const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};
