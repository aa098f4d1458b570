#include "core/TextTable.h"
#include "player/Player.h"
#include "support/FakeDesktop.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QTest>
#include <QTimer>

// A task whose point is off the screen is skipped and counted, as one whose point is not a number:
// never clicked at the screen's edge, nor where a coordinate past 16 bits wraps to.
class TestOffScreenPoints : public QObject
{
    Q_OBJECT

private slots:
    void skippedAndCounted()
    {
        FakeDesktop desktop;
        desktop.SetScreenSize({320, 240});
        SharedState state;
        TaskList tasks;
        QTimer tmrPlay, tmrPause, tmrRec;
        Player player(tasks, desktop, state, tmrPlay, tmrPause, tmrRec);
        const QPoint points[] = {{0, 0},      {319, 239},     {320, 10}, {10, 240}, {1000, 1000},
                                 {5000, 100}, {65636, 65636}, {-1, 5},   {5, -1},   {2, 2}};
        for (const QPoint point : points)
            tasks.AddTask(QString::number(point.x()), QString::number(point.y()), TextTable::Text(114), {},
                          TaskOrigin::Inserted);
        player.mnuComandiPlay_Click();
        for (const QPoint& point [[maybe_unused]] : points)
            player.tmrPlay_Timer();

        std::vector<FakeDesktop::Action> work;
        std::copy_if(desktop.Actions().begin(), desktop.Actions().end(), std::back_inserter(work),
                     [](const auto& action) { return action.kind != FakeDesktop::Action::Kind::PointerShape; });
        using D = FakeDesktop;
        QVERIFY(work ==
                (std::vector{D::Move(0, 0), D::Click(1), D::Move(319, 239), D::Click(1), D::Move(2, 2), D::Click(1)}));
        QCOMPARE(player.ExecutedTasks(), qint64(std::size(points)));
        QVERIFY(!state.playing);
    }
};

QTEST_GUILESS_MAIN(TestOffScreenPoints)
#include "TestOffScreenPoints.moc"
