#include "core/TextTable.h"
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
const QByteArray kTask = "\"1*2*Mouse Click Left**\"\r\n";
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

QByteArray Written(const TaskList& tasks, const OptionValues& settings)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return MacroFile::Write(buffer, tasks, settings) ? buffer.data() : QByteArray();
}

void AddClick(TaskList& tasks, int x, int y, const QByteArray& image)
{
    tasks.CloseDoubleClickWindow();
    tasks.AddTask(QString::number(x), QString::number(y), TextTable::Text(114), image);
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
        tasks.AddTask(QStringLiteral("30"), QString(), TextTable::Text(141), {}, TaskOrigin::Inserted);
        QCOMPARE(Written(tasks, OptionValues{1000, 20, false, false, false}),
                 kHeaderLine + "\"312*148*Mouse Click Left**\"\r\n\"30**Pause**\"\r\n" + kFooterLine +
                     "1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n");
    }

    void roundTrips_data()
    {
        QTest::addColumn<int>("clicks"); // then a pause and a Latin-1 text; none of them for 0
        QTest::addColumn<bool>("images");
        QTest::newRow("clicks and a pause, with images") << 3 << true;
        QTest::newRow("clicks and a pause, without images") << 3 << false;
        QTest::newRow("the empty list") << 0 << true;
    }

    void roundTrips()
    {
        QFETCH(int, clicks);
        QFETCH(bool, images);
        TaskList tasks;
        for (int i = 0; i < clicks; ++i)
            AddClick(tasks, -10 + i, 2000 + i, Image(static_cast<char>('0' + i)));
        tasks.AddTask(QStringLiteral("5"), QString(), TextTable::Text(141), {}, TaskOrigin::Inserted);
        tasks.AddTask(QStringLiteral("\xE9t\xE9"), {}, {}, {}, TaskOrigin::Inserted); // Latin-1 text
        if (clicks == 0)
            tasks.ClearTaskList();
        const OptionValues settings{32767, 1000, true, false, images};

        // Header, one line per row (the empty list has its blank row), footer and five items.
        const QByteArray bytes = Written(tasks, settings);
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size() - 1, tasks.Rows() - 1 + 7); // the bytes end with a line end
        for (const QByteArray& line : lines.first(lines.size() - 1))
            QVERIFY(line.endsWith('\r'));
        for (qsizetype i = 1; i < tasks.Rows(); ++i)
            QCOMPARE(lines[i].endsWith("**\"\r"), !images || i > clicks);

        // Read back and written again, the file comes out the same: every field and setting survived.
        std::optional<MacroContent> read = MacroFile::Parse(bytes, 4000); // images straddle pieces
        QVERIFY(read);
        QCOMPARE(read->tasks.size(), static_cast<std::size_t>(tasks.TaskCount()));
        TaskList back;
        back.AddTasks(std::move(read->tasks));
        QCOMPARE(Written(back, read->settings), bytes);
    }

    // Files that are not valid give nothing; the lenient forms give their one task.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("LF line ends") << QByteArray(kHeaderLine + kTask + kTrailer).replace("\r\n", "\n") << true;
        QTest::newRow("no last line end") << kHeaderLine + kTask + kTrailer.chopped(2) << true;
        QTest::newRow("three stars only") << kHeaderLine + "\"1*2*Pause*\"\r\n" + kTrailer << true;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("other revision") << "\"#Quorvel WorksClickwarden 200426\"\r\n" + kTask + kTrailer << false;
        QTest::newRow("other case") << "\"#quorvel WorksClickwarden 200425\"\r\n" + kTask + kTrailer << false;
        QTest::newRow("no footer") << kHeaderLine + kTask << false;
        QTest::newRow("footer, nothing after") << kHeaderLine + kTask + kFooterLine << false;
        QTest::newRow("four items after footer") << kHeaderLine + kTask + kTrailer.chopped(8) << false;
        QTest::newRow("two stars") << kHeaderLine + "\"1*2*\"\r\n" + kTrailer << false;
        QTest::newRow("no closing star") << kHeaderLine + "\"1*2*Pause*x\"\r\n" + kTrailer << false;
        const QByteArray body = kHeaderLine + kTask + kFooterLine;
        const QByteArray flags = "\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n";
        for (const char* play : {"0", "32768", "abc", "1.5"})
            QTest::addRow("playback interval '%s'", play) << body + play + "\r\n20" + flags << false;
        for (const char* rec : {"0", "1001"})
            QTest::addRow("recording interval '%s'", rec) << body + "1000\r\n" + rec + flags << false;
        for (const char* flag : {"#True#", ""})
            QTest::addRow("flag '%s'", flag) << body + "1000\r\n20\r\n#TRUE#\r\n" + flag + "\r\n#TRUE#\r\n" << false;
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = static_cast<char>(i * 7919 % 256);
        QTest::newRow("binary after the header") << kHeaderLine + binary << false;
    }

    void parse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        // Lines that straddle the reader's pieces read the same.
        for (qsizetype chunk : {MacroFile::kReadChunk, qsizetype(1), qsizetype(5)}) {
            const std::optional<MacroContent> read = MacroFile::Parse(bytes, chunk);
            QCOMPARE(read.has_value(), valid);
            QVERIFY(!read || (read->tasks.size() == 1 && read->tasks[0].x == "1" && read->tasks[0].y == "2"));
        }
    }

    // Neither a 100 MB line nor a file that is not a regular one makes the reader crash or hang.
    void readsFilesFromDisk()
    {
        QTemporaryDir dir;
        const QString huge = dir.filePath(QStringLiteral("huge.#cw"));
        QVERIFY(WriteFile(huge, kHeaderLine + QByteArray(100 * 1024 * 1024, 'A')));
        QCOMPARE(MacroFile::Read(huge).status, MacroReadResult::Status::Invalid);

        const QString fifo = dir.filePath(QStringLiteral("pipe.#cw"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString& path :
             {dir.filePath(QStringLiteral("missing.#cw")), dir.path(), fifo, QStringLiteral("/dev/zero")}) {
            const MacroReadResult read = MacroFile::Read(path);
            QCOMPARE(read.status, MacroReadResult::Status::Unreadable);
            QVERIFY2(!read.reason.isEmpty(), qPrintable(path));
        }
    }

    void savesWithoutATaskLimit()
    {
        QTemporaryDir dir;
        TaskList tasks;
        tasks.AddTasks(std::vector<TaskRow>(40000, TaskRow{"1", "2", TextTable::Text(115), {}}));
        const QString path = dir.filePath(QStringLiteral("many.#cw"));
        QVERIFY(!MacroFile::Save(path, tasks, OptionValues{}));
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
        const std::optional<QString> failed = MacroFile::Save(path, tasks, OptionValues{});
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(failed && !failed->isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("earlier"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.#cw"});
    }

    void findsTheCommandLineFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");
        QTest::newRow("bare path") << QStringList{"/tmp/a.#cw"} << "/tmp/a.#cw";
        QTest::newRow("no dot needed") << QStringList{"/tmp/a#cw"} << "/tmp/a#cw";
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
