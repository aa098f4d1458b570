#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "core/MessageBoxes.h"

#include <QFrame>
#include <QLabel>
#include <QTemporaryFile>
#include <QTest>

#include <functional>

namespace {
// A message box that runs `whileOpen` before it is answered.
struct SlowMessages : MessageBoxes
{
    std::function<void()> whileOpen;
    int shown = 0;
    void Show(Icon, const QString&) override
    {
        ++shown;
        if (whileOpen)
            whileOpen();
    }
};

// Sets the playing flag while the main window's load shows it, as a macro named on the command
// line does.
struct StartsPlayback : QObject
{
    MainWindow& window;
    explicit StartsPlayback(MainWindow& main) : window(main) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window && event->type() == QEvent::Show)
            window.State().playing = true;
        return false;
    }
};
} // namespace

// The splash shows after the main window and always goes: on its own 1.5 s after it shows (also
// when the main window's load waited for a message to be answered), on a key, on a click, or at
// once when a macro named on the command line plays.
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
        MainWindowServices services;
        services.messages = &messages;
        if (by.contains(QLatin1String("message")))
            services.arguments = {damaged.fileName()};
        MainWindow window(services);
        SplashWindow splash(window);
        auto* timer = splash.findChild<QTimer*>(QStringLiteral("Timer1"));
        // The user takes longer than the splash's time to answer: its timer, if running, fires meanwhile.
        messages.whileOpen = [&] {
            if (timer->isActive())
                splash.Timer1_Timer();
        };
        StartsPlayback starter(window);
        if (by == QLatin1String("playback"))
            window.installEventFilter(&starter);

        splash.Form_Load();
        window.removeEventFilter(&starter);
        QVERIFY(window.isVisible());
        QCOMPARE(messages.shown, services.arguments.size());
        if (by == QLatin1String("playback")) {
            QVERIFY(!splash.isVisible());
        } else {
            QVERIFY(QTest::qWaitForWindowExposed(&splash));
            if (by == QLatin1String("key"))
                QTest::keyClick(&splash, Qt::Key_Space);
            else if (by == QLatin1String("frame"))
                QTest::mouseClick(splash.findChild<QFrame*>(QStringLiteral("Frame1")), Qt::LeftButton, {}, {3, 3});
            else if (by == QLatin1String("label"))
                QTest::mouseClick(splash.findChild<QLabel*>(QStringLiteral("lblProductName")), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 5000);
        }
        // The timer's later tick does not come, and the main window stays as it was.
        QVERIFY(!timer->isActive());
        QVERIFY(window.isVisible() && !window.isMinimized());
        window.State().playing = false;
    }
};

QTEST_MAIN(TestSplashWindow)
#include "TestSplashWindow.moc"
