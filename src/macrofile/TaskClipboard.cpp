#include "macrofile/TaskClipboard.h"

#include "core/TextTable.h"
#include "macrofile/MacroFile.h"
#include "tasks/TaskCheck.h"

namespace TaskClipboard {
namespace {
constexpr char kQuote = '"';

Parsed Refused(qsizetype line, const QString& why)
{
    return Parsed{{},
                  TextTable::Text(TextId::NothingPasted) + QLatin1Char('\n') +
                      TextTable::Text(TextId::FaultAtLine).arg(QString::number(line), why)};
}
} // namespace

QByteArray Text(const TaskRows& rows)
{
    QByteArray out;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        out += kQuote;
        for (TaskRows::Field field : {TaskRows::kX, TaskRows::kY, TaskRows::kTask, TaskRows::kImage}) {
            out += rows.FieldOf(row, field);
            out += '*';
        }
        out += kQuote;
        out += "\r\n";
    }
    return out;
}

Parsed Rows(QByteArrayView text)
{
    Parsed parsed;
    qsizetype number = 0;
    for (QByteArrayView rest = text; !rest.isEmpty();) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        ++number;
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const std::size_t before = parsed.rows.size();
        if (line.size() < 2 || !line.startsWith(kQuote) || !line.endsWith(kQuote) ||
            !MacroFile::AddTaskFromLine(line.sliced(1, line.size() - 2), parsed.rows) || parsed.rows.size() == before)
            return Refused(number, TextTable::Text(TextId::FaultTaskLine));
        if (const std::optional<QString> problem = TaskCheck::Problem(parsed.rows[before]))
            return Refused(number, *problem);
    }
    if (parsed.rows.empty())
        return Refused(1, TextTable::Text(TextId::FaultTaskLine));
    return parsed;
}

} // namespace TaskClipboard
