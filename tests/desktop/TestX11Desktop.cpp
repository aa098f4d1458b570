#include "desktop/XUser.h"
#include "desktop/x11/X11Desktop.h"

#include <QTest>

#include <memory>

namespace {
// The codes the layer knows, and a few it must not: the Windows codes of Alt and of neighbouring keys.
const int kCodes[] = {VirtualKey::kLeftButton,
                      VirtualKey::kRightButton,
                      VirtualKey::kMiddleButton,
                      VirtualKey::kShift,
                      VirtualKey::kControl,
                      VirtualKey::kF11,
                      VirtualKey::kF12,
                      0,
                      18,
                      121,
                      124};
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
        for (int code : kCodes)
            QVERIFY2(m_desktop->IsKeyDown(code) == (code == expected && expected != 0),
                     qPrintable(QStringLiteral("virtual key %1").arg(code)));
    }

    // The first pixel where a block read differs from the pattern (black off the screen), or where
    // PixelColor differs from the block; empty when none does.
    QString Mismatch(const QRect& area)
    {
        const std::vector<quint32> block = m_desktop->PixelBlock(area.x(), area.y(), area.width(), area.height());
        if (block.size() != static_cast<size_t>(area.width() * area.height()))
            return QStringLiteral("%1 colours").arg(block.size());
        const QRect screen(0, 0, m_user->ScreenWidth(), m_user->ScreenHeight());
        for (int j = 0; j < area.height(); ++j) {
            for (int i = 0; i < area.width(); ++i) {
                const QPoint at = area.topLeft() + QPoint(i, j);
                const quint32 colour = block[static_cast<size_t>(j * area.width() + i)];
                const quint32 expected = screen.contains(at) ? XUser::PatternColour(at.x(), at.y()) : 0;
                if (colour != expected || ((i + j) % 7 == 0 && m_desktop->PixelColor(at.x(), at.y()) != colour))
                    return QStringLiteral("pixel (%1, %2): %3 instead of %4")
                        .arg(at.x())
                        .arg(at.y())
                        .arg(colour)
                        .arg(expected);
            }
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        X11Desktop::OpenResult opened = X11Desktop::Open();
        QVERIFY2(opened.desktop, "no X display with XTEST: run under Xvfb");
        m_desktop = std::move(opened.desktop);
        m_user = std::make_unique<XUser>();
        QVERIFY(m_user->IsOpen());
        m_user->ShowPattern();
        m_user->MovePointer(m_user->ScreenWidth() / 2, m_user->ScreenHeight() / 2);
    }

    void cleanup() { m_user->ReleaseAll(); }

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

    void movePointerMovesTheRealPointer()
    {
        for (const QPoint target : {QPoint(321, 456), QPoint(m_user->ScreenWidth() - 1, m_user->ScreenHeight() - 1)}) {
            m_desktop->MovePointer(target.x(), target.y());
            QCOMPARE(QPoint(m_desktop->PointerX(), m_desktop->PointerY()), target);
        }
    }

    void clicksArriveWithTheRightXButton_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<unsigned int>("xButton");
        QTest::newRow("left click") << VirtualKey::kLeftButton << false << 1U;
        QTest::newRow("right click") << VirtualKey::kRightButton << false << 3U;
        QTest::newRow("middle click") << VirtualKey::kMiddleButton << false << 2U;
        QTest::newRow("right double click") << VirtualKey::kRightButton << true << 3U;
    }

    void clicksArriveWithTheRightXButton()
    {
        QFETCH(int, button);
        QFETCH(bool, doubleClick);
        QFETCH(unsigned int, xButton);
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
            QCOMPARE(events[i].button, xButton);
            QCOMPARE(events[i].root, QPoint(260, 230));
        }
        // Toolkits take two clicks within a few hundred milliseconds as a double click.
        if (doubleClick)
            QVERIFY(events[2].time - events[0].time < 200);
        CheckOnlyDown(0);
    }

    // 51x51 blocks at the middle, each corner and each edge of the screen, and wholly off it.
    void pixelBlocksReadThePatternAndBlackOffScreen_data()
    {
        QTest::addColumn<QPoint>("centre");
        const int xs[] = {0, m_user->ScreenWidth() / 2, m_user->ScreenWidth() - 1};
        const int ys[] = {3, m_user->ScreenHeight() / 2, m_user->ScreenHeight() - 4};
        for (int x : xs)
            for (int y : ys)
                QTest::addRow("around (%d, %d)", x, y) << QPoint(x, y);
        QTest::newRow("wholly off the screen") << QPoint(-100, m_user->ScreenHeight() + 60);
    }

    void pixelBlocksReadThePatternAndBlackOffScreen()
    {
        QFETCH(QPoint, centre);
        const QRect area(centre - QPoint(kBlock / 2, kBlock / 2), QSize(kBlock, kBlock));
        // A window of a test program running beside may cover the pattern for a moment: raise it
        // and read again a few times before a difference counts.
        QString mismatch;
        for (int attempt = 0; attempt < 3; ++attempt) {
            m_user->ShowPattern();
            mismatch = Mismatch(area);
            if (mismatch.isEmpty())
                break;
        }
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    }
};

QTEST_GUILESS_MAIN(TestX11Desktop)
#include "TestX11Desktop.moc"
