#include "app/CommandLineStart.h"

#include "app/FileCommands.h"
#include "app/Run.h"
#include "app/RunReporter.h"

CommandLineStart::CommandLineStart(FileCommands& files, Run* run, RunReporter& reporter, QObject* parent)
    : QObject(parent), m_files(files)
{
    if (run)
        connect(&files, &FileCommands::commandLineFileLoaded, run, [run] { run->Play(); });
    connect(&files, &FileCommands::commandLineFileFailed, &reporter, &RunReporter::CommandLineFileFailed);
}

void CommandLineStart::Start(const QStringList& arguments)
{
    m_files.LoadCommandLineFile(arguments);
}

bool CommandLineStart::IsReading() const
{
    // At the end of the load no other command has run yet: a reading is the command line's.
    return m_files.IsReading();
}
