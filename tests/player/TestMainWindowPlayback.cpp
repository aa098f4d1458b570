#include "PlaybackWindow.h"
#include "app/core/TextTable.h"
#include "player/PauseDialog.h"
#include "support/FakeDesktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

using PlaybackWindow::Tick;

// Playback through the main window's menus and timer handlers, on the scripted desktop.
class TestMainWindowPlayback : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<MainWindow> m_window;

    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    void Add(const QString& x, const QString& task)
    {
        m_window->Tasks().AddTask(x, QStringLiteral("5"), task, {}, TaskOrigin::Inserted);
    }
    void Play()
    {
        m_window->UpdateCommandState(true);
        Action("mnuComandiPlay")->trigger();
        QVERIFY(m_window->State().playing);
        QTRY_VERIFY(m_window->isMinimized());
        m_desktop->ClearActions();
    }

private slots:
    void init()
    {
        m_messages.Clear();
        m_desktop = std::make_unique<FakeDesktop>();
        MainWindowServices services;
        services.messages = &m_messages;
        services.desktop = m_desktop.get();
        m_window = std::make_unique<MainWindow>(services);
        m_window->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // Timers too slow to tick during a test: the test runs the handlers itself.
        QVERIFY(PlaybackWindow::SetIntervals(*m_window, 32767, 1000));
    }

    void cleanup()
    {
        m_window.reset();
        m_desktop.reset();
    }

    void playMinimisesAndTheEndRestoresWithTheMessage()
    {
        Add("1", TextTable::Text(114));
        Add("2", TextTable::Text(115));
        Play();
        if (QTest::currentTestFailed())
            return;
        Tick(*m_window, "tmrPlay_Timer");
        QCOMPARE(m_window->Tasks().CurrentRow(), 2);
        Tick(*m_window, "tmrPlay_Timer");
        QCOMPARE(m_desktop->Actions().at(1), FakeDesktop::Click(1));
        QCOMPARE(m_messages.Texts(), QStringList{"All task have been executed."});
        QCOMPARE(m_messages.Messages().front().icon, MessageBoxes::Icon::Information);
        QVERIFY(!m_window->State().playing);
        QTRY_VERIFY(!m_window->isMinimized());
        QCOMPARE(m_window->Tasks().CurrentRow(), 1);
    }

    void stopKeysOnTheRecordingPollShowTheCount()
    {
        Add("1", TextTable::Text(114));
        Add("2", TextTable::Text(141));
        Add("3", TextTable::Text(114));
        Play();
        if (QTest::currentTestFailed())
            return;
        Tick(*m_window, "tmrRec_Timer");
        Tick(*m_window, "tmrPlay_Timer");
        Tick(*m_window, "tmrPlay_Timer");
        m_desktop->SetKeyDown(VirtualKey::kControl, true);
        m_desktop->SetKeyDown(VirtualKey::kShift, true);
        m_desktop->HoldFor(VirtualKey::kF11, 2);
        Tick(*m_window, "tmrRec_Timer");
        QCOMPARE(m_messages.Texts(), QStringList{"Number of task executed: 2 ."});
        QVERIFY(!m_window->State().playing);
        QTRY_VERIFY(!m_window->isMinimized());
    }

    void terminaClosesTheProgramSilently()
    {
        Add("1", TextTable::Text(114));
        m_window->State().Termina = true;
        Play();
        if (QTest::currentTestFailed())
            return;
        Tick(*m_window, "tmrPlay_Timer");
        QTRY_VERIFY(!m_window->isVisible());
        QVERIFY(m_messages.Texts().isEmpty());
        // Closing the main window queues closing every window: let that pass before the next test.
        QCoreApplication::sendPostedEvents();
    }

    void insertPauseAddsARowAndEnablesTheCommands()
    {
        QVERIFY(!Action("mnuComandiPlay")->isEnabled());
        Action("mnuComandiPausa")->trigger();
        QVERIFY(!m_window->isEnabled());
        auto* dialog = m_window->findChild<PauseDialog*>(QStringLiteral("frmPausa"));
        QVERIFY(dialog);
        const QList<QComboBox*> lists = dialog->findChildren<QComboBox*>(QStringLiteral("cmbpausa"));
        lists[PauseDialog::kMinutes]->setCurrentText(QStringLiteral("1"));
        lists[PauseDialog::kSeconds]->setCurrentText(QStringLiteral("30"));
        dialog->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        QVERIFY(m_window->isEnabled());
        const TaskList& tasks = m_window->Tasks();
        QCOMPARE(tasks.Rows(), 2);
        QCOMPARE(tasks.Cell(1, TaskList::kColumnX), QStringLiteral("90"));
        QCOMPARE(tasks.Cell(1, TaskList::kColumnY), QString());
        QCOMPARE(tasks.Cell(1, TaskList::kColumnTask), QStringLiteral("Pause"));
        for (const char* name : {"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"})
            QVERIFY2(Action(name)->isEnabled(), name);
    }

    void closingReleasesAButtonHeldByPlayback()
    {
        Add("1", TextTable::Text(142));
        Add("2", TextTable::Text(143));
        Play();
        if (QTest::currentTestFailed())
            return;
        Tick(*m_window, "tmrPlay_Timer");
        QCOMPARE(m_desktop->Actions().back(), FakeDesktop::Down(1));
        m_window.reset();
        QCOMPARE(m_desktop->Actions().back(), FakeDesktop::Up(1));
    }
};

QTEST_MAIN(TestMainWindowPlayback)
#include "TestMainWindowPlayback.moc"
