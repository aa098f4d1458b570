#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <vector>

// The keyboard layout that the program uploads to its virtual keyboard: one key per key symbol a
// run has needed so far, each giving its symbol on its own (no Shift or AltGr level to reach), so
// that the user's layout never matters. Modifier symbols (Shift_L, Control_R, ISO_Level3_Shift ...)
// get keys that set their modifier, so key combinations reach clients as combinations.
class WaylandKeymap
{
public:
    // How many keys one keymap holds: key codes stay below 256 for clients that cannot go further.
    static constexpr int kMaxKeys = 247;

    struct Key
    {
        quint32 code = 0;   // the key code sent to the compositor (the keymap's code minus 8)
        bool added = false; // the symbol was new: the keymap must be uploaded again
    };

    // The key that gives this symbol, added when it is new. A full keymap first drops every key that
    // isHeld says is not down. A symbol that has no name gets no key (code 0).
    template <typename IsHeld> Key KeyFor(quint32 keysym, IsHeld isHeld)
    {
        const int index = IndexOf(keysym);
        if (index >= 0)
            return {CodeAt(index), false};
        if (static_cast<int>(m_keysyms.size()) >= kMaxKeys)
            DropKeysUnless(isHeld);
        return Add(keysym);
    }

    // The keymap in XKB text form, as libxkbcommon compiled it; empty when it did not compile.
    QByteArray Text() const;
    // The modifier mask a key sets while down (0 for an ordinary key), in the keymap's own bits.
    quint32 ModifierMaskOf(quint32 code) const;

    int KeyCount() const { return static_cast<int>(m_keysyms.size()); }

private:
    int IndexOf(quint32 keysym) const;
    static quint32 CodeAt(int index) { return static_cast<quint32>(index + 1); }
    Key Add(quint32 keysym);
    template <typename IsHeld> void DropKeysUnless(IsHeld isHeld)
    {
        // Held keys keep their codes: a release must reach the key that was pressed.
        for (size_t i = 0; i < m_keysyms.size(); ++i)
            if (m_keysyms[i] != 0 && !isHeld(CodeAt(static_cast<int>(i))))
                m_keysyms[i] = 0;
        while (!m_keysyms.empty() && m_keysyms.back() == 0)
            m_keysyms.pop_back();
    }

    std::vector<quint32> m_keysyms; // by index: the key code minus 1; 0 for a free key
};
