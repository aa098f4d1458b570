#include "app/MainWindow.h"
#include "support/FakeDesktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QTest>

// Recording through the main window's Record command and poll handler, on the scripted desktop.
class TestMainWindowRecording : public QObject
{
    Q_OBJECT

private slots:
    void recordingEndsWithTheCountAndTheCommandState_data()
    {
        QTest::addColumn<bool>("drag");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("a drag") << true << QStringList{"Number of events captured: 2 ."};
        QTest::newRow("nothing") << false << QStringList{};
    }

    void recordingEndsWithTheCountAndTheCommandState()
    {
        QFETCH(bool, drag);
        QFETCH(QStringList, messages);
        RecordingMessageBoxes shown;
        FakeDesktop desktop;
        MainWindow window(MainWindowServices{&shown, &desktop, {}});
        window.Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The commands must follow what the list holds, not what they showed before.
        window.UpdateCommandState(!drag);
        const auto tick = [&window] {
            QMetaObject::invokeMethod(&window, "tmrRec_Timer", Qt::DirectConnection);
        };

        window.findChild<QAction*>(QStringLiteral("mnuComandiRec"))->trigger();
        QVERIFY(window.State().recording);
        QTRY_VERIFY(window.isMinimized());
        if (drag) {
            desktop.SetPointer(40, 50);
            desktop.HoldFor(VirtualKey::kLeftButton, 3, 45, 50);
        }
        tick();
        // Ctrl+Shift+F12 held; the window stays minimised until F12 is released.
        desktop.SetKeyDown(VirtualKey::kControl, true);
        desktop.SetKeyDown(VirtualKey::kShift, true);
        desktop.HoldFor(VirtualKey::kF12, 4);
        bool restoredEarly = false;
        desktop.OnKeyQuery([&](int key) { restoredEarly |= key == VirtualKey::kF12 && !window.isMinimized(); });
        tick();
        desktop.OnKeyQuery({});
        QVERIFY(!restoredEarly);
        QVERIFY(!window.State().recording);
        QTRY_VERIFY(!window.isMinimized());

        QCOMPARE(shown.Texts(), messages);
        if (drag)
            QCOMPARE(shown.Messages().front().icon, MessageBoxes::Icon::Information);
        for (const char* name : {"mnuComandiPlay", "mnuComandiCanc", "mnuFileSalva", "mnuFileAggiungi"})
            QVERIFY2(window.findChild<QAction*>(QString::fromLatin1(name))->isEnabled() == drag, name);
    }
};

QTEST_MAIN(TestMainWindowRecording)
#include "TestMainWindowRecording.moc"
