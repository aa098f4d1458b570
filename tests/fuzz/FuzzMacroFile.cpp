// libFuzzer target: any bytes go through the macro file reader, which must neither crash nor
// hang nor depend on how the bytes are cut into pieces; a file it accepts, written back (images
// kept), must read back the same and be as long as the writer said beforehand. The same bytes pasted
// as rows: what Paste takes, copied again, must paste back the same.
#include "macrofile/MacroFile.h"
#include "macrofile/TaskClipboard.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {
// What a read gave, as bytes: the file written back, or where it stopped being valid.
QByteArray Outcome(const MacroParse& read)
{
    if (read.fault.kind != MacroFault::Kind::None)
        return QByteArray::number(int(read.fault.kind)) + ' ' + QByteArray::number(read.fault.line) +
               (read.fault.missing ? " missing" : "");
    TaskList tasks;
    tasks.AddTasks(TaskRows(read.content.tasks));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!MacroFile::Write(buffer, tasks, read.content.settings, true) ||
        buffer.size() != MacroFile::FileSize(tasks, read.content.settings, true))
        std::abort();
    return buffer.data();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const MacroParse read = MacroFile::Parse(bytes);
    const QByteArray outcome = Outcome(read);
    // Read in small pieces, so that lines straddle them, the file must read the same.
    const qsizetype chunk = size == 0 ? 1 : 1 + data[size - 1] % 61;
    if (Outcome(MacroFile::Parse(bytes, chunk)) != outcome)
        std::abort();
    if (read.fault.kind == MacroFault::Kind::None && Outcome(MacroFile::Parse(outcome)) != outcome)
        std::abort();
    const TaskClipboard::Parsed pasted = TaskClipboard::Rows(bytes);
    if (pasted.problem.isEmpty() && TaskClipboard::Rows(TaskClipboard::Text(pasted.rows)).rows != pasted.rows)
        std::abort();
    return 0;
}
