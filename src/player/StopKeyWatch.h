#pragma once

class Desktop;

// Reads the player's keys at each poll: Ctrl+Shift+F11 ends a run once F11 is let go, and while
// stepping Ctrl+Shift+F12 runs one task a press, on its release, so that the keys are not held while
// the task clicks. Keys held when the run starts count only once they have been seen up, so the
// shortcut that started playback neither stops nor steps it at once.
class StopKeyWatch
{
public:
    // What one poll found.
    enum class Verdict
    {
        Nothing,
        Step,     // the step key came up: run one task
        Stopping, // the stop keys are down: nothing may run from now on
        Stop,     // the stop keys were seen and F11 is up: end the run
    };

    explicit StopKeyWatch(Desktop& desktop) : m_desktop(desktop) {}

    // A run starts: nothing counts until the keys have been seen up, and they reach no other
    // program until Reset.
    void Arm();
    // One poll. taskDueSoon: a task falls due within moments, and the check keeps out of its way
    // (never twice in a row). bySteps: the step key is read too.
    Verdict Poll(bool taskDueSoon, bool bySteps);
    // True from the stop keys' press until the run is told to stop.
    bool IsStopping() const { return m_stopping; }
    // The run ended: the keys are forgotten, and given back to the focused window.
    void Reset();

private:
    Verdict StopOnceReleased();

    Desktop& m_desktop;
    bool m_armed = false;
    bool m_stepKeyDown = false;
    bool m_stopping = false;
    bool m_deferred = false;
};
