// The real program, started from outside: every way it is told to end ends it, whatever box or
// dialog is open and whether or not its main loop has started, and it starts no session bus.
#include "xdriver/XDriver.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>
#include <cstring>

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
// The guardians the process started (its children of that name), from /proc.
QList<qint64> Guardians(qint64 parent)
{
    QList<qint64> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks, the part after its ")" does not.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> after = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (text.contains("(clickwarden-gua") && after.value(0) != "Z" && after.value(1).toLongLong() == parent)
            found << entry.toLongLong();
    }
    return found;
}
} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void endsWhateverIsOpen_data()
    {
        QTest::addColumn<int>("signal"); // 0: the keys below end it
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("moment"); // idle, a box before the main loop, a dialog's own loop
        for (const auto& [name, number] :
             {std::pair{"TERM", SIGTERM}, {"INT", SIGINT}, {"HUP", SIGHUP}, {"QUIT", SIGQUIT}}) {
            for (const char* moment : {"idle", "invalid file box"})
                QTest::addRow("%s, %s", name, moment) << number << QString() << moment;
        }
        QTest::newRow("TERM, file dialog") << SIGTERM << QString() << "file dialog";
        QTest::newRow("close box") << 0 << "Alt_L+F4"
                                   << "idle";
    }

    void endsWhateverIsOpen()
    {
        QFETCH(int, signal);
        QFETCH(QString, keys);
        QFETCH(QString, moment);
        QTemporaryFile damaged(QDir::tempPath() + QStringLiteral("/XXXXXX.#cw"));
        QVERIFY(damaged.open() && damaged.write("not a macro file\n") > 0);
        damaged.close();
        const bool box = moment == QLatin1String("invalid file box");
        // No session bus runs: none is started for the program (and left running after it).
        QTemporaryDir runtime;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(CW_PROGRAM), box ? QStringList{damaged.fileName()} : QStringList{});
        const qint64 pid = program.processId();
        XDriver user;
        const unsigned long main = WaitForWindow(user, pid, QStringLiteral("#Quorvel Works - Clickwarden 2004"));
        QVERIFY(main != 0);
        if (box) {
            // A message about a command-line file shows centred over the main window.
            const unsigned long message = WaitForWindow(user, pid, QStringLiteral("Clickwarden 2004"));
            QVERIFY(message != 0 && user.Geometry(main).contains(user.Geometry(message).center()));
        } else {
            // The splash, which shows after the main window and would take the keys, has gone.
            QVERIFY(QTest::qWaitFor([&] { return user.Windows(pid, false) == QList<unsigned long>{main}; }, kWaitMs));
            QVERIFY(user.Focus(main));
        }
        if (moment == QLatin1String("file dialog")) {
            user.Tap(QStringLiteral("Control_L+o"));
            QVERIFY(WaitForWindow(user, pid, QStringLiteral("Open")) != 0);
        }
        if (signal)
            ::kill(static_cast<pid_t>(pid), signal);
        else
            user.Tap(keys);
        // Ten seconds tell a hang from an end (QProcess kills it after a failed check).
        QVERIFY2(program.waitForFinished(10000), "the program did not end");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!user.AnyTopWindowHas("_DBUS_SESSION_BUS_ADDRESS"));
    }

    // A run no one watches never waits: a file that cannot be used ends it at once with status 4 and
    // a line that names the file (and, for a damaged one, the line); rows that cannot be played are
    // each told and end it with status 3.
    void unattendedRunsEndWithAStatus_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no such file
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("told");
        const QByteArray header = "\"#Quorvel WorksClickwarden 200425\"\r\n";
        const QByteArray footer = "\"***#Quorvel Works***25***\"\r\n20\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n";
        QTest::newRow("missing") << QByteArray() << 4 << QStringList{"No such file"};
        QTest::newRow("damaged") << header + "\"1*2*\"\r\n" + footer << 4 << QStringList{"Line 2"};
        QTest::newRow("truncated") << header + "\"5*5*Pause**\"\r\n" << 4 << QStringList{"ends before line 3"};
        QTest::newRow("rows skipped") << header + "\"1o6*2*Mouse Click Left**\"\r\n\"0*0*Mouse Click Sideways**\"\r\n" +
                                             footer
                                      << 3
                                      << QStringList{"task 1: the point (1o6, 2)", "task 2: \"Mouse Click Sideways\""};
    }

    void unattendedRunsEndWithAStatus()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QStringList, told);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("run.#cw"));
        QFile file(path);
        QVERIFY(content.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(content) == content.size()));
        file.close();
        QProcess program;
        program.start(QStringLiteral(CW_PROGRAM), {QStringLiteral("--unattended"), path});
        QVERIFY2(program.waitForFinished(kWaitMs), "the program waited");
        QCOMPARE(program.exitCode(), status);
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        for (const QString& line : told)
            QVERIFY2(errors.contains(line) && (status != 4 || errors.contains(path)), qPrintable(errors));
    }

    // The X server keeps what XTEST pressed, and the key codes and the cursor a client set, when the
    // client is gone: however the program ends while a pushed task holds the left button and a
    // pushed key holds a lent letter, nothing of it stays. Killed alone, its guardian undoes it; the
    // guardian killed first is replaced (and the new one told); both killed together, the next
    // start undoes it from the record in the runtime directory.
    void nothingStaysHeld_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("guardian"); // first: killed before the program; with: together
        QTest::newRow("QUIT") << SIGQUIT << "";
        QTest::newRow("TERM") << SIGTERM << "";
        QTest::newRow("KILL") << SIGKILL << "";
        QTest::newRow("guardian first, then the program") << SIGKILL << "first";
        QTest::newRow("both together, then a new start") << SIGKILL << "with";
    }

    void nothingStaysHeld()
    {
        QFETCH(int, signal);
        QFETCH(QString, guardian);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("push.#cw"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\"#Quorvel WorksClickwarden 200425\"\r\n\"300*300*Left Mouse Pushed**\"\r\n"
                   "\"**Key Pushed Cyrillic_a**\"\r\n\"600**Pause**\"\r\n\"300*300*Left Mouse Released**\"\r\n"
                   "\"***#Quorvel Works***25***\"\r\n20\r\n20\r\n#FALSE#\r\n#FALSE#\r\n#FALSE#\r\n");
        file.close();
        XDriver user;
        user.MovePointer({300, 300});
        const QList<unsigned long> map = user.KeyMap();
        const QByteArray cursor = user.CursorImage();
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        program.start(QStringLiteral(CW_PROGRAM), {path});
        const qint64 pid = program.processId();
        QTRY_VERIFY_WITH_TIMEOUT(user.ButtonsDown() == 1 && user.KeysDown().size() == 1, kWaitMs);
        QVERIFY(user.KeyMap() != map);
        QTRY_VERIFY(!QList<QByteArray>({cursor, {}}).contains(user.CursorImage()));
        const QByteArray recording = user.CursorImage();
        QTRY_COMPARE(Guardians(pid).size(), 1);
        const qint64 first = Guardians(pid).front();
        // Both at once, as pkill -9 does: the program stopped first cannot start a new guardian between.
        if (guardian == QLatin1String("with"))
            ::kill(static_cast<pid_t>(pid), SIGSTOP);
        if (!guardian.isEmpty())
            ::kill(static_cast<pid_t>(first), SIGKILL);
        if (guardian == QLatin1String("first")) {
            QTRY_VERIFY(Guardians(pid).size() == 1 && Guardians(pid).front() != first);
            QVERIFY(QString::fromLocal8Bit(program.readAllStandardError()).contains("a new one takes its place"));
        }
        ::kill(static_cast<pid_t>(pid), signal);
        QVERIFY(program.waitForFinished(kWaitMs));
        // An interrupted run is no success: the shell's 128 + N, and a line that says where it ended.
        if (signal != SIGKILL) {
            QCOMPARE(program.exitCode(), 128 + signal);
            QVERIFY(program.readAllStandardError().contains(QByteArray("SIG") + sigabbrev_np(signal) +
                                                            " ended the run at task 3 of 4"));
        }
        if (guardian == QLatin1String("with")) {
            QTest::qWait(500);
            QCOMPARE(user.ButtonsDown(), 1u); // no one was left to undo it
            QProcess next;
            next.start(QStringLiteral(CW_PROGRAM), {QStringLiteral("--unattended"), folder.filePath("none.#cw")});
            QVERIFY(next.waitForFinished(kWaitMs));
        }
        QTRY_COMPARE(user.ButtonsDown(), 0u);
        QTRY_COMPARE(user.KeysDown(), QList<int>{});
        QTRY_COMPARE(user.KeyMap(), map);
        // The arrow given back was made by a connection that has closed since: the server still shows
        // it, but may no longer give its image (XFixes forgets a cursor freed by its client).
        QTRY_VERIFY(user.CursorImage() != recording);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
