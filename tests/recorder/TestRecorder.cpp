#include "recorder/Recorder.h"
#include "support/FakeDesktop.h"
#include "support/ImageText.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <array>

namespace {
using namespace VirtualKey;

// Every pixel has its own colour, so an image tells where it was taken.
quint32 ColourAt(int x, int y)
{
    return static_cast<quint32>(x * 10000 + y);
}

const QString kButtonLetters = QStringLiteral("?LR?M"); // at the button's code
} // namespace

// The recorder on the scripted desktop. A row's gestures are written short: "5M300,400-520,90h3"
// presses the middle button (L, R or M) at 300,400 five ticks after the gesture before (0: in the
// same tick) and releases it at 520,90 (where no "-" follows, at the press point); with "h3" the
// button is still down at the tick and reads down for three queries, else press and release both
// come between two ticks, each press 1 ms after the one before and ticks 20 ms apart. The tasks
// added are written "vM300,400": c click, d double click, v pushed, ^ released; button; point.
class TestRecorder : public QObject
{
    Q_OBJECT

    std::unique_ptr<TaskList> m_tasks;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<QTimer> m_timer;
    std::unique_ptr<Recorder> m_recorder;
    SharedState m_state;
    quint32 m_time = 0;
    // Held buttons, their release points and the query of the button that reads it up: till then
    // the screen around the release point looks otherwise, so an image taken too early shows it.
    std::vector<std::array<int, 4>> m_held;

    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i, m_time += 20)
            m_recorder->tmrRec_Timer();
    }

    void Perform(const QString& gestures)
    {
        static const QRegularExpression kGesture(
            QStringLiteral(R"((\d+)([LRM])(\d+),(\d+)(?:-(\d+),(\d+))?(?:h(\d+))?)"));
        for (const QRegularExpressionMatch& g : kGesture.globalMatch(gestures)) {
            const auto number = [&g](int i, int otherwise) {
                return g.hasCaptured(i) ? g.captured(i).toInt() : otherwise;
            };
            const int button = int(kButtonLetters.indexOf(g.captured(2)));
            const int x = number(3, 0), y = number(4, 0), rx = number(5, x), ry = number(6, y), held = number(7, 0);
            Tick(number(1, 0));
            m_desktop->QueueButtonEvent({button, true, x, y, ++m_time});
            if (held == 0) {
                m_desktop->QueueButtonEvent({button, false, rx, ry, m_time});
                continue;
            }
            m_desktop->SetPointer(x, y);
            m_desktop->HoldFor(button, held, rx, ry);
            m_held.push_back({button, rx, ry, m_desktop->KeyQueries(button) + held + 1});
        }
    }

    // The tasks after the first `before`, written short; "!image" follows one whose image is wrong.
    QString Added(int before)
    {
        QStringList added;
        for (int row = before + 1; row <= m_tasks->TaskCount(); ++row) {
            const int x = m_tasks->Cell(row, TaskList::kColumnX).toInt();
            const int y = m_tasks->Cell(row, TaskList::kColumnY).toInt();
            const TaskKinds::Kind* kind = TaskKinds::Find(m_tasks->Cell(row, TaskList::kColumnTask));
            added << QStringLiteral("%1%2%3,%4%5")
                         .arg(kind ? QStringLiteral("cdv^").at(int(kind->action)) : QChar('?'))
                         .arg(kButtonLetters.at(kind ? kind->button : 0))
                         .arg(x)
                         .arg(y)
                         .arg(m_tasks->Image(row) == ImageText(ColourAt, x, y) ? "" : "!image");
        }
        return added.join(' ');
    }

    static void Row(const char* name, int before, bool followed, const char* gestures, const char* added)
    {
        QTest::newRow(name) << before << followed << QString::fromLatin1(gestures) << QString::fromLatin1(added);
    }

