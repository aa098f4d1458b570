// A macro file such as an X11 recording makes (clicks, a drag, typing with non-US characters, a key
// combination, wheel turns) played by the real program with --unattended under a headless sway (or,
// built with CW_GNOME, a headless mutter), into wev, which logs what it receives; and the program
// killed in the middle of a drag.

#include "support/WevLog.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A macro file of these task lines, in the program's own form.
QString WriteMacro(const QTemporaryDir& folder, const QByteArray& tasks)
{
    const QString path = folder.filePath(QStringLiteral("recorded.#cw"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("\"#Quorvel WorksClickwarden 200425\"\r\n" + tasks +
               "\"***#Quorvel Works***25***\"\r\n100\r\n20\r\n#TRUE#\r\n#FALSE#\r\n#FALSE#\r\n");
    return path;
}

} // namespace

class TestWaylandPlayback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
#ifdef CW_GNOME
        // mutter places wev's window: the program's own Super+Up maximises it to fill the screen.
        QTemporaryDir folder;
        const QString maximise = WriteMacro(folder, "\"0*0*Key Super_L+Up**\"\r\n");
        QVERIFY2(
            m_wev.Start(5000,
                        [&] {
                            QProcess::execute(QStringLiteral(CW_PROGRAM), {QStringLiteral("--unattended"), maximise});
                        }),
            qPrintable(m_wev.Error()));
        // Told its new size, wev still has to draw at it before mutter picks it under the pointer.
        QTest::qWait(300);
#else
        QVERIFY2(m_wev.Start(), qPrintable(m_wev.Error()));
#endif
    }

    void playsAFileIntoAWaylandClient()
    {
        m_wev.Clear();
        QTemporaryDir folder;
        const QString path = WriteMacro(folder, "\"100*200*Mouse Click Left**\"\r\n"
                                                "\"640*512*Left Mouse Pushed**\"\r\n"
                                                "\"700*540*Left Mouse Released**\"\r\n"
                                                "\"300*300*Type G r udiaeresis ssharp e space EuroSign**\"\r\n"
                                                "\"300*300*Key Control_L+Shift_L+t**\"\r\n"
                                                "\"400*410*Wheel down 3**\"\r\n"
                                                "\"1279*1023*Mouse Click Right**\"\r\n");

        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(CW_PROGRAM), {QStringLiteral("--unattended"), path});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);

        QVERIFY(m_wev.WaitFor([&] { return m_wev.Presses().size() >= 6 && m_wev.WheelSteps().size() >= 3; }));
        const std::vector<std::tuple<int, bool, QPointF>> expected = {
            {272, true, {100, 200}},  {272, false, {100, 200}},  {272, true, {640, 512}},
            {272, false, {700, 540}}, {273, true, {1279, 1023}}, {273, false, {1279, 1023}}};
        QCOMPARE(m_wev.Presses().size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const WevLog::Press& press = m_wev.Presses()[i];
            QCOMPARE(std::tuple(press.button, press.pressed, press.at), expected[i]);
        }
        QVERIFY2(m_wev.Typed().startsWith(QStringLiteral("Grüße €")), qPrintable(m_wev.Typed()));
        // A layout's own key gives T with Shift held; the program's own keymap on sway has t alone.
        QVERIFY2(m_wev.Keys().contains(QStringLiteral("Shift+Control+t"), Qt::CaseInsensitive),
                 qPrintable(m_wev.Keys().join(QLatin1Char(' '))));
        QCOMPARE(m_wev.WheelSteps(), QStringList(3, QStringLiteral("vertical 1")));
    }

    // Killed while a drag holds the button and a key that needs Shift: the button is let go of, and a
    // click and a key after land right, with no Shift left down.
    void nothingStaysHeldAfterAKill()
    {
        m_wev.Clear();
        QTemporaryDir folder;
        const QString path = WriteMacro(folder, "\"320*240*Left Mouse Pushed**\"\r\n\"**Key Pushed at**\"\r\n"
                                                "\"30**Pause**\"\r\n\"400*300*Left Mouse Released**\"\r\n");
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(CW_PROGRAM), {QStringLiteral("--unattended"), path});
        QVERIFY(m_wev.WaitFor([&] { return !m_wev.Presses().empty() && !m_wev.Typed().isEmpty(); }, 30000));
        program.kill();
        QVERIFY(program.waitForFinished(5000));
        QVERIFY(m_wev.WaitFor([&] { return m_wev.Presses().size() >= 2; }));
        QCOMPARE(m_wev.Presses()[1].pressed, false);
        QCOMPARE(m_wev.Presses()[1].button, 272);

        // A modifier left down for good would make the x another character, or take the @'s away.
        const QString next = WriteMacro(folder, "\"900*700*Mouse Click Left**\"\r\n\"900*700*Type x at**\"\r\n");
        QCOMPARE(QProcess::execute(QStringLiteral(CW_PROGRAM), {QStringLiteral("--unattended"), next}), 0);
        QVERIFY(m_wev.WaitFor([&] { return m_wev.Presses().size() >= 4 && m_wev.Typed().size() >= 3; }));
        QCOMPARE(m_wev.Presses()[2].at, QPointF(900, 700));
        QVERIFY2(m_wev.Typed().endsWith(QStringLiteral("x@")), qPrintable(m_wev.Typed()));
    }

private:
    WevLog m_wev;
};

QTEST_GUILESS_MAIN(TestWaylandPlayback)
#include "TestWaylandPlayback.moc"
