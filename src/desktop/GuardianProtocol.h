#pragma once

#include <cstddef>

// What the program tells its guardian (GuardianProcess) on the guardian's standard input: one
// instruction per change of what playback holds, three bytes each: kHeld or kLetGo, the input's
// kind (HeldInputs::Kind), its code (an X button number or key code; on Wayland the low byte of the evdev button code).
namespace GuardianProtocol {

inline constexpr std::size_t kMessageSize = 3;
inline constexpr char kHeld = '+';
inline constexpr char kLetGo = '-';

} // namespace GuardianProtocol
