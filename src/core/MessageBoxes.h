#pragma once

#include <QString>

// The one way the program shows a status message (a box with an OK button) or asks a question,
// titled with the application title. Tests replace it, so no test ever waits on a modal box.
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

    // A question with three answers; the first is the default, the last cancels.
    struct Question
    {
        QString text;
        QString yes;
        QString no;
        QString cancel;
    };

    enum class Answer
    {
        Yes,
        No,
        Cancel, // also when the box is closed some other way
    };

    MessageBoxes() = default;
    virtual ~MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    // Returns once the user has closed the box.
    virtual void Show(Icon icon, const QString& text) = 0;
    // Returns the user's answer once the box is closed.
    virtual Answer Ask(const Question& question) = 0;
};
