#include "app/core/TextTable.h"
#include "tasks/TaskList.h"

#include <QAbstractItemModelTester>
#include <QTest>

namespace {
const QString kLeft = TextTable::Text(114);
const QString kRight = TextTable::Text(115);
const QString kDoubleLeft = TextTable::Text(117);
const QString kDoubleRight = TextTable::Text(118);
const QString kPushedLeft = TextTable::Text(142);
const QString kReleasedLeft = TextTable::Text(143);
const QString kPause = TextTable::Text(141);

void Ticks(TaskList& tasks, int count)
{
    for (int i = 0; i < count; ++i)
        tasks.RaiseTickCounter();
}

QStringList TaskTexts(const TaskList& tasks)
{
    QStringList texts;
    for (int row = 1; row < tasks.Rows(); ++row)
        texts << tasks.Cell(row, TaskList::kColumnTask);
    return texts;
}
} // namespace

class TestTaskList : public QObject
{
    Q_OBJECT

private slots:
    void newListHoldsOneBlankRow()
    {
        TaskList tasks;
        QAbstractItemModelTester tester(&tasks, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(tasks.Rows(), 2);
        QCOMPARE(tasks.Cell(1, 0), QStringLiteral("1"));
        QVERIFY(tasks.IsEmpty());
        QCOMPARE(tasks.TaskCount(), 0);
        QCOMPARE(tasks.Cell(0, TaskList::kColumnX), QStringLiteral("x"));
        QCOMPARE(tasks.Cell(0, TaskList::kColumnTask), QStringLiteral("Task"));
    }

    void firstTaskFillsRowOneAndTheSecondAppends()
    {
        TaskList tasks;
        QAbstractItemModelTester tester(&tasks, QAbstractItemModelTester::FailureReportingMode::QtTest);
        tasks.AddTask("10", "20", kLeft, "img1");
        QCOMPARE(tasks.Rows(), 2);
        QVERIFY(!tasks.IsEmpty());
        QCOMPARE(tasks.Cell(1, TaskList::kColumnX), QStringLiteral("10"));
        QCOMPARE(tasks.Image(1), QByteArray("img1"));
        Ticks(tasks, 5);
        tasks.AddTask("30", "40", kRight, "img2");
        QCOMPARE(tasks.Rows(), 3);
        QCOMPARE(tasks.Cell(2, 0), QStringLiteral("2"));
        QCOMPARE(tasks.TaskCount(), 2);
    }

    void doubleClickWindow_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("same button after 1 tick merges") << kLeft << 1 << kLeft << QStringList{kDoubleLeft};
        QTest::newRow("same button after 3 ticks merges") << kLeft << 3 << kLeft << QStringList{kDoubleLeft};
        QTest::newRow("same button after 4 ticks merges") << kRight << 4 << kRight << QStringList{kDoubleRight};
        QTest::newRow("5 ticks is too late") << kLeft << 5 << kLeft << QStringList{kLeft, kLeft};
        QTest::newRow("the same tick never merges") << kLeft << 0 << kLeft << QStringList{kLeft, kLeft};
        QTest::newRow("another button gets its own row") << kRight << 2 << kLeft << QStringList{kRight, kLeft};
        QTest::newRow("a click after a drag's release")
            << kReleasedLeft << 2 << kLeft << QStringList{kReleasedLeft, kLeft};
        QTest::newRow("a drag's press after a click") << kLeft << 2 << kPushedLeft << QStringList{kLeft, kPushedLeft};
    }

    void doubleClickWindow()
    {
        QFETCH(QString, first);
        QFETCH(int, ticks);
        QFETCH(QString, second);
        QFETCH(QStringList, expected);

        TaskList tasks;
        tasks.AddTask("1", "2", first, "first");
        Ticks(tasks, ticks);
        tasks.AddTask("3", "4", second, "second");
        QCOMPARE(TaskTexts(tasks), expected);
        // Whether merged or appended, the last row holds the second task's point and image.
        QCOMPARE(tasks.Cell(tasks.Rows() - 1, TaskList::kColumnX), QStringLiteral("3"));
        QCOMPARE(tasks.Image(tasks.Rows() - 1), QByteArray("second"));
        QCOMPARE(tasks.TickCounter(), 0);
    }

    void aThirdQuickClickMovesTheDoubleClickNoFurther()
    {
        TaskList tasks;
        tasks.AddTask("1", "1", kLeft, {});
        Ticks(tasks, 2);
        tasks.AddTask("2", "2", kLeft, {});
        Ticks(tasks, 2);
        tasks.AddTask("3", "3", kLeft, {});
        QCOMPARE(TaskTexts(tasks), (QStringList{kDoubleLeft, kLeft}));
    }

