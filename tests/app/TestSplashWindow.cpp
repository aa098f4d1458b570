#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "core/MessageBoxes.h"

#include <QFrame>
#include <QLabel>
#include <QTemporaryFile>
#include <QTest>

namespace {
// Message boxes answered later than the splash's time: its timer, if running, fires while one is open.
struct SlowMessages : MessageBoxes
{
    SplashWindow* splash = nullptr;
    void Show(Icon, const QString&) override
    {
        if (splash->findChild<QTimer*>()->isActive())
            splash->Timer1_Timer();
    }
};

// Sets the playing flag as the main window's load shows it, as a macro named on the command line does.
struct StartsPlayback : QObject
{
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            static_cast<MainWindow*>(watched)->State().playing = true;
        return false;
    }
};
} // namespace

// The splash shows after the main window and always goes: on its own 1.5 s after it shows (also when
// the main window's load waited for a message to be answered), on a key or a click, or at once when
// a macro named on the command line plays.
class TestSplashWindow : public QObject
{
    Q_OBJECT

private slots:
    void alwaysCloses_data()
    {
        QTest::addColumn<QString>("by");
        for (const char* by : {"timer", "timer, after a message answered late", "key", "frame", "label", "playback"})
            QTest::newRow(by) << QString::fromLatin1(by);
    }

    void alwaysCloses()
    {
        QFETCH(QString, by);
        QTemporaryFile damaged(QDir::tempPath() + QStringLiteral("/XXXXXX.#cw"));
        QVERIFY(damaged.open() && damaged.write("not a macro file\n") > 0);
        damaged.close();
        SlowMessages messages;
        const bool message = by.contains(QLatin1String("message"));
        MainWindow window({&messages, nullptr, {}, nullptr, message ? QStringList{damaged.fileName()} : QStringList{}});
        SplashWindow splash(window);
        messages.splash = &splash;
        StartsPlayback starter;
        if (by == QLatin1String("playback"))
            window.installEventFilter(&starter);
        splash.Form_Load();
        QVERIFY(window.isVisible());
        if (by != QLatin1String("playback"))
            QVERIFY(QTest::qWaitForWindowExposed(&splash));
        if (by == QLatin1String("key"))
            QTest::keyClick(&splash, Qt::Key_Space);
        else if (by == QLatin1String("frame"))
            QTest::mouseClick(splash.findChild<QFrame*>(QStringLiteral("Frame1")), Qt::LeftButton, {}, {3, 3});
        else if (by == QLatin1String("label"))
            QTest::mouseClick(splash.findChild<QLabel*>(QStringLiteral("lblProductName")), Qt::LeftButton);
        if (by.startsWith(QLatin1String("timer")))
            QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 5000);
        else
            QVERIFY(!splash.isVisible());
        // The timer's later tick does not come, and the main window stays as it was.
        QVERIFY(!splash.findChild<QTimer*>()->isActive());
        QVERIFY(window.isVisible() && !window.isMinimized());
        window.State().playing = false;
    }
};

QTEST_MAIN(TestSplashWindow)
#include "TestSplashWindow.moc"
