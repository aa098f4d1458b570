#pragma once

#include <QtGlobal>

#include <chrono>

class QTimer;

// Paces the playback timer against the steady clock, so that tick k of a run falls on
// start + k × interval however late the ones before it came. A repeating precise QTimer starts
// its schedule afresh after any tick that comes more than an interval late, and wakes up to a
// few milliseconds late besides: while a run lasts, the timer is armed once per tick, a little
// ahead of the tick's moment, and the tick waits out the rest. The timer keeps its interval
// whenever no run is on.
class StepSchedule
{
public:
    using Clock = std::chrono::steady_clock;

    // How far ahead of a tick's moment the timer is set to wake.
    static constexpr std::chrono::microseconds kLead{4000};

    explicit StepSchedule(QTimer& timer);

    // Starts a run of its own: the first tick is due one interval from now.
    void Start();
    // Stops the timer and gives it back its interval.
    void Stop();
    bool IsRunning() const { return m_running; }

    // Run at a tick: waits for the tick's exact moment when the timer woke ahead of it.
    void WaitUntilDue() const;
    // Run after a tick's work: arms the timer for the next tick.
    void ArmNext();

    // When tick `index` of a run that started at `origin` is due, once the tick before it has
    // run at `lastRun`: on the schedule, but a tick made late by a stall is followed no sooner
    // than half an interval after it, so that tasks never come in a burst while the run catches up.
    static Clock::time_point NextDue(Clock::time_point origin, qint64 index, Clock::duration interval,
                                     Clock::time_point lastRun);

private:
    QTimer& m_timer;
    std::chrono::milliseconds m_interval{0};
    Clock::time_point m_origin;
    Clock::time_point m_due;
    qint64 m_index = 0;
    bool m_running = false;
};
