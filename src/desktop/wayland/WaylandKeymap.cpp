#include "desktop/wayland/WaylandKeymap.h"

#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

// XKB key codes are the compositor's plus 8.
constexpr quint32 kXkbOffset = 8;

// The real modifier that a modifier symbol's key sets; empty for other symbols.
const char* ModifierOf(quint32 keysym)
{
    switch (keysym) {
    case XKB_KEY_Shift_L:
    case XKB_KEY_Shift_R:
        return "Shift";
    case XKB_KEY_Caps_Lock:
        return "Lock";
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R:
        return "Control";
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R:
    case XKB_KEY_Meta_L:
    case XKB_KEY_Meta_R:
        return "Mod1";
    case XKB_KEY_Num_Lock:
        return "Mod2";
    case XKB_KEY_Super_L:
    case XKB_KEY_Super_R:
    case XKB_KEY_Hyper_L:
    case XKB_KEY_Hyper_R:
        return "Mod4";
    case XKB_KEY_ISO_Level3_Shift:
    case XKB_KEY_Mode_switch:
        return "Mod5";
    default:
        return nullptr;
    }
}

quint32 ModifierBit(const char* name)
{
    static const char* const kNames[] = {"Shift", "Lock", "Control", "Mod1", "Mod2", "Mod3", "Mod4", "Mod5"};
    for (quint32 bit = 0; bit < 8; ++bit)
        if (std::string(kNames[bit]) == name)
            return 1U << bit;
    return 0;
}

std::string KeysymName(quint32 keysym)
{
    char name[64] = {};
    if (xkb_keysym_get_name(keysym, name, sizeof name) <= 0)
        return {};
    return name;
}

struct ContextDeleter
{
    void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct KeymapDeleter
{
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};

} // namespace

int WaylandKeymap::IndexOf(quint32 keysym) const
{
    const auto found = std::find(m_keysyms.begin(), m_keysyms.end(), keysym);
    return found == m_keysyms.end() || keysym == 0 ? -1 : static_cast<int>(found - m_keysyms.begin());
}

WaylandKeymap::Key WaylandKeymap::Add(quint32 keysym)
{
    if (keysym == 0 || KeysymName(keysym).empty())
        return {};
    const auto freeKey = std::find(m_keysyms.begin(), m_keysyms.end(), 0U);
    if (freeKey != m_keysyms.end()) {
        *freeKey = keysym;
        return {CodeAt(static_cast<int>(freeKey - m_keysyms.begin())), true};
    }
    if (static_cast<int>(m_keysyms.size()) >= kMaxKeys)
        return {};
    m_keysyms.push_back(keysym);
    return {CodeAt(static_cast<int>(m_keysyms.size()) - 1), true};
}

quint32 WaylandKeymap::ModifierMaskOf(quint32 code) const
{
    if (code == 0 || code > m_keysyms.size())
        return 0;
    const char* modifier = ModifierOf(m_keysyms[code - 1]);
    return modifier == nullptr ? 0 : ModifierBit(modifier);
}

QByteArray WaylandKeymap::Text() const
{
    // Written whole, with no include: the keymap must not depend on the XKB files of the machine.
    std::string keycodes = "xkb_keycodes \"clickwarden\" {\n minimum = 8;\n maximum = 255;\n";
    std::string symbols = "xkb_symbols \"clickwarden\" {\n";
    for (size_t i = 0; i < m_keysyms.size(); ++i) {
        const std::string key = "<K" + std::to_string(i + 1) + ">";
        keycodes += " " + key + " = " + std::to_string(CodeAt(static_cast<int>(i)) + kXkbOffset) + ";\n";
        if (m_keysyms[i] == 0)
            continue;
        symbols += " key " + key + " { [ " + KeysymName(m_keysyms[i]) + " ] };\n";
        if (const char* modifier = ModifierOf(m_keysyms[i]))
            symbols += " modifier_map " + std::string(modifier) + " { " + key + " };\n";
    }
    keycodes += "};\n";
    symbols += "};\n";
    const std::string text = "xkb_keymap {\n" + keycodes +
                             "xkb_types \"clickwarden\" {\n type \"ONE_LEVEL\" {\n  modifiers = none;\n"
                             "  level_name[Level1] = \"Any\";\n };\n};\n"
                             "xkb_compatibility \"clickwarden\" {\n"
                             " interpret Any + AnyOf(all) { action = SetMods(modifiers = modMapMods, clearLocks); };\n"
                             "};\n" +
                             symbols + "};\n";

    const std::unique_ptr<xkb_context, ContextDeleter> context(xkb_context_new(
        static_cast<xkb_context_flags>(XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES)));
    if (!context)
        return {};
    const std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(xkb_keymap_new_from_string(
        context.get(), text.c_str(), XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return {};
    char* compiled = xkb_keymap_get_as_string(keymap.get(), XKB_KEYMAP_FORMAT_TEXT_V1);
    QByteArray result(compiled);
    free(compiled); // NOLINT: libxkbcommon allocates it with malloc
    return result;
}
