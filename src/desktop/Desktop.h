#pragma once

#include "core/MouseButton.h"
#include "core/Wheel.h"

#include <QSize>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

class ScreenReader;

// A press or release of one of the three buttons, as the desktop reported it.
struct ButtonEvent
{
    MouseButton button = MouseButton::Left;
    bool pressed = false; // a press, or else a release
    int x = 0;            // where the pointer was
    int y = 0;
    quint32 time = 0;  // the desktop's clock in milliseconds; it wraps around after about 49 days
    quint64 order = 0; // counts the buttons, keys and wheel notches followed: which came first
};

// A key pressed or let go, or a notch of the wheel, as the desktop reported it along with the buttons.
struct InputEvent
{
    enum class Kind
    {
        Press, // of a key
        Release,
        Wheel, // one notch
    };

    Kind kind = Kind::Press;
    int key = 0;            // which key: the same number for its press and its release
    quint32 keysym = 0;     // what the key gives with the modifiers and the layout of the moment
    quint32 baseKeysym = 0; // what it gives without any modifier, in the same layout
    WheelDirection direction = WheelDirection::Down;
    int x = 0; // where the pointer was
    int y = 0;
    quint32 time = 0;  // as in ButtonEvent
    quint64 order = 0; // as in ButtonEvent
};

// A place the pointer passed through while a button was held, as the desktop reported it.
struct PointerMove
{
    int x = 0;
    int y = 0;
    quint32 time = 0;  // as in ButtonEvent
    quint64 order = 0; // as in ButtonEvent: a move between a press and its release has an order between theirs
};

// Everything the program reads from or does to the desktop: key and button state, the pointer,
// synthetic button and key actions and screen pixels, in the program's own words: screen pixels,
// mouse buttons and key symbols. Every call is synchronous: an action has happened when it returns.
// One backend per kind of desktop session implements it (desktop/x11, ...); DesktopFactory picks it.
class Desktop
{
public:
    Desktop() = default;
    virtual ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // True while this mouse button is held, at the moment of the call.
    virtual bool IsButtonDown(MouseButton button) = 0;
    // True while a key that gives this key symbol is held, at the moment of the call; Shift_L and
    // Control_L stand for either hand's key.
    virtual bool IsKeyDown(quint32 keysym) = 0;

    // Starts (on) or stops watching the user's input: every press and release of the three
    // buttons, of the keys, and every notch of the wheel, so that none is missed between two
    // queries. Returns whether it is watched now: a desktop that cannot watch it leaves
    // IsButtonDown the only way to see the buttons, and no keys or wheel at all.
    virtual bool WatchInput(bool on) = 0;
    // Whether IsButtonDown and WatchInput see the user's own presses anywhere on the desktop. A
    // desktop that keeps other windows' input from a client (Wayland) sees only its own presses:
    // there nothing can be recorded, and a point is taken on a still picture of the screen.
    virtual bool SeesUserInput() { return true; }
    // The button presses and releases that came since the last call, oldest first; none unless watched.
    virtual std::vector<ButtonEvent> TakeButtonEvents() = 0;
    // The key presses and releases and the wheel notches since the last call, oldest first; none
    // unless watched.
    virtual std::vector<InputEvent> TakeInputEvents() = 0;
    // The pointer's moves with a button held since the last call, oldest first; none unless
    // watched, and none from a desktop that follows the buttons only.
    virtual std::vector<PointerMove> TakePointerMoves() { return {}; }

    // Presses or lets go of the key that gives this keysym in the layout of the moment, with the
    // Shift or AltGr it needs held around it; where the layout has no such key, a spare key code is
    // lent the keysym until ReleaseHeld.
    virtual void KeyDown(quint32 keysym) = 0;
    virtual void KeyUp(quint32 keysym) = 0;
    // Presses and lets go: types the keysym's character, or presses Return, F5, ...
    virtual void KeyTap(quint32 keysym) = 0;
    // The keysyms that KeyDown and KeyTap could not type since the last call, oldest first: no key
    // gives them and no key code could be lent. None where every keysym can be typed.
    virtual std::vector<quint32> TakeUntypedKeys() { return {}; }
    // Turns the wheel this many notches at the current pointer position.
    virtual void TurnWheel(WheelDirection direction, int notches) = 0;

    // The pointer's current position.
    virtual int PointerX() = 0;
    virtual int PointerY() = 0;

    // Puts the pointer at (x, y).
    virtual void MovePointer(int x, int y) = 0;

    // Presses, releases, clicks or double-clicks a button at the current pointer position.
    virtual void ButtonDown(MouseButton button) = 0;
    virtual void ButtonUp(MouseButton button) = 0;
    virtual void ButtonClick(MouseButton button) = 0;
    virtual void ButtonDoubleClick(MouseButton button) = 0;
    // Lets go of every button and key that this desktop's own presses hold down now, last pressed
    // first, and gives back the key codes lent to keysyms. The desktop keeps the one record of them
    // (on X11 also told to a guardian process that lets go of them should the program end without a word).
    virtual void ReleaseHeld() = 0;

    // While claimed, the stop and step keys (Ctrl+Shift+F11, Ctrl+Shift+F12) reach this program
    // alone, never the focused window; IsKeyDown still sees them. Nothing where a desktop cannot.
    virtual void ClaimHotKeys(bool claimed) { Q_UNUSED(claimed); }

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

    // The toolkit has opened its own connection to the display: a backend takes back what belongs
    // to the whole process (on X11 the error handlers, which the toolkit replaced with its own).
    virtual void ToolkitStarted() {}

    // A reader of the screen for another thread, made on this desktop's thread. A backend with a
    // way of its own (a connection of its own, change reports) gives it; the reader given here
    // sends its reads back to this thread, a band at a time.
    virtual std::unique_ptr<ScreenReader> OpenScreenReader();
};
