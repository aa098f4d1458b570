// libFuzzer target: any bytes go through the macro file reader, which must neither crash nor
// hang nor depend on how the bytes are cut into pieces; a file it accepts, written back, must read
// back the same and be as long as the writer said beforehand.
#include "macrofile/MacroFile.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {
bool Same(const MacroParse& a, const MacroParse& b)
{
    if (a.fault != b.fault || a.content.settings != b.content.settings ||
        a.content.tasks.size() != b.content.tasks.size())
        return false;
    for (std::size_t row = 0; row < a.content.tasks.size(); ++row) {
        for (TaskRows::Field field : {TaskRows::kX, TaskRows::kY, TaskRows::kTask, TaskRows::kImage}) {
            if (a.content.tasks.FieldOf(row, field) != b.content.tasks.FieldOf(row, field))
                return false;
        }
    }
    return true;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    MacroParse read = MacroFile::Parse(bytes);
    // Read in small pieces, so that lines straddle them, the file must read the same.
    const qsizetype chunk = size == 0 ? 1 : 1 + data[size - 1] % 61;
    Check(Same(read, MacroFile::Parse(bytes, chunk)));
    if (read.fault.kind != MacroFault::Kind::None)
        return 0;

    // Written with its images (as the images question's "keep" does), it reads back the same.
    TaskList tasks;
    tasks.AddTasks(TaskRows(read.content.tasks));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Check(MacroFile::Write(buffer, tasks, read.content.settings, true));
    Check(buffer.size() == MacroFile::FileSize(tasks, read.content.settings, true));
    Check(Same(MacroFile::Parse(buffer.data()), read));
    return 0;
}
