#include "desktop/gnome/KeyStrokes.h"

#include <xkbcommon/xkbcommon.h>

#include <array>

namespace {

// The keymap's key codes are evdev codes plus 8.
constexpr int kEvdevOffset = 8;
constexpr size_t kMaxMasks = 8;

// The keys that set the modifiers a level may need, the left hand first.
constexpr std::array<xkb_keysym_t, 6> kModifierSymbols = {XKB_KEY_Shift_L,          XKB_KEY_Shift_R,
                                                          XKB_KEY_ISO_Level3_Shift, XKB_KEY_Mode_switch,
                                                          XKB_KEY_ISO_Level5_Shift, XKB_KEY_Control_L};

} // namespace

KeyStrokes::KeyStrokes(xkb_keymap* keymap, quint32 group)
    : m_keymap(keymap != nullptr ? xkb_keymap_ref(keymap) : nullptr), m_group(group)
{
    if (m_keymap != nullptr)
        FindModifierKeys();
}

KeyStrokes::~KeyStrokes()
{
    xkb_keymap_unref(m_keymap);
}

// What each modifier key sets, seen by pressing it alone on a fresh state of the layout.
void KeyStrokes::FindModifierKeys()
{
    for (const xkb_keysym_t symbol : kModifierSymbols) {
        const Stroke stroke = For(symbol);
        if (stroke.key == 0 || !stroke.modifiers.empty())
            continue;
        xkb_state* state = xkb_state_new(m_keymap);
        xkb_state_update_mask(state, 0, 0, 0, 0, 0, m_group);
        xkb_state_update_key(state, static_cast<xkb_keycode_t>(stroke.key + kEvdevOffset), XKB_KEY_DOWN);
        const quint32 mask = xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED);
        xkb_state_unref(state);
        if (mask != 0)
            m_modifierKeys.emplace(mask, stroke.key);
    }
}

bool KeyStrokes::ModifierKeysFor(quint32 mask, std::vector<int>* keys) const
{
    quint32 left = mask;
    for (const auto& [sets, key] : m_modifierKeys)
        if ((sets & left) == sets) {
            keys->push_back(key);
            left &= ~sets;
        }
    return left == 0;
}

KeyStrokes::Stroke KeyStrokes::For(quint32 keysym) const
{
    if (m_keymap == nullptr)
        return {};
    const xkb_keycode_t last = xkb_keymap_max_keycode(m_keymap);
    Stroke best;
    size_t fewest = SIZE_MAX;
    for (xkb_keycode_t code = xkb_keymap_min_keycode(m_keymap); code <= last; ++code) {
        const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(m_keymap, code, m_group);
        for (xkb_level_index_t level = 0; level < levels; ++level) {
            const xkb_keysym_t* symbols = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(m_keymap, code, m_group, level, &symbols);
            if (count != 1 || symbols[0] != keysym)
                continue;
            std::array<xkb_mod_mask_t, kMaxMasks> masks{};
            const size_t maskCount =
                xkb_keymap_key_get_mods_for_level(m_keymap, code, m_group, level, masks.data(), masks.size());
            for (size_t i = 0; i < maskCount; ++i) {
                std::vector<int> modifiers;
                if ((masks[i] == 0 || ModifierKeysFor(masks[i], &modifiers)) && modifiers.size() < fewest) {
                    fewest = modifiers.size();
                    best = {static_cast<int>(code) - kEvdevOffset, std::move(modifiers)};
                }
            }
            if (fewest == 0)
                return best;
        }
    }
    return best;
}
