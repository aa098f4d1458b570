#include "app/core/TextTable.h"
#include "player/Player.h"
#include "support/FakeDesktop.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
using Actions = std::vector<FakeDesktop::Action>;

const QString kClickLeft = TextTable::Text(114);
const QString kClickRight = TextTable::Text(115);
const QString kPause = TextTable::Text(141);
const QString kLeftPushed = TextTable::Text(142);
const QString kLeftReleased = TextTable::Text(143);
const QString kRightPushed = TextTable::Text(144);
const QString kMiddlePushed = TextTable::Text(146);
} // namespace

Q_DECLARE_METATYPE(FakeDesktop::Action)

class TestPlayer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeDesktop> m_desktop;
    SharedState m_state;
    TaskList m_tasks;
    QTimer tmrPlay;
    QTimer tmrPause;
    QTimer tmrRec;
    std::unique_ptr<Player> m_player;

    void Add(const QString& x, const QString& y, const QString& task)
    {
        m_tasks.AddTask(x, y, task, {}, TaskOrigin::Inserted);
    }
    // Starts playback and forgets the pointer shape it set.
    void Play()
    {
        m_player->mnuComandiPlay_Click();
        m_desktop->ClearActions();
    }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            m_player->tmrPlay_Timer();
    }
    // Ctrl and Shift held, F11 down for the next `f11Queries` queries of it.
    void HoldStopKeys(int f11Queries)
    {
        m_desktop->SetKeyDown(VirtualKey::kControl, true);
        m_desktop->SetKeyDown(VirtualKey::kShift, true);
        m_desktop->HoldFor(VirtualKey::kF11, f11Queries);
    }
    // What playback did since it started, pointer shapes left out.
    Actions ButtonWork() const
    {
        Actions work;
        for (const auto& action : m_desktop->Actions()) {
            if (action.kind != FakeDesktop::Action::Kind::PointerShape)
                work.push_back(action);
        }
        return work;
    }
    void VerifyIdleAtRowOne()
    {
        QVERIFY(!m_state.playing);
        QVERIFY(!tmrPlay.isActive());
        QVERIFY(!tmrPause.isActive());
        QVERIFY(!tmrRec.isActive());
        // The option's interval is back, for the Options dialog and the macro files.
        QCOMPARE(tmrPlay.interval(), 1000);
        QCOMPARE(m_tasks.CurrentRow(), 1);
        // The normal pointer shape is back.
        QCOMPARE(m_desktop->Actions().back(), FakeDesktop::Shape(QString()));
    }

