#include "tasks/TaskKinds.h"

#include "core/TextTable.h"

namespace TaskKinds {

int ClickButtonIndex(const QString& taskText)
{
    for (int index = 0; index < 3; ++index) {
        if (taskText == TextTable::Text(kClickLeft + index))
            return index;
    }
    return -1;
}

} // namespace TaskKinds
