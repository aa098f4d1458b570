#include "app/core/TextTable.h"
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

    // The task texts of rows 1 on.
    QStringList Tasks() const
    {
        QStringList tasks;
        for (int row = 1; row < m_tasks->Rows(); ++row)
            tasks << m_tasks->Cell(row, TaskList::kColumnTask);
        return tasks;
    }
    // "x,y" of a row.
    QString Point(int row) const
    {
        return m_tasks->Cell(row, TaskList::kColumnX) + ',' + m_tasks->Cell(row, TaskList::kColumnY);
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
        m_desktop->SetPixels(ColourAt);
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

    void pressAndRelease_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("releaseX");
        QTest::addColumn<int>("releaseY");
        QTest::addColumn<QStringList>("tasks");
        QTest::newRow("left click") << kLeft << 300 << 400 << QStringList{"Mouse Click Left"};
        QTest::newRow("right click") << kRight << 300 << 400 << QStringList{"Mouse Click Right"};
        QTest::newRow("middle click") << kMiddle << 300 << 400 << QStringList{"Mouse Click Middle"};
        QTest::newRow("left moved one pixel")
            << kLeft << 301 << 400 << QStringList{"Left Mouse Pushed", "Left Mouse Released"};
        QTest::newRow("right moved one pixel down")
            << kRight << 300 << 401 << QStringList{"Right Mouse Pushed", "Right Mouse Released"};
        QTest::newRow("middle drag") << kMiddle << 520 << 90
                                     << QStringList{"Middle Mouse Pushed", "Middle Mouse Released"};
    }

    void pressAndRelease()
    {
        QFETCH(int, button);
        QFETCH(int, releaseX);
        QFETCH(int, releaseY);
        QFETCH(QStringList, tasks);
        m_recorder->mnuComandiRec_Click();
        // The screen changes when the button goes up: the images must show it as it is afterwards.
        m_desktop->SetPixels([this, button](int x, int y) {
            return m_desktop->KeyQueries(button) <= 3 ? quint32{0x123456} : ColourAt(x, y);
        });
        Press(button, 300, 400, releaseX, releaseY);

        QCOMPARE(Tasks(), tasks);
        QCOMPARE(Point(1), QStringLiteral("300,400"));
        QCOMPARE(m_tasks->Image(1), ExpectedImage(300, 400));
        if (tasks.size() == 2) {
            QCOMPARE(Point(2), QStringLiteral("%1,%2").arg(releaseX).arg(releaseY));
            QCOMPARE(m_tasks->Image(2), ExpectedImage(releaseX, releaseY));
        }
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

    void doubleClickWindow_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("idleTicks");
        QTest::addColumn<QStringList>("tasks");
        QTest::newRow("fourth tick") << kLeft << 3 << QStringList{"Mouse  DClick Left"};
        QTest::newRow("fifth tick") << kLeft << 4 << QStringList{"Mouse Click Left", "Mouse Click Left"};
        QTest::newRow("right, fourth tick") << kRight << 3 << QStringList{"Mouse  DClick Right"};
    }

    void doubleClickWindow()
    {
        QFETCH(int, button);
        QFETCH(int, idleTicks);
        QFETCH(QStringList, tasks);
        m_recorder->mnuComandiRec_Click();
        Click(button, 200, 200);
        Tick(idleTicks);
        Click(button, 203, 198);
        QCOMPARE(Tasks(), tasks);
        // The last row is at the second click's point, with its image.
        QCOMPARE(Point(m_tasks->Rows() - 1), QStringLiteral("203,198"));
        QCOMPARE(m_tasks->Image(m_tasks->Rows() - 1), ExpectedImage(203, 198));
    }

    void startClosesTheDoubleClickWindow()
    {
        // The last task of an earlier recording was added just now.
        m_tasks->AddTask("10", "10", TextTable::Text(114), {});
        m_recorder->mnuComandiRec_Click();
        Click(kLeft, 10, 10);
        QCOMPARE(Tasks(), (QStringList{"Mouse Click Left", "Mouse Click Left"}));
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
        m_state.SalvaImmagine = false;
        m_recorder->mnuComandiRec_Click();
        Press(kLeft, 100, 100, 140, 100);
        Click(kRight, 100, 100);
        QCOMPARE(m_tasks->Rows(), 4);
        for (int row = 1; row < m_tasks->Rows(); ++row)
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

    void stopKeysEndTheRecordingOnceF12IsReleased()
    {
        // The Record shortcut is still held when the recording starts: it must not end it.
        for (const int key : {VirtualKey::kF12, VirtualKey::kControl, VirtualKey::kShift})
            m_desktop->SetKeyDown(key, true);
        m_recorder->mnuComandiRec_Click();
        QVERIFY(!m_recorder->RecordingStopCheck());
        m_desktop->SetKeyDown(VirtualKey::kF12, false);
        QVERIFY(!m_recorder->RecordingStopCheck());
        QVERIFY(m_state.recording && m_timer->isActive());

        m_desktop->HoldFor(VirtualKey::kF12, 5);
        const int f12Queries = m_desktop->KeyQueries(VirtualKey::kF12);
        int f12QueriesAtRestore = -1;
        connect(m_recorder.get(), &Recorder::restoreRequested, this,
                [&] { f12QueriesAtRestore = m_desktop->KeyQueries(VirtualKey::kF12); });
        QVERIFY(m_recorder->RecordingStopCheck());
        QVERIFY(!m_state.recording && !m_timer->isActive());
        // Restored, with the normal pointer, only after F12 was seen up.
        QCOMPARE(f12QueriesAtRestore, f12Queries + 6);
        QCOMPARE(m_desktop->Actions().back(), FakeDesktop::Shape(QString()));
    }

    void endingCount_data()
    {
        QTest::addColumn<int>("tasksBefore");
        QTest::addColumn<QString>("recorded");
        QTest::addColumn<int>("count");
        // c: a click, d: a drag; a second c comes within the double-click window.
        QTest::newRow("first click fills row 1") << 0 << "c" << 1;
        QTest::newRow("drag counts 2") << 3 << "d" << 2;
        QTest::newRow("merged click counts 0") << 2 << "cc" << 1;
        QTest::newRow("nothing recorded on a list") << 4 << "" << 0;
        QTest::newRow("nothing recorded on an empty list") << 0 << "" << -1;
    }

    void endingCount()
    {
        QFETCH(int, tasksBefore);
        QFETCH(QString, recorded);
        QFETCH(int, count);
        for (int i = 0; i < tasksBefore; ++i)
            m_tasks->AddTask(QString::number(i), "0", TextTable::Text(114), {}, TaskOrigin::Inserted);
        QSignalSpy ended(m_recorder.get(), &Recorder::recordingEnded);
        QSignalSpy endedEmpty(m_recorder.get(), &Recorder::recordingEndedEmpty);
        m_recorder->mnuComandiRec_Click();
        for (const QChar step : recorded)
            Press(kLeft, 30, 30, step == 'd' ? 40 : 30, 30);
        // Ctrl+Shift+F12 seen up once, then held.
        Tick();
        for (const int key : {VirtualKey::kF12, VirtualKey::kControl, VirtualKey::kShift})
            m_desktop->SetKeyDown(key, true);
        m_desktop->HoldFor(VirtualKey::kF12, 3);
        Tick();

        QVERIFY(!m_state.recording);
        QCOMPARE(endedEmpty.count(), count < 0 ? 1 : 0);
        QCOMPARE(ended.count(), count < 0 ? 0 : 1);
        if (count >= 0)
            QCOMPARE(ended.front().front().toInt(), count);
    }
};

QTEST_GUILESS_MAIN(TestRecorder)
#include "TestRecorder.moc"
