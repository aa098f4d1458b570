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
constexpr auto kInserted = TaskOrigin::Inserted;
constexpr auto kRecorded = TaskOrigin::Recorded;

// One task added after a number of recording ticks, pressed at `time` ms (-1: the desktop gave no time).
struct Step
{
    int ticks;
    QString text;
    TaskOrigin origin = kRecorded;
    int time = -1;
    int x = 100;
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
        using Steps = QList<Step>;
        QTest::newRow("a pause fills row 1") << Steps{{0, kPause, kInserted}} << QStringList{kPause};
        QTest::newRow("4 ticks merge") << Steps{{0, kRight}, {4, kRight}} << QStringList{kDoubleRight};
        QTest::newRow("5 ticks are too late") << Steps{{0, kLeft}, {5, kLeft}} << QStringList{kLeft, kLeft};
        QTest::newRow("0 ticks, no times") << Steps{{0, kLeft}, {0, kLeft}} << QStringList{kLeft, kLeft};
        QTest::newRow("pressed 399 ms apart, 20 ticks")
            << Steps{{0, kLeft, kRecorded, 5000}, {20, kLeft, kRecorded, 5399}} << QStringList{kDoubleLeft};
        QTest::newRow("pressed 400 ms apart")
            << Steps{{0, kLeft, kRecorded, 5000}, {20, kLeft, kRecorded, 5400}} << QStringList{kLeft, kLeft};
        QTest::newRow("in one tick, across the clock's wrap")
            << Steps{{0, kLeft, kRecorded, -100}, {0, kLeft, kRecorded, 50}} << QStringList{kDoubleLeft};
        QTest::newRow("5 pixels apart") << Steps{{0, kLeft}, {1, kLeft, kRecorded, -1, 105}}
                                        << QStringList{kDoubleLeft};
        QTest::newRow("6 pixels apart") << Steps{{0, kLeft}, {1, kLeft, kRecorded, -1, 94}}
                                        << QStringList{kLeft, kLeft};
        QTest::newRow("a click after a drag's release")
            << Steps{{0, kReleasedLeft}, {2, kLeft}} << QStringList{kReleasedLeft, kLeft};
        QTest::newRow("a drag's press after a click")
            << Steps{{0, kLeft}, {2, kPushedLeft}} << QStringList{kLeft, kPushedLeft};
        QTest::newRow("a third quick click") << Steps{{0, kLeft}, {2, kLeft}, {2, kLeft}} << QStringList{kDoubleLeft};
        QTest::newRow("a pause inside the window")
            << Steps{{0, kLeft}, {2, kPause, kInserted}} << QStringList{kLeft, kPause};
        QTest::newRow("a loaded click, then a recorded one")
            << Steps{{0, kLeft, kRecorded, 0}, {1, kLeft, kInserted}, {1, kLeft, kRecorded, 10}}
            << QStringList{kLeft, kLeft, kLeft};
    }

    void doubleClickRule()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(QStringList, expected);
        TaskList tasks;
        tasks.SetDoubleClickLimits(400, 5);
        for (int i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            for (int tick = 0; tick < step.ticks; ++tick)
                tasks.RaiseTickCounter();
            const std::optional<quint32> time =
                step.time == -1 ? std::nullopt : std::optional<quint32>(static_cast<quint32>(step.time));
            tasks.AddTask(QString::number(step.x), "7", step.text, QByteArray::number(i), step.origin, time);
        }
        QCOMPARE(TaskTexts(tasks), expected);
        // Merged or not, the last row holds the last task's point and image.
        const int last = tasks.Rows() - 1;
        QCOMPARE(tasks.Cell(last, TaskList::kColumnX), QString::number(steps.back().x));
        QCOMPARE(tasks.Image(last), QByteArray::number(steps.size() - 1));
    }

    void deleteClearAndBulkKeepTheEmptyListRule()
    {
        TaskList tasks;
        QAbstractItemModelTester tester(&tasks, QAbstractItemModelTester::FailureReportingMode::QtTest);
        VerifyEmpty(tasks);
        QCOMPARE(tasks.Cell(0, TaskList::kColumnTask), QStringLiteral("Task"));
        tasks.AddTask("1", "1", kLeft, "a");
        tasks.AddTask("2", "2", kRight, "b");
        QCOMPARE(tasks.Cell(2, TaskList::kColumnNumber), QStringLiteral("2"));
        QVERIFY(!tasks.DeleteLastTask());
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
