#include "app/FileCommands.h"

#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "macrofile/FileChooser.h"
#include "tasks/TaskEdits.h"
#include "tasks/TaskList.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

FileCommands::FileCommands(TaskList& tasks, const OptionValues& options, MessageBoxes& messages, FileChooser* files,
                           QObject* parent)
    : QObject(parent), m_tasks(tasks), m_options(options), m_messages(messages), m_files(files), m_caption(Caption())
{
    // The edits mark the list as they move away from the clean state and back; a change made beside
    // them marks it until the next read or save.
    connect(&m_tasks.Edits(), &QUndoStack::cleanChanged, this, &FileCommands::ShowCaption);
    connect(&m_tasks, &TaskList::untrackedChange, this, [this] {
        m_untracked = true;
        ShowCaption();
    });
}

// A reading under way stops at its next piece; what it read is dropped.
FileCommands::~FileCommands() = default;

void FileCommands::New()
{
    if (IsReading() || !MayDiscardChanges())
        return;
    {
        TaskList::TrackedChanges tracked(m_tasks);
        m_tasks.ClearTaskList();
    }
    m_tasks.Edits().clear();
    emit commandStateChanged(false);
    SetFile(QString());
}

void FileCommands::Open()
{
    if (!m_files || IsReading() || !MayDiscardChanges())
        return;
    StartReading(m_files->ChooseFileToOpen(), Purpose::Open);
}

void FileCommands::Append()
{
    if (!m_files || IsReading())
        return;
    // The title stays with the dialog: later Open and Save dialogs show it too.
    m_files->SetTitle(TextTable::Text(TextId::AppendTitle));
    StartReading(m_files->ChooseFileToOpen(), Purpose::Append);
}

bool FileCommands::Save()
{
    if (!m_files || IsReading())
        return false;
    const std::optional<bool> images = SaveImages();
    if (!images)
        return false;
    const QString path = m_files->ChooseFileToSave();
    if (path.isEmpty())
        return false;
    if (const std::optional<QString> reason = MacroFile::Save(path, m_tasks, m_options, *images)) {
        Problem(TextId::CouldNotSave, path, *reason);
        return false;
    }
    m_tasks.Edits().setClean();
    SetFile(path);
    return true;
}

std::optional<bool> FileCommands::SaveImages()
{
    if (m_options.saveImages)
        return true;
    // Append takes the appended file's switches, so images may be in the list with the switch off:
    // they are not dropped without asking.
    const TaskRows& rows = m_tasks.PackedRows();
    int withImage = 0;
    for (std::size_t row = 0; row < rows.size(); ++row)
        withImage += rows.FieldOf(row, TaskRows::kImage).isEmpty() ? 0 : 1;
    if (withImage == 0)
        return false;
    using TextTable::Text;
    switch (m_messages.Ask({Text(TextId::KeepImagesQuestion).arg(withImage), Text(TextId::KeepImagesAnswer),
                            Text(TextId::DropImagesAnswer), Text(TextId::CancelAnswer)})) {
    case MessageBoxes::Answer::Yes:
        return true;
    case MessageBoxes::Answer::No:
        return false;
    case MessageBoxes::Answer::Cancel:
        break;
    }
    return std::nullopt;
}

void FileCommands::LoadCommandLineFile(const QStringList& arguments)
{
    StartReading(MacroFile::CommandLinePath(arguments), Purpose::CommandLine);
}

bool FileCommands::MayDiscardChanges()
{
    // A list that was never read nor saved and is empty again holds nothing to lose.
    if (!IsModified() || (m_path.isEmpty() && m_tasks.IsEmpty()))
        return true;
    using TextTable::Text;
    switch (m_messages.Ask({Text(TextId::SaveChangesQuestion), Text(TextId::SaveAnswer), Text(TextId::DiscardAnswer),
                            Text(TextId::CancelAnswer)})) {
    case MessageBoxes::Answer::Yes:
        return Save();
    case MessageBoxes::Answer::No:
        return true;
    case MessageBoxes::Answer::Cancel:
        break;
    }
    return false;
}

