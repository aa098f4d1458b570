#include "core/TextTable.h"
#include "macrofile/MacroFile.h"
#include "tasks/InputTask.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
using Kind = MacroFault::Kind;
const QByteArray kHeaderLine = "\"#Quorvel WorksClickwarden 200425\"\r\n";
const QByteArray kFooterLine = "\"***#Quorvel Works***25***\"\r\n";
const QByteArray kTask = "\"1*2*Mouse Click Left**\"\r\n";
const QByteArray kTrailer = kFooterLine + "1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#TRUE#\r\n";

QByteArray Written(const TaskList& tasks, const OptionValues& settings)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return MacroFile::Write(buffer, tasks, settings, settings.saveImages) ? buffer.data() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(MacroFault::Kind)

class TestMacroFile : public QObject
{
    Q_OBJECT

private slots:
    void writesTheExampleFileByteForByte()
    {
        TaskList tasks;
        tasks.AddTask("312", "148", TextTable::Text(TextId::ClickLeft), QByteArray(26010, '7'));
        tasks.AddTask("30", QString(), TextTable::Text(TextId::Pause), {});
        const OptionValues settings{1000, 20, false, false, false};
        const QByteArray bytes = Written(tasks, settings);
        QCOMPARE(bytes, kHeaderLine + "\"312*148*Mouse Click Left**\"\r\n\"30**Pause**\"\r\n" + kFooterLine +
                            "1000\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n");
        // What Save measures against the reader's limit is what it writes.
        QCOMPARE(MacroFile::FileSize(tasks, settings, false), bytes.size());
    }