private slots:
    void init()
    {
        m_player.reset();
        m_desktop = std::make_unique<FakeDesktop>();
        m_state = SharedState{};
        m_tasks.ClearTaskList();
        tmrPlay.stop();
        tmrPause.stop();
        tmrRec.stop();
        tmrPause.setProperty(Player::kPauseTag, QVariant());
        // As the main window has them; the test runs the ticks itself.
        tmrPlay.setInterval(1000);
        tmrPause.setInterval(1000);
        tmrRec.setInterval(20);
        m_player = std::make_unique<Player>(m_tasks, *m_desktop, m_state, tmrPlay, tmrPause, tmrRec);
    }

    void cleanup() { m_player.reset(); }

    void startMinimisesAndWaitsOneInterval()
    {
        Add("10", "20", kClickLeft);
        m_tasks.SetCurrentRow(0);
        QSignalSpy minimised(m_player.get(), &Player::minimiseRequested);
        m_player->mnuComandiPlay_Click();
        QCOMPARE(minimised.count(), 1);
        QVERIFY(m_state.playing);
        QVERIFY(tmrPlay.isActive());
        QVERIFY(tmrRec.isActive());
        QVERIFY(!tmrPause.isActive());
        QCOMPARE(m_tasks.CurrentRow(), 1);
        QCOMPARE(m_player->ExecutedTasks(), 0);
        // Only the pointer shape: no task runs before the first tick.
        QCOMPARE(m_desktop->Actions().size(), std::size_t{1});
        QCOMPARE(m_desktop->Actions().front().kind, FakeDesktop::Action::Kind::PointerShape);
    }

    void eachKindMovesThenMakesOneCall_data()
    {
        QTest::addColumn<QString>("task");
        QTest::addColumn<Actions>("expected");
        using D = FakeDesktop;
        const auto moveThen = [](D::Action call) {
            return Actions{D::Move(7, 9), call};
        };
        QTest::newRow("114") << TextTable::Text(114) << moveThen(D::Click(1));
        QTest::newRow("115") << TextTable::Text(115) << moveThen(D::Click(2));
        QTest::newRow("116") << TextTable::Text(116) << moveThen(D::Click(4));
        QTest::newRow("117") << TextTable::Text(117) << moveThen(D::DoubleClick(1));
        QTest::newRow("118") << TextTable::Text(118) << moveThen(D::DoubleClick(2));
        QTest::newRow("119") << TextTable::Text(119) << moveThen(D::DoubleClick(4));
        QTest::newRow("141 pause") << TextTable::Text(141) << Actions{};
        // Pushed tasks are released again when the list ends: see the stuck-button cases.
        QTest::newRow("143") << TextTable::Text(143) << moveThen(D::Up(1));
        QTest::newRow("145") << TextTable::Text(145) << moveThen(D::Up(2));
        QTest::newRow("147") << TextTable::Text(147) << moveThen(D::Up(4));
        QTest::newRow("one-blank dclick") << QStringLiteral("Mouse DClick Left") << Actions{};
        QTest::newRow("lower case") << QStringLiteral("mouse click left") << Actions{};
        QTest::newRow("trailing blank") << QStringLiteral("Mouse Click Left ") << Actions{};
        QTest::newRow("blank row") << QString() << Actions{};
    }

    void eachKindMovesThenMakesOneCall()
    {
        QFETCH(QString, task);
        QFETCH(Actions, expected);
        Add("7", "9", task);
        Play();
        Ticks(1);
        QCOMPARE(ButtonWork(), expected);
        QCOMPARE(m_player->ExecutedTasks(), 1);
    }

    void pushedTasksPressTheirButton_data()
    {
        QTest::addColumn<QString>("task");
        QTest::addColumn<int>("button");
        QTest::newRow("142") << TextTable::Text(142) << 1;
        QTest::newRow("144") << TextTable::Text(144) << 2;
        QTest::newRow("146") << TextTable::Text(146) << 4;
    }

    void pushedTasksPressTheirButton()
    {
        QFETCH(QString, task);
        QFETCH(int, button);
        Add("3", "4", task);
        Add("0", "0", QStringLiteral("unknown"));
        Play();
        Ticks(1);
        QCOMPARE(ButtonWork(), (Actions{FakeDesktop::Move(3, 4), FakeDesktop::Down(button)}));
    }

    void coordinatesThatAreNotWholeNumbersSkipTheRow_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::newRow("fraction") << "12.5"
                                  << "3";
        QTest::newRow("empty y") << "12"
                                 << "";
        QTest::newRow("text") << "abc"
                              << "3";
        QTest::newRow("beyond 32 bits") << "5000000000"
                                        << "3";
    }

    void coordinatesThatAreNotWholeNumbersSkipTheRow()
    {
        QFETCH(QString, x);
        QFETCH(QString, y);
        Add(x, y, kClickLeft);
        Add("-4", "8", kClickRight);
        Play();
        Ticks(2);
        QCOMPARE(m_player->ExecutedTasks(), 2);
        QCOMPARE(ButtonWork(), (Actions{FakeDesktop::Move(-4, 8), FakeDesktop::Click(2)}));
    }

    void playsInOrderAndEndsWithTheMessage()
    {
        Add("1", "1", kClickLeft);
        Add("2", "2", kLeftPushed);
        Add("3", "3", kLeftReleased);
        QSignalSpy finished(m_player.get(), &Player::finished);
        QSignalSpy normal(m_player.get(), &Player::normalRequested);
        Play();
        Ticks(1);
        QCOMPARE(m_tasks.CurrentRow(), 2);
        Ticks(1);
        QCOMPARE(m_tasks.CurrentRow(), 3);
        QVERIFY(finished.isEmpty());
        Ticks(1);
        using D = FakeDesktop;
        QCOMPARE(ButtonWork(),
                 (Actions{D::Move(1, 1), D::Click(1), D::Move(2, 2), D::Down(1), D::Move(3, 3), D::Up(1)}));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.front().front().toString(), QStringLiteral("All task have been executed."));
        // Restored before the message and once more after it.
        QCOMPARE(normal.count(), 2);
        VerifyIdleAtRowOne();
    }

    void endingWithTerminaClosesWithoutMessage()
    {
        m_state.Termina = true;
        Add("1", "1", kClickLeft);
        QSignalSpy finished(m_player.get(), &Player::finished);
        QSignalSpy close(m_player.get(), &Player::closeProgramRequested);
        Play();
        Ticks(1);
        QCOMPARE(close.count(), 1);
        QVERIFY(finished.isEmpty());
        VerifyIdleAtRowOne();
    }

    void ripetiWrapsToRowOneAndNeverEnds()
    {
        m_state.Ripeti = true;
        m_state.Termina = true;
        Add("1", "1", kClickLeft);
        Add("2", "2", kClickRight);
        QSignalSpy close(m_player.get(), &Player::closeProgramRequested);
        Play();
        Ticks(2);
        QCOMPARE(m_tasks.CurrentRow(), 1);
        QVERIFY(tmrPlay.isActive());
        Ticks(3);
        QCOMPARE(m_tasks.CurrentRow(), 2);
        QCOMPARE(m_player->ExecutedTasks(), 5);
        QCOMPARE(ButtonWork().size(), std::size_t{10});
        QCOMPARE(ButtonWork()[8], FakeDesktop::Move(1, 1));
        QVERIFY(close.isEmpty());
        QVERIFY(m_state.playing);
    }

    void emptyListCountsTheBlankRowAndEnds()
    {
        QSignalSpy finished(m_player.get(), &Player::finished);
        Play();
        Ticks(1);
        QVERIFY(ButtonWork().empty());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_player->ExecutedTasks(), 1);

        m_state.Ripeti = true;
        Play();
        Ticks(3);
        QCOMPARE(m_player->ExecutedTasks(), 3);
        QVERIFY(m_state.playing);
        QCOMPARE(m_tasks.CurrentRow(), 1);
    }

    void rowZeroHoldsPlayback()
    {
        Add("1", "1", kClickLeft);
        Play();
        m_tasks.SetCurrentRow(0);
        Ticks(3);
        QCOMPARE(m_player->ExecutedTasks(), 0);
        QCOMPARE(m_tasks.CurrentRow(), 0);
        QVERIFY(ButtonWork().empty());
    }

    void pauseHoldsForNPlusOneCountdownTicks_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<int>("seconds");
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("negative is 0") << "-5" << 0;
        QTest::newRow("fraction is 0") << "1.5" << 0;
        QTest::newRow("text is 0") << "soon" << 0;
        QTest::newRow("beyond 16 bits") << "40000" << 40000;
    }

    void pauseHoldsForNPlusOneCountdownTicks()
    {
        QFETCH(QString, length);
        QFETCH(int, seconds);
        Add("1", "1", kClickLeft);
        Add(length, "", kPause);
        Add("2", "2", kClickRight);
        Play();
        Ticks(2);
        QVERIFY(!tmrPlay.isActive());
        QVERIFY(tmrPause.isActive());
        QCOMPARE(m_tasks.CurrentRow(), 3);
        QCOMPARE(m_player->PauseSecondsLeft(), seconds);
        // The pause row moves nothing.
        QCOMPARE(ButtonWork().size(), std::size_t{2});

        for (int tick = 0; tick < seconds; ++tick) {
            m_player->tmrPause_Timer();
            QVERIFY(tmrPause.isActive());
            QVERIFY(!tmrPlay.isActive());
        }
        QCOMPARE(m_player->PauseSecondsLeft(), 0);
        m_player->tmrPause_Timer();
        QVERIFY(!tmrPause.isActive());
        QVERIFY(tmrPlay.isActive());
        Ticks(1);
        QCOMPARE(ButtonWork().back(), FakeDesktop::Click(2));
        QCOMPARE(m_player->ExecutedTasks(), 3);
    }

    void pauseAsLastTask_data()
    {
        QTest::addColumn<bool>("ripeti");
        QTest::newRow("dropped without repeat") << false;
        QTest::newRow("waited for with repeat") << true;
    }

    void pauseAsLastTask()
    {
        QFETCH(bool, ripeti);
        m_state.Ripeti = ripeti;
        Add("1", "1", kClickLeft);
        Add("2", "", kPause);
        QSignalSpy finished(m_player.get(), &Player::finished);
        Play();
        Ticks(2);
        QCOMPARE(m_tasks.CurrentRow(), 1);
        QCOMPARE(finished.count(), ripeti ? 0 : 1);
        QCOMPARE(tmrPause.isActive(), ripeti);
        QCOMPARE(m_state.playing, ripeti);
        if (!ripeti)
            return;
        for (int tick = 0; tick < 3; ++tick)
            m_player->tmrPause_Timer();
        QVERIFY(tmrPlay.isActive());
        Ticks(1);
        QCOMPARE(ButtonWork().size(), std::size_t{4});
        QCOMPARE(ButtonWork().back(), FakeDesktop::Click(1));
    }

    void stopKeysStopOnceF11IsReleased()
    {
        Add("1", "1", kClickLeft);
        Add("2", "2", kClickLeft);
        Add("3", "3", kClickLeft);
        QSignalSpy stopped(m_player.get(), &Player::stopped);
        Play();
        QVERIFY(!m_player->PlaybackStopCheck());
        // One query of each key, in the order Ctrl, Shift, F11.
        std::vector<int> order;
        m_desktop->OnKeyQuery([&order](int key) { order.push_back(key); });
        QVERIFY(!m_player->PlaybackStopCheck());
        QCOMPARE(order, (std::vector<int>{VirtualKey::kControl, VirtualKey::kShift, VirtualKey::kF11}));
        m_desktop->OnKeyQuery({});

        Ticks(2);
        HoldStopKeys(5);
        QVERIFY(m_player->PlaybackStopCheck());
        // It waited for the release: the answers of the held F11 are used up.
        QCOMPARE(m_desktop->KeyQueries(VirtualKey::kF11), 2 + 5 + 1);
        QCOMPARE(stopped.count(), 1);
        QCOMPARE(stopped.front().front().value<qint64>(), 2);
        QCOMPARE(Player::StopMessage(2), QStringLiteral("Number of task executed: 2 ."));
        VerifyIdleAtRowOne();
    }

    void stopKeysHeldSinceTheStartDoNotStop()
    {
        Add("1", "1", kClickLeft);
        Add("2", "2", kClickLeft);
        // Ctrl+Shift+F11 started playback and are still down for two checks.
        HoldStopKeys(2);
        Play();
        QVERIFY(!m_player->PlaybackStopCheck());
        QVERIFY(!m_player->PlaybackStopCheck());
        QVERIFY(m_state.playing);
        // Released (F11 is up now), then held again: that stops.
        QVERIFY(!m_player->PlaybackStopCheck());
        HoldStopKeys(1);
        QVERIFY(m_player->PlaybackStopCheck());
        QVERIFY(!m_state.playing);
    }

    void stopDuringPauseCountsEveryRowOfEveryPass()
    {
        m_state.Ripeti = true;
        Add("1", "1", kClickLeft);
        Add("5", "", kPause);
        QSignalSpy stopped(m_player.get(), &Player::stopped);
        Play();
        QVERIFY(!m_player->PlaybackStopCheck());
        Ticks(2);
        for (int tick = 0; tick < 6; ++tick)
            m_player->tmrPause_Timer();
        Ticks(2);
        m_player->tmrPause_Timer();
        QVERIFY(tmrPause.isActive());
        HoldStopKeys(1);
        QVERIFY(m_player->PlaybackStopCheck());
        QCOMPARE(stopped.front().front().value<qint64>(), 4);
        VerifyIdleAtRowOne();
    }

    void noButtonStaysDown()
    {
        // Stopped between a pushed task and its release.
        Add("1", "1", kLeftPushed);
        Add("2", "2", kRightPushed);
        Add("3", "3", kLeftReleased);
        Add("4", "4", kMiddlePushed);
        Play();
        QVERIFY(!m_player->PlaybackStopCheck());
        Ticks(2);
        HoldStopKeys(1);
        QVERIFY(m_player->PlaybackStopCheck());
        const Actions work = ButtonWork();
        QCOMPARE(Actions(work.end() - 2, work.end()), (Actions{FakeDesktop::Up(1), FakeDesktop::Up(2)}));

        // The list ends with the middle button down; the left one was released by its own task.
        Play();
        Ticks(4);
        const Actions second = ButtonWork();
        QCOMPARE(second.back(), FakeDesktop::Up(4));
        QCOMPARE(std::count(second.begin(), second.end(), FakeDesktop::Up(1)), 1);

        // The program closes while a button is down.
        Play();
        Ticks(1);
        m_player.reset();
        QCOMPARE(ButtonWork().back(), FakeDesktop::Up(1));
    }

    void countAndPositionGoBeyond16Bits()
    {
        constexpr int kRows = 33000;
        std::vector<TaskRow> rows(kRows, TaskRow{"1", "2", kClickLeft, {}});
        rows.back() = TaskRow{"9", "9", kClickRight, {}};
        m_tasks.AddTasks(std::move(rows));
        QSignalSpy finished(m_player.get(), &Player::finished);
        Play();
        Ticks(kRows - 1);
        QCOMPARE(m_tasks.CurrentRow(), kRows);
        Ticks(1);
        QCOMPARE(ButtonWork().back(), FakeDesktop::Click(2));
        QCOMPARE(m_player->ExecutedTasks(), kRows);
        QCOMPARE(finished.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPlayer)
#include "TestPlayer.moc"
