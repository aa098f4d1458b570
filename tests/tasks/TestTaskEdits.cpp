#include "core/TextTable.h"
#include "macrofile/MacroFile.h"
#include "macrofile/TaskClipboard.h"
#include "tasks/DescriptiveImage.h"
#include "tasks/TaskEdits.h"
#include "tasks/TaskList.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {
using Edit = std::function<std::unique_ptr<QUndoCommand>(TaskList&)>;
const QString kLeft = TextTable::Text(TextId::ClickLeft);
const QString kPause = TextTable::Text(TextId::Pause);
const QByteArray kImage = QByteArray("16777215  ").repeated(2601);

// Tasks whose x tells them apart: "1 2 3" is three tasks at x 1, 2 and 3.
TaskRows Tasks(const QString& xs)
{
    TaskRows rows;
    for (const QString& x : xs.split(' ', Qt::SkipEmptyParts))
        rows.push_back(x == "p" ? TaskRow{"30", {}, kPause, {}} : TaskRow{x, "7", kLeft, x == "1" ? kImage : ""});
    return rows;
}

QString Xs(const TaskList& list)
{
    QStringList xs;
    for (int row = 1; row <= list.TaskCount(); ++row)
        xs << (list.Cell(row, TaskList::kColumnTask) == kPause ? QStringLiteral("p") : list.Cell(row, 1));
    return xs.join(' ');
}

QByteArray Saved(const TaskList& list)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return MacroFile::Write(buffer, list, OptionValues{}, true) ? buffer.data() : QByteArray();
}
} // namespace

Q_DECLARE_METATYPE(Edit)

