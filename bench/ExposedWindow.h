#pragma once

#include <X11/Xlib.h>

// A window of a benchmark's own, on a connection of its own, above all others and passed over by
// the window manager: it has been drawn once (exposed) when the constructor returns. Without a
// display, IsOpen() is false.
class ExposedWindow
{
public:
    ExposedWindow(int left, int top, int width, int height)
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            return;
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        attributes.event_mask = ExposureMask;
        m_window = XCreateWindow(m_display, DefaultRootWindow(m_display), left, top, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                 CWOverrideRedirect | CWEventMask, &attributes);
        XMapRaised(m_display, m_window);
        XEvent event;
        XWindowEvent(m_display, m_window, ExposureMask, &event);
    }
    ~ExposedWindow()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    ExposedWindow(const ExposedWindow&) = delete;
    ExposedWindow& operator=(const ExposedWindow&) = delete;

    bool IsOpen() const { return m_display != nullptr; }
    Display* display() const { return m_display; }
    Window window() const { return m_window; }

private:
    Display* m_display = nullptr;
    Window m_window = 0;
};
