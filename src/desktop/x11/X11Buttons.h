#pragma once

#include "core/MouseButton.h"

#include <optional>

// X numbers the buttons 1 left, 2 middle, 3 right; 4 to 7 are the wheel's notches.
namespace X11Buttons {

constexpr unsigned int NumberOf(MouseButton button)
{
    switch (button) {
    case MouseButton::Left:
        return 1;
    case MouseButton::Middle:
        return 2;
    case MouseButton::Right:
        return 3;
    }
    return 1;
}

constexpr std::optional<MouseButton> FromNumber(unsigned int number)
{
    switch (number) {
    case 1:
        return MouseButton::Left;
    case 2:
        return MouseButton::Middle;
    case 3:
        return MouseButton::Right;
    default:
        return std::nullopt;
    }
}

} // namespace X11Buttons