QString FileCommands::Caption() const
{
    const QString plain = TextTable::Text(TextId::Company) + QStringLiteral(" - ") + TextTable::Text(TextId::Product);
    const bool modified = IsModified();
    if (m_path.isEmpty() && !modified)
        return plain;
    const QString name = m_path.isEmpty() ? TextTable::Text(TextId::Untitled) : QFileInfo(m_path).fileName();
    return name + (modified ? QStringLiteral("*") : QString()) + QStringLiteral(" - ") + plain;
}

QString FileCommands::FileName() const
{
    return m_path.isEmpty() ? QString() : QFileInfo(m_path).fileName();
}

bool FileCommands::IsModified() const
{
    return m_untracked || !m_tasks.Edits().isClean();
}

void FileCommands::SetFile(const QString& path)
{
    m_path = path;
    m_untracked = false;
    ShowCaption();
}

void FileCommands::ShowCaption()
{
    const QString caption = Caption();
    if (caption != m_caption) {
        m_caption = caption;
        emit captionChanged(caption);
    }
}

void FileCommands::StartReading(const QString& path, Purpose purpose)
{
    if (path.isEmpty())
        return;
    emit readingChanged(true);
    m_reader = std::jthread([this, path, purpose](std::stop_token stop) {
        auto read = std::make_shared<MacroReadResult>(MacroFile::Read(path, stop));
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            this, [this, path, purpose, read] { FinishReading(path, purpose, *read); }, Qt::QueuedConnection);
    });
}

void FileCommands::FinishReading(const QString& path, Purpose purpose, MacroReadResult& read)
{
    m_reader.join();
    emit readingChanged(false);
    if (read.status != MacroReadResult::Status::Ok) {
        const bool unreadable = read.status == MacroReadResult::Status::Unreadable;
        const QString what = TextTable::Text(unreadable ? TextId::CouldNotRead : TextId::FileNotValid);
        const QString native = QDir::toNativeSeparators(path);
        const QString text = unreadable ? what + QLatin1Char(' ') + native + QLatin1Char('\n') + read.reason
                                        : what + QLatin1Char('\n') + native + QLatin1Char('\n') + read.reason;
        // The command line's file is the caller's to report: a run from a script must hear of it
        // on stderr, and may have no one to read a box.
        if (purpose == Purpose::CommandLine) {
            emit commandLineFileFailed(text, native + QStringLiteral(": ") + what + QLatin1Char(' ') + read.reason);
            return;
        }
        m_messages.Show(unreadable ? MessageBoxes::Icon::Exclamation : MessageBoxes::Icon::None, text);
        return;
    }
    // The file was checked whole: only now does anything change. An appended file is one edit; an
    // opened one starts the edits afresh.
    if (purpose == Purpose::Append) {
        if (auto edit = TaskEdits::Insert(m_tasks, m_tasks.Rows(), std::move(read.content.tasks)))
            m_tasks.Edits().push(edit.release());
    } else {
        {
            TaskList::TrackedChanges tracked(m_tasks);
            m_tasks.ClearTaskList();
            m_tasks.AddTasks(std::move(read.content.tasks));
        }
        m_tasks.Edits().clear();
        SetFile(path);
    }
    emit optionsRead(read.content.settings);
    emit commandStateChanged(true);
    if (purpose == Purpose::CommandLine)
        emit commandLineFileLoaded();
}

// "<what went wrong> <path>", and the reason on a line of its own.
void FileCommands::Problem(TextId textId, const QString& path, const QString& reason)
{
    m_messages.Show(MessageBoxes::Icon::Exclamation, TextTable::Text(textId) + QLatin1Char(' ') +
                                                         QDir::toNativeSeparators(path) + QLatin1Char('\n') + reason);
}
