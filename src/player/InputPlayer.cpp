#include "player/InputPlayer.h"

#include "desktop/Desktop.h"

InputPlayer::InputPlayer(Desktop& desktop, QObject* parent) : QObject(parent), m_desktop(desktop)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kKeyInterval);
    connect(&m_timer, &QTimer::timeout, this, &InputPlayer::TypeNext);
}

void InputPlayer::Run(const InputTask& task, QPoint point)
{
    switch (task.kind) {
    case InputTask::Kind::Type:
        // The first key goes at once; the rest follow at the timer's pace.
        m_typing = task.keys;
        m_next = 0;
        if (TypeKey())
            m_timer.start();
        break;
    case InputTask::Kind::Key:
        // The modifiers go down in order around the last key and come up in the reverse order.
        for (std::size_t i = 0; i + 1 < task.keys.size(); ++i)
            m_desktop.KeyDown(task.keys[i]);
        m_desktop.KeyTap(task.keys.back());
        for (std::size_t i = task.keys.size() - 1; i-- > 0;)
            m_desktop.KeyUp(task.keys[i]);
        Untypable();
        break;
    case InputTask::Kind::KeyDown:
        m_desktop.KeyDown(task.keys.front());
        Untypable();
        break;
    case InputTask::Kind::KeyUp:
        m_desktop.KeyUp(task.keys.front());
        break;
    case InputTask::Kind::Wheel:
        m_desktop.MovePointer(point.x(), point.y());
        m_desktop.TurnWheel(task.direction, task.notches);
        break;
    case InputTask::Kind::Path: // paced by a PathPlayer
        break;
    }
}

bool InputPlayer::TypeKey()
{
    if (IsTyping()) {
        m_desktop.KeyTap(m_typing[m_next++]);
        if (Untypable())
            m_next = m_typing.size();
    }
    if (IsTyping())
        return true;
    m_timer.stop();
    m_typing.clear();
    m_next = 0;
    return false;
}

bool InputPlayer::Untypable()
{
    const std::vector<quint32> untyped = m_desktop.TakeUntypedKeys();
    if (!untyped.empty())
        emit untypable(untyped.front());
    return !untyped.empty();
}

void InputPlayer::TypeNext()
{
    if (IsTyping() && !TypeKey())
        emit typed();
}

void InputPlayer::Cancel()
{
    m_timer.stop();
    m_typing.clear();
    m_next = 0;
}
