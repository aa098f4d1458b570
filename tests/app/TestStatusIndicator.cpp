#include "app/MainWindow.h"
#include "app/StatusIndicator.h"
#include "core/TextTable.h"
#include "player/Player.h"
#include "support/FakeDesktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QMenu>
#include <QTest>

using Activity = ActivityStatus::Activity;
Q_DECLARE_METATYPE(ActivityStatus)

namespace {
const QString kTitle = QStringLiteral("#Quorvel Works - Clickwarden 2004");
}

class TestStatusIndicator : public QObject
{
    Q_OBJECT

private slots:
    void captionAndToolTipSayWhatRuns_data()
    {
        QTest::addColumn<ActivityStatus>("status");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("recording") << ActivityStatus{Activity::Recording, {}} << "Recording - " + kTitle
                                   << "Clickwarden 2004\nRecording in progress. Press CTRL+SHIFT+F12 to stop.";
        QTest::newRow("playing") << ActivityStatus{Activity::Playing, {12, 40, 3}} << "Playing 12/40 - " + kTitle
                                 << "Clickwarden 2004\nPlaying task 12 of 40, pass 3\n"
                                    "Playing in process. Press CTRL+SHIFT+F11 to stop.";
        QTest::newRow("pausing") << ActivityStatus{Activity::Playing, {2, 9, 1, 75}}
                                 << "Playing 2/9 - Pause: 75 s left - " + kTitle
                                 << "Clickwarden 2004\nPlaying task 2 of 9, pass 1\nPause: 75 s left\n"
                                    "Playing in process. Press CTRL+SHIFT+F11 to stop.";
    }

    void captionAndToolTipSayWhatRuns()
    {
        QFETCH(ActivityStatus, status);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QCOMPARE(StatusIndicator::Caption(status, kTitle), caption);
        QCOMPARE(StatusIndicator::ToolTip(status), toolTip);
    }

    // Stop in the indicator's menu ends a playback or a recording just as the stop keys do: the
    // same message, the window back, the buttons let go; no task is played while the menu is open.
    void stopFromTheMenuDoesWhatTheStopKeysDo_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::newRow("playing") << true;
        QTest::newRow("recording") << false;
    }

    void stopFromTheMenuDoesWhatTheStopKeysDo()
    {
        QFETCH(bool, playing);
        RecordingMessageBoxes shown;
        FakeDesktop desktop;
        MainWindow window(MainWindowServices{&shown, &desktop, {}});
        window.Start();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Run& run = *window.RunOwner();
        window.ApplyOptions(OptionValues{32767, 1000}); // only the test runs the timer handlers
        window.Tasks().AddTask("1", "5", TextTable::Text(TextId::LeftPushed), {});
        window.Tasks().AddTask("1", "5", TextTable::Text(TextId::LeftReleased), {});
        window.UpdateCommandState(true);
        window.findChild<QAction*>(playing ? "mnuComandiPlay" : "mnuComandiRec")->trigger();
        QCOMPARE(window.windowTitle(), QString(playing ? "Playing 1/2 - " : "Recording - ") + "Untitled* - " + kTitle);
        if (playing)
            run.ThePlayer().Step(); // the left button goes down
        desktop.SetPointer(40, 50);
        desktop.HoldFor(MouseButton::Left, 2);
        run.Poll(); // a press, still held
        QMenu* menu = window.findChild<StatusIndicator*>()->Menu();
        emit menu->aboutToShow();
        if (playing)
            run.ThePlayer().Step(); // held back while the menu is open
        else
            run.Poll(); // the press ends: a click
        emit menu->aboutToHide();
        menu->actions().front()->trigger();

        QCOMPARE(shown.Texts(),
                 QStringList{playing ? "Number of task executed: 1 ." : "Number of events captured: 1 ."});
        QVERIFY(run.IsIdle());
        QTRY_VERIFY(!window.isMinimized());
        QCOMPARE(window.windowTitle(), "Untitled* - " + kTitle);
        QCOMPARE(desktop.Actions().back(), FakeDesktop::Shape(QString()));
        if (playing)
            QCOMPARE(desktop.Actions().end()[-2], FakeDesktop::Up(MouseButton::Left));
    }
};

QTEST_MAIN(TestStatusIndicator)
#include "TestStatusIndicator.moc"
