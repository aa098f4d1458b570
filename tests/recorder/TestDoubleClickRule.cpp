// The recording's double-click rule over the task list, without a desktop.
#include "core/TextTable.h"
#include "recorder/DoubleClickRule.h"
#include "tasks/TaskList.h"

#include <QTest>

namespace {
const QString kLeft = TextTable::Text(TextId::ClickLeft);
const QString kDoubleLeft = TextTable::Text(TextId::DoubleClickLeft);

// One task added after a number of recording ticks, pressed at `time` ms (-1: the desktop gave no
// time); a task not recorded (loaded, pasted, a wait) closes the double-click window.
struct Step
{
    int ticks;
    QString text;
    int time = -1;
    int x = 100;
    bool recorded = true;
};
} // namespace

class TestDoubleClickRule : public QObject
{
    Q_OBJECT

private slots:
    void mergesQuickClicks_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* name, QList<Step> steps, QStringList expected) {
            QTest::newRow(name) << steps << expected;
        };
        row("4 ticks merge", {{0, TextTable::Text(TextId::ClickRight)}, {4, TextTable::Text(TextId::ClickRight)}},
            {TextTable::Text(TextId::DoubleClickRight)});
        row("5 ticks are too late", {{0, kLeft}, {5, kLeft}}, {kLeft, kLeft});
        row("pressed 399 ms apart, 20 ticks", {{0, kLeft, 5000}, {20, kLeft, 5399}}, {kDoubleLeft});
        row("pressed 400 ms apart", {{0, kLeft, 5000}, {20, kLeft, 5400}}, {kLeft, kLeft});
        row("in one tick, across the clock's wrap", {{0, kLeft, -100}, {0, kLeft, 50}}, {kDoubleLeft});
        row("5 pixels apart", {{0, kLeft}, {1, kLeft, -1, 105}}, {kDoubleLeft});
        row("6 pixels apart", {{0, kLeft}, {1, kLeft, -1, 94}}, {kLeft, kLeft});
        row("a click after a drag's release", {{0, TextTable::Text(TextId::LeftReleased)}, {2, kLeft}},
            {TextTable::Text(TextId::LeftReleased), kLeft});
        row("a third quick click", {{0, kLeft}, {2, kLeft}, {2, kLeft}}, {kDoubleLeft});
        row("a loaded click, then a recorded one", {{0, kLeft, 0}, {1, kLeft, -1, 100, false}, {1, kLeft, 10}},
            {kLeft, kLeft, kLeft});
    }

    void mergesQuickClicks()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(QStringList, expected);
        TaskList tasks;
        DoubleClickRule rule;
        rule.SetLimits(400, 5);
        for (int i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            for (int tick = 0; tick < step.ticks; ++tick)
                rule.Tick();
            const auto time = step.time == -1 ? std::nullopt : std::optional(static_cast<quint32>(step.time));
            if (step.recorded) {
                rule.AddTask(tasks, QString::number(step.x), "7", step.text, QByteArray::number(i), time);
            } else {
                tasks.AddTask(QString::number(step.x), "7", step.text, QByteArray::number(i));
                rule.Close();
            }
        }
        QStringList texts;
        for (int row = 1; row < tasks.Rows(); ++row)
            texts << tasks.Cell(row, TaskList::kColumnTask);
        QCOMPARE(texts, expected);
        // Merged or not, the last row holds the last task's point and image.
        QCOMPARE(tasks.Cell(tasks.Rows() - 1, TaskList::kColumnX), QString::number(steps.back().x));
        QCOMPARE(tasks.Image(tasks.Rows() - 1), QByteArray::number(steps.size() - 1));
    }
};

QTEST_GUILESS_MAIN(TestDoubleClickRule)
#include "TestDoubleClickRule.moc"
