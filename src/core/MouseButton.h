#pragma once

#include <array>

// The three buttons of the mouse the program records and plays; the wheel is a direction of its own.
enum class MouseButton
{
    Left,
    Right,
    Middle,
};

// The buttons in the order the recorder looks at them; a button's place here is its index.
inline constexpr std::array<MouseButton, 3> kMouseButtons = {MouseButton::Left, MouseButton::Right,
                                                             MouseButton::Middle};

constexpr int IndexOf(MouseButton button)
{
    return static_cast<int>(button);
}
