#include "app/InsertTaskDialog.h"
#include "app/Run.h"
#include "app/TaskEditor.h"
#include "app/TaskGrid.h"
#include "app/WheelEditor.h"
#include "core/OptionValues.h"
#include "core/TextTable.h"
#include "macrofile/MacroFile.h"
#include "support/FakeDesktop.h"
#include "support/RecordingMessageBoxes.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QAction>
#include <QBuffer>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTest>

// Every task put in by hand, through its command and dialog: one edit after the current row that
// undo takes back and redo makes again, byte for byte in the saved file.
class TestInsertCommands : public QObject
{
    Q_OBJECT

    static QByteArray FileOf(const TaskList& tasks)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        MacroFile::Write(buffer, tasks, OptionValues{}, false);
        return buffer.data();
    }

private slots:
    void eachInsertIsOneEdit_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("value"); // what the user puts in the dialog
        QTest::addColumn<QPoint>("picked"); // where the user clicks after it, if asked to
        QTest::addColumn<QByteArray>("line");
        const QPoint none(-1, -1);
        QTest::newRow("typing") << "editInsertTyping"
                                << "Hi, Jürgen{Return}" << none
                                << QByteArray("\"**Type H i comma space J udiaeresis r g e n Return**\"");
        QTest::newRow("key") << "editInsertKey"
                             << "Ctrl+Shift+S" << none << QByteArray("\"**Key Control_L+Shift_L+s**\"");
        QTest::newRow("wheel") << "editInsertWheel"
                               << "2" << QPoint(50, 60) << QByteArray("\"50*60*Wheel down 2**\"");
        QTest::newRow("wait") << "editInsertWait"
                              << "250" << none << QByteArray("\"250**Wait**\"");
        QTest::newRow("click") << "editInsertClick" << QString() << QPoint(70, 80)
                               << QByteArray("\"70*80*Mouse Click Left**\"");
    }

    void eachInsertIsOneEdit()
    {
        QFETCH(QString, action);
        QFETCH(QString, value);
        QFETCH(QPoint, picked);
        QFETCH(QByteArray, line);
        QWidget window;
        TaskGrid grid(&window);
        TaskList tasks;
        grid.setModel(&tasks);
        SharedState state;
        RecordingMessageBoxes messages;
        FakeDesktop desktop;
        desktop.SetFollowable(true);
        Run run(tasks, desktop, state);
        TaskEditor editor(window, grid, tasks, state, messages, &desktop, &run);
        for (const char* x : {"10", "20"})
            tasks.AddTask(x, x, TaskKinds::Text(TaskKinds::Action::Click, MouseButton::Left), {});
        tasks.SetCurrentRow(1);
        const QByteArray before = FileOf(tasks);

        editor.Menu()->findChild<QAction*>(action)->trigger();
        if (auto* dialog = window.findChild<InsertTaskDialog*>()) {
            if (dialog->TextField())
                dialog->TextField()->setText(value);
            else if (dialog->KeyField())
                dialog->KeyField()->setKeySequence(QKeySequence::fromString(value));
            else if (dialog->WaitField())
                dialog->WaitField()->setValue(value.toInt());
            else
                dialog->WheelField()->Set(WheelDirection::Down, value.toInt());
            dialog->accept();
        }
        if (picked.x() >= 0) {
            desktop.QueueButtonEvent({MouseButton::Left, true, picked.x(), picked.y(), 1, 1});
            desktop.QueueButtonEvent({MouseButton::Left, false, picked.x(), picked.y(), 2, 2});
        }
        QTRY_COMPARE(tasks.TaskCount(), 3);
        const QByteArray after = FileOf(tasks);
        const qsizetype second = before.indexOf("\r\n\"20*") + 2;
        QCOMPARE(after, QByteArray(before).insert(second, line + "\r\n"));
        QCOMPARE(tasks.Edits().count(), 1);
        tasks.Edits().undo();
        QCOMPARE(FileOf(tasks), before);
        tasks.Edits().redo();
        QCOMPARE(FileOf(tasks), after);
        QVERIFY(messages.Texts().isEmpty());
    }

    // Escape gives up a pick: the click after it picks nothing. A row without a point says so.
    void escapeAndRowsWithoutAPoint()
    {
        QWidget window;
        TaskGrid grid(&window);
        TaskList tasks;
        grid.setModel(&tasks);
        SharedState state;
        RecordingMessageBoxes messages;
        FakeDesktop desktop;
        desktop.SetFollowable(true);
        Run run(tasks, desktop, state);
        TaskEditor editor(window, grid, tasks, state, messages, &desktop, &run);
        tasks.AddTask("250", "", TaskKinds::Text(TaskKinds::Action::Wait), {});
        tasks.SetCurrentRow(1);
        editor.Menu()->findChild<QAction*>("editInsertClick")->trigger();
        desktop.QueueInputEvent({InputEvent::Kind::Press, 9, 0xff1b, 0xff1b, {}, 0, 0, 1, 1});
        QTest::qWait(100);
        desktop.QueueButtonEvent({MouseButton::Left, true, 5, 5, 2, 2});
        desktop.QueueButtonEvent({MouseButton::Left, false, 5, 5, 3, 3});
        QTest::qWait(100);
        QCOMPARE(tasks.TaskCount(), 1);
        editor.Menu()->findChild<QAction*>("editPickPoint")->trigger();
        QTRY_COMPARE(messages.Texts(), QStringList{TextTable::Text(TextId::NoPointToPick).arg(1)});
    }
};

QTEST_MAIN(TestInsertCommands)
#include "TestInsertCommands.moc"
