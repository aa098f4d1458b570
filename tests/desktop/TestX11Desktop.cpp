#include "desktop/GuardianProcess.h"
#include "desktop/x11/PixelFormat.h"
#include "desktop/x11/X11Desktop.h"
#include "desktop/x11/X11ErrorTrap.h"
#include "desktop/x11/X11HeldRecord.h"
#include "xdriver/LogWindow.h"
#include "xdriver/XDriver.h"

#include "core/KeySymbols.h"

#include <QTest>

#include <X11/Xlib.h>

#include <thread>

namespace {
// A button as Qt numbers it, which is how the log window writes it.
int QtNumber(MouseButton button)
{
    return button == MouseButton::Left    ? Qt::LeftButton
           : button == MouseButton::Right ? Qt::RightButton
                                          : Qt::MiddleButton;
}

// The X error handler in place now.
XErrorHandler CurrentHandler()
{
    const XErrorHandler handler = XSetErrorHandler(nullptr);
    XSetErrorHandler(handler);
    return handler;
}
} // namespace

Q_DECLARE_METATYPE(MouseButton)

// The X11 layer on a real X server, with a second connection in the part of the user and a window
// that shows a known pattern over the whole screen and logs the clicks it receives. The layer
// follows the buttons from the start: its stream must see every press and release the window sees.
class TestX11Desktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<X11Desktop> m_desktop = X11Desktop::Open().desktop;
    XDriver m_user;
    QRect m_screen{{0, 0}, m_desktop->ScreenSize()};
    LogWindow m_window{m_screen};
    QStringList m_followed;

    // The watched keys and buttons that read as down: buttons by their Qt number, keys by keysym.
    QList<int> Down()
    {
        QList<int> down;
        for (const MouseButton button : kMouseButtons)
            if (m_desktop->IsButtonDown(button))
                down << QtNumber(button);
        for (const quint32 key : {KeySymbols::kShift, KeySymbols::kControl, KeySymbols::kF11, KeySymbols::kF12})
            if (m_desktop->IsKeyDown(key))
                down << int(key);
        return down;
    }

    // Every press and release the layer followed since the last row.
    const QStringList& Followed()
    {
        for (const ButtonEvent& event : m_desktop->TakeButtonEvents())
            m_followed << LogWindow::Event(event.pressed ? "press" : "release", QtNumber(event.button),
                                           {event.x, event.y});
        return m_followed;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_desktop && m_desktop->WatchInput(true));
        m_window.show();
        const QPoint centre = m_screen.center(); // away from the edges, where the blocks are clipped
        QTRY_COMPARE(m_desktop->PixelColor(centre.x(), centre.y()), LogWindow::Colour(centre));
    }

    void cleanup() { m_user.ReleaseAll(); }

    void keysHeldByTheUser()
    {
        using namespace KeySymbols;
        const std::pair<const char*, int> keys[] = {
            {"Shift_L", kShift}, {"Shift_R", kShift}, {"Control_L", kControl}, {"Control_R", kControl}, {"F11", kF11},
            {"F12", kF12},       {"Alt_L", 0}};
        for (const auto& [key, code] : keys) {
            m_user.Keys(key, true);
            QCOMPARE(Down(), code == 0 ? QList<int>{} : QList<int>{code});
            m_user.ReleaseAll();
        }
        QCOMPARE(Down(), QList<int>{});
    }

    // Each row at a point of its own, so that Qt takes no two rows for a double click. A drag ends
    // 100 pixels right of and 80 below where it starts; while it holds the button, only that reads down.
    void buttonActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<MouseButton>("button");
        QTest::addColumn<QPoint>("at");
        int x = 0;
        for (const MouseButton button : kMouseButtons)
            for (const char* action : {"click", "double click", "drag"})
                QTest::addRow("%s %d", action, QtNumber(button)) << action << button << QPoint(x += 120, 100);
    }

    void buttonActions()
    {
        QFETCH(QString, action);
        QFETCH(MouseButton, button);
        const int number = QtNumber(button);
        QFETCH(QPoint, at);
        const QPoint end = action == "drag" ? at + QPoint(100, 80) : at;
        m_window.Events().clear();
        m_followed.clear();
        m_desktop->MovePointer(at.x(), at.y());
        QCOMPARE(QPoint(m_desktop->PointerX(), m_desktop->PointerY()), at);
        if (action == "click") {
            m_desktop->ButtonClick(button);
        } else if (action == "double click") {
            m_desktop->ButtonDoubleClick(button);
        } else {
            m_desktop->ButtonDown(button);
            QCOMPARE(Down(), QList<int>{number});
            m_desktop->MovePointer(end.x(), end.y());
            m_desktop->ButtonUp(button);
        }
        QStringList expected = {LogWindow::Event("press", number, at), LogWindow::Event("release", number, end)};
        if (action == "double click")
            expected << LogWindow::Event("double", number, at) << LogWindow::Event("release", number, at);
        // Nothing else asks the server meanwhile: the events must have left without a later flush.
        QTRY_COMPARE(m_window.Events(), expected);
        QTRY_COMPARE(Followed(), expected.replaceInStrings("double", "press")); // the stream sees two presses
    }

    // 51x51 blocks at two corners, the middle and wholly off the screen: the pattern on it, black off it.
    void pixelBlocks()
    {
        for (const QPoint centre : {QPoint(0, 0), m_screen.center(), m_screen.bottomRight(), QPoint(-100, 2000)}) {
            const QRect area(centre - QPoint(25, 25), QSize(51, 51));
            std::vector<quint32> expected;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    expected.push_back(m_screen.contains(x, y) ? LogWindow::ColourAt(x, y) : 0);
            QVERIFY(m_desktop->PixelBlock(area.x(), area.y(), 51, 51) == expected);
            QCOMPARE(m_desktop->PixelColor(centre.x(), centre.y()), expected[51 * 25 + 25]);
        }
    }

    // A trap is charged with the errors of its own requests only, not with one of a request made
    // before it opened, and gives back the handler it found; without a trap an error is logged and
    // the program goes on (Xlib's own handler would end this test here).
    void errorTrap()
    {
        const XErrorHandler before = CurrentHandler();
        m_user.MakeError(false);
        {
            X11ErrorTrap trap(m_user.Connection());
            QVERIFY(!trap.Failed());
            m_user.MakeError();
            QVERIFY(trap.Failed());
        }
        QVERIFY(CurrentHandler() == before);
        m_user.MakeError();
    }

    // After a layout change F11 sits on another keycode: the stop keys must follow it there.
    void keysFollowALayoutChange()
    {
        QVERIFY(!m_desktop->IsKeyDown(KeySymbols::kF11)); // the layer has read the mapping before the change
        const unsigned int moved = m_user.SwapKeys(QStringLiteral("F11"), QStringLiteral("F1"));
        m_user.PressKeycode(moved, true);
        const bool seen = m_desktop->IsKeyDown(KeySymbols::kF11);
        m_user.PressKeycode(moved, false);
        m_user.SwapKeys(QStringLiteral("F11"), QStringLiteral("F1"));
        QVERIFY(seen);
    }

    // The guardian lets go of what it was told is held once its link closes, as when the program
    // is killed; what it was told is let go stays as the user holds it.
    void guardianLetsGoWhenTheProgramEnds()
    {
        auto guardian = GuardianProcess::Start("clickwarden-guardian", qgetenv("DISPLAY"), QStringLiteral(CW_GUARDIAN));
        QVERIFY(guardian);
        guardian->Tell({HeldInputs::Kind::Button, 1}, true);
        guardian->Tell({HeldInputs::Kind::Button, 3}, true);
        guardian->Tell({HeldInputs::Kind::Button, 3}, false);
        m_user.Button(1, true);
        m_user.Button(3, true);
        guardian.reset();
        QCOMPARE(m_user.ButtonsDown(), 0b100u);
    }

    // The record (and with it the guardian) hears of a press before the server does: the press is
    // held up by a grab of the server, and the record names it already; after the release it does not.
    void pressesAreOnRecordBeforeTheServerSeesThem()
    {
        QFile record(X11HeldRecord::Folder() + QStringLiteral("/held-%1").arg(QCoreApplication::applicationPid()));
        const auto recorded = [&record] {
            record.open(QIODevice::ReadOnly);
            const QByteArray text = record.readAll();
            record.close();
            return text.contains("\nb 3\n");
        };
        XGrabServer(m_user.Connection());
        XSync(m_user.Connection(), False);
        std::thread press([this] { m_desktop->ButtonDown(MouseButton::Right); });
        // No event loop meanwhile: the toolkit's own connection would wait for the server too.
        bool before = false;
        for (int tries = 0; tries < 200 && !before; ++tries, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
            before = recorded();
        before = before && m_user.ButtonsDown() == 0;
        XUngrabServer(m_user.Connection());
        XSync(m_user.Connection(), False);
        press.join();
        QVERIFY(before);
        QCOMPARE(m_user.ButtonsDown(), 0b100u);
        m_desktop->ButtonUp(MouseButton::Right);
        QVERIFY(!recorded());
    }

    // Other visuals than the test server's: each becomes red in the low byte, then green, then blue.
    void pixelFormatsOfOtherVisuals()
    {
        // The red, green and blue masks, a pixel and its colour.
        const unsigned long cases[][5] = {{0xff, 0xff00, 0xff0000, 0xab123456, 0x123456},      // blue first, pad byte
                                          {0xf800, 0x07e0, 0x001f, 0x0400, 0x008200},          // 16-bit mid green
                                          {0x3ff00000, 0xffc00, 0x3ff, 0x3ff00001, 0x0000ff}}; // 30-bit: high bits
        for (const auto& c : cases)
            QCOMPARE(PixelFormat(c[0], c[1], c[2]).ToColour(c[3]), quint32(c[4]));
    }
};

QTEST_MAIN(TestX11Desktop)
#include "TestX11Desktop.moc"
