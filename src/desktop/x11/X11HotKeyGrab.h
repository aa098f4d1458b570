#pragma once

#include <vector>

struct _XDisplay;

// Ctrl+Shift+F11 and Ctrl+Shift+F12 grabbed on the root window while claimed, with every
// combination of Caps Lock and Num Lock, so that the focused program never receives them (a
// terminal would get ";6~" for each). The server's key state still shows them held, which is how the
// program reads them; the grab's own events are simply dropped.
class X11HotKeyGrab
{
public:
    X11HotKeyGrab(_XDisplay* display, unsigned long root);
    ~X11HotKeyGrab();
    X11HotKeyGrab(const X11HotKeyGrab&) = delete;
    X11HotKeyGrab& operator=(const X11HotKeyGrab&) = delete;

    void Claim(bool claimed);
    // The keyboard map changed: the keys may sit on other key codes now.
    void Remapped();

private:
    void Grab();
    void Ungrab();
    // The key codes of F11 and F12 in the map of the moment.
    std::vector<unsigned int> Keycodes() const;

    _XDisplay* m_display;
    unsigned long m_root;
    bool m_claimed = false;
    std::vector<unsigned int> m_keycodes; // grabbed now
    bool m_warned = false;
};
