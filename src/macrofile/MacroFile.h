#pragma once

#include "core/OptionValues.h"
#include "tasks/TaskList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <stop_token>

class QIODevice;

// What a valid macro file holds. The blank row that the empty list is written with is not a task
// and is left out, so reading that file back gives no tasks at all.
struct MacroContent
{
    TaskRows tasks;
    OptionValues settings;
};

// Where a file stops being a macro file of this program, and what that line should have held.
struct MacroFault
{
    enum class Kind
    {
        None,
        Header,      // line 1 is not this program's header
        Quote,       // a line begins with a double quote and does not end with one
        TaskLine,    // fewer than three "*", or no closing "*"
        TaskTooLong, // a task text longer than InputTask::kMaxTaskText
        Footer,      // the file ends before the line that closes the task lines
        PlayInterval,
        RecInterval,
        CloseAfterPlaying,
        RepeatForever,
        SaveImages,
        Cancelled, // the reading was stopped
    };

    Kind kind = Kind::None;
    qint64 line = 0;      // counted from 1
    bool missing = false; // the file ends before that line

    friend bool operator==(const MacroFault&, const MacroFault&) = default;
};

struct MacroParse
{
    MacroContent content;
    MacroFault fault; // Kind::None for a valid file
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
    QString reason; // in the user's words: why the file could not be read, or what is wrong where
    MacroFault fault;
    MacroContent content;
};

// The macro file format: single-byte lines ending in CR LF, one item per line. Line 1 is the header
// (company name, product name and revision run together), then one quoted task line per task row,
// the footer ("***", company name, "***", revision, "***"), the playback interval, the recording
// interval and the flags closeAfterPlaying, repeatForever and saveImages as "#TRUE#" or "#FALSE#". Text is
// Latin-1, so every byte survives a round trip.
namespace MacroFile {

// Larger files are neither read nor written, so whatever is saved opens again.
inline constexpr qint64 kMaxFileSize = qint64(1) << 30;

QByteArray Header();
QByteArray Footer();

// Splits a task line (the text between its quotes) at its first three "*": x, y and task text;
// the image is what follows the third "*" up to the closing "*". Appends the row unless all four
// fields are empty. Returns false, adding nothing, for a line with fewer than three "*" or one that
// does not end with "*".
bool AddTaskFromLine(QByteArrayView line, TaskRows& tasks);

// The reader takes the file in pieces of this size.
inline constexpr qsizetype kReadChunk = qsizetype(1) << 20;

// Reads and checks a whole macro file from device: what does not begin with the header is refused
// after its first piece. Accepts LF line ends as well as CR LF, and a last line without any. A stop
// request ends the reading at the next piece.
MacroParse Parse(QIODevice& device, qsizetype chunkSize = kReadChunk, std::stop_token stop = {});
// The same for a file held in memory.
MacroParse Parse(QByteArrayView bytes, qsizetype chunkSize = kReadChunk);
// What is wrong, and where, in the user's words.
QString Describe(const MacroFault& fault);

// Reads and checks the file at path. Nothing is applied here: the caller applies a valid result.
MacroReadResult Read(const QString& path, std::stop_token stop = {});

// The size of the file Write would write.
qint64 FileSize(const TaskList& tasks, const OptionValues& settings, bool images);
// Writes the task rows 1 to the last (the empty list's blank row included) with the settings, and
// their images when images is true (field 4 is empty otherwise). Returns false when a write fails.
bool Write(QIODevice& device, const TaskList& tasks, const OptionValues& settings, bool images);

// Writes to a temporary file beside path and renames it over path only once complete, so a failed
// save leaves an earlier file untouched. Refuses a file larger than maxSize (what the reader takes),
// and a path that names a folder, a device or a pipe. Returns the reason of a failure, nullopt on
// success.
std::optional<QString> Save(const QString& path, const TaskList& tasks, const OptionValues& settings, bool images,
                            qint64 maxSize = kMaxFileSize);

// The macro file named on the command line, or an empty text. The arguments (without the program's
// name) are joined by single blanks; the text names a file when it ends in "#cw", or when it begins
// and ends with a double quote and "#cw" comes just before the closing one (the quotes are dropped).
QString CommandLinePath(const QStringList& arguments);

} // namespace MacroFile
