#include "core/KeySymbols.h"
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
using KeySymbols::kF12;

// A recording on the scripted desktop. Gestures are written short: "5M300,400-520,90h3" presses
// the middle button (L, R or M) at 300,400 five ticks after the gesture before (0: in the same
// tick) and releases it at 520,90 (without "-", at the press point). With "h3" the button is still
// down at the tick and reads down for three queries of it; else press and release both come
// between two ticks. Each press comes 1 ms after the one before, the ticks 20 ms apart.
struct Session
{
    TaskList tasks;
    FakeDesktop desktop;
    SharedState state;
    Recorder recorder{tasks, desktop, state};
    quint32 time = 0;
    // Every pixel has its own colour, so an image tells where it was taken.
    static quint32 ColourAt(int x, int y) { return quint32(x * 10000 + y); }
    // Held buttons, their release points and the query of the button that reads it up: till then
    // the screen around the release point looks otherwise, so an image taken too early shows it.
    std::vector<std::array<int, 4>> held;

    Session()
    {
        recorder.SetRedrawWait(std::chrono::milliseconds(0));
        recorder.SetOwnWindowTest([](const ButtonEvent& press) { return press.x >= 1000; });
        desktop.SetPixels([this](int x, int y) {
            for (const auto& [button, rx, ry, upAt] : held)
                if (desktop.KeyQueries(FakeDesktop::Of(MouseButton(button))) < upAt && std::abs(x - rx) <= 25 &&
                    std::abs(y - ry) <= 25)
                    return quint32{0x123456};
            return ColourAt(x, y);
        });
    }

    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i, time += 20)
            recorder.Tick();
    }

    void Perform(const QString& gestures)
    {
        static const QRegularExpression kGesture(QStringLiteral(R"((\d+)([LMR])(\d+),(\d+)(-(\d+),(\d+))?(h(\d+))?)"));
        for (const QRegularExpressionMatch& g : kGesture.globalMatch(gestures)) {
            const auto button = MouseButton(QStringLiteral("LRM").indexOf(g.captured(2)));
            const int x = g.captured(3).toInt(), y = g.captured(4).toInt(), hold = g.captured(9).toInt();
            const int rx = g.hasCaptured(5) ? g.captured(6).toInt() : x,
                      ry = g.hasCaptured(5) ? g.captured(7).toInt() : y;
            Tick(g.captured(1).toInt());
            desktop.SetPointer(x, y);
            desktop.HoldFor(button, hold, rx, ry);
            desktop.QueueButtonEvent({button, true, x, y, ++time});
            if (hold == 0)
                desktop.QueueButtonEvent({button, false, rx, ry, time});
            else
                held.push_back({IndexOf(button), rx, ry, desktop.KeyQueries(FakeDesktop::Of(button)) + hold + 1});
        }
    }

    // Every row as "x,y task", or the task alone where it has no x.
    QStringList Rows() const
    {
        QStringList rows;
        for (int row = 1; row <= tasks.TaskCount(); ++row) {
            const QString x = tasks.Cell(row, TaskList::kColumnX);
            rows << (x.isEmpty() ? QString() : x + ',' + tasks.Cell(row, TaskList::kColumnY) + ' ') +
                        tasks.Cell(row, TaskList::kColumnTask);
        }
        return rows;
    }

    // The tasks after the first `before`, written "vM300,400": c click, d double click, v pushed,
    // ^ released; the button; the point; "!image" after one whose image is not the screen there.
    // A wait is "w" and its milliseconds.
    QString Added(int before)
    {
        QStringList added;
        for (int row = before + 1; row <= tasks.TaskCount(); ++row) {
            const int x = tasks.Cell(row, TaskList::kColumnX).toInt();
            const int y = tasks.Cell(row, TaskList::kColumnY).toInt();
            const TaskKinds::Kind* kind = TaskKinds::Find(tasks.Cell(row, TaskList::kColumnTask));
            if (kind->action == TaskKinds::Action::Wait) {
                added << QStringLiteral("w%1").arg(x);
                continue;
            }
            added << QString::asprintf("%c%c%d,%d%s", "cdv^?"[int(kind->action)], "LRM"[IndexOf(*kind->button)], x, y,
                                       tasks.Image(row) == ImageText(ColourAt, x, y) ? "" : "!image");
        }
        return added.join(' ');
    }
};

void Row(const char* name, int before, bool followed, const char* gestures, const char* added)
{
    QTest::newRow(name) << before << followed << QString::fromLatin1(gestures) << QString::fromLatin1(added);
}
} // namespace

