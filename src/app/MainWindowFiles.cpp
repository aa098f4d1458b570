// The main window's part in the file commands: FileCommands does the work; the window wires its
// menus to it and applies what a read file brings.
#include "app/MainWindow.h"

#include "app/ExitStatus.h"
#include "app/StderrMessageBoxes.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "macrofile/FileCommands.h"
#include "tasks/Playability.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>

void MainWindow::ConnectFiles()
{
    m_files = std::make_unique<FileCommands>(m_tasks, m_state.options, *m_services.messages, m_services.files);
    FileCommands* files = m_files.get();
    connect(m_newAction, &QAction::triggered, files, &FileCommands::New);
    connect(m_openAction, &QAction::triggered, files, &FileCommands::Open);
    connect(m_appendAction, &QAction::triggered, files, &FileCommands::Append);
    connect(m_saveAction, &QAction::triggered, files, &FileCommands::Save);
    connect(files, &FileCommands::captionChanged, this, &MainWindow::UpdateCaption);
    connect(files, &FileCommands::readingChanged, this, &MainWindow::ShowReading);
    connect(files, &FileCommands::optionsRead, this, &MainWindow::ApplyOptions);
    connect(files, &FileCommands::commandStateChanged, this, &MainWindow::UpdateCommandState);
    connect(files, &FileCommands::commandLineFileLoaded, this, &MainWindow::Play);
    connect(files, &FileCommands::commandLineFileFailed, this, &MainWindow::CommandLineFileFailed);
    connect(files, &FileCommands::commandStateChanged, this, [this](bool flag) {
        if (flag)
            TellUnplayableRows();
    });
}

void MainWindow::CommandLineFileFailed(const QString& text, const QString& line)
{
    // A script hears of it on stderr; no one may be there to close a box, so none is shown then.
    StderrMessageBoxes::Print(line);
    if (m_services.unattended) {
        m_exitStatus = ExitStatus::kFileProblem;
        QMetaObject::invokeMethod(this, &MainWindow::Exit, Qt::QueuedConnection);
        return;
    }
    m_services.messages->Show(MessageBoxes::Icon::Exclamation, text);
}

void MainWindow::TellUnplayableRows()
{
    const QSize screen = m_services.desktop ? m_services.desktop->ScreenSize() : QSize();
    const std::vector<int> rows = Playability::UnplayableRows(m_tasks.PackedRows(), screen);
    if (!rows.empty())
        ShowNote(TextTable::Text(TextId::UnplayableRowsNote).arg(rows.size()).arg(Playability::RowList(rows)), false);
    else if (m_note)
        m_note->clear();
}

bool MainWindow::ReadsCommandLineFile() const
{
    // At the end of the load no other command has run yet: a reading is the command line's.
    return m_files->IsReading();
}

void MainWindow::ShowReading(bool reading)
{
    menuBar()->setEnabled(!reading);
    if (reading)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}
