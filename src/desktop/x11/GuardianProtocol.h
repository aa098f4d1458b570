#pragma once

#include <cstddef>

// What the program tells its guardian (X11Guardian) on the guardian's standard input: one
// instruction per change of what the program holds on the server, three bytes each: kHeld or
// kLetGo, the kind (HeldInputs::Kind: a button, a key, a lent key code, the pointer shape), its code
// (an X button number or key code; 0 for the pointer shape).
namespace GuardianProtocol {

inline constexpr std::size_t kMessageSize = 3;
inline constexpr char kHeld = '+';
inline constexpr char kLetGo = '-';

} // namespace GuardianProtocol
