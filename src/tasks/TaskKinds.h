#pragma once

#include "core/VirtualKey.h"

#include <QString>

// The task kinds: each is a task text of the text table, what the player does for it and with
// which button. This table is the one place that ties task texts to actions.
namespace TaskKinds {

enum class Action
{
    Click,
    DoubleClick,
    Down,
    Up,
    Pause,
    // A wait of the recording's own pace: column 1 holds milliseconds, played at the chosen speed.
    Wait,
};

struct Kind
{
    int textId;
    Action action;
    int button; // button code (VirtualKey), 0 for a pause or a wait
};

// The kinds, in the order a task text is compared with them.
inline constexpr Kind kAll[] = {
    {114, Action::Click, VirtualKey::kLeftButton},
    {115, Action::Click, VirtualKey::kRightButton},
    {116, Action::Click, VirtualKey::kMiddleButton},
    {117, Action::DoubleClick, VirtualKey::kLeftButton},
    {118, Action::DoubleClick, VirtualKey::kRightButton},
    {119, Action::DoubleClick, VirtualKey::kMiddleButton},
    {141, Action::Pause, 0},
    {142, Action::Down, VirtualKey::kLeftButton},
    {143, Action::Up, VirtualKey::kLeftButton},
    {144, Action::Down, VirtualKey::kRightButton},
    {145, Action::Up, VirtualKey::kRightButton},
    {146, Action::Down, VirtualKey::kMiddleButton},
    {147, Action::Up, VirtualKey::kMiddleButton},
    {818, Action::Wait, 0},
};

// Whether a task of this kind is played at its point (x, y); a pause or a wait has none.
constexpr bool HasPoint(Action action)
{
    return action != Action::Pause && action != Action::Wait;
}

// The kind of a task text, or nullptr: an exact comparison, blanks and case included, with the
// texts the running program's text table holds.
const Kind* Find(const QString& taskText);

// The task text of a kind; an empty text for a pair that is no kind.
QString Text(Action action, int button = 0);

} // namespace TaskKinds
