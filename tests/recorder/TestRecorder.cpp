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

QByteArray Field(quint32 colour)
{
    return QByteArray::number(static_cast<qint32>(colour)).leftJustified(DescriptiveImage::kFieldWidth, ' ');
}

// The image text expected at (x, y): column by column, each column from top to bottom.
QByteArray ExpectedImage(int x, int y)
{
    QByteArray image;
    for (int i = -25; i <= 25; ++i) {
        for (int j = -25; j <= 25; ++j)
            image += Field(ColourAt(x + i, y + j));
    }
    return image;
}

struct Row
{
    QString x;
    QString y;
    QString task;
};

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
    std::vector<std::chrono::milliseconds> m_sleeps;

    std::vector<Row> Rows() const
    {
        std::vector<Row> rows;
        for (int row = 1; row < m_tasks->Rows(); ++row)
            rows.push_back({m_tasks->Cell(row, TaskList::kColumnX), m_tasks->Cell(row, TaskList::kColumnY),
                            m_tasks->Cell(row, TaskList::kColumnTask)});
        return rows;
    }

    void Tick() { m_recorder->tmrRec_Timer(); }
    void IdleTicks(int count)
    {
        for (int i = 0; i < count; ++i)
            Tick();
    }
    // The button is seen down at the next tick and read as held for `queries` queries in all.
    void Press(int button, int x, int y, int queries = 3)
    {
        m_desktop->SetPointer(x, y);
        m_desktop->HoldFor(button, queries);
    }
    void Drag(int button, int x, int y, int releaseX, int releaseY)
    {
        m_desktop->SetPointer(x, y);
        m_desktop->HoldFor(button, 4, releaseX, releaseY);
    }
    void ClickAndTick(int button, int x, int y)
    {
        Press(button, x, y);
        Tick();
    }
    // Ctrl+Shift+F12 seen up once, then held; F12 is released after `f12Queries` queries.
    void StopWithKeys(int f12Queries = 3)
    {
        Tick();
        m_desktop->SetKeyDown(VirtualKey::kControl, true);
        m_desktop->SetKeyDown(VirtualKey::kShift, true);
        m_desktop->HoldFor(VirtualKey::kF12, f12Queries);
        Tick();
        m_desktop->SetKeyDown(VirtualKey::kControl, false);
        m_desktop->SetKeyDown(VirtualKey::kShift, false);
    }

