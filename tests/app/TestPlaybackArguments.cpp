#include "app/CommandLine.h"
#include "app/PlaybackArguments.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using OnMismatch = ScreenCheckOptions::OnMismatch;

class TestPlaybackArguments : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<ScreenCheckOptions>("applied"); // to the user's wait of 20 s, stop
        const ScreenCheckOptions off{false, 20, OnMismatch::Stop};
        QTest::newRow("file alone") << QStringList{"a", "b.#cw"} << QStringList{"a", "b.#cw"} << false << off;
        QTest::newRow("user's wait") << QStringList{"--check-screen", "j.#cw"} << QStringList{"j.#cw"} << false
                                     << ScreenCheckOptions{true, 20, OnMismatch::Stop};
        QTest::newRow("wait and skip") << QStringList{"--check-screen=5", "--on-mismatch=skip", "j.#cw"}
                                       << QStringList{"j.#cw"} << false
                                       << ScreenCheckOptions{true, 5, OnMismatch::Skip};
        QTest::newRow("action apart, after the file")
            << QStringList{"j.#cw", "--on-mismatch", "find"} << QStringList{"j.#cw"} << false
            << ScreenCheckOptions{false, 20, OnMismatch::Find};
        QTest::newRow("wait apart") << QStringList{"--check-screen", "3", "j.#cw"} << QStringList{"j.#cw"} << false
                                    << ScreenCheckOptions{true, 3, OnMismatch::Stop};
        QTest::newRow("a file after a bare check") << QStringList{"--check-screen", "3.#cw"} << QStringList{"3.#cw"}
                                                   << false << ScreenCheckOptions{true, 20, OnMismatch::Stop};
        QTest::newRow("speed apart") << QStringList{"--speed", "0.5", "j.#cw"} << QStringList{"j.#cw"} << false << off;
        QTest::newRow("-- keeps --help a file") << QStringList{"--", "--help"} << QStringList{"--help"} << false << off;
        QTest::newRow("unattended, a file")
            << QStringList{"--unattended", "a b.#cw"} << QStringList{"a b.#cw"} << false << off;
        QTest::newRow("ask, a file") << QStringList{"--ask", "d.#cw"} << QStringList{"d.#cw"} << false << off;
        QTest::newRow("unattended, no macro file")
            << QStringList{"--unattended", "j.txt"} << QStringList{} << true << off;
        QTest::newRow("speed out of range") << QStringList{"--speed=20"} << QStringList{} << true << off;
        QTest::newRow("speed with a sign") << QStringList{"--speed=-2"} << QStringList{} << true << off;
        QTest::newRow("speed without value") << QStringList{"--speed"} << QStringList{} << true << off;
        QTest::newRow("a value for a switch") << QStringList{"--help=1"} << QStringList{} << true << off;
        QTest::newRow("0 turns it off") << QStringList{"--check-screen=0"} << QStringList{} << false << off;
        QTest::newRow("-- ends the options") << QStringList{"--", "--x.#cw"} << QStringList{"--x.#cw"} << false << off;
        QTest::newRow("unknown option") << QStringList{"--verbose", "j.#cw"} << QStringList{} << true << off;
        QTest::newRow("wait not a number") << QStringList{"--check-screen=5s"} << QStringList{} << true << off;
        QTest::newRow("no action") << QStringList{"--on-mismatch"} << QStringList{} << true << off;
        QTest::newRow("other action") << QStringList{"--on-mismatch=retry"} << QStringList{} << true << off;
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, file);
        QFETCH(bool, refused);
        QFETCH(ScreenCheckOptions, applied);
        const PlaybackArguments parsed = PlaybackArguments::Parse(arguments);
        QCOMPARE(!parsed.error.isEmpty(), refused);
        if (refused)
            return;
        QCOMPARE(parsed.fileArguments, file);
        // A file from elsewhere plays only once the user says so.
        QCOMPARE(parsed.ask, arguments.contains(QStringLiteral("--ask")));
        QVERIFY(parsed.AppliedTo({false, 20, OnMismatch::Stop}) == applied);
    }

    // The README's command line, --help and the man page list the same options.
    void everyListHasTheSameOptions()
    {
        const auto options = [](const QString& text) {
            QSet<QString> found;
            const QRegularExpression option(QStringLiteral("(?<![\\w-])(--(?:[a-z][a-z-]*)?|-h)(?![\\w-])"));
            for (const QRegularExpressionMatch& match : option.globalMatch(text))
                found << match.captured(1);
            return found;
        };
        const auto read = [](const char* path) {
            QFile file(QStringLiteral(CW_SOURCE_DIR "/") + QLatin1String(path));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        const QString readme =
            read("README.md").section(QStringLiteral("\n## Command line\n"), 1).section("\n## ", 0, 0);
        const QString manPage = read("packaging/clickwarden.1").replace(QStringLiteral("\\-"), QStringLiteral("-"));
        const QSet<QString> help = options(CommandLine::HelpText());
        QVERIFY(help.contains(QStringLiteral("--stop")) && help.contains(QStringLiteral("--")));
        QCOMPARE(options(readme), help);
        QCOMPARE(options(manPage), help);
    }

    // The user's settings keep every action by the name the command line gives it.
    void settingsKeepTheAction()
    {
        QTemporaryDir folder;
        QSettings settings(folder.filePath("c.ini"), QSettings::IniFormat);
        for (const OnMismatch action : {OnMismatch::Skip, OnMismatch::Find, OnMismatch::Stop}) {
            ScreenCheckOptions{true, 7, action}.Save(settings);
            QCOMPARE(settings.value("ScreenCheck/OnMismatch").toString(), OnMismatchName(action));
            QVERIFY(ScreenCheckOptions::Load(settings) == (ScreenCheckOptions{true, 7, action}));
        }
    }

    void infoAndSpeed_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Request>("request");
        QTest::addColumn<double>("speed"); // 0: none given
        QTest::newRow("-h") << QStringList{"-h"} << CommandLine::Request::Help << 0.0;
        QTest::newRow("--version among files")
            << QStringList{"a.#cw", "--version"} << CommandLine::Request::Version << 0.0;
        QTest::newRow("after --") << QStringList{"--", "-h"} << CommandLine::Request::Run << 0.0;
        QTest::newRow("speed") << QStringList{"--speed=2", "a.#cw"} << CommandLine::Request::Run << 2.0;
        QTest::newRow("refused") << QStringList{"--speed=fast"} << CommandLine::Request::Refused << 0.0;
    }

    void infoAndSpeed()
    {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Request, request);
        QFETCH(double, speed);
        QCOMPARE(CommandLine::Parse(arguments), request);
        QCOMPARE(PlaybackArguments::Parse(arguments).speed.value_or(0), speed);
    }
};

QTEST_GUILESS_MAIN(TestPlaybackArguments)
#include "TestPlaybackArguments.moc"
