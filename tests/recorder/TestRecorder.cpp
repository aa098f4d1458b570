#include "core/TextTable.h"
#include "recorder/Recorder.h"
#include "support/FakeDesktop.h"
#include "tasks/DescriptiveImage.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

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

// A press and its release after some idle ticks (0: in the same tick as the one before), pressed
// at `time` ms. With held = 0 both come between two ticks; otherwise the button is still down at
// the tick and reads down for `held` queries, and only the pointer tells where it went up.
struct Gesture
{
    int ticks;
    int button;
    int x, y, rx, ry;
    int time;
    int held = 0;
};
} // namespace

Q_DECLARE_METATYPE(QList<Gesture>)

class TestRecorder : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TaskList> m_tasks;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<QTimer> m_timer;
    std::unique_ptr<Recorder> m_recorder;
    SharedState m_state;
    // The held gestures and the query of their button that reads it up: till then the screen
    // around the release point looks otherwise, so an image taken too early shows it.
    std::vector<std::pair<Gesture, int>> m_held;

    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            m_recorder->tmrRec_Timer();
    }
    void Perform(const Gesture& g)
    {
        Tick(g.ticks);
        m_desktop->QueueButtonEvent({g.button, true, g.x, g.y, static_cast<quint32>(g.time)});
        if (g.held == 0) {
            m_desktop->QueueButtonEvent({g.button, false, g.rx, g.ry, static_cast<quint32>(g.time)});
            return;
        }
        m_desktop->SetPointer(g.x, g.y);
        m_desktop->HoldFor(g.button, g.held, g.rx, g.ry);
        m_held.emplace_back(g, m_desktop->KeyQueries(g.button) + g.held + 1);
    }

