#include "desktop/x11/X11Keyboard.h"

#include "core/KeySymbols.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
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

X11Keyboard::X11Keyboard(Display* display, HeldInputs& held, Fake fake)
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

// A lent code that still carries the keysym; else the key and the fewest modifiers that give it in
// the group and with the locks of the moment (with Caps Lock on, "a" needs Shift); else a code lent now.
std::optional<X11Keyboard::Stroke> X11Keyboard::Find(quint32 keysym)
{
    if (const auto lent = m_lent.find(keysym); lent != m_lent.end()) {
        if (Carries(lent->second.keycode, keysym)) {
            lent->second.used = std::chrono::steady_clock::now();
            return Stroke{lent->second.keycode, 0};
        }
        // A layout change took the code back, and may have put the character on a key of its own.
        m_held.Released({HeldInputs::Kind::LentKey, static_cast<int>(lent->second.keycode)});
        m_lent.erase(lent);
        m_stale = true;
    }
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

std::optional<X11Keyboard::Stroke> X11Keyboard::Lend(quint32 keysym)
{
    XkbDescPtr map = Map();
    const std::optional<unsigned int> keycode = map != nullptr ? FreeKeycode(map) : std::nullopt;
    if (!keycode)
        return std::nullopt;
    // The guardian hears of the code before the map changes, so that it gives it back should the
    // program die now.
    m_held.Pressing({HeldInputs::Kind::LentKey, static_cast<int>(*keycode)});
    MapLent(*keycode, keysym);
    m_lent[keysym] = Lent{*keycode, std::chrono::steady_clock::now()};
    return Stroke{*keycode, 0};
}

std::optional<unsigned int> X11Keyboard::FreeKeycode(XkbDescPtr map)
{
    for (int keycode = map->max_key_code; keycode >= map->min_key_code; --keycode) {
        const auto code = static_cast<unsigned int>(keycode);
        const bool lent = std::any_of(m_lent.begin(), m_lent.end(),
                                      [code](const auto& entry) { return entry.second.keycode == code; });
        if (XkbKeyNumSyms(map, keycode) == 0 && !IsHeld(code) && !lent)
            return code;
    }
    auto oldest = m_lent.end();
    for (auto lent = m_lent.begin(); lent != m_lent.end(); ++lent) {
        if (!IsHeld(lent->second.keycode) && (oldest == m_lent.end() || lent->second.used < oldest->second.used))
            oldest = lent;
    }
    if (oldest == m_lent.end())
        return std::nullopt;
    // A program reads the new map when it handles the code's last key: that key must be read first.
    std::this_thread::sleep_until(oldest->second.used + kLendLinger);
    const unsigned int keycode = oldest->second.keycode;
    m_lent.erase(oldest);
    return keycode;
}

// Both levels carry the keysym, and the key is of the alphabetic type, which consumes Shift and
// Lock: with Caps Lock on, neither the server's nor a toolkit's lookup changes the character's case.
void X11Keyboard::MapLent(unsigned int keycode, quint32 keysym)
{
    XkbDescPtr xkb = XkbGetMap(m_display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    int type = XkbAlphabeticIndex;
    XkbMapChangesRec changes{};
    bool mapped = xkb != nullptr && xkb->map->num_types > XkbAlphabeticIndex &&
                  xkb->map->types[XkbAlphabeticIndex].num_levels == 2 &&
                  XkbChangeTypesOfKey(xkb, static_cast<int>(keycode), 1, XkbGroup1Mask, &type, &changes) == Success;
    if (mapped) {
        KeySym* symbols = XkbKeySymsPtr(xkb, keycode);
        symbols[0] = symbols[1] = keysym;
        changes.changed |= XkbKeySymsMask;
        changes.first_key_sym = static_cast<KeyCode>(keycode);
        changes.num_key_syms = 1;
        mapped = XkbChangeMap(m_display, xkb, &changes) != 0;
    }
    if (xkb != nullptr)
        XkbFreeKeyboard(xkb, 0, True);
    if (!mapped) {
        KeySym symbols[2] = {keysym, keysym};
        XChangeKeyboardMapping(m_display, static_cast<int>(keycode), 2, symbols, 1);
    }
    XSync(m_display, False);
    m_stale = true;
}

bool X11Keyboard::Carries(unsigned int keycode, quint32 keysym)
{
    int perKeycode = 0;
    KeySym* symbols = XGetKeyboardMapping(m_display, static_cast<KeyCode>(keycode), 1, &perKeycode);
    const bool carries = symbols != nullptr && perKeycode > 0 && symbols[0] == keysym;
    if (symbols != nullptr)
        XFree(symbols);
    return carries;
}

void X11Keyboard::GiveBack()
{
    if (m_lent.empty())
        return;
    auto lastUse = std::chrono::steady_clock::time_point();
    for (const auto& [symbol, lent] : m_lent)
        lastUse = std::max(lastUse, lent.used);
    std::this_thread::sleep_until(lastUse + kLendLinger);
    for (const auto& [symbol, lent] : m_lent) {
        // A code that a layout change took back is the layout's now.
        if (Carries(lent.keycode, symbol)) {
            KeySym none = NoSymbol;
            XChangeKeyboardMapping(m_display, static_cast<int>(lent.keycode), 1, &none, 1);
        }
    }
    XSync(m_display, False);
    for (const auto& [symbol, lent] : m_lent)
        m_held.Released({HeldInputs::Kind::LentKey, static_cast<int>(lent.keycode)});
    m_lent.clear();
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

bool X11Keyboard::Press(quint32 keysym)
{
    const std::optional<Stroke> stroke = Find(keysym);
    if (stroke)
        PressStroke(*stroke);
    return stroke.has_value();
}

void X11Keyboard::Release(quint32 keysym)
{
    if (const std::optional<Stroke> stroke = Find(keysym); stroke && IsHeld(stroke->keycode))
        ReleaseStroke(*stroke);
}

bool X11Keyboard::Tap(quint32 keysym)
{
    const std::optional<Stroke> stroke = Find(keysym);
    if (stroke) {
        PressStroke(*stroke);
        ReleaseStroke(*stroke);
    }
    return stroke.has_value();
}
