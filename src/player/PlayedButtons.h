#pragma once

#include "core/MouseButton.h"
#include "tasks/TaskKinds.h"

#include <QPoint>

#include <array>
#include <bitset>

class Desktop;

// The buttons a run's tasks press and release: which are held and where each was pressed, and which
// presses were given up, so that their releases are given up too (a release of a press never made
// would drop whatever the user holds, or click).
class PlayedButtons
{
public:
    explicit PlayedButtons(Desktop& desktop) : m_desktop(desktop) {}

    // A new run: nothing held, nothing given up.
    void Reset();
    // Clicks, double-clicks, presses or releases the button where the pointer is now, `at`.
    void Play(TaskKinds::Action action, MouseButton button, QPoint at);
    // The press of this button was skipped.
    void GiveUp(MouseButton button);
    // True for the release of a press that was given up and not made since; it is then forgotten.
    bool TakeGivenUpRelease(MouseButton button);

    bool AnyHeld() const { return m_held.any(); }
    // Lets go of every held button, each where it was pressed, so a drag given up drops nothing
    // anywhere else.
    void ReleaseAll();

private:
    Desktop& m_desktop;
    std::bitset<kMouseButtons.size()> m_held;
    std::array<QPoint, kMouseButtons.size()> m_pressPoints{};
    std::bitset<kMouseButtons.size()> m_givenUp;
};
