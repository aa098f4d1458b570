// The rules of the shell that need neither a window nor a desktop: how strictly the settings are
// read, how a long line fits a box, when a restore brings the stop-key reminder and what the status
// line says of a file read.
#include "app/QtMessageBoxes.h"
#include "app/ReadNote.h"
#include "app/StopKeyReminder.h"
#include "core/KeyboardOptions.h"
#include "core/PaceOptions.h"
#include "core/ScreenCheckOptions.h"
#include "core/TextTable.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(OptionValues)

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    // Anything but a clear switch or a number in range reads as the default, never as on.
    void settingsReadStrictly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("on");
        QTest::addColumn<double>("speed");
        QTest::newRow("true") << "true" << true << 1.0;
        QTest::newRow("1") << "1" << true << 1.0;
        QTest::newRow("no") << "no" << false << 1.0;
        QTest::newRow("-1") << "-1" << false << 1.0;
        QTest::newRow("0.5") << "0.5" << false << 0.5;
        QTest::newRow("10") << "10" << false << 10.0;
        QTest::newRow("11") << "11" << false << 1.0;
        QTest::newRow("empty") << "" << false << 1.0;
    }

    void settingsReadStrictly()
    {
        QFETCH(QString, value);
        QFETCH(bool, on);
        QFETCH(double, speed);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("settings.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[ScreenCheck]\nEnabled=%1\n[Pace]\nKeepPace=%1\nSpeed=%1\n[Keyboard]\nRecord=%1\n")
                       .arg(value)
                       .toUtf8());
        file.close();
        const QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(ScreenCheckOptions::Load(settings).enabled, on);
        QCOMPARE(PaceOptions::Load(settings).keepPace, on);
        QCOMPARE(PaceOptions::Load(settings).speed, speed);
        QVERIFY(KeyboardOptions::Load(settings).record); // on by default: no row here turns it off
    }

    // A path of 20 kB keeps the box within the screen: its line loses its middle, not its ends.
    void longLinesFitABox()
    {
        const QString path = QStringLiteral("/start") + QString(20000, QLatin1Char('a')) + QStringLiteral("/end.#cw");
        const QString shown =
            QtMessageBoxes::BoxText(TextTable::Text(TextId::CouldNotRead) + '\n' + path).remove(QChar(0x200B));
        QVERIFY(shown.size() < 800);
        QVERIFY(shown.contains(QStringLiteral("/start")) && shown.contains(QStringLiteral("end.#cw")));
    }

    void onlyTheUsersRestoreReminds()
    {
        for (const QList<bool>& reports : {QList<bool>{false, true}, QList<bool>{false}, QList<bool>{}}) {
            StopKeyReminder::RestoreWatch watch;
            for (const bool minimised : reports)
                watch.Reported(minimised);
            const bool minimised = !reports.isEmpty() && reports.last();
            QCOMPARE(StopKeyReminder::AnswerChange({minimised, false, true, watch.RestoredByUser()}),
                     StopKeyReminder::Answer::Nothing);
        }
    }

    // The file's switches and intervals come into force: the status line names those that changed,
    // with the value now in force, and the rows that cannot be played.
    void readFileTellsWhatItChanged_data()
    {
        QTest::addColumn<OptionValues>("read");
        QTest::addColumn<QString>("badRow"); // a task text, added after a good row
        QTest::addColumn<QString>("note");
        const OptionValues unchanged;
        OptionValues recordsNoImages;
        recordsNoImages.saveImages = false;
        recordsNoImages.closeAfterPlaying = true;
        OptionValues paced;
        paced.playIntervalMs = 250;
        paced.recIntervalMs = 40;
        paced.repeatForever = true;
        QTest::newRow("nothing") << unchanged << QString() << QString();
        QTest::newRow("images off, closes")
            << recordsNoImages << QString()
            << "The file changed these options: \"Close Clickwarden after playing "
               "finished\" on, \"Save a descriptive image for every event captured\" off.";
        QTest::newRow("intervals, repeats, a bad row")
            << paced << "Key nosuchkey"
            << "The file changed these options: \"Time unit for playing (msec)\" 250, \"Sensibility in recording "
               "(msec)\" 40, \"Repeat tasks forever (CTRL+SHIFT+F11 to stop)\" on. Rows that cannot be played, "
               "marked in the grid (1): 2.";
    }

    void readFileTellsWhatItChanged()
    {
        QFETCH(OptionValues, read);
        QFETCH(QString, badRow);
        QFETCH(QString, note);
        TaskRows rows;
        rows.push_back({QStringLiteral("10"), QStringLiteral("20"), TextTable::Text(TextId::ClickLeft), {}});
        if (!badRow.isEmpty())
            rows.push_back({{}, {}, badRow, {}});
        QCOMPARE(ReadNote::Text(OptionValues{}, read, rows, QSize(640, 480)), note);
    }
};

QTEST_GUILESS_MAIN(TestRules)
#include "TestRules.moc"
