#include "macrofile/FileCommands.h"

#include "core/MessageBoxes.h"
#include "core/TextTable.h"
#include "macrofile/FileChooser.h"
#include "tasks/TaskList.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

FileCommands::FileCommands(TaskList& tasks, const OptionValues& options, MessageBoxes& messages, FileChooser* files,
                           QObject* parent)
    : QObject(parent), m_tasks(tasks), m_options(options), m_messages(messages), m_files(files), m_caption(Caption())
{
    // Whatever changes the list marks it; a command that puts a file in place clears the mark after.
    const auto changed = [this] {
        SetFile(m_path, true);
    };
    connect(&m_tasks, &TaskList::dataChanged, this, changed);
    connect(&m_tasks, &TaskList::rowsInserted, this, changed);
    connect(&m_tasks, &TaskList::rowsRemoved, this, changed);
    connect(&m_tasks, &TaskList::modelReset, this, changed);
}

// A reading under way stops at its next piece; what it read is dropped.
FileCommands::~FileCommands() = default;

void FileCommands::New()
{
    if (IsReading() || !MayDiscardChanges())
        return;
    m_tasks.ClearTaskList();
    emit commandStateChanged(false);
    SetFile(QString(), false);
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
    SetFile(path, false);
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
    if (!m_modified || (m_path.isEmpty() && m_tasks.IsEmpty()))
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
    if (m_path.isEmpty())
        return plain;
    return QFileInfo(m_path).fileName() + (m_modified ? QStringLiteral("*") : QString()) + QStringLiteral(" - ") +
           plain;
}

void FileCommands::SetFile(const QString& path, bool modified)
{
    m_path = path;
    m_modified = modified;
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
    // The file was checked whole: only now does anything change.
    if (purpose != Purpose::Append)
        m_tasks.ClearTaskList();
    m_tasks.AddTasks(std::move(read.content.tasks));
    emit optionsRead(read.content.settings);
    emit commandStateChanged(true);
    if (purpose == Purpose::Append)
        SetFile(m_path, true);
    else
        SetFile(path, false);
    if (purpose == Purpose::CommandLine)
        emit commandLineFileLoaded();
}

// "<what went wrong> <path>", and the reason on a line of its own.
void FileCommands::Problem(TextId textId, const QString& path, const QString& reason)
{
    m_messages.Show(MessageBoxes::Icon::Exclamation, TextTable::Text(textId) + QLatin1Char(' ') +
                                                         QDir::toNativeSeparators(path) + QLatin1Char('\n') + reason);
}
