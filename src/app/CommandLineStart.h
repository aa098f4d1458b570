#pragma once

#include <QObject>
#include <QStringList>

class FileCommands;
class MessageBoxes;
class TaskList;
class Run;
class RunReporter;

// What the program does at start-up with its arguments: the macro file named there is read and,
// once in place, played; a file that cannot be used is reported as a run's end is.
class CommandLineStart : public QObject
{
    Q_OBJECT

public:
    CommandLineStart(FileCommands& files, Run* run, RunReporter& reporter, QObject* parent = nullptr);

    // Reads the file named in the arguments (without the program's name and its options), if any.
    void Start(const QStringList& arguments);
    // True while the file named on the command line is read, after the load and before it plays.
    bool IsReading() const;
    // The file plays only once the user has seen what it does and chosen Play (RunPreview).
    void AskFirst(MessageBoxes& messages, const TaskList& tasks);

private:
    FileCommands& m_files;
    Run* m_run;
    MessageBoxes* m_ask = nullptr;
    const TaskList* m_tasks = nullptr;
};
