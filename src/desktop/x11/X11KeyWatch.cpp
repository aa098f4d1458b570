#include "desktop/x11/X11KeyWatch.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>

namespace {

KeySym TwinOf(KeySym symbol)
{
    switch (symbol) {
    case XK_Shift_L:
        return XK_Shift_R;
    case XK_Control_L:
        return XK_Control_R;
    case XK_Alt_L:
        return XK_Alt_R;
    case XK_Super_L:
        return XK_Super_R;
    default:
        return NoSymbol;
    }
}

} // namespace

bool X11KeyWatch::IsDown(quint32 keysym, const Keymap& keymap)
{
    const std::vector<unsigned char>& keycodes = KeycodesOf(keysym);
    return std::any_of(keycodes.begin(), keycodes.end(), [&](unsigned char keycode) {
        return (static_cast<unsigned char>(keymap[keycode / 8]) & (1U << (keycode % 8))) != 0;
    });
}

// Every keycode whose symbols include the symbol or its twin, in any column of the core mapping.
const std::vector<unsigned char>& X11KeyWatch::KeycodesOf(quint32 keysym)
{
    const auto known = m_keycodes.find(keysym);
    if (known != m_keycodes.end())
        return known->second;
    std::vector<unsigned char>& keycodes = m_keycodes[keysym];
    const KeySym twin = TwinOf(keysym);
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(m_display, &minKeycode, &maxKeycode);
    int perKeycode = 0;
    KeySym* symbols =
        XGetKeyboardMapping(m_display, static_cast<KeyCode>(minKeycode), maxKeycode - minKeycode + 1, &perKeycode);
    if (symbols == nullptr)
        return keycodes;
    for (int keycode = minKeycode; keycode <= maxKeycode; ++keycode) {
        const KeySym* row = symbols + static_cast<ptrdiff_t>(keycode - minKeycode) * perKeycode;
        if (std::any_of(row, row + perKeycode,
                        [&](KeySym symbol) { return symbol == keysym || (twin != NoSymbol && symbol == twin); }))
            keycodes.push_back(static_cast<unsigned char>(keycode));
    }
    XFree(symbols);
    return keycodes;
}
