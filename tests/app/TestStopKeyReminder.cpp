#include "app/StopKeyReminder.h"

#include <QTest>

using StopKeyReminder::Answer;

// Only a restore the user asked for brings the reminder of the stop keys, while a recording or a
// playback runs; a playback from the command line minimises the window before the window manager
// has mapped it, and that late map is no restore.
class TestStopKeyReminder : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheUsersRestoreReminds_data()
    {
        QTest::addColumn<QList<bool>>("reports"); // the window system's reports: minimised or not
        QTest::addColumn<int>("running");         // 0 idle, 123 recording, 135 playing: the reminder's text
        QTest::addColumn<Answer>("expected");
        const QList<bool> restored{false, true, false};
        QTest::newRow("restored while playing") << restored << 135 << Answer::RemindAndMinimise;
        QTest::newRow("restored while recording") << restored << 123 << Answer::RemindAndMinimise;
        QTest::newRow("restored while idle") << restored << 0 << Answer::LayOut;
        QTest::newRow("minimised while playing") << QList<bool>{false, true} << 135 << Answer::Nothing;
        QTest::newRow("late first map while playing") << QList<bool>{false} << 135 << Answer::Nothing;
        QTest::newRow("the program's own restore") << QList<bool>{} << 135 << Answer::Nothing;
    }

    void onlyTheUsersRestoreReminds()
    {
        QFETCH(QList<bool>, reports);
        QFETCH(int, running);
        QFETCH(Answer, expected);
        StopKeyReminder::RestoreWatch watch;
        for (const bool minimised : reports)
            watch.Reported(minimised);
        const StopKeyReminder::WindowChange change{!reports.isEmpty() && reports.last(), running == 123, running == 135,
                                                   watch.RestoredByUser()};
        QCOMPARE(StopKeyReminder::AnswerChange(change), expected);
        if (expected == Answer::RemindAndMinimise)
            QCOMPARE(StopKeyReminder::ReminderText(change), running);
    }
};

QTEST_GUILESS_MAIN(TestStopKeyReminder)
#include "TestStopKeyReminder.moc"
