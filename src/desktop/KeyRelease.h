#pragma once

#include <chrono>
#include <functional>

class Desktop;

// Waiting for a held key or button to be let go. The wait sleeps between two queries, so that it
// does not keep a core (and the X server) busy: 1 ms at first, so that the release of a quick
// click is seen at once, and kSlowPoll once the key has been held for a while.
namespace KeyRelease {

using Sleep = std::function<void(std::chrono::milliseconds)>;

inline constexpr std::chrono::milliseconds kQuickPoll{1};
inline constexpr std::chrono::milliseconds kSlowPoll{4};
inline constexpr int kQuickPolls = 100;

// Sleeps on the calling thread.
void SleepFor(std::chrono::milliseconds pause);

// Returns once the key with this virtual-key code is up.
void WaitForRelease(Desktop& desktop, int virtualKey, const Sleep& sleep = SleepFor);

} // namespace KeyRelease
