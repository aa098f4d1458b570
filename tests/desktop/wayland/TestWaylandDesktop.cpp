// The Wayland desktop under a headless sway, driving wev, a full-screen client that logs what it
// receives; and its screen copy read back against a wallpaper of the test's own.

#include "core/TextTable.h"
#include "desktop/DesktopFactory.h"
#include "desktop/ScreenReader.h"
#include "desktop/wayland/WaylandDesktop.h"
#include "support/VirtualInputChecks.h"
#include "support/Wallpaper.h"
#include "support/WevLog.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <condition_variable>
#include <linux/input-event-codes.h>
#include <mutex>
#include <thread>
#include <xkbcommon/xkbcommon.h>

namespace {

bool Sway(const QStringList& command)
{
    return QProcess::execute(QStringLiteral("swaymsg"), command) == 0;
}

} // namespace

class TestWaylandDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        WaylandDesktop::OpenResult opened = WaylandDesktop::Open();
        QVERIFY2(opened.desktop,
                 qPrintable(QStringLiteral("no desktop; missing: ") + opened.missingInterfaces.join(QLatin1Char(' '))));
        m_desktop = std::move(opened.desktop);
        QCOMPARE(m_desktop->ScreenSize(), QSize(1280, 1024));
    }

    // Before wev covers the output: the wallpaper shows on an empty workspace.
    void screenCopyReadsTheScreen()
    {
        QTemporaryDir folder;
        const QImage wallpaper = Wallpaper(QSize(1280, 1024));
        const QString file = folder.filePath(QStringLiteral("wallpaper.png"));
        QVERIFY(wallpaper.save(file));
        QVERIFY(Sway(
            {QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"), file, QStringLiteral("stretch")}));
        // The wallpaper client draws on its own time, and its scaling may move a colour by a step or
        // two; grim, which reads the same interface with a converter of its own, must agree exactly.
        const auto nearWallpaper = [&] {
            const quint32 colour = m_desktop->PixelColor(600, 350);
            const QRgb pixel = wallpaper.pixel(600, 350);
            return std::abs(int(colour & 0xFF) - qRed(pixel)) <= 3 && std::abs(int(colour >> 16) - qBlue(pixel)) <= 3;
        };
        QTRY_VERIFY_WITH_TIMEOUT(nearWallpaper(), 10000);
        const QString shot = folder.filePath(QStringLiteral("grim.png"));
        QCOMPARE(QProcess::execute(QStringLiteral("grim"), {shot}), 0);
        const QImage screen(shot);
        QCOMPARE(screen.size(), QSize(1280, 1024));
        const auto expected = [&](int left, int top, int width, int height) {
            std::vector<quint32> colours;
            for (int y = top; y < top + height; ++y)
                for (int x = left; x < left + width; ++x)
                    colours.push_back(screen.rect().contains(x, y) ? ColourOf(screen.pixel(x, y)) : 0);
            return colours;
        };
        const std::vector<quint32> whole = m_desktop->PixelBlock(0, 0, 1280, 1024);
        const std::vector<quint32> wanted = expected(0, 0, 1280, 1024);
        const auto differing = std::mismatch(whole.begin(), whole.end(), wanted.begin());
        if (differing.first != whole.end())
            QFAIL(qPrintable(QStringLiteral("pixel %1 is %2, not %3")
                                 .arg(differing.first - whole.begin())
                                 .arg(*differing.first, 6, 16)
                                 .arg(*differing.second, 6, 16)));
        // A block around a point near a corner reaches past the screen: those pixels are 0.
        QCOMPARE(m_desktop->PixelBlock(1254, 998, 51, 51), expected(1254, 998, 51, 51));
        QCOMPARE(m_desktop->PixelBlock(-25, -25, 51, 51), expected(-25, -25, 51, 51));
        QCOMPARE(m_desktop->PixelBlock(575, 325, 51, 51), expected(575, 325, 51, 51));
    }

    // A reader on a connection of its own reads what the desktop reads, and hears from the compositor
    // where the screen changed: here all of it, not just what was read.
    void theReaderTellsWhereTheScreenChanged()
    {
        std::unique_ptr<ScreenReader> reader = m_desktop->OpenScreenReader();
        std::stop_source running;
        const QRect block(575, 325, 51, 51);
        QCOMPARE(reader->Block(block, running.get_token()), m_desktop->PixelBlock(575, 325, 51, 51));
        QVERIFY(Sway({QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("bg"), QStringLiteral("#336699"),
                      QStringLiteral("solid_color")}));
        // A change that is never told must not hang the test.
        std::jthread watchdog([&running](std::stop_token own) {
            std::mutex mutex;
            std::condition_variable_any never;
            std::unique_lock lock(mutex);
            never.wait_for(lock, own, std::chrono::seconds(10), [] { return false; });
            running.request_stop();
        });
        QRect told;
        while (told != QRect(0, 0, 1280, 1024) && !running.stop_requested())
            for (const QRect& changed : reader->WaitForChanges(running.get_token()))
                told |= changed;
        QCOMPARE(told, QRect(0, 0, 1280, 1024));
        // The compositor shows grey before the new background is drawn.
        QTRY_COMPARE_WITH_TIMEOUT(reader->Block(block, running.get_token()), std::vector<quint32>(51 * 51, 0x996633),
                                  10000);
    }

    void startClient() { QVERIFY(m_wev.Start()); }

    void buttonsLandOnThePixel_data() { VirtualInputChecks::ButtonRows(); }
    void buttonsLandOnThePixel() { VirtualInputChecks::Button(*m_desktop, m_wev); }

    // The first row is the keyboard's first key, which must not vanish into the client's enter event.
    void typesWhateverTheLayout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("first key") << QStringLiteral("hello");
        QTest::newRow("German") << QStringLiteral("Grüße aus Köln — 5 € ½");
        QTest::newRow("Nordic and Dutch") << QStringLiteral("Ĳsselmeer, Æbleø, Åre");
        QTest::newRow("Cyrillic and Greek") << QStringLiteral("Привет, мир; Καλημέρα");
    }
    void typesWhateverTheLayout()
    {
        QFETCH(QString, text);
        m_wev.Clear();
        const QList<uint> characters = text.toUcs4();
        for (const uint character : characters)
            m_desktop->KeyTap(xkb_utf32_to_keysym(character));
        QVERIFY2(m_wev.WaitFor([&] { return m_wev.Typed().size() >= text.size(); }), qPrintable(m_wev.Typed()));
        QCOMPARE(m_wev.Typed(), text);
    }

    void combinationsCarryTheirModifiers() { VirtualInputChecks::Combination(*m_desktop, m_wev); }
    void wheelTurnsInSteps_data() { VirtualInputChecks::WheelRows(); }
    void wheelTurnsInSteps() { VirtualInputChecks::Wheel(*m_desktop, m_wev); }

    void releaseHeldLetsGoOfEverything()
    {
        m_wev.Clear();
        m_desktop->MovePointer(300, 400);
        m_desktop->ButtonDown(MouseButton::Left);
        m_desktop->KeyDown(XKB_KEY_Shift_L);
        QVERIFY(m_desktop->IsButtonDown(MouseButton::Left));
        m_desktop->ReleaseHeld();
        QVERIFY(!m_desktop->IsButtonDown(MouseButton::Left));
        m_desktop->KeyTap(XKB_KEY_x);
        QVERIFY(m_wev.WaitFor([&] { return m_wev.Presses().size() >= 2 && !m_wev.Typed().isEmpty(); }));
        QVERIFY(!m_wev.Presses()[1].pressed);
        // The Shift let go: x comes alone.
        QCOMPARE(m_wev.Keys().last(), QStringLiteral("x"));
    }

    // A Wayland session with these interfaces gets this desktop, and Record says why it is off.
    void theFactoryPicksIt()
    {
        SessionEnvironment session = SessionEnvironment::FromProcess();
        session.display.clear();
        const DesktopChoice choice = DesktopFactory::Open(session);
        QVERIFY(dynamic_cast<WaylandDesktop*>(choice.desktop.get()) != nullptr);
        QVERIFY(!choice.recordingOffered);
        QCOMPARE(choice.warning, TextTable::Text(TextId::RecordNeedsX11));
    }

    // No client sees the seat's input: the desktop says so instead of pretending.
    void followsNoInput()
    {
        QVERIFY(!m_desktop->WatchInput(true));
        QVERIFY(!m_desktop->IsKeyDown(XKB_KEY_Shift_L));
    }

private:
    std::unique_ptr<WaylandDesktop> m_desktop;
    WevLog m_wev;
};

QTEST_MAIN(TestWaylandDesktop)
#include "TestWaylandDesktop.moc"
