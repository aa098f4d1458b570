// The GNOME desktop under a headless mutter, driving wev, a client that logs what it receives,
// maximised to fill the screen; and its screen read back from the screen cast stream.

#include "desktop/gnome/GnomeDesktop.h"
#include "support/WevLog.h"

#include <QTest>

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

class TestGnomeDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_desktop = GnomeDesktop::Open(qgetenv("DBUS_SESSION_BUS_ADDRESS"), qgetenv("XDG_RUNTIME_DIR"));
        QVERIFY(m_desktop);
        QCOMPARE(m_desktop->ScreenSize(), QSize(1280, 1024));
        // mutter places wev's window: Super+Up maximises it, and without decorations it fills the screen.
        QVERIFY2(m_wev.Start(5000,
                             [this] {
                                 m_desktop->KeyDown(XKB_KEY_Super_L);
                                 m_desktop->KeyTap(XKB_KEY_Up);
                                 m_desktop->KeyUp(XKB_KEY_Super_L);
                             }),
                 qPrintable(m_wev.Error()));
        // Told its new size, wev still has to draw at it before mutter picks it under the pointer.
        QTest::qWait(300);
    }

    void buttonsLandOnThePixel_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<MouseButton>("button");
        QTest::addColumn<int>("evdev");
        QTest::newRow("left, inside") << 100 << 200 << MouseButton::Left << BTN_LEFT;
        QTest::newRow("left, top-left corner") << 0 << 0 << MouseButton::Left << BTN_LEFT;
        QTest::newRow("right, bottom-right corner") << 1279 << 1023 << MouseButton::Right << BTN_RIGHT;
        QTest::newRow("middle, inside") << 641 << 17 << MouseButton::Middle << BTN_MIDDLE;
    }
    void buttonsLandOnThePixel()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(MouseButton, button);
        QFETCH(int, evdev);
        m_wev.Clear();
        m_desktop->MovePointer(x, y);
        m_desktop->ButtonClick(button);
        QVERIFY(m_wev.WaitFor([&] { return m_wev.Presses().size() >= 2; }));
        QCOMPARE(m_wev.Presses().size(), size_t(2));
        for (const WevLog::Press& press : m_wev.Presses()) {
            QCOMPARE(press.button, evdev);
            QCOMPARE(press.at, QPointF(x, y));
        }
        QVERIFY(m_wev.Presses()[0].pressed && !m_wev.Presses()[1].pressed);
        QCOMPARE(QPoint(m_desktop->PointerX(), m_desktop->PointerY()), QPoint(x, y));
    }

    void dragsFromPressToRelease()
    {
        m_wev.Clear();
        m_desktop->MovePointer(320, 240);
        m_desktop->ButtonDown(MouseButton::Left);
        m_desktop->MovePointer(700, 540);
        m_desktop->ButtonUp(MouseButton::Left);
        QVERIFY(m_wev.WaitFor([&] { return m_wev.Presses().size() >= 2; }));
        QCOMPARE(m_wev.Presses()[0].at, QPointF(320, 240));
        QCOMPARE(m_wev.Presses()[1].at, QPointF(700, 540));
        QVERIFY(m_wev.Presses()[0].pressed && !m_wev.Presses()[1].pressed);
    }

    void typesWhatTheLayoutHolds()
    {
        m_wev.Clear();
        const QString text = QStringLiteral("hello, World @ 5 ~");
        for (const uint character : text.toUcs4())
            m_desktop->KeyTap(xkb_utf32_to_keysym(character));
        QVERIFY2(m_wev.WaitFor([&] { return m_wev.Typed().size() >= text.size(); }), qPrintable(m_wev.Typed()));
        QCOMPARE(m_wev.Typed(), text);
    }

    // mutter types with the user's layout and lends no key codes: what it lacks is told, not lost.
    void namesWhatTheLayoutLacks()
    {
        m_wev.Clear();
        for (const quint32 keysym : {XKB_KEY_eacute, XKB_KEY_a, XKB_KEY_Cyrillic_zhe})
            m_desktop->KeyTap(keysym);
        QVERIFY(m_wev.WaitFor([&] { return !m_wev.Typed().isEmpty(); }));
        QCOMPARE(m_wev.Typed(), QStringLiteral("a"));
        QCOMPARE(m_desktop->TakeUntypedKeys(), std::vector<quint32>({XKB_KEY_eacute, XKB_KEY_Cyrillic_zhe}));
    }

    void combinationsCarryTheirModifiers()
    {
        m_wev.Clear();
        m_desktop->KeyDown(XKB_KEY_Control_L);
        m_desktop->KeyDown(XKB_KEY_Shift_L);
        m_desktop->KeyTap(XKB_KEY_F11);
        m_desktop->KeyUp(XKB_KEY_Shift_L);
        m_desktop->KeyTap(XKB_KEY_a);
        m_desktop->KeyUp(XKB_KEY_Control_L);
        m_desktop->KeyTap(XKB_KEY_b);
        QVERIFY(m_wev.WaitFor([&] { return m_wev.Keys().size() >= 5; }));
        QCOMPARE(m_wev.Keys(),
                 QStringList({QStringLiteral("Control_L"), QStringLiteral("Control+Shift_L"),
                              QStringLiteral("Shift+Control+F11"), QStringLiteral("Control+a"), QStringLiteral("b")}));
    }

    void wheelTurnsInSteps_data()
    {
        QTest::addColumn<WheelDirection>("direction");
        QTest::addColumn<int>("notches");
        QTest::addColumn<QString>("step");
        QTest::newRow("down") << WheelDirection::Down << 3 << QStringLiteral("vertical 1");
        QTest::newRow("up") << WheelDirection::Up << 2 << QStringLiteral("vertical -1");
        QTest::newRow("left") << WheelDirection::Left << 1 << QStringLiteral("horizontal -1");
        QTest::newRow("right") << WheelDirection::Right << 2 << QStringLiteral("horizontal 1");
    }
    void wheelTurnsInSteps()
    {
        QFETCH(WheelDirection, direction);
        QFETCH(int, notches);
        QFETCH(QString, step);
        m_wev.Clear();
        m_desktop->TurnWheel(direction, notches);
        QVERIFY(m_wev.WaitFor([&] { return m_wev.WheelSteps().size() >= notches; }));
        QCOMPARE(m_wev.WheelSteps(), QStringList(notches, step));
    }

private:
    std::unique_ptr<GnomeDesktop> m_desktop;
    WevLog m_wev;
};

QTEST_MAIN(TestGnomeDesktop)
#include "TestGnomeDesktop.moc"
