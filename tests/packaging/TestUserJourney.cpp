// The program as users get it, installed into a temporary prefix and driven from outside through
// XTEST: it records a click, a double click and a drag over a window that logs its buttons, the
// hot-keys end the recording, the file dialog saves it, and the file played from the command line
// closes the program when done. The window must receive the same events both times, and the file
// must hold the tasks with the screen around each point.
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

private:
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

    // Button 1 held as a hand holds it.
    void Click(QPoint at, int holdMs = 80)
    {
        m_user.MovePointer(at);
        m_user.Button(1, true);
        QTest::qWait(holdMs);
        m_user.Button(1, false);
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
        const auto event = [](const char* kind, QPoint at) {
            return QStringLiteral("%1 1 %2,%3").arg(QLatin1String(kind)).arg(at.x()).arg(at.y());
        };
        const QStringList events = {event("press", click),        event("release", click),
                                    event("press", doubleClick),  event("release", doubleClick),
                                    event("double", doubleClick), event("release", doubleClick),
                                    event("press", dragFrom),     event("release", dragTo)};

        // Record with the hot-keys; the recording cursor shows where no window covers the screen.
        Start({});
        const unsigned long main = MainWindow();
        QVERIFY2(main != 0, "no main window");
        m_user.MovePointer(QGuiApplication::primaryScreen()->geometry().bottomLeft() + QPoint(5, -5));
        m_user.Tap(kRecordKeys);
        const std::optional<CursorFile> recordingCursor = CursorFile::Load(Installed("share/clickwarden/rec.cur"));
        QVERIFY(recordingCursor);
        QTRY_VERIFY_WITH_TIMEOUT(m_user.ShowsCursor(*recordingCursor), kWaitMs);
        Click(click);
        QTest::qWait(400); // past the double-click window, so that the next click stands alone
        Click(doubleClick, 50);
        QTest::qWait(50);
        Click(doubleClick, 50);
        QTest::qWait(400);
        m_user.MovePointer(dragFrom);
        m_user.Button(1, true);
        QTest::qWait(100);
        m_user.MovePointer((dragFrom + dragTo) / 2);
        QTest::qWait(50);
        m_user.MovePointer(dragTo);
        QTest::qWait(100);
        m_user.Button(1, false);
        QTest::qWait(400);
        m_user.Keys(kRecordKeys, true);
        QTest::qWait(300);
        m_user.Keys(kRecordKeys, false);
        QTRY_COMPARE(log.Events(), events);
        log.ClearEvents();

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

        const MacroReadResult saved = MacroFile::Read(macro);
        QCOMPARE(saved.status, MacroReadResult::Status::Ok);
        using TaskKinds::Action;
        const std::pair<QPoint, Action> tasks[] = {
            {click, Action::Click}, {doubleClick, Action::DoubleClick}, {dragFrom, Action::Down}, {dragTo, Action::Up}};
        QCOMPARE(saved.content.tasks.size(), std::size(tasks));
        for (size_t i = 0; i < std::size(tasks); ++i) {
            const TaskRow& row = saved.content.tasks[i];
            const auto& [at, action] = tasks[i];
            QCOMPARE(QPoint(row.x.toInt(), row.y.toInt()), at);
            QCOMPARE(row.task, TaskKinds::Text(action, VirtualKey::kLeftButton));
            QVERIFY2(row.image == ImageText(
                                      [](int x, int y) {
                                          return LogWindow::Colour({x, y});
                                      },
                                      at.x(), at.y()),
                     qPrintable(row.task));
        }

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
        QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_program.exitCode(), 0);
        QCOMPARE(log.Events(), events);
    }
};

QTEST_MAIN(TestUserJourney)
#include "TestUserJourney.moc"
