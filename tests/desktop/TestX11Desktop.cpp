#include "desktop/x11/CursorFile.h"
#include "desktop/x11/PixelFormat.h"
#include "desktop/x11/X11Desktop.h"
#include "xdriver/LogWindow.h"
#include "xdriver/XDriver.h"

#include <QScreen>
#include <QTest>

namespace {
using namespace VirtualKey;

QString Event(const char* kind, int button, QPoint at)
{
    return QStringLiteral("%1 %2 %3,%4").arg(kind).arg(button).arg(at.x()).arg(at.y());
}
} // namespace

// The X11 layer on a real X server, with a second connection in the part of the user and a window
// that shows a known pattern over the whole screen and logs the clicks it receives. The layer
// follows the buttons from the start: its stream must see every press and release the window sees.
class TestX11Desktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<X11Desktop> m_desktop = X11Desktop::Open().desktop;
    XDriver m_user;
    QRect m_screen = QGuiApplication::primaryScreen()->geometry();
    LogWindow m_window{m_screen};

    // The known keys and buttons that read as down.
    QList<int> Down()
    {
        QList<int> down;
        for (const int code : {kLeftButton, kRightButton, kMiddleButton, kShift, kControl, kF11, kF12})
            if (m_desktop->IsKeyDown(code))
                down << code;
        return down;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_desktop && m_desktop->FollowButtons(true));
        m_window.show();
        const QPoint corner = m_screen.bottomRight();
        QTRY_COMPARE(m_desktop->PixelColor(corner.x(), corner.y()), LogWindow::Colour(corner.x(), corner.y()));
    }

    void cleanup() { m_user.ReleaseAll(); }

    void keysHeldByTheUser_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QList<int>>("down");
        QTest::newRow("Shift_L") << "Shift_L" << QList<int>{kShift};
        QTest::newRow("Shift_R") << "Shift_R" << QList<int>{kShift};
        QTest::newRow("Control_L") << "Control_L" << QList<int>{kControl};
        QTest::newRow("Control_R") << "Control_R" << QList<int>{kControl};
        QTest::newRow("F11") << "F11" << QList<int>{kF11};
        QTest::newRow("F12") << "F12" << QList<int>{kF12};
        QTest::newRow("Alt_L") << "Alt_L" << QList<int>{};
    }

    void keysHeldByTheUser()
    {
        QFETCH(QString, key);
        QFETCH(QList<int>, down);
        m_user.Keys(key, true);
        QCOMPARE(Down(), down);
        m_user.ReleaseAll();
        QCOMPARE(Down(), QList<int>{});
    }

    // Each row at a point of its own, so that Qt takes no two rows for a double click. A drag ends
    // 100 pixels right of and 80 below where it starts; while it holds the button, only that reads down.
    void buttonActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("at");
        int x = 0;
        for (const int button : kButtons)
            for (const char* action : {"click", "double click", "drag"})
                QTest::addRow("%s %d", action, button) << action << button << QPoint(x += 120, 100);
    }

    void buttonActions()
    {
        QFETCH(QString, action);
        QFETCH(int, button);
        QFETCH(QPoint, at);
        const QPoint end = action == "drag" ? at + QPoint(100, 80) : at;
        m_window.Events().clear();
        m_desktop->MovePointer(at.x(), at.y());
        QCOMPARE(QPoint(m_desktop->PointerX(), m_desktop->PointerY()), at);
        if (action == "click") {
            m_desktop->ButtonClick(button);
        } else if (action == "double click") {
            m_desktop->ButtonDoubleClick(button);
        } else {
            m_desktop->ButtonDown(button);
            QCOMPARE(Down(), QList<int>{button});
            m_desktop->MovePointer(end.x(), end.y());
            m_desktop->ButtonUp(button);
        }
        QStringList expected = {Event("press", button, at), Event("release", button, end)};
        if (action == "double click")
            expected << Event("double", button, at) << Event("release", button, at);
        // Nothing else asks the server meanwhile: the events must have left without a later flush.
        QTRY_COMPARE(m_window.Events(), expected);
        QStringList followed;
        const auto take = [&] {
            for (const ButtonEvent& event : m_desktop->TakeButtonEvents())
                followed << Event(event.pressed ? "press" : "release", event.button, {event.x, event.y});
            return followed;
        };
        expected.replaceInStrings("double", "press"); // the stream sees a second press
        QTRY_COMPARE(take(), expected);
        QCOMPARE(Down(), QList<int>{});
    }

    // 51x51 blocks at two corners, the middle and wholly off the screen; the pattern's colours on
    // it, black off it.
    void pixelBlocks()
    {
        for (const QPoint centre : {QPoint(0, 0), m_screen.center(), m_screen.bottomRight(), QPoint(-100, 2000)}) {
            const QRect area(centre - QPoint(25, 25), QSize(51, 51));
            std::vector<quint32> expected;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    expected.push_back(m_screen.contains(x, y) ? LogWindow::Colour(x, y) : 0);
            QVERIFY(m_desktop->PixelBlock(area.x(), area.y(), 51, 51) == expected);
            QCOMPARE(m_desktop->PixelColor(centre.x(), centre.y()), expected[51 * 25 + 25]);
        }
    }

    // Other visuals than the test server's: each becomes red in the low byte, then green, then blue.
    void pixelFormatsOfOtherVisuals()
    {
        // The red, green and blue masks, a pixel and its colour.
        const unsigned long cases[][5] = {{0xff0000, 0xff00, 0xff, 0xab010203, 0x030201},      // pad byte ignored
                                          {0xff, 0xff00, 0xff0000, 0x123456, 0x123456},        // blue first
                                          {0xf800, 0x07e0, 0x001f, 0xffff, 0xffffff},          // 16-bit white
                                          {0xf800, 0x07e0, 0x001f, 0x0400, 0x008200},          // 16-bit mid green
                                          {0x3ff00000, 0xffc00, 0x3ff, 0x3ff00001, 0x0000ff}}; // 30-bit: high bits
        for (const auto& c : cases)
            QCOMPARE(PixelFormat(c[0], c[1], c[2]).ToColour(c[3]), quint32(c[4]));
    }

    // The root window's cursor, seen where the pattern window leaves the screen free.
    void pointerShapeOnTheRootWindow()
    {
        m_window.hide();
        const QString path = QStringLiteral(CW_DATA_DIR "/rec.cur");
        const std::optional<CursorFile> recording = CursorFile::Load(path);
        QVERIFY(recording);
        m_desktop->SetPointerShape(path);
        QTRY_VERIFY(m_user.ShowsCursor(*recording));
        m_desktop->SetPointerShape(QStringLiteral("/nonexistent/rec.cur")); // changes nothing
        QVERIFY(m_user.ShowsCursor(*recording));
        m_desktop->SetPointerShape();
        QVERIFY(!m_user.ShowsCursor(*recording));
    }
};

QTEST_MAIN(TestX11Desktop)
#include "TestX11Desktop.moc"
