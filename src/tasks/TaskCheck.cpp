#include "tasks/TaskCheck.h"

#include "core/OptionValues.h"
#include "core/TextTable.h"
#include "tasks/DescriptiveImage.h"
#include "tasks/InputTask.h"
#include "tasks/Playability.h"
#include "tasks/TaskKinds.h"

#include <climits>

namespace TaskCheck {
namespace {
// A field that a task line can carry: no separator, no quote, no line break, Latin-1 only.
bool IsLineSafe(const QString& text)
{
    for (const QChar c : text) {
        if (c == u'*' || c == u'"' || c.unicode() < 0x20 || c.unicode() == 0x7f || c.unicode() > 0xff)
            return false;
    }
    return true;
}

bool IsImageText(const QByteArray& image)
{
    if (image.isEmpty())
        return true;
    if (image.size() != qsizetype(DescriptiveImage::kFieldCount) * DescriptiveImage::kFieldWidth)
        return false;
    for (const char c : image) {
        if ((c < '0' || c > '9') && c != ' ' && c != '-')
            return false;
    }
    return true;
}

std::optional<int> Coordinate(const QString& cell)
{
    return ParseInterval(cell, 0, INT_MAX);
}
} // namespace

Shape ShapeOf(const QString& taskText)
{
    // Keys carry their text in the task; the wheel turns at a point.
    if (const std::optional<InputTask> input = InputTask::Parse(taskText))
        return input->kind == InputTask::Kind::Wheel ? Shape::Point : Shape::Text;
    const TaskKinds::Kind* kind = TaskKinds::Find(taskText);
    if (!kind)
        return Shape::Text;
    if (kind->action == TaskKinds::Action::Pause)
        return Shape::Duration;
    const TaskKinds::Action pointActions[] = {TaskKinds::Action::Click, TaskKinds::Action::DoubleClick,
                                              TaskKinds::Action::Down, TaskKinds::Action::Up};
    for (const TaskKinds::Action action : pointActions) {
        if (kind->action == action)
            return Shape::Point;
    }
    return Shape::Text;
}

std::optional<int> PauseSeconds(const QString& cell)
{
    return ParseInterval(cell, 0, INT_MAX);
}

QString DurationText(int seconds)
{
    // As the pause editor shows it: hours, minutes and seconds.
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::optional<QString> Problem(const TaskRow& row, QSize screen)
{
    if (row.task.size() > InputTask::kMaxTaskText)
        return TextTable::Text(TextId::TaskTooLong).arg(InputTask::kMaxTaskText);
    if (!TaskKinds::Find(row.task) && !InputTask::Parse(row.task))
        return TextTable::Text(TextId::NoSuchKind).arg(row.task);
    if (!IsLineSafe(row.x) || !IsLineSafe(row.y))
        return TextTable::Text(TextId::UnsafeCharacters);
    if (!IsImageText(row.image))
        return TextTable::Text(TextId::DamagedImage);
    switch (ShapeOf(row.task)) {
    case Shape::Point: {
        const std::optional<int> x = Coordinate(row.x);
        const std::optional<int> y = Coordinate(row.y);
        if (screen.isEmpty())
            return x && y ? std::nullopt : std::optional(TextTable::Text(TextId::PointNotWhole));
        if (!x || !y || *x >= screen.width() || *y >= screen.height())
            return TextTable::Text(TextId::PointNotOnScreen).arg(screen.width() - 1).arg(screen.height() - 1);
        return std::nullopt;
    }
    case Shape::Duration: {
        const std::optional<int> seconds = ParseInterval(row.x, 0, kMaxPauseSeconds);
        if (!seconds || !row.y.isEmpty())
            return TextTable::Text(TextId::PauseRange).arg(kMaxPauseSeconds);
        return std::nullopt;
    }
    case Shape::Text: {
        // Kinds that carry text: what the player would skip is refused as it would say it.
        const QString unplayable = screen.isEmpty() ? QString() : Playability::Problem(row, screen);
        return unplayable.isEmpty() ? std::nullopt : std::optional(unplayable);
    }
    }
    return std::nullopt;
}

std::optional<QString> KindChangeProblem(const TaskRow& row, const QString& taskText)
{
    const std::optional<InputTask> keys = InputTask::Parse(taskText);
    if (!keys || ShapeOf(taskText) != Shape::Text || ShapeOf(row.task) == Shape::Text)
        return std::nullopt;
    return TextTable::Text(TextId::KeysOverPoint);
}

TaskRow WithKind(const TaskRow& row, const QString& taskText)
{
    const Shape from = ShapeOf(row.task);
    const Shape to = ShapeOf(taskText);
    if (from == to)
        return TaskRow{row.x, row.y, taskText, row.image};
    switch (to) {
    case Shape::Point:
        return TaskRow{QStringLiteral("0"), QStringLiteral("0"), taskText, {}};
    case Shape::Duration:
        return TaskRow{QStringLiteral("1"), {}, taskText, {}};
    case Shape::Text:
        break;
    }
    return TaskRow{{}, {}, taskText, {}};
}

} // namespace TaskCheck
