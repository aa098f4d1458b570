#pragma once

#include "desktop/HeldInputs.h"

#include <QtGlobal>

#include <functional>
#include <map>
#include <optional>
#include <vector>

struct _XDisplay;
struct _XkbDesc;

// The keyboard of an X server by key symbols: which keysym a key event gave, and which key and
// modifiers give a keysym now, whatever the layout. A keysym the layout lacks is lent a spare key
// code (one that carries no symbol) until GiveBack(). Its presses and releases go out through the
// desktop, which keeps the one record of what is held.
class X11Keyboard
{
public:
    // Sends a press or a release of a key code.
    using Fake = std::function<void(unsigned int keycode, bool press)>;

    X11Keyboard(_XDisplay* display, const HeldInputs& held, Fake fake);
    ~X11Keyboard();
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    // Reads the server's keyboard map again; the next lookup does so by itself after Stale().
    void Stale() { m_stale = true; }

    // The keysym a key event gave with its state (modifiers and layout group), and the one the key
    // gives in that group without modifiers.
    quint32 KeysymOf(unsigned int keycode, unsigned int state);
    quint32 BaseKeysymOf(unsigned int keycode, unsigned int state);

    // Presses or releases the key of the keysym, with the Shift or AltGr it needs around it.
    void Press(quint32 keysym);
    void Release(quint32 keysym);
    void Tap(quint32 keysym);
    // Forgets which modifiers were pressed for which key: the desktop has let go of them all.
    void Forget() { m_modifiersOf.clear(); }
    // Gives back the lent key codes (a moment after the last key, so that programs still read them).
    void GiveBack();

private:
    struct Stroke
    {
        unsigned int keycode = 0;
        unsigned int modifiers = 0; // the modifier mask that must be held around the key
    };

    _XkbDesc* Map();
    std::optional<Stroke> Find(quint32 keysym);
    std::optional<Stroke> Lend(quint32 keysym);
    bool IsHeld(unsigned int keycode) const;
    // The key codes that set each modifier bit, for the bits of this mask.
    std::vector<unsigned int> ModifierKeys(unsigned int modifiers);
    void PressStroke(const Stroke& stroke);
    void ReleaseStroke(const Stroke& stroke);

    _XDisplay* m_display;
    const HeldInputs& m_held;
    Fake m_fake;
    _XkbDesc* m_map = nullptr;
    bool m_stale = true;
    unsigned int m_levelThree = 0;          // the modifier bit of AltGr (ISO_Level3_Shift or Mode_switch)
    std::map<quint32, unsigned int> m_lent; // keysym -> the spare key code lent to it
    std::map<unsigned int, std::vector<unsigned int>> m_modifiersOf; // key code -> modifier keys pressed for it
};
