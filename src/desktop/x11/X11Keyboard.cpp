#include "desktop/x11/X11Keyboard.h"

#include "core/KeySymbols.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <chrono>
#include <thread>

namespace {

// A program reads the keyboard map again when it handles the first key event after a change of the
// map, so a lent key code keeps its keysym a moment after the last key was sent.
constexpr std::chrono::milliseconds kLendLinger{60};

bool SameKey(quint32 given, quint32 wanted)
{
    if (given == wanted)
        return true;
    // "U0151" and "odoubleacute" are one character by two keysyms.
    const char32_t character = KeySymbols::Character(wanted);
    return character != 0 && KeySymbols::Character(given) == character;
}

} // namespace

X11Keyboard::X11Keyboard(Display* display, const HeldInputs& held, Fake fake)
    : m_display(display), m_held(held), m_fake(std::move(fake))
{}

X11Keyboard::~X11Keyboard()
{
    GiveBack();
    if (m_map != nullptr)
        XkbFreeKeyboard(m_map, 0, True);
}

XkbDescPtr X11Keyboard::Map()
{
    if (!m_stale && m_map != nullptr)
        return m_map;
    if (m_map != nullptr)
        XkbFreeKeyboard(m_map, 0, True);
    m_map = XkbGetMap(m_display, XkbAllClientInfoMask, XkbUseCoreKbd);
    m_stale = false;
    m_levelThree = 0;
    if (m_map == nullptr)
        return nullptr;
    for (int keycode = m_map->min_key_code; keycode <= m_map->max_key_code; ++keycode) {
        for (int i = 0; i < XkbKeyNumSyms(m_map, keycode); ++i) {
            const KeySym symbol = XkbKeySymsPtr(m_map, keycode)[i];
            if (symbol == XK_ISO_Level3_Shift || symbol == XK_Mode_switch)
                m_levelThree |= m_map->map->modmap[keycode];
        }
    }
    return m_map;
}

quint32 X11Keyboard::KeysymOf(unsigned int keycode, unsigned int state)
{
    XkbDescPtr map = Map();
    unsigned int consumed = 0;
    KeySym symbol = NoSymbol;
    if (map == nullptr || !XkbTranslateKeyCode(map, static_cast<KeyCode>(keycode), state, &consumed, &symbol))
        return 0;
    return static_cast<quint32>(symbol);
}

quint32 X11Keyboard::BaseKeysymOf(unsigned int keycode, unsigned int state)
{
    return KeysymOf(keycode, XkbBuildCoreState(0, XkbGroupForCoreState(state)));
}

