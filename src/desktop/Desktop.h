#pragma once

#include "core/VirtualKey.h"

#include <QSize>
#include <QString>
#include <QtGlobal>

#include <vector>

// A press or release of one of the three buttons, as the desktop reported it.
struct ButtonEvent
{
    int button = 0;       // button code
    bool pressed = false; // a press, or else a release
    int x = 0;            // where the pointer was
    int y = 0;
    quint32 time = 0; // the desktop's clock in milliseconds; it wraps around after about 49 days
};

// Everything the program reads from or does to the desktop: key and button state, the pointer,
// synthetic button actions and screen pixels. Coordinates are screen pixels; button codes are
// 1 left, 2 right, 4 middle. Every call is synchronous: an action has happened when it returns.
class Desktop
{
public:
    Desktop() = default;
    virtual ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // True while the key or mouse button with this virtual-key code is held, at the moment of the call.
    virtual bool IsKeyDown(int virtualKey) = 0;

    // Starts (on) or stops following every press and release of the three buttons, so that none
    // is missed between two queries. Returns whether they are followed now: a desktop that cannot
    // follow them leaves IsKeyDown the only way to see the buttons.
    virtual bool FollowButtons(bool on) = 0;
    // The presses and releases that came since the last call, oldest first; none unless followed.
    virtual std::vector<ButtonEvent> TakeButtonEvents() = 0;

    // The pointer's current position.
    virtual int PointerX() = 0;
    virtual int PointerY() = 0;

    // Puts the pointer at (x, y).
    virtual void MovePointer(int x, int y) = 0;

    // Presses, releases, clicks or double-clicks a button at the current pointer position.
    virtual void ButtonDown(int button) = 0;
    virtual void ButtonUp(int button) = 0;
    virtual void ButtonClick(int button) = 0;
    virtual void ButtonDoubleClick(int button) = 0;
    // Lets go of every button and key that this desktop's own presses hold down now, last pressed
    // first. The desktop keeps the one record of them (on X11 also told to a guardian process that
    // lets go of them should the program end without a word).
    virtual void ReleaseHeld() = 0;

    // With a cursor file the pointer takes its shape; with an empty path the normal shape returns.
    // A missing or unreadable file changes nothing.
    virtual void SetPointerShape(const QString& cursorFile = QString()) = 0;

    // The size of the screen in pixels, now: the points from (0, 0) to (width - 1, height - 1) are on it.
    virtual QSize ScreenSize() = 0;

    // The colour of one screen pixel: red in the low byte, then green, then blue; 0 off the screen.
    virtual quint32 PixelColor(int x, int y) = 0;

    // The colours of a whole rectangle in one request, row by row: the pixel (left + i, top + j)
    // is at index j * width + i. Each colour is what PixelColor gives for that pixel.
    virtual std::vector<quint32> PixelBlock(int left, int top, int width, int height) = 0;
};
