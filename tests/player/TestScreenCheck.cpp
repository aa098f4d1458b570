#include "core/TextTable.h"
#include "player/Player.h"
#include "support/FakeDesktop.h"
#include "support/ImageText.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

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
};

quint32 ColourAt(const Screen& s, int x, int y)
{
    if (x < 0 || y < 0 || x >= s.width || y >= 150)
        return 0;
    if (s.caret && x >= 70 && x < 72 && y >= 50 && y < 70)
        return 0x202020;
    const int wx = x - s.windowX;
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
