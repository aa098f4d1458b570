#include "player/StopKeyWatch.h"

#include "core/KeySymbols.h"
#include "desktop/Desktop.h"

#include <utility>

void StopKeyWatch::Arm()
{
    m_armed = false;
    m_stepChord = StepChord::Unseen;
    m_stopping = false;
    m_deferred = false;
    m_desktop.ClaimHotKeys(true);
}

void StopKeyWatch::Reset()
{
    m_stopping = false;
    m_desktop.ClaimHotKeys(false);
}

StopKeyWatch::Verdict StopKeyWatch::Poll(bool taskDueSoon, bool bySteps)
{
    if (m_stopping)
        return StopOnceReleased();
    // Three key queries on a busy X server can take milliseconds: a check that falls just before a
    // task is left to the next poll, so that it cannot hold the task up. Never two in a row, so the
    // keys are read at least every other poll whatever the two intervals.
    if (!m_deferred && taskDueSoon) {
        m_deferred = true;
        return Verdict::Nothing;
    }
    m_deferred = false;
    // All three keys are asked every time; only the three answers together count.
    const bool control = m_desktop.IsKeyDown(KeySymbols::kControl);
    const bool shift = m_desktop.IsKeyDown(KeySymbols::kShift);
    const bool f11 = m_desktop.IsKeyDown(KeySymbols::kF11);
    if (!(control && shift && f11)) {
        m_armed = true;
        if (!bySteps)
            return Verdict::Nothing;
        const StepChord before =
            std::exchange(m_stepChord, StepChordAfter(control, shift, m_desktop.IsKeyDown(KeySymbols::kF12)));
        return before == StepChord::Pressed && m_stepChord == StepChord::Up ? Verdict::Step : Verdict::Nothing;
    }
    if (!m_armed)
        return Verdict::Nothing;
    m_stopping = true;
    const Verdict released = StopOnceReleased();
    return released == Verdict::Stop ? released : Verdict::Stopping;
}

StopKeyWatch::StepChord StopKeyWatch::StepChordAfter(bool control, bool shift, bool f12) const
{
    const bool allUp = !control && !shift && !f12;
    switch (m_stepChord) {
    case StepChord::Unseen:
        return allUp ? StepChord::Up : StepChord::Unseen;
    case StepChord::Up:
        return control && shift && f12 ? StepChord::Pressed : StepChord::Up;
    case StepChord::Pressed:
        // A key let go first while the others are held does not step: the task would get them.
        return allUp ? StepChord::Up : StepChord::Pressed;
    }
    return m_stepChord;
}

StopKeyWatch::Verdict StopKeyWatch::StopOnceReleased()
{
    return m_desktop.IsKeyDown(KeySymbols::kF11) ? Verdict::Nothing : Verdict::Stop;
}
