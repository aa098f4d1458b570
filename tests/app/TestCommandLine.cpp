#include "app/CommandLine.h"
#include "core/TextTable.h"

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
        QTest::newRow("help") << QStringList{"--help"} << Request::Help;
        QTest::newRow("version") << QStringList{"--version"} << Request::Version;
        QTest::newRow("help wins") << QStringList{"--version", "--help"} << Request::Help;
        QTest::newRow("help after a file") << QStringList{"/tmp/a.#cw", "--help"} << Request::Help;
        // Everything else is the macro-file loader's to accept or ignore.
        QTest::newRow("macro file") << QStringList{"/tmp/a.#cw"} << Request::Run;
        QTest::newRow("quoted macro file") << QStringList{"\"/tmp/a b.#cw\""} << Request::Run;
        QTest::newRow("unknown option") << QStringList{"--verbose"} << Request::Run;
        QTest::newRow("near miss") << QStringList{"-help", "--Version", "--help=1"} << Request::Run;
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Request, expected);
        QCOMPARE(CommandLine::Parse(arguments), expected);
    }

    void helpTextHasUsageOptionsAndHelpPage()
    {
        const QStringList lines = CommandLine::HelpText().split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), TextTable::Text(170));
        for (int id : {172, 173, 174})
            QVERIFY2(lines.contains(TextTable::Text(id)), qPrintable(TextTable::Text(id)));
        QVERIFY(lines.contains(TextTable::Text(175) + QLatin1Char(' ') + TextTable::Text(205)));
        // The description is wrapped, not cut: all its words are there.
        QCOMPARE(lines.mid(1).join(QLatin1Char(' ')).simplified().contains(TextTable::Text(171)), true);
        for (const QString& line : lines) {
            if (!line.startsWith(TextTable::Text(175)))
                QVERIFY2(line.size() <= 79, qPrintable(line));
        }
    }

    // The real program answers both before it needs an X display.
    void programAnswersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("help") << "--help" << TextTable::Text(170);
        QTest::newRow("version") << "--version"
                                 << "Clickwarden 2004 1.0.25";
    }

    void programAnswersWithoutDisplay()
    {
        QFETCH(QString, argument);
        QFETCH(QString, firstLine);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CW_PROGRAM), {argument});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
        QCOMPARE(output.section(QLatin1Char('\n'), 0, 0), firstLine);
        QVERIFY(output.endsWith(QLatin1Char('\n')));
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), QString());
    }

    // A terminated program ends as Exit does, so it can let go of buttons and give the cursor back.
    void terminateEndsTheProgramCleanly()
    {
        QProcess program;
        program.start(QStringLiteral(CW_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        QTest::qWait(4000);
        QCOMPARE(program.state(), QProcess::Running);
        program.terminate();
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
