#include "desktop/x11/X11HotKeyGrab.h"

#include "desktop/x11/X11ErrorTrap.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <utility>

namespace {

// The modifier bit of Num Lock in the map of the moment; 0 where no key sets one.
unsigned int NumLockMask(Display* display)
{
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* modmap = XGetModifierMapping(display);
    unsigned int mask = 0;
    for (int bit = 0; modmap != nullptr && numLock != 0 && bit < 8; ++bit)
        for (int i = 0; i < modmap->max_keypermod; ++i)
            if (modmap->modifiermap[bit * modmap->max_keypermod + i] == numLock)
                mask |= 1U << bit;
    if (modmap != nullptr)
        XFreeModifiermap(modmap);
    return mask;
}

} // namespace

X11HotKeyGrab::X11HotKeyGrab(Display* display, unsigned long root) : m_display(display), m_root(root)
{}

X11HotKeyGrab::~X11HotKeyGrab()
{
    Ungrab();
}

void X11HotKeyGrab::Claim(bool claimed)
{
    if (claimed == m_claimed)
        return;
    m_claimed = claimed;
    if (claimed)
        Grab();
    else
        Ungrab();
}

void X11HotKeyGrab::Remapped()
{
    // A lent key code changes the map too, at each character: the grab stays while F11 and F12 stay.
    if (!m_claimed || Keycodes() == m_keycodes)
        return;
    Ungrab();
    Grab();
}

std::vector<unsigned int> X11HotKeyGrab::Keycodes() const
{
    std::vector<unsigned int> keycodes;
    for (const KeySym key : {XK_F11, XK_F12})
        if (const KeyCode keycode = XKeysymToKeycode(m_display, key); keycode != 0)
            keycodes.push_back(keycode);
    return keycodes;
}

void X11HotKeyGrab::Grab()
{
    const unsigned int numLock = NumLockMask(m_display);
    X11ErrorTrap trap(m_display);
    m_keycodes = Keycodes();
    for (const unsigned int keycode : m_keycodes)
        for (const unsigned int locks : {0U, unsigned(LockMask), numLock, LockMask | numLock})
            XGrabKey(m_display, static_cast<int>(keycode), ControlMask | ShiftMask | locks, m_root, False,
                     GrabModeAsync, GrabModeAsync);
    XSync(m_display, False);
    // Another program (a desktop's own shortcut) holds them already: they reach it, as before.
    if (trap.Failed() && !std::exchange(m_warned, true))
        std::fprintf(stderr, "clickwarden: another program has taken Ctrl+Shift+F11 or F12: the focused window may "
                             "receive them too\n");
}

void X11HotKeyGrab::Ungrab()
{
    for (const unsigned int keycode : m_keycodes)
        XUngrabKey(m_display, static_cast<int>(keycode), AnyModifier, m_root);
    if (!m_keycodes.empty())
        XSync(m_display, False);
    m_keycodes.clear();
}
