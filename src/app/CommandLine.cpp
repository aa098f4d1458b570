#include "app/CommandLine.h"

#include "app/PlaybackArguments.h"
#include "app/StopSocket.h"

#include "core/AppInfo.h"
#include "core/TextTable.h"

#include <QCoreApplication>

#include <cstdio>

namespace CommandLine {

namespace {
constexpr qsizetype kLineWidth = 79;

// Breaks a paragraph at blanks so that no line is longer than the terminal's usual width.
QString Wrapped(const QString& paragraph)
{
    QString result;
    qsizetype lineLength = 0;
    for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineLength > 0 && lineLength + 1 + word.size() > kLineWidth) {
            result += QLatin1Char('\n');
            lineLength = 0;
        } else if (lineLength > 0) {
            result += QLatin1Char(' ');
            ++lineLength;
        }
        result += word;
        lineLength += word.size();
    }
    return result;
}

void Print(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}
// Exit status 0 when a run was stopped; otherwise 1 and a line on stderr.
int AskToStop()
{
    const StopSocket::Answer answer = StopSocket::AskToStop();
    if (answer == StopSocket::Answer::Stopped)
        return 0;
    const QString why = answer == StopSocket::Answer::NoInstance
                            ? TextTable::Text(TextId::StopNoInstance).arg(StopSocket::Path())
                            : TextTable::Text(TextId::StopNothingRunning);
    std::fprintf(stderr, "clickwarden: %s\n", why.toLocal8Bit().constData());
    return 1;
}
} // namespace

Request Parse(const QStringList& arguments)
{
    const PlaybackArguments parsed = PlaybackArguments::Parse(arguments);
    if (!parsed.error.isEmpty())
        return Request::Refused;
    if (parsed.help)
        return Request::Help;
    if (parsed.version)
        return Request::Version;
    if (parsed.stop)
        return Request::Stop;
    return Request::Run;
}

QString HelpText()
{
    using TextTable::Text;
    const QString line(QLatin1Char('\n'));
    const QString paragraph(QStringLiteral("\n\n"));
    QString statuses = Text(TextId::ExitStatusesHeading);
    for (const TextId id : {TextId::ExitStatusPlayed, TextId::ExitStatusStopped, TextId::ExitStatusUsage,
                            TextId::ExitStatusSkipped, TextId::ExitStatusFileProblem, TextId::ExitStatusSignal})
        statuses += line + Text(id);
    return Text(TextId::Usage) + line + Wrapped(Text(TextId::UsageDescription)) + paragraph +
           Text(TextId::UsageOptions) + line + Text(TextId::HelpOption) + line + Text(TextId::VersionOption) + line +
           Text(TextId::StopOption) + line + Text(TextId::UnattendedOption) + line + Text(TextId::AskOption) + line +
           Text(TextId::SpeedOption) + line + Text(TextId::CheckScreenOption) + line + Text(TextId::OnMismatchOption) +
           line + Text(TextId::EndOfOptions) + paragraph + Text(TextId::StopKeysHeading) + line +
           Text(TextId::StopRecordingKeys) + line + Text(TextId::StopPlaybackKeys) + paragraph + statuses + paragraph +
           Text(TextId::HelpPageLabel) + QLatin1Char(' ') + Text(TextId::HelpPageAddress) + line;
}

QString VersionText()
{
    return AppInfo::ProductName() + QLatin1Char(' ') + AppInfo::VersionText() + QLatin1Char('\n');
}

std::optional<int> AnswerInfoRequest(int& argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Request request = Parse(arguments);
    if (request == Request::Run)
        return std::nullopt;
    if (request == Request::Refused)
        return PlaybackArguments::Parse(arguments).ReportError();
    // The help page is found relative to the program's folder, which only an application knows.
    const QCoreApplication core(argc, argv);
    if (request == Request::Stop)
        return AskToStop();
    Print(request == Request::Help ? HelpText() : VersionText());
    return 0;
}

} // namespace CommandLine
