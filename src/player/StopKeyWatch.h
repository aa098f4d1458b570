#pragma once

class Desktop;

// Reads the player's keys at each poll: Ctrl+Shift+F11 ends a run once F11 is let go, and while
// stepping Ctrl+Shift+F12 runs one task a press, once all three keys are up again, so that no
// modifier is held while the task clicks or types. Keys held when the run starts count only once
// they have been seen up, so the shortcut that started playback neither stops nor steps it at once.
class StopKeyWatch
{
public:
    // What one poll found.
    enum class Verdict
    {
        Nothing,
        Step,     // the step chord was pressed and all of it is up now: run one task
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
    // What one press of the step chord has come to: nothing until all three keys were seen up once,
    // then up, then the whole chord held at one poll.
    enum class StepChord
    {
        Unseen,
        Up,
        Pressed,
    };
    StepChord StepChordAfter(bool control, bool shift, bool f12) const;

    bool m_armed = false;
    StepChord m_stepChord = StepChord::Unseen;
    bool m_stopping = false;
    bool m_deferred = false;
};
