#include "macrofile/MacroFile.h"

#include "core/AppInfo.h"
#include "core/TextTable.h"
#include "tasks/InputTask.h"

namespace MacroFile {
namespace {

constexpr char kSeparator = '*';

QString Quoted(const QByteArray& text)
{
    return QLatin1Char('"') + QString::fromLatin1(text) + QLatin1Char('"');
}

// What the line of a fault should have held.
QString Expected(MacroFault::Kind kind)
{
    using Kind = MacroFault::Kind;
    switch (kind) {
    case Kind::Header:
        return TextTable::Text(TextId::FaultHeader).arg(Quoted(Header()));
    case Kind::Quote:
        return TextTable::Text(TextId::FaultQuote);
    case Kind::TaskLine:
        return TextTable::Text(TextId::FaultTaskLine);
    case Kind::TaskTooLong:
        return TextTable::Text(TextId::TaskTooLong).arg(InputTask::kMaxTaskText);
    case Kind::Footer:
        return TextTable::Text(TextId::FaultFooter).arg(Quoted(Footer()));
    case Kind::PlayInterval:
        return TextTable::Text(TextId::PlayIntervalRange);
    case Kind::RecInterval:
        return TextTable::Text(TextId::RecordIntervalRange);
    // The switches are named as the Options dialog names them.
    case Kind::CloseAfterPlaying:
        return TextTable::Text(TextId::FaultSwitch).arg(TextTable::Text(TextId::CloseAfterPlayingSwitch));
    case Kind::RepeatForever:
        return TextTable::Text(TextId::FaultSwitch).arg(TextTable::Text(TextId::RepeatForeverSwitch));
    case Kind::SaveImages:
        return TextTable::Text(TextId::FaultSwitch).arg(TextTable::Text(TextId::SaveImagesSwitch));
    case Kind::None:
    case Kind::Cancelled:
        break;
    }
    return {};
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

bool AddTaskFromLine(QByteArrayView line, TaskRows& tasks)
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
    tasks.Append(x, y, task, image);
    return true;
}

QString Describe(const MacroFault& fault)
{
    if (fault.kind == MacroFault::Kind::None || fault.kind == MacroFault::Kind::Cancelled)
        return {};
    return TextTable::Text(fault.missing ? TextId::FaultFileEnds : TextId::FaultAtLine)
        .arg(QString::number(fault.line), Expected(fault.kind));
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
