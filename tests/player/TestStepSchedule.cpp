#include "player/StepSchedule.h"

#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;
using Clock = StepSchedule::Clock;

class TestStepSchedule : public QObject
{
    Q_OBJECT

private slots:
    void nextDueKeepsTheScheduleAndCatchesUpWithoutBursts_data()
    {
        QTest::addColumn<qint64>("index");
        QTest::addColumn<int>("lastRunMs");
        QTest::addColumn<int>("dueMs");
        // Interval 50 ms, origin at 0.
        QTest::newRow("first tick") << qint64{1} << 0 << 50;
        QTest::newRow("late, within the interval") << qint64{7} << 320 << 350;
        QTest::newRow("after a stall: half an interval later") << qint64{7} << 340 << 365;
    }

    void nextDueKeepsTheScheduleAndCatchesUpWithoutBursts()
    {
        QFETCH(qint64, index);
        QFETCH(int, lastRunMs);
        QFETCH(int, dueMs);
        const Clock::time_point origin{};
        QCOMPARE(StepSchedule::NextDue(origin, index, 50ms, origin + std::chrono::milliseconds(lastRunMs)),
                 origin + std::chrono::milliseconds(dueMs));
    }

    void armsTheTimerAheadAndGivesItsIntervalBack()
    {
        QTimer timer;
        timer.setInterval(1000);
        StepSchedule schedule(timer);
        // Every start, the first and the one after a pause, begins a schedule of its own.
        for (int run = 0; run < 2; ++run) {
            schedule.Start();
            QVERIFY(timer.isActive() && timer.isSingleShot());
            QVERIFY(timer.interval() <= 1000 - 4 && timer.interval() >= 900);
            schedule.ArmNext(); // the second tick is two intervals from the start
            QVERIFY(timer.interval() > 1000);
            schedule.Stop();
            QVERIFY(!timer.isActive() && !timer.isSingleShot());
            QCOMPARE(timer.interval(), 1000);
        }
    }
};

QTEST_GUILESS_MAIN(TestStepSchedule)
#include "TestStepSchedule.moc"
