#include "core/KeySymbols.h"

#include <xkbcommon/xkbcommon.h>

namespace KeySymbols {

QByteArray Name(quint32 keysym)
{
    char name[64] = {};
    if (xkb_keysym_get_name(keysym, name, sizeof name) <= 0)
        return {};
    return QByteArray(name);
}

quint32 FromName(QByteArrayView name)
{
    if (name.isEmpty() || name.size() >= 64)
        return 0;
    // A NUL would cut the name short ("a\0junk" read as "a"); no key name holds a control byte.
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return 0;
    }
    const QByteArray terminated = name.toByteArray();
    return xkb_keysym_from_name(terminated.constData(), XKB_KEYSYM_NO_FLAGS);
}

char32_t Character(quint32 keysym)
{
    const char32_t character = xkb_keysym_to_utf32(keysym);
    return character < 0x20 || (character >= 0x7f && character < 0xa0) ? 0 : character;
}

quint32 FromCharacter(char32_t character)
{
    return xkb_utf32_to_keysym(character);
}

Role RoleOf(quint32 keysym)
{
    switch (keysym) {
    case XKB_KEY_Shift_L:
    case XKB_KEY_Shift_R:
    case XKB_KEY_ISO_Level3_Shift:
    case XKB_KEY_ISO_Level5_Shift:
    case XKB_KEY_Mode_switch:
        return Role::Level;
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R:
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R:
    case XKB_KEY_Meta_L:
    case XKB_KEY_Meta_R:
    case XKB_KEY_Super_L:
    case XKB_KEY_Super_R:
    case XKB_KEY_Hyper_L:
    case XKB_KEY_Hyper_R:
        return Role::Modifier;
    case XKB_KEY_Caps_Lock:
    case XKB_KEY_Shift_Lock:
    case XKB_KEY_Num_Lock:
    case XKB_KEY_Scroll_Lock:
    case XKB_KEY_ISO_Level3_Lock:
    case XKB_KEY_ISO_Level5_Lock:
    case XKB_KEY_ISO_Next_Group:
    case XKB_KEY_ISO_Prev_Group:
        return Role::Lock;
    default:
        return Role::Plain;
    }
}

QString Label(quint32 keysym)
{
    switch (keysym) {
    case XKB_KEY_Shift_L:
    case XKB_KEY_Shift_R:
        return QStringLiteral("Shift");
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R:
        return QStringLiteral("Ctrl");
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R:
        return QStringLiteral("Alt");
    case XKB_KEY_Super_L:
    case XKB_KEY_Super_R:
        return QStringLiteral("Super");
    case XKB_KEY_ISO_Level3_Shift:
    case XKB_KEY_Mode_switch:
        return QStringLiteral("AltGr");
    case XKB_KEY_space:
        return QStringLiteral("Space");
    default:
        break;
    }
    if (const char32_t character = Character(keysym))
        return QString::fromUcs4(&character, 1).toUpper();
    return QString::fromLatin1(Name(keysym));
}

} // namespace KeySymbols
