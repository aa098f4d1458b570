#include "app/DesktopStartup.h"
#include "core/TextTable.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>

Q_DECLARE_METATYPE(SessionEnvironment)

// What start-up does with the X display it finds, or does not find, in each kind of session.
class TestDesktopStartup : public QObject
{
    Q_OBJECT

private slots:
    void failuresAreReportedNotFatal_data()
    {
        QTest::addColumn<bool>("noXTest"); // else no display at all
        QTest::addColumn<bool>("waylandUsable");
        QTest::addColumn<int>("textId");
        QTest::addColumn<bool>("box");
        QTest::addColumn<QByteArray>("platform");
        QTest::newRow("no session at all") << false << false << 160 << false << QByteArray();
        QTest::newRow("wayland without xwayland") << false << true << 160 << true << QByteArray("wayland");
        QTest::newRow("no XTEST") << true << false << 161 << true << QByteArray();
    }

    void failuresAreReportedNotFatal()
    {
        QFETCH(bool, noXTest);
        QFETCH(bool, waylandUsable);
        QFETCH(int, textId);
        QFETCH(bool, box);
        QFETCH(QByteArray, platform);
        const SessionEnvironment environment{":999", waylandUsable ? "wayland" : "", "", "", waylandUsable};
        const DesktopStartup startup =
            noXTest ? DesktopStartup::FromOpenResult(environment, {nullptr, X11Desktop::OpenError::NoXTest})
                    : DesktopStartup::Open(environment);
        QVERIFY(startup.Desktop() == nullptr);
        QCOMPARE(startup.FailureText(), TextTable::Text(textId));
        QCOMPARE(startup.CanShowFailureBox(), box);
        QCOMPARE(startup.PlatformToForce(), platform);
        if (!box) {
            int argc = 1;
            char name[] = "clickwarden";
            char* argv[] = {name, nullptr};
            QCOMPARE(startup.ReportFailure(argc, argv), 1);
        }
    }

    // Under Wayland the warning goes to the main window's status bar, never to a box that would
    // hold up a playback started from the command line.
    void sessionsWithAnXServer_data()
    {
        QTest::addColumn<SessionEnvironment>("session");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<bool>("warned");
        const QByteArray display = qgetenv("DISPLAY");
        QTest::newRow("x11") << SessionEnvironment{display, "x11", "", "", false} << QByteArray() << false;
        QTest::newRow("wayland session type")
            << SessionEnvironment{display, "wayland", "", "", false} << QByteArray("xcb") << true;
        QTest::newRow("wayland display only")
            << SessionEnvironment{display, "tty", "wayland-0", "", true} << QByteArray("xcb") << true;
        QTest::newRow("wayland, platform chosen by the user")
            << SessionEnvironment{display, "wayland", "wayland-0", "wayland", true} << QByteArray() << true;
    }

    void sessionsWithAnXServer()
    {
        QFETCH(SessionEnvironment, session);
        QFETCH(QByteArray, platform);
        QFETCH(bool, warned);
        const DesktopStartup startup = DesktopStartup::Open(session);
        QVERIFY2(startup.Desktop() != nullptr, "run under an X server with XTEST");
        QCOMPARE(startup.PlatformToForce(), platform);

        QMainWindow window;
        startup.WarnAboutWayland(window);
        QStringList shown;
        if (const auto* bar = window.findChild<QStatusBar*>()) {
            for (const QLabel* label : bar->findChildren<QLabel*>())
                shown << label->text();
        }
        QCOMPARE(shown, warned ? QStringList{TextTable::Text(162)} : QStringList{});
    }
};

QTEST_MAIN(TestDesktopStartup)
#include "TestDesktopStartup.moc"
