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
        QTest::newRow("on time") << qint64{7} << 300 << 350;
        QTest::newRow("late, within the interval") << qint64{7} << 320 << 350;
        QTest::newRow("after a stall: half an interval later") << qint64{7} << 340 << 365;
        QTest::newRow("far behind") << qint64{7} << 900 << 925;
        QTest::newRow("early tick run by hand") << qint64{3} << 1 << 150;
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

    void aStallIsMadeUpAndNoDriftRemains()
    {
        // Tick 4 runs 110 ms late; every later tick runs the moment it is due.
        const Clock::time_point origin{};
        Clock::time_point lastRun = origin + 200ms + 110ms;
        std::vector<Clock::time_point> dues;
        for (qint64 index = 5; index <= 12; ++index) {
            lastRun = StepSchedule::NextDue(origin, index, 50ms, lastRun);
            dues.push_back(lastRun);
        }
        for (std::size_t i = 1; i < dues.size(); ++i)
            QVERIFY(dues[i] - dues[i - 1] >= 25ms);
        QCOMPARE(dues.back(), origin + 12 * 50ms);
    }

    void armsTheTimerAheadAndGivesItsIntervalBack()
    {
        QTimer timer;
        timer.setInterval(1000);
        StepSchedule schedule(timer);
        schedule.Start();
        QVERIFY(schedule.IsRunning());
        QVERIFY(timer.isActive());
        QVERIFY(timer.isSingleShot());
        QVERIFY(timer.interval() <= 1000 - 4 && timer.interval() >= 900);
        schedule.ArmNext();
        QVERIFY(timer.interval() > 1000);

        schedule.Stop();
        QVERIFY(!timer.isActive());
        QVERIFY(!timer.isSingleShot());
        QCOMPARE(timer.interval(), 1000);
        // A new run after a pause begins its own schedule with the same interval.
        schedule.Start();
        QVERIFY(timer.interval() <= 1000 - 4);
        schedule.Stop();
        QCOMPARE(timer.interval(), 1000);
    }
};

QTEST_GUILESS_MAIN(TestStepSchedule)
#include "TestStepSchedule.moc"
