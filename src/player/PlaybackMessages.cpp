#include "player/PlaybackMessages.h"

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

} // namespace PlaybackMessages
