#include "macrofile/FileChooser.h"

#include "core/AppPaths.h"

#include <QDir>
#include <QFileInfo>

QString FileChooser::ChooseFileToOpen()
{
    return Choose(Mode::Open);
}

QString FileChooser::ChooseFileToSave()
{
    return Choose(Mode::Save);
}

QString FileChooser::Choose(Mode mode)
{
    const QString initial = m_lastChosen.isEmpty() ? StartFolder(AppPaths::ProgramFolder()) : m_lastChosen;
    QString chosen = Ask(Request{mode, m_title, initial});
    if (chosen.isEmpty())
        return {};
    if (mode == Mode::Save)
        chosen = WithSuffix(chosen);
    m_lastChosen = chosen;
    return chosen;
}

QString FileChooser::StartFolder(const QString& programFolder)
{
    const QFileInfo folder(programFolder);
    if (!programFolder.isEmpty() && folder.isDir() && folder.isWritable())
        return folder.absoluteFilePath();
    return QDir::homePath();
}

QString FileChooser::WithSuffix(const QString& path)
{
    if (!QFileInfo(path).suffix().isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('.') + QLatin1String(kSuffix);
}
