#include "desktop/ScreenReader.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

ScreenReader::~ScreenReader() = default;

std::vector<QRect> ScreenReader::UntoldChanges(const QRect& read, std::stop_token stop)
{
    std::mutex mutex;
    std::condition_variable_any never;
    std::unique_lock lock(mutex);
    if (never.wait_for(lock, stop, std::chrono::milliseconds(kUntoldChangeMs), [] { return false; }) ||
        stop.stop_requested())
        return {};
    return {read};
}