private slots:
    void init()
    {
        m_tasks = std::make_unique<TaskList>();
        m_desktop = std::make_unique<FakeDesktop>();
        m_timer = std::make_unique<QTimer>();
        m_state = SharedState{};
        m_recorder = std::make_unique<Recorder>(*m_tasks, *m_desktop, m_state, *m_timer);
        m_recorder->SetReleaseSleep([](std::chrono::milliseconds) {});
        m_recorder->SetOwnWindowTest([](const ButtonEvent& press) { return press.x >= 1000; });
        m_held.clear();
        m_desktop->SetPixels([this](int x, int y) {
            for (const auto& [button, rx, ry, upAt] : m_held)
                if (m_desktop->KeyQueries(button) < upAt && std::abs(x - rx) <= 25 && std::abs(y - ry) <= 25)
                    return quint32{0x123456};
            return ColourAt(x, y);
        });
    }

    void cleanup() { m_recorder.reset(); }

    // The tasks in the list before, whether the desktop follows the buttons (else they are sampled
    // at each tick), the gestures and the tasks they add.
    void recordsEveryPress_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("followed");
        QTest::addColumn<QString>("gestures");
        QTest::addColumn<QString>("added");
        Row("a click and a drag, into an empty list", 0, true, "1L300,400 5M300,400-520,90",
            "cL300,400 vM300,400 ^M520,90");
        Row("human double click, then one in a tick", 2, true, "1L200,200 11L203,198 1R203,198 0R203,198",
            "dL203,198 dR203,198");
        Row("held presses", 2, true, "1L100,100h3 1R100,100-101,100h5", "cL100,100 vR100,100 ^R101,100");
        Row("left and right held together", 2, true, "1L100,100h3 0R400,400h5", "cL100,100 cR400,400");
        Row("presses on the program's own windows", 2, true, "1L1000,10 1R1100,20h3 1L300,300", "cL300,300");
        Row("sampled: own window, left and middle held together", 2, false,
            "1R1100,20h2 1L100,100h3 0M100,100-160,100h5", "cL100,100 vM100,100 ^M160,100");
        Row("sampled: a double click within four ticks", 2, false, "1L100,100h2 3L102,100h2", "dL102,100");
        Row("nothing, on an empty list", 0, true, "", "");
    }

    void recordsEveryPress()
    {
        QFETCH(int, before);
        QFETCH(bool, followed);
        QFETCH(QString, gestures);
        QFETCH(QString, added);
        m_desktop->SetFollowable(followed);
        for (int i = 0; i < before; ++i)
            m_tasks->AddTask(QString::number(i), "0", TaskKinds::Text(TaskKinds::Action::Click, kLeftButton), {},
                             TaskOrigin::Inserted);
        QSignalSpy minimise(m_recorder.get(), &Recorder::minimiseRequested);
        QSignalSpy ended(m_recorder.get(), &Recorder::recordingEnded);
        QSignalSpy endedEmpty(m_recorder.get(), &Recorder::recordingEndedEmpty);
        int f12QueriesAtRestore = -1;
        connect(m_recorder.get(), &Recorder::restoreRequested, this,
                [&] { f12QueriesAtRestore = m_desktop->KeyQueries(kF12); });
        // Before the start the poll (which runs during playback too) asks nothing.
        Tick();
        QCOMPARE(m_desktop->KeyQueries(kLeftButton), 0);
        // Started with Ctrl+Shift+F12, which are also the stop keys: still held at the first tick,
        // they do not end it.
        m_desktop->HoldShortcut(kF12, 1);
        m_recorder->mnuComandiRec_Click();
        QVERIFY(m_timer->isActive() && minimise.count() == 1);
        QVERIFY(m_desktop->Actions().back().path.endsWith(QStringLiteral("/rec.cur")));
        Tick();
        Perform(gestures);
        Tick();
        // F12 pressed again and held for three queries.
        m_desktop->HoldFor(kF12, 3);
        const int f12Queries = m_desktop->KeyQueries(kF12);
        Tick();

        QCOMPARE(Added(before), added);
        // The recording ends, with the normal pointer, only once F12 is up.
        QVERIFY(!m_state.recording && !m_timer->isActive());
        QCOMPARE(f12QueriesAtRestore, f12Queries + 4);
        QCOMPARE(m_desktop->Actions().back(), FakeDesktop::Shape(QString()));
        QCOMPARE(endedEmpty.count(), added.isEmpty() ? 1 : 0);
        QCOMPARE(ended.count() == 1 ? ended.front().front().toInt() : 0,
                 added.isEmpty() ? 0 : int(added.count(' ')) + 1);
    }

    // Sampled: waiting for a release sleeps after each query that read the button down, and the
    // poll timer starts afresh after the wait. The first click does not merge with the last click
    // of an earlier recording, and no pixel is read while images are off.
    void aHeldPressSleepsAndRestartsThePollTimer()
    {
        int sleeps = 0;
        m_recorder->SetReleaseSleep([&sleeps](std::chrono::milliseconds) { ++sleeps; });
        m_state.options.SalvaImmagine = false;
        m_tasks->AddTask("10", "10", TaskKinds::Text(TaskKinds::Action::Click, kLeftButton), {});
        m_recorder->mnuComandiRec_Click();
        m_timer->stop();
        Perform("0L10,10h3");
        Tick();
        QCOMPARE(m_tasks->TaskCount(), 2);
        QVERIFY(m_tasks->Image(2).isEmpty() && m_desktop->PixelsRead() == 0);
        QCOMPARE(sleeps, 2);
        QVERIFY(m_timer->isActive());
    }
};

QTEST_GUILESS_MAIN(TestRecorder)
#include "TestRecorder.moc"
