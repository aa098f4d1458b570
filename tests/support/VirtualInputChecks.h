#pragma once

// Checks that every desktop of virtual devices passes the same way, into wev filling the screen:
// clicks, key combinations and the wheel.

#include "desktop/Desktop.h"
#include "support/WevLog.h"

#include <QTest>

#include <linux/input-event-codes.h>

#include <xkbcommon/xkbcommon.h>

namespace VirtualInputChecks {

// A click lands on the pixel asked for, at the screen's corners too, with the button asked for.
inline void ButtonRows()
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

inline void Button(Desktop& desktop, WevLog& wev)
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(MouseButton, button);
    QFETCH(int, evdev);
    wev.Clear();
    desktop.MovePointer(x, y);
    desktop.ButtonClick(button);
    QVERIFY(wev.WaitFor([&] { return wev.Presses().size() >= 2; }));
    QCOMPARE(wev.Presses().size(), size_t(2));
    for (const WevLog::Press& press : wev.Presses()) {
        QCOMPARE(press.button, evdev);
        QCOMPARE(press.at, QPointF(x, y));
    }
    QVERIFY(wev.Presses()[0].pressed && !wev.Presses()[1].pressed);
    QCOMPARE(QPoint(desktop.PointerX(), desktop.PointerY()), QPoint(x, y));
}

// Ctrl+Shift+F11, Ctrl+A and a plain b: each key carries the modifiers held at its moment.
inline void Combination(Desktop& desktop, WevLog& wev)
{
    wev.Clear();
    desktop.KeyDown(XKB_KEY_Control_L);
    desktop.KeyDown(XKB_KEY_Shift_L);
    desktop.KeyTap(XKB_KEY_F11);
    desktop.KeyUp(XKB_KEY_Shift_L);
    desktop.KeyTap(XKB_KEY_a);
    desktop.KeyUp(XKB_KEY_Control_L);
    desktop.KeyTap(XKB_KEY_b);
    QVERIFY(wev.WaitFor([&] { return wev.Keys().size() >= 5; }));
    QCOMPARE(wev.Keys(),
             QStringList({QStringLiteral("Control_L"), QStringLiteral("Control+Shift_L"),
                          QStringLiteral("Shift+Control+F11"), QStringLiteral("Control+a"), QStringLiteral("b")}));
}

// The wheel turns in discrete steps, one for each notch, in each direction.
inline void WheelRows()
{
    QTest::addColumn<WheelDirection>("direction");
    QTest::addColumn<int>("notches");
    QTest::addColumn<QString>("step");
    QTest::newRow("down") << WheelDirection::Down << 3 << QStringLiteral("vertical 1");
    QTest::newRow("up") << WheelDirection::Up << 2 << QStringLiteral("vertical -1");
    QTest::newRow("left") << WheelDirection::Left << 1 << QStringLiteral("horizontal -1");
    QTest::newRow("right") << WheelDirection::Right << 2 << QStringLiteral("horizontal 1");
}

inline void Wheel(Desktop& desktop, WevLog& wev)
{
    QFETCH(WheelDirection, direction);
    QFETCH(int, notches);
    QFETCH(QString, step);
    wev.Clear();
    desktop.TurnWheel(direction, notches);
    QVERIFY(wev.WaitFor([&] { return wev.WheelSteps().size() >= notches; }));
    QCOMPARE(wev.WheelSteps(), QStringList(notches, step));
}

} // namespace VirtualInputChecks
