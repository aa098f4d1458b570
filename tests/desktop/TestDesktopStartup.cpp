#include "app/DesktopStartup.h"
#include "core/TextTable.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>

Q_DECLARE_METATYPE(SessionEnvironment)

// What start-up does with the X display it finds, or does not find, in each kind of session. Under
// Wayland the warning goes to the main window's status bar, never to a box that would hold up a
// playback started from the command line.
class TestDesktopStartup : public QObject
{
    Q_OBJECT

private slots:
    void eachSession_data()
    {
        QTest::addColumn<SessionEnvironment>("session");
        QTest::addColumn<bool>("noXTest");
        QTest::addColumn<int>("failure"); // the text saying why the program cannot run; 0: it runs
        QTest::addColumn<bool>("box");    // a failure could be shown in a box
        QTest::addColumn<QByteArray>("platform");
        const QByteArray x = qgetenv("DISPLAY");
        const auto row = [](const char* name, SessionEnvironment session, bool noXTest, int failure, bool box,
                            const char* platform) {
            QTest::newRow(name) << session << noXTest << failure << box << QByteArray(platform);
        };
        row("no session at all", {":999", "", "", "", false}, false, 160, false, "");
        row("wayland without xwayland", {":999", "wayland", "", "", true}, false, 160, true, "wayland");
        row("no XTEST", {":999", "", "", "", false}, true, 161, true, "");
        row("x11", {x, "x11", "", "", false}, false, 0, false, "");
        row("wayland session type", {x, "wayland", "", "", false}, false, 0, false, "xcb");
        row("wayland display only", {x, "tty", "wayland-0", "", true}, false, 0, true, "xcb");
        row("wayland, Qt platform chosen by the user", {x, "wayland", "wayland-0", "wayland", true}, false, 0, true,
            "");
    }

    void eachSession()
    {
        QFETCH(SessionEnvironment, session);
        QFETCH(bool, noXTest);
        QFETCH(int, failure);
        QFETCH(bool, box);
        QFETCH(QByteArray, platform);
        const DesktopStartup startup =
            noXTest ? DesktopStartup::FromOpenResult(session, {nullptr, X11Desktop::OpenError::NoXTest})
                    : DesktopStartup::Open(session);
        QCOMPARE(startup.Desktop() == nullptr, failure != 0);
        QCOMPARE(startup.FailureText(), failure ? TextTable::Text(failure) : QString());
        QCOMPARE(startup.CanShowFailureBox(), box);
        QCOMPARE(startup.PlatformToForce(), platform);
        if (failure && !box) {
            int argc = 1;
            char name[] = "clickwarden";
            char* argv[] = {name, nullptr};
            QCOMPARE(startup.ReportFailure(argc, argv), 1);
        }
        QMainWindow window;
        startup.WarnAboutWayland(window);
        const auto* bar = window.findChild<QStatusBar*>();
        QCOMPARE(bar ? bar->findChild<QLabel*>()->text() : QString(),
                 !failure && session.IsWayland() ? TextTable::Text(162) : QString());
    }
};

QTEST_MAIN(TestDesktopStartup)
#include "TestDesktopStartup.moc"
