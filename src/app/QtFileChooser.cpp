#include "app/QtFileChooser.h"

#include "core/AppInfo.h"

#include <QFileDialog>
#include <QFileInfo>

QString QtFileChooser::Filter()
{
    const QString pattern = QStringLiteral("(*.") + QLatin1String(kSuffix) + QLatin1Char(')');
    return pattern + QLatin1Char(' ') + AppInfo::ProductName() + QLatin1Char(' ') + pattern;
}

std::unique_ptr<QFileDialog> QtFileChooser::CreateDialog(const Request& request) const
{
    // An empty caption lets the dialog show its own title for its mode.
    auto dialog = std::make_unique<QFileDialog>(m_parent, request.title);
    dialog->setNameFilter(Filter());
    if (request.mode == Mode::Save) {
        // The suffix is added inside the dialog, so the overwrite question sees the full name.
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setDefaultSuffix(QLatin1String(kSuffix));
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    const QFileInfo initial(request.initialPath);
    if (initial.isDir()) {
        dialog->setDirectory(initial.absoluteFilePath());
    } else {
        dialog->setDirectory(initial.absolutePath());
        dialog->selectFile(initial.fileName());
    }
    return dialog;
}

QString QtFileChooser::Ask(const Request& request)
{
    const std::unique_ptr<QFileDialog> dialog = CreateDialog(request);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return dialog->selectedFiles().value(0);
}
