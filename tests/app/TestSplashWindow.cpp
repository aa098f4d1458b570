#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "app/core/TextTable.h"
#include "support/RecordingMessageBoxes.h"

#include <QFrame>
#include <QLabel>
#include <QSysInfo>
#include <QTest>

namespace {
enum class CloseBy
{
    Timer,
    Key,
    FrameClick,
    LabelClick,
};

// Sets the playing flag while the main window's load shows it, as a macro named on the command
// line does.
class StartsPlayback : public QObject
{
public:
    explicit StartsPlayback(MainWindow& window) : m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && event->type() == QEvent::Show)
            m_window.State().playing = true;
        return false;
    }

private:
    MainWindow& m_window;
};
} // namespace

Q_DECLARE_METATYPE(CloseBy)

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
        QCOMPARE(m_window->windowTitle(), QStringLiteral("#Quorvel Works - Clickwarden 2004"));
        QVERIFY(m_splash->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(m_splash.get()));

        QCOMPARE(Label("lblVersion"), QStringLiteral("Versione 1.0.25"));
        QCOMPARE(Label("lblProductName"), QStringLiteral("Clickwarden 2004"));
        QCOMPARE(Label("lblCompanyProduct"), QStringLiteral("#Quorvel Works"));
        QCOMPARE(Label("lblWarning"), TextTable::Text(201));
        QCOMPARE(Label("lblLicenseTo"), QStringLiteral("Freeware"));
        QVERIFY(!Label("lblCopyright").isEmpty());
        const QString platform = Label("lblPlatform");
        QVERIFY2(platform.endsWith(QStringLiteral(" %1bit").arg(QSysInfo::WordSize)), qPrintable(platform));
        if (QSysInfo::kernelType() == QLatin1String("linux"))
            QCOMPARE(platform, QStringLiteral("Linux %1bit").arg(QSysInfo::WordSize));
        QVERIFY(!m_splash->findChild<QLabel*>(QStringLiteral("imgLogo"))->pixmap().isNull());

        QVERIFY(Timer1()->isActive());
        QVERIFY(Timer1()->isSingleShot());
        QCOMPARE(Timer1()->interval(), 1500);
        const QString shot = QCoreApplication::applicationDirPath() + QStringLiteral("/splash.png");
        QVERIFY(m_splash->grab().save(shot));
    }

    void closesOnTimerKeyOrClick_data()
    {
        QTest::addColumn<CloseBy>("closeBy");
        QTest::newRow("timer") << CloseBy::Timer;
        QTest::newRow("key") << CloseBy::Key;
        QTest::newRow("click on the frame") << CloseBy::FrameClick;
        QTest::newRow("click on a label in the frame") << CloseBy::LabelClick;
    }

    void closesOnTimerKeyOrClick()
    {
        QFETCH(CloseBy, closeBy);
        m_splash->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_splash.get()));
        auto* frame = m_splash->findChild<QFrame*>(QStringLiteral("Frame1"));
        switch (closeBy) {
        case CloseBy::Timer:
            m_splash->Timer1_Timer();
            break;
        case CloseBy::Key:
            QTest::keyClick(m_splash.get(), Qt::Key_Space);
            break;
        case CloseBy::FrameClick:
            QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(3, 3));
            break;
        case CloseBy::LabelClick:
            QTest::mouseClick(m_splash->findChild<QLabel*>(QStringLiteral("lblProductName")), Qt::LeftButton);
            break;
        }
        QVERIFY(!m_splash->isVisible());
        // The timer's later tick does not come, and the main window stays as it was.
        QVERIFY(!Timer1()->isActive());
        QVERIFY(m_window->isVisible());
        QVERIFY(!m_window->isMinimized());
        QVERIFY(m_window->isEnabled());
    }

    void closesBeforeTheFirstTaskWhenPlaybackStarted()
    {
        StartsPlayback starter(*m_window);
        m_window->installEventFilter(&starter);
        m_splash->Form_Load();
        m_window->removeEventFilter(&starter);
        QVERIFY(m_window->State().playing);
        QVERIFY(!m_splash->isVisible());
        QVERIFY(!Timer1()->isActive());
        m_window->State().playing = false;
    }
};

QTEST_MAIN(TestSplashWindow)
#include "TestSplashWindow.moc"
