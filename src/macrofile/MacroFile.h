#pragma once

#include "core/OptionValues.h"
#include "tasks/TaskList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QIODevice;

// What a valid macro file holds. The blank row that the empty list is written with is not a task
// and is left out, so reading that file back gives no tasks at all.
struct MacroContent
{
    std::vector<TaskRow> tasks;
    OptionValues settings;
};

// The outcome of reading a file: its content, or why nothing may change.
struct MacroReadResult
{
    enum class Status
    {
        Ok,
        Invalid,    // read, but not a macro file of this program
        Unreadable, // missing, a folder, no permission, not a regular file, too large
    };

    Status status = Status::Invalid;
    QString reason; // why an unreadable file could not be read
    MacroContent content;
};

// The macro file format: single-byte lines ending in CR LF, one item per line. Line 1 is the header
// (company name, product name and revision run together), then one quoted task line per task row,
// the footer ("***", company name, "***", revision, "***"), the playback interval, the recording
// interval and the flags Termina, Ripeti and SalvaImmagine as "#TRUE#" or "#FALSE#". Text is
// Latin-1, so every byte survives a round trip.
namespace MacroFile {

// Larger files are refused rather than read into memory whole.
inline constexpr qint64 kMaxFileSize = qint64(1) << 30;

QByteArray Header();
QByteArray Footer();

// Splits a task line (the text between its quotes) at its first three "*": x, y and task text;
// the image is what follows the third "*" up to the closing "*". Appends the row unless all four
// fields are empty. Returns false, adding nothing, for a line with fewer than three "*" or one that
// does not end with "*".
bool AddTaskFromLine(QByteArrayView line, std::vector<TaskRow>& tasks);

// The reader takes the file in pieces of this size.
inline constexpr qsizetype kReadChunk = qsizetype(1) << 20;

// Reads and checks a whole macro file from device; nullopt when it is not valid (or the device fails
// part way). Accepts LF line ends as well as CR LF, and a last line without any.
std::optional<MacroContent> Parse(QIODevice& device, qsizetype chunkSize = kReadChunk);
// The same for a file held in memory.
std::optional<MacroContent> Parse(QByteArrayView bytes, qsizetype chunkSize = kReadChunk);

// Reads and checks the file at path. Nothing is applied here: the caller applies a valid result.
MacroReadResult Read(const QString& path);

// Writes the task rows 1 to the last (the empty list's blank row included) with the settings. Images
// are written only when settings.SalvaImmagine is true. Returns false when a write fails.
bool Write(QIODevice& device, const TaskList& tasks, const OptionValues& settings);

// Writes to a temporary file beside path and renames it over path only once complete, so a failed
// save leaves an earlier file untouched. Returns the reason of a failure, nullopt on success.
std::optional<QString> Save(const QString& path, const TaskList& tasks, const OptionValues& settings);

// The macro file named on the command line, or an empty text. The arguments (without the program's
// name) are joined by single blanks; the text names a file when it ends in "#cw", or when it begins
// and ends with a double quote and "#cw" comes just before the closing one (the quotes are dropped).
QString CommandLinePath(const QStringList& arguments);

} // namespace MacroFile
