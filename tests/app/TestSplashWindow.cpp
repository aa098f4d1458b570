#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "core/TextTable.h"
#include "support/RecordingMessageBoxes.h"

#include <QFrame>
#include <QLabel>
#include <QSysInfo>
#include <QTest>

namespace {
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

class TestSplashWindow : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<SplashWindow> m_splash;

    QString Label(const char* name) { return m_splash->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    QTimer* Timer1() { return m_splash->findChild<QTimer*>(QStringLiteral("Timer1")); }

private slots:
    void init()
    {
        MainWindowServices services;
        services.messages = &m_messages;
        m_window = std::make_unique<MainWindow>(services);
        m_splash = std::make_unique<SplashWindow>(*m_window);
    }

    void cleanup()
    {
        m_splash.reset();
        m_window.reset();
    }

    void loadShowsTheMainWindowThenItself()
    {
        m_splash->Form_Load();
        QVERIFY(m_window->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(m_splash.get()));
        QCOMPARE(Label("lblVersion"), QStringLiteral("Versione 1.0.25"));
        QCOMPARE(Label("lblWarning"), TextTable::Text(201));
        QCOMPARE(Label("lblLicenseTo"), QStringLiteral("Freeware"));
        QCOMPARE(Label("lblPlatform"), QStringLiteral("Linux %1bit").arg(QSysInfo::WordSize));
        QVERIFY(Timer1()->isActive());
        QCOMPARE(Timer1()->interval(), 1500);
        const QString shot = QCoreApplication::applicationDirPath() + QStringLiteral("/splash.png");
        QVERIFY(m_splash->grab().save(shot));
    }

    void closesOnTimerKeyClickOrPlayback_data()
    {
        QTest::addColumn<QString>("by");
        for (const char* by : {"timer", "key", "frame", "label", "playback"})
            QTest::newRow(by) << QString::fromLatin1(by);
    }

    void closesOnTimerKeyClickOrPlayback()
    {
        QFETCH(QString, by);
        // A macro named on the command line plays from the main window's load: the splash closes
        // before its first task.
        StartsPlayback starter(*m_window);
        if (by == QLatin1String("playback"))
            m_window->installEventFilter(&starter);
        m_splash->Form_Load();
        m_window->removeEventFilter(&starter);
        if (by == QLatin1String("playback"))
            QVERIFY(m_window->State().playing);
        else
            QVERIFY(QTest::qWaitForWindowExposed(m_splash.get()));
        if (by == QLatin1String("timer"))
            m_splash->Timer1_Timer();
        else if (by == QLatin1String("key"))
            QTest::keyClick(m_splash.get(), Qt::Key_Space);
        else if (by == QLatin1String("frame"))
            QTest::mouseClick(m_splash->findChild<QFrame*>(QStringLiteral("Frame1")), Qt::LeftButton, {}, QPoint(3, 3));
        else if (by == QLatin1String("label"))
            QTest::mouseClick(m_splash->findChild<QLabel*>(QStringLiteral("lblProductName")), Qt::LeftButton);
        QVERIFY(!m_splash->isVisible());
        // The timer's later tick does not come, and the main window stays as it was.
        QVERIFY(!Timer1()->isActive());
        QVERIFY(m_window->isVisible() && !m_window->isMinimized());
        m_window->State().playing = false;
    }
};

QTEST_MAIN(TestSplashWindow)
#include "TestSplashWindow.moc"
