#include "core/TextTable.h"
#include "player/Player.h"
#include "support/FakeDesktop.h"
#include "support/ImageText.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
using D = FakeDesktop;

// A textured background and an 80 x 60 window at (windowX, 40) whose content moves with it.
struct Screen
{
    int windowX = 40;
    int width = 200;
    bool window = true;
    bool caret = false; // a 2 x 20 caret inside the window
    int twinX = -1;     // a second window alike at (twinX, 40)
};

quint32 ColourAt(const Screen& s, int x, int y)
{
    if (x < 0 || y < 0 || x >= s.width || y >= 150)
        return 0;
    if (s.caret && x >= 70 && x < 72 && y >= 50 && y < 70)
        return 0x202020;
    const int wx = x - (s.twinX >= 0 && x >= s.twinX ? s.twinX : s.windowX);
    const int wy = y - 40;
    if (s.window && wx >= 0 && wx < 80 && wy >= 0 && wy < 60)
        return quint32(wx * 31 + wy * 17) * 0x010203u & 0xFFFFFFu;
    return quint32(x * 7 ^ y * 13) * 0x030201u & 0xFFFFFFu;
}

QByteArray ImageAt(const Screen& screen, QPoint point)
{
    return ImageText([screen](int x, int y) { return ColourAt(screen, x, y); }, point.x(), point.y());
}
} // namespace

Q_DECLARE_METATYPE(Screen)

class TestScreenCheck : public QObject
{
    Q_OBJECT

private slots:
    void comparison_data()
    {
        QTest::addColumn<Screen>("played");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("matches");
        QTest::newRow("identical") << Screen{} << QPoint(70, 60) << true;
        QTest::newRow("a caret blinked on") << Screen{.caret = true} << QPoint(70, 60) << true;
        QTest::newRow("window moved 12 px") << Screen{.windowX = 52} << QPoint(70, 60) << false;
        QTest::newRow("block half off the screen") << Screen{} << QPoint(3, 140) << true;
        QTest::newRow("point now beyond the screen") << Screen{.width = 100} << QPoint(120, 60) << false;
    }

    // The pointer goes to the point first: the image was taken with it there.
    void comparison()
    {
        QFETCH(Screen, played);
        QFETCH(QPoint, point);
        QFETCH(bool, matches);
        D desktop;
        const QByteArray image = ImageAt(Screen{}, point);
        desktop.SetPixels([played](int x, int y) { return ColourAt(played, x, y); });
        ScreenCheck check(desktop);
        QCOMPARE(check.Begin(1, point.x(), point.y(), image, 1000), matches);
        QCOMPARE(desktop.Actions(), std::vector{D::Move(point.x(), point.y())});
    }

    void findFollowsTheWindow_data()
    {
        QTest::addColumn<QList<QPoint>>("points"); // a click, or a press and release of a drag
        QTest::addColumn<bool>("drag");
        QTest::addColumn<Screen>("played");
        QTest::addColumn<std::vector<D::Action>>("actions");
        const Screen moved{.windowX = 100};
        // Points 25 px inside the window at least: the block around them holds nothing else.
        QTest::newRow("a click") << QList<QPoint>{{70, 70}} << false << moved
                                 << std::vector{D::Move(70, 70), D::Move(130, 70), D::Click(MouseButton::Left),
                                                D::Shape({})};
        // The second task is looked for where the first was found: its pointer goes there at once.
        QTest::newRow("the next task at the same offset")
            << QList<QPoint>{{70, 70}, {80, 72}} << false << moved
            << std::vector{D::Move(70, 70),  D::Move(130, 70), D::Click(MouseButton::Left),
                           D::Move(140, 72), D::Move(140, 72), D::Click(MouseButton::Left),
                           D::Shape({})};
        QTest::newRow("a drag follows its press")
            << QList<QPoint>{{70, 70}, {90, 74}} << true << moved
            << std::vector{D::Move(70, 70),  D::Move(130, 70),         D::Down(MouseButton::Left),
                           D::Move(150, 74), D::Up(MouseButton::Left), D::Shape({})};
        // Found as alike in two places, the image is clicked in neither: the run stops after the wait.
        QTest::newRow("two windows alike") << QList<QPoint>{{70, 70}} << false << Screen{.windowX = 0, .twinX = 110}
                                           << std::vector{D::Move(70, 70), D::Shape({})};
    }