// The key and the fewest modifiers that give the keysym in the group and with the locks of the
// moment (with Caps Lock on, "a" needs Shift).
std::optional<X11Keyboard::Stroke> X11Keyboard::Find(quint32 keysym)
{
    if (const auto lent = m_lent.find(keysym); lent != m_lent.end())
        return Stroke{lent->second, 0};
    XkbDescPtr map = Map();
    XkbStateRec state{};
    if (map == nullptr || XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    std::vector<unsigned int> tries = {0, ShiftMask};
    if (m_levelThree != 0)
        tries.insert(tries.end(), {m_levelThree, ShiftMask | m_levelThree});
    for (const unsigned int modifiers : tries) {
        const unsigned int core = XkbBuildCoreState(modifiers | state.locked_mods, state.group);
        for (int keycode = map->min_key_code; keycode <= map->max_key_code; ++keycode) {
            unsigned int consumed = 0;
            KeySym symbol = NoSymbol;
            if (XkbTranslateKeyCode(map, static_cast<KeyCode>(keycode), core, &consumed, &symbol) &&
                symbol != NoSymbol && SameKey(static_cast<quint32>(symbol), keysym))
                return Stroke{static_cast<unsigned int>(keycode), modifiers};
        }
    }
    return Lend(keysym);
}

// Maps the keysym for a moment to a key code that carries no symbol; both levels, so that a held
// Shift does not matter.
std::optional<X11Keyboard::Stroke> X11Keyboard::Lend(quint32 keysym)
{
    XkbDescPtr map = Map();
    if (map == nullptr)
        return std::nullopt;
    for (int keycode = map->max_key_code; keycode >= map->min_key_code; --keycode) {
        const auto code = static_cast<unsigned int>(keycode);
        if (XkbKeyNumSyms(map, keycode) != 0 || IsHeld(code))
            continue;
        bool taken = false;
        for (const auto& [symbol, lentCode] : m_lent)
            taken = taken || lentCode == code;
        if (taken)
            continue;
        KeySym symbols[2] = {keysym, keysym};
        XChangeKeyboardMapping(m_display, keycode, 2, symbols, 1);
        XSync(m_display, False);
        m_lent[keysym] = code;
        return Stroke{code, 0};
    }
    return std::nullopt;
}

void X11Keyboard::GiveBack()
{
    if (m_lent.empty())
        return;
    std::this_thread::sleep_for(kLendLinger);
    for (const auto& [symbol, keycode] : m_lent) {
        KeySym none = NoSymbol;
        XChangeKeyboardMapping(m_display, static_cast<int>(keycode), 1, &none, 1);
    }
    m_lent.clear();
    XSync(m_display, False);
    m_stale = true;
}

std::vector<unsigned int> X11Keyboard::ModifierKeys(unsigned int modifiers)
{
    std::vector<unsigned int> keys;
    XModifierKeymap* modmap = XGetModifierMapping(m_display);
    if (modmap == nullptr)
        return keys;
    for (int bit = 0; bit < 8; ++bit) {
        if ((modifiers & (1U << bit)) == 0)
            continue;
        for (int i = 0; i < modmap->max_keypermod; ++i) {
            const KeyCode keycode = modmap->modifiermap[bit * modmap->max_keypermod + i];
            if (keycode != 0) {
                keys.push_back(keycode);
                break;
            }
        }
    }
    XFreeModifiermap(modmap);
    return keys;
}

bool X11Keyboard::IsHeld(unsigned int keycode) const
{
    return m_held.IsHeld({HeldInputs::Kind::Key, static_cast<int>(keycode)});
}

// The modifiers go down before the key and come up after it; one already held stays as it is.
void X11Keyboard::PressStroke(const Stroke& stroke)
{
    std::vector<unsigned int> pressed;
    if (stroke.modifiers != 0) {
        for (const unsigned int keycode : ModifierKeys(stroke.modifiers)) {
            if (!IsHeld(keycode)) {
                m_fake(keycode, true);
                pressed.push_back(keycode);
            }
        }
    }
    m_fake(stroke.keycode, true);
    m_modifiersOf[stroke.keycode] = std::move(pressed);
}

void X11Keyboard::ReleaseStroke(const Stroke& stroke)
{
    m_fake(stroke.keycode, false);
    const auto modifiers = m_modifiersOf.find(stroke.keycode);
    if (modifiers == m_modifiersOf.end())
        return;
    for (auto keycode = modifiers->second.rbegin(); keycode != modifiers->second.rend(); ++keycode)
        m_fake(*keycode, false);
    m_modifiersOf.erase(modifiers);
}

void X11Keyboard::Press(quint32 keysym)
{
    if (const std::optional<Stroke> stroke = Find(keysym))
        PressStroke(*stroke);
}

void X11Keyboard::Release(quint32 keysym)
{
    if (const std::optional<Stroke> stroke = Find(keysym); stroke && IsHeld(stroke->keycode))
        ReleaseStroke(*stroke);
}

void X11Keyboard::Tap(quint32 keysym)
{
    if (const std::optional<Stroke> stroke = Find(keysym)) {
        PressStroke(*stroke);
        ReleaseStroke(*stroke);
    }
}
