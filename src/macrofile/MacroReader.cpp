#include "macrofile/MacroFile.h"

#include "core/TextTable.h"
#include "tasks/InputTask.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace MacroFile {
namespace {

constexpr char kQuote = '"';
constexpr QByteArrayView kTrue = "#TRUE#";
constexpr QByteArrayView kFalse = "#FALSE#";

// A string item: the text between the quotes of a quoted line, or an unquoted line up to its
// first comma.
std::optional<QByteArrayView> StringItem(QByteArrayView line)
{
    if (line.startsWith(kQuote)) {
        if (line.size() < 2 || !line.endsWith(kQuote))
            return std::nullopt;
        return line.sliced(1, line.size() - 2);
    }
    const qsizetype comma = line.indexOf(',');
    return comma < 0 ? line : line.first(comma);
}

// A whole number within [min, max], blanks around it allowed.
std::optional<int> NumberItem(QByteArrayView line, int min, int max)
{
    constexpr qsizetype kLongest = 64; // far more than any number with blanks around it
    return line.size() <= kLongest ? ParseInterval(QString::fromLatin1(line), min, max) : std::nullopt;
}

std::optional<bool> FlagItem(QByteArrayView line)
{
    line = line.trimmed();
    if (line == kTrue)
        return true;
    if (line == kFalse)
        return false;
    return std::nullopt;
}

// Reads a device line by line through a buffer of about one chunk, so a file is never held whole,
// and counts the lines. A line ends at LF, and a CR just before it is dropped; the last line may
// end without either. A line longer than the buffer grows it, and each byte is searched for LF
// only once.
class LineReader
{
public:
    LineReader(QIODevice& device, qsizetype chunkSize, std::stop_token stop)
        : m_device(device), m_chunkSize(std::max<qsizetype>(1, chunkSize)), m_stop(std::move(stop))
    {}

    // The next line, valid until the next call; nullopt at the end, after a read error, after a
    // stop request, or when the line would be longer than maxLength.
    std::optional<QByteArrayView> Next(qsizetype maxLength = std::numeric_limits<qsizetype>::max())
    {
        ++m_line;
        qsizetype searched = m_pos;
        for (;;) {
            const char* data = m_buffer.constData();
            const auto* lf = static_cast<const char*>(
                std::memchr(data + searched, '\n', static_cast<std::size_t>(m_buffer.size() - searched)));
            if (lf)
                return TakeLine(lf - data, 1);
            if (m_atEnd)
                return m_pos < m_buffer.size() ? std::optional(TakeLine(m_buffer.size(), 0)) : std::nullopt;
            if (m_buffer.size() - m_pos > maxLength)
                return std::nullopt;
            searched = m_buffer.size() - m_pos;
            Fill();
        }
    }

    qint64 Line() const { return m_line; }
    bool AtEnd() const { return m_atEnd && m_pos >= m_buffer.size(); }
    bool Stopped() const { return m_stop.stop_requested(); }

private:
    QByteArrayView TakeLine(qsizetype end, qsizetype terminatorLength)
    {
        QByteArrayView line(m_buffer.constData() + m_pos, end - m_pos);
        m_pos = end + terminatorLength;
        if (line.endsWith('\r'))
            line.chop(1);
        return line;
    }

    // Drops the lines already taken and appends up to one chunk from the device.
    void Fill()
    {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
        const qsizetype kept = m_buffer.size();
        if (m_stop.stop_requested()) {
            m_atEnd = true;
            return;
        }
        // A long line doubles the buffer rather than growing it by a chunk at a time.
        if (m_buffer.capacity() < kept + m_chunkSize)
            m_buffer.reserve(std::max(kept + m_chunkSize, 2 * m_buffer.capacity()));
        m_buffer.resize(kept + m_chunkSize);
        const qint64 got = m_device.read(m_buffer.data() + kept, m_chunkSize);
        m_buffer.resize(kept + std::max<qint64>(got, 0));
        m_atEnd = got <= 0;
    }

    QIODevice& m_device;
    const qsizetype m_chunkSize;
    const std::stop_token m_stop;
    QByteArray m_buffer;
    qsizetype m_pos = 0; // where the next line starts in m_buffer
    qint64 m_line = 0;   // the number of the line last asked for
    bool m_atEnd = false;
};

MacroParse Fault(LineReader& lines, MacroFault::Kind kind, bool missing)
{
    MacroParse parse;
    parse.fault = {lines.Stopped() ? MacroFault::Kind::Cancelled : kind, lines.Line(), missing};
    return parse;
}

} // namespace

