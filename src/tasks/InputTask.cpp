#include "tasks/InputTask.h"

#include "core/KeySymbols.h"
#include "core/TextTable.h"
#include "tasks/TypedText.h"

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
    {InputTask::Kind::Path, TextId::PathTask},
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

std::optional<int> NumberWithin(QStringView text, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 && value <= max && !text.startsWith(QLatin1Char('+')) ? std::optional<int>(value)
                                                                                  : std::nullopt;
}

bool ParsePath(const QString& rest, std::vector<InputTask::PathPoint>& path)
{
    for (const QStringView point : QStringView(rest).split(QLatin1Char(' '))) {
        const QList<QStringView> parts = point.split(QLatin1Char(','));
        if (parts.size() != 3)
            return false;
        const std::optional<int> x = NumberWithin(parts[0], InputTask::kMaxCoordinate);
        const std::optional<int> y = NumberWithin(parts[1], InputTask::kMaxCoordinate);
        const std::optional<int> ms = NumberWithin(parts[2], InputTask::kMaxPathGapMs);
        if (!x || !y || !ms)
            return false;
        path.push_back({*x, *y, *ms});
    }
    return !path.empty();
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
        case Kind::Path:
            ok = ParsePath(rest, task.path);
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
    if (kind == Kind::Path) {
        QStringList points;
        for (const PathPoint& point : path)
            points << QStringLiteral("%1,%2,%3").arg(point.x).arg(point.y).arg(point.ms);
        return text + points.join(QLatin1Char(' '));
    }
    const QLatin1Char separator(kind == Kind::Type ? ' ' : '+');
    for (std::size_t i = 0; i < keys.size(); ++i)
        text += (i > 0 ? QString(separator) : QString()) + QString::fromLatin1(KeySymbols::Name(keys[i]));
    return text;
}

QString InputTask::Display() const
{
    if (kind == Kind::Wheel)
        return Text();
    if (kind == Kind::Path) {
        qint64 ms = 0;
        for (const PathPoint& point : path)
            ms += point.ms;
        return TextTable::Text(TextId::PathDisplay).arg(KindText(kind)).arg(path.size()).arg(ms);
    }
    QString text = KindText(kind) + QLatin1Char(' ');
    // As the text editor shows it: keys that type nothing by name in braces.
    if (kind == Kind::Type)
        return text + QLatin1Char('"') + TypedText::FromKeys(keys) + QLatin1Char('"');
    for (std::size_t i = 0; i < keys.size(); ++i)
        text += (i > 0 ? QStringLiteral("+") : QString()) + KeySymbols::Label(keys[i]);
    return text;
}
