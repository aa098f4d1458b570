// A whole recording on the real X server: the Record command of the real main window, the X11
// desktop, and a user on a second connection who clicks, double-clicks, drags and right-clicks over
// a painted pattern, then ends the recording with Ctrl+Shift+F12.
#include "app/MainWindow.h"
#include "core/TextTable.h"
#include "desktop/XUser.h"
#include "desktop/x11/X11Desktop.h"
#include "support/RecordingMessageBoxes.h"
#include "tasks/DescriptiveImage.h"

#include <QAction>
#include <QTest>

#include <chrono>
#include <thread>

namespace {
using namespace std::chrono_literals;
using std::this_thread::sleep_for;

constexpr unsigned int kXLeft = 1;
constexpr unsigned int kXRight = 3;
// Longer than the double-click window (4 ticks of 20 ms) and whatever a loaded machine adds.
constexpr auto kBetweenGestures = 400ms;

// The image text of the pattern around (x, y), as the recorder must have written it.
QByteArray PatternImage(int x, int y)
{
    QByteArray image;
    for (int i = -25; i <= 25; ++i) {
        for (int j = -25; j <= 25; ++j)
            image += QByteArray::number(XUser::PatternColour(x + i, y + j))
                         .leftJustified(DescriptiveImage::kFieldWidth, ' ');
    }
    return image;
}

// What the user does, on a connection of its own and in a thread of its own: the program is
// blocked while it waits for a release, so the release cannot come from the test's own thread.
// XUser releases whatever is still held when it goes away.
void ActAsUser()
{
    XUser user;
    const auto click = [&user](unsigned int button, std::chrono::milliseconds held) {
        user.PressButton(button);
        sleep_for(held);
        user.ReleaseButton(button);
    };
    user.MovePointer(300, 300);
    click(kXLeft, 100ms);
    sleep_for(kBetweenGestures);

    user.MovePointer(500, 300);
    click(kXLeft, 50ms);
    sleep_for(50ms);
    click(kXLeft, 50ms);
    sleep_for(kBetweenGestures);

    user.MovePointer(700, 300);
    user.PressButton(kXLeft);
    for (int step = 1; step <= 6; ++step) {
        sleep_for(20ms);
        user.MovePointer(700 + 10 * step, 300 + 7 * step);
    }
    sleep_for(40ms);
    user.ReleaseButton(kXLeft);
    sleep_for(kBetweenGestures);

    user.MovePointer(400, 600);
    click(kXRight, 100ms);
    sleep_for(kBetweenGestures);

    for (const auto key : {XUser::Key::ControlLeft, XUser::Key::ShiftLeft, XUser::Key::F12})
        user.PressKey(key);
    sleep_for(150ms);
    for (const auto key : {XUser::Key::F12, XUser::Key::ShiftLeft, XUser::Key::ControlLeft})
        user.ReleaseKey(key);
}
} // namespace

class TestRecordingEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void recordsWhatTheUserDoes()
    {
        XUser screen;
        QVERIFY2(screen.IsOpen(), "no X display");
        auto opened = X11Desktop::Open();
        QVERIFY(opened.desktop);
        RecordingMessageBoxes messages;
        MainWindow window(MainWindowServices{&messages, opened.desktop.get(), {}});
        window.Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        window.findChild<QAction*>(QStringLiteral("mnuComandiRec"))->trigger();
        QVERIFY(window.State().recording);
        QTRY_VERIFY(window.isMinimized());
        screen.ShowPattern();

        std::jthread user(ActAsUser);
        QTRY_VERIFY_WITH_TIMEOUT(!window.State().recording, 20000);
        user.join();
        QTRY_VERIFY(!window.isMinimized());
        QCOMPARE(messages.Texts(), QStringList{QStringLiteral("Number of events captured: 5 .")});

        // x, y and text id of every row.
        const int expected[][3] = {{300, 300, 114}, {500, 300, 117}, {700, 300, 142}, {760, 342, 143}, {400, 600, 115}};
        const TaskList& tasks = window.Tasks();
        QCOMPARE(tasks.TaskCount(), 5);
        for (int row = 1; row <= 5; ++row) {
            const auto [x, y, textId] = expected[row - 1];
            QCOMPARE(tasks.Cell(row, TaskList::kColumnTask), TextTable::Text(textId));
            QCOMPARE(tasks.Cell(row, TaskList::kColumnX) + ',' + tasks.Cell(row, TaskList::kColumnY),
                     QStringLiteral("%1,%2").arg(x).arg(y));
            QVERIFY2(tasks.Image(row) == PatternImage(x, y), qPrintable(QString::number(row)));
        }
    }
};

QTEST_MAIN(TestRecordingEndToEnd)
#include "TestRecordingEndToEnd.moc"
