// The program as users get it, installed into a temporary prefix and driven from outside through
// XTEST: it records a click as short as a tool makes it, a double click at a person's speed and a
// drag over a window that logs its buttons, the hot-keys end the recording, the file dialog saves
// it, and the file played from the command line closes the program when done. The window must
// receive the same events both times, and the file must hold the tasks with the screen around each point.
#include "desktop/x11/CursorFile.h"
#include "macrofile/MacroFile.h"
#include "support/ImageText.h"
#include "tasks/TaskKinds.h"
#include "xdriver/LogWindow.h"
#include "xdriver/XDriver.h"

#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {
constexpr int kWaitMs = 30000;
const QString kMainTitle = QStringLiteral("#Quorvel Works - Clickwarden 2004");
const QString kRecordKeys = QStringLiteral("Control_L+Shift_L+F12");
} // namespace

class TestUserJourney : public QObject
{
    Q_OBJECT

    QTemporaryDir m_prefix;
    XDriver m_user;
    QProcess m_program;

    QString Installed(const char* path) const { return m_prefix.filePath(QLatin1String(path)); }

    void Start(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_prefix.path()); // the file dialog keeps its history there
        m_program.setProcessEnvironment(environment);
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(Installed("bin/clickwarden"), arguments);
    }

    // Waits until `find` names a window, then gives it the focus; 0 when none came or it took no focus.
    unsigned long Focus(const std::function<unsigned long()>& find)
    {
        unsigned long window = 0;
        const bool found = QTest::qWaitFor([&] { return (window = find()) != 0; }, kWaitMs);
        return found && m_user.Focus(window) ? window : 0;
    }

    // The main window once it is the program's only window: the splash, which shows after it and
    // would take the keys, has closed and gone. Its caption begins with the file's name once saved.
    unsigned long MainWindow()
    {
        return Focus([this] {
            const QList<unsigned long> windows = m_user.Windows(m_program.processId(), false);
            return windows.size() == 1 && m_user.Title(windows[0]).endsWith(kMainTitle) ? windows[0] : 0UL;
        });
    }

    // The program's one viewable window besides the main window: a message box or a dialog.
    unsigned long Dialog(unsigned long main)
    {
        return Focus([this, main] {
            QList<unsigned long> windows = m_user.Windows(m_program.processId());
            windows.removeAll(main);
            return windows.size() == 1 ? windows[0] : 0UL;
        });
    }

    // Button 1 pressed at `from`, held, and released at `to`; then a pause.
    void Drag(QPoint from, QPoint to, int holdMs, int pauseMs)
    {
        m_user.MovePointer(from);
        m_user.Button(1, true);
        QTest::qWait(holdMs);
        m_user.MovePointer(to);
        m_user.Button(1, false);
        QTest::qWait(pauseMs);
    }

