#include "app/PlaybackArguments.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using OnMismatch = ScreenCheckOptions::OnMismatch;

class TestPlaybackArguments : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<ScreenCheckOptions>("applied"); // to the user's wait of 20 s, stop
        const ScreenCheckOptions off{false, 20, OnMismatch::Stop};
        QTest::newRow("file alone") << QStringList{"a", "b.#cw"} << QStringList{"a", "b.#cw"} << false << off;
        QTest::newRow("user's wait") << QStringList{"--check-screen", "j.#cw"} << QStringList{"j.#cw"} << false
                                     << ScreenCheckOptions{true, 20, OnMismatch::Stop};
        QTest::newRow("wait and skip") << QStringList{"--check-screen=5", "--on-mismatch=skip", "j.#cw"}
                                       << QStringList{"j.#cw"} << false
                                       << ScreenCheckOptions{true, 5, OnMismatch::Skip};
        QTest::newRow("action apart, after the file")
            << QStringList{"j.#cw", "--on-mismatch", "find"} << QStringList{"j.#cw"} << false
            << ScreenCheckOptions{false, 20, OnMismatch::Find};
        QTest::newRow("0 turns it off") << QStringList{"--check-screen=0"} << QStringList{} << false << off;
        QTest::newRow("-- ends the options") << QStringList{"--", "--x.#cw"} << QStringList{"--x.#cw"} << false << off;
        QTest::newRow("unknown option") << QStringList{"--verbose", "j.#cw"} << QStringList{} << true << off;
        QTest::newRow("wait not a number") << QStringList{"--check-screen=5s"} << QStringList{} << true << off;
        QTest::newRow("no action") << QStringList{"--on-mismatch"} << QStringList{} << true << off;
        QTest::newRow("other action") << QStringList{"--on-mismatch=retry"} << QStringList{} << true << off;
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, file);
        QFETCH(bool, refused);
        QFETCH(ScreenCheckOptions, applied);
        const PlaybackArguments parsed = PlaybackArguments::Parse(arguments);
        QCOMPARE(!parsed.error.isEmpty(), refused);
        if (refused)
            return;
        QCOMPARE(parsed.fileArguments, file);
        QVERIFY(parsed.AppliedTo({false, 20, OnMismatch::Stop}) == applied);
    }

    // The user's settings keep every action by the name the command line gives it.
    void settingsKeepTheAction()
    {
        QTemporaryDir folder;
        QSettings settings(folder.filePath("c.ini"), QSettings::IniFormat);
        for (const OnMismatch action : {OnMismatch::Skip, OnMismatch::Find, OnMismatch::Stop}) {
            ScreenCheckOptions{true, 7, action}.Save(settings);
            QCOMPARE(settings.value("ScreenCheck/OnMismatch").toString(), OnMismatchName(action));
            QVERIFY(ScreenCheckOptions::Load(settings) == (ScreenCheckOptions{true, 7, action}));
        }
    }
};

QTEST_GUILESS_MAIN(TestPlaybackArguments)
#include "TestPlaybackArguments.moc"
