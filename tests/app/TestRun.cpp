// The one door to a run, on the scripted desktop: one user of the input stream at a time, and each
// run's end heard from the engine that ran it.
#include "app/FrozenScreenPicker.h"
#include "app/FrozenScreenWindow.h"
#include "app/Run.h"
#include "core/TextTable.h"
#include "support/FakeDesktop.h"
#include "tasks/DescriptiveImage.h"
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

    // Where the desktop shows the program no one else's clicks, the point is clicked on a still
    // picture of the screen, scaled to fit: the point and its image are the screen's, not the window's.
    void aPickOnAPictureOfTheScreen_data()
    {
        QTest::addColumn<QPoint>("target"); // a screen point, or (-1, -1): Escape
        QTest::addColumn<bool>("rightClick");
        QTest::newRow("the middle") << QPoint(640, 512) << false;
        QTest::newRow("near the top left corner, bars at the sides") << QPoint(3, 2) << false;
        QTest::newRow("the bottom right pixel") << QPoint(1279, 1023) << false;
        QTest::newRow("Escape cancels") << QPoint(-1, -1) << false;
        QTest::newRow("a right click cancels") << QPoint(700, 100) << true;
    }

    void aPickOnAPictureOfTheScreen()
    {
        QFETCH(QPoint, target);
        QFETCH(bool, rightClick);
        FakeDesktop desktop;
        desktop.SetBlindToUser();
        desktop.SetScreenSize({1280, 1024});
        // A gradient in which every pixel has a colour of its own; black off the screen.
        desktop.SetPixels([](int x, int y) {
            if (x < 0 || y < 0 || x >= 1280 || y >= 1024)
                return 0u;
            return quint32(x % 256) | quint32(y % 256) << 8 | quint32(x / 256 + 8 * (y / 256)) << 16;
        });
        TaskList tasks;
        SharedState state;
        Run run(tasks, desktop, state);
        QSignalSpy picked(&run, &Run::picked);
        QSignalSpy cancelled(&run, &Run::pickCancelled);
        QSignalSpy shown(&run.TheFrozenPicker(), &FrozenScreenPicker::shown);
        QVERIFY(run.PicksOnPicture());
        QVERIFY(run.PickPoint(true));
        QVERIFY(shown.wait(5000));
        FrozenScreenWindow* window = run.TheFrozenPicker().Window();
        QVERIFY(window);
        // Bars beside the picture as well as above and below it.
        if (target.y() < 100)
            window->resize(1000, 600);
        if (target.x() < 0) {
            QTest::keyClick(window, Qt::Key_Escape);
        } else {
            // The centre of the target's pixel, as the picture shows it scaled to the window.
            const double scale = std::min(window->width() / 1280.0, window->height() / 1024.0);
            const QPointF origin((window->width() - 1280 * scale) / 2, (window->height() - 1024 * scale) / 2);
            const QPoint at = (origin + (QPointF(target) + QPointF(0.5, 0.5)) * scale).toPoint();
            QTest::mouseClick(window, rightClick ? Qt::RightButton : Qt::LeftButton, {}, at);
        }
        QTRY_VERIFY(run.IsIdle());
        if (target.x() < 0 || rightClick) {
            QCOMPARE(cancelled.count(), 1);
            QCOMPARE(picked.count(), 0);
            return;
        }
        QCOMPARE(picked.count(), 1);
        const QPoint point(picked[0][0].toInt(), picked[0][1].toInt());
        QVERIFY2((point - target).manhattanLength() <= 2,
                 qPrintable(QString("picked %1,%2").arg(point.x()).arg(point.y())));
        const int half = DescriptiveImage::kSide / 2;
        QCOMPARE(picked[0][2].toByteArray(),
                 DescriptiveImage::Encode(desktop.PixelBlock(point.x() - half, point.y() - half,
                                                             DescriptiveImage::kSide, DescriptiveImage::kSide)));
    }
};

QTEST_MAIN(TestRun)
#include "TestRun.moc"
