#include "recorder/InputMerger.h"

#include "core/KeySymbols.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

using Role = KeySymbols::Role;

void InputMerger::Feed(const InputEvent& event)
{
    m_lastTime = event.time;
    switch (event.kind) {
    case InputEvent::Kind::Press:
        Press(event);
        break;
    case InputEvent::Kind::Release:
        Release(event);
        break;
    case InputEvent::Kind::Wheel:
        Wheel(event);
        break;
    }
}

bool InputMerger::Holds(quint32 keysym) const
{
    return std::any_of(m_held.begin(), m_held.end(), [&](const Held& held) { return held.keysym == keysym; });
}

void InputMerger::Press(const InputEvent& event)
{
    const Role role = KeySymbols::RoleOf(event.baseKeysym);
    if (role == Role::Lock)
        return;
    if (role != Role::Plain) {
        // A modifier held down repeats its press: it is one press.
        if (std::none_of(m_held.begin(), m_held.end(), [&](const Held& held) { return held.key == event.key; }))
            m_held.push_back(Held{event.key, event.baseKeysym, event.time});
        return;
    }
    const bool control = Holds(XKB_KEY_Control_L) || Holds(XKB_KEY_Control_R);
    const bool shift = Holds(XKB_KEY_Shift_L) || Holds(XKB_KEY_Shift_R);
    if ((event.baseKeysym == XKB_KEY_F11 || event.baseKeysym == XKB_KEY_F12) && control && shift) {
        for (Held& held : m_held)
            held.used = true;
        return;
    }
    const bool command = std::any_of(m_held.begin(), m_held.end(), [](const Held& held) {
        return !held.pushed && KeySymbols::RoleOf(held.keysym) == Role::Modifier;
    });
    if (!command && KeySymbols::Character(event.keysym) != 0) {
        CloseWheel();
        if (!m_typed.empty() && event.time - m_lastTyped > kTypingGapMs)
            CloseTyping();
        if (m_typed.empty())
            m_firstTyped = event.time;
        m_typed.push_back(event.keysym);
        m_lastTyped = event.time;
        for (Held& held : m_held)
            held.used = true;
        return;
    }
    CloseRuns();
    std::vector<quint32> keys;
    for (Held& held : m_held) {
        if (!held.pushed) {
            keys.push_back(held.keysym);
            held.used = true;
        }
    }
    // With modifiers the key is named as it is without them: Ctrl+Shift+t, not Ctrl+Shift+T.
    keys.push_back(keys.empty() ? event.keysym : event.baseKeysym);
    Add(InputTask::Kind::Key, std::move(keys), event.time);
}

void InputMerger::Release(const InputEvent& event)
{
    const auto held = std::find_if(m_held.begin(), m_held.end(), [&](const Held& h) { return h.key == event.key; });
    if (held == m_held.end())
        return;
    const Held released = *held;
    m_held.erase(held);
    if (released.pushed) {
        CloseRuns();
        Add(InputTask::Kind::KeyUp, {released.keysym}, event.time);
    } else if (!released.used && KeySymbols::RoleOf(released.keysym) == Role::Modifier) {
        // Ctrl, Alt or Super pressed alone: desktops give that a meaning of its own.
        CloseRuns();
        Add(InputTask::Kind::Key, {released.keysym}, released.time);
    }
}

void InputMerger::Wheel(const InputEvent& event)
{
    CloseTyping();
    PushHeld();
    const bool sameRun = m_wheelStart && m_wheelStart->direction == event.direction &&
                         std::abs(m_wheelStart->x - event.x) <= kWheelDistance &&
                         std::abs(m_wheelStart->y - event.y) <= kWheelDistance &&
                         event.time - m_lastNotch <= kWheelGapMs;
    if (!sameRun) {
        CloseWheel();
        m_wheelStart = event;
    }
    ++m_notches;
    m_lastNotch = event.time;
}

void InputMerger::OtherTask()
{
    CloseRuns();
    PushHeld();
}

void InputMerger::Finish()
{
    CloseRuns();
    // A modifier still held when the recording ends had nothing after it; one pushed is let go.
    for (auto held = m_held.rbegin(); held != m_held.rend(); ++held) {
        if (held->pushed)
            Add(InputTask::Kind::KeyUp, {held->keysym}, m_lastTime);
    }
    m_held.clear();
}

std::vector<InputMerger::Task> InputMerger::Take()
{
    std::vector<Task> tasks;
    tasks.swap(m_tasks);
    return tasks;
}

void InputMerger::PushHeld()
{
    for (Held& held : m_held) {
        if (!held.pushed) {
            Add(InputTask::Kind::KeyDown, {held.keysym}, held.time);
            held.pushed = held.used = true;
        }
    }
}

void InputMerger::CloseRuns()
{
    CloseTyping();
    CloseWheel();
}

void InputMerger::CloseTyping()
{
    if (!m_typed.empty())
        Add(InputTask::Kind::Type, std::exchange(m_typed, {}), m_firstTyped);
}

void InputMerger::CloseWheel()
{
    if (!m_wheelStart)
        return;
    InputTask task;
    task.kind = InputTask::Kind::Wheel;
    task.direction = m_wheelStart->direction;
    task.notches = std::exchange(m_notches, 0);
    m_tasks.push_back(Task{task, QPoint(m_wheelStart->x, m_wheelStart->y), m_wheelStart->time});
    m_wheelStart.reset();
}

void InputMerger::Add(InputTask::Kind kind, std::vector<quint32> keys, quint32 time)
{
    InputTask task;
    task.kind = kind;
    task.keys = std::move(keys);
    m_tasks.push_back(Task{task, std::nullopt, time});
}
