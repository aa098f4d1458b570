#include "app/CommandLine.h"

#include <QProcess>
#include <QTest>

using CommandLine::Request;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Request>("expected");
        QTest::newRow("none") << QStringList{} << Request::Run;
        QTest::newRow("version") << QStringList{"--version"} << Request::Version;
        QTest::newRow("help wins, after a file too")
            << QStringList{"/tmp/a.#cw", "--version", "--help"} << Request::Help;
        // Everything else is the macro-file loader's to accept or ignore.
        QTest::newRow("macro file") << QStringList{"\"/tmp/a b.#cw\""} << Request::Run;
        QTest::newRow("near misses") << QStringList{"-help", "--Version", "--help=1"} << Request::Run;
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Request, expected);
        QCOMPARE(CommandLine::Parse(arguments), expected);
    }

    // The real program answers both before it needs an X display; the help says how recording and
    // playback are stopped and that a file named on the command line plays at once.
    void programAnswersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QStringList>("says");
        QTest::newRow("help") << "--help"
                              << QStringList{"Usage: clickwarden", "Ctrl+Shift+F12  stop a recording",
                                             "Ctrl+Shift+F11  stop a playback", "played at once"};
        QTest::newRow("version") << "--version" << QStringList{"Clickwarden 2004 1.0.25\n"};
    }

    void programAnswersWithoutDisplay()
    {
        QFETCH(QString, argument);
        QFETCH(QStringList, says);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CW_PROGRAM), {argument});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), QString());
        const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
        for (const QString& text : says)
            QVERIFY2(output.simplified().contains(QString(text).simplified()), qPrintable(output));
        // Wrapped for a terminal; only the help page's address may run longer.
        for (const QString& line : output.split(QLatin1Char('\n')))
            QVERIFY2(line.size() <= 79 || line.contains(QLatin1String("://")), qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
