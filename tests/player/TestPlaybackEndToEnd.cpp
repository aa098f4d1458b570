#include "PlaybackWindow.h"
#include "core/TextTable.h"
#include "desktop/XUser.h"
#include "desktop/x11/X11Desktop.h"
#include "support/RecordingMessageBoxes.h"

#include <QAction>
#include <QTest>

namespace {
constexpr int kIntervalMs = 100;
// Sanitizers and two shared cores: the X server's clock sees the ticks this far off at most.
constexpr qint64 kToleranceMs = 60;
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
        MainWindow window(MainWindowServices{&messages, opened.desktop.get(), {}});
        window.Form_Load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(SetIntervals(window, kIntervalMs, 20));

        // Left click, right click, left double click, a drag, a pause of 1 second, a middle click.
        const struct
        {
            int x, y, textId;
        } rows[] = {{550, 250, 114}, {600, 300, 115}, {650, 350, 117}, {700, 400, 142},
                    {800, 500, 143}, {1, 0, 141},     {750, 450, 116}};
        for (const auto& row : rows)
            window.Tasks().AddTask(QString::number(row.x), row.y ? QString::number(row.y) : QString(),
                                   TextTable::Text(row.textId), {}, TaskOrigin::Inserted);
        window.UpdateCommandState(true);

        window.findChild<QAction*>(QStringLiteral("mnuComandiPlay"))->trigger();
        QTRY_VERIFY(window.isMinimized());
        QTRY_VERIFY_WITH_TIMEOUT(!messages.Texts().isEmpty(), 15000);
        QCOMPARE(messages.Texts(), QStringList{TextTable::Text(121)});
        QTRY_VERIFY(!window.isMinimized());

        // Press or release, X button, x, y of every event, in order.
        const std::vector<XUser::ButtonEvent> events = user.TakeButtonEvents();
        const int expected[][4] = {
            {1, 1, 550, 250}, {0, 1, 550, 250}, {1, 3, 600, 300}, {0, 3, 600, 300}, {1, 1, 650, 350}, {0, 1, 650, 350},
            {1, 1, 650, 350}, {0, 1, 650, 350}, {1, 1, 700, 400}, {0, 1, 800, 500}, {1, 2, 750, 450}, {0, 2, 750, 450},
        };
        QCOMPARE(events.size(), std::size(expected));
        for (std::size_t i = 0; i < events.size(); ++i) {
            const int got[] = {events[i].press, static_cast<int>(events[i].button), events[i].root.x(),
                               events[i].root.y()};
            QVERIFY2(std::equal(got, got + 4, expected[i]), qPrintable(QString::number(i)));
        }

        // One task per tick: the first event of each task, in server milliseconds.
        const auto gap = [&events](std::size_t from, std::size_t to) {
            return static_cast<qint64>(events[to].time) - static_cast<qint64>(events[from].time);
        };
        const std::size_t taskStarts[] = {0, 2, 4, 8, 9};
        for (std::size_t i = 1; i < std::size(taskStarts); ++i)
            QVERIFY2(qAbs(gap(taskStarts[i - 1], taskStarts[i]) - kIntervalMs) <= kToleranceMs,
                     qPrintable(QString::number(gap(taskStarts[i - 1], taskStarts[i]))));
        // The pause's tick comes one interval after the release; the middle click 1 + 1 seconds
        // of countdown and one more interval after that.
        QVERIFY2(qAbs(gap(9, 10) - (kIntervalMs + 2000 + kIntervalMs)) <= 2 * kToleranceMs,
                 qPrintable(QString::number(gap(9, 10))));
    }
};

QTEST_MAIN(TestPlaybackEndToEnd)
#include "TestPlaybackEndToEnd.moc"
