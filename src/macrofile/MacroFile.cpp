#include "macrofile/MacroFile.h"

#include "core/AppInfo.h"
#include "core/TextTable.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <cstring>

namespace MacroFile {
namespace {

constexpr char kSeparator = '*';
constexpr char kQuote = '"';
constexpr QByteArrayView kLineEnd = "\r\n";
constexpr QByteArrayView kTrue = "#TRUE#";
constexpr QByteArrayView kFalse = "#FALSE#";
// The writer hands the device its text in pieces of about this size.
constexpr qsizetype kWriteChunk = qsizetype(1) << 20;
constexpr int kNotRegularFileText = 152;
constexpr int kTooLargeText = 153;

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
    return ParseInterval(QString::fromLatin1(line), min, max);
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

// Reads a device line by line through a buffer of about one chunk, so a file is never held whole.
// A line ends at LF, and a CR just before it is dropped; the last line may end without either. A
// line longer than the buffer grows it, and each byte is searched for LF only once.
class LineReader
{
public:
    LineReader(QIODevice& device, qsizetype chunkSize)
        : m_device(device), m_chunkSize(std::max<qsizetype>(1, chunkSize))
    {}

    // The next line, valid until the next call; nullopt at the end or after a read error.
    std::optional<QByteArrayView> Next()
    {
        qsizetype searched = m_pos;
        for (;;) {
            const char* data = m_buffer.constData();
            const auto* lf = static_cast<const char*>(
                std::memchr(data + searched, '\n', static_cast<std::size_t>(m_buffer.size() - searched)));
            if (lf)
                return TakeLine(lf - data, 1);
            if (m_atEnd)
                return m_pos < m_buffer.size() ? std::optional(TakeLine(m_buffer.size(), 0)) : std::nullopt;
            searched = m_buffer.size() - m_pos;
            Fill();
        }
    }

    std::optional<QByteArrayView> NextString()
    {
        const auto line = Next();
        return line ? StringItem(*line) : std::nullopt;
    }

    std::optional<int> NextNumber(int min, int max)
    {
        const auto line = Next();
        return line ? NumberItem(*line, min, max) : std::nullopt;
    }

