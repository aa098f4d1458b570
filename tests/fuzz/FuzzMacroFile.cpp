// libFuzzer target: any bytes go through the macro file reader, which must neither crash nor
// hang nor depend on how the bytes are cut into pieces; a file it accepts, written back, must read
// back the same.
#include "macrofile/MacroFile.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
bool SameTask(const TaskRow& a, const TaskRow& b)
{
    return a.x == b.x && a.y == b.y && a.task == b.task && a.image == b.image;
}

bool Same(const MacroContent& a, const MacroContent& b)
{
    const OptionValues& s = a.settings;
    const OptionValues& t = b.settings;
    if (s.playIntervalMs != t.playIntervalMs || s.recIntervalMs != t.recIntervalMs || s.Termina != t.Termina ||
        s.Ripeti != t.Ripeti || s.SalvaImmagine != t.SalvaImmagine || a.tasks.size() != b.tasks.size())
        return false;
    for (std::size_t i = 0; i < a.tasks.size(); ++i) {
        if (!SameTask(a.tasks[i], b.tasks[i]))
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<MacroContent> read = MacroFile::Parse(bytes);
    // Read in small pieces, so that lines straddle them, the file must read the same.
    const qsizetype chunk = size == 0 ? 1 : 1 + data[size - 1] % 61;
    const std::optional<MacroContent> inPieces = MacroFile::Parse(bytes, chunk);
    if (read.has_value() != inPieces.has_value() || (read && !Same(*read, *inPieces)))
        std::abort();
    if (!read)
        return 0;

    TaskList tasks;
    tasks.AddTasks(read->tasks);
    MacroContent expected = *read;
    // Without images a row that held only an image is written as a blank row, which is no task.
    if (!expected.settings.SalvaImmagine) {
        for (TaskRow& task : expected.tasks)
            task.image.clear();
        std::erase_if(expected.tasks,
                      [](const TaskRow& task) { return task.x.isEmpty() && task.y.isEmpty() && task.task.isEmpty(); });
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!MacroFile::Write(buffer, tasks, read->settings))
        std::abort();
    const std::optional<MacroContent> again = MacroFile::Parse(buffer.data());
    if (!again || !Same(*again, expected))
        std::abort();
    return 0;
}
