#include "macrofile/MacroFile.h"

#include "core/TextTable.h"

#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

namespace MacroFile {
namespace {

constexpr char kSeparator = '*';
constexpr char kQuote = '"';
constexpr QByteArrayView kLineEnd = "\r\n";
constexpr QByteArrayView kTrue = "#TRUE#";
constexpr QByteArrayView kFalse = "#FALSE#";
// The writer hands the device its text in pieces of about this size.
constexpr qsizetype kWriteChunk = qsizetype(1) << 20;

// Each task line adds a closing "*", two quotes and the line end to its packed row.
constexpr qint64 kTaskLineExtra = 1 + 2 + kLineEnd.size();

void AppendLine(QByteArray& out, QByteArrayView text)
{
    out += text;
    out += kLineEnd;
}

void AppendQuotedLine(QByteArray& out, QByteArrayView text)
{
    out += kQuote;
    out += text;
    out += kQuote;
    out += kLineEnd;
}

QByteArray HeaderLine()
{
    QByteArray out;
    AppendQuotedLine(out, Header());
    return out;
}

// The footer and the five settings.
QByteArray Trailer(const OptionValues& settings)
{
    QByteArray out;
    AppendQuotedLine(out, Footer());
    AppendLine(out, QByteArray::number(settings.playIntervalMs));
    AppendLine(out, QByteArray::number(settings.recIntervalMs));
    for (bool flag : {settings.closeAfterPlaying, settings.repeatForever, settings.saveImages})
        AppendLine(out, flag ? kTrue : kFalse);
    return out;
}

// Writes all of out, however many calls the device needs: a short write is followed by another,
// so that a full disk is reported with the system's reason rather than as a short count.
bool WriteAll(QIODevice& device, QByteArray& out)
{
    qsizetype done = 0;
    while (done < out.size()) {
        const qint64 written = device.write(out.constData() + done, out.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    out.resize(0);
    return true;
}

} // namespace

qint64 FileSize(const TaskList& tasks, const OptionValues& settings, bool images)
{
    const TaskRows& rows = tasks.PackedRows();
    qint64 size = rows.PackedBytes() + qint64(rows.size()) * kTaskLineExtra;
    if (!images) {
        for (std::size_t row = 0; row < rows.size(); ++row)
            size -= rows.FieldOf(row, TaskRows::kImage).size();
    }
    return size + HeaderLine().size() + Trailer(settings).size();
}

bool Write(QIODevice& device, const TaskList& tasks, const OptionValues& settings, bool images)
{
    QByteArray out = HeaderLine();
    out.reserve(kWriteChunk + kWriteChunk / 4);
    const TaskRows& rows = tasks.PackedRows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        out += kQuote;
        // The packed row is the task line without its closing "*": "x*y*task*image".
        for (TaskRows::Field field : {TaskRows::kX, TaskRows::kY, TaskRows::kTask}) {
            out += rows.FieldOf(row, field);
            out += kSeparator;
        }
        if (images)
            out += rows.FieldOf(row, TaskRows::kImage);
        out += kSeparator;
        out += kQuote;
        out += kLineEnd;
        if (out.size() >= kWriteChunk && !WriteAll(device, out))
            return false;
    }
    out += Trailer(settings);
    return WriteAll(device, out);
}

std::optional<QString> Save(const QString& path, const TaskList& tasks, const OptionValues& settings, bool images,
                            qint64 maxSize)
{
    // Renaming a new file over a device or a pipe would replace it (and root may do so in /dev).
    const QFileInfo info(path);
    if (info.isDir() || (info.exists() && !info.isFile()))
        return TextTable::Text(info.isDir() ? TextId::IsFolder : TextId::NotRegularFile);
    if (FileSize(tasks, settings, images) > maxSize)
        return TextTable::Text(TextId::TooLargeToOpenAgain);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // A macro may type a password: a new file is its owner's alone (an existing one keeps its mode).
    if (!info.exists())
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!Write(file, tasks, settings, images)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace MacroFile