    // The window moved 60 px right since the recording: every click goes 60 px right, and says so.
    void findFollowsTheWindow()
    {
        QFETCH(QList<QPoint>, points);
        QFETCH(bool, drag);
        QFETCH(Screen, played);
        QFETCH(std::vector<D::Action>, actions);
        D desktop;
        desktop.SetScreenSize({200, 150});
        SharedState state;
        state.screenCheck = {true, 1, ScreenCheckOptions::OnMismatch::Find};
        TaskList tasks;
        for (qsizetype i = 0; i < points.size(); ++i) {
            const TextId text = drag ? (i == 0 ? TextId::LeftPushed : TextId::LeftReleased) : TextId::ClickLeft;
            tasks.AddTask(QString::number(points[i].x()), QString::number(points[i].y()), TextTable::Text(text),
                          ImageAt(Screen{}, points[i]));
        }
        desktop.SetPixels([played](int x, int y) { return ColourAt(played, x, y); });
        Player player(tasks, desktop, state);
        QSignalSpy found(&player, &Player::taskFound);
        QSignalSpy finished(&player, &Player::finished);
        player.Play();
        desktop.ClearActions();
        int pixelsBefore = 0;
        for (qsizetype i = 0; i < points.size() && player.IsPlaying(); ++i) {
            pixelsBefore = desktop.PixelsRead();
            player.Step();
            QTRY_VERIFY_WITH_TIMEOUT(!player.WaitingForScreen(), 3000);
        }
        QCOMPARE(desktop.Actions(), actions);
        if (played.twinX >= 0) {
            QVERIFY(player.StoppedOn());
            QCOMPARE(player.StoppedOn()->alike.size(), 2);
            return;
        }
        QCOMPARE(found.size(), points.size());
        QCOMPARE(found.last().at(1).toPoint(), QPoint(60, 0));
        QCOMPARE(finished.at(0).at(0).toString(),
                 TextTable::Text(TextId::AllTasksExecuted) + " " + ScreenCheck::FoundNote(points.size()));
        // Found where the task before it was: one block read, as for a screen that matches in place.
        if (points.size() > 1 && !drag)
            QCOMPARE(desktop.PixelsRead() - pixelsBefore, 51 * 51);
    }

    // While the image is nowhere a still screen is not read again; a change is read where it
    // happened and the image found there. Once cancelled, a search finds nothing more.
    void findWaitsForChanges_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("found after a change") << false;
        QTest::newRow("cancelled") << true;
    }

    void findWaitsForChanges()
    {
        QFETCH(bool, cancelled);
        D desktop;
        desktop.SetScreenSize({200, 150});
        desktop.SetReportsChanges(true);
        desktop.SetPixels([](int x, int y) { return ColourAt(Screen{.window = false}, x, y); });
        ScreenCheck check(desktop);
        QSignalSpy matched(&check, &ScreenCheck::matched);
        QVERIFY(!check.Begin(1, 70, 70, ImageAt(Screen{}, {70, 70}), 10000, QPoint()));
        QTRY_VERIFY(desktop.PixelsRead() > 200 * 150);
        const int read = desktop.PixelsRead();
        QTest::qWait(100);
        QCOMPARE(desktop.PixelsRead(), read);
        if (cancelled)
            check.Cancel();
        desktop.SetPixels([](int x, int y) { return ColourAt(Screen{.windowX = 100}, x, y); });
        desktop.ReportChange(QRect(100, 40, 80, 60));
        if (cancelled) {
            QTest::qWait(100);
            QCOMPARE(matched.size(), 0);
            return;
        }
        QTRY_COMPARE(matched.size(), 1);
        QCOMPARE(check.FoundOffset(), QPoint(60, 0));
        // The change and 50 pixels around it, as far as the screen goes: from (50, 0) to its corner.
        QCOMPARE(desktop.PixelsRead() - read, 150 * 150);
    }

    // The edges of the two allowances: how many pixels may differ, and by how much a channel may be
    // off before its pixel counts as differing.
    void allowances_data()
    {
        QTest::addColumn<int>("changed"); // the first pixels of the block, row by row
        QTest::addColumn<int>("red");     // their red channel, 0 in the recorded image
        QTest::addColumn<bool>("matches");
        QTest::newRow("64 pixels far off") << 64 << 255 << true;
        QTest::newRow("65 pixels far off") << 65 << 255 << false;
        QTest::newRow("every pixel 16 off") << 2601 << 16 << true;
        QTest::newRow("every pixel 17 off") << 2601 << 17 << false;
    }

    void allowances()
    {
        QFETCH(int, changed);
        QFETCH(int, red);
        QFETCH(bool, matches);
        const auto recorded = [](int x, int y) {
            return quint32(x * 7 ^ y * 13) * 0x010100u & 0xFFFF00u;
        };
        D desktop;
        desktop.SetPixels([&](int x, int y) {
            const bool off = (y - 75) * 51 + (x - 75) < changed;
            return recorded(x, y) | (off ? quint32(red) : 0u);
        });
        ScreenCheck check(desktop);
        QCOMPARE(check.Begin(1, 100, 100, ImageText(recorded, 100, 100), 1000), matches);
    }
};

QTEST_GUILESS_MAIN(TestScreenCheck)
#include "TestScreenCheck.moc"
