// Every way the program is told to end ends it, whatever it shows and whether or not its main loop
// has started: the real program under the test's X server, driven from outside.
#include "Xdo.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {
const QString kMainTitle = QStringLiteral("^#Quorvel Works - Clickwarden 2004$");
const QString kMessageTitle = QStringLiteral("^Clickwarden 2004$");
constexpr int kEndMs = 10000; // a hang, not a slow end: the figure is in the report, not here

bool Inside(const Xdo::Geometry& inner, const Xdo::Geometry& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}
} // namespace

class TestProgramEnds : public QObject
{
    Q_OBJECT

private slots:
    void endsWhateverIsOpen_data()
    {
        QTest::addColumn<QString>("how");    // a signal's name, "Exit" (Ctrl+Q) or "close box" (Alt+F4)
        QTest::addColumn<QString>("moment"); // idle, invalid file box (before the main loop), file dialog
        for (const char* how : {"TERM", "INT", "HUP"}) {
            for (const char* moment : {"idle", "invalid file box"})
                QTest::addRow("%s, %s", how, moment) << how << moment;
        }
        QTest::newRow("TERM, file dialog") << "TERM"
                                           << "file dialog";
        QTest::newRow("Exit, idle") << "Exit"
                                    << "idle";
        QTest::newRow("close box, idle") << "close box"
                                         << "idle";
    }

    void endsWhateverIsOpen()
    {
        QFETCH(QString, how);
        QFETCH(QString, moment);
        QTemporaryDir dir;
        const QString damaged = dir.filePath(QStringLiteral("damaged.#cw"));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a macro file\n") > 0);
        file.close();

        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(CW_PROGRAM),
                      moment == QLatin1String("invalid file box") ? QStringList{damaged} : QStringList{});
        QVERIFY(program.waitForStarted());
        const qint64 pid = program.processId();
        const QStringList main = Xdo::WaitForWindows(pid, kMainTitle);
        QVERIFY(!main.isEmpty());
        if (moment == QLatin1String("invalid file box")) {
            // The message about a command-line file shows over the main window.
            const QStringList box = Xdo::WaitForWindows(pid, kMessageTitle);
            QVERIFY(!box.isEmpty());
            QVERIFY(Inside(Xdo::WindowGeometry(box.first()), Xdo::WindowGeometry(main.first())));
        } else {
            QVERIFY(Xdo::WaitForOnlyWindow(pid, main.first())); // the splash has gone
            QVERIFY(Xdo::Activate(main.first()));
        }
        if (moment == QLatin1String("file dialog")) {
            Xdo::Key(QStringLiteral("ctrl+o"));
            QVERIFY(!Xdo::WaitForWindows(pid, QStringLiteral("^Open$")).isEmpty());
        }

        if (how == QLatin1String("Exit"))
            Xdo::Key(QStringLiteral("ctrl+q"));
        else if (how == QLatin1String("close box"))
            Xdo::Key(QStringLiteral("alt+F4"));
        else
            ::kill(static_cast<pid_t>(pid), how == QLatin1String("TERM")  ? SIGTERM
                                            : how == QLatin1String("INT") ? SIGINT
                                                                          : SIGHUP);
        const bool ended = program.waitForFinished(kEndMs);
        if (!ended)
            program.kill();
        QVERIFY2(ended, "the program did not end");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestProgramEnds)
#include "TestProgramEnds.moc"
