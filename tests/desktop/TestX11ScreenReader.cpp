#include "desktop/ScreenReader.h"
#include "desktop/x11/X11Desktop.h"
#include "xdriver/LogWindow.h"

#include <QTest>

#include <chrono>
#include <future>

// The screen reader of the X11 layer on a real X server: it reads what the desktop reads, tells
// where a window was drawn, and a stop ends its wait at once.
class TestX11ScreenReader : public QObject
{
    Q_OBJECT

    std::unique_ptr<X11Desktop> m_desktop = X11Desktop::Open().desktop;

private slots:
    void readsAndTellsChanges()
    {
        QVERIFY2(m_desktop, "no X display with XTEST: run under Xvfb");
        const std::unique_ptr<ScreenReader> reader = m_desktop->OpenScreenReader();
        const QSize screen = m_desktop->ScreenSize();
        LogWindow window(QRect(200, 150, 120, 90));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(m_desktop->PixelColor(210, 160), LogWindow::ColourAt(210, 160));
        // Past the screen's corner, the part off it black.
        const QRect area(screen.width() - 40, screen.height() - 30, 80, 60);
        QCOMPARE(reader->Block(area, {}), m_desktop->PixelBlock(area.x(), area.y(), area.width(), area.height()));
        const QRect inside(190, 140, 140, 110);
        QCOMPARE(reader->Block(inside, {}),
                 m_desktop->PixelBlock(inside.x(), inside.y(), inside.width(), inside.height()));
        // Every change since it was opened, the window's drawing among them.
        QRect changed;
        for (const QRect& change : reader->WaitForChanges({}))
            changed |= change;
        QVERIFY(changed.contains(QRect(200, 150, 120, 90)));

        std::stop_source stop;
        auto waiting = std::async(std::launch::async, [&] { return reader->WaitForChanges(stop.get_token()); });
        QCOMPARE(waiting.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
        stop.request_stop();
        QCOMPARE(waiting.wait_for(std::chrono::milliseconds(100)), std::future_status::ready);
        QVERIFY(waiting.get().empty());
    }
};

QTEST_MAIN(TestX11ScreenReader)
#include "TestX11ScreenReader.moc"
