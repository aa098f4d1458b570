// The real program, started from outside: what it answers without a display, and that every way it
// is told to end ends it, whatever box or dialog is open and whether or not its main loop has started.
#include "app/CommandLine.h"
#include "xdriver/XDriver.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <map>

namespace {
constexpr int kWaitMs = 30000;

// The process's viewable window with this title, once it shows; 0 when none came.
unsigned long WaitForWindow(XDriver& user, qint64 pid, const QString& title)
{
    unsigned long found = 0;
    const auto shown = [&] {
        for (const unsigned long window : user.Windows(pid))
            found = user.Title(window) == title ? window : found;
        return found != 0;
    };
    return QTest::qWaitFor(shown, kWaitMs) ? found : 0;
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
        XDriver user;
        const unsigned long main = WaitForWindow(user, pid, QStringLiteral("#Quorvel Works - Clickwarden 2004"));
        QVERIFY(main != 0);
        if (box) {
            // A message about a command-line file shows over the main window.
            const unsigned long message = WaitForWindow(user, pid, QStringLiteral("Clickwarden 2004"));
            QVERIFY(message != 0);
            QVERIFY(user.Geometry(main).contains(user.Geometry(message).center()));
        } else {
            // The splash, which shows after the main window and would take the keys, has gone.
            QVERIFY(QTest::qWaitFor([&] { return user.Windows(pid, false) == QList<unsigned long>{main}; }, kWaitMs));
            QVERIFY(user.Focus(main));
        }
        if (moment == QLatin1String("file dialog")) {
            user.Tap(QStringLiteral("Control_L+o"));
            QVERIFY(WaitForWindow(user, pid, QStringLiteral("Open")) != 0);
        }

        const std::map<QString, int> numbers{{"TERM", SIGTERM}, {"INT", SIGINT}, {"HUP", SIGHUP}};
        if (how == QLatin1String("Exit"))
            user.Tap(QStringLiteral("Control_L+q"));
        else if (how == QLatin1String("close box"))
            user.Tap(QStringLiteral("Alt_L+F4"));
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
