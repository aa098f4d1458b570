#include "PlaybackWindow.h"
#include "app/core/TextTable.h"
#include "player/PauseDialog.h"
#include "support/FakeDesktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

// Playback through the main window's menus and timer handlers, on the scripted desktop.
class TestMainWindowPlayback : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<MainWindow> m_window;

    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    // Runs one of the window's handlers the way its timer does.
    void Tick(const char* handler) { QMetaObject::invokeMethod(m_window.get(), handler, Qt::DirectConnection); }
    void Play(std::initializer_list<int> textIds)
    {
        for (const int textId : textIds)
            m_window->Tasks().AddTask("1", "5", TextTable::Text(textId), {}, TaskOrigin::Inserted);
        m_window->UpdateCommandState(true);
        Action("mnuComandiPlay")->trigger();
        QVERIFY(m_window->State().playing);
        QTRY_VERIFY(m_window->isMinimized());
    }

private slots:
    void init()
    {
        m_messages.Clear();
        m_desktop = std::make_unique<FakeDesktop>();
        m_window = std::make_unique<MainWindow>(MainWindowServices{&m_messages, m_desktop.get(), {}});
        m_window->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // Timers too slow to tick during a test: the test runs the handlers itself.
        QVERIFY(SetIntervals(*m_window, 32767, 1000));
    }

    void cleanup()
    {
        m_window.reset();
        m_desktop.reset();
    }

    void theEndRestoresWithTheMessage()
    {
        Play({114, 115});
        Tick("tmrPlay_Timer");
        Tick("tmrPlay_Timer");
        QCOMPARE(m_messages.Texts(), QStringList{"All task have been executed."});
        QCOMPARE(m_messages.Messages().front().icon, MessageBoxes::Icon::Information);
        QTRY_VERIFY(!m_window->isMinimized());
    }

    void stopKeysOnTheRecordingPollShowTheCount()
    {
        Play({114, 141, 114});
        Tick("tmrRec_Timer");
        Tick("tmrPlay_Timer");
        Tick("tmrPlay_Timer");
        m_desktop->SetKeyDown(VirtualKey::kControl, true);
        m_desktop->SetKeyDown(VirtualKey::kShift, true);
        m_desktop->HoldFor(VirtualKey::kF11, 2);
        Tick("tmrRec_Timer");
        QCOMPARE(m_messages.Texts(), QStringList{"Number of task executed: 2 ."});
        QVERIFY(!m_window->State().playing);
        QTRY_VERIFY(!m_window->isMinimized());
    }

    void terminaClosesTheProgramSilently()
    {
        m_window->State().Termina = true;
        Play({114});
        Tick("tmrPlay_Timer");
        QTRY_VERIFY(!m_window->isVisible());
        QVERIFY(m_messages.Texts().isEmpty());
        // Closing the main window queues closing every window: let that pass before the next test.
        QCoreApplication::sendPostedEvents();
    }

    void insertPauseAddsARowAndEnablesTheCommands()
    {
        Action("mnuComandiPausa")->trigger();
        auto* dialog = m_window->findChild<PauseDialog*>(QStringLiteral("frmPausa"));
        QVERIFY(dialog && !m_window->isEnabled());
        dialog->findChildren<QComboBox*>(QStringLiteral("cmbpausa"))[PauseDialog::kSeconds]->setCurrentText("30");
        dialog->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        QVERIFY(m_window->isEnabled());
        QCOMPARE(m_window->Tasks().Rows(), 2);
        QCOMPARE(m_window->Tasks().Cell(1, TaskList::kColumnX), QStringLiteral("30"));
        QCOMPARE(m_window->Tasks().Cell(1, TaskList::kColumnTask), QStringLiteral("Pause"));
        for (const char* name : {"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"})
            QVERIFY2(Action(name)->isEnabled(), name);
    }
};

QTEST_MAIN(TestMainWindowPlayback)
#include "TestMainWindowPlayback.moc"
