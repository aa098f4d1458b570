#include "app/core/TextTable.h"
#include "macrofile/MacroFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
const QByteArray kHeaderLine = "\"#Quorvel WorksClickwarden 200425\"\r\n";
const QByteArray kFooterLine = "\"***#Quorvel Works***25***\"\r\n";
const QByteArray kTrailer = kFooterLine + "1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n";

// A descriptive image with bytes above 127, which must come back unchanged.
QByteArray Image(char fill)
{
    QByteArray image(2601 * 10, ' ');
    for (int i = 0; i < image.size(); i += 10) {
        image[i] = fill;
        image[i + 1] = '\xE9';
    }
    return image;
}

QByteArray Written(const TaskList& tasks, const MacroSettings& settings)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!MacroFile::Write(buffer, tasks, settings))
        return {};
    return buffer.data();
}

void AddPause(TaskList& tasks, const QString& seconds)
{
    tasks.AddTask(seconds, QString(), TextTable::Text(141), {}, TaskOrigin::Inserted);
}

void AddClick(TaskList& tasks, int x, int y, const QByteArray& image)
{
    tasks.CloseDoubleClickWindow();
    tasks.AddTask(QString::number(x), QString::number(y), TextTable::Text(114), image);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

class TestMacroFile : public QObject
{
    Q_OBJECT

private slots:
    void writesTheExampleFileByteForByte()
    {
        TaskList tasks;
        AddClick(tasks, 312, 148, Image('7'));
        AddPause(tasks, QStringLiteral("30"));
        const MacroSettings settings{1000, 20, false, false, false};
        QCOMPARE(Written(tasks, settings), QByteArray("\"#Quorvel WorksClickwarden 200425\"\r\n"
                                                      "\"312*148*Mouse Click Left**\"\r\n"
                                                      "\"30**Pause**\"\r\n"
                                                      "\"***#Quorvel Works***25***\"\r\n"
                                                      "1000\r\n"
                                                      "20\r\n"
                                                      "#FALSE#\r\n"
                                                      "#FALSE#\r\n"
                                                      "#FALSE#\r\n"));
    }

    void roundTrips_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("pause");
        QTest::addColumn<bool>("images");
        QTest::newRow("clicks with images") << 3 << false << true;
        QTest::newRow("clicks without images") << 3 << false << false;
        QTest::newRow("clicks and a pause") << 2 << true << true;
        QTest::newRow("the empty list") << 0 << false << true;
    }

    void roundTrips()
    {
        QFETCH(int, clicks);
        QFETCH(bool, pause);
        QFETCH(bool, images);
        TaskList tasks;
        for (int i = 0; i < clicks; ++i)
            AddClick(tasks, -10 + i, 2000 + i, Image(static_cast<char>('0' + i)));
        if (pause)
            AddPause(tasks, QStringLiteral("5"));
        tasks.AddTask(QStringLiteral("\xE9t\xE9"), {}, {}, {}, TaskOrigin::Inserted); // Latin-1 text
        if (clicks == 0 && !pause)
            tasks.ClearTaskList();
        const MacroSettings settings{32767, 1000, true, false, images};

        const QByteArray bytes = Written(tasks, settings);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size() - 1, tasks.Rows() - 1 + 7); // the bytes end with a line end
        for (const QByteArray& line : lines.first(lines.size() - 1))
            QVERIFY(line.endsWith('\r'));
        for (qsizetype i = 1; i < tasks.Rows(); ++i)
            QCOMPARE(lines[i].endsWith("**\"\r"), !images || i > clicks);

        const std::optional<MacroContent> read = MacroFile::Parse(bytes, 4000); // images straddle pieces
        QVERIFY(read);
        QCOMPARE(read->tasks.size(), static_cast<std::size_t>(tasks.TaskCount()));
        for (int row = 1; row <= tasks.TaskCount(); ++row) {
            const TaskRow& task = read->tasks[static_cast<std::size_t>(row - 1)];
            QCOMPARE(task.x, tasks.Cell(row, TaskList::kColumnX));
            QCOMPARE(task.y, tasks.Cell(row, TaskList::kColumnY));
            QCOMPARE(task.task, tasks.Cell(row, TaskList::kColumnTask));
            QCOMPARE(task.image, images ? tasks.Image(row) : QByteArray());
        }
        QCOMPARE(read->settings.playInterval, 32767);
        QCOMPARE(read->settings.recInterval, 1000);
        QCOMPARE(read->settings.Termina, true);
        QCOMPARE(read->settings.Ripeti, false);
        QCOMPARE(read->settings.SalvaImmagine, images);
    }

    void emptyListIsEightLines()
    {
        TaskList tasks;
        const QByteArray bytes = Written(tasks, MacroSettings{});
        QCOMPARE(bytes, kHeaderLine + "\"****\"\r\n" + kFooterLine + "1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n");
        QVERIFY(MacroFile::Parse(bytes)->tasks.empty());
    }

    void rejectsInvalidFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray task = "\"1*2*Mouse Click Left**\"\r\n";
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("other company") << "\"#Quorvel WorkzClickwarden 200425\"\r\n" + task + kTrailer;
        QTest::newRow("other revision") << "\"#Quorvel WorksClickwarden 200426\"\r\n" + task + kTrailer;
        QTest::newRow("other case") << "\"#quorvel WorksClickwarden 200425\"\r\n" + task + kTrailer;
        QTest::newRow("header unclosed") << "\"#Quorvel WorksClickwarden 200425\r\n" + task + kTrailer;
        QTest::newRow("no footer") << kHeaderLine + task;
        QTest::newRow("only the header") << kHeaderLine;
        QTest::newRow("footer, nothing after") << kHeaderLine + task + kFooterLine;
        QTest::newRow("four items after footer")
            << kHeaderLine + task + kFooterLine + "1000\r\n20\r\n#TRUE#\r\n#TRUE#\r\n";
        QTest::newRow("two stars") << kHeaderLine + "\"1*2*\"\r\n" + kTrailer;
        QTest::newRow("no closing star") << kHeaderLine + "\"1*2*Pause*x\"\r\n" + kTrailer;
        QTest::newRow("empty task line") << kHeaderLine + "\"\"\r\n" + kTrailer;
        QTest::newRow("task line unclosed") << kHeaderLine + "\"1*2*Pause**\r\n" + kTrailer;
        const QByteArray tail = "\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n";
        for (const char* play : {"0", "32768", "-5", "abc", "", "1.5", "99999999999", " 1 0"})
            QTest::addRow("playback interval '%s'", play) << kHeaderLine + task + kFooterLine + play + "\r\n20" + tail;
        for (const char* rec : {"0", "1001", "x"})
            QTest::addRow("recording interval '%s'", rec) << kHeaderLine + task + kFooterLine + "1000\r\n" + rec + tail;
        for (const char* flag : {"#True#", "TRUE", "#TRUE", "1", ""})
            QTest::addRow("flag '%s'", flag)
                << kHeaderLine + task + kFooterLine + "1000\r\n20\r\n#TRUE#\r\n" + flag + "\r\n#TRUE#\r\n";
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = static_cast<char>(i * 7919 % 256);
        QTest::newRow("binary data") << binary;
        QTest::newRow("binary after the header") << kHeaderLine + binary;
    }

    void rejectsInvalidFiles()
    {
        QFETCH(QByteArray, bytes);
        for (qsizetype chunk : {MacroFile::kReadChunk, qsizetype(1), qsizetype(5)})
            QVERIFY(!MacroFile::Parse(bytes, chunk));
    }

    void acceptsLenientForms_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("tasks");
        const QByteArray task = "\"1*2*Mouse Click Left**\"\r\n";
        QByteArray lf = kHeaderLine + task + kTrailer;
        lf.replace("\r\n", "\n");
        QTest::newRow("LF line ends") << lf << 1;
        QTest::newRow("no last line end") << kHeaderLine + task + kTrailer.chopped(2) << 1;
        QTest::newRow("trailing text ignored") << kHeaderLine + task + kTrailer + "more\r\n" << 1;
        QTest::newRow("unquoted items")
            << QByteArray("#Quorvel WorksClickwarden 200425\r\n1*2*Pause**,x\r\n***#Quorvel Works***25***"
                          "\r\n1\r\n1\r\n#TRUE#\r\n#TRUE#\r\n#TRUE#\r\n")
            << 1;
        QTest::newRow("blanks around numbers")
            << kHeaderLine + task + kFooterLine + " 0100 \r\n 7\r\n#TRUE#\r\n#FALSE#\r\n#TRUE#\r\n"
            << 1;
        QTest::newRow("three stars only") << kHeaderLine + "\"1*2*Pause*\"\r\n" + kTrailer << 1;
        QTest::newRow("blank rows are no tasks")
            << kHeaderLine + "\"****\"\r\n" + task + "\"****\"\r\n" + kTrailer << 1;
    }

    void acceptsLenientForms()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, tasks);
        // Lines that straddle the reader's pieces come out the same.
        for (qsizetype chunk : {MacroFile::kReadChunk, qsizetype(1), qsizetype(5)}) {
            const std::optional<MacroContent> read = MacroFile::Parse(bytes, chunk);
            QVERIFY(read);
            QCOMPARE(static_cast<int>(read->tasks.size()), tasks);
        }
    }

    void splitsTaskLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("image");
        QTest::newRow("click") << QByteArray("312*148*Mouse Click Left*255       *")
                               << QStringList{"312", "148", "Mouse Click Left"} << QByteArray("255       ");
        QTest::newRow("pause") << QByteArray("30**Pause**") << QStringList{"30", "", "Pause"} << QByteArray();
        QTest::newRow("negative") << QByteArray("-5*-7*Mouse Click Left**")
                                  << QStringList{"-5", "-7", "Mouse Click Left"} << QByteArray();
        QTest::newRow("stars in the image")
            << QByteArray("1*2*x*a*b**") << QStringList{"1", "2", "x"} << QByteArray("a*b*");
        QTest::newRow("empty task text") << QByteArray("1***") << QStringList{"1", "", ""} << QByteArray();
    }

    void splitsTaskLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, image);
        std::vector<TaskRow> tasks;
        QVERIFY(MacroFile::AddTaskFromLine(line, tasks));
        QCOMPARE(tasks.size(), std::size_t(1));
        QCOMPARE((QStringList{tasks[0].x, tasks[0].y, tasks[0].task}), fields);
        QCOMPARE(tasks[0].image, image);
    }

    void readsFilesFromDisk()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.#cw"));
        QVERIFY(WriteFile(good, kHeaderLine + "\"1*2*Pause**\"\r\n" + kTrailer));
        QCOMPARE(MacroFile::Read(good).status, MacroReadResult::Status::Ok);

        const QString bad = dir.filePath(QStringLiteral("bad.#cw"));
        QVERIFY(WriteFile(bad, "\"Something else\"\r\n"));
        QCOMPARE(MacroFile::Read(bad).status, MacroReadResult::Status::Invalid);

        // A 100 MB line is read and rejected, neither crashing nor hanging.
        const QString huge = dir.filePath(QStringLiteral("huge.#cw"));
        QVERIFY(WriteFile(huge, kHeaderLine + QByteArray(100 * 1024 * 1024, 'A')));
        QCOMPARE(MacroFile::Read(huge).status, MacroReadResult::Status::Invalid);
    }

    void reportsUnreadableFiles()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("pipe.#cw"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString paths[] = {dir.filePath(QStringLiteral("missing.#cw")), dir.path(), fifo,
                                 QStringLiteral("/dev/zero")};
        for (const QString& path : paths) {
            const MacroReadResult read = MacroFile::Read(path);
            QCOMPARE(read.status, MacroReadResult::Status::Unreadable);
            QVERIFY2(!read.reason.isEmpty(), qPrintable(path));
        }
    }

    void savesWithoutATaskLimit()
    {
        QTemporaryDir dir;
        TaskList tasks;
        std::vector<TaskRow> rows(40000, TaskRow{"1", "2", TextTable::Text(115), {}});
        tasks.AddTasks(std::move(rows));
        const QString path = dir.filePath(QStringLiteral("many.#cw"));
        QVERIFY(!MacroFile::Save(path, tasks, MacroSettings{}));
        const MacroReadResult read = MacroFile::Read(path);
        QCOMPARE(read.status, MacroReadResult::Status::Ok);
        QCOMPARE(read.content.tasks.size(), std::size_t(40000));
    }

    void failedSaveLeavesTheEarlierFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kept.#cw"));
        QVERIFY(WriteFile(path, "earlier"));
        TaskList tasks;
        AddClick(tasks, 1, 2, Image('9'));

        // A file size limit stands in for a full disk; the process must not die of SIGXFSZ.
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1000;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const std::optional<QString> failed = MacroFile::Save(path, tasks, MacroSettings{});
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(failed);
        QVERIFY(!failed->isEmpty());
        QCOMPARE(FileBytes(path), QByteArray("earlier"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.#cw"});

        const std::optional<QString> noFolder =
            MacroFile::Save(dir.filePath(QStringLiteral("missing/x.#cw")), tasks, MacroSettings{});
        QVERIFY(noFolder && !noFolder->isEmpty());
    }

    void findsTheCommandLineFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");
        QTest::newRow("bare path") << QStringList{"/tmp/a.#cw"} << "/tmp/a.#cw";
        QTest::newRow("no dot needed") << QStringList{"/tmp/a#cw"} << "/tmp/a#cw";
        QTest::newRow("quoted path") << QStringList{"\"/tmp/my file.#cw\""} << "/tmp/my file.#cw";
        QTest::newRow("arguments joined by one blank") << QStringList{"/tmp/my", "file.#cw"} << "/tmp/my file.#cw";
        QTest::newRow("quotes across arguments") << QStringList{"\"/tmp/my", "file.#cw\""} << "/tmp/my file.#cw";
        QTest::newRow("one more character") << QStringList{"notes.#cw~"} << "";
        QTest::newRow("closing quote only") << QStringList{"notes.#cw\""} << "";
        QTest::newRow("opening quote only") << QStringList{"\"notes.#cw"} << "\"notes.#cw";
        QTest::newRow("capital letters") << QStringList{"notes.#CW"} << "";
        QTest::newRow("further argument") << QStringList{"notes.#cw", "-x"} << "";
        QTest::newRow("no arguments") << QStringList{} << "";
        QTest::newRow("a lone quote") << QStringList{"\""} << "";
    }

    void findsTheCommandLineFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, path);
        QCOMPARE(MacroFile::CommandLinePath(arguments), path);
    }
};

QTEST_GUILESS_MAIN(TestMacroFile)
#include "TestMacroFile.moc"
