#include "app/FileCommands.h"
#include "core/TextTable.h"
#include "support/FakeFileChooser.h"
#include "support/RecordingMessageBoxes.h"
#include "tasks/TaskEdits.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
using Answer = MessageBoxes::Answer;
using Command = void (FileCommands::*)();
const QByteArray kPause = "\"1*2*Pause**\"\r\n";
const QByteArray kSettings = "500\r\n40\r\n#TRUE#\r\n#TRUE#\r\n#TRUE#\r\n";
const QByteArray kImagesOff = "1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n";

QByteArray Macro(const QByteArray& taskLines, const QByteArray& settings = kSettings)
{
    return "\"#Quorvel WorksClickwarden 200425\"\r\n" + taskLines + "\"***#Quorvel Works***25***\"\r\n" + settings;
}
} // namespace

Q_DECLARE_METATYPE(MessageBoxes::Answer)

// The file commands on a task list of their own, as the main window gives them one, with the file
// dialog and the boxes answered by a script.
class TestFileCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TaskList> m_tasks;
    OptionValues m_options;
    RecordingMessageBoxes m_messages;
    std::unique_ptr<FakeFileChooser> m_files;
    std::unique_ptr<FileCommands> m_commands;
    bool m_commandState = false;
    QStringList m_failedLines; // what the command line's file failures told

    QString Path(const QString& name) const { return m_dir->filePath(name); }

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
    }

    QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs a command with its dialog answered by path (an empty text cancels), and waits for its read.
    void Run(Command command, const QString& path)
    {
        m_files->QueueAnswer(path);
        (m_commands.get()->*command)();
        QTRY_VERIFY(!m_commands->IsReading());
    }

    // The list, both intervals and the three switches, as Save writes them; empty when not saved.
    QByteArray Saved()
    {
        const QString path = Path(QStringLiteral("saved.#cw"));
        QFile::remove(path);
        m_files->QueueAnswer(path);
        return m_commands->Save() ? ReadFile(path) : QByteArray();
    }

    // Starts as the program does with these arguments; true when a file was loaded to be played.
    bool Start(const QStringList& arguments = {})
    {
        m_commands.reset();
        m_messages.Clear();
        m_options = OptionValues{};
        m_tasks = std::make_unique<TaskList>();
        m_files = std::make_unique<FakeFileChooser>();
        m_commands = std::make_unique<FileCommands>(*m_tasks, m_options, m_messages, m_files.get());
        connect(m_commands.get(), &FileCommands::optionsRead, this, [this](const OptionValues& o) { m_options = o; });
        connect(m_commands.get(), &FileCommands::commandStateChanged, this, [this](bool on) { m_commandState = on; });
        m_failedLines.clear();
        connect(m_commands.get(), &FileCommands::commandLineFileFailed, this,
                [this](const QString&, const QString& line) { m_failedLines << line; });
        QSignalSpy loaded(m_commands.get(), &FileCommands::commandLineFileLoaded);
        m_commands->LoadCommandLineFile(arguments);
        return QTest::qWaitFor([this] { return !m_commands->IsReading(); }) && loaded.count() == 1;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Start();
    }

    void cleanup()
    {
        m_commands.reset();
        m_dir.reset();
    }

    // A valid file: Open puts its tasks in place of the list, Append after it; both apply its settings.
    void openAndAppend_data()
    {
        QTest::addColumn<bool>("append");
        QTest::addColumn<QByteArray>("tasks");
        QTest::addColumn<QByteArray>("listAfter");
        const QByteArray click = "\"312*148*Mouse Click Left*12345     *\"\r\n";
        QTest::newRow("open") << false << click + kPause << click + kPause;
        QTest::newRow("open the empty list") << false << QByteArray("\"****\"\r\n") << QByteArray("\"****\"\r\n");
        QTest::newRow("append") << true << click + kPause << "\"7*7*Mouse Click Right*old*\"\r\n" + click + kPause;
    }

    void openAndAppend()
    {
        QFETCH(bool, append);
        QFETCH(QByteArray, tasks);
        QFETCH(QByteArray, listAfter);
        m_tasks->AddTask("7", "7", TextTable::Text(TextId::ClickRight), "old");
        Run(append ? &FileCommands::Append : &FileCommands::Open, WriteFile("file.#cw", Macro(tasks)));
        QVERIFY(m_messages.Messages().empty());
        QVERIFY(m_commandState);
        QCOMPARE(m_files->Requests().back().title, append ? TextTable::Text(TextId::AppendTitle) : QString());
        QCOMPARE(Saved(), Macro(listAfter));
    }

    // A big file of tiny lines is read beside the window: nothing changes until all of it is in,
    // and a reading can be dropped part way.
    void readsBigFilesBesideTheWindow()
    {
        constexpr int kLines = 200000;
        const QString path = WriteFile("tiny.#cw", Macro(QByteArray("\"1***\"\r\n").repeated(kLines)));
        m_tasks->AddTask("7", "7", TextTable::Text(TextId::ClickRight), {});
        QSignalSpy reading(m_commands.get(), &FileCommands::readingChanged);
        m_files->QueueAnswer(path);
        m_commands->Open();
        QCOMPARE(reading.count(), 1);
        QCOMPARE(m_tasks->TaskCount(), 1);
        QTRY_VERIFY(!m_commands->IsReading());
        QCOMPARE(m_tasks->TaskCount(), kLines);

        m_files->QueueAnswer(path);
        m_commands->Append();
        m_commands.reset();
        QCOMPARE(m_tasks->TaskCount(), kLines);
    }

    // Work is not lost without asking: New, Open and the end of the program ask Save / Discard /
    // Cancel while the list holds changes; the caption names the file and marks the changes.
    void lostWorkPromptsAndCaption()
    {
        const QString plain = QStringLiteral("#Quorvel Works - Clickwarden 2004");
        m_tasks->AddTask("1", "1", TextTable::Text(TextId::ClickLeft), {});
        QCOMPARE(m_commands->Caption(), "Untitled* - " + plain);
        m_messages.QueueAnswer(Answer::Cancel);
        m_commands->New();
        m_messages.QueueAnswer(Answer::Yes); // save first, but the save dialog is cancelled: no Open
        Run(&FileCommands::Open, QString());
        QCOMPARE(m_files->Requests().size(), 1);
        QCOMPARE(m_tasks->TaskCount(), 1);

        m_messages.QueueAnswer(Answer::Yes);
        m_files->QueueAnswer(Path("work.#cw"));
        QVERIFY(m_commands->MayDiscardChanges()); // saved: the program may end
        QCOMPARE(m_commands->Caption(), "work.#cw - " + plain);
        // The mark follows the edits back to the saved list; a change beside them stays marked.
        m_tasks->Edits().push(
            TaskEdits::Change(*m_tasks, 1, {"5", "5", TextTable::Text(TextId::ClickRight), {}}).release());
        QCOMPARE(m_commands->Caption(), "work.#cw* - " + plain);
        m_tasks->Edits().undo();
        QCOMPARE(m_commands->Caption(), "work.#cw - " + plain);
        m_tasks->DeleteLastTask();
        QCOMPARE(m_commands->Caption(), "work.#cw* - " + plain);
        m_messages.QueueAnswer(Answer::No);
        m_commands->New();
        QVERIFY(m_tasks->IsEmpty());
        QCOMPARE(m_commands->Caption(), plain);
        QCOMPARE(m_messages.Questions().size(), 4);
        QVERIFY(m_commands->MayDiscardChanges()); // nothing to lose

        // A file played from the command line has nothing to lose when playback closes the program;
        // one that is not valid is not played.
        QVERIFY(Start({'"' + Path("work.#cw") + '"'}));
        QCOMPARE(m_commands->Caption(), "work.#cw - " + plain);
        QVERIFY(m_commands->MayDiscardChanges());
        QVERIFY(m_messages.Questions().isEmpty());
        QVERIFY(!Start({WriteFile("binary.#cw", QByteArray("\x00\xFF binary", 9))}));
    }

    // What is saved opens again: a file larger than the reader takes is refused, the earlier one kept.
    void saveLimitAgreesWithTheReader()
    {
        m_tasks->AddTask("1", "2", TextTable::Text(TextId::ClickLeft), QByteArray(26010, '5'));
        const QString path = WriteFile("kept.#cw", "earlier");
        const qint64 size = MacroFile::FileSize(*m_tasks, m_options, true);
        QCOMPARE(MacroFile::Save(path, *m_tasks, m_options, true, size - 1),
                 TextTable::Text(TextId::TooLargeToOpenAgain));
        QCOMPARE(ReadFile(path), "earlier");
        QVERIFY(!MacroFile::Save(path, *m_tasks, m_options, true, size));
        QCOMPARE(MacroFile::Read(path).status, MacroReadResult::Status::Ok);
    }

    // Append takes the appended file's switches, images off included; Save then asks before it
    // drops the images the list holds.
    void imagesAreKeptUnlessTheUserSaysOtherwise_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QByteArray>("firstLine"); // empty: nothing saved
        QTest::newRow("keep") << Answer::Yes << QByteArray("\"1*2*Mouse Click Left*image*\"\r\n");
        QTest::newRow("drop") << Answer::No << QByteArray("\"1*2*Mouse Click Left**\"\r\n");
        QTest::newRow("cancel") << Answer::Cancel << QByteArray();
    }

    void imagesAreKeptUnlessTheUserSaysOtherwise()
    {
        QFETCH(Answer, answer);
        QFETCH(QByteArray, firstLine);
        m_tasks->AddTask("1", "2", TextTable::Text(TextId::ClickLeft), "image");
        Run(&FileCommands::Append, WriteFile("plain.#cw", Macro(kPause, kImagesOff)));
        m_messages.QueueAnswer(answer);
        QCOMPARE(Saved(), firstLine.isEmpty() ? QByteArray() : Macro(firstLine + kPause, kImagesOff));
        QCOMPARE(m_messages.Questions().size(), 1);
    }

    // The command line's file that cannot be used is the caller's to tell, in one line that names
    // it first: a run from a script may have no one to close a box.
    void commandLineFailuresAreTold()
    {
        const QString bad = WriteFile("bad.#cw", Macro(kPause + "\"1*2*\"\r\n"));
        const QString missing = Path(QStringLiteral("missing.#cw"));
        QVERIFY(!Start({bad}) && m_messages.Texts().isEmpty());
        QCOMPARE(m_failedLines, QStringList{bad + ": " + TextTable::Text(TextId::FileNotValid) + ' ' +
                                            MacroFile::Describe({MacroFault::Kind::TaskLine, 3, false})});
        QVERIFY(!Start({missing}) &&
                m_failedLines.value(0).startsWith(missing + ": " + TextTable::Text(TextId::CouldNotRead)));
    }

    // A failed command changes nothing and says why in the user's words: the system's reason for a
    // failed save; the file, the line and what it should hold for a file that is not valid; what a
    // folder or a pipe is. A cancelled dialog says nothing.
    void failuresChangeNothingAndSayWhatAndWhere()
    {
        const QString good = WriteFile("good.#cw", Macro("\"3*4*Mouse Click Left*9 *\"\r\n"));
        Run(&FileCommands::Open, good);
        const QByteArray before = Saved();
        const QString caption = m_commands->Caption();
        const QString bad = WriteFile("bad.#cw", Macro(kPause + "\"1*2*\"\r\n"));
        const QString pipe = Path(QStringLiteral("pipe.#cw"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QSignalSpy applied(m_commands.get(), &FileCommands::commandStateChanged);
        Run(&FileCommands::Open, bad);
        Run(&FileCommands::Append, m_dir->path());
        Run(&FileCommands::Open, pipe);
        Run(&FileCommands::Append, QString());
        m_files->QueueAnswer(pipe);
        QVERIFY(!m_commands->Save());
        const QString folder = Path(QStringLiteral("folder.#cw"));
        QVERIFY(QDir().mkdir(folder));
        m_files->QueueAnswer(folder);
        QVERIFY(!m_commands->Save());

        // A file size limit stands in for a full disk; the process must not die of SIGXFSZ.
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 10;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        m_files->QueueAnswer(good);
        const bool written = m_commands->Save();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!written);

        const QStringList expected = {
            TextTable::Text(TextId::FileNotValid) + '\n' + bad + '\n' +
                MacroFile::Describe({MacroFault::Kind::TaskLine, 3, false}),
            TextTable::Text(TextId::CouldNotRead) + ' ' + m_dir->path() + '\n' + TextTable::Text(TextId::IsFolder),
            TextTable::Text(TextId::CouldNotRead) + ' ' + pipe + '\n' + TextTable::Text(TextId::NotRegularFile),
            TextTable::Text(TextId::CouldNotSave) + ' ' + pipe + '\n' + TextTable::Text(TextId::NotRegularFile),
            TextTable::Text(TextId::CouldNotSave) + ' ' + folder + '\n' + TextTable::Text(TextId::IsFolder),
            TextTable::Text(TextId::CouldNotSave) + ' ' + good + '\n' + QString::fromLocal8Bit(std::strerror(EFBIG)),
        };
        QCOMPARE(m_messages.Texts(), expected);
        QCOMPARE(applied.count(), 0);
        QCOMPARE(m_commands->Caption(), caption);
        QCOMPARE(ReadFile(good), Macro("\"3*4*Mouse Click Left*9 *\"\r\n"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), (QStringList{"bad.#cw", "good.#cw", "saved.#cw"}));
        QCOMPARE(Saved(), before);
    }
};

QTEST_GUILESS_MAIN(TestFileCommands)
#include "TestFileCommands.moc"
