#pragma once

#include <QString>
#include <QStringList>

// Drives the X server from outside, as a user would, through xdotool (XTEST). Waiting is done by
// polling with a deadline, so a window that never comes fails the test instead of hanging it.
namespace Xdo {

inline constexpr int kWaitMs = 30000;

// Runs xdotool; its standard output, or a null string when it failed.
QString Run(const QStringList& arguments);

// The ids of the process's visible windows (an empty regular expression matches every title).
QStringList VisibleWindows(qint64 pid, const QString& titleRegex = QString());
// The ids of the process's visible windows whose title matches the regular expression, after
// waiting up to timeoutMs for at least one to show; empty when none did.
QStringList WaitForWindows(qint64 pid, const QString& titleRegex, int timeoutMs = kWaitMs);
// Waits until none of the process's visible windows has a matching title; false on timeout.
bool WaitUntilNoWindow(qint64 pid, const QString& titleRegex, int timeoutMs = kWaitMs);

// Waits until the given window is the process's only visible one (a splash has closed, say).
bool WaitForOnlyWindow(qint64 pid, const QString& windowId, int timeoutMs = kWaitMs);

// Raises the window and gives it the keyboard focus; false when the focus did not follow.
bool Activate(const QString& windowId);
// Presses and releases a key combination such as "ctrl+shift+F12" in the focused window.
void Key(const QString& keys);
// Holds a key combination down for a while, for programs that poll the keyboard state.
void HoldKeys(const QString& keys, int milliseconds);
void MoveTo(int x, int y);
// Holds the button as a hand does: a program that samples the buttons every few milliseconds
// would miss a press and release sent back to back.
void Click(int button, int holdMs = 100);
void ButtonDown(int button);
void ButtonUp(int button);

// The window's top-left corner on the screen and its size (from xwininfo: xdotool counts the
// window manager's frame in for some window managers).
struct Geometry
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
Geometry WindowGeometry(const QString& windowId);

} // namespace Xdo
