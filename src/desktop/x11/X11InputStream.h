#pragma once

#include "desktop/Desktop.h"

#include <memory>
#include <utility>
#include <vector>

struct _XDisplay;

// The presses and releases of the three buttons, of the keys and of the wheel's buttons, and the
// pointer's moves while a button is held, as the X server processes them, read through the RECORD extension on a data
// connection of its own, so that a press shorter than one poll is still seen. Nothing runs in the background: the
// events wait in the connection until Take() or TakeInput() reads them.
class X11InputStream
{
public:
    // Starts following on the server of this control connection; null when the server has no
    // RECORD extension or will not record.
    static std::unique_ptr<X11InputStream> Start(_XDisplay* control);
    ~X11InputStream();
    X11InputStream(const X11InputStream&) = delete;
    X11InputStream& operator=(const X11InputStream&) = delete;

    // The events that arrived since the last call, oldest first. Never blocks.
    std::vector<ButtonEvent> Take();

    // A key event or a wheel notch as the server sent it: the key code or X button, and the state
    // of the modifiers and the layout group at that moment.
    struct RawInput
    {
        int type = 0; // KeyPress, KeyRelease, or ButtonPress for a wheel notch
        unsigned int detail = 0;
        unsigned int state = 0;
        int x = 0;
        int y = 0;
        quint32 time = 0;
        quint64 order = 0;
    };
    // The key events and wheel notches that arrived since the last call, oldest first; right after
    // Take(), those that arrived up to it. Never blocks.
    std::vector<RawInput> TakeInput();
    // The pointer's moves with a button held that arrived up to the last Take(), oldest first.
    std::vector<PointerMove> TakeMoves() { return std::exchange(m_inbox.moves, {}); }

    // What the library's callback hands over while the data connection is read.
    struct Inbox
    {
        bool started = false;
        quint64 order = 0;
        std::vector<ButtonEvent> events;
        std::vector<RawInput> input;
        std::vector<PointerMove> moves;
    };

private:
    X11InputStream(_XDisplay* control, _XDisplay* data, unsigned long context);
    bool WaitForStart();

    _XDisplay* m_control;
    _XDisplay* m_data;
    unsigned long m_context;
    Inbox m_inbox;
    bool m_justRead = false; // Take() read the connection and TakeInput() has not been called since
};
