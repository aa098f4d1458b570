#include "tasks/InputTask.h"

#include "core/KeySymbols.h"
#include "core/TextTable.h"

#include <QStringList>

namespace {

// The kind words, in the order a task text is tried against them: the longer ones first.
struct KindWord
{
    InputTask::Kind kind;
    TextId textId;
};
constexpr KindWord kKindWords[] = {
    {InputTask::Kind::KeyDown, TextId::KeyPushedTask},
    {InputTask::Kind::KeyUp, TextId::KeyReleasedTask},
    {InputTask::Kind::Key, TextId::Key},
    {InputTask::Kind::Type, TextId::TypeTask},
    {InputTask::Kind::Wheel, TextId::WheelTask},
};

// The direction words are part of the format, like key names, and never translated.
constexpr const char* kDirections[] = {"up", "down", "left", "right"};

QString KindText(InputTask::Kind kind)
{
    for (const KindWord& word : kKindWords) {
        if (word.kind == kind)
            return TextTable::Text(word.textId);
    }
    return {};
}

bool ParseKeys(const QStringList& names, std::vector<quint32>& keys)
{
    for (const QString& name : names) {
        const quint32 keysym = KeySymbols::FromName(name.toLatin1());
        if (keysym == 0)
            return false;
        keys.push_back(keysym);
    }
    return !keys.empty();
}

bool ParseWheel(const QString& rest, InputTask& task)
{
    const QStringList words = rest.split(QLatin1Char(' '));
    if (words.size() != 2)
        return false;
    bool ok = false;
    task.notches = words[1].toInt(&ok);
    if (!ok || task.notches < 1 || task.notches > InputTask::kMaxNotches)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (words[0] == QLatin1String(kDirections[i])) {
            task.direction = WheelDirection(i);
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<InputTask> InputTask::Parse(const QString& taskText)
{
    if (taskText.size() > kMaxTaskText)
        return std::nullopt;
    for (const KindWord& word : kKindWords) {
        const QString prefix = TextTable::Text(word.textId) + QLatin1Char(' ');
        if (!taskText.startsWith(prefix))
            continue;
        const QString rest = taskText.mid(prefix.size());
        InputTask task;
        task.kind = word.kind;
        bool ok = false;
        switch (word.kind) {
        case Kind::Type:
            ok = ParseKeys(rest.split(QLatin1Char(' ')), task.keys);
            break;
        case Kind::Key:
            ok = ParseKeys(rest.split(QLatin1Char('+')), task.keys);
            break;
        case Kind::KeyDown:
        case Kind::KeyUp:
            ok = ParseKeys({rest}, task.keys);
            break;
        case Kind::Wheel:
            ok = ParseWheel(rest, task);
            break;
        }
        return ok ? std::optional<InputTask>(task) : std::nullopt;
    }
    return std::nullopt;
}

QString InputTask::Text() const
{
    QString text = KindText(kind) + QLatin1Char(' ');
    if (kind == Kind::Wheel)
        return text + QLatin1String(kDirections[int(direction)]) + QLatin1Char(' ') + QString::number(notches);
    const QLatin1Char separator(kind == Kind::Type ? ' ' : '+');
    for (std::size_t i = 0; i < keys.size(); ++i)
        text += (i > 0 ? QString(separator) : QString()) + QString::fromLatin1(KeySymbols::Name(keys[i]));
    return text;
}

QString InputTask::Display() const
{
    if (kind == Kind::Wheel)
        return Text();
    QString text = KindText(kind) + QLatin1Char(' ');
    if (kind == Kind::Type) {
        QString typed;
        for (const quint32 keysym : keys) {
            const char32_t character = KeySymbols::Character(keysym);
            typed += character ? QString::fromUcs4(&character, 1) : QString::fromLatin1(KeySymbols::Name(keysym));
        }
        return text + QLatin1Char('"') + typed + QLatin1Char('"');
    }
    for (std::size_t i = 0; i < keys.size(); ++i)
        text += (i > 0 ? QStringLiteral("+") : QString()) + KeySymbols::Label(keys[i]);
    return text;
}
