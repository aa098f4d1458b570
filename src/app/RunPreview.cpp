#include "app/RunPreview.h"

#include "core/TextTable.h"
#include "tasks/InputTask.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <algorithm>

namespace {
// The typed text and the row list are cut short here: enough to see what the file is about.
constexpr qsizetype kTypedShown = 200;
constexpr int kRowsShown = 5;

// A row as the grid shows it: the keys and the typed text read as such.
QString RowText(const QString& task)
{
    const std::optional<InputTask> input = InputTask::Parse(task);
    return input ? input->Display() : task.left(kTypedShown);
}
} // namespace

namespace RunPreview {

QString Text(const TaskList& tasks)
{
    int clicks = 0;
    QString typed;
    QStringList keys;
    QStringList first;
    for (int row = 1; row < tasks.Rows(); ++row) {
        const QString task = tasks.Cell(row, TaskList::kColumnTask);
        if (row <= kRowsShown)
            first << QStringLiteral("%1. %2").arg(row).arg(RowText(task));
        if (const TaskKinds::Kind* kind = TaskKinds::Find(task)) {
            clicks += TaskKinds::HasPoint(kind->action) && kind->action != TaskKinds::Action::Up ? 1 : 0;
            continue;
        }
        const std::optional<InputTask> input = InputTask::Parse(task);
        if (input && input->kind == InputTask::Kind::Type) {
            const QString display = input->Display();
            typed += display.mid(display.indexOf(QLatin1Char('"')) + 1).chopped(1);
        } else if (input && input->kind != InputTask::Kind::Wheel && keys.size() < kRowsShown) {
            keys << input->Display();
        }
    }
    if (typed.size() > kTypedShown)
        typed = typed.left(kTypedShown) + QStringLiteral("...");
    if (tasks.Rows() - 1 > kRowsShown)
        first << QStringLiteral("...");
    return TextTable::Text(TextId::RunPreviewText)
        .arg(clicks)
        .arg(typed.isEmpty() ? TextTable::Text(TextId::RunPreviewNothing) : QLatin1Char('"') + typed + QLatin1Char('"'))
        .arg(keys.isEmpty() ? TextTable::Text(TextId::RunPreviewNothing) : keys.join(QStringLiteral(", ")))
        .arg(first.join(QLatin1Char('\n')));
}

} // namespace RunPreview
