#pragma once

#include "core/MessageBoxes.h"

// Messages for a run that no one watches (--unattended): each goes to standard error as a line
// of its own, and nothing waits for an answer. A question is answered "no": a run from a script
// saves nothing it was not told to.
class StderrMessageBoxes : public MessageBoxes
{
public:
    void Show(Icon icon, const QString& text) override;
    Answer Ask(const Question& question) override;

    // "clickwarden: text" and a line end, on stderr.
    static void Print(const QString& text);
};
