#include "desktop/XUser.h"
#include "desktop/x11/X11Desktop.h"

#include <QTest>

#include <memory>

namespace {
const int kAllCodes[] = {VirtualKey::kLeftButton,
                         VirtualKey::kRightButton,
                         VirtualKey::kMiddleButton,
                         VirtualKey::kShift,
                         VirtualKey::kControl,
                         VirtualKey::kF11,
                         VirtualKey::kF12,
                         0,
                         3,
                         5,
                         18,
                         65,
                         121,
                         124,
                         -1,
                         1000};
constexpr int kBlock = 51;
} // namespace

// The X11 desktop against a real X server, with a second connection in the part of the user.
class TestX11Desktop : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<X11Desktop> m_desktop;
    std::unique_ptr<XUser> m_user;

    // Only `expected` reads as down (none where it is 0); every other code reads as up.
    void CheckOnlyDown(int expected)
    {
        for (int code : kAllCodes)
            QVERIFY2(m_desktop->IsKeyDown(code) == (code == expected && expected != 0),
                     qPrintable(QStringLiteral("virtual key %1").arg(code)));
    }

    quint32 Expected(int x, int y) const
    {
        const bool onScreen = x >= 0 && y >= 0 && x < m_user->ScreenWidth() && y < m_user->ScreenHeight();
        return onScreen ? XUser::PatternColour(x, y) : 0;
    }

    // What differs between a block read and the pattern (the block read again pixel by pixel must
    // agree too); empty when nothing does.
    QString Mismatch(int left, int top, int width, int height)
    {
        const std::vector<quint32> block = m_desktop->PixelBlock(left, top, width, height);
        if (block.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
            return QStringLiteral("%1 colours instead of %2").arg(block.size()).arg(width * height);
        for (int j = 0; j < height; ++j) {
            for (int i = 0; i < width; ++i) {
                const quint32 colour = block[static_cast<size_t>(j) * static_cast<size_t>(width) + i];
                const quint32 expected = Expected(left + i, top + j);
                if (colour != expected)
                    return QStringLiteral("pixel (%1, %2): %3 instead of %4")
                        .arg(left + i)
                        .arg(top + j)
                        .arg(colour, 8, 16, QChar('0'))
                        .arg(expected, 8, 16, QChar('0'));
                if ((i + j) % 7 == 0 && m_desktop->PixelColor(left + i, top + j) != colour)
                    return QStringLiteral("single pixel (%1, %2) differs from the block").arg(left + i).arg(top + j);
            }
        }
        return {};
    }

    // Test programs that run beside this one may show a window over the pattern for a moment:
    // the pattern is raised and read again a few times before a difference counts.
    QString ReadPattern(int left, int top, int width, int height)
    {
        QString mismatch;
        for (int attempt = 0; attempt < 3; ++attempt) {
            m_user->ShowPattern();
            mismatch = Mismatch(left, top, width, height);
            if (mismatch.isEmpty())
                break;
        }
        return mismatch;
    }

    // The cursor shown over the pattern, which has none of its own and so shows the root window's.
    // The pattern is raised first, in case a window of a test running beside came over it, and the
    // pointer stirred, as the server may report a stale cursor until the pointer moves.
    XUser::CursorImage RootCursor()
    {
        XUser::CursorImage cursor;
        for (int attempt = 0; attempt < 3 && cursor.argb.empty(); ++attempt) {
            m_user->ShowPattern();
            const QPoint pointer = m_user->Pointer();
            m_user->MovePointer(pointer.x() + 1, pointer.y());
            m_user->MovePointer(pointer.x(), pointer.y());
            cursor = m_user->CurrentCursor();
        }
        return cursor;
    }

private slots:
    void initTestCase()
    {
        X11Desktop::OpenResult opened = X11Desktop::Open();
        QVERIFY2(opened.desktop, "no X display with XTEST: run under Xvfb");
        m_desktop = std::move(opened.desktop);
        m_user = std::make_unique<XUser>();
        QVERIFY(m_user->IsOpen());
        QCOMPARE(m_desktop->ScreenWidth(), m_user->ScreenWidth());
        QCOMPARE(m_desktop->ScreenHeight(), m_user->ScreenHeight());
        m_user->ShowPattern();
        m_user->MovePointer(m_user->ScreenWidth() / 2, m_user->ScreenHeight() / 2);
    }

    void cleanup() { m_user->ReleaseAll(); }

    void cleanupTestCase()
    {
        m_desktop.reset();
        m_user.reset();
    }

    void openFailsCleanlyWithoutDisplay()
    {
        const X11Desktop::OpenResult opened = X11Desktop::Open(":999");
        QVERIFY(!opened.desktop);
        QCOMPARE(opened.error, X11Desktop::OpenError::NoDisplay);
    }

    void keysAndButtonsHeldByTheUser_data()
    {
        QTest::addColumn<int>("xButton"); // 0: press the key instead
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        using Key = XUser::Key;
        QTest::newRow("left button") << 1 << 0 << VirtualKey::kLeftButton;
        QTest::newRow("middle button") << 2 << 0 << VirtualKey::kMiddleButton;
        QTest::newRow("right button") << 3 << 0 << VirtualKey::kRightButton;
        QTest::newRow("left shift") << 0 << int(Key::ShiftLeft) << VirtualKey::kShift;
        QTest::newRow("right shift") << 0 << int(Key::ShiftRight) << VirtualKey::kShift;
        QTest::newRow("left control") << 0 << int(Key::ControlLeft) << VirtualKey::kControl;
        QTest::newRow("right control") << 0 << int(Key::ControlRight) << VirtualKey::kControl;
        QTest::newRow("F11") << 0 << int(Key::F11) << VirtualKey::kF11;
        QTest::newRow("F12") << 0 << int(Key::F12) << VirtualKey::kF12;
        QTest::newRow("alt is no code") << 0 << int(Key::AltLeft) << 0;
        QTest::newRow("letter is no code") << 0 << int(Key::LetterA) << 0;
    }

    void keysAndButtonsHeldByTheUser()
    {
        QFETCH(int, xButton);
        QFETCH(int, key);
        QFETCH(int, expected);
        CheckOnlyDown(0);
        if (xButton != 0)
            m_user->PressButton(static_cast<unsigned int>(xButton));
        else
            m_user->PressKey(static_cast<XUser::Key>(key));
        CheckOnlyDown(expected);
        m_user->ReleaseAll();
        CheckOnlyDown(0);
    }

    void controlShiftF12TogetherAllReadDown()
    {
        m_user->PressKey(XUser::Key::ControlRight);
        m_user->PressKey(XUser::Key::ShiftLeft);
        m_user->PressKey(XUser::Key::F12);
        QVERIFY(m_desktop->IsKeyDown(VirtualKey::kF12));
        QVERIFY(m_desktop->IsKeyDown(VirtualKey::kControl));
        QVERIFY(m_desktop->IsKeyDown(VirtualKey::kShift));
        QVERIFY(!m_desktop->IsKeyDown(VirtualKey::kF11));
        m_user->ReleaseKey(XUser::Key::F12);
        QVERIFY(!m_desktop->IsKeyDown(VirtualKey::kF12));
        QVERIFY(m_desktop->IsKeyDown(VirtualKey::kShift));
    }

    void buttonActionsAreSeenAsHeld_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << VirtualKey::kLeftButton;
        QTest::newRow("right") << VirtualKey::kRightButton;
        QTest::newRow("middle") << VirtualKey::kMiddleButton;
    }

    void buttonActionsAreSeenAsHeld()
    {
        QFETCH(int, button);
        m_desktop->ButtonDown(button);
        const bool seen = m_desktop->IsKeyDown(button);
        m_desktop->ButtonUp(button);
        QVERIFY(seen);
        CheckOnlyDown(0);
    }

    void movePointerMovesTheRealPointer_data()
    {
        QTest::addColumn<QPoint>("target");
        QTest::newRow("inside") << QPoint(321, 456);
        QTest::newRow("top left corner") << QPoint(0, 0);
        QTest::newRow("bottom right corner") << QPoint(m_user->ScreenWidth() - 1, m_user->ScreenHeight() - 1);
    }

    void movePointerMovesTheRealPointer()
    {
        QFETCH(QPoint, target);
        m_desktop->MovePointer(target.x(), target.y());
        QCOMPARE(m_user->Pointer(), target);
        QCOMPARE(QPoint(m_desktop->PointerX(), m_desktop->PointerY()), target);
    }

    void pointerMovedByTheUserIsRead()
    {
        m_user->MovePointer(77, 88);
        QCOMPARE(m_desktop->PointerX(), 77);
        QCOMPARE(m_desktop->PointerY(), 88);
    }

    void clicksArriveWithTheRightXButton_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<int>("xButton");
        QTest::newRow("left click") << VirtualKey::kLeftButton << false << 1;
        QTest::newRow("right click") << VirtualKey::kRightButton << false << 3;
        QTest::newRow("middle click") << VirtualKey::kMiddleButton << false << 2;
        QTest::newRow("left double click") << VirtualKey::kLeftButton << true << 1;
        QTest::newRow("right double click") << VirtualKey::kRightButton << true << 3;
        QTest::newRow("middle double click") << VirtualKey::kMiddleButton << true << 2;
    }

    void clicksArriveWithTheRightXButton()
    {
        QFETCH(int, button);
        QFETCH(bool, doubleClick);
        QFETCH(int, xButton);
        const size_t expectedEvents = doubleClick ? 4 : 2;
        std::vector<XUser::ButtonEvent> events;
        // A window of a test program running beside this one may take the clicks: try again.
        for (int attempt = 0; attempt < 3 && events.size() != expectedEvents; ++attempt) {
            m_user->ShowClickWindow(QRect(200, 150, 300, 200));
            m_desktop->MovePointer(260, 230);
            if (doubleClick)
                m_desktop->ButtonDoubleClick(button);
            else
                m_desktop->ButtonClick(button);
            events = m_user->TakeButtonEvents();
            m_user->HideClickWindow();
        }

        QCOMPARE(events.size(), expectedEvents);
        for (size_t i = 0; i < events.size(); ++i) {
            QCOMPARE(events[i].press, i % 2 == 0);
            QCOMPARE(events[i].button, static_cast<unsigned int>(xButton));
            QCOMPARE(events[i].root, QPoint(260, 230));
            QCOMPARE(events[i].local, QPoint(60, 80));
        }
        // Toolkits take two clicks within a few hundred milliseconds as a double click.
        if (doubleClick)
            QVERIFY(events[2].time - events[0].time < 200);
        CheckOnlyDown(0);
    }

    void pressAndReleaseArriveSeparately()
    {
        m_user->ShowClickWindow(QRect(600, 400, 200, 200));
        m_desktop->MovePointer(610, 420);
        m_desktop->ButtonDown(VirtualKey::kRightButton);
        m_desktop->MovePointer(700, 500);
        m_desktop->ButtonUp(VirtualKey::kRightButton);
        const std::vector<XUser::ButtonEvent> events = m_user->TakeButtonEvents();
        m_user->HideClickWindow();
        QCOMPARE(events.size(), size_t(2));
        QVERIFY(events[0].press);
        QCOMPARE(events[0].root, QPoint(610, 420));
        QVERIFY(!events[1].press);
        QCOMPARE(events[1].root, QPoint(700, 500));
        QCOMPARE(events[1].button, 3U);
    }

    void pixelBlocksReadThePatternAndBlackOffScreen_data()
    {
        QTest::addColumn<QPoint>("centre");
        const int right = m_user->ScreenWidth() - 1;
        const int bottom = m_user->ScreenHeight() - 1;
        QTest::newRow("middle") << QPoint(right / 2, bottom / 2);
        QTest::newRow("top left corner") << QPoint(0, 0);
        QTest::newRow("top right corner") << QPoint(right, 0);
        QTest::newRow("bottom left corner") << QPoint(0, bottom);
        QTest::newRow("bottom right corner") << QPoint(right, bottom);
        QTest::newRow("top edge") << QPoint(right / 2, 3);
        QTest::newRow("bottom edge") << QPoint(right / 2, bottom - 3);
        QTest::newRow("left edge") << QPoint(10, bottom / 2);
        QTest::newRow("right edge") << QPoint(right - 24, bottom / 2);
        QTest::newRow("just inside") << QPoint(25, 25);
        QTest::newRow("wholly off the screen") << QPoint(-100, bottom + 60);
    }

    void pixelBlocksReadThePatternAndBlackOffScreen()
    {
        QFETCH(QPoint, centre);
        const QString mismatch = ReadPattern(centre.x() - kBlock / 2, centre.y() - kBlock / 2, kBlock, kBlock);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }

    void blocksWiderThanTheScreen()
    {
        const QString mismatch = ReadPattern(-10, 100, m_user->ScreenWidth() + 20, 2);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        QVERIFY(m_desktop->PixelBlock(0, 0, 0, 5).empty());
    }

    void pointerShapeFromTheCursorFile()
    {
        m_desktop->MovePointer(1100, 900);
        m_desktop->SetPointerShape();
        const XUser::CursorImage normal = RootCursor();

        m_desktop->SetPointerShape(QStringLiteral(CW_DATA_DIR "/rec.cur"));
        const XUser::CursorImage recording = RootCursor();
        QCOMPARE(recording.width, 32);
        QCOMPARE(recording.height, 32);
        QCOMPARE(recording.hotspot, QPoint(1, 1));
        // The recording dot is opaque red.
        const quint32 dot = recording.argb[static_cast<size_t>(22 * 32 + 22)];
        QCOMPARE(dot >> 24, 0xffU);
        QVERIFY(((dot >> 16) & 0xff) > 0xc0 && ((dot >> 8) & 0xff) < 0x40);

        // A file that cannot be read changes nothing.
        m_desktop->SetPointerShape(QStringLiteral("/nonexistent/rec.cur"));
        m_desktop->SetPointerShape(QStringLiteral(CW_DATA_DIR "/CMakeLists.txt"));
        QCOMPARE(RootCursor().argb, recording.argb);

        m_desktop->SetPointerShape();
        QCOMPARE(RootCursor().argb, normal.argb);
    }
};

QTEST_GUILESS_MAIN(TestX11Desktop)
#include "TestX11Desktop.moc"
