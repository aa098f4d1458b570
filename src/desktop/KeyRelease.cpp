#include "desktop/KeyRelease.h"

#include "desktop/Desktop.h"

#include <thread>

namespace KeyRelease {

void SleepFor(std::chrono::milliseconds pause)
{
    std::this_thread::sleep_for(pause);
}

void WaitForRelease(Desktop& desktop, int virtualKey, const Sleep& sleep)
{
    for (int polls = 0; desktop.IsKeyDown(virtualKey); ++polls)
        sleep(polls < kQuickPolls ? kQuickPoll : kSlowPoll);
}

} // namespace KeyRelease
