#include "tasks/TypedText.h"

#include "core/KeySymbols.h"

#include <QList>

namespace TypedText {
namespace {

constexpr char32_t kOpen = U'{';
constexpr char32_t kClose = U'}';

// Line ends and tabs pasted into the editor stand for their keys.
quint32 KeyOfCharacter(char32_t character)
{
    if (character == U'\n' || character == U'\r')
        return KeySymbols::FromName("Return");
    if (character == U'\t')
        return KeySymbols::FromName("Tab");
    return KeySymbols::Character(KeySymbols::FromCharacter(character)) == character
               ? KeySymbols::FromCharacter(character)
               : 0;
}

} // namespace

QString FromKeys(const std::vector<quint32>& keys)
{
    QString text;
    for (const quint32 keysym : keys) {
        const char32_t character = KeySymbols::Character(keysym);
        if (character == kOpen)
            text += QStringLiteral("{{");
        else if (character && KeySymbols::FromCharacter(character) == keysym)
            text += QString::fromUcs4(&character, 1);
        else
            text += QLatin1Char('{') + QString::fromLatin1(KeySymbols::Name(keysym)) + QLatin1Char('}');
    }
    return text;
}

std::optional<std::vector<quint32>> ToKeys(const QString& text)
{
    const QList<uint> characters = text.toUcs4();
    std::vector<quint32> keys;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const char32_t character = characters[i];
        if (character != kOpen) {
            const quint32 keysym = KeyOfCharacter(character);
            if (keysym == 0)
                return std::nullopt;
            keys.push_back(keysym);
            continue;
        }
        if (i + 1 < characters.size() && characters[i + 1] == kOpen) {
            keys.push_back(KeySymbols::FromCharacter(kOpen));
            ++i;
            continue;
        }
        const qsizetype close = characters.indexOf(kClose, i + 1);
        if (close < 0)
            return std::nullopt;
        QByteArray name;
        for (qsizetype k = i + 1; k < close; ++k)
            name += characters[k] < 0x80 ? char(characters[k]) : '?';
        const quint32 keysym = KeySymbols::FromName(name);
        if (keysym == 0 || name.contains('?'))
            return std::nullopt;
        keys.push_back(keysym);
        i = close;
    }
    if (keys.empty())
        return std::nullopt;
    return keys;
}

} // namespace TypedText
