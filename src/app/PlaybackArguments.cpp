#include "app/PlaybackArguments.h"

#include "core/AppInfo.h"
#include "core/OptionValues.h"
#include "core/TextTable.h"

#include <cstdio>

namespace {
const QString kCheckScreen = QStringLiteral("--check-screen");
const QString kOnMismatch = QStringLiteral("--on-mismatch");
// Answered before any window opens, and so never seen here but in the middle of other options.
const QStringList kInfoOptions = {QStringLiteral("--help"), QStringLiteral("--version")};

// The text after "--name=", or nullopt when the argument is not written so.
std::optional<QString> ValueAfter(const QString& name, const QString& argument)
{
    if (!argument.startsWith(name + QLatin1Char('=')))
        return std::nullopt;
    return argument.mid(name.size() + 1);
}
} // namespace

PlaybackArguments PlaybackArguments::Parse(const QStringList& arguments)
{
    PlaybackArguments result;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1String("--"))) {
            result.fileArguments << argument;
            continue;
        }
        const std::optional<QString> wait = ValueAfter(kCheckScreen, argument);
        std::optional<QString> action = ValueAfter(kOnMismatch, argument);
        if (argument == kOnMismatch)
            action = i + 1 < arguments.size() ? arguments[++i] : QString();
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == kCheckScreen) {
            // Without a value the wait is the user's own.
            result.checkScreen = true;
        } else if (wait) {
            const std::optional<int> seconds = ParseInterval(*wait, 0, ScreenCheckOptions::kMaxWaitSeconds);
            if (!seconds) {
                result.error = TextTable::Text(TextId::BadWaitValue)
                                   .arg(kCheckScreen)
                                   .arg(0)
                                   .arg(ScreenCheckOptions::kMaxWaitSeconds)
                                   .arg(*wait);
                return result;
            }
            // A wait of 0 turns the check off for this run.
            result.checkScreen = *seconds > 0;
            if (*seconds > 0)
                result.waitSeconds = *seconds;
        } else if (action) {
            result.onMismatch = ParseOnMismatch(*action);
            if (!result.onMismatch) {
                result.error = TextTable::Text(TextId::BadOnMismatchValue).arg(kOnMismatch, *action);
                return result;
            }
        } else if (!kInfoOptions.contains(argument)) {
            result.error = TextTable::Text(TextId::UnknownOption).arg(argument);
            return result;
        }
    }
    return result;
}

ScreenCheckOptions PlaybackArguments::AppliedTo(ScreenCheckOptions options) const
{
    options.enabled = checkScreen.value_or(options.enabled);
    options.waitSeconds = waitSeconds.value_or(options.waitSeconds);
    options.onMismatch = onMismatch.value_or(options.onMismatch);
    return options;
}

int PlaybackArguments::ReportError() const
{
    const QByteArray text = (AppInfo::ExecutableName() + QStringLiteral(": ") + error + QLatin1Char('\n') +
                             TextTable::Text(TextId::TryHelp) + QLatin1Char('\n'))
                                .toLocal8Bit();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
    return kUsageStatus;
}
