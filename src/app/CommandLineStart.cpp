#include "app/CommandLineStart.h"

#include "app/FileCommands.h"
#include "app/Run.h"
#include "app/RunPreview.h"
#include "app/RunReporter.h"
#include "core/MessageBoxes.h"
#include "core/TextTable.h"

CommandLineStart::CommandLineStart(FileCommands& files, Run* run, RunReporter& reporter, QObject* parent)
    : QObject(parent), m_files(files), m_run(run)
{
    if (run)
        connect(&files, &FileCommands::commandLineFileLoaded, run, [this] {
            const bool asked = m_ask != nullptr;
            if (!asked || m_ask->Ask({RunPreview::Text(*m_tasks),
                                      TextTable::Text(TextId::RunPreviewPlay),
                                      {},
                                      TextTable::Text(TextId::PauseCancel)}) == MessageBoxes::Answer::Yes)
                m_run->Play();
        });
    connect(&files, &FileCommands::commandLineFileFailed, &reporter, &RunReporter::CommandLineFileFailed);
}

void CommandLineStart::Start(const QStringList& arguments)
{
    m_files.LoadCommandLineFile(arguments);
}

void CommandLineStart::AskFirst(MessageBoxes& messages, const TaskList& tasks)
{
    m_ask = &messages;
    m_tasks = &tasks;
}

bool CommandLineStart::IsReading() const
{
    // At the end of the load no other command has run yet: a reading is the command line's.
    return m_files.IsReading();
}
