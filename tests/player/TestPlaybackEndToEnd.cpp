#include "PlaybackWindow.h"
#include "app/core/TextTable.h"
#include "desktop/XUser.h"
#include "desktop/x11/X11Desktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QTest>

namespace {
constexpr int kIntervalMs = 100;
// Sanitizers and two shared cores: the X server's clock sees the ticks this far off at most.
constexpr qint64 kToleranceMs = 60;

struct Expected
{
    bool press;
    unsigned int xButton;
    QPoint root;
};
} // namespace

// The real main window plays a list on the real X server into a window that logs what arrives.
class TestPlaybackEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void playsClicksDragAndPauseIntoAWindow()
    {
        XUser user;
        if (!user.IsOpen())
            QSKIP("no X display");
        X11Desktop::OpenResult opened = X11Desktop::Open();
        QVERIFY(opened.desktop);
        user.ShowClickWindow(QRect(500, 200, 500, 500));

        RecordingMessageBoxes messages;
        MainWindowServices services;
        services.messages = &messages;
        services.desktop = opened.desktop.get();
        MainWindow window(services);
        window.Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(PlaybackWindow::SetIntervals(window, kIntervalMs, 20));

        TaskList& tasks = window.Tasks();
        const auto add = [&tasks](int x, int y, int textId) {
            tasks.AddTask(QString::number(x), QString::number(y), TextTable::Text(textId), {}, TaskOrigin::Inserted);
        };
        add(550, 250, 114);                                                     // left click
        add(600, 300, 115);                                                     // right click
        add(650, 350, 117);                                                     // double click, left
        add(700, 400, 142);                                                     // drag: pushed here
        add(800, 500, 143);                                                     // and released there
        tasks.AddTask("1", "", TextTable::Text(141), {}, TaskOrigin::Inserted); // pause of 1 second
        add(750, 450, 116);                                                     // middle click
        window.UpdateCommandState(true);

        window.findChild<QAction*>(QStringLiteral("mnuComandiPlay"))->trigger();
        QTRY_VERIFY(window.isMinimized());
        QVERIFY(window.State().playing);
        QTRY_VERIFY_WITH_TIMEOUT(!messages.Texts().isEmpty(), 15000);
        QCOMPARE(messages.Texts(), QStringList{TextTable::Text(121)});
        QTRY_VERIFY(!window.isMinimized());

        const std::vector<XUser::ButtonEvent> events = user.TakeButtonEvents();
        const Expected expected[] = {
            {true, 1, {550, 250}}, {false, 1, {550, 250}}, {true, 3, {600, 300}}, {false, 3, {600, 300}},
            {true, 1, {650, 350}}, {false, 1, {650, 350}}, {true, 1, {650, 350}}, {false, 1, {650, 350}},
            {true, 1, {700, 400}}, {false, 1, {800, 500}}, {true, 2, {750, 450}}, {false, 2, {750, 450}},
        };
        QCOMPARE(events.size(), std::size(expected));
        for (std::size_t i = 0; i < events.size(); ++i) {
            QCOMPARE(events[i].press, expected[i].press);
            QCOMPARE(events[i].button, expected[i].xButton);
            QCOMPARE(events[i].root, expected[i].root);
        }

        // One task per tick: the first event of each task, in server milliseconds.
        const auto at = [&events](std::size_t index) {
            return static_cast<qint64>(events[index].time);
        };
        const std::size_t taskStarts[] = {0, 2, 4, 8, 9};
        for (std::size_t i = 1; i < std::size(taskStarts); ++i) {
            const qint64 gap = at(taskStarts[i]) - at(taskStarts[i - 1]);
            QVERIFY2(qAbs(gap - kIntervalMs) <= kToleranceMs, qPrintable(QString::number(gap)));
        }
        // The pause's tick comes one interval after the release; the middle click 1 + 1 seconds
        // of countdown and one more interval after that.
        const qint64 pauseGap = at(10) - at(9);
        QVERIFY2(qAbs(pauseGap - (kIntervalMs + 2000 + kIntervalMs)) <= 2 * kToleranceMs,
                 qPrintable(QString::number(pauseGap)));
    }
};

QTEST_MAIN(TestPlaybackEndToEnd)
#include "TestPlaybackEndToEnd.moc"
