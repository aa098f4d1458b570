#pragma once

// The way the wheel turns, one notch at a time: X buttons 4 to 7 in this order.
enum class WheelDirection
{
    Up,
    Down,
    Left,
    Right,
};
