#include "core/TextTable.h"
#include "player/Player.h"
#include "support/FakeDesktop.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
using Actions = std::vector<FakeDesktop::Action>;
using D = FakeDesktop;
const QString kClickLeft = TextTable::Text(114);
const QString kClickRight = TextTable::Text(115);
const QString kPause = TextTable::Text(141);
const QString kLeftPushed = TextTable::Text(142);
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

    // Rows of x, y and task text.
    void Add(std::initializer_list<std::array<QString, 3>> rows)
    {
        for (const auto& [x, y, task] : rows)
            m_tasks.AddTask(x, y, task, {}, TaskOrigin::Inserted);
    }
    void Play()
    {
        m_player->mnuComandiPlay_Click();
        m_desktop->ClearActions();
    }
    void Ticks(int count, void (Player::*handler)() = &Player::tmrPlay_Timer)
    {
        for (int i = 0; i < count; ++i)
            (m_player.get()->*handler)();
    }
    void PauseTicks(int count) { Ticks(count, &Player::tmrPause_Timer); }
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
        std::copy_if(m_desktop->Actions().begin(), m_desktop->Actions().end(), std::back_inserter(work),
                     [](const D::Action& action) { return action.kind != D::Action::Kind::PointerShape; });
        return work;
    }
    void VerifyIdleAtRowOne()
    {
        QVERIFY(!m_state.playing && !tmrPlay.isActive() && !tmrPause.isActive() && !tmrRec.isActive());
        QCOMPARE(m_tasks.CurrentRow(), 1);
        QCOMPARE(m_desktop->Actions().back(), D::Shape(QString()));
    }

