#include "player/PlaybackMessages.h"

#include "core/KeySymbols.h"
#include "core/TextTable.h"
#include "player/ScreenCheck.h"
#include "tasks/Playability.h"

namespace PlaybackMessages {

QString Finished(const std::vector<int>& unplayableRows, qint64 skipped, qint64 foundElsewhere)
{
    QString message = unplayableRows.empty() ? TextTable::Text(TextId::AllTasksExecuted)
                                             : TextTable::Text(TextId::SkippedRowsMessage)
                                                   .arg(unplayableRows.size())
                                                   .arg(Playability::RowList(unplayableRows));
    if (skipped > 0)
        message += QLatin1Char(' ') + ScreenCheck::SkippedNote(skipped);
    if (foundElsewhere > 0)
        message += QLatin1Char(' ') + ScreenCheck::FoundNote(foundElsewhere);
    return message;
}

QString Stopped(qint64 executedTasks)
{
    return TextTable::Text(TextId::TasksExecuted) + QLatin1Char(' ') + QString::number(executedTasks) +
           QLatin1Char(' ') + TextTable::Text(TextId::SentenceEnd);
}

QString Untypable(quint32 keysym)
{
    const char32_t character = KeySymbols::Character(keysym);
    const QString name =
        character != 0 ? QString::fromUcs4(&character, 1) : QString::fromLatin1(KeySymbols::Name(keysym));
    return TextTable::Text(TextId::UntypableKey).arg(name);
}

} // namespace PlaybackMessages
