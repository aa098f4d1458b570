#include "tasks/KeyCombination.h"

#include "core/KeySymbols.h"

#include <QChar>

#include <array>
#include <utility>

namespace KeyCombination {
namespace {

struct Modifier
{
    Qt::KeyboardModifier qt;
    const char* name;
};
constexpr std::array<Modifier, 4> kModifiers = {{{Qt::ControlModifier, "Control_L"},
                                                 {Qt::ShiftModifier, "Shift_L"},
                                                 {Qt::AltModifier, "Alt_L"},
                                                 {Qt::MetaModifier, "Super_L"}}};

// The keys that type no character, by their names; the first name of a key is the one written.
constexpr std::pair<Qt::Key, const char*> kNamedKeys[] = {
    {Qt::Key_Return, "Return"},
    {Qt::Key_Enter, "KP_Enter"},
    {Qt::Key_Tab, "Tab"},
    {Qt::Key_Backtab, "Tab"},
    {Qt::Key_Escape, "Escape"},
    {Qt::Key_Backspace, "BackSpace"},
    {Qt::Key_Insert, "Insert"},
    {Qt::Key_Delete, "Delete"},
    {Qt::Key_Home, "Home"},
    {Qt::Key_End, "End"},
    {Qt::Key_PageUp, "Prior"},
    {Qt::Key_PageDown, "Next"},
    {Qt::Key_Left, "Left"},
    {Qt::Key_Up, "Up"},
    {Qt::Key_Right, "Right"},
    {Qt::Key_Down, "Down"},
    {Qt::Key_Print, "Print"},
    {Qt::Key_Pause, "Pause"},
    {Qt::Key_Menu, "Menu"},
    {Qt::Key_Space, "space"},
    {Qt::Key_CapsLock, "Caps_Lock"},
    {Qt::Key_VolumeUp, "XF86AudioRaiseVolume"},
    {Qt::Key_VolumeDown, "XF86AudioLowerVolume"},
    {Qt::Key_VolumeMute, "XF86AudioMute"},
};

quint32 KeysymOf(Qt::Key key)
{
    for (const auto& [qtKey, name] : kNamedKeys)
        if (qtKey == key)
            return KeySymbols::FromName(name);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return KeySymbols::FromName("F" + QByteArray::number(key - Qt::Key_F1 + 1));
    // Qt names a key that types a character by its capital; the recording holds what it types alone.
    if (key > 0x20 && key < 0x110000 && !(key >= 0xd800 && key < 0xe000))
        return KeySymbols::FromCharacter(QChar::toLower(char32_t(key)));
    return 0;
}

std::optional<Qt::Key> QtKeyOf(quint32 keysym)
{
    for (const auto& [qtKey, name] : kNamedKeys)
        if (KeySymbols::FromName(name) == keysym)
            return qtKey;
    const QByteArray name = KeySymbols::Name(keysym);
    for (int f = 1; f <= 35; ++f)
        if (name == "F" + QByteArray::number(f))
            return Qt::Key(Qt::Key_F1 + f - 1);
    if (const char32_t character = KeySymbols::Character(keysym))
        return Qt::Key(QChar::toUpper(character));
    return std::nullopt;
}

} // namespace

std::optional<std::vector<quint32>> ToKeys(QKeyCombination combination)
{
    const quint32 key = KeysymOf(combination.key());
    if (key == 0 || KeySymbols::RoleOf(key) != KeySymbols::Role::Plain)
        return std::nullopt;
    std::vector<quint32> keys;
    for (const Modifier& modifier : kModifiers)
        if (combination.keyboardModifiers() & modifier.qt)
            keys.push_back(KeySymbols::FromName(modifier.name));
    keys.push_back(key);
    return keys;
}

std::optional<QKeyCombination> FromKeys(const std::vector<quint32>& keys)
{
    if (keys.empty())
        return std::nullopt;
    Qt::KeyboardModifiers modifiers;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        const QByteArray name = KeySymbols::Name(keys[i]);
        bool known = false;
        for (const Modifier& modifier : kModifiers) {
            // Either hand's key is the same modifier to Qt.
            if (name.left(name.size() - 1) == QByteArray(modifier.name).chopped(1)) {
                modifiers |= modifier.qt;
                known = true;
            }
        }
        if (!known)
            return std::nullopt;
    }
    const std::optional<Qt::Key> key = QtKeyOf(keys.back());
    if (!key)
        return std::nullopt;
    return QKeyCombination(modifiers, *key);
}

} // namespace KeyCombination
