#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace AppPaths {

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString DataFile(const QString& relativePath)
{
    const QDir programDir(ProgramFolder());
    const QString candidates[] = {
        programDir.filePath(relativePath),
        programDir.filePath(QStringLiteral("../share/clickwarden/") + relativePath),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    }
    return {};
}

QString HelperProgram(const QString& name)
{
    const QDir programDir(ProgramFolder());
    for (const QString& candidate :
         {programDir.filePath(name), programDir.filePath(QStringLiteral("../libexec/clickwarden/") + name)}) {
        if (QFileInfo(candidate).isExecutable())
            return QDir::cleanPath(candidate);
    }
    return {};
}

QString RecordingCursor()
{
    const QString name = QStringLiteral("rec.cur");
    const QString found = DataFile(name);
    return found.isEmpty() ? QDir(ProgramFolder()).filePath(name) : found;
}

QString HelpPageUrl()
{
    QString page = DataFile(QStringLiteral("help/index.html"));
    if (page.isEmpty())
        page = QDir(ProgramFolder()).filePath(QStringLiteral("help/index.html"));
    return QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()).toString();
}

} // namespace AppPaths
