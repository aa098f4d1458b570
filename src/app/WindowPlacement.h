#pragma once

class QWidget;

namespace WindowPlacement {

// Returns once the window system has placed and shown a window that was just shown, so that a box
// centred over it lands over it rather than where the window was before the window manager placed
// it. A hidden, minimised or already shown window returns at once; none waits longer than a second.
void WaitUntilPlaced(QWidget* window);

} // namespace WindowPlacement
