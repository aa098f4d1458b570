// The player's stop keys: Ctrl+Shift+F11 ends a run once F11 is let go, and while stepping
// Ctrl+Shift+F12 runs one task a press.
#include "player/Player.h"

#include "core/KeySymbols.h"
#include "desktop/Desktop.h"
#include "tasks/TaskList.h"

#include <chrono>
#include <utility>

namespace {
// How long before a task is due the stop-key check keeps away.
constexpr std::chrono::milliseconds kQuietBeforeTask{10};
} // namespace

void Player::CheckStepKey(bool control, bool shift)
{
    const bool down = control && shift && m_desktop.IsKeyDown(KeySymbols::kF12);
    // The task runs when the key comes up, so that the keys are not held while it clicks.
    if (std::exchange(m_stepKeyDown, down) && !down && m_playing && !m_stopping) {
        const int row = m_tasks.CurrentRow();
        ++m_executed;
        RunTask(row);
        FinishStep(row);
    }
}

bool Player::PlaybackStopCheck()
{
    if (m_stopping)
        return FinishStopOnceReleased();
    // Three key queries on a busy X server can take milliseconds: a check that falls just before a
    // task is left to the next poll, so that it cannot hold the task up. Never two in a row, so the
    // keys are read at least every other poll whatever the two intervals.
    if (!m_checkDeferred && m_schedule.IsDueWithin(kQuietBeforeTask)) {
        m_checkDeferred = true;
        return false;
    }
    m_checkDeferred = false;
    // All three keys are asked every time; only the three answers together count.
    const bool control = m_desktop.IsKeyDown(KeySymbols::kControl);
    const bool shift = m_desktop.IsKeyDown(KeySymbols::kShift);
    const bool f11 = m_desktop.IsKeyDown(KeySymbols::kF11);
    if (!(control && shift && f11)) {
        m_stopKeysArmed = true;
        if (m_range.bySteps)
            CheckStepKey(control, shift);
        return false;
    }
    if (!m_stopKeysArmed || !m_playing)
        return false;
    // No task runs from now on; the window comes back once F11 is up, so the key does not reach it.
    Halt();
    m_stopping = true;
    return FinishStopOnceReleased();
}

bool Player::FinishStopOnceReleased()
{
    if (m_desktop.IsKeyDown(KeySymbols::kF11))
        return false;
    Stop();
    return true;
}

void Player::Stop()
{
    if (!m_playing)
        return;
    StopTimersAndRestore();
    emit stopped(m_executed);
    m_tasks.SetCurrentRow(1);
}
