// The GNOME desktop under a headless mutter: its screen read back from the screen cast stream
// while the test program, run again as a client, shows a wallpaper full-screen; then driving wev,
// a client that logs what it receives, maximised to fill the screen.

#include "core/TextTable.h"
#include "desktop/DesktopFactory.h"
#include "desktop/ScreenReader.h"
#include "desktop/gnome/GnomeDesktop.h"
#include "support/VirtualInputChecks.h"
#include "support/Wallpaper.h"
#include "support/WevLog.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTest>

namespace {

constexpr const char* kShowWallpaper = "--show-wallpaper";

} // namespace

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
    }

    void readsTheScreen()
    {
        const QImage wallpaper = Wallpaper(QSize(1280, 1024));
        QProcess window;
        window.setProcessChannelMode(QProcess::ForwardedChannels);
        window.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kShowWallpaper)});
        const auto expected = [&](const QRect& area) {
            std::vector<quint32> colours;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    colours.push_back(wallpaper.rect().contains(x, y) ? ColourOf(wallpaper.pixel(x, y)) : 0);
            return colours;
        };
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->PixelColor(600, 350) == expected(QRect(600, 350, 1, 1)).front(), 10000);
        const std::vector<quint32> whole = m_desktop->PixelBlock(0, 0, 1280, 1024);
        const std::vector<quint32> wanted = expected(QRect(0, 0, 1280, 1024));
        const auto differing = std::mismatch(whole.begin(), whole.end(), wanted.begin());
        if (differing.first != whole.end())
            QFAIL(qPrintable(QStringLiteral("pixel %1 is %2, not %3")
                                 .arg(differing.first - whole.begin())
                                 .arg(*differing.first, 6, 16)
                                 .arg(*differing.second, 6, 16)));
        // Blocks that reach past the screen's edges are black there, from the desktop and its reader.
        const std::unique_ptr<ScreenReader> reader = m_desktop->OpenScreenReader();
        for (const QRect& area : {QRect(1254, 998, 51, 51), QRect(-25, -25, 51, 51), QRect(575, 325, 51, 51)}) {
            QCOMPARE(m_desktop->PixelBlock(area.x(), area.y(), area.width(), area.height()), expected(area));
            QCOMPARE(reader->Block(area, {}), expected(area));
        }
        window.kill();
        window.waitForFinished();
    }

    void startClient()
    {
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

    void buttonsLandOnThePixel_data() { VirtualInputChecks::ButtonRows(); }
    void buttonsLandOnThePixel() { VirtualInputChecks::Button(*m_desktop, m_wev); }

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

    void combinationsCarryTheirModifiers() { VirtualInputChecks::Combination(*m_desktop, m_wev); }
    void wheelTurnsInSteps_data() { VirtualInputChecks::WheelRows(); }
    void wheelTurnsInSteps() { VirtualInputChecks::Wheel(*m_desktop, m_wev); }

    // A Wayland session without the wlroots interfaces gets this desktop where mutter is on the bus,
    // and Record says why it is off; with no bus, the failure names what the desktop lacks.
    void theFactoryPicksIt()
    {
        SessionEnvironment session = SessionEnvironment::FromProcess();
        session.display.clear();
        DesktopChoice choice = DesktopFactory::Open(session);
        QVERIFY(dynamic_cast<GnomeDesktop*>(choice.desktop.get()) != nullptr);
        QVERIFY(!choice.recordingOffered);
        QCOMPARE(choice.warning, TextTable::Text(TextId::RecordNeedsX11));
        session.sessionBus = "disabled:";
        session.runtimeDir = "/nonexistent";
        choice = DesktopFactory::Open(session);
        QVERIFY(!choice.desktop);
        QVERIFY2(choice.failure.contains(QStringLiteral("org.gnome.Mutter.RemoteDesktop")), qPrintable(choice.failure));
    }

private:
    std::unique_ptr<GnomeDesktop> m_desktop;
    WevLog m_wev;
};

// Run with kShowWallpaper, the test program is the client that shows the wallpaper full-screen.
int main(int argc, char* argv[])
{
    if (argc == 2 && qstrcmp(argv[1], kShowWallpaper) == 0) {
        qputenv("QT_QPA_PLATFORM", "wayland");
        QApplication application(argc, argv);
        QLabel window;
        window.setPixmap(QPixmap::fromImage(Wallpaper(QSize(1280, 1024))));
        window.showFullScreen();
        return QApplication::exec();
    }
    QApplication application(argc, argv);
    TestGnomeDesktop test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestGnomeDesktop.moc"
