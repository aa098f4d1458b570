#include "tasks/TaskKinds.h"

#include "core/TextTable.h"

namespace TaskKinds {

const Kind* Find(const QString& taskText)
{
    for (const Kind& kind : kAll) {
        if (taskText == TextTable::Text(kind.textId))
            return &kind;
    }
    return nullptr;
}

QString Text(Action action, std::optional<MouseButton> button)
{
    for (const Kind& kind : kAll) {
        if (kind.action == action && kind.button == button)
            return TextTable::Text(kind.textId);
    }
    return QString();
}

} // namespace TaskKinds
