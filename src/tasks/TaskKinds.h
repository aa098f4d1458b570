#pragma once

#include "core/MouseButton.h"
#include "core/TextTable.h"

#include <QString>

#include <optional>

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
    std::optional<MouseButton> button; // none for a pause or a wait
};

// The kinds, in the order a task text is compared with them.
inline constexpr Kind kAll[] = {
    {TextId::ClickLeft, Action::Click, MouseButton::Left},
    {TextId::ClickRight, Action::Click, MouseButton::Right},
    {TextId::ClickMiddle, Action::Click, MouseButton::Middle},
    {TextId::DoubleClickLeft, Action::DoubleClick, MouseButton::Left},
    {TextId::DoubleClickRight, Action::DoubleClick, MouseButton::Right},
    {TextId::DoubleClickMiddle, Action::DoubleClick, MouseButton::Middle},
    {TextId::Pause, Action::Pause, std::nullopt},
    {TextId::LeftPushed, Action::Down, MouseButton::Left},
    {TextId::LeftReleased, Action::Up, MouseButton::Left},
    {TextId::RightPushed, Action::Down, MouseButton::Right},
    {TextId::RightReleased, Action::Up, MouseButton::Right},
    {TextId::MiddlePushed, Action::Down, MouseButton::Middle},
    {TextId::MiddleReleased, Action::Up, MouseButton::Middle},
    {TextId::Wait, Action::Wait, std::nullopt},
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
QString Text(Action action, std::optional<MouseButton> button = std::nullopt);

} // namespace TaskKinds
