#pragma once

#include "core/MessageBoxes.h"

#include <QPointer>
#include <QWidget>

// Message boxes on screen: modal, the application title as caption; a message has one OK button.
class QtMessageBoxes : public MessageBoxes
{
public:
    void SetParent(QWidget* parent) { m_parent = parent; }
    void Show(Icon icon, const QString& text) override;
    Answer Ask(const Question& question) override;

    // The text as a box shows it: breakable at every "/" and in long runs, and no line so long that
    // the box would grow past the screen.
    static QString BoxText(const QString& text);

private:
    QPointer<QWidget> m_parent;
};
