#include "PlaybackWindow.h"
#include "core/TextTable.h"
#include "player/PauseDialog.h"
#include "support/FakeDesktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QComboBox>
#include <QPointer>
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
    // Runs the window's handlers, in order, the way their timers do.
    void Tick(std::initializer_list<const char*> handlers)
    {
        for (const char* handler : handlers)
            QMetaObject::invokeMethod(m_window.get(), handler, Qt::DirectConnection);
    }
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

    // The stop keys are watched on the recording poll; a pause counts down on its own timer.
    void stopKeysAndTheEndShowTheirMessages()
    {
        Play({114, 141, 114});
        Tick({"tmrRec_Timer", "tmrPlay_Timer", "tmrPlay_Timer"});
        m_desktop->SetKeyDown(VirtualKey::kControl, true);
        m_desktop->SetKeyDown(VirtualKey::kShift, true);
        m_desktop->HoldFor(VirtualKey::kF11, 2);
        Tick({"tmrRec_Timer"});
        QCOMPARE(m_messages.Texts(), QStringList{"Number of task executed: 2 ."});
        QVERIFY(!m_window->State().playing);
        QTRY_VERIFY(!m_window->isMinimized());

        m_messages.Clear();
        Play({});
        Tick({"tmrPlay_Timer", "tmrPlay_Timer", "tmrPause_Timer", "tmrPause_Timer", "tmrPlay_Timer"});
        QCOMPARE(m_messages.Texts(), QStringList{"All task have been executed."});
        QCOMPARE(m_messages.Messages().front().icon, MessageBoxes::Icon::Information);
        QTRY_VERIFY(!m_window->isMinimized());
    }

    void terminaClosesTheProgramSilently()
    {
        m_window->State().options.Termina = true;
        Play({114});
        Tick({"tmrPlay_Timer"});
        QTRY_VERIFY(!m_window->isVisible());
        QVERIFY(m_messages.Texts().isEmpty());
        // Closing the main window queues closing every window: let that pass before the next test.
        QCoreApplication::sendPostedEvents();
    }

    void insertPause_data()
    {
        QTest::addColumn<QString>("button");    // empty: the close box
        QTest::addColumn<QList<int>>("picked"); // hours, minutes, seconds
        QTest::addColumn<QString>("added");     // the length of the pause added, if any
        QTest::newRow("0:0:0 adds nothing") << "OKButton" << QList<int>{0, 0, 0} << "";
        QTest::newRow("0:1:30") << "OKButton" << QList<int>{0, 1, 30} << "90";
        QTest::newRow("6:59:59") << "OKButton" << QList<int>{6, 59, 59} << "25199";
        QTest::newRow("Cancel") << "CancelButton" << QList<int>{1, 2, 3} << "";
        QTest::newRow("close box") << "" << QList<int>{1, 2, 3} << "";
    }

    // The dialog leaves the main window enabled again however it closes; a pause it adds enables
    // the commands that need a task.
    void insertPause()
    {
        QFETCH(QString, button);
        QFETCH(QList<int>, picked);
        QFETCH(QString, added);
        Action("mnuComandiPausa")->trigger();
        QPointer<PauseDialog> dialog = m_window->findChild<PauseDialog*>(QStringLiteral("frmPausa"));
        QVERIFY(dialog && !m_window->isEnabled());
        // The lists take only their entries: hours 0 to 6, minutes and seconds 0 to 59.
        const QList<QComboBox*> lists = dialog->findChildren<QComboBox*>(QStringLiteral("cmbpausa"));
        const int lastEntries[] = {59, 59, 6};
        for (const int index : {PauseDialog::kSeconds, PauseDialog::kMinutes, PauseDialog::kHours}) {
            QVERIFY(!lists[index]->isEditable());
            QCOMPARE(lists[index]->count(), lastEntries[index] + 1);
            lists[index]->setCurrentText(QString::number(picked[2 - index]));
        }
        if (button.isEmpty())
            dialog->close();
        else
            dialog->findChild<QPushButton*>(button)->click();
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(m_window->isEnabled());
        const TaskList& tasks = m_window->Tasks();
        QCOMPARE(tasks.TaskCount(), added.isEmpty() ? 0 : 1);
        QCOMPARE(tasks.Cell(1, TaskList::kColumnX), added);
        QCOMPARE(tasks.Cell(1, TaskList::kColumnTask), added.isEmpty() ? QString() : QStringLiteral("Pause"));
        for (const char* name : {"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"})
            QVERIFY2(Action(name)->isEnabled() == !added.isEmpty(), name);
    }
};

QTEST_MAIN(TestMainWindowPlayback)
#include "TestMainWindowPlayback.moc"
