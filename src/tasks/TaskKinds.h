#pragma once

#include "core/TextTable.h"
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
    TextId textId;
    Action action;
    int button; // button code (VirtualKey), 0 for a pause or a wait
};

// The kinds, in the order a task text is compared with them.
inline constexpr Kind kAll[] = {
    {TextId::ClickLeft, Action::Click, VirtualKey::kLeftButton},
    {TextId::ClickRight, Action::Click, VirtualKey::kRightButton},
    {TextId::ClickMiddle, Action::Click, VirtualKey::kMiddleButton},
    {TextId::DoubleClickLeft, Action::DoubleClick, VirtualKey::kLeftButton},
    {TextId::DoubleClickRight, Action::DoubleClick, VirtualKey::kRightButton},
    {TextId::DoubleClickMiddle, Action::DoubleClick, VirtualKey::kMiddleButton},
    {TextId::Pause, Action::Pause, 0},
    {TextId::LeftPushed, Action::Down, VirtualKey::kLeftButton},
    {TextId::LeftReleased, Action::Up, VirtualKey::kLeftButton},
    {TextId::RightPushed, Action::Down, VirtualKey::kRightButton},
    {TextId::RightReleased, Action::Up, VirtualKey::kRightButton},
    {TextId::MiddlePushed, Action::Down, VirtualKey::kMiddleButton},
    {TextId::MiddleReleased, Action::Up, VirtualKey::kMiddleButton},
    {TextId::Wait, Action::Wait, 0},
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
