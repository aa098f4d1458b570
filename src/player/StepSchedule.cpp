#include "player/StepSchedule.h"

#include <QTimer>

#include <algorithm>
#include <thread>

StepSchedule::StepSchedule(QTimer& timer) : m_timer(timer)
{}

void StepSchedule::Start()
{
    if (!m_running)
        m_interval = std::chrono::milliseconds(std::max(1, m_timer.interval()));
    m_running = true;
    m_origin = Clock::now();
    m_index = 0;
    ArmNext();
}

void StepSchedule::Stop()
{
    m_timer.stop();
    if (!m_running)
        return;
    m_running = false;
    m_timer.setSingleShot(false);
    m_timer.setInterval(static_cast<int>(m_interval.count()));
}

void StepSchedule::WaitUntilDue() const
{
    if (!m_running)
        return;
    // Only the last stretch is waited for: a tick run by hand long before its moment runs at once.
    const Clock::time_point now = Clock::now();
    if (m_due > now && m_due - now <= kLead + std::chrono::milliseconds(2))
        std::this_thread::sleep_until(m_due);
}

void StepSchedule::ArmNext()
{
    if (!m_running)
        return;
    const Clock::time_point now = Clock::now();
    m_due = NextDue(m_origin, ++m_index, m_interval, now);
    const auto wake = std::chrono::floor<std::chrono::milliseconds>(m_due - kLead - now);
    m_timer.setSingleShot(true);
    m_timer.start(static_cast<int>(std::max<qint64>(0, wake.count())));
}

StepSchedule::Clock::time_point StepSchedule::NextDue(Clock::time_point origin, qint64 index, Clock::duration interval,
                                                      Clock::time_point lastRun)
{
    const Clock::time_point onSchedule = origin + interval * static_cast<Clock::rep>(index);
    const Clock::time_point earliest = lastRun + interval / 2;
    return std::max(onSchedule, earliest);
}
