// A macro file such as an X11 recording makes (clicks, a drag, typing with non-US characters, a key
// combination, wheel turns) played by the real program with --unattended under a headless sway,
// into wev, which logs what it receives.

#include "support/WevLog.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestWaylandPlayback : public QObject
{
    Q_OBJECT

private slots:
    void playsAFileIntoAWaylandClient()
    {
        WevLog wev;
        QVERIFY2(wev.Start(), qPrintable(wev.Error()));
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("recorded.#cw"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\"#Quorvel WorksClickwarden 200425\"\r\n"
                   "\"100*200*Mouse Click Left**\"\r\n"
                   "\"640*512*Left Mouse Pushed**\"\r\n"
                   "\"700*540*Left Mouse Released**\"\r\n"
                   "\"300*300*Type G r udiaeresis ssharp e space EuroSign**\"\r\n"
                   "\"300*300*Key Control_L+Shift_L+t**\"\r\n"
                   "\"400*410*Wheel down 3**\"\r\n"
                   "\"1279*1023*Mouse Click Right**\"\r\n"
                   "\"***#Quorvel Works***25***\"\r\n100\r\n20\r\n#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n");
        file.close();

        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(CW_PROGRAM), {QStringLiteral("--unattended"), path});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);

        QVERIFY(wev.WaitFor([&] { return wev.Presses().size() >= 6 && wev.WheelSteps().size() >= 3; }));
        const std::vector<std::tuple<int, bool, QPointF>> expected = {
            {272, true, {100, 200}},  {272, false, {100, 200}},  {272, true, {640, 512}},
            {272, false, {700, 540}}, {273, true, {1279, 1023}}, {273, false, {1279, 1023}}};
        QCOMPARE(wev.Presses().size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const WevLog::Press& press = wev.Presses()[i];
            QCOMPARE(std::tuple(press.button, press.pressed, press.at), expected[i]);
        }
        QVERIFY(wev.Typed().startsWith(QStringLiteral("Grüße €")));
        QVERIFY(wev.Keys().contains(QStringLiteral("Shift+Control+t")));
        QCOMPARE(wev.WheelSteps(), QStringList(3, QStringLiteral("vertical 1")));
    }
};

QTEST_GUILESS_MAIN(TestWaylandPlayback)
#include "TestWaylandPlayback.moc"
