#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// Key symbols (X keysyms): a key by what it means rather than where it sits, so that a recording
// replays on another keyboard layout. Their names are plain ASCII without blanks, "*" or double
// quotes ("a", "exclam", "eacute", "EuroSign", "Return", "U0151"), which is how task texts hold them.
namespace KeySymbols {

// The keys the program itself watches: its stop and step keys. A left-hand modifier stands for
// either hand's key.
inline constexpr quint32 kShift = 0xffe1;   // Shift_L
inline constexpr quint32 kControl = 0xffe3; // Control_L
inline constexpr quint32 kF11 = 0xffc8;
inline constexpr quint32 kF12 = 0xffc9;

// A keysym's name; "U" and the hexadecimal code point for a character that has no name of its own.
QByteArray Name(quint32 keysym);
// The keysym of a name, or 0 for a name that is none.
quint32 FromName(QByteArrayView name);
// The character a keysym types, or 0 for a key that types none (Return, F5, Shift_L). Control
// characters count as none: Return and Tab are keys, not text.
char32_t Character(quint32 keysym);
// The keysym that types a character.
quint32 FromCharacter(char32_t character);

enum class Role
{
    Plain,    // types a character or does something of its own (Return, F5, Left)
    Level,    // selects what the other keys type: Shift, AltGr
    Modifier, // Ctrl, Alt, Super, Hyper, Meta: makes a key a command
    Lock,     // Caps Lock, Num Lock, Scroll Lock: a state of the keyboard, never recorded
};
Role RoleOf(quint32 keysym);

// How a key shows in the grid: the character it types, or a short name ("Ctrl", "AltGr", "Return").
QString Label(quint32 keysym);

} // namespace KeySymbols