private slots:
    void init()
    {
        m_player.reset();
        m_desktop = std::make_unique<FakeDesktop>();
        m_state = SharedState{};
        m_tasks.ClearTaskList();
        tmrPlay.setInterval(1000);
        tmrPause.setInterval(1000);
        tmrRec.setInterval(20);
        m_player = std::make_unique<Player>(m_tasks, *m_desktop, m_state, tmrPlay, tmrPause, tmrRec);
    }

    void cleanup()
    {
        m_player.reset();
        for (QTimer* timer : {&tmrPlay, &tmrPause, &tmrRec})
            timer->stop();
    }

    void eachRowMovesThenMakesOneCall_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("task");
        QTest::addColumn<Actions>("expected");
        const auto at = [](std::initializer_list<D::Action> calls) {
            Actions actions{D::Move(7, 9)};
            actions.insert(actions.end(), calls);
            return actions;
        };
        QTest::newRow("114") << "7" << TextTable::Text(114) << at({D::Click(1)});
        QTest::newRow("115") << "7" << TextTable::Text(115) << at({D::Click(2)});
        QTest::newRow("116") << "7" << TextTable::Text(116) << at({D::Click(4)});
        QTest::newRow("117") << "7" << TextTable::Text(117) << at({D::DoubleClick(1)});
        QTest::newRow("118") << "7" << TextTable::Text(118) << at({D::DoubleClick(2)});
        QTest::newRow("119") << "7" << TextTable::Text(119) << at({D::DoubleClick(4)});
        QTest::newRow("141 pause") << "0" << TextTable::Text(141) << Actions{};
        // A pushed task's button is released again when the list ends.
        QTest::newRow("142") << "7" << TextTable::Text(142) << at({D::Down(1), D::Up(1)});
        QTest::newRow("143") << "7" << TextTable::Text(143) << at({D::Up(1)});
        QTest::newRow("144") << "7" << TextTable::Text(144) << at({D::Down(2), D::Up(2)});
        QTest::newRow("145") << "7" << TextTable::Text(145) << at({D::Up(2)});
        QTest::newRow("146") << "7" << TextTable::Text(146) << at({D::Down(4), D::Up(4)});
        QTest::newRow("147") << "7" << TextTable::Text(147) << at({D::Up(4)});
        QTest::newRow("one-blank dclick") << "7" << QStringLiteral("Mouse DClick Left") << Actions{};
        QTest::newRow("lower case") << "7" << QStringLiteral("mouse click left") << Actions{};
        QTest::newRow("x a fraction") << "7.5" << kClickLeft << Actions{};
        QTest::newRow("x empty") << "" << kClickLeft << Actions{};
        QTest::newRow("x beyond 32 bits") << "5000000000" << kClickLeft << Actions{};
    }

    void eachRowMovesThenMakesOneCall()
    {
        QFETCH(QString, x);
        QFETCH(QString, task);
        QFETCH(Actions, expected);
        Add({{x, "9", task}});
        Play();
        Ticks(1);
        QCOMPARE(ButtonWork(), expected);
        QCOMPARE(m_player->ExecutedTasks(), 1);
    }

    void playsOneTaskPerTickAndEnds_data()
    {
        QTest::addColumn<bool>("termina");
        QTest::newRow("message") << false;
        QTest::newRow("close after playing") << true;
    }

    // The current row always shows the next task; the first one runs at the first tick, not at the
    // start. The list ends with the right and middle buttons pushed: they are let go then, the left
    // one only by its own task. A pause that is the last task is dropped: the list ends at its tick.
    void playsOneTaskPerTickAndEnds()
    {
        QFETCH(bool, termina);
        m_state.options.Termina = termina;
        Add({{"1", "1", kLeftPushed},
             {"2", "2", TextTable::Text(144)},
             {"3", "3", TextTable::Text(143)},
             {"4", "4", TextTable::Text(146)},
             {"5", "", kPause}});
        m_tasks.SetCurrentRow(0);
        QSignalSpy normal(m_player.get(), &Player::normalRequested);
        QSignalSpy finished(m_player.get(), &Player::finished);
        QSignalSpy close(m_player.get(), &Player::closeProgramRequested);
        m_player->mnuComandiPlay_Click();
        QVERIFY(m_state.playing && tmrPlay.isActive() && tmrRec.isActive());
        for (int row = 1; row <= 5; ++row) {
            QCOMPARE(m_tasks.CurrentRow(), row);
            QCOMPARE(ButtonWork().size(), static_cast<std::size_t>(2 * (row - 1)));
            QVERIFY(finished.isEmpty() && close.isEmpty());
            Ticks(1);
        }
        QCOMPARE(ButtonWork(), (Actions{D::Move(1, 1), D::Down(1), D::Move(2, 2), D::Down(2), D::Move(3, 3), D::Up(1),
                                        D::Move(4, 4), D::Down(4), D::Up(2), D::Up(4)}));
        QCOMPARE(close.count(), termina ? 1 : 0);
        QCOMPARE(finished.count(), termina ? 0 : 1);
        if (!termina)
            QCOMPARE(finished.front().front().toString(), QStringLiteral("All task have been executed."));
        QVERIFY(!normal.isEmpty());
        VerifyIdleAtRowOne();
    }

    void pauseHoldsForNPlusOneCountdownTicks_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<int>("seconds");
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("negative is 0") << "-5" << 0;
        QTest::newRow("fraction is 0") << "1.5" << 0;
        QTest::newRow("beyond 16 bits") << "40000" << 40000;
    }

    void pauseHoldsForNPlusOneCountdownTicks()
    {
        QFETCH(QString, length);
        QFETCH(int, seconds);
        Add({{"1", "1", kClickLeft}, {length, "", kPause}, {"2", "2", kClickRight}});
        Play();
        Ticks(2);
        QCOMPARE(m_tasks.CurrentRow(), 3);
        QCOMPARE(ButtonWork().size(), std::size_t{2});
        PauseTicks(seconds);
        QVERIFY(tmrPause.isActive() && !tmrPlay.isActive());
        PauseTicks(1);
        QVERIFY(!tmrPause.isActive() && tmrPlay.isActive());
        Ticks(1);
        QCOMPARE(ButtonWork().back(), D::Click(2));
    }

    // With repeat on, the list starts again at row 1 and never ends, nor closes the program. The
    // shortcut that started playback is still held: it must not stop it. Held again later, during
    // a pause of the second pass, it stops once F11 is released, counts every row of every pass and
    // lets go of the button a pushed task holds.
    void ripetiAndStopKeys()
    {
        m_state.options.Ripeti = true;
        m_state.options.Termina = true;
        Add({{"1", "1", kLeftPushed}, {"5", "", kPause}, {"2", "2", kClickRight}});
        QSignalSpy stopped(m_player.get(), &Player::stopped);
        QSignalSpy close(m_player.get(), &Player::closeProgramRequested);
        HoldStopKeys(2);
        Play();
        QVERIFY(!m_player->PlaybackStopCheck());
        QVERIFY(!m_player->PlaybackStopCheck());
        QVERIFY(!m_player->PlaybackStopCheck()); // F11 up now
        Ticks(2);
        PauseTicks(6);
        Ticks(3);
        PauseTicks(1);
        QVERIFY(m_state.playing && tmrPause.isActive());
        HoldStopKeys(3);
        const int f11Queries = m_desktop->KeyQueries(VirtualKey::kF11);
        QVERIFY(m_player->PlaybackStopCheck());
        QCOMPARE(m_desktop->KeyQueries(VirtualKey::kF11), f11Queries + 4);
        QCOMPARE(stopped.count(), 1);
        QCOMPARE(stopped.front().front().value<qint64>(), 5);
        QCOMPARE(Player::StopMessage(5), QStringLiteral("Number of task executed: 5 ."));
        QCOMPARE(ButtonWork(),
                 (Actions{D::Move(1, 1), D::Down(1), D::Move(2, 2), D::Click(2), D::Move(1, 1), D::Down(1), D::Up(1)}));
        QVERIFY(close.isEmpty());
        VerifyIdleAtRowOne();
    }

    void closingReleasesAHeldButton()
    {
        Add({{"1", "1", kLeftPushed}, {"2", "2", TextTable::Text(143)}});
        Play();
        Ticks(1);
        m_player.reset();
        QCOMPARE(ButtonWork().back(), D::Up(1));
    }

    void countAndPositionGoBeyond16Bits()
    {
        constexpr int kRows = 33000;
        std::vector<TaskRow> rows(kRows, TaskRow{"1", "2", kClickLeft, {}});
        rows.back() = TaskRow{"9", "9", kClickRight, {}};
        m_tasks.AddTasks(std::move(rows));
        Play();
        Ticks(kRows);
        QCOMPARE(ButtonWork().back(), D::Click(2));
        QCOMPARE(m_player->ExecutedTasks(), kRows);
    }
};

QTEST_GUILESS_MAIN(TestPlayer)
#include "TestPlayer.moc"