class TestTaskEdits : public QObject
{
    Q_OBJECT

private slots:
    // Every edit, done, undone and redone, saves the file of the list before or after it, byte for byte.
    void editsUndoAndRedoExactly_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("after"); // "=": the edit would change nothing and is not made
        using namespace TaskEdits;
        const auto rows = [](std::vector<int> rows) {
            return rows;
        };
        QTest::newRow("insert") << "1 2 3" << Edit([](TaskList& l) { return Insert(l, 2, Tasks("8 p")); })
                                << "1 8 p 2 3";
        QTest::newRow("append") << "1" << Edit([](TaskList& l) { return Insert(l, l.Rows(), Tasks("8")); }) << "1 8";
        QTest::newRow("into the empty list")
            << "" << Edit([](TaskList& l) { return Insert(l, 1, Tasks("8 9")); }) << "8 9";
        QTest::newRow("remove runs") << "1 2 3 4 5" << Edit([=](TaskList& l) {
            return Remove(l, rows({4, 2, 5}));
        }) << "1 3";
        QTest::newRow("remove all") << "1 p" << Edit([=](TaskList& l) { return Remove(l, rows({1, 2})); }) << "";
        QTest::newRow("remove none") << "1 2" << Edit([=](TaskList& l) { return Remove(l, rows({3})); }) << "=";
        QTest::newRow("change") << "1 2 3" << Edit([](TaskList& l) {
            return Change(l, 1, {"9", "7", kLeft, {}});
        }) << "9 2 3";
        QTest::newRow("change nothing") << "2" << Edit([](TaskList& l) { return Change(l, 1, l.Row(1)); }) << "=";
        QTest::newRow("drop below") << "1 2 3 4 5" << Edit([=](TaskList& l) {
            return MoveTo(l, rows({1, 3}), 5);
        }) << "2 4 1 3 5";
        QTest::newRow("drop above") << "1 2 3 4 5" << Edit([=](TaskList& l) {
            return MoveTo(l, rows({4, 5}), 2);
        }) << "1 4 5 2 3";
        QTest::newRow("drop at the end") << "1 2 3 4" << Edit([=](TaskList& l) {
            return MoveTo(l, rows({1, 3}), 5);
        }) << "2 4 1 3";
        QTest::newRow("drop in place") << "1 2 3" << Edit([=](TaskList& l) { return MoveTo(l, rows({2}), 3); }) << "=";
        QTest::newRow("up") << "1 2 3 4 5" << Edit([=](TaskList& l) {
            return MoveBy(l, rows({2, 3, 5}), -1);
        }) << "2 3 1 5 4";
        QTest::newRow("down") << "1 2 3 4 5" << Edit([=](TaskList& l) {
            return MoveBy(l, rows({1, 3, 4}), 1);
        }) << "2 1 5 3 4";
        QTest::newRow("up at the top") << "1 2" << Edit([=](TaskList& l) { return MoveBy(l, rows({1}), -1); }) << "=";
    }

    void editsUndoAndRedoExactly()
    {
        QFETCH(QString, before);
        QFETCH(Edit, edit);
        QFETCH(QString, after);
        TaskList list;
        list.AddTasks(Tasks(before));
        const QByteArray saved = Saved(list);
        std::unique_ptr<QUndoCommand> command = edit(list);
        QCOMPARE(command == nullptr, after == "=");
        if (!command)
            return;
        list.Edits().push(command.release());
        QCOMPARE(Xs(list), after);
        const QByteArray done = Saved(list);
        list.Edits().undo();
        QCOMPARE(Saved(list), saved);
        list.Edits().redo();
        QCOMPARE(Saved(list), done);
    }

    // A recording is one edit, whether it fills the empty list or adds to one.
    void aRecordingIsOneEdit()
    {
        for (const QString& before : {QString(), QStringLiteral("1 p")}) {
            TaskList list;
            list.AddTasks(Tasks(before));
            const QByteArray saved = Saved(list);
            QSignalSpy untracked(&list, &TaskList::untrackedChange);
            TaskEdits::Recording recording(list);
            list.AddTask("4", "4", kLeft, kImage);
            list.AddTask("5", "5", kLeft, {});
            list.Edits().push(recording.Finish().release());
            QCOMPARE(untracked.count(), 0);
            const QByteArray recorded = Saved(list);
            list.Edits().undo();
            QCOMPARE(Saved(list), saved);
            list.Edits().redo();
            QCOMPARE(Saved(list), recorded);
            QVERIFY(!TaskEdits::Recording(list).Finish());
        }
    }

    // Rows go to the clipboard as task lines and come back the same; whatever is not such a line, or
    // no task the program can run, is refused whole, with the line and the reason.
    void clipboardTakesOnlyTasks_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("problem"); // empty: taken
        const QString line = TextTable::Text(TextId::NothingPasted) + "\n" + TextTable::Text(TextId::FaultAtLine);
        const QByteArray good = TaskClipboard::Text(Tasks("1 p 3"));
        QTest::newRow("copied rows") << good << QString();
        QTest::newRow("from a text editor") << QByteArray("\n  \"3*4*" + kLeft.toLatin1() + "**\"  \n\n") << QString();
        QTest::newRow("foreign text") << QByteArray("hello\r\n")
                                      << line.arg("1", TextTable::Text(TextId::FaultTaskLine));
        QTest::newRow("empty") << QByteArray() << line.arg("1", TextTable::Text(TextId::FaultTaskLine));
        QTest::newRow("one line cut") << good + "\"1*2*\"" << line.arg("4", TextTable::Text(TextId::FaultTaskLine));
        QTest::newRow("no kind") << QByteArray("\"1*2*Jump**\"")
                                 << line.arg("1", TextTable::Text(TextId::NoSuchKind).arg("Jump"));
        QTest::newRow("keys and the wheel")
            << QByteArray("\"**Type H i**\"\r\n\"**Key Control_L+s**\"\r\n\"5*6*Wheel up 2**\"\r\n") << QString();
        QTest::newRow("no such key") << QByteArray("\"**Key nosuchkey**\"")
                                     << line.arg("1", TextTable::Text(TextId::NoSuchKind).arg("Key nosuchkey"));
        QTest::newRow("not a point") << QByteArray("\"a*2*" + kLeft.toLatin1() + "**\"")
                                     << line.arg("1", TextTable::Text(TextId::PointNotWhole));
        QTest::newRow("pause too long") << QByteArray("\"99999**Pause**\"")
                                        << line.arg("1", TextTable::Text(TextId::PauseRange).arg(32767));
        // A screen's gradient, its last column cut off.
        std::vector<quint32> gradient;
        for (quint32 k = 0; k < DescriptiveImage::kFieldCount; ++k)
            gradient.push_back(0x203040 + (k % 51) * 0x010203);
        const QByteArray image = DescriptiveImage::Encode(gradient);
        QTest::newRow("whole image") << QByteArray("\"1*2*" + kLeft.toLatin1() + "*" + image + "*\"\r\n") << QString();
        QTest::newRow("image cut short") << QByteArray("\"1*2*" + kLeft.toLatin1() + "*" +
                                                       image.chopped(51 * DescriptiveImage::kFieldWidth) + "*\"")
                                         << line.arg("1", TextTable::Text(TextId::DamagedImage));
        QTest::newRow("damaged image") << QByteArray("\"1*2*" + kLeft.toLatin1() + "*12x*\"")
                                       << line.arg("1", TextTable::Text(TextId::DamagedImage));
    }

    void clipboardTakesOnlyTasks()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, problem);
        const TaskClipboard::Parsed parsed = TaskClipboard::Rows(text);
        QCOMPARE(parsed.problem, problem);
        QCOMPARE(parsed.rows.empty(), !problem.isEmpty());
        if (problem.isEmpty() && text.startsWith('"'))
            QCOMPARE(TaskClipboard::Text(parsed.rows), text);
    }
};

QTEST_GUILESS_MAIN(TestTaskEdits)
#include "TestTaskEdits.moc"
