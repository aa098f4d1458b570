#include "core/AppInfo.h"

namespace AppInfo {

QString CompanyName()
{
    return QStringLiteral("#Quorvel Works");
}

QString ProductName()
{
    return QStringLiteral("Clickwarden 2004");
}

QString VersionText()
{
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

QString CopyrightLine()
{
    return QStringLiteral("Copyright \u00A9 2026 The Clickwarden developers");
}

QString ExecutableName()
{
    return QStringLiteral("clickwarden");
}

} // namespace AppInfo
