#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "support/RecordingMessageBoxes.h"

#include <QFrame>
#include <QLabel>
#include <QTemporaryFile>
#include <QTest>

// The splash shows after the main window and always goes: on its own 1.5 s after it shows, on a
// key or a click; it does not show when a macro named on the command line is read to be played.
class TestSplashWindow : public QObject
{
    Q_OBJECT

private slots:
    void alwaysCloses_data()
    {
        QTest::addColumn<QString>("by");
        for (const char* by : {"timer", "key", "frame", "label", "command-line file"})
            QTest::newRow(by) << QString::fromLatin1(by);
    }

    void alwaysCloses()
    {
        QFETCH(QString, by);
        QTemporaryFile damaged(QDir::tempPath() + QStringLiteral("/XXXXXX.#cw"));
        QVERIFY(damaged.open() && damaged.write("not a macro file\n") > 0);
        damaged.close();
        RecordingMessageBoxes messages;
        const bool commandLine = by == QLatin1String("command-line file");
        MainWindow window(
            {&messages, nullptr, {}, nullptr, commandLine ? QStringList{damaged.fileName()} : QStringList{}});
        SplashWindow splash(window);
        splash.Form_Load();
        QVERIFY(window.isVisible());
        if (!commandLine)
            QVERIFY(QTest::qWaitForWindowExposed(&splash));
        if (by == QLatin1String("key"))
            QTest::keyClick(&splash, Qt::Key_Space);
        else if (by == QLatin1String("frame"))
            QTest::mouseClick(splash.findChild<QFrame*>(QStringLiteral("Frame1")), Qt::LeftButton, {}, {3, 3});
        else if (by == QLatin1String("label"))
            QTest::mouseClick(splash.findChild<QLabel*>(QStringLiteral("lblProductName")), Qt::LeftButton);
        if (by == QLatin1String("timer"))
            QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 5000);
        else
            QVERIFY(!splash.isVisible());
        // The timer's later tick does not come, and the main window stays as it was.
        QVERIFY(!splash.findChild<QTimer*>()->isActive());
        QVERIFY(window.isVisible() && !window.isMinimized());
    }
};

QTEST_MAIN(TestSplashWindow)
#include "TestSplashWindow.moc"
