#pragma once

#include "desktop/Desktop.h"

#include <memory>
#include <vector>

struct _XDisplay;

// The presses and releases of the three buttons as the X server processes them, read through the
// RECORD extension on a data connection of its own, so that a press shorter than one poll is still
// seen. Nothing runs in the background: the events wait in the connection until Take() reads them.
class X11ButtonStream
{
public:
    // Starts following on the server of this control connection; null when the server has no
    // RECORD extension or will not record.
    static std::unique_ptr<X11ButtonStream> Start(_XDisplay* control);
    ~X11ButtonStream();
    X11ButtonStream(const X11ButtonStream&) = delete;
    X11ButtonStream& operator=(const X11ButtonStream&) = delete;

    // The events that arrived since the last call, oldest first. Never blocks.
    std::vector<ButtonEvent> Take();

    // What the library's callback hands over while the data connection is read.
    struct Inbox
    {
        bool started = false;
        std::vector<ButtonEvent> events;
    };

private:
    X11ButtonStream(_XDisplay* control, _XDisplay* data, unsigned long context);
    bool WaitForStart();

    _XDisplay* m_control;
    _XDisplay* m_data;
    unsigned long m_context;
    Inbox m_inbox;
};
