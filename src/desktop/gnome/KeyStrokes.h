#pragma once

#include <QtGlobal>

#include <map>
#include <vector>

struct xkb_keymap;

// How a keyboard layout types each key symbol: the key and the modifier keys (Shift, AltGr ...) to
// hold around it, as evdev codes, found in the layout's own description, the one the compositor
// types with. Keys sent by code are the compositor's to let go of when their sender goes away,
// which the modifiers a compositor adds on its own to type a symbol are not.
class KeyStrokes
{
public:
    struct Stroke
    {
        int key = 0;                // 0: no key of the layout gives the symbol
        std::vector<int> modifiers; // held around it, in the order to press them
    };

    // Takes a reference on the keymap (null: no symbol can be typed); the group is the layout.
    explicit KeyStrokes(xkb_keymap* keymap = nullptr, quint32 group = 0);
    ~KeyStrokes();
    KeyStrokes(const KeyStrokes&) = delete;
    KeyStrokes& operator=(const KeyStrokes&) = delete;

    // The simplest way to type this symbol in the group: its lowest level the modifier keys can reach.
    Stroke For(quint32 keysym) const;

private:
    void FindModifierKeys();
    // The modifier keys that together set exactly this mask; false where some bit has none.
    bool ModifierKeysFor(quint32 mask, std::vector<int>* keys) const;

    xkb_keymap* m_keymap = nullptr;
    quint32 m_group = 0;
    std::map<quint32, int> m_modifierKeys; // a modifier mask, and the evdev code of a key that sets it
};
