// The task list's rules: the descriptive image's fields, the task kinds'
// texts, which rows cannot be played and what the grid shows of them.
#include "core/TextTable.h"
#include "support/ImageText.h"
#include "tasks/InputTask.h"
#include "tasks/Playability.h"
#include "tasks/RowLook.h"
#include "tasks/TaskCheck.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QTest>

namespace {
const QString kLeft = TextTable::Text(TextId::ClickLeft);
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
} // namespace

Q_DECLARE_METATYPE(TaskRow)

class TestTaskRules : public QObject
{
    Q_OBJECT

private slots:
    // Fields run column by column, each read by its first 8 characters, 0x00BBGGRR; what is not a
    // colour number is black. A damaged text draws what can be read, and black for the rest.
    void imageTextDecodesWhatCanBeRead()
    {
        const QImage fields = DescriptiveImage::Decode("1193046   -1        0000025579255       1677");
        const QRgb colours[] = {0xFF563412, kBlack, 0xFFFF0000, 0xFFFF0000, kBlack, kBlack};
        for (int j = 0; j < 6; ++j)
            QCOMPARE(fields.pixel(0, j), colours[j]);
        const QByteArray white = ImageText([](int, int) { return 0xFFFFFFu; });
        const std::pair<QByteArray, int> texts[] = {
            {{}, 0}, {white.left(1004), 100}, {white.left(white.size() - 2), 2601}, {white + white, 2601}};
        for (const auto& [text, whiteFields] : texts) {
            const QImage image = DescriptiveImage::Decode(text);
            QCOMPARE(image.size(), QSize(51, 51));
            for (int k = 0; k < DescriptiveImage::kFieldCount; ++k)
                QCOMPARE(image.pixel(k / 51, k % 51), k < whiteFields ? kWhite : kBlack);
        }
    }

    // The player and the recorder's double-click rule tell the kinds apart by their texts alone.
    void eachKindHasATextOfItsOwn()
    {
        for (const TaskKinds::Kind& kind : TaskKinds::kAll)
            QCOMPARE(TaskKinds::Find(TextTable::Text(kind.textId)), &kind);
    }

    // A kind written over a row keeps x, y and the image where both kinds use them alike; keys
    // written over a row of the mouse or a pause are refused, as they would throw its values away.
    void kindChangesKeepOrRefuse_data()
    {
        QTest::addColumn<TaskRow>("row");
        QTest::addColumn<QString>("task");
        QTest::addColumn<TaskRow>("expected"); // an empty row: refused
        const QByteArray image = ImageText([](int i, int) { return quint32(i * 0x010101); });
        const TaskRow click{"10", "20", kLeft, image};
        const TaskRow pause{"5", "", TextTable::Text(TextId::Pause), {}};
        const QString right = TextTable::Text(TextId::ClickRight);
        QTest::newRow("click to click") << click << right << TaskRow{"10", "20", right, image};
        QTest::newRow("click to wheel") << click << "Wheel down 2" << TaskRow{"10", "20", "Wheel down 2", image};
        QTest::newRow("click to pause") << click << pause.task << TaskRow{"1", "", pause.task, {}};
        QTest::newRow("click to typing") << click << "Type H i" << TaskRow{};
        QTest::newRow("click to key") << click << "Key Pushed Shift_L" << TaskRow{};
        QTest::newRow("pause to key") << pause << "Key Control_L+s" << TaskRow{};
        QTest::newRow("key to key") << TaskRow{"", "", "Key Shift_L", {}} << "Key Pushed Shift_L"
                                    << TaskRow{"", "", "Key Pushed Shift_L", {}};
    }

    void kindChangesKeepOrRefuse()
    {
        QFETCH(TaskRow, row);
        QFETCH(QString, task);
        QFETCH(TaskRow, expected);
        const std::optional<QString> problem = TaskCheck::KindChangeProblem(row, task);
        QCOMPARE(problem.has_value(), expected.task.isEmpty());
        if (problem)
            return;
        const TaskRow changed = TaskCheck::WithKind(row, task);
        QCOMPARE(QStringList({changed.x, changed.y, changed.task}),
                 QStringList({expected.x, expected.y, expected.task}));
        QCOMPARE(changed.image, expected.image);
    }

