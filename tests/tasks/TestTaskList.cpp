#include "core/TextTable.h"
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

// One task added after a number of recording ticks.
struct Step
{
    int ticks;
    QString text;
    TaskOrigin origin = TaskOrigin::Recorded;
};

QStringList TaskTexts(const TaskList& tasks)
{
    QStringList texts;
    for (int row = 1; row < tasks.Rows(); ++row)
        texts << tasks.Cell(row, TaskList::kColumnTask);
    return texts;
}

// The empty list: two rows, row 1 blank but numbered.
void VerifyEmpty(const TaskList& tasks)
{
    QCOMPARE(tasks.Rows(), 2);
    QVERIFY(tasks.IsEmpty());
    QCOMPARE(tasks.Cell(1, TaskList::kColumnNumber), QStringLiteral("1"));
    QVERIFY(tasks.Cell(1, TaskList::kColumnX).isEmpty());
}
} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestTaskList : public QObject
{
    Q_OBJECT

private slots:
    void doubleClickRule_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QStringList>("expected");
        const TaskOrigin inserted = TaskOrigin::Inserted;

        QTest::newRow("first task fills row 1") << QList<Step>{{0, kLeft}} << QStringList{kLeft};
        QTest::newRow("a pause fills row 1") << QList<Step>{{0, kPause, inserted}} << QStringList{kPause};
        QTest::newRow("1 tick merges") << QList<Step>{{0, kLeft}, {1, kLeft}} << QStringList{kDoubleLeft};
        QTest::newRow("3 ticks merge") << QList<Step>{{0, kLeft}, {3, kLeft}} << QStringList{kDoubleLeft};
        QTest::newRow("4 ticks merge") << QList<Step>{{0, kRight}, {4, kRight}} << QStringList{kDoubleRight};
        QTest::newRow("5 ticks are too late") << QList<Step>{{0, kLeft}, {5, kLeft}} << QStringList{kLeft, kLeft};
        QTest::newRow("0 ticks never merge") << QList<Step>{{0, kLeft}, {0, kLeft}} << QStringList{kLeft, kLeft};
        QTest::newRow("another button") << QList<Step>{{0, kRight}, {2, kLeft}} << QStringList{kRight, kLeft};
        QTest::newRow("a click after a drag's release")
            << QList<Step>{{0, kReleasedLeft}, {2, kLeft}} << QStringList{kReleasedLeft, kLeft};
        QTest::newRow("a drag's press after a click")
            << QList<Step>{{0, kLeft}, {2, kPushedLeft}} << QStringList{kLeft, kPushedLeft};
        QTest::newRow("a third quick click")
            << QList<Step>{{0, kLeft}, {2, kLeft}, {2, kLeft}} << QStringList{kDoubleLeft, kLeft};
        QTest::newRow("a pause inside the window")
            << QList<Step>{{0, kLeft}, {2, kPause, inserted}} << QStringList{kLeft, kPause};
        // A loaded line closes the window: the next recorded click at the first tick keeps its row.
        QTest::newRow("a loaded click, then a recorded one")
            << QList<Step>{{0, kLeft}, {1, kLeft, inserted}, {1, kLeft}} << QStringList{kLeft, kLeft, kLeft};
    }

    void doubleClickRule()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(QStringList, expected);
        TaskList tasks;
        for (int i = 0; i < steps.size(); ++i) {
            for (int tick = 0; tick < steps[i].ticks; ++tick)
                tasks.RaiseTickCounter();
            tasks.AddTask(QString::number(i + 1), "7", steps[i].text, QByteArray::number(i + 1), steps[i].origin);
        }
        QCOMPARE(TaskTexts(tasks), expected);
        // Merged or not, the last row holds the last task's point and image.
        const int last = tasks.Rows() - 1;
        QCOMPARE(tasks.Cell(last, TaskList::kColumnX), QString::number(steps.size()));
        QCOMPARE(tasks.Image(last), QByteArray::number(steps.size()));
    }

    void deleteClearAndBulkKeepTheEmptyListRule()
    {
        TaskList tasks;
        QAbstractItemModelTester tester(&tasks, QAbstractItemModelTester::FailureReportingMode::QtTest);
        VerifyEmpty(tasks);
        QCOMPARE(tasks.Cell(0, TaskList::kColumnTask), QStringLiteral("Task"));

        tasks.AddTask("1", "1", kLeft, "a");
        tasks.CloseDoubleClickWindow();
        tasks.AddTask("2", "2", kRight, "b");
        QCOMPARE(tasks.Cell(2, TaskList::kColumnNumber), QStringLiteral("2"));
        QVERIFY(!tasks.DeleteLastTask());
        QCOMPARE(TaskTexts(tasks), QStringList{kLeft});
        // The only task: row 1 is blanked, and the list says it is now empty.
        QVERIFY(tasks.DeleteLastTask());
        VerifyEmpty(tasks);
        QVERIFY(tasks.DeleteLastTask());

        tasks.AddTasks({{"1", "1", kLeft, "a"}, {"2", "2", kLeft, "b"}});
        tasks.AddTasks({{"3", "3", kLeft, "c"}});
        QCOMPARE(TaskTexts(tasks), (QStringList{kLeft, kLeft, kLeft}));
        QCOMPARE(tasks.Image(3), QByteArray("c"));

        tasks.SetCurrentRow(3);
        tasks.ClearTaskList();
        VerifyEmpty(tasks);
        QVERIFY(tasks.Image(1).isEmpty());
        QCOMPARE(tasks.CurrentRow(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTaskList)
#include "TestTaskList.moc"
