#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

// What the program tells its guardian (GuardianProcess) on the guardian's standard input: one
// instruction per change of what playback holds, three bytes each: kHeld or kLetGo, the input's
// kind (HeldInputs::Kind), its code (an X button number or key code; on Wayland the low byte of
// the evdev button code).
namespace GuardianProtocol {

inline constexpr std::size_t kMessageSize = 3;
inline constexpr char kHeld = '+';
inline constexpr char kLetGo = '-';

// Reads instructions from the descriptor until it ends (the program is gone), handing each whole
// one to apply(const unsigned char* message).
template <typename Apply> void ReadUntilClosed(int descriptor, Apply apply)
{
    unsigned char message[kMessageSize];
    std::size_t filled = 0;
    for (;;) {
        const ssize_t got = ::read(descriptor, message + filled, sizeof message - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        filled += static_cast<std::size_t>(got);
        if (filled == sizeof message) {
            apply(static_cast<const unsigned char*>(message));
            filled = 0;
        }
    }
}

} // namespace GuardianProtocol
