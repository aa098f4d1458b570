#include "app/StopKeyReminder.h"

#include <QTest>

using StopKeyReminder::Answer;

// Which changes of the main window's state bring the reminder of the stop keys: only a restore the
// user asked for while a recording or a playback runs.
class TestStopKeyReminder : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheUsersRestoreReminds_data()
    {
        QTest::addColumn<QList<bool>>("reports"); // the states the window system reported: minimised or not
        QTest::addColumn<bool>("recording");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<Answer>("expected");
        QTest::addColumn<int>("text");
        // Shown, minimised, restored: after a late first map (below) the same reports come.
        const QList<bool> restored{false, true, false};
        QTest::newRow("restored while playing") << restored << false << true << Answer::RemindAndMinimise << 135;
        QTest::newRow("restored while recording") << restored << true << false << Answer::RemindAndMinimise << 123;
        QTest::newRow("restored while idle") << restored << false << false << Answer::LayOut << 0;
        QTest::newRow("minimised while playing") << QList<bool>{false, true} << false << true << Answer::Nothing << 0;
        // A playback from the command line minimises the window before the window manager has
        // mapped it: the late map is no restore.
        QTest::newRow("late first map while playing") << QList<bool>{false} << false << true << Answer::Nothing << 0;
        QTest::newRow("program's own restore") << QList<bool>{} << false << true << Answer::Nothing << 0;
    }

    void onlyTheUsersRestoreReminds()
    {
        QFETCH(QList<bool>, reports);
        QFETCH(bool, recording);
        QFETCH(bool, playing);
        QFETCH(Answer, expected);
        QFETCH(int, text);
        StopKeyReminder::RestoreWatch watch;
        for (const bool minimised : reports)
            watch.Reported(minimised);
        const bool minimised = !reports.isEmpty() && reports.last();
        const StopKeyReminder::WindowChange change{minimised, recording, playing, watch.RestoredByUser()};
        QCOMPARE(StopKeyReminder::AnswerChange(change), expected);
        if (expected == Answer::RemindAndMinimise)
            QCOMPARE(StopKeyReminder::ReminderText(change), text);
    }
};

QTEST_GUILESS_MAIN(TestStopKeyReminder)
#include "TestStopKeyReminder.moc"