private slots:
    void init()
    {
        m_tasks = std::make_unique<TaskList>();
        m_desktop = std::make_unique<FakeDesktop>();
        m_timer = std::make_unique<QTimer>();
        m_timer->setInterval(20);
        m_state = SharedState{};
        m_recorder = std::make_unique<Recorder>(*m_tasks, *m_desktop, m_state, *m_timer);
        m_sleeps.clear();
        m_recorder->SetReleaseSleep([this](std::chrono::milliseconds pause) { m_sleeps.push_back(pause); });
        m_desktop->SetPixels(ColourAt);
    }

    void cleanup()
    {
        m_recorder.reset();
        m_timer.reset();
        m_desktop.reset();
        m_tasks.reset();
    }

    void startRunsTheTimerSetsTheCursorAndMinimises()
    {
        QSignalSpy minimise(m_recorder.get(), &Recorder::minimiseRequested);
        m_recorder->mnuComandiRec_Click();
        QVERIFY(m_timer->isActive());
        QVERIFY(m_state.recording);
        QCOMPARE(minimise.count(), 1);
        QCOMPARE(m_desktop->Actions().size(), 1u);
        QCOMPARE(m_desktop->Actions().front().kind, FakeDesktop::Action::Kind::PointerShape);
        QVERIFY(m_desktop->Actions().front().path.endsWith(QStringLiteral("/rec.cur")));
    }

    void tickDoesNothingWhenNotRecording()
    {
        m_desktop->SetKeyDown(kLeft, true);
        const int counter = m_tasks->TickCounter();
        Tick();
        QCOMPARE(m_desktop->KeyQueries(kLeft), 0);
        QCOMPARE(m_tasks->TickCounter(), counter);
        QVERIFY(m_tasks->IsEmpty());
    }

    void idleTickAsksEachButtonAndF12Once()
    {
        m_recorder->mnuComandiRec_Click();
        Tick();
        for (const int key : {kLeft, kRight, kMiddle, VirtualKey::kF12})
            QCOMPARE(m_desktop->KeyQueries(key), 1);
        QCOMPARE(m_desktop->KeyQueries(VirtualKey::kControl) + m_desktop->KeyQueries(VirtualKey::kShift), 0);
        QCOMPARE(m_tasks->TickCounter(), TaskList::kDoubleClickTicks + 2);
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
        Drag(button, 300, 400, releaseX, releaseY);
        // The screen changes when the button goes up: the images must show it as it is afterwards.
        const quint32 beforeRelease = 0x123456;
        m_desktop->SetPixels([this, button, beforeRelease](int x, int y) {
            return m_desktop->KeyQueries(button) <= 4 ? beforeRelease : ColourAt(x, y);
        });
        Tick();

        const std::vector<Row> rows = Rows();
        QCOMPARE(static_cast<int>(rows.size()), tasks.size());
        QCOMPARE(rows[0].task, tasks[0]);
        QCOMPARE(rows[0].x, QStringLiteral("300"));
        QCOMPARE(rows[0].y, QStringLiteral("400"));
        QCOMPARE(m_tasks->Image(1), ExpectedImage(300, 400));
        if (tasks.size() == 2) {
            QCOMPARE(rows[1].task, tasks[1]);
            QCOMPARE(rows[1].x, QString::number(releaseX));
            QCOMPARE(rows[1].y, QString::number(releaseY));
            QCOMPARE(m_tasks->Image(2), ExpectedImage(releaseX, releaseY));
        }
    }

    void leftAndRightTogether_data()
    {
        QTest::addColumn<bool>("rightStillDown");
        QTest::newRow("right still down after left") << true;
        QTest::newRow("right released first") << false;
    }

    void leftAndRightTogether()
    {
        QFETCH(bool, rightStillDown);
        m_recorder->mnuComandiRec_Click();
        Press(kLeft, 50, 60, 5);
        m_desktop->SetKeyDown(kRight, true);
        std::vector<int> queried;
        m_desktop->OnKeyQuery([&](int key) {
            queried.push_back(key);
            // The right button goes up while the left is still held, or only after the left.
            if (key == kLeft && m_desktop->KeyQueries(kLeft) == 3 && !rightStillDown)
                m_desktop->SetKeyDown(kRight, false);
            if (key == kRight)
                m_desktop->SetKeyDown(kRight, false);
        });
        Tick();

        const auto firstRight = std::find(queried.begin(), queried.end(), kRight);
        QVERIFY(firstRight != queried.end());
        QVERIFY(std::find(firstRight, queried.end(), kLeft) == queried.end());
        const std::vector<Row> rows = Rows();
        QCOMPARE(rows.size(), rightStillDown ? 2u : 1u);
        QCOMPARE(rows[0].task, TextTable::Text(114));
        if (rightStillDown)
            QCOMPARE(rows[1].task, TextTable::Text(115));
    }

    void doubleClickWindow_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("idleTicks");
        QTest::addColumn<QStringList>("tasks");
        QTest::newRow("next tick") << kLeft << 0 << QStringList{"Mouse  DClick Left"};
        QTest::newRow("fourth tick") << kLeft << 3 << QStringList{"Mouse  DClick Left"};
        QTest::newRow("fifth tick") << kLeft << 4 << QStringList{"Mouse Click Left", "Mouse Click Left"};
        QTest::newRow("right, fourth tick") << kRight << 3 << QStringList{"Mouse  DClick Right"};
        QTest::newRow("middle, fifth tick") << kMiddle << 4 << QStringList{"Mouse Click Middle", "Mouse Click Middle"};
    }

    void doubleClickWindow()
    {
        QFETCH(int, button);
        QFETCH(int, idleTicks);
        QFETCH(QStringList, tasks);
        m_recorder->mnuComandiRec_Click();
        ClickAndTick(button, 200, 200);
        IdleTicks(idleTicks);
        ClickAndTick(button, 203, 198);

        const std::vector<Row> rows = Rows();
        QCOMPARE(static_cast<int>(rows.size()), tasks.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i].task, tasks[static_cast<int>(i)]);
        // The last row is at the second click's point, with its image.
        QCOMPARE(rows.back().x, QStringLiteral("203"));
        QCOMPARE(rows.back().y, QStringLiteral("198"));
        QCOMPARE(m_tasks->Image(m_tasks->Rows() - 1), ExpectedImage(203, 198));
    }

    void startClosesTheDoubleClickWindow()
    {
        // The last task of an earlier recording was added just now.
        m_tasks->AddTask("10", "10", TextTable::Text(114), {});
        m_recorder->mnuComandiRec_Click();
        ClickAndTick(kLeft, 10, 10);
        QCOMPARE(m_tasks->Rows(), 3);
        QCOMPARE(m_tasks->Cell(1, TaskList::kColumnTask), TextTable::Text(114));
        QCOMPARE(m_tasks->Cell(2, TaskList::kColumnTask), TextTable::Text(114));
    }

    void imageFields_data()
    {
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("black") << quint32{0} << QByteArray("0         ");
        QTest::newRow("white") << quint32{0xFFFFFF} << QByteArray("16777215  ");
        QTest::newRow("red") << quint32{0xFF} << QByteArray("255       ");
        QTest::newRow("negative") << quint32{0xFFFFFFFF} << QByteArray("-1        ");
        QTest::newRow("ten digits, no blank") << quint32{0x7FFFFFFF} << QByteArray("2147483647");
        QTest::newRow("longer than a field") << quint32{0x80000000} << QByteArray("-2147483648");
    }

    void imageFields()
    {
        QFETCH(quint32, colour);
        QFETCH(QByteArray, field);
        m_desktop->SetPixels([colour](int, int) { return colour; });
        QCOMPARE(m_recorder->CaptureImage(600, 500), field.repeated(51 * 51));
    }

    void imageIsColumnByColumnAndReadInOneRequest()
    {
        const QByteArray image = m_recorder->CaptureImage(640, 512);
        QCOMPARE(image.size(), DescriptiveImage::kFieldCount * DescriptiveImage::kFieldWidth);
        QCOMPARE(image.left(10), Field(ColourAt(615, 487)));           // top left
        QCOMPARE(image.mid(10, 10), Field(ColourAt(615, 488)));        // below it
        QCOMPARE(image.mid(51 * 10, 10), Field(ColourAt(616, 487)));   // top of the next column
        QCOMPARE(image.mid(1300 * 10, 10), Field(ColourAt(640, 512))); // the centre
        QCOMPARE(image.right(10), Field(ColourAt(665, 537)));          // bottom right
        QCOMPARE(m_desktop->PixelsRead(), 51 * 51);
    }

    void noImageWhenImagesAreOff()
    {
        m_state.SalvaImmagine = false;
        m_recorder->mnuComandiRec_Click();
        Drag(kLeft, 100, 100, 140, 100);
        Tick();
        ClickAndTick(kRight, 100, 100);
        QCOMPARE(m_tasks->Rows(), 4);
        for (int row = 1; row < m_tasks->Rows(); ++row)
            QVERIFY(m_tasks->Image(row).isEmpty());
        QCOMPARE(m_desktop->PixelsRead(), 0);
    }

    void waitsForTheReleaseWithSleeps()
    {
        m_recorder->mnuComandiRec_Click();
        Press(kLeft, 5, 5, 300);
        Tick();
        QCOMPARE(m_desktop->KeyQueries(kLeft), 301);
        QCOMPARE(m_tasks->TaskCount(), 1);
        // A sleep between two queries of the wait: short at first, longer once the button is held.
        QCOMPARE(m_sleeps.size(), 299u);
        QCOMPARE(std::count(m_sleeps.begin(), m_sleeps.end(), Recorder::kQuickPoll), Recorder::kQuickPolls);
        QCOMPARE(m_sleeps.back(), Recorder::kSlowPoll);
        QVERIFY(Recorder::kSlowPoll <= std::chrono::milliseconds(5));
    }

    void captureRestartsThePollTimer()
    {
        m_recorder->SetReleaseSleep(
            [](std::chrono::milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(5)); });
        m_timer->setInterval(60);
        m_recorder->mnuComandiRec_Click();
        Press(kLeft, 5, 5, 40); // about 200 ms held: the timer fell due meanwhile
        Tick();
        // Restarted at the end of the capture, the next tick is a whole interval away, not overdue.
        QVERIFY2(m_timer->remainingTime() > 30, qPrintable(QString::number(m_timer->remainingTime())));
    }

    void stopCheck_data()
    {
        QTest::addColumn<bool>("keysUpFirst");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("stops");
        QTest::newRow("keys seen up, then held") << true << false << true;
        QTest::newRow("shortcut still held from the start") << false << false << false;
        QTest::newRow("while playing") << true << true << false;
    }

    void stopCheck()
    {
        QFETCH(bool, keysUpFirst);
        QFETCH(bool, playing);
        QFETCH(bool, stops);
        for (const int key : {VirtualKey::kF12, VirtualKey::kControl, VirtualKey::kShift})
            m_desktop->SetKeyDown(key, !keysUpFirst);
        m_recorder->mnuComandiRec_Click();
        m_state.playing = playing;
        QVERIFY(!m_recorder->RecordingStopCheck());
        m_desktop->ClearActions();
        for (const int key : {VirtualKey::kControl, VirtualKey::kShift})
            m_desktop->SetKeyDown(key, true);
        m_desktop->HoldFor(VirtualKey::kF12, 5);
        int f12QueriesAtRestore = -1;
        connect(m_recorder.get(), &Recorder::restoreRequested, this,
                [&] { f12QueriesAtRestore = m_desktop->KeyQueries(VirtualKey::kF12); });
        const int f12QueriesBefore = m_desktop->KeyQueries(VirtualKey::kF12);

        QCOMPARE(m_recorder->RecordingStopCheck(), stops);
        QCOMPARE(m_state.recording, !stops);
        QCOMPARE(m_timer->isActive(), !stops);
        if (stops) {
            // Restored only after F12 was seen up.
            QCOMPARE(f12QueriesAtRestore, f12QueriesBefore + 6);
            QCOMPARE(m_desktop->Actions(), std::vector<FakeDesktop::Action>{FakeDesktop::Shape(QString())});
        } else {
            QCOMPARE(f12QueriesAtRestore, -1);
            QVERIFY(m_desktop->Actions().empty());
        }
    }

    void stopKeysAreCheckedAfterACapture()
    {
        m_recorder->mnuComandiRec_Click();
        Tick();
        Press(kLeft, 1, 1);
        m_desktop->SetKeyDown(VirtualKey::kF12, true);
        m_desktop->SetKeyDown(VirtualKey::kControl, true);
        m_desktop->SetKeyDown(VirtualKey::kShift, true);
        m_desktop->OnKeyQuery([this](int key) {
            if (key == VirtualKey::kF12 && m_desktop->KeyQueries(key) >= 3)
                m_desktop->SetKeyDown(VirtualKey::kF12, false);
        });
        Tick();
        QCOMPARE(m_tasks->TaskCount(), 1);
        QVERIFY(!m_state.recording);
    }

    void endingCount_data()
    {
        QTest::addColumn<int>("tasksBefore");
        QTest::addColumn<QString>("recorded");
        QTest::addColumn<int>("count");
        // c: a click, d: a drag, 2: a second click within the double-click window.
        QTest::newRow("first click fills row 1") << 0 << "c" << 1;
        QTest::newRow("drag counts 2") << 3 << "d" << 2;
        QTest::newRow("merged click counts 0") << 2 << "c2" << 1;
        QTest::newRow("drag and click on an empty list") << 0 << "dc" << 3;
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
        for (const QChar step : recorded) {
            if (step != '2')
                IdleTicks(5);
            if (step == 'd') {
                Drag(kLeft, 10, 10, 20, 20);
                Tick();
            } else {
                ClickAndTick(kLeft, 30, 30);
            }
        }
        StopWithKeys();

        QVERIFY(!m_state.recording);
        if (count < 0) {
            QCOMPARE(ended.count(), 0);
            QCOMPARE(endedEmpty.count(), 1);
        } else {
            QCOMPARE(endedEmpty.count(), 0);
            QCOMPARE(ended.count(), 1);
            QCOMPARE(ended.front().front().toInt(), count);
        }
    }
};

QTEST_GUILESS_MAIN(TestRecorder)
#include "TestRecorder.moc"
