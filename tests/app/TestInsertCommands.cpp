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
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>

// Every task put in by hand, through its command and dialog: one edit after the current row that
// undo takes back and redo makes again, byte for byte in the saved file.
class TestInsertCommands : public QObject
{
    Q_OBJECT

    // The editor over a grid in a window, on the scripted desktop.
    struct Bench
    {
        QWidget window;
        TaskGrid grid{&window};
        TaskList tasks;
        SharedState state;
        RecordingMessageBoxes messages;
        FakeDesktop desktop;
        Run run{tasks, desktop, state};
        std::unique_ptr<TaskEditor> editor; // over the grid once it shows the list

        Bench()
        {
            grid.setModel(&tasks);
            desktop.SetFollowable(true);
            editor = std::make_unique<TaskEditor>(window, grid, tasks, state, messages, &desktop, &run);
        }
    };

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
        Bench bench;
        auto& [window, grid, tasks, state, messages, desktop, run, editor] = bench;
        for (const char* x : {"10", "20"})
            tasks.AddTask(x, x, TaskKinds::Text(TaskKinds::Action::Click, MouseButton::Left), {});
        tasks.SetCurrentRow(1);
        const QByteArray before = FileOf(tasks);

        editor->Menu()->findChild<QAction*>(action)->trigger();
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

    // Each cell's editor, opened through the grid and used as a person uses it, changes its row as
    // one edit that undo takes back; a refused value changes nothing and says why.
    void cellEditorsChangeTheirRowAsOneEdit_data()
    {
        QTest::addColumn<QStringList>("row"); // x, y, task
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");        // typed, pressed or chosen
        QTest::addColumn<QStringList>("expected"); // empty: refused with the message
        QTest::addColumn<QString>("message");
        const int x = TaskList::kColumnX;
        const int task = TaskList::kColumnTask;
        const QString click = TaskKinds::Text(TaskKinds::Action::Click, MouseButton::Left);
        const QString wait = TaskKinds::Text(TaskKinds::Action::Wait);
        QTest::newRow("typing") << QStringList{"", "", "Type H i"} << task << "Hi, Jürgen{Return}"
                                << QStringList{"", "", "Type H i comma space J udiaeresis r g e n Return"} << "";
        QTest::newRow("key") << QStringList{"", "", "Key Alt_L+F4"} << task << "Ctrl+Shift+S"
                             << QStringList{"", "", "Key Control_L+Shift_L+s"} << "";
        QTest::newRow("wheel") << QStringList{"50", "60", "Wheel down 2"} << task << "3"
                               << QStringList{"50", "60", "Wheel up 3"} << "";
        QTest::newRow("wait") << QStringList{"250", "", wait} << x << "1500" << QStringList{"1500", "", wait} << "";
        QTest::newRow("pause") << QStringList{"5", "", "Pause"} << x << "0:01:30" << QStringList{"90", "", "Pause"}
                               << "";
        QTest::newRow("keys over a click") << QStringList{"10", "20", click} << task << "Type H i" << QStringList{}
                                           << TextTable::Text(TextId::KeysOverPoint);
        QTest::newRow("typing with a stray brace") << QStringList{"", "", "Type H i"} << task << "{Hi" << QStringList{}
                                                   << TextTable::Text(TextId::TypedTextProblem);
    }

    void cellEditorsChangeTheirRowAsOneEdit()
    {
        QFETCH(QStringList, row);
        QFETCH(int, column);
        QFETCH(QString, value);
        QFETCH(QStringList, expected);
        QFETCH(QString, message);
        Bench bench;
        auto& [window, grid, tasks, state, messages, desktop, run, editor] = bench;
        desktop.SetScreenSize({640, 480});
        window.resize(600, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        tasks.AddTask(row[0], row[1], row[2], {});
        const auto cells = [&tasks] {
            const TaskRow now = tasks.Row(1);
            return QStringList{now.x, now.y, now.task};
        };

        const QModelIndex index = tasks.index(0, column);
        grid.setCurrentIndex(index);
        grid.edit(index);
        QWidget* cellEditor = grid.indexWidget(index);
        QVERIFY(cellEditor);
        if (auto* keys = qobject_cast<QKeySequenceEdit*>(cellEditor)) {
            // Taken once the user lets go of the combination for a moment.
            const QKeyCombination pressed = QKeySequence::fromString(value)[0];
            QTest::keyClick(keys, pressed.key(), pressed.keyboardModifiers());
        } else {
            if (auto* kinds = qobject_cast<QComboBox*>(cellEditor))
                kinds->setCurrentText(value);
            else if (auto* wheel = qobject_cast<WheelEditor*>(cellEditor))
                wheel->Set(WheelDirection::Up, value.toInt());
            else if (auto* length = qobject_cast<QTimeEdit*>(cellEditor))
                length->setTime(QTime::fromString(value, QStringLiteral("H:mm:ss")));
            else if (auto* ms = qobject_cast<QSpinBox*>(cellEditor))
                ms->setValue(value.toInt());
            else
                qobject_cast<QLineEdit*>(cellEditor)->setText(value);
            QTest::keyClick(cellEditor, Qt::Key_Return);
        }
        if (expected.isEmpty()) {
            QTRY_COMPARE(messages.Texts(), QStringList{message});
            QCOMPARE(cells(), row);
            QCOMPARE(tasks.Edits().count(), 0);
            return;
        }
        QTRY_COMPARE(cells(), expected);
        QCOMPARE(tasks.Edits().count(), 1);
        tasks.Edits().undo();
        QCOMPARE(cells(), row);
        tasks.Edits().redo();
        QCOMPARE(cells(), expected);
        QVERIFY(messages.Texts().isEmpty());
    }

    // Escape gives up a pick: the click after it picks nothing. A row without a point says so.
    void escapeAndRowsWithoutAPoint()
    {
        Bench bench;
        auto& [window, grid, tasks, state, messages, desktop, run, editor] = bench;
        tasks.AddTask("250", "", TaskKinds::Text(TaskKinds::Action::Wait), {});
        tasks.SetCurrentRow(1);
        editor->Menu()->findChild<QAction*>("editInsertClick")->trigger();
        desktop.QueueInputEvent({InputEvent::Kind::Press, 9, 0xff1b, 0xff1b, {}, 0, 0, 1, 1});
        QTest::qWait(100);
        desktop.QueueButtonEvent({MouseButton::Left, true, 5, 5, 2, 2});
        desktop.QueueButtonEvent({MouseButton::Left, false, 5, 5, 3, 3});
        QTest::qWait(100);
        QCOMPARE(tasks.TaskCount(), 1);
        editor->Menu()->findChild<QAction*>("editPickPoint")->trigger();
        QTRY_COMPARE(messages.Texts(), QStringList{TextTable::Text(TextId::NoPointToPick).arg(1)});
    }
};

QTEST_MAIN(TestInsertCommands)
#include "TestInsertCommands.moc"