    // The window system's reports of a window that was minimised while playing, of its late first
    // map after a playback from the command line minimised it, and none for the program's own
    // restore: no reminder, which would catch the clicks. The user's restore is the window's test.
    // The rows of a hand-edited or foreign file that the player skips; a pause and a wait have no point.
    void unplayableRows()
    {
        TaskRows rows;
        const auto add = [&rows](const char* x, const char* y, const QString& task) {
            rows.push_back({QString::fromLatin1(x), QString::fromLatin1(y), task, {}});
        };
        add("10", "20", kLeft);
        add("1o6", "20", kLeft);                                    // 2: not a whole number
        add("10", "20", QStringLiteral("Mouse Click Sideways"));    // 3: no known kind
        add("640", "20", kLeft);                                    // 4: off a 640 x 480 screen
        add(" 639 ", "479", TextTable::Text(TextId::LeftReleased)); // blanks around a number are read
        add("5", "", TextTable::Text(TextId::Pause));
        add("250", "", TextTable::Text(TextId::Wait));
        add("-1", "", TextTable::Text(TextId::Wait));   // 8: a wait of less than nothing
        add("", "", QStringLiteral("Type a b"));        // the keys have no point
        add("", "", QStringLiteral("Key nosuchkey"));   // 10: no such key
        add("640", "20", QStringLiteral("Wheel up 2")); // 11: the wheel turns at a point, off the screen
        add("", "", QStringLiteral("Mouse Path 10,20,5 30,40,16"));
        add("", "", QStringLiteral("Mouse Path 10,20"));        // 13: a point without its time
        add("", "", QStringLiteral("Mouse Path 10,-20,5"));     // 14: a coordinate below 0
        add("", "", QStringLiteral("Mouse Path 10,20,5 "));     // 15: a blank too many
        add("86400000", "", TextTable::Text(TextId::Wait));     // a day
        add("86400001", "", TextTable::Text(TextId::Wait));     // 17: longer than a day
        add("-5", "", TextTable::Text(TextId::Pause));          // 18: a pause of less than nothing
        add("2147483647", "", TextTable::Text(TextId::Pause));  // 19: beyond the editor's longest
        add("", "", QStringLiteral("Key a") + QChar(0) + u'b'); // 20: a NUL inside a key name
        const std::vector<int> anyScreen{2, 3, 8, 10, 13, 14, 15, 17, 18, 19, 20};
        const std::vector<int> small{2, 3, 4, 8, 10, 11, 13, 14, 15, 17, 18, 19, 20};
        // The NUL is shown, not written raw to the terminal.
        QVERIFY(Playability::Problem(rows[19], {}).contains(QStringLiteral("a\\x00")));
        QCOMPARE(Playability::UnplayableRows(rows, QSize(640, 480)), small);
        QCOMPARE(Playability::UnplayableRows(rows, QSize()), anyScreen);
        QCOMPARE(InputTask::Parse(rows[11].task)->Text(), rows[11].task);
        for (const int row : small)
            QVERIFY(!Playability::Problem(rows[std::size_t(row - 1)], QSize(640, 480)).isEmpty());
        QCOMPARE(Playability::RowList(std::vector<int>(25, 7)).count(QStringLiteral("7")), 20);
        TaskRows blank;
        blank.push_back({});
        QVERIFY(Playability::UnplayableRows(blank, QSize(640, 480)).empty());
    }

    // What the grid shows and marks for a row follows it through every change, a long row's look
    // kept and moved along with it: after each change every row looks as it does worked out afresh.
    void rowLooksFollowEveryChange()
    {
        QSize screen(640, 480);
        QString keys = QStringLiteral("Type");
        while (keys.size() < 8 * RowLook::kCellCharacters)
            keys += QStringLiteral(" Cyrillic_zhe a space");
        const TaskRow longRow{{}, {}, keys, {}};
        const TaskRow badLongRow{{}, {}, keys + QStringLiteral(" nosuchkey"), {}};
        const TaskRow click{QStringLiteral("10"), QStringLiteral("20"), kLeft, {}};
        const TaskRow offScreen{QStringLiteral("700"), QStringLiteral("20"), QStringLiteral("Wheel up 2"), {}};
        const TaskRow pause{QStringLiteral("90"), {}, TextTable::Text(TextId::Pause), {}};
        const auto packed = [](std::initializer_list<TaskRow> list) {
            TaskRows rows;
            for (const TaskRow& row : list)
                rows.push_back(row);
            return rows;
        };
        TaskList list;
        list.SetScreen(screen);
        const std::pair<const char*, std::function<void()>> changes[] = {
            {"opened",
             [&] {
                 list.AddTasks(packed({click, longRow, offScreen, badLongRow, pause}));
             }},
            {"row inserted before long rows",
             [&] {
                 list.Splice(1, 0, packed({pause}));
             }},
            {"long row replaced",
             [&] {
                 list.Splice(3, 1, packed({click}));
             }},
            {"short row made long",
             [&] {
                 list.Splice(1, 1, packed({longRow}));
             }},
            {"rows taken out",
             [&] {
                 list.Splice(2, 2, {});
             }},
            {"long row moved down",
             [&] {
                 list.MoveRow(1, 3);
             }},
            {"long row moved up",
             [&] {
                 list.MoveRow(3, 2);
             }},
            {"appended",
             [&] {
                 list.AddTask(keys, {}, keys, {});
             }},
            {"last replaced",
             [&] {
                 list.ReplaceLastTask(pause);
             }},
            {"last deleted",
             [&] {
                 list.DeleteLastTask();
             }},
            {"screen grown",
             [&] {
                 screen = QSize(1024, 768);
                 list.SetScreen(screen);
             }},
            {"cleared",
             [&] {
                 list.ClearTaskList();
             }},
        };
        for (const auto& [change, apply] : changes) {
            apply();
            // Rows 1 to the last, then row 1 again: the next change finds it the row asked for last.
            for (int k = 0; k < list.Rows(); ++k) {
                const int row = k % (list.Rows() - 1) + 1;
                QVERIFY2(list.Look(row) == RowLook::Of(list.Row(row), screen), change);
            }
            if (change == std::string_view("long row moved up")) {
                // The keys as typed, cut to what a cell shows; the row red for its unknown key.
                const QString shown = list.data(list.index(1, TaskList::kColumnTask)).toString();
                QVERIFY2(shown.startsWith(QStringLiteral("Type \"жa жa")), qPrintable(shown.left(40)));
                QCOMPARE(shown.size(), RowLook::kCellCharacters + 3);
                QCOMPARE(list.data(list.index(2, TaskList::kColumnX), Qt::ForegroundRole), QVariant(QColor(Qt::red)));
                QVERIFY(list.data(list.index(2, TaskList::kColumnX), Qt::ToolTipRole).toString().size() < 200);
                QCOMPARE(list.data(list.index(1, TaskList::kColumnX), Qt::ForegroundRole), QVariant());
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestTaskRules)
#include "TestTaskRules.moc"
