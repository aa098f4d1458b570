#include "tasks/Playability.h"

#include "core/TextTable.h"
#include "tasks/InputTask.h"
#include "tasks/TaskCheck.h"
#include "tasks/TaskKinds.h"

#include <QRect>
#include <QStringList>

namespace Playability {
namespace {
// Rows listed by number in a message before the list is cut short.
constexpr std::size_t kListedRows = 20;

QString ToText(QStringView cell)
{
    return cell.toString();
}

QString ToText(QByteArrayView cell)
{
    return QString::fromLatin1(cell);
}

// A task text as a message may quote it: control bytes shown as \xNN, a long one cut short.
QString Quotable(const QString& text)
{
    constexpr qsizetype kLongest = 80;
    QString quoted;
    for (const QChar c : QStringView(text).first(std::min(text.size(), kLongest))) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            quoted += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return text.size() > kLongest ? quoted + QStringLiteral("...") : quoted;
}

// A length within [0, max]; a row with any other fails to play.
template <typename Cell> bool IsLength(const Cell& cell, int max)
{
    const std::optional<int> value = WholeNumber(cell);
    return value && *value >= 0 && *value <= max;
}

bool OnScreen(int x, int y, QSize screen)
{
    return !screen.isValid() || QRect(QPoint(0, 0), screen).contains(x, y);
}

// The same rule for a row as the grid holds it and as the file's bytes hold it.
template <typename Cell>
QString ProblemOf(const Cell& x, const Cell& y, const TaskKinds::Kind* kind, const QString& taskText,
                  const std::optional<InputTask>& input, QSize screen)
{
    const auto text = [](TextId id) {
        return TextTable::Text(id);
    };
    // The keys have no point; the wheel turns at one.
    if (!kind && !input)
        return text(TextId::UnknownTaskKind).arg(Quotable(taskText));
    if (kind && kind->action == TaskKinds::Action::Wait && !IsLength(x, kMaxWaitMs))
        return text(TextId::BadWaitLength).arg(Quotable(ToText(x))).arg(kMaxWaitMs);
    if (kind && kind->action == TaskKinds::Action::Pause && !IsLength(x, TaskCheck::kMaxPauseSeconds))
        return text(TextId::BadPauseLength).arg(Quotable(ToText(x))).arg(TaskCheck::kMaxPauseSeconds);
    if (kind ? !TaskKinds::HasPoint(kind->action) : input->kind != InputTask::Kind::Wheel)
        return {};
    const std::optional<int> px = WholeNumber(x);
    const std::optional<int> py = WholeNumber(y);
    if (!px || !py)
        return text(TextId::PointNotNumbers).arg(ToText(x), ToText(y));
    if (!OnScreen(*px, *py, screen))
        return text(TextId::PointOffScreen).arg(*px).arg(*py).arg(screen.width()).arg(screen.height());
    return {};
}
} // namespace

std::optional<int> WholeNumber(QStringView cell)
{
    bool ok = false;
    const int value = cell.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<int> WholeNumber(QByteArrayView cell)
{
    bool ok = false;
    const int value = cell.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString Problem(const TaskRow& row, QSize screen)
{
    const TaskKinds::Kind* kind = TaskKinds::Find(row.task);
    return Problem(row, kind, kind ? std::nullopt : InputTask::Parse(row.task), screen);
}

QString Problem(const TaskRow& row, const TaskKinds::Kind* kind, const std::optional<InputTask>& input, QSize screen)
{
    return ProblemOf(QStringView(row.x), QStringView(row.y), kind, row.task, input, screen);
}

std::optional<QPoint> Point(const TaskRow& row, QSize screen)
{
    if (!Problem(row, screen).isEmpty())
        return std::nullopt;
    const std::optional<int> x = WholeNumber(QStringView(row.x));
    const std::optional<int> y = WholeNumber(QStringView(row.y));
    if (!x || !y)
        return std::nullopt;
    return QPoint(*x, *y);
}

std::vector<int> UnplayableRows(const TaskRows& rows, QSize screen)
{
    // The kinds' texts once, as bytes: a file may hold millions of rows.
    std::vector<std::pair<QByteArray, const TaskKinds::Kind*>> kinds;
    for (const TaskKinds::Kind& kind : TaskKinds::kAll)
        kinds.emplace_back(TextTable::Text(kind.textId).toLatin1(), &kind);
    std::vector<int> unplayable;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const QByteArrayView task = rows.FieldOf(row, TaskRows::kTask);
        const QByteArrayView x = rows.FieldOf(row, TaskRows::kX);
        const QByteArrayView y = rows.FieldOf(row, TaskRows::kY);
        if (rows.size() == 1 && task.isEmpty() && x.isEmpty() && y.isEmpty())
            break;
        const TaskKinds::Kind* kind = nullptr;
        for (const auto& [text, candidate] : kinds) {
            if (task == text) {
                kind = candidate;
                break;
            }
        }
        // Only a text of no mouse kind is read as a task of the keys or the wheel.
        const QString taskText = kind ? QString() : QString::fromLatin1(task);
        if (!ProblemOf(x, y, kind, taskText, kind ? std::nullopt : InputTask::Parse(taskText), screen).isEmpty())
            unplayable.push_back(int(row) + 1);
    }
    return unplayable;
}

QString RowList(const std::vector<int>& rows)
{
    QStringList numbers;
    for (std::size_t i = 0; i < rows.size() && i < kListedRows; ++i)
        numbers << QString::number(rows[i]);
    if (rows.size() > kListedRows)
        numbers << QStringLiteral("...");
    return numbers.join(QStringLiteral(", "));
}

std::vector<int> RowsWithoutImages(const TaskRows& rows)
{
    std::vector<int> found;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TaskKinds::Kind* kind = TaskKinds::Find(QString::fromLatin1(rows.FieldOf(i, TaskRows::kTask)));
        if (kind && TaskKinds::HasPoint(kind->action) && kind->action != TaskKinds::Action::Up &&
            rows.FieldOf(i, TaskRows::kImage).isEmpty())
            found.push_back(int(i) + 1);
    }
    return found;
}

} // namespace Playability
