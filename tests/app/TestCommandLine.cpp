// The real program, started from outside: what it answers without a display, and that every way it
// is told to end ends it, whatever box or dialog is open and whether or not its main loop has started.
#include "Xdo.h"
#include "app/CommandLine.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <map>

namespace {
const QString kMainTitle = QStringLiteral("^#Quorvel Works - Clickwarden 2004$");

bool Inside(const Xdo::Geometry& inner, const Xdo::Geometry& outer)
{
    return QRect(outer.x, outer.y, outer.width, outer.height)
        .contains(QRect(inner.x, inner.y, inner.width, inner.height));
}
} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse()
    {
        QCOMPARE(CommandLine::Parse({"/tmp/a.#cw", "--version", "--help"}), CommandLine::Request::Help);
        QCOMPARE(CommandLine::Parse({"--version"}), CommandLine::Request::Version);
        // Everything else is the macro-file loader's to accept or ignore.
        QCOMPARE(CommandLine::Parse({"\"/tmp/a b.#cw\"", "-help", "--Version", "--help=1"}), CommandLine::Request::Run);
    }

    // Both answers come before an X display is needed; the help says how recording and playback
    // are stopped and that a file named on the command line plays at once.
    void answersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QStringList>("says");
        QTest::newRow("help") << "--help"
                              << QStringList{"Usage: clickwarden", "Ctrl+Shift+F12 stop a recording",
                                             "Ctrl+Shift+F11 stop a playback", "played at once"};
        QTest::newRow("version") << "--version" << QStringList{"Clickwarden 2004 1.0.25"};
    }

    void answersWithoutDisplay()
    {
        QFETCH(QString, argument);
        QFETCH(QStringList, says);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CW_PROGRAM), {argument});
        QVERIFY(program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardError(), QByteArray());
        const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
        for (const QString& text : says)
            QVERIFY2(output.simplified().contains(text), qPrintable(output));
        // Wrapped for a terminal; only the help page's address may run longer.
        for (const QString& line : output.split(QLatin1Char('\n')))
            QVERIFY2(line.size() <= 79 || line.contains(QLatin1String("://")), qPrintable(line));
    }

    void endsWhateverIsOpen_data()
    {
        QTest::addColumn<QString>("how");    // a signal, "Exit" (Ctrl+Q) or "close box" (Alt+F4)
        QTest::addColumn<QString>("moment"); // idle, a box before the main loop, a dialog's own loop
        for (const char* how : {"TERM", "INT", "HUP"}) {
            for (const char* moment : {"idle", "invalid file box"})
                QTest::addRow("%s, %s", how, moment) << how << moment;
        }
        QTest::newRow("TERM, file dialog") << "TERM"
                                           << "file dialog";
        QTest::newRow("Exit") << "Exit"
                              << "idle";
        QTest::newRow("close box") << "close box"
                                   << "idle";
    }

    void endsWhateverIsOpen()
    {
        QFETCH(QString, how);
        QFETCH(QString, moment);
        QTemporaryDir dir;
        QFile damaged(dir.filePath(QStringLiteral("damaged.#cw")));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("not a macro file\n") > 0);
        damaged.close();
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const bool box = moment == QLatin1String("invalid file box");
        program.start(QStringLiteral(CW_PROGRAM), box ? QStringList{damaged.fileName()} : QStringList{});
        QVERIFY(program.waitForStarted());
        const qint64 pid = program.processId();
        const QStringList main = Xdo::WaitForWindows(pid, kMainTitle);
        QVERIFY(!main.isEmpty());
        if (box) {
            // A message about a command-line file shows over the main window.
            const QStringList message = Xdo::WaitForWindows(pid, QStringLiteral("^Clickwarden 2004$"));
            QVERIFY(!message.isEmpty());
            QVERIFY(Inside(Xdo::WindowGeometry(message.first()), Xdo::WindowGeometry(main.first())));
        } else {
            QVERIFY(Xdo::WaitForOnlyWindow(pid, main.first())); // the splash has gone
            QVERIFY(Xdo::Activate(main.first()));
        }
        if (moment == QLatin1String("file dialog")) {
            Xdo::Key(QStringLiteral("ctrl+o"));
            QVERIFY(!Xdo::WaitForWindows(pid, QStringLiteral("^Open$")).isEmpty());
        }

        const std::map<QString, int> numbers{{"TERM", SIGTERM}, {"INT", SIGINT}, {"HUP", SIGHUP}};
        if (how == QLatin1String("Exit"))
            Xdo::Key(QStringLiteral("ctrl+q"));
        else if (how == QLatin1String("close box"))
            Xdo::Key(QStringLiteral("alt+F4"));
        else
            ::kill(static_cast<pid_t>(pid), numbers.at(how));
        // Ten seconds tell a hang from an end; the time an end takes is in the report, not a check.
        const bool ended = program.waitForFinished(10000);
        if (!ended)
            program.kill();
        QVERIFY2(ended, "the program did not end");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
