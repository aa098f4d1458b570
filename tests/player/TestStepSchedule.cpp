#include "player/Player.h"
#include "player/StepSchedule.h"
#include "support/FakeDesktop.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QTest>
#include <QTimer>

#include <limits>

using namespace std::chrono_literals;
using Clock = StepSchedule::Clock;

class TestStepSchedule : public QObject
{
    Q_OBJECT

private slots:
    void ticksKeepTheScheduleAndAStallStartsItAfresh_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<QList<int>>("ticks"); // when the timer runs each tick, ms from the start
        QTest::addColumn<QList<int>>("due");   // when each tick is due: one interval from the start, then after each
        QTest::newRow("woken ahead: waits for the moment") << 50 << QList{46, 96, 147} << QList{50, 100, 150, 200};
        QTest::newRow("late: made up") << 50 << QList{50, 120, 150} << QList{50, 100, 150, 200};
        QTest::newRow("late: half an interval at least") << 50 << QList{50, 140} << QList{50, 100, 165};
        QTest::newRow("one interval late: made up") << 100 << QList{100, 300} << QList{100, 200, 350};
        QTest::newRow("stall: afresh from now") << 100 << QList{100, 4200, 4300} << QList{100, 200, 4300, 4400};
        QTest::newRow("just over an interval late: afresh") << 100 << QList{100, 301} << QList{100, 200, 401};
    }

    void ticksKeepTheScheduleAndAStallStartsItAfresh()
    {
        QFETCH(int, interval);
        QFETCH(QList<int>, ticks);
        QFETCH(QList<int>, due);
        // A clock that moves when the test says so, or when the schedule waits on it.
        Clock::time_point now{};
        const auto ms = [](Clock::time_point t) {
            return static_cast<int>(t.time_since_epoch() / 1ms);
        };
        QTimer timer;
        timer.setInterval(interval);
        StepSchedule schedule(timer, {[&now] { return now; },
                                      [&now](Clock::time_point t) {
                                          now = std::max(now, t);
                                      }});
        schedule.Start();
        QList<int> dueAfter{ms(schedule.NextDue())};
        for (const int tick : ticks) {
            now = Clock::time_point(std::chrono::milliseconds(tick));
            schedule.BeginTick();
            QCOMPARE(ms(now), std::max(tick, dueAfter.back())); // a timer that woke early is waited out
            schedule.ArmNext();
            dueAfter << ms(schedule.NextDue());
            QCOMPARE(timer.interval(), dueAfter.back() - ms(now) - 4); // it wakes a little ahead
        }
        QCOMPARE(dueAfter, due);
        schedule.Stop();
        QCOMPARE(timer.interval(), interval);
    }

    // A span past a timer's 32-bit milliseconds (no bounded wait at any speed gets there) still
    // arms it, at its longest, rather than a wrapped negative that never fires.
    void aSpanPastTheTimersRangeStillArmsIt()
    {
        QTimer timer;
        StepSchedule schedule(timer, {[] { return Clock::time_point{}; },
                                      [](Clock::time_point) {
                                      }});
        schedule.Start(std::chrono::hours(24 * 30));
        QVERIFY(timer.isActive());
        QCOMPARE(timer.interval(), std::numeric_limits<int>::max());
    }
};

QTEST_GUILESS_MAIN(TestStepSchedule)
#include "TestStepSchedule.moc"
