#pragma once

#include <QtGlobal>

#include <array>
#include <map>
#include <vector>

struct _XDisplay;

// Tells whether a key is held, by its key symbol: every keycode that carries the symbol counts, and
// a left-hand modifier (Shift_L, Control_L) counts its right-hand twin too, so either Shift does.
// Keycodes are looked up once a symbol and again after the layout changed.
class X11KeyWatch
{
public:
    // The server's keymap: a bit for each keycode, set while it is down.
    using Keymap = std::array<char, 32>;

    explicit X11KeyWatch(_XDisplay* display) : m_display(display) {}

    bool IsDown(quint32 keysym, const Keymap& keymap);
    // The keyboard mapping changed: the keycodes are looked up anew.
    void Forget() { m_keycodes.clear(); }

private:
    const std::vector<unsigned char>& KeycodesOf(quint32 keysym);

    _XDisplay* m_display;
    std::map<quint32, std::vector<unsigned char>> m_keycodes;
};
