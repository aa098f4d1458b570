#pragma once

// Windows virtual-key codes, the codes the recorder and the player ask about and the task kinds
// name their buttons by.
namespace VirtualKey {
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kF11 = 122;
inline constexpr int kF12 = 123;

// The three buttons in the order the recorder polls them.
inline constexpr int kButtons[] = {kLeftButton, kRightButton, kMiddleButton};
} // namespace VirtualKey
