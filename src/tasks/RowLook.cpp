#include "tasks/RowLook.h"

#include "core/TextTable.h"
#include "tasks/InputTask.h"
#include "tasks/Playability.h"
#include "tasks/TaskCheck.h"
#include "tasks/TaskKinds.h"

RowLook RowLook::Of(const TaskRow& row, QSize screen)
{
    const TaskKinds::Kind* kind = TaskKinds::Find(row.task);
    const std::optional<InputTask> input = kind ? std::nullopt : InputTask::Parse(row.task);
    const bool pause = kind && kind->action == TaskKinds::Action::Pause;
    const bool wait = kind && kind->action == TaskKinds::Action::Wait;
    RowLook look;
    look.x = row.x;
    // The list keeps a pause's seconds and a wait's milliseconds; the grid shows them as a person reads them.
    if (pause) {
        if (const std::optional<int> seconds = TaskCheck::PauseSeconds(row.x))
            look.x = TaskCheck::DurationText(*seconds);
    } else if (wait && Playability::WholeNumber(QStringView(row.x))) {
        look.x = TextTable::Text(TextId::WaitLength).arg(row.x.trimmed());
    }
    // A task of the keys shows what it types or presses, not the key names it is stored as.
    look.task = Shortened(input ? input->Display() : row.task, kCellCharacters);
    look.problem = Playability::Problem(row, kind, input, screen);
    look.yEditable = !pause;
    return look;
}

QString RowLook::Shortened(const QString& text, qsizetype characters)
{
    if (text.size() <= characters)
        return text;
    return text.first(characters) + QStringLiteral("...");
}