    void insertedTasksNeverMergeAndCloseTheWindow()
    {
        TaskList tasks;
        tasks.AddTask("1", "1", kLeft, {});
        Ticks(tasks, 2);
        tasks.AddTask("30", "", kPause, {}, TaskOrigin::Inserted);
        QCOMPARE(TaskTexts(tasks), (QStringList{kLeft, kPause}));
        QVERIFY(tasks.TickCounter() > TaskList::kDoubleClickTicks);

        // A loaded click right after a recorded one keeps its own row, and so does the next
        // recorded click at the first tick.
        TaskList loaded;
        loaded.AddTask("1", "1", kLeft, {});
        Ticks(loaded, 1);
        loaded.AddTask("1", "1", kLeft, {}, TaskOrigin::Inserted);
        loaded.RaiseTickCounter();
        loaded.AddTask("1", "1", kLeft, {});
        QCOMPARE(TaskTexts(loaded), (QStringList{kLeft, kLeft, kLeft}));
    }

    void pauseOnANewListFillsRowOne()
    {
        TaskList tasks;
        tasks.AddTask("90", "", kPause, {}, TaskOrigin::Inserted);
        QCOMPARE(tasks.Rows(), 2);
        QCOMPARE(tasks.Cell(1, TaskList::kColumnX), QStringLiteral("90"));
        QVERIFY(tasks.Cell(1, TaskList::kColumnY).isEmpty());
        QVERIFY(tasks.Image(1).isEmpty());
    }

    void bulkAddFillsRowOneThenAppends()
    {
        TaskList tasks;
        QAbstractItemModelTester tester(&tasks, QAbstractItemModelTester::FailureReportingMode::QtTest);
        tasks.AddTasks({{"1", "1", kLeft, "a"}, {"2", "2", kLeft, "b"}});
        tasks.AddTasks({{"3", "3", kLeft, "c"}});
        QCOMPARE(tasks.Rows(), 4);
        QCOMPARE(TaskTexts(tasks), (QStringList{kLeft, kLeft, kLeft}));
        QCOMPARE(tasks.Image(3), QByteArray("c"));
        QCOMPARE(tasks.rowCount(), 3);
    }

    void deleteLastTask()
    {
        TaskList tasks;
        QAbstractItemModelTester tester(&tasks, QAbstractItemModelTester::FailureReportingMode::QtTest);
        tasks.AddTask("1", "1", kLeft, "a");
        Ticks(tasks, 5);
        tasks.AddTask("2", "2", kRight, "b");
        QVERIFY(!tasks.DeleteLastTask());
        QCOMPARE(tasks.Rows(), 2);
        QCOMPARE(tasks.Cell(1, TaskList::kColumnTask), kLeft);

        // The only task: row 1 is blanked in columns 1 to 3; its image waits to be overwritten.
        QVERIFY(tasks.DeleteLastTask());
        QCOMPARE(tasks.Rows(), 2);
        QVERIFY(tasks.IsEmpty());
        QVERIFY(tasks.Cell(1, TaskList::kColumnX).isEmpty());
        QCOMPARE(tasks.Cell(1, 0), QStringLiteral("1"));
        QCOMPARE(tasks.Image(1), QByteArray("a"));
        QVERIFY(tasks.DeleteLastTask());
    }

    void clearLeavesOneBlankRow()
    {
        TaskList tasks;
        QAbstractItemModelTester tester(&tasks, QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (int i = 0; i < 4; ++i) {
            Ticks(tasks, 5);
            tasks.AddTask("1", "1", kLeft, "img");
        }
        tasks.SetCurrentRow(3);
        tasks.ClearTaskList();
        QCOMPARE(tasks.Rows(), 2);
        QVERIFY(tasks.IsEmpty());
        QVERIFY(tasks.Image(1).isEmpty());
        QCOMPARE(tasks.Cell(1, 0), QStringLiteral("1"));
        QCOMPARE(tasks.CurrentRow(), 1);
    }

    void emptyTaskTextInRowOneStillCountsAsEmpty()
    {
        TaskList tasks;
        tasks.AddTask("5", "6", QString(), {}, TaskOrigin::Inserted);
        QVERIFY(tasks.IsEmpty());
        QCOMPARE(tasks.Cell(1, TaskList::kColumnX), QStringLiteral("5"));
    }
};

QTEST_GUILESS_MAIN(TestTaskList)
#include "TestTaskList.moc"
