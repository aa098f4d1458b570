#include "app/DesktopStartup.h"
#include "app/core/TextTable.h"
#include "support/RecordingMessageBoxes.h"

#include <QTest>

namespace {
SessionEnvironment Session(const char* sessionType, const char* waylandDisplay, const char* qtPlatform,
                           bool waylandUsable)
{
    SessionEnvironment environment;
    environment.display = qgetenv("DISPLAY");
    environment.sessionType = sessionType;
    environment.waylandDisplay = waylandDisplay;
    environment.qtPlatform = qtPlatform;
    environment.waylandUsable = waylandUsable;
    return environment;
}
} // namespace

// What start-up does with the X display it finds, or does not find, in each kind of session.
class TestDesktopStartup : public QObject
{
    Q_OBJECT

private slots:
    void unreachableDisplayIsReportedNotFatal_data()
    {
        QTest::addColumn<bool>("waylandUsable");
        QTest::addColumn<bool>("box");
        QTest::addColumn<QByteArray>("platform");
        QTest::newRow("no session at all") << false << false << QByteArray();
        QTest::newRow("wayland without xwayland") << true << true << QByteArray("wayland");
    }

    void unreachableDisplayIsReportedNotFatal()
    {
        QFETCH(bool, waylandUsable);
        QFETCH(bool, box);
        QFETCH(QByteArray, platform);
        SessionEnvironment environment = Session(waylandUsable ? "wayland" : "", "", "xcb", waylandUsable);
        environment.display = ":999";
        const DesktopStartup startup = DesktopStartup::Open(environment);
        QVERIFY(startup.Desktop() == nullptr);
        QCOMPARE(startup.Error(), X11Desktop::OpenError::NoDisplay);
        QCOMPARE(startup.FailureText(), TextTable::Text(160));
        QCOMPARE(startup.CanShowFailureBox(), box);
        QCOMPARE(startup.PlatformToForce(), platform);
        if (!box) {
            int argc = 1;
            char name[] = "clickwarden";
            char* argv[] = {name, nullptr};
            QCOMPARE(startup.ReportFailure(argc, argv), 1);
        }
    }

    void missingXTestIsShownOnTheXServer()
    {
        const DesktopStartup startup =
            DesktopStartup::FromOpenResult(Session("x11", "", "", false), {nullptr, X11Desktop::OpenError::NoXTest});
        QCOMPARE(startup.FailureText(), TextTable::Text(161));
        QVERIFY(startup.CanShowFailureBox());
        QVERIFY(startup.PlatformToForce().isEmpty());
    }

    void sessionsWithAnXServer_data()
    {
        QTest::addColumn<QByteArray>("sessionType");
        QTest::addColumn<QByteArray>("waylandDisplay");
        QTest::addColumn<QByteArray>("qtPlatform");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<bool>("warned");
        QTest::newRow("x11") << QByteArray("x11") << QByteArray() << QByteArray() << QByteArray() << false;
        QTest::newRow("unknown session") << QByteArray() << QByteArray() << QByteArray() << QByteArray() << false;
        QTest::newRow("wayland session type")
            << QByteArray("wayland") << QByteArray() << QByteArray() << QByteArray("xcb") << true;
        QTest::newRow("wayland display only")
            << QByteArray("tty") << QByteArray("wayland-0") << QByteArray() << QByteArray("xcb") << true;
        QTest::newRow("wayland, platform chosen by the user")
            << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray() << true;
    }

    void sessionsWithAnXServer()
    {
        QFETCH(QByteArray, sessionType);
        QFETCH(QByteArray, waylandDisplay);
        QFETCH(QByteArray, qtPlatform);
        QFETCH(QByteArray, platform);
        QFETCH(bool, warned);
        const DesktopStartup startup = DesktopStartup::Open(Session(sessionType.constData(), waylandDisplay.constData(),
                                                                    qtPlatform.constData(), !waylandDisplay.isEmpty()));
        QVERIFY2(startup.Desktop() != nullptr, "run under an X server with XTEST");
        QVERIFY(startup.FailureText().isEmpty());
        QCOMPARE(startup.PlatformToForce(), platform);

        RecordingMessageBoxes messages;
        startup.WarnAboutWayland(messages);
        QCOMPARE(messages.Messages().size(), size_t(warned ? 1 : 0));
        if (warned) {
            QCOMPARE(messages.Messages()[0].icon, MessageBoxes::Icon::Exclamation);
            QCOMPARE(messages.Messages()[0].text, TextTable::Text(162));
        }
    }
};

QTEST_GUILESS_MAIN(TestDesktopStartup)
#include "TestDesktopStartup.moc"
