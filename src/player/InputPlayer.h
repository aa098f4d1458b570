#pragma once

#include "tasks/InputTask.h"

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QTimer>

#include <chrono>
#include <vector>

class Desktop;
struct TaskRow;

// Plays the tasks of the keyboard and the wheel. A typing task types one key at each short step of
// a timer of its own, so that a long text neither blocks the window's thread nor takes a playback
// tick per key; typed() says when it is done.
class InputPlayer : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kKeyInterval{4};

    explicit InputPlayer(Desktop& desktop, QObject* parent = nullptr);

    // Runs the task; a wheel task turns the wheel at `point` (the pointer is moved there first).
    void Run(const InputTask& task, QPoint point = {});
    bool IsTyping() const { return m_next < m_typing.size(); }
    // Types the next key of the typing task, and says typed() after the last; the timer runs it.
    void TypeNext();
    // Stops typing; the desktop lets go of what is held (Desktop::ReleaseHeld).
    void Cancel();

signals:
    void typed();
    // A key could not be typed (no key gives it and no key code could be lent): the task ends there,
    // before typed(), with none of the keys after it typed.
    void untypable(quint32 keysym);

private:
    // Types the next key; true while keys are left.
    bool TypeKey();
    // Says untypable() for a key the desktop could not type; true when there was one.
    bool Untypable();

    Desktop& m_desktop;
    QTimer m_timer;
    std::vector<quint32> m_typing;
    std::size_t m_next = 0;
};
