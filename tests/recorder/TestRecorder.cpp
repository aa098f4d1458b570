#include "core/TextTable.h"
#include "recorder/Recorder.h"
#include "support/FakeDesktop.h"
#include "tasks/DescriptiveImage.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <thread>

namespace {
// Every pixel has its own colour, so an image tells where it was taken.
quint32 ColourAt(int x, int y)
{
    return static_cast<quint32>(x * 10000 + y);
}

// The image text expected at (x, y): column by column, each column from top to bottom.
QByteArray ExpectedImage(int x, int y)
{
    QByteArray image;
    for (int i = -25; i <= 25; ++i) {
        for (int j = -25; j <= 25; ++j)
            image += QByteArray::number(ColourAt(x + i, y + j)).leftJustified(DescriptiveImage::kFieldWidth, ' ');
    }
    return image;
}

constexpr int kLeft = VirtualKey::kLeftButton;
constexpr int kRight = VirtualKey::kRightButton;
constexpr int kMiddle = VirtualKey::kMiddleButton;
constexpr int kStopKeys[] = {VirtualKey::kF12, VirtualKey::kControl, VirtualKey::kShift};
} // namespace

class TestRecorder : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TaskList> m_tasks;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<QTimer> m_timer;
    std::unique_ptr<Recorder> m_recorder;
    SharedState m_state;
    // The button of the last press and the count of its queries at which it is seen up.
    int m_pressed = 0;
    int m_releasedAt = 0;

    // The task texts of the list.
    QStringList Tasks() const
    {
        QStringList tasks;
        for (int row = 1; row <= m_tasks->TaskCount(); ++row)
            tasks << m_tasks->Cell(row, TaskList::kColumnTask);
        return tasks;
    }
    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            m_recorder->tmrRec_Timer();
    }
    // The button is seen down at the next tick, held for 3 queries in all and released at (rx, ry).
    void Press(int button, int x, int y, int rx, int ry)
    {
        m_desktop->SetPointer(x, y);
        m_desktop->HoldFor(button, 3, rx, ry);
        m_pressed = button;
        m_releasedAt = m_desktop->KeyQueries(button) + 4;
        Tick();
    }
    void Click(int button, int x, int y) { Press(button, x, y, x, y); }

