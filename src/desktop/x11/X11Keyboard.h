#pragma once

#include "desktop/HeldInputs.h"

#include <QtGlobal>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <vector>

struct _XDisplay;
struct _XkbDesc;

// The keyboard of an X server by key symbols: which keysym a key event gave, and which key and
// modifiers give a keysym now, whatever the layout. A keysym the layout lacks is lent a spare key
// code (one that carries no symbol) until GiveBack(); once every spare code is lent, the one typed
// longest ago is lent again, so that any number of different characters can be typed. A lent code
// is checked on the server before each use (a layout change takes it back) and is given the Lock
// behaviour of a letter whose two cases are both the character: Caps Lock changes nothing. Its
// presses and releases go out through the desktop, which keeps the one record of what is held and
// lent.
class X11Keyboard
{
public:
    // Sends a press or a release of a key code.
    using Fake = std::function<void(unsigned int keycode, bool press)>;

    X11Keyboard(_XDisplay* display, HeldInputs& held, Fake fake);
    ~X11Keyboard();
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    // Reads the server's keyboard map again; the next lookup does so by itself after Stale().
    void Stale() { m_stale = true; }

    // The keysym a key event gave with its state (modifiers and layout group), and the one the key
    // gives in that group without modifiers.
    quint32 KeysymOf(unsigned int keycode, unsigned int state);
    quint32 BaseKeysymOf(unsigned int keycode, unsigned int state);

    // Presses or releases the key of the keysym, with the Shift or AltGr it needs around it. False
    // when no key gives it and none can be lent (every spare code is held, or there is none).
    bool Press(quint32 keysym);
    void Release(quint32 keysym);
    bool Tap(quint32 keysym);
    // Forgets which modifiers were pressed for which key: the desktop has let go of them all.
    void Forget() { m_modifiersOf.clear(); }
    // Gives back the lent key codes (a moment after the last key, so that programs still read them).
    void GiveBack();

private:
    struct Lent
    {
        unsigned int keycode = 0;
        std::chrono::steady_clock::time_point used; // the last press of it
    };

    struct Stroke
    {
        unsigned int keycode = 0;
        unsigned int modifiers = 0; // the modifier mask that must be held around the key
    };

    _XkbDesc* Map();
    std::optional<Stroke> Find(quint32 keysym);
    std::optional<Stroke> Lend(quint32 keysym);
    // A key code that can be lent now: a spare one, or else the lent one used longest ago.
    std::optional<unsigned int> FreeKeycode(_XkbDesc* map);
    // Gives the key code the keysym on both levels, Shift and Lock both consumed.
    void MapLent(unsigned int keycode, quint32 keysym);
    // Whether the server's map gives the key code this keysym now.
    bool Carries(unsigned int keycode, quint32 keysym);
    void Unlend(std::map<quint32, Lent>::iterator lent);
    bool IsHeld(unsigned int keycode) const;
    // The key codes that set each modifier bit, for the bits of this mask.
    std::vector<unsigned int> ModifierKeys(unsigned int modifiers);
    void PressStroke(const Stroke& stroke);
    void ReleaseStroke(const Stroke& stroke);

    _XDisplay* m_display;
    HeldInputs& m_held;
    Fake m_fake;
    _XkbDesc* m_map = nullptr;
    bool m_stale = true;
    unsigned int m_levelThree = 0;  // the modifier bit of AltGr (ISO_Level3_Shift or Mode_switch)
    std::map<quint32, Lent> m_lent; // keysym -> the key code lent to it
    std::map<unsigned int, std::vector<unsigned int>> m_modifiersOf; // key code -> modifier keys pressed for it
};