    std::optional<bool> NextFlag()
    {
        const auto line = Next();
        return line ? FlagItem(*line) : std::nullopt;
    }

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
    QByteArray m_buffer;
    qsizetype m_pos = 0; // where the next line starts in m_buffer
    bool m_atEnd = false;
};

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

} // namespace

QByteArray Header()
{
    return (AppInfo::CompanyName() + AppInfo::ProductName() + QString::number(AppInfo::kVersionRevision)).toLatin1();
}

QByteArray Footer()
{
    const QString stars = QStringLiteral("***");
    return (stars + AppInfo::CompanyName() + stars + QString::number(AppInfo::kVersionRevision) + stars).toLatin1();
}

bool AddTaskFromLine(QByteArrayView line, std::vector<TaskRow>& tasks)
{
    if (!line.endsWith(kSeparator))
        return false;
    const qsizetype first = line.indexOf(kSeparator);
    const qsizetype second = line.indexOf(kSeparator, first + 1);
    const qsizetype third = second < 0 ? -1 : line.indexOf(kSeparator, second + 1);
    if (third < 0)
        return false;
    // The closing "*" may be the third one itself ("x*y*task*"): the image is then empty.
    const qsizetype imageLength = std::max<qsizetype>(0, line.size() - 1 - (third + 1));
    const QByteArrayView x = line.first(first);
    const QByteArrayView y = line.sliced(first + 1, second - first - 1);
    const QByteArrayView task = line.sliced(second + 1, third - second - 1);
    const QByteArrayView image = line.sliced(third + 1, imageLength);
    if (x.isEmpty() && y.isEmpty() && task.isEmpty() && image.isEmpty())
        return true; // the empty list's blank row
    tasks.push_back(
        TaskRow{QString::fromLatin1(x), QString::fromLatin1(y), QString::fromLatin1(task), image.toByteArray()});
    return true;
}

std::optional<MacroContent> Parse(QIODevice& device, qsizetype chunkSize)
{
    LineReader lines(device, chunkSize);
    const auto header = lines.NextString();
    if (!header || *header != Header())
        return std::nullopt;

    MacroContent content;
    const QByteArray footer = Footer();
    for (;;) {
        const auto item = lines.NextString();
        if (!item)
            return std::nullopt; // the end came before the footer, or a broken quoted line
        if (*item == footer)
            break;
        if (!AddTaskFromLine(*item, content.tasks))
            return std::nullopt;
    }

    const auto play = lines.NextNumber(OptionValues::kMinPlayIntervalMs, OptionValues::kMaxPlayIntervalMs);
    const auto rec = lines.NextNumber(OptionValues::kMinRecIntervalMs, OptionValues::kMaxRecIntervalMs);
    const auto termina = lines.NextFlag();
    const auto ripeti = lines.NextFlag();
    const auto salvaImmagine = lines.NextFlag();
    if (!play || !rec || !termina || !ripeti || !salvaImmagine)
        return std::nullopt;
    // Whatever follows the last flag is not read, as in every earlier version of the format.
    content.settings = OptionValues{*play, *rec, *termina, *ripeti, *salvaImmagine};
    return content;
}

std::optional<MacroContent> Parse(QByteArrayView bytes, qsizetype chunkSize)
{
    QByteArray raw = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    return Parse(buffer, std::min(chunkSize, bytes.size() + 1));
}

MacroReadResult Read(const QString& path)
{
    MacroReadResult result;
    result.status = MacroReadResult::Status::Unreadable;
    // A pipe or a device could block the open or never end: only regular files (and folders, which
    // the open below refuses with its own reason) are opened.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        result.reason = TextTable::Text(kNotRegularFileText);
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        result.reason = file.errorString();
        return result;
    }
    if (file.size() > kMaxFileSize) {
        result.reason = TextTable::Text(kTooLargeText);
        return result;
    }
    // A small file gets a buffer of its own size; the + 1 lets the first read see the end.
    std::optional<MacroContent> content = Parse(file, std::min(kReadChunk, file.size() + 1));
    if (file.error() != QFileDevice::NoError) {
        result.reason = file.errorString();
        return result;
    }
    if (!content) {
        result.status = MacroReadResult::Status::Invalid;
        return result;
    }
    result.status = MacroReadResult::Status::Ok;
    result.content = std::move(*content);
    return result;
}

bool Write(QIODevice& device, const TaskList& tasks, const OptionValues& settings)
{
    QByteArray out;
    out.reserve(kWriteChunk + kWriteChunk / 4);
    const auto flush = [&device, &out] {
        if (device.write(out) != out.size())
            return false;
        out.resize(0);
        return true;
    };

    AppendQuotedLine(out, Header());
    for (int row = 1; row < tasks.Rows(); ++row) {
        out += kQuote;
        for (int column : {TaskList::kColumnX, TaskList::kColumnY, TaskList::kColumnTask}) {
            out += tasks.Cell(row, column).toLatin1();
            out += kSeparator;
        }
        if (settings.SalvaImmagine)
            out += tasks.Image(row);
        out += kSeparator;
        out += kQuote;
        out += kLineEnd;
        if (out.size() >= kWriteChunk && !flush())
            return false;
    }
    AppendQuotedLine(out, Footer());
    AppendLine(out, QByteArray::number(settings.playIntervalMs));
    AppendLine(out, QByteArray::number(settings.recIntervalMs));
    for (bool flag : {settings.Termina, settings.Ripeti, settings.SalvaImmagine})
        AppendLine(out, flag ? kTrue : kFalse);
    return flush();
}

std::optional<QString> Save(const QString& path, const TaskList& tasks, const OptionValues& settings)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!Write(file, tasks, settings)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

QString CommandLinePath(const QStringList& arguments)
{
    const QString text = arguments.join(QLatin1Char(' '));
    const QLatin1String extension("#cw");
    if (text.endsWith(extension))
        return text;
    const QLatin1Char quote('"');
    if (text.size() >= extension.size() + 2 && text.startsWith(quote) && text.endsWith(quote) &&
        QStringView(text).chopped(1).endsWith(extension))
        return text.sliced(1, text.size() - 2);
    return {};
}

} // namespace MacroFile