private slots:
    void init()
    {
        m_tasks = std::make_unique<TaskList>();
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->SetFollowable(true);
        m_timer = std::make_unique<QTimer>();
        m_state = SharedState{};
        m_recorder = std::make_unique<Recorder>(*m_tasks, *m_desktop, m_state, *m_timer);
        m_recorder->SetReleaseSleep([](std::chrono::milliseconds) {});
        m_recorder->SetOwnWindowTest([](const ButtonEvent& press) { return press.x >= 1000; });
        m_held.clear();
        m_desktop->SetPixels([this](int x, int y) {
            for (const auto& [g, upAt] : m_held) {
                if (m_desktop->KeyQueries(g.button) < upAt && std::abs(x - g.rx) <= 25 && std::abs(y - g.ry) <= 25)
                    return quint32{0x123456};
            }
            return ColourAt(x, y);
        });
    }

    void cleanup() { m_recorder.reset(); }

    void recordsEveryPress_data()
    {
        using Gestures = QList<Gesture>;
        QTest::addColumn<int>("tasksBefore");
        QTest::addColumn<bool>("followable");
        QTest::addColumn<Gestures>("gestures");
        // The rows added, as "task at x,y"; each must hold the image at its point.
        QTest::addColumn<QStringList>("added");
        QTest::newRow("a click and a drag between ticks, into an empty list")
            << 0 << true << Gestures{{1, kLeft, 300, 400, 300, 400, 1000}, {5, kMiddle, 300, 400, 520, 90, 2000}}
            << QStringList{"Mouse Click Left at 300,400", "Middle Mouse Pushed at 300,400",
                           "Middle Mouse Released at 520,90"};
        QTest::newRow("a double click at human speed, then one inside one tick")
            << 2 << true
            << Gestures{{1, kLeft, 200, 200, 200, 200, 1000},
                        {11, kLeft, 203, 198, 203, 198, 1230},
                        {9, kRight, 600, 600, 600, 600, 3000},
                        {0, kRight, 600, 600, 600, 600, 3010}}
            << QStringList{"Mouse  DClick Left at 203,198", "Mouse  DClick Right at 600,600"};
        QTest::newRow("farther apart than the distance, then another button")
            << 2 << true
            << Gestures{{1, kLeft, 200, 200, 200, 200, 1000},
                        {3, kLeft, 206, 200, 206, 200, 1100},
                        {1, kRight, 206, 200, 206, 200, 1150}}
            << QStringList{"Mouse Click Left at 200,200", "Mouse Click Left at 206,200",
                           "Mouse Click Right at 206,200"};
        QTest::newRow("held presses, as before")
            << 2 << true << Gestures{{1, kLeft, 100, 100, 100, 100, 1000, 3}, {1, kRight, 100, 100, 101, 100, 2000, 5}}
            << QStringList{"Mouse Click Left at 100,100", "Right Mouse Pushed at 100,100",
                           "Right Mouse Released at 101,100"};
        QTest::newRow("left and right held together")
            << 2 << true << Gestures{{1, kLeft, 100, 100, 100, 100, 1000, 3}, {0, kRight, 400, 400, 400, 400, 1010, 5}}
            << QStringList{"Mouse Click Left at 100,100", "Mouse Click Right at 400,400"};
        QTest::newRow("presses on the program's own windows") << 2 << true
                                                              << Gestures{{1, kLeft, 1000, 10, 1000, 10, 1000},
                                                                          {1, kRight, 1100, 20, 1100, 20, 2000, 3},
                                                                          {1, kLeft, 300, 300, 300, 300, 3000}}
                                                              << QStringList{"Mouse Click Left at 300,300"};
        // Sampled, a press starts where the pointer is at the tick: the middle one where the left one ended.
        QTest::newRow("sampled only: left and middle held together")
            << 2 << false << Gestures{{1, kLeft, 100, 100, 100, 100, 0, 3}, {0, kMiddle, 100, 100, 160, 100, 0, 5}}
            << QStringList{"Mouse Click Left at 100,100", "Middle Mouse Pushed at 100,100",
                           "Middle Mouse Released at 160,100"};
        QTest::newRow("sampled only: a double click within four ticks")
            << 2 << false << Gestures{{1, kLeft, 100, 100, 100, 100, 0, 2}, {3, kLeft, 102, 100, 102, 100, 0, 2}}
            << QStringList{"Mouse  DClick Left at 102,100"};
        QTest::newRow("sampled only: a press on the program's own window")
            << 2 << false << Gestures{{1, kRight, 1100, 20, 1100, 20, 0, 2}, {1, kLeft, 300, 300, 300, 300, 0, 3}}
            << QStringList{"Mouse Click Left at 300,300"};
        QTest::newRow("nothing recorded on a list") << 4 << true << Gestures{} << QStringList{};
        QTest::newRow("nothing recorded on an empty list") << 0 << true << Gestures{} << QStringList{};
    }

    void recordsEveryPress()
    {
        QFETCH(int, tasksBefore);
        QFETCH(bool, followable);
        QFETCH(QList<Gesture>, gestures);
        QFETCH(QStringList, added);
        m_desktop->SetFollowable(followable);
        for (int i = 0; i < tasksBefore; ++i)
            m_tasks->AddTask(QString::number(i), "0", TextTable::Text(114), {}, TaskOrigin::Inserted);
        QSignalSpy minimise(m_recorder.get(), &Recorder::minimiseRequested);
        QSignalSpy ended(m_recorder.get(), &Recorder::recordingEnded);
        QSignalSpy endedEmpty(m_recorder.get(), &Recorder::recordingEndedEmpty);
        int f12QueriesAtRestore = -1;
        connect(m_recorder.get(), &Recorder::restoreRequested, this,
                [&] { f12QueriesAtRestore = m_desktop->KeyQueries(VirtualKey::kF12); });
        // Before the start the poll (which runs during playback too) records nothing.
        m_desktop->SetKeyDown(kLeft, true);
        Tick();
        QCOMPARE(m_desktop->KeyQueries(kLeft), 0);
        m_desktop->SetKeyDown(kLeft, false);
        m_recorder->mnuComandiRec_Click();
        QVERIFY(m_timer->isActive() && minimise.count() == 1);
        QVERIFY(m_desktop->Actions().back().path.endsWith(QStringLiteral("/rec.cur")));
        for (const Gesture& gesture : gestures)
            Perform(gesture);
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
        const bool empty = tasksBefore == 0 && added.isEmpty();
        QCOMPARE(endedEmpty.count(), empty ? 1 : 0);
        QCOMPARE(ended.count(), empty ? 0 : 1);
        if (!empty)
            QCOMPARE(ended.front().front().toInt(), added.size());
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

    void startClosesTheDoubleClickWindowAndAWaitSleepsAndRestartsThePollTimer()
    {
        m_desktop->SetFollowable(false);
        int sleeps = 0;
        m_recorder->SetReleaseSleep([&sleeps](std::chrono::milliseconds) { ++sleeps; });
        // The last click of an earlier recording, just before this one starts.
        m_tasks->AddTask("10", "10", TextTable::Text(114), {});
        m_recorder->mnuComandiRec_Click();
        m_timer->stop();
        Perform({0, kLeft, 10, 10, 10, 10, 0, 3});
        Tick();
        QCOMPARE(m_tasks->TaskCount(), 2);
        // Seen down at the tick, then twice more while the release was awaited: one sleep after each.
        QCOMPARE(sleeps, 2);
        QVERIFY(m_timer->isActive());
    }

    void noImageWhenImagesAreOff()
    {
        m_state.options.SalvaImmagine = false;
        m_recorder->mnuComandiRec_Click();
        Perform({1, kLeft, 100, 100, 140, 100, 1000});
        Tick();
        QVERIFY(m_tasks->TaskCount() == 2 && m_tasks->Image(1).isEmpty() && m_tasks->Image(2).isEmpty());
        QCOMPARE(m_desktop->PixelsRead(), 0);
    }
};

QTEST_GUILESS_MAIN(TestRecorder)
#include "TestRecorder.moc"
