#pragma once

#include <QtGlobal>

#include <chrono>
#include <functional>

class QTimer;

// Where a schedule reads the time and how it waits for a moment; tests give a fake one.
struct StepClock
{
    using Clock = std::chrono::steady_clock;

    std::function<Clock::time_point()> now;
    // Returns at the moment given, not before.
    std::function<void(Clock::time_point)> waitUntil;

    // The steady clock; it sleeps until the moment. (Spinning the last stretch instead made ticks
    // later, not earlier, on a busy machine: the scheduler takes the processor from a thread that has
    // just used up its share, at the very moment the task is due.)
    static StepClock Steady();
};

// Paces the playback timer, so that tick k of a run falls on start + the spans of the ticks before
// it (one interval each, unless a span is given) however late they came. A repeating precise QTimer starts its schedule
// afresh after any tick that comes more than an interval late, and wakes up to a few milliseconds late besides: while a
// run lasts, the timer is armed once per tick, a little ahead of the tick's moment, and the tick waits out the rest.
// The timer keeps its interval whenever no run is on.
//
// Lateness: a tick that comes up to one interval late is made up by the ticks after it, none sooner
// than half an interval after the one before. A tick later than that (the program was stopped, or the
// machine stalled) starts the schedule afresh from its own moment, so the tasks after it keep their
// spacing instead of running in a burst to catch up; the rest of the run is shifted by the stall.
class StepSchedule
{
public:
    using Clock = StepClock::Clock;

    // How far ahead of a tick's moment the timer is set to wake.
    static constexpr std::chrono::microseconds kLead{4000};

    explicit StepSchedule(QTimer& timer, StepClock clock = StepClock::Steady());

    // Starts a run of its own: the first tick is due one interval (or span) from now.
    void Start();
    void Start(Clock::duration span);
    // Stops the timer and gives it back its interval.
    void Stop();
    bool IsRunning() const { return m_running; }
    // The interval of a tick: the timer's own, as it was when the run started.
    Clock::duration Interval() const;

    // Run as a tick starts: waits for the tick's exact moment when the timer woke ahead of it, and
    // starts the schedule afresh from now when the tick comes more than an interval late.
    void BeginTick();
    // Run after a tick's work: arms the timer for the next tick, one interval (or span) after this
    // tick's moment on the schedule.
    void ArmNext();
    void ArmNext(Clock::duration span);

    // When the next tick is due; meaningful while a run is on.
    Clock::time_point NextDue() const { return m_due; }
    // True while a run is on and its next tick is due within `span` from now.
    bool IsDueWithin(Clock::duration span) const;

private:
    QTimer& m_timer;
    StepClock m_clock;
    Clock::duration m_interval{0};  // the timer's own, given back by Stop
    Clock::duration m_span{0};      // from the tick before to the tick due
    Clock::time_point m_onSchedule; // the moment of the tick due, as the schedule has it
    Clock::time_point m_due;
    Clock::time_point m_tickStart;
    bool m_running = false;
};