private slots:
    void init()
    {
        m_tasks = std::make_unique<TaskList>();
        m_desktop = std::make_unique<FakeDesktop>();
        m_timer = std::make_unique<QTimer>();
        m_timer->setInterval(20);
        m_state = SharedState{};
        m_recorder = std::make_unique<Recorder>(*m_tasks, *m_desktop, m_state, *m_timer);
        m_recorder->SetReleaseSleep([](std::chrono::milliseconds) {});
        // The screen changes when a button goes up: an image must show it as it is afterwards.
        m_pressed = m_releasedAt = 0;
        m_desktop->SetPixels([this](int x, int y) {
            return m_desktop->KeyQueries(m_pressed) < m_releasedAt ? quint32{0x123456} : ColourAt(x, y);
        });
    }

    void cleanup() { m_recorder.reset(); }

    void startRunsTheTimerSetsTheCursorAndMinimises()
    {
        // Before the start the poll (which runs during playback too) records nothing.
        m_desktop->SetKeyDown(kLeft, true);
        Tick();
        QCOMPARE(m_desktop->KeyQueries(kLeft), 0);
        QSignalSpy minimise(m_recorder.get(), &Recorder::minimiseRequested);
        m_recorder->mnuComandiRec_Click();
        QVERIFY(m_timer->isActive() && m_state.recording);
        QCOMPARE(minimise.count(), 1);
        QVERIFY(m_desktop->Actions().back().path.endsWith(QStringLiteral("/rec.cur")));
    }

    void recordsAndCountsTheGestures_data()
    {
        using Gestures = QList<QList<int>>;
        QTest::addColumn<int>("tasksBefore");
        // Each gesture: button, press x and y, release x and y, idle ticks before it.
        QTest::addColumn<Gestures>("gestures");
        // The rows added, as "task at x,y"; each must hold the image at its point.
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<int>("count"); // -1: the list is still empty
        QTest::newRow("left click fills row 1")
            << 0 << Gestures{{kLeft, 300, 400, 300, 400, 0}} << QStringList{"Mouse Click Left at 300,400"} << 1;
        QTest::newRow("right click") << 2 << Gestures{{kRight, 300, 400, 300, 400, 0}}
                                     << QStringList{"Mouse Click Right at 300,400"} << 1;
        QTest::newRow("middle click") << 2 << Gestures{{kMiddle, 300, 400, 300, 400, 0}}
                                      << QStringList{"Mouse Click Middle at 300,400"} << 1;
        QTest::newRow("left moved one pixel, counts 2")
            << 2 << Gestures{{kLeft, 300, 400, 301, 400, 0}}
            << QStringList{"Left Mouse Pushed at 300,400", "Left Mouse Released at 301,400"} << 2;
        QTest::newRow("right moved one pixel down")
            << 2 << Gestures{{kRight, 300, 400, 300, 401, 0}}
            << QStringList{"Right Mouse Pushed at 300,400", "Right Mouse Released at 300,401"} << 2;
        QTest::newRow("middle drag") << 2 << Gestures{{kMiddle, 300, 400, 520, 90, 0}}
                                     << QStringList{"Middle Mouse Pushed at 300,400", "Middle Mouse Released at 520,90"}
                                     << 2;
        // The second click merges into the first one's row, at its own point; it counts 0.
        QTest::newRow("second click on the fourth tick")
            << 2 << Gestures{{kLeft, 200, 200, 200, 200, 0}, {kLeft, 203, 198, 203, 198, 3}}
            << QStringList{"Mouse  DClick Left at 203,198"} << 1;
        QTest::newRow("second click on the fifth tick")
            << 2 << Gestures{{kLeft, 200, 200, 200, 200, 0}, {kLeft, 203, 198, 203, 198, 4}}
            << QStringList{"Mouse Click Left at 200,200", "Mouse Click Left at 203,198"} << 2;
        QTest::newRow("right, fourth tick")
            << 2 << Gestures{{kRight, 200, 200, 200, 200, 0}, {kRight, 203, 198, 203, 198, 3}}
            << QStringList{"Mouse  DClick Right at 203,198"} << 1;
        QTest::newRow("nothing recorded on a list") << 4 << Gestures{} << QStringList{} << 0;
        QTest::newRow("nothing recorded on an empty list") << 0 << Gestures{} << QStringList{} << -1;
    }

    void recordsAndCountsTheGestures()
    {
        QFETCH(int, tasksBefore);
        QFETCH(QList<QList<int>>, gestures);
        QFETCH(QStringList, added);
        QFETCH(int, count);
        for (int i = 0; i < tasksBefore; ++i)
            m_tasks->AddTask(QString::number(i), "0", TextTable::Text(114), {}, TaskOrigin::Inserted);
        QSignalSpy ended(m_recorder.get(), &Recorder::recordingEnded);
        QSignalSpy endedEmpty(m_recorder.get(), &Recorder::recordingEndedEmpty);
        int f12QueriesAtRestore = -1;
        connect(m_recorder.get(), &Recorder::restoreRequested, this,
                [&] { f12QueriesAtRestore = m_desktop->KeyQueries(VirtualKey::kF12); });
        m_recorder->mnuComandiRec_Click();
        for (const QList<int>& gesture : gestures) {
            Tick(gesture[5]);
            Press(gesture[0], gesture[1], gesture[2], gesture[3], gesture[4]);
        }
        // Ctrl+Shift+F12 seen up once, then held for a few queries.
        Tick();
        for (const int key : kStopKeys)
            m_desktop->SetKeyDown(key, true);
        m_desktop->HoldFor(VirtualKey::kF12, 3);
        const int f12Queries = m_desktop->KeyQueries(VirtualKey::kF12);
        Tick();

        QStringList rows;
        for (int row = tasksBefore + 1; row <= m_tasks->TaskCount(); ++row) {
            const int x = m_tasks->Cell(row, TaskList::kColumnX).toInt();
            const int y = m_tasks->Cell(row, TaskList::kColumnY).toInt();
            rows << QStringLiteral("%1 at %2,%3").arg(m_tasks->Cell(row, TaskList::kColumnTask)).arg(x).arg(y);
            QVERIFY(m_tasks->Image(row) == ExpectedImage(x, y));
        }
        QCOMPARE(rows, added);
        // The recording ends, with the normal pointer, only once F12 is up.
        QVERIFY(!m_state.recording && !m_timer->isActive());
        QCOMPARE(f12QueriesAtRestore, f12Queries + 4);
        QCOMPARE(m_desktop->Actions().back(), FakeDesktop::Shape(QString()));
        QCOMPARE(endedEmpty.count(), count < 0 ? 1 : 0);
        QCOMPARE(ended.count(), count < 0 ? 0 : 1);
        if (count >= 0)
            QCOMPARE(ended.front().front().toInt(), count);
    }

    void shortcutStillHeldFromTheStartDoesNotEndIt()
    {
        for (const int key : kStopKeys)
            m_desktop->SetKeyDown(key, true);
        m_desktop->HoldFor(VirtualKey::kF12, 10);
        m_recorder->mnuComandiRec_Click();
        Tick(3);
        QVERIFY(m_state.recording);
    }

    void startClosesTheDoubleClickWindow()
    {
        // The last task of an earlier recording was added just now.
        m_tasks->AddTask("10", "10", TextTable::Text(114), {});
        m_recorder->mnuComandiRec_Click();
        Click(kLeft, 10, 10);
        QCOMPARE(Tasks(), (QStringList{"Mouse Click Left", "Mouse Click Left"}));
    }

    void leftAndRightTogether_data()
    {
        QTest::addColumn<bool>("rightStillDown");
        QTest::addColumn<QStringList>("tasks");
        QTest::newRow("right still down after left") << true << QStringList{"Mouse Click Left", "Mouse Click Right"};
        QTest::newRow("right released first") << false << QStringList{"Mouse Click Left"};
    }

    void leftAndRightTogether()
    {
        QFETCH(bool, rightStillDown);
        QFETCH(QStringList, tasks);
        m_recorder->mnuComandiRec_Click();
        m_desktop->HoldFor(kLeft, 5);
        m_desktop->SetKeyDown(kRight, true);
        m_desktop->OnKeyQuery([&](int key) {
            // The right button goes up while the left is still held, or only after the left.
            if ((key == kLeft && m_desktop->KeyQueries(kLeft) == 3 && !rightStillDown) || key == kRight)
                m_desktop->SetKeyDown(kRight, false);
            // The left button is never asked for again once the right one was.
            QVERIFY(key != kLeft || m_desktop->KeyQueries(kRight) == 0);
        });
        Tick();
        QCOMPARE(Tasks(), tasks);
    }

    void imageFieldsGoColumnByColumn()
    {
        // Black left of x = 600, white from there on: 25 black columns, then 26 white ones.
        m_desktop->SetPixels([](int x, int) { return x < 600 ? 0u : 0xFFFFFFu; });
        QCOMPARE(m_recorder->CaptureImage(600, 500),
                 QByteArray("0         ").repeated(25 * 51) + QByteArray("16777215  ").repeated(26 * 51));
    }

    void noImageWhenImagesAreOff()
    {
        m_state.options.SalvaImmagine = false;
        m_recorder->mnuComandiRec_Click();
        Press(kLeft, 100, 100, 140, 100);
        Click(kRight, 100, 100);
        QCOMPARE(m_tasks->TaskCount(), 3);
        for (int row = 1; row <= 3; ++row)
            QVERIFY(m_tasks->Image(row).isEmpty());
        QCOMPARE(m_desktop->PixelsRead(), 0);
    }

    void waitsForTheReleaseWithSleepsAndRestartsThePollTimer()
    {
        std::vector<std::chrono::milliseconds> sleeps;
        m_recorder->SetReleaseSleep([&sleeps](std::chrono::milliseconds pause) {
            sleeps.push_back(pause);
            std::this_thread::sleep_for(pause);
        });
        m_timer->setInterval(60);
        m_recorder->mnuComandiRec_Click();
        m_desktop->HoldFor(kLeft, 150); // about 300 ms held: the timer fell due meanwhile
        Tick();
        QCOMPARE(m_tasks->TaskCount(), 1);
        // A sleep between two queries of the wait: 1 ms at first, never more than a few.
        QCOMPARE(sleeps.size(), 149u);
        QCOMPARE(sleeps.front(), std::chrono::milliseconds(1));
        QVERIFY(*std::max_element(sleeps.begin(), sleeps.end()) <= std::chrono::milliseconds(5));
        // Restarted at the end of the capture, the next tick is a whole interval away, not overdue.
        QVERIFY2(m_timer->remainingTime() > 30, qPrintable(QString::number(m_timer->remainingTime())));
    }
};

QTEST_GUILESS_MAIN(TestRecorder)
#include "TestRecorder.moc"
