#include "app/DesktopStartup.h"
#include "core/TextTable.h"
#include "support/RecordingMessageBoxes.h"

#include <QTest>

namespace {
SessionEnvironment Session(const QByteArray& sessionType, const QByteArray& waylandDisplay,
                           const QByteArray& qtPlatform = {}, bool waylandUsable = false)
{
    return {qgetenv("DISPLAY"), sessionType, waylandDisplay, qtPlatform, waylandUsable};
}
} // namespace

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
        SessionEnvironment environment = Session(waylandUsable ? "wayland" : "", "", "", waylandUsable);
        environment.display = ":999";
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

    void sessionsWithAnXServer_data()
    {
        QTest::addColumn<SessionEnvironment>("session");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<bool>("warned");
        QTest::newRow("x11") << Session("x11", "") << QByteArray() << false;
        QTest::newRow("wayland session type") << Session("wayland", "") << QByteArray("xcb") << true;
        QTest::newRow("wayland display only") << Session("tty", "wayland-0", "", true) << QByteArray("xcb") << true;
        QTest::newRow("wayland, platform chosen by the user")
            << Session("wayland", "wayland-0", "wayland", true) << QByteArray() << true;
    }

    void sessionsWithAnXServer()
    {
        QFETCH(SessionEnvironment, session);
        QFETCH(QByteArray, platform);
        QFETCH(bool, warned);
        const DesktopStartup startup = DesktopStartup::Open(session);
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
