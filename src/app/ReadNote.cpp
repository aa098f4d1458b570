#include "app/ReadNote.h"

#include "core/TextTable.h"
#include "tasks/Playability.h"

#include <QStringList>

namespace ReadNote {
namespace {
QString Named(TextId name, const QString& value)
{
    return QLatin1Char('"') + TextTable::Text(name) + QStringLiteral("\" ") + value;
}

QString Switch(bool on)
{
    return TextTable::Text(on ? TextId::SwitchOn : TextId::SwitchOff);
}
} // namespace

QString Text(const OptionValues& before, const OptionValues& after, const TaskRows& rows, QSize screen)
{
    QStringList changed;
    if (after.playIntervalMs != before.playIntervalMs)
        changed << Named(TextId::PlayIntervalLabel, QString::number(after.playIntervalMs));
    if (after.recIntervalMs != before.recIntervalMs)
        changed << Named(TextId::RecordIntervalLabel, QString::number(after.recIntervalMs));
    if (after.closeAfterPlaying != before.closeAfterPlaying)
        changed << Named(TextId::CloseAfterPlayingSwitch, Switch(after.closeAfterPlaying));
    if (after.repeatForever != before.repeatForever)
        changed << Named(TextId::RepeatForeverSwitch, Switch(after.repeatForever));
    if (after.saveImages != before.saveImages)
        changed << Named(TextId::SaveImagesSwitch, Switch(after.saveImages));
    QStringList note;
    if (!changed.isEmpty())
        note << TextTable::Text(TextId::OptionsChangedNote).arg(changed.join(QStringLiteral(", ")));
    if (const std::vector<int> unplayable = Playability::UnplayableRows(rows, screen); !unplayable.empty())
        note
            << TextTable::Text(TextId::UnplayableRowsNote).arg(unplayable.size()).arg(Playability::RowList(unplayable));
    return note.join(QLatin1Char(' '));
}

} // namespace ReadNote