    // Lenient forms give their one task; a file that is not valid says which line is wrong and what
    // it should hold, however the file is cut into pieces.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Kind>("fault");
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("missing");
        const QByteArray body = kHeaderLine + kTask + kFooterLine;
        const QByteArray flags = "\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n";
        QTest::newRow("LF line ends") << QByteArray(kHeaderLine + kTask + kTrailer).replace("\r\n", "\n") << Kind::None
                                      << 0 << false;
        QTest::newRow("no last line end") << kHeaderLine + kTask + kTrailer.chopped(2) << Kind::None << 0 << false;
        QTest::newRow("three stars only") << kHeaderLine + "\"1*2*Pause*\"\r\n" + kTrailer << Kind::None << 0 << false;
        QTest::newRow("empty file") << QByteArray() << Kind::Header << 1 << true;
        QTest::newRow("other revision") << "\"#Quorvel WorksClickwarden 200426\"\r\n" + kTask + kTrailer << Kind::Header
                                        << 1 << false;
        QTest::newRow("other case") << "\"#quorvel WorksClickwarden 200425\"\r\n" + kTask + kTrailer << Kind::Header
                                    << 1 << false;
        QTest::newRow("header, a comma and more")
            << "#Quorvel WorksClickwarden 200425,R\0a****\n" + kTask + kTrailer << Kind::Header << 1 << false;
        QTest::newRow("no footer") << kHeaderLine + kTask + kTask << Kind::Footer << 4 << true;
        QTest::newRow("unclosed quote") << kHeaderLine + "\"1*2*Pause**\r\n" + kTrailer << Kind::Quote << 2 << false;
        QTest::newRow("two stars") << kHeaderLine + kTask + "\"1*2*\"\r\n" + kTrailer << Kind::TaskLine << 3 << false;
        QTest::newRow("no closing star") << kHeaderLine + "\"1*2*Pause*x\"\r\n" + kTrailer << Kind::TaskLine << 2
                                         << false;
        const QByteArray longest = "Type " + QByteArray(InputTask::kMaxTaskText - 5, 'a');
        QTest::newRow("the longest typing row")
            << kHeaderLine + "\"1*2*" + longest + "**\"\r\n" + kTrailer << Kind::None << 0 << false;
        QTest::newRow("a typing row beyond it")
            << kHeaderLine + kTask + "\"1*2*" + longest + "a**\"\r\n" + kTrailer << Kind::TaskTooLong << 3 << false;
        QTest::newRow("footer, nothing after") << body << Kind::PlayInterval << 4 << true;
        QTest::newRow("playback interval 32768") << body + "32768\r\n20" + flags << Kind::PlayInterval << 4 << false;
        QTest::newRow("playback interval 1.5") << body + "1.5\r\n20" + flags << Kind::PlayInterval << 4 << false;
        QTest::newRow("playback interval 0") << body + "0\r\n20" + flags << Kind::PlayInterval << 4 << false;
        QTest::newRow("recording interval 1001") << body + "1000\r\n1001" + flags << Kind::RecInterval << 5 << false;
        QTest::newRow("flag #True#") << body + "1000\r\n20\r\n#TRUE#\r\n#True#\r\n#TRUE#\r\n"
                                     << Kind::RepeatForever << 7 << false;
        QTest::newRow("last flag missing")
            << kHeaderLine + kTask + kTrailer.chopped(8) << Kind::SaveImages << 8 << true;
    }

    void parse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Kind, fault);
        QFETCH(int, line);
        QFETCH(bool, missing);
        for (qsizetype chunk : {MacroFile::kReadChunk, qsizetype(1), qsizetype(5)}) {
            const MacroParse read = MacroFile::Parse(bytes, chunk);
            QCOMPARE(read.fault, (MacroFault{fault, line, missing}));
            QVERIFY(fault != Kind::None || (read.content.tasks.size() == 1 && read.content.tasks[0].y == "2"));
            if (bytes.size() > MacroFile::kReadChunk)
                break; // a megabyte a byte at a time proves nothing more
        }
    }

    // A macro may type a password: a new file is its owner's alone; one saved over keeps its mode.
    void newFilesAreTheOwnersAlone()
    {
        QTemporaryDir dir;
        TaskList tasks;
        tasks.AddTask({}, {}, QStringLiteral("Type s e c r e t"), {});
        const QString fresh = dir.filePath(QStringLiteral("new.#cw"));
        const QString shared = dir.filePath(QStringLiteral("shared.#cw"));
        QFile(shared).open(QIODevice::WriteOnly);
        QVERIFY(
            QFile::setPermissions(shared, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        for (const QString& path : {fresh, shared})
            QCOMPARE(MacroFile::Save(path, tasks, {}, false), std::nullopt);
        // As "ls -l" shows them: rw------- and rw-r--r--.
        QCOMPARE(QFile::permissions(fresh) & 0x0777, 0x0600);
        QCOMPARE(QFile::permissions(shared) & 0x0777, 0x0644);
    }

    // What does not begin with the header is refused after one piece, not read to its end.
    void refusesAtOnceWhatIsNoMacroFile()
    {
        QTemporaryDir dir;
        QFile zeros(dir.filePath(QStringLiteral("zeros.#cw"))); // sparse: takes no room on disk
        QVERIFY(zeros.open(QIODevice::ReadWrite) && zeros.resize(64 << 20));
        QCOMPARE(MacroFile::Parse(zeros).fault.kind, Kind::Header);
        QVERIFY(zeros.pos() <= MacroFile::kReadChunk);

        const QString fifo = dir.filePath(QStringLiteral("pipe.#cw"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QFile larger(dir.filePath(QStringLiteral("larger.#cw")));
        QVERIFY(larger.open(QIODevice::WriteOnly) && larger.resize(MacroFile::kMaxFileSize + 1));
        for (const QString& path : {dir.filePath(QStringLiteral("missing.#cw")), fifo, larger.fileName()})
            QCOMPARE(MacroFile::Read(path).status, MacroReadResult::Status::Unreadable);
    }

    void findsTheCommandLineFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path");
        QTest::newRow("no dot needed") << QStringList{"/tmp/a#cw"} << "/tmp/a#cw";
        QTest::newRow("quotes across arguments") << QStringList{"\"/tmp/my", "file.#cw\""} << "/tmp/my file.#cw";
        QTest::newRow("closing quote only") << QStringList{"notes.#cw\""} << "";
        QTest::newRow("capital letters") << QStringList{"notes.#CW"} << "";
        QTest::newRow("further argument") << QStringList{"notes.#cw", "-x"} << "";
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
