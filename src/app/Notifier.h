#pragma once

#include <QString>

// A message that must reach a person without a box to wait on: a run that closes the program
// failed, and no window is left to say so. It never blocks and never needs a click. Tests pass
// their own.
class Notifier
{
public:
    Notifier() = default;
    virtual ~Notifier() = default;
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    virtual void Notify(const QString& text) = 0;
    // Gives messages under way a moment to leave before the program ends; returns within a second.
    virtual void Flush() {}
};
