#pragma once

#include "core/OptionValues.h"
#include "core/TextTable.h"
#include "macrofile/MacroFile.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <thread>

class FileChooser;
class MessageBoxes;
class TaskList;

// The File menu's commands on the task list (New, Open, Append, Save), the file named on the
// command line, and the question that keeps changes from being lost. It reaches the user only
// through the message boxes and the file chooser. A file is read on a thread of its own while the
// window goes on, and nothing changes until the whole file has been read and found valid.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    // options: the values in force, which Save writes. Without a file chooser Open, Append and
    // Save do nothing.
    FileCommands(TaskList& tasks, const OptionValues& options, MessageBoxes& messages, FileChooser* files,
                 QObject* parent = nullptr);
    ~FileCommands() override;

    void New();
    void Open();
    void Append();
    // True when the list was written.
    bool Save();
    // Reads the macro file named in the arguments; commandLineFileLoaded follows a valid one.
    void LoadCommandLineFile(const QStringList& arguments);

    // Before the list is replaced or the program ends: when the list changed since it was last
    // saved or read and holds something to lose, asks whether to save it first. True when the
    // caller may go on: saved, discarded, or nothing to lose.
    bool MayDiscardChanges();

    // Changed since last read or saved: the edits stand away from the stack's clean state, or the
    // list changed outside them.
    bool IsModified() const;
    bool IsReading() const { return m_reader.joinable(); }
    // "name.#cw* - company - product": the file last read or saved, marked while the list has
    // changed since; "Untitled*" for a changed list that has no file; the plain caption otherwise.
    QString Caption() const;
    // The name of the file last read or saved, without its folder; empty when none.
    QString FileName() const;

signals:
    void captionChanged(const QString& caption);
    void readingChanged(bool reading);
    // A file was read whole and its tasks put in place: these settings now apply.
    void optionsRead(const OptionValues& options);
    // The command state to set: false when the list was emptied, true after a completed read.
    void commandStateChanged(bool flag);
    // The file named on the command line is in place, to be played.
    void commandLineFileLoaded();
    // The file named on the command line could not be read or is no valid macro file: the box's
    // text, and the same in one line for stderr (the file's name first).
    void commandLineFileFailed(const QString& text, const QString& line);

private:
    enum class Purpose
    {
        Open,
        Append,
        CommandLine,
    };

    void StartReading(const QString& path, Purpose purpose);
    void FinishReading(const QString& path, Purpose purpose, MacroReadResult& read);
    // Asks whether to keep the images of a list saved with the images switched off. nullopt: cancel.
    std::optional<bool> SaveImages();
    // The list is the file's (read or saved): the stack's clean state is here.
    void SetFile(const QString& path);
    void ShowCaption();
    void Problem(TextId textId, const QString& path, const QString& reason);

    TaskList& m_tasks;
    const OptionValues& m_options;
    MessageBoxes& m_messages;
    FileChooser* m_files;
    QString m_path;           // the file last read or saved; empty when none
    bool m_untracked = false; // changed outside the edits since last read or saved
    QString m_caption;
    std::jthread m_reader;
};