MacroParse Parse(QIODevice& device, qsizetype chunkSize, std::stop_token stop)
{
    using Kind = MacroFault::Kind;
    LineReader lines(device, chunkSize, std::move(stop));
    // A line longer than the quoted header cannot be it: refused without reading further, and
    // refused too when it came whole in the first piece, so that the pieces never matter.
    const QByteArray header = Header();
    const qsizetype longest = header.size() + 2;
    const auto first = lines.Next(longest + 1); // and a CR
    if (!first || first->size() > longest)
        return Fault(lines, Kind::Header, !first && lines.AtEnd());
    const auto headerItem = StringItem(*first);
    if (!headerItem || *headerItem != header)
        return Fault(lines, Kind::Header, false);

    MacroParse parse;
    if (const qint64 size = device.size(); !device.isSequential() && size > 0)
        parse.content.tasks.ReserveBytes(std::min<qint64>(size, kMaxFileSize));
    const QByteArray footer = Footer();
    for (;;) {
        const auto line = lines.Next();
        if (!line)
            return Fault(lines, Kind::Footer, true);
        const auto item = StringItem(*line);
        if (!item)
            return Fault(lines, Kind::Quote, false);
        if (*item == footer)
            break;
        const std::size_t rows = parse.content.tasks.size();
        if (!AddTaskFromLine(*item, parse.content.tasks))
            return Fault(lines, Kind::TaskLine, false);
        if (parse.content.tasks.size() > rows &&
            parse.content.tasks.FieldOf(rows, TaskRows::kTask).size() > InputTask::kMaxTaskText)
            return Fault(lines, Kind::TaskTooLong, false);
    }

    OptionValues& settings = parse.content.settings;
    const struct
    {
        Kind kind;
        int min;
        int max;
        int& value;
    } numbers[] = {
        {Kind::PlayInterval, OptionValues::kMinPlayIntervalMs, OptionValues::kMaxPlayIntervalMs,
         settings.playIntervalMs},
        {Kind::RecInterval, OptionValues::kMinRecIntervalMs, OptionValues::kMaxRecIntervalMs, settings.recIntervalMs},
    };
    for (const auto& number : numbers) {
        const auto line = lines.Next();
        const auto value = line ? NumberItem(*line, number.min, number.max) : std::nullopt;
        if (!value)
            return Fault(lines, number.kind, !line);
        number.value = *value;
    }
    const std::pair<Kind, bool&> flags[] = {{Kind::CloseAfterPlaying, settings.closeAfterPlaying},
                                            {Kind::RepeatForever, settings.repeatForever},
                                            {Kind::SaveImages, settings.saveImages}};
    for (const auto& [kind, flag] : flags) {
        const auto line = lines.Next();
        const auto value = line ? FlagItem(*line) : std::nullopt;
        if (!value)
            return Fault(lines, kind, !line);
        flag = *value;
    }
    // Whatever follows the last flag is not read, as in every earlier version of the format.
    return parse;
}

MacroParse Parse(QByteArrayView bytes, qsizetype chunkSize)
{
    QByteArray raw = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    return Parse(buffer, std::min(chunkSize, bytes.size() + 1));
}

MacroReadResult Read(const QString& path, std::stop_token stop)
{
    MacroReadResult result;
    result.status = MacroReadResult::Status::Unreadable;
    // A pipe or a device could block the open or never end: only regular files are read. The path
    // is opened without waiting and what was opened is checked, never the path before the open: it
    // could become a pipe in between, whose open waits for a writer for ever.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) {
        result.reason = qt_error_string(errno);
        return result;
    }
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        result.reason = TextTable::Text(S_ISDIR(status.st_mode) ? TextId::IsFolder : TextId::NotRegularFile);
        return result;
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        result.reason = file.errorString();
        return result;
    }
    if (file.size() > kMaxFileSize) {
        result.reason = TextTable::Text(TextId::LargerThanLimit);
        return result;
    }
    // A small file gets a buffer of its own size; the + 1 lets the first read see the end.
    MacroParse parse = Parse(file, std::min(kReadChunk, file.size() + 1), std::move(stop));
    if (file.error() != QFileDevice::NoError) {
        result.reason = file.errorString();
        return result;
    }
    result.fault = parse.fault;
    if (parse.fault.kind != MacroFault::Kind::None) {
        result.status = MacroReadResult::Status::Invalid;
        result.reason = Describe(parse.fault);
        return result;
    }
    result.status = MacroReadResult::Status::Ok;
    result.content = std::move(parse.content);
    return result;
}

} // namespace MacroFile
