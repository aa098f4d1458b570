#include "core/PaceOptions.h"

#include "core/OptionValues.h"

#include <QSettings>

#include <cmath>

namespace {
const QString kKeepPaceKey = QStringLiteral("Pace/KeepPace");
const QString kSpeedKey = QStringLiteral("Pace/Speed");
} // namespace

PaceOptions PaceOptions::Load(const QSettings& settings)
{
    PaceOptions options;
    options.keepPace = ParseSwitch(settings.value(kKeepPaceKey).toString()).value_or(false);
    options.speed = ParseSpeed(settings.value(kSpeedKey).toString()).value_or(1.0);
    return options;
}

void PaceOptions::Save(QSettings& settings) const
{
    settings.setValue(kKeepPaceKey, keepPace);
    settings.setValue(kSpeedKey, SpeedText(speed));
}

std::optional<double> PaceOptions::ParseSpeed(QStringView text)
{
    text = text.trimmed();
    constexpr qsizetype kLongest = 12;
    if (text.isEmpty() || text.size() > kLongest)
        return std::nullopt;
    // Digits with at most one point: no sign, no exponent, no "nan" or "inf".
    int points = 0;
    for (const QChar c : text) {
        if (c == u'.')
            ++points;
        else if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || points > 1 || !std::isfinite(value) || value < kMinSpeed - 1e-9 || value > kMaxSpeed + 1e-9)
        return std::nullopt;
    return value;
}

QString PaceOptions::SpeedText(double speed)
{
    return QString::number(speed, 'g', 6);
}
