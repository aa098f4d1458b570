#include "app/MainWindow.h"

#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "macrofile/FileChooser.h"
#include "macrofile/MacroFile.h"

#include <QAction>
#include <QDir>

namespace {
constexpr int kInvalidFileText = 130;
constexpr int kAppendTitleText = 139;
constexpr int kUnreadableFileText = 150;
constexpr int kUnsavedFileText = 151;

// "<what went wrong> <path>", and the system's reason on a line of its own.
QString FileProblem(int textId, const QString& path, const QString& reason)
{
    return TextTable::Text(textId) + QLatin1Char(' ') + QDir::toNativeSeparators(path) + QLatin1Char('\n') + reason;
}
} // namespace

void MainWindow::ConnectFiles()
{
    connect(mnuFileApri, &QAction::triggered, this, &MainWindow::mnuFileApri_Click);
    connect(mnuFileAggiungi, &QAction::triggered, this, &MainWindow::mnuFileAggiungi_Click);
    connect(mnuFileSalva, &QAction::triggered, this, &MainWindow::mnuFileSalva_Click);
}

void MainWindow::mnuFileSalva_Click()
{
    if (!m_services.files)
        return;
    const QString path = m_services.files->ChooseFileToSave();
    if (path.isEmpty())
        return;
    if (const std::optional<QString> reason = MacroFile::Save(path, m_tasks, CurrentOptions()))
        m_services.messages->Show(MessageBoxes::Icon::Exclamation, FileProblem(kUnsavedFileText, path, *reason));
}

void MainWindow::mnuFileApri_Click()
{
    if (m_services.files)
        LoadMacroFile(m_services.files->ChooseFileToOpen(), true);
}

void MainWindow::mnuFileAggiungi_Click()
{
    if (!m_services.files)
        return;
    // The title stays with the dialog: later Open and Save dialogs show it too.
    m_services.files->SetTitle(TextTable::Text(kAppendTitleText));
    LoadMacroFile(m_services.files->ChooseFileToOpen(), false);
}

bool MainWindow::LoadMacroFile(const QString& path, bool replace)
{
    if (path.isEmpty())
        return false;
    MacroReadResult read = MacroFile::Read(path);
    switch (read.status) {
    case MacroReadResult::Status::Unreadable:
        m_services.messages->Show(MessageBoxes::Icon::Exclamation, FileProblem(kUnreadableFileText, path, read.reason));
        return false;
    case MacroReadResult::Status::Invalid:
        m_services.messages->Show(MessageBoxes::Icon::None, TextTable::Text(kInvalidFileText));
        return false;
    case MacroReadResult::Status::Ok:
        break;
    }
    // The file was checked whole: only now does anything change.
    if (replace)
        ClearTaskList();
    m_tasks.AddTasks(std::move(read.content.tasks));
    ApplyOptions(read.content.settings);
    UpdateCommandState(true);
    return true;
}

void MainWindow::LoadCommandLineFile()
{
    if (LoadMacroFile(MacroFile::CommandLinePath(m_services.arguments), true))
        mnuComandiPlay_Click();
}
