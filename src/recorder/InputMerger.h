#pragma once

#include "desktop/Desktop.h"
#include "tasks/InputTask.h"

#include <QPoint>

#include <optional>
#include <vector>

// Turns the keys and the wheel into tasks, as the recorder turns the buttons into clicks:
// - characters typed one after another, with no other task between and no long gap, become one
//   typing task (Shift and AltGr only choose the characters);
// - a key or a combination pressed and released (Return, F5, Ctrl+Shift+T) becomes one key task;
// - a modifier held across another task (Shift during a click) becomes a pushed and a released task;
// - wheel notches at one point in quick succession become one wheel task with their count.
// Ctrl+Shift+F11 and Ctrl+Shift+F12 are the program's own keys: neither they nor the modifiers
// pressed for them become tasks, and lock keys (Caps Lock, Num Lock) are left out as well.
class InputMerger
{
public:
    // Longest gaps, by the desktop's clock, within one typing task and one wheel task.
    static constexpr quint32 kTypingGapMs = 1000;
    static constexpr quint32 kWheelGapMs = 600;
    // How far, in pixels along either axis, the pointer may wander within one wheel task.
    static constexpr int kWheelDistance = 4;

    struct Task
    {
        InputTask task;
        std::optional<QPoint> point; // where a wheel task turns the wheel
        quint32 time = 0;            // the desktop's clock when it began: its first key or notch

        friend bool operator==(const Task&, const Task&) = default;
    };

    void Feed(const InputEvent& event);
    // A task of the mouse comes next: what is open is closed, and held modifiers become pushed tasks.
    void OtherTask();
    // The recording ends: what is open is closed, and what was pushed is released.
    void Finish();
    // The tasks made since the last call, in order.
    std::vector<Task> Take();

private:
    struct Held
    {
        int key = 0;
        quint32 keysym = 0;
        quint32 time = 0;    // of the press
        bool pushed = false; // a pushed task was made for it
        bool used = false;   // it was part of a character, a combination or a pushed task
    };

    void Press(const InputEvent& event);
    void Release(const InputEvent& event);
    void Wheel(const InputEvent& event);
    bool Holds(quint32 keysym) const;
    void PushHeld();
    void CloseRuns();
    void CloseTyping();
    void CloseWheel();
    void Add(InputTask::Kind kind, std::vector<quint32> keys, quint32 time);

    std::vector<Held> m_held; // modifiers down, in the order they went down
    std::vector<quint32> m_typed;
    quint32 m_firstTyped = 0;
    quint32 m_lastTyped = 0;
    quint32 m_lastTime = 0; // of the last event fed
    std::optional<InputEvent> m_wheelStart;
    int m_notches = 0;
    quint32 m_lastNotch = 0;
    std::vector<Task> m_tasks;
};
