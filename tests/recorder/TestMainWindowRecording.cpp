#include "app/MainWindow.h"
#include "app/core/TextTable.h"
#include "support/FakeDesktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QTest>

namespace {
const char* const kTaskCommands[] = {"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"};
}

// Recording through the main window's Record command and poll handler, on the scripted desktop.
class TestMainWindowRecording : public QObject
{
    Q_OBJECT

private:
    RecordingMessageBoxes m_messages;
    std::unique_ptr<FakeDesktop> m_desktop;
    std::unique_ptr<MainWindow> m_window;

    QAction* Action(const char* name) { return m_window->findChild<QAction*>(QString::fromLatin1(name)); }
    // Runs the poll handler the way its timer does.
    void Tick() { QMetaObject::invokeMethod(m_window.get(), "tmrRec_Timer", Qt::DirectConnection); }

    void Record()
    {
        Action("mnuComandiRec")->trigger();
        QVERIFY(m_window->State().recording);
        QTRY_VERIFY(m_window->isMinimized());
    }
    // Ctrl+Shift+F12 held, F12 released after a few queries; the window must stay minimised until then.
    void Stop()
    {
        Tick();
        m_desktop->SetKeyDown(VirtualKey::kControl, true);
        m_desktop->SetKeyDown(VirtualKey::kShift, true);
        m_desktop->HoldFor(VirtualKey::kF12, 4);
        bool restoredEarly = false;
        m_desktop->OnKeyQuery([this, &restoredEarly](int key) {
            if (key == VirtualKey::kF12 && !m_window->isMinimized())
                restoredEarly = true;
        });
        Tick();
        m_desktop->OnKeyQuery({});
        QVERIFY(!restoredEarly);
        QVERIFY(!m_window->State().recording);
        QTRY_VERIFY(!m_window->isMinimized());
    }

private slots:
    void init()
    {
        m_messages.Clear();
        m_desktop = std::make_unique<FakeDesktop>();
        m_window = std::make_unique<MainWindow>(MainWindowServices{&m_messages, m_desktop.get(), {}});
        m_window->Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        m_desktop.reset();
    }

    void recordingEndsWithTheCountAndEnablesTheCommands()
    {
        Record();
        m_desktop->SetPointer(40, 50);
        m_desktop->HoldFor(VirtualKey::kLeftButton, 3, 45, 50);
        Tick();
        Stop();

        QCOMPARE(m_window->Tasks().TaskCount(), 2);
        QCOMPARE(m_messages.Texts(), QStringList{QStringLiteral("Number of events captured: 2 .")});
        QCOMPARE(m_messages.Messages().front().icon, MessageBoxes::Icon::Information);
        for (const char* name : kTaskCommands)
            QVERIFY2(Action(name)->isEnabled(), name);
    }

    void emptyRecordingShowsNoMessageAndDisablesTheCommands()
    {
        m_window->UpdateCommandState(true);
        Record();
        Stop();

        QVERIFY(m_window->Tasks().IsEmpty());
        QVERIFY(m_messages.Texts().isEmpty());
        for (const char* name : kTaskCommands)
            QVERIFY2(!Action(name)->isEnabled(), name);
    }
};

QTEST_MAIN(TestMainWindowRecording)
#include "TestMainWindowRecording.moc"
