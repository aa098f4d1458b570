#include "app/PlaybackArguments.h"

#include "app/ExitStatus.h"
#include "core/AppInfo.h"
#include "core/OptionValues.h"
#include "core/PaceOptions.h"
#include "core/TextTable.h"
#include "macrofile/MacroFile.h"

#include <cstdio>

namespace {
enum class Value
{
    None,
    Required,
    // Taken after "=", or from the next argument when that is a whole number.
    Optional,
};

struct Option
{
    const char* name;
    Value value;
};

constexpr Option kOptions[] = {
    {"help", Value::None},
    {"version", Value::None},
    {"unattended", Value::None},
    {"speed", Value::Required},
    {"check-screen", Value::Optional},
    {"on-mismatch", Value::Required},
    {"ask", Value::None},
    {"stop", Value::None},
};

const Option* FindOption(QStringView name)
{
    for (const Option& option : kOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

bool IsWholeNumber(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// Sets what one option says; returns the error, empty when the value is sound.
QString Apply(PlaybackArguments& result, const QString& name, const std::optional<QString>& value)
{
    const QString option = QStringLiteral("--") + name;
    if (name == QLatin1String("help")) {
        result.help = true;
    } else if (name == QLatin1String("version")) {
        result.version = true;
    } else if (name == QLatin1String("stop")) {
        result.stop = true;
    } else if (name == QLatin1String("unattended")) {
        result.unattended = true;
    } else if (name == QLatin1String("ask")) {
        result.ask = true;
    } else if (name == QLatin1String("speed")) {
        result.speed = PaceOptions::ParseSpeed(*value);
        if (!result.speed)
            return TextTable::Text(TextId::BadSpeedValue)
                .arg(option, PaceOptions::SpeedText(PaceOptions::kMinSpeed),
                     PaceOptions::SpeedText(PaceOptions::kMaxSpeed), *value);
    } else if (name == QLatin1String("check-screen")) {
        // Without a value the wait is the user's own.
        if (!value) {
            result.checkScreen = true;
            return {};
        }
        const std::optional<int> seconds = ParseInterval(*value, 0, ScreenCheckOptions::kMaxWaitSeconds);
        if (!seconds)
            return TextTable::Text(TextId::BadWaitValue)
                .arg(option)
                .arg(0)
                .arg(ScreenCheckOptions::kMaxWaitSeconds)
                .arg(*value);
        // A wait of 0 turns the check off for this run.
        result.checkScreen = *seconds > 0;
        if (*seconds > 0)
            result.waitSeconds = *seconds;
    } else if (name == QLatin1String("on-mismatch")) {
        result.onMismatch = ParseOnMismatch(*value);
        if (!result.onMismatch)
            return TextTable::Text(TextId::BadOnMismatchValue).arg(option, *value);
    }
    return {};
}
} // namespace

PlaybackArguments PlaybackArguments::Parse(const QStringList& arguments)
{
    PlaybackArguments result;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size() && result.error.isEmpty(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument == QLatin1String("-h")) {
            result.help = true;
            continue;
        }
        if (optionsEnded || !argument.startsWith(QLatin1String("--"))) {
            result.fileArguments << argument;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        const Option* option = FindOption(name);
        if (!option || (option->value == Value::None && equals >= 0)) {
            result.error = TextTable::Text(TextId::UnknownOption).arg(argument);
            break;
        }
        std::optional<QString> value;
        if (equals >= 0)
            value = argument.mid(equals + 1);
        else if (option->value == Value::Required && i + 1 < arguments.size())
            value = arguments[++i];
        else if (option->value == Value::Optional && i + 1 < arguments.size() && IsWholeNumber(arguments[i + 1]))
            value = arguments[++i];
        if (option->value == Value::Required && !value) {
            result.error = TextTable::Text(TextId::MissingValue).arg(argument);
            break;
        }
        result.error = Apply(result, name, value);
    }
    if (result.error.isEmpty() && result.unattended && !result.help && !result.version &&
        MacroFile::CommandLinePath(result.fileArguments).isEmpty())
        result.error = TextTable::Text(TextId::UnattendedNeedsFile);
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
    return ExitStatus::kUsage;
}
