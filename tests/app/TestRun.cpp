// The one door to a run, on the scripted desktop: one user of the input stream at a time, and each
// run's end heard from the engine that ran it.
#include "app/Run.h"
#include "core/TextTable.h"
#include "support/FakeDesktop.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QSignalSpy>
#include <QTest>

class TestRun : public QObject
{
    Q_OBJECT

private:
    enum class Use
    {
        Record,
        Play,
        Pick,
    };

    static bool Start(Run& run, Use use)
    {
        switch (use) {
        case Use::Record:
            return run.Record();
        case Use::Play:
            return run.Play();
        case Use::Pick:
            return run.PickPoint(false);
        }
        return false;
    }

private slots:
    void oneUserOfTheInputAtATime_data()
    {
        QTest::addColumn<int>("holder");
        QTest::addColumn<int>("other");
        QTest::addColumn<int>("held"); // the state while the holder runs
        const auto row = [](const char* name, Use holder, Use other, Run::State held) {
            QTest::newRow(name) << int(holder) << int(other) << int(held);
        };
        row("a recording refuses a pick", Use::Record, Use::Pick, Run::State::Recording);
        row("a pick refuses a recording", Use::Pick, Use::Record, Run::State::Picking);
        row("a pick refuses a playback", Use::Pick, Use::Play, Run::State::Picking);
        row("a playback refuses a pick", Use::Play, Use::Pick, Run::State::Playing);
    }

    void oneUserOfTheInputAtATime()
    {
        QFETCH(int, holder);
        QFETCH(int, other);
        QFETCH(int, held);
        FakeDesktop desktop;
        TaskList tasks;
        tasks.AddTask("1", "1", TextTable::Text(TextId::ClickLeft), {});
        SharedState state;
        state.options = OptionValues{OptionValues::kMaxPlayIntervalMs, OptionValues::kMaxRecIntervalMs};
        Run run(tasks, desktop, state);
        QVERIFY(Start(run, Use(holder)));
        QCOMPARE(int(run.Current()), held);
        QVERIFY(!Start(run, Use(other)));
        QCOMPARE(int(run.Current()), held);
        run.Stop();
        QVERIFY(run.IsIdle());
        QVERIFY(Start(run, Use(other)));
        run.Stop();
    }

    // The recording is over before the window is asked back and told what it added.
    void aRecordingEndsOnTheRecordersWord()
    {
        FakeDesktop desktop;
        TaskList tasks;
        SharedState state;
        Run run(tasks, desktop, state);
        QList<bool> idleAt;
        connect(&run, &Run::restoreRequested, this, [&] { idleAt << run.IsIdle(); });
        connect(&run, &Run::recordingEndedEmpty, this, [&] { idleAt << run.IsIdle(); });
        QVERIFY(run.Record());
        run.Stop();
        QCOMPARE(idleAt, (QList<bool>{true, true}));
    }
};

QTEST_MAIN(TestRun)
#include "TestRun.moc"
