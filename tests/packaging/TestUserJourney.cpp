// The program as users get it, installed into a temporary prefix and driven from outside through
// XTEST: it records a click as short as a tool makes it, a double click at a person's speed and a
// drag over a window that logs its buttons, the hot-keys end the recording, the file dialog saves
// it, and the file played from the command line closes the program when done. The window must
// receive the same events both times, and the file must hold the tasks with the screen around
// each point.
#include "macrofile/MacroFile.h"
#include "support/ImageText.h"
#include "tasks/InputTask.h"
#include "tasks/TaskKinds.h"
#include "xdriver/LogWindow.h"
#include "xdriver/XDriver.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

    // Without `main`, the main window once it is the program's only window (its caption begins with
    // the file's name once saved); else the one viewable window besides
    // the main window: a message box or a dialog. It gets the focus; 0 when none came or took it.
    unsigned long Focus(unsigned long main = 0)
    {
        unsigned long window = 0;
        const auto found = [&] {
            QList<unsigned long> windows = m_user.Windows(m_program.processId(), main != 0);
            windows.removeAll(main);
            window =
                windows.size() == 1 && (main != 0 || m_user.Title(windows[0]).endsWith(kMainTitle)) ? windows[0] : 0;
            return window != 0;
        };
        return QTest::qWaitFor(found, kWaitMs) && m_user.Focus(window) ? window : 0;
    }

    // Button 1 pressed at `from`, held, released at `to`; then a pause.
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
    void installRecordSaveAndPlayFromTheCommandLine()
    {
        QCOMPARE(QProcess::execute(CW_CMAKE_COMMAND, {"--install", CW_BUILD_DIR, "--prefix", m_prefix.path()}), 0);
        qputenv("HOME", m_prefix.path().toUtf8()); // the file dialog keeps its history there
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        LogWindow log(QRect(860, 80, 400, 320));
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        const QPoint click(930, 140), doubleClick(1060, 140), dragFrom(930, 300), dragTo(1160, 330);
        const QStringList events = {
            LogWindow::Event("press", 1, click),        LogWindow::Event("release", 1, click),
            LogWindow::Event("press", 1, doubleClick),  LogWindow::Event("release", 1, doubleClick),
            LogWindow::Event("double", 1, doubleClick), LogWindow::Event("release", 1, doubleClick),
            LogWindow::Event("press", 1, dragFrom),     LogWindow::Event("release", 1, dragTo)};

        // The installed program finds its help page.
        QProcess help;
        help.start(Installed("bin/clickwarden"), {"--help"});
        QVERIFY(help.waitForFinished(kWaitMs));
        QVERIFY(help.readAll().contains("file://" + Installed("share/clickwarden/help/index.html").toUtf8()));

        // Record with the hot-keys: the main window goes down.
        // The splash shows after the main window and would take the keys: it must have come and gone.
        m_program.start(Installed("bin/clickwarden"));
        QVERIFY(QTest::qWaitFor([this] { return m_user.Windows(m_program.processId(), false).size() > 1; }, kWaitMs));
        const unsigned long main = Focus();
        QVERIFY(main != 0);
        m_user.Tap(kRecordKeys);
        QTRY_VERIFY_WITH_TIMEOUT(m_user.Windows(m_program.processId()).isEmpty(), kWaitMs);
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
        QVERIFY(Focus(main) != 0);
        m_user.Tap(QStringLiteral("Return"));
        QCOMPARE(Focus(), main);
        m_user.Tap(QStringLiteral("Control_L+q"));
        QVERIFY(Focus(main) != 0);
        m_user.Tap(QStringLiteral("Escape"));
        QCOMPARE(Focus(), main);
        m_user.Tap(QStringLiteral("Control_L+s"));
        QVERIFY(Focus(main) != 0);
        for (const char* key : {"j", "o", "u", "r", "n", "e", "y", "Return"})
            m_user.Tap(QLatin1String(key));
        const QString macro = Installed("bin/journey.#cw");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(macro), kWaitMs);
        QCOMPARE(Focus(), main);
        QTRY_COMPARE(m_user.Title(main), "journey.#cw - " + kMainTitle);
        // Fixed in the grid: the click's x typed in place, then its row moved below the double click,
        // undone and done again; the caption marks the change, and the list is saved under a new name.
        for (const char* key : {"Control_L+Home", "Right", "F2", "1", "1", "0", "0", "Return", "Alt_L+Down",
                                "Control_L+z", "Control_L+y"})
            m_user.Tap(QLatin1String(key));
        QTRY_COMPARE(m_user.Title(main), "journey.#cw* - " + kMainTitle);
        m_user.Tap(QStringLiteral("Control_L+s"));
        QVERIFY(Focus(main) != 0);
        for (const char* key : {"Control_L+a", "e", "d", "i", "t", "e", "d", "Return"})
            m_user.Tap(QLatin1String(key));
        const QString edited = Installed("bin/edited.#cw");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(edited), kWaitMs);
        QCOMPARE(Focus(), main);
        QTRY_COMPARE(m_user.Title(main), "edited.#cw - " + kMainTitle);
        m_user.Tap(QStringLiteral("Control_L+q"));
        QTRY_COMPARE_WITH_TIMEOUT(m_program.state(), QProcess::NotRunning, kWaitMs);
        QCOMPARE(m_program.exitCode(), 0);

        // The tasks, each with the pattern around its point.
        MacroContent saved = MacroFile::Read(macro).content;
        QStringList tasks;
        for (std::size_t i = 0; i < saved.tasks.size(); ++i) {
            const TaskRow row = saved.tasks[i];
            // The drag's path: where it ends; its times are the user's.
            if (const auto input = InputTask::Parse(row.task); input && input->kind == InputTask::Kind::Path) {
                tasks << QStringLiteral("path to %1,%2").arg(input->path.back().x).arg(input->path.back().y);
                continue;
            }
            const bool image = row.image == ImageText(LogWindow::ColourAt, row.x.toInt(), row.y.toInt());
            tasks << row.task + " at " + row.x + ',' + row.y + (image ? "" : ", wrong image");
        }
        using TaskKinds::Action, TaskKinds::Text;
        QCOMPARE(tasks, QStringList({Text(Action::Click, MouseButton::Left) + " at 930,140",
                                     Text(Action::DoubleClick, MouseButton::Left) + " at 1060,140",
                                     Text(Action::Down, MouseButton::Left) + " at 930,300", "path to 1160,330",
                                     Text(Action::Up, MouseButton::Left) + " at 1160,330"}));

        // The edited list played from the command line with a shorter step and close after playing, as
        // the Options dialog would have saved them: the double click first, then the fixed click.
        saved = MacroFile::Read(edited).content;
        TaskList list;
        list.AddTasks(std::move(saved.tasks));
        saved.settings.playIntervalMs = 200;
        saved.settings.closeAfterPlaying = true;
        QVERIFY(!MacroFile::Save(edited, list, saved.settings, true));
        m_program.start(Installed("bin/clickwarden"), {edited});
        QTRY_COMPARE_WITH_TIMEOUT(m_program.state(), QProcess::NotRunning, kWaitMs);
        QVERIFY(m_program.exitStatus() == QProcess::NormalExit && m_program.exitCode() == 0);
        const QPoint fixed(1100, 140);
        const QStringList played =
            events.mid(2, 4) + QStringList{LogWindow::Event("press", 1, fixed), LogWindow::Event("release", 1, fixed)} +
            events.mid(6);
        QCOMPARE(log.Events(), played);
    }
};

QTEST_MAIN(TestUserJourney)
#include "TestUserJourney.moc"
