#pragma once

#include <QString>

// The one way the program shows a status message: a box with an OK button, titled with the
// application title. Tests replace it, so no test ever waits on a modal box.
class MessageBoxes
{
public:
    enum class Icon
    {
        None,
        Information,
        Exclamation,
        Critical,
    };

    MessageBoxes() = default;
    virtual ~MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    // Returns once the user has closed the box.
    virtual void Show(Icon icon, const QString& text) = 0;
};
