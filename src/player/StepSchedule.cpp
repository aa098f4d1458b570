#include "player/StepSchedule.h"

#include <QTimer>

#include <algorithm>
#include <limits>
#include <thread>

namespace {
// A timer that wakes this much later than asked still finds its tick ahead of it.
constexpr std::chrono::milliseconds kWakeSlack{2};
} // namespace

StepClock StepClock::Steady()
{
    return {[] { return Clock::now(); },
            [](Clock::time_point moment) {
                std::this_thread::sleep_until(moment);
            }};
}

StepSchedule::StepSchedule(QTimer& timer, StepClock clock) : m_timer(timer), m_clock(std::move(clock))
{}

void StepSchedule::Start()
{
    if (!m_running)
        m_interval = std::chrono::milliseconds(std::max(1, m_timer.interval()));
    Start(m_interval);
}

void StepSchedule::Start(Clock::duration span)
{
    if (!m_running)
        m_interval = std::chrono::milliseconds(std::max(1, m_timer.interval()));
    m_running = true;
    m_onSchedule = m_clock.now();
    m_tickStart = m_onSchedule;
    ArmNext(span);
}

void StepSchedule::Stop()
{
    m_timer.stop();
    if (!m_running)
        return;
    m_running = false;
    m_timer.setSingleShot(false);
    m_timer.setInterval(static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(m_interval).count()));
}

void StepSchedule::BeginTick()
{
    if (!m_running)
        return;
    Clock::time_point now = m_clock.now();
    // Only the last stretch is waited for: a tick run by hand long before its moment runs at once.
    if (m_due > now && m_due - now <= kLead + kWakeSlack) {
        m_clock.waitUntil(m_due);
        now = m_clock.now();
    }
    m_tickStart = now;
    if (now - m_due > std::max(m_span, m_interval))
        m_onSchedule = now;
}

void StepSchedule::ArmNext()
{
    ArmNext(m_interval);
}

void StepSchedule::ArmNext(Clock::duration span)
{
    if (!m_running)
        return;
    m_span = std::max(span, Clock::duration::zero());
    m_onSchedule += m_span;
    m_due = std::max(m_onSchedule, m_tickStart + m_span / 2);
    const auto wake = std::chrono::floor<std::chrono::milliseconds>(m_due - kLead - m_clock.now());
    m_timer.setSingleShot(true);
    // A timer takes 32-bit milliseconds: beyond them (no bounded wait gets there) it wakes at the
    // longest it can rather than never.
    m_timer.start(static_cast<int>(std::clamp<qint64>(wake.count(), 0, std::numeric_limits<int>::max())));
}

StepSchedule::Clock::duration StepSchedule::Interval() const
{
    return m_running ? m_interval : std::chrono::milliseconds(std::max(1, m_timer.interval()));
}

bool StepSchedule::IsDueWithin(Clock::duration span) const
{
    return m_running && m_due - m_clock.now() <= span;
}