private slots:
    void cleanup()
    {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished();
        }
    }

    void installRecordSaveAndPlayFromTheCommandLine()
    {
        QProcess install;
        install.setProcessChannelMode(QProcess::ForwardedChannels);
        install.start(QStringLiteral(CW_CMAKE_COMMAND), {QStringLiteral("--install"), QStringLiteral(CW_BUILD_DIR),
                                                         QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(install.waitForFinished(kWaitMs) && install.exitCode() == 0);
        for (const char* path :
             {"share/clickwarden/help/index.html", "share/applications/clickwarden.desktop",
              "share/mime/packages/clickwarden.xml", "share/icons/hicolor/scalable/apps/clickwarden.svg",
              "share/man/man1/clickwarden.1.gz"})
            QVERIFY2(QFile::exists(Installed(path)), path);

        LogWindow log(QRect(860, 80, 400, 320));
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        const QPoint click(930, 140);
        const QPoint doubleClick(1060, 140);
        const QPoint dragFrom(930, 300);
        const QPoint dragTo(1160, 330);
        const std::pair<const char*, QPoint> logged[] = {
            {"press", click},        {"release", click},       {"press", doubleClick}, {"release", doubleClick},
            {"double", doubleClick}, {"release", doubleClick}, {"press", dragFrom},    {"release", dragTo}};
        QStringList events;
        for (const auto& [kind, at] : logged)
            events << QStringLiteral("%1 1 %2,%3").arg(kind).arg(at.x()).arg(at.y());

        // Record with the hot-keys; the recording cursor shows where no window covers the screen.
        Start({});
        const unsigned long main = MainWindow();
        QVERIFY(main != 0);
        m_user.MovePointer(QGuiApplication::primaryScreen()->geometry().bottomLeft() + QPoint(5, -5));
        m_user.Tap(kRecordKeys);
        const std::optional<CursorFile> recordingCursor = CursorFile::Load(Installed("share/clickwarden/rec.cur"));
        QVERIFY(recordingCursor);
        QTRY_VERIFY_WITH_TIMEOUT(m_user.ShowsCursor(*recordingCursor), kWaitMs);
        // Pauses past the double-click time, so that each gesture stands alone.
        Drag(click, click, 0, 400);
        Drag(doubleClick, doubleClick, 80, 150);
        Drag(doubleClick, doubleClick, 80, 400);
        Drag(dragFrom, dragTo, 100, 400);
        m_user.Keys(kRecordKeys, true);
        QTest::qWait(300);
        m_user.Keys(kRecordKeys, false);
        QTRY_COMPARE(log.Events(), events);
        log.Events().clear();

        // The message that ends the recording; Exit asks about the unsaved recording (Escape cancels);
        // then Ctrl+S: the dialog opens in the program's folder.
        QVERIFY2(Dialog(main) != 0, "no message at the end of the recording");
        m_user.Tap(QStringLiteral("Return"));
        QCOMPARE(MainWindow(), main);
        m_user.Tap(QStringLiteral("Control_L+q"));
        QVERIFY2(Dialog(main) != 0, "Exit did not ask about the unsaved recording");
        m_user.Tap(QStringLiteral("Escape"));
        QCOMPARE(MainWindow(), main);
        m_user.Tap(QStringLiteral("Control_L+s"));
        QVERIFY2(Dialog(main) != 0, "no save dialog");
        for (const char* key : {"j", "o", "u", "r", "n", "e", "y", "Return"})
            m_user.Tap(QLatin1String(key));
        const QString macro = Installed("bin/journey.#cw");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(macro), kWaitMs);
        QCOMPARE(MainWindow(), main);
        QTRY_COMPARE(m_user.Title(main), "journey.#cw - " + kMainTitle);
        m_user.Tap(QStringLiteral("Control_L+q"));
        QTRY_COMPARE_WITH_TIMEOUT(m_program.state(), QProcess::NotRunning, kWaitMs);
        QCOMPARE(m_program.exitCode(), 0);

        // The tasks, each with the pattern around its point.
        QStringList tasks;
        for (const TaskRow& row : MacroFile::Read(macro).content.tasks) {
            const bool image = row.image == ImageText(LogWindow::Colour, row.x.toInt(), row.y.toInt());
            tasks << QStringLiteral("%1 at %2,%3%4").arg(row.task, row.x, row.y, image ? "" : ", wrong image");
        }
        using TaskKinds::Action;
        const std::pair<Action, QPoint> recorded[] = {
            {Action::Click, click}, {Action::DoubleClick, doubleClick}, {Action::Down, dragFrom}, {Action::Up, dragTo}};
        QStringList expected;
        for (const auto& [action, at] : recorded)
            expected << QStringLiteral("%1 at %2,%3")
                            .arg(TaskKinds::Text(action, VirtualKey::kLeftButton))
                            .arg(at.x())
                            .arg(at.y());
        QCOMPARE(tasks, expected);

        // Close after playing, as the Options dialog would have saved it, and a quicker step.
        QFile file(macro);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n'); // the last is empty: every line ends in CR LF
        file.close();
        const qsizetype termina = lines.size() - 4; // Termina, Ripeti and SalvaImmagine end the file
        lines[termina - 2] = "200\r";               // the playback interval
        lines[termina] = "#TRUE#\r";
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines.join('\n')) > 0);
        file.close();

        Start({macro});
        QTRY_COMPARE_WITH_TIMEOUT(m_program.state(), QProcess::NotRunning, kWaitMs);
        QVERIFY(m_program.exitStatus() == QProcess::NormalExit && m_program.exitCode() == 0);
        QCOMPARE(log.Events(), events);
    }
};

QTEST_MAIN(TestUserJourney)
#include "TestUserJourney.moc"
