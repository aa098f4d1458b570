#include "player/PlayedButtons.h"

#include "desktop/Desktop.h"

void PlayedButtons::Reset()
{
    m_held.reset();
    m_givenUp.reset();
}

void PlayedButtons::Play(TaskKinds::Action action, MouseButton button, QPoint at)
{
    const int index = IndexOf(button);
    switch (action) {
    case TaskKinds::Action::Click:
        m_desktop.ButtonClick(button);
        m_held[index] = false;
        break;
    case TaskKinds::Action::DoubleClick:
        m_desktop.ButtonDoubleClick(button);
        m_held[index] = false;
        break;
    case TaskKinds::Action::Down:
        m_desktop.ButtonDown(button);
        m_held[index] = true;
        m_givenUp[index] = false;
        m_pressPoints[index] = at;
        break;
    case TaskKinds::Action::Up:
        m_desktop.ButtonUp(button);
        m_held[index] = false;
        break;
    case TaskKinds::Action::Pause:
    case TaskKinds::Action::Wait:
        break;
    }
}

void PlayedButtons::GiveUp(MouseButton button)
{
    m_givenUp[IndexOf(button)] = true;
}

bool PlayedButtons::TakeGivenUpRelease(MouseButton button)
{
    const int index = IndexOf(button);
    if (!m_givenUp[index] || m_held[index])
        return false;
    m_givenUp[index] = false;
    return true;
}

void PlayedButtons::ReleaseAll()
{
    for (const MouseButton button : kMouseButtons) {
        if (!m_held[IndexOf(button)])
            continue;
        const QPoint pressed = m_pressPoints[IndexOf(button)];
        m_desktop.MovePointer(pressed.x(), pressed.y());
        m_desktop.ButtonUp(button);
    }
    m_held.reset();
}
