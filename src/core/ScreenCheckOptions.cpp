#include "core/ScreenCheckOptions.h"

#include "core/OptionValues.h"

#include <QSettings>

namespace {
const QString kEnabledKey = QStringLiteral("ScreenCheck/Enabled");
const QString kWaitKey = QStringLiteral("ScreenCheck/WaitSeconds");
const QString kOnMismatchKey = QStringLiteral("ScreenCheck/OnMismatch");
} // namespace

ScreenCheckOptions ScreenCheckOptions::Load(const QSettings& settings)
{
    ScreenCheckOptions options;
    options.enabled = ParseSwitch(settings.value(kEnabledKey).toString()).value_or(false);
    options.waitSeconds = ParseInterval(settings.value(kWaitKey).toString(), kMinWaitSeconds, kMaxWaitSeconds)
                              .value_or(kDefaultWaitSeconds);
    options.onMismatch = ParseOnMismatch(settings.value(kOnMismatchKey).toString()).value_or(OnMismatch::Stop);
    return options;
}

void ScreenCheckOptions::Save(QSettings& settings) const
{
    settings.setValue(kEnabledKey, enabled);
    settings.setValue(kWaitKey, waitSeconds);
    settings.setValue(kOnMismatchKey, OnMismatchName(onMismatch));
}

std::optional<ScreenCheckOptions::OnMismatch> ParseOnMismatch(QStringView text)
{
    if (text == u"stop")
        return ScreenCheckOptions::OnMismatch::Stop;
    if (text == u"skip")
        return ScreenCheckOptions::OnMismatch::Skip;
    if (text == u"find")
        return ScreenCheckOptions::OnMismatch::Find;
    return std::nullopt;
}

QString OnMismatchName(ScreenCheckOptions::OnMismatch onMismatch)
{
    switch (onMismatch) {
    case ScreenCheckOptions::OnMismatch::Skip:
        return QStringLiteral("skip");
    case ScreenCheckOptions::OnMismatch::Find:
        return QStringLiteral("find");
    case ScreenCheckOptions::OnMismatch::Stop:
        break;
    }
    return QStringLiteral("stop");
}
