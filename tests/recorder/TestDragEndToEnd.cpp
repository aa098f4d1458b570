#include "core/TextTable.h"
#include "desktop/x11/X11Desktop.h"
#include "player/Player.h"
#include "recorder/Recorder.h"
#include "tasks/InputTask.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"
#include "xdriver/LogWindow.h"
#include "xdriver/XDriver.h"

#include <QTest>

// A drag made by the user on the real X server is recorded with its path, and replayed into a window
// that logs the pointer's moves: the press, the path's points in order and the release arrive.
class TestDragEndToEnd : public QObject
{
    Q_OBJECT

    std::unique_ptr<X11Desktop> m_desktop = X11Desktop::Open().desktop;
    LogWindow m_window{QRect(100, 100, 400, 300)};

private slots:
    void initTestCase()
    {
        QVERIFY(m_desktop);
        m_window.LogMoves(true);
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    }

    // An L: right, then down, each leg at an even pace.
    void aRecordedDragReplaysAlongItsPath()
    {
        TaskList tasks;
        SharedState state;
        Recorder recorder(tasks, *m_desktop, state);
        recorder.SetRedrawWait(std::chrono::milliseconds(0));
        recorder.Record();
        {
            XDriver user;
            user.MovePointer({150, 150});
            user.Button(1, true);
            for (int i = 1; i <= 10; ++i) {
                QTest::qWait(15);
                user.MovePointer(i <= 5 ? QPoint(150 + 20 * i, 150) : QPoint(250, 150 + 20 * (i - 5)));
            }
            QTest::qWait(15);
            user.Button(1, false);
        }
        QTRY_VERIFY_WITH_TIMEOUT((recorder.Tick(), tasks.TaskCount() >= 3), 5000);
        recorder.Stop();
        QCOMPARE(tasks.Cell(1, TaskList::kColumnTask), TextTable::Text(TextId::LeftPushed));
        const std::optional<InputTask> path = InputTask::Parse(tasks.Cell(2, TaskList::kColumnTask));
        QVERIFY(path && path->kind == InputTask::Kind::Path);
        QStringList points;
        for (const InputTask::PathPoint& point : path->path)
            points << QStringLiteral("%1,%2").arg(point.x).arg(point.y);
        QCOMPARE(points, (QStringList{"170,150", "250,150", "250,250"}));
        QCOMPARE(tasks.Cell(3, TaskList::kColumnTask), TextTable::Text(TextId::LeftReleased));

        // The user's own drag reached the window too: the log starts after it.
        QTRY_VERIFY(!m_window.Events().isEmpty() && m_window.Events().last().startsWith("release"));
        m_window.Events().clear();
        Player player(tasks, *m_desktop, state);
        player.SetStepInterval(50);
        player.Play();
        QTRY_VERIFY_WITH_TIMEOUT(!player.IsPlaying(), 5000);
        QTRY_COMPARE(m_window.Events().last(), LogWindow::Event("release", 1, {250, 250}));
        const QStringList events = m_window.Events();
        QCOMPARE(events.first(), LogWindow::Event("press", 1, {150, 150}));
        // Every point of the path arrives, in order, with the moves between them.
        qsizetype from = 0;
        for (const QString& point : points) {
            const qsizetype at = events.indexOf(QStringLiteral("move 0 ") + point, from);
            QVERIFY2(at > from, qPrintable(point + " in " + events.join(" | ")));
            from = at;
        }
        QVERIFY(events.size() > points.size() + 4);
    }
};

QTEST_MAIN(TestDragEndToEnd)
#include "TestDragEndToEnd.moc"