class TestRecorder : public QObject
{
    Q_OBJECT

private slots:
    // The tasks in the list before, whether the desktop follows the buttons (else they are sampled
    // at each tick), the gestures and the tasks they add.
    void recordsEveryPress_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("followed");
        QTest::addColumn<QString>("gestures");
        QTest::addColumn<QString>("added");
        Row("click and drag, empty list", 0, true, "1L300,400 5M300,400-520,90", "cL300,400 vM300,400 ^M520,90");
        Row("double clicks", 2, true, "1L200,200 11L203,198 1R203,198 0R203,198", "dL203,198 dR203,198");
        Row("held presses", 2, true, "1L100,100h3 1R300,100-301,100h5", "cL100,100 vR300,100 ^R301,100");
        Row("left and right held together", 2, true, "1L100,100h3 0R400,400h5", "cL100,100 cR400,400");
        Row("presses on own windows", 2, true, "1L1000,10 1R1100,20h3 1L300,300", "cL300,300");
        Row("sampled", 2, false, "1R1100,20h2 1L100,100h3 0M100,100-160,100h5", "cL100,100 vM100,100 ^M160,100");
        Row("sampled double click", 2, false, "1L100,100h2 3L102,100h2", "dL102,100");
        Row("nothing, empty list", 0, true, "", "");
    }

    void recordsEveryPress()
    {
        QFETCH(int, before);
        QFETCH(bool, followed);
        QFETCH(QString, gestures);
        QFETCH(QString, added);
        Session s;
        s.desktop.SetFollowable(followed);
        for (int i = 0; i < before; ++i)
            s.tasks.AddTask("100", "100", TaskKinds::Text(TaskKinds::Action::Click, MouseButton::Left), {});
        QSignalSpy minimise(&s.recorder, &Recorder::minimiseRequested);
        QSignalSpy ended(&s.recorder, &Recorder::recordingEnded);
        QSignalSpy endedEmpty(&s.recorder, &Recorder::recordingEndedEmpty);
        int f12QueriesAtRestore = -1;
        connect(&s.recorder, &Recorder::restoreRequested, [&] { f12QueriesAtRestore = s.desktop.KeyQueries(kF12); });
        // Before the start the poll (which runs during playback too) asks nothing.
        s.Tick();
        QCOMPARE(s.desktop.KeyQueries(FakeDesktop::Of(MouseButton::Left)), 0);
        // Started with Ctrl+Shift+F12, which are also the stop keys: still held at the first tick,
        // they do not end it. The last click before the start does not merge with the first one.
        s.desktop.HoldShortcut(kF12, 1);
        s.recorder.Record();
        QVERIFY(s.recorder.IsRecording() && minimise.count() == 1);
        s.Tick();
        s.Perform(gestures);
        s.Tick(6); // a held press stays open across ticks: one query of its button at each
        s.desktop.HoldFor(kF12, 3);
        const int f12Queries = s.desktop.KeyQueries(kF12);
        s.Tick(4);

        QCOMPARE(s.Added(before), added);
        // The recording ends only once F12 is up.
        QVERIFY(!s.recorder.IsRecording());
        QCOMPARE(f12QueriesAtRestore, f12Queries + 4);
        QCOMPARE(endedEmpty.count(), added.isEmpty() ? 1 : 0);
        QCOMPARE(ended.count() == 1 ? ended.front().front().toInt() : 0,
                 added.isEmpty() ? 0 : int(added.count(' ')) + 1);
    }

    // Keys and the wheel come in the same stream as the buttons and take their places among the
    // clicks; with the keyboard option off only the wheel does. A key typed into the program's own
    // windows is left out.
    void keysTakeTheirPlacesAmongClicks_data()
    {
        QTest::addColumn<bool>("keyboard");
        QTest::addColumn<bool>("keepPace");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("keyboard on") << true << false
                                     << QStringList{"Key Pushed Shift_L", "300,400 Mouse Click Left", "Type A",
                                                    "Key Released Shift_L", "50,60 Wheel down 1"};
        QTest::newRow("keyboard off") << false << false
                                      << QStringList{"300,400 Mouse Click Left", "50,60 Wheel down 1"};
        QTest::newRow("keeping the pace")
            << true << true
            << QStringList{
                   "Key Pushed Shift_L",   "1, Wait", "300,400 Mouse Click Left", "2, Wait", "Type A", "2, Wait",
                   "Key Released Shift_L", "1, Wait", "50,60 Wheel down 1"};
    }

    void keysTakeTheirPlacesAmongClicks()
    {
        QFETCH(bool, keyboard);
        QFETCH(bool, keepPace);
        QFETCH(QStringList, rows);
        Session s;
        s.state.keyboard.record = keyboard;
        s.state.pace.keepPace = keepPace;
        s.desktop.SetFollowable(true);
        s.recorder.SetOwnKeyTest([](const InputEvent& press) { return press.keysym == 'x'; });
        s.recorder.Record();
        s.Tick();
        const auto key = [&](InputEvent::Kind kind, quint32 keysym, quint32 base, quint64 order) {
            s.desktop.QueueInputEvent({kind, int(base), keysym, base, {}, 0, 0, ++s.time, order});
        };
        key(InputEvent::Kind::Press, 0xffe1, 0xffe1, 1); // Shift_L
        s.desktop.QueueButtonEvent({MouseButton::Left, true, 300, 400, ++s.time, 2});
        s.desktop.QueueButtonEvent({MouseButton::Left, false, 300, 400, ++s.time, 3});
        key(InputEvent::Kind::Press, 'A', 'a', 4);
        key(InputEvent::Kind::Release, 'A', 'a', 5);
        key(InputEvent::Kind::Release, 0xffe1, 0xffe1, 6);
        s.desktop.QueueInputEvent({InputEvent::Kind::Wheel, 0, 0, 0, WheelDirection::Down, 50, 60, ++s.time, 7});
        key(InputEvent::Kind::Press, 'x', 'x', 8);
        key(InputEvent::Kind::Release, 'x', 'x', 9);
        s.Tick();
        s.recorder.Stop();
        QCOMPARE(s.Rows(), rows);
    }

    // Keeping the pace, the time between one task's press (or release) and the next is a wait row of
    // its own, taken from the desktop's event times; a click that makes a double click keeps the
    // first click's moment. With the screen check on, every task gets its image, whatever the switch.
    void keepsThePace_data()
    {
        QTest::addColumn<QString>("gestures");
        QTest::addColumn<QString>("added");
        QTest::newRow("click, then a drag") << "1L300,400 5M300,400-520,90"
                                            << "cL300,400 w101 vM300,400 w0 ^M520,90";
        QTest::newRow("double click") << "1L200,200 11L203,198 3R203,198"
                                      << "dL203,198 w282 cR203,198";
    }

    void keepsThePace()
    {
        QFETCH(QString, gestures);
        QFETCH(QString, added);
        Session s;
        s.desktop.SetFollowable(true);
        s.state.pace.keepPace = true;
        s.state.options.saveImages = false;
        s.state.screenCheck.enabled = true;
        s.recorder.Record();
        s.Tick();
        s.Perform(gestures);
        s.Tick();
        QCOMPARE(s.Added(0), added);
    }

    // The pointer's way between a press at 100,100 and its release is kept as a path row after the
    // press, thinned to the points where it bends or stops; keeping the pace, the wait before the
    // release counts from the path's last point. A move before the press or after the release is
    // no part of it. Moves are written "x,y+ms since the move before (the first: since the press)".
    void dragsKeepAThinnedPath_data()
    {
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("path");
        QString straight;
        for (int i = 1; i <= 10; ++i)
            straight += QStringLiteral("%1,100+10 ").arg(100 + 10 * i);
        QTest::newRow("straight at an even pace: its first and last moves")
            << straight << "Mouse Path 110,100,10 200,100,90";
        QTest::newRow("a bend") << "110,100+10 120,100+10 130,100+10 130,110+10 130,120+10 130,130+10"
                                << "Mouse Path 110,100,10 130,100,20 130,130,30";
        QTest::newRow("a stop on the way") << "120,100+10 140,100+10 160,100+400 180,100+10 200,100+10"
                                           << "Mouse Path 120,100,10 140,100,10 160,100,400 200,100,20";
        QTest::newRow("a hand that trembles a pixel") << "120,101+10 140,99+10 160,101+10 180,100+10"
                                                      << "Mouse Path 120,101,10 180,100,30";
    }

    void dragsKeepAThinnedPath()
    {
        QFETCH(QString, moves);
        QFETCH(QString, path);
        Session s;
        s.desktop.SetFollowable(true);
        s.state.pace.keepPace = true;
        s.recorder.Record();
        s.Tick();
        quint64 order = 0;
        s.desktop.QueuePointerMove({90, 90, s.time, ++order});
        s.desktop.QueueButtonEvent({MouseButton::Left, true, 100, 100, s.time, ++order});
        QPoint at;
        for (const QString& move : moves.split(' ', Qt::SkipEmptyParts)) {
            const QStringList parts = move.split(QRegularExpression(QStringLiteral("[,+]")));
            at = QPoint(parts[0].toInt(), parts[1].toInt());
            s.time += parts[2].toUInt();
            s.desktop.QueuePointerMove({at.x(), at.y(), s.time, ++order});
        }
        s.time += 30;
        s.desktop.QueueButtonEvent({MouseButton::Left, false, at.x(), at.y(), s.time, ++order});
        s.desktop.QueuePointerMove({300, 300, s.time + 5, ++order});
        s.Tick();
        s.recorder.Stop();
        const auto text = [](TextId id) {
            return TextTable::Text(id);
        };
        QCOMPARE(s.Rows(),
                 (QStringList{"100,100 " + text(TextId::LeftPushed), path, "30, " + text(TextId::Wait),
                              QStringLiteral("%1,%2 ").arg(at.x()).arg(at.y()) + text(TextId::LeftReleased)}));
    }
};

QTEST_GUILESS_MAIN(TestRecorder)
#include "TestRecorder.moc"
