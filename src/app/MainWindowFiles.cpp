// The main window's part in the file commands: FileCommands does the work; the window wires its
// menus to it and applies what a read file brings.
#include "app/MainWindow.h"

#include "macrofile/FileCommands.h"

#include <QAction>
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
