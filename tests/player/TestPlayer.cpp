#include "core/KeySymbols.h"
#include "core/TextTable.h"
#include "player/Player.h"
#include "support/FakeDesktop.h"
#include "tasks/SharedState.h"
#include "tasks/TaskList.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
using D = FakeDesktop;
using Actions = std::vector<D::Action>;
// The end of playback gives the pointer its normal shape back.
const D::Action kEnd = D::Shape(QString());
} // namespace

// The playback engine on the scripted desktop; the tests run the timers' handlers themselves.
class TestPlayer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeDesktop> m_desktop;
    SharedState m_state;
    TaskList m_tasks;
    std::unique_ptr<Player> m_player;

    static QString T(TextId textId) { return TextTable::Text(textId); }
    // Starts playback on rows of x, y and task text, and forgets what the start did.
    void Play(std::initializer_list<std::array<QString, 3>> rows)
    {
        for (const auto& [x, y, task] : rows)
            m_tasks.AddTask(x, y, task, {});
        m_player->Play();
        m_desktop->ClearActions();
    }
    void Ticks(int count, void (Player::*handler)() = &Player::Step)
    {
        for (int i = 0; i < count; ++i)
            (m_player.get()->*handler)();
    }
    void VerifyIdleAtRowOne()
    {
        QVERIFY(!m_player->IsPlaying() && !m_player->IsStepping() && !m_player->IsPausing());
        QCOMPARE(m_tasks.CurrentRow(), 1);
    }

private slots:
    void init()
    {
        m_desktop = std::make_unique<FakeDesktop>();
        m_desktop->SetScreenSize({320, 240});
        m_state = SharedState{};
        m_tasks.ClearTaskList();
        m_player = std::make_unique<Player>(m_tasks, *m_desktop, m_state);
        m_player->SetStepInterval(1000); // ticks run by hand long before their moment run at once
    }

    void cleanup() { m_player.reset(); }

    // A row whose point cannot be played is skipped, and counted as played: a point off the screen
    // would be clicked at its edge, or where a coordinate past 16 bits wraps to.
    void eachRowMovesThenMakesItsOneCall_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("task");
        QTest::addColumn<Actions>("expected");
        QTest::addColumn<bool>("skipped"); // and told
        const auto row = [](const char* name, const char* x, const char* y, const QString& task, Actions expected) {
            // A wait row calls nothing, yet it is played.
            const bool skipped = expected.empty() && name != std::string_view("wait");
            QTest::newRow(name) << QString::fromLatin1(x) << QString::fromLatin1(y) << task << expected << skipped;
        };
        row("double click", "7", "9", T(TextId::DoubleClickMiddle),
            {D::Move(7, 9), D::DoubleClick(MouseButton::Middle)});
        row("top left corner", "0", "0", T(TextId::ClickLeft), {D::Move(0, 0), D::Click(MouseButton::Left)});
        row("bottom right corner", "319", "239", T(TextId::ClickLeft),
            {D::Move(319, 239), D::Click(MouseButton::Left)});
        row("x wraps past 32 bits to 7", "4294967303", "9", T(TextId::ClickLeft), {});
        row("right of the screen", "320", "9", T(TextId::ClickLeft), {});
        row("below the screen", "7", "240", T(TextId::ClickLeft), {});
        row("x negative", "-1", "9", T(TextId::ClickLeft), {});
        row("y negative", "7", "-1", T(TextId::ClickLeft), {});
        row("x not a number", "1o6", "9", T(TextId::ClickLeft), {});
        row("no known kind", "7", "9", QStringLiteral("Mouse Click Sideways"), {});
        row("wait", "250", "", T(TextId::Wait), {});
        row("wait not a number", "2.5", "", T(TextId::Wait), {});
        row("wait longer than a day", "2147483647", "", T(TextId::Wait), {});
        row("pause of less than nothing", "-5", "", T(TextId::Pause), {});
        row("pause past the longest", "2147483647", "", T(TextId::Pause), {});
        const auto key = [](const char* call, const char* name) {
            return D::Key(call, KeySymbols::FromName(name));
        };
        row("a combination", "", "", "Key Control_L+Shift_L+t",
            {key("KeyDown", "Control_L"), key("KeyDown", "Shift_L"), key("KeyTap", "t"), key("KeyUp", "Shift_L"),
             key("KeyUp", "Control_L")});
        row("a key held, let go at the end", "", "", "Key Pushed Shift_L",
            {key("KeyDown", "Shift_L"), key("KeyUp", "Shift_L")});
        row("a key let go", "", "", "Key Released Shift_L", {key("KeyUp", "Shift_L")});
        row("one key typed", "", "", "Type EuroSign", {key("KeyTap", "EuroSign")});
        row("no such key", "", "", "Key nosuchkey", {});
        // No key types it, and no key code is free to lend it (the fake's script): told as skipped.
        row("a key no key types", "", "", "Key Control_L+oslash",
            {key("KeyDown", "Control_L"), key("KeyTap", "oslash"), key("KeyUp", "Control_L"), {}});
        row("a character no key types", "", "", "Type oslash", {key("KeyTap", "oslash"), {}});
        row("wheel", "7", "9", "Wheel up 3", {D::Move(7, 9), D::Wheel(WheelDirection::Up, 3)});
        row("wheel off the screen", "320", "9", "Wheel up 3", {});
    }

    void eachRowMovesThenMakesItsOneCall()
    {
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QString, task);
        QFETCH(Actions, expected);
        QFETCH(bool, skipped);
        QSignalSpy finished(m_player.get(), &Player::finished);
        QSignalSpy unplayable(m_player.get(), &Player::unplayableTask);
        m_desktop->SetUntypable(KeySymbols::FromName("oslash"));
        // An empty action ends the calls of a row that is played and yet skipped.
        if (!expected.empty() && expected.back() == D::Action{})
            skipped = true, expected.pop_back();
        Play({{x, y, task}});
        Ticks(1);
        expected.push_back(kEnd);
        QCOMPARE(m_desktop->Actions(), expected);
        QCOMPARE(m_player->ExecutedTasks(), 1);
        // Never skipped without a word: the row is named, and the end message tells instead of 121.
        QCOMPARE(unplayable.count(), skipped ? 1 : 0);
        QCOMPARE(m_player->UnplayableRows(), skipped ? std::vector<int>{1} : std::vector<int>{});
        QCOMPARE(finished.value(0).value(0).toString() == T(TextId::AllTasksExecuted), !skipped);
    }

    // A wait row takes the place of the time unit: the task after it comes the wait after the task
    // before it, both divided by the speed. A pause is not scaled.
    void waitsReplaceTheTimeUnitAtTheSpeed()
    {
        m_state.pace.speed = 2;
        Play({{"1", "1", T(TextId::ClickLeft)},
              {"300", "", T(TextId::Wait)},
              {"2", "2", T(TextId::ClickRight)},
              {"3", "3", T(TextId::ClickMiddle)}});
        std::vector<StepSchedule::Clock::time_point> due{m_player->NextTaskDue()};
        for (int tick = 0; tick < 3; ++tick) {
            Ticks(1);
            due.push_back(m_player->NextTaskDue());
        }
        using std::chrono::milliseconds;
        QCOMPARE(due[1] - due[0], StepSchedule::Clock::duration::zero());
        QCOMPARE(due[2] - due[1], milliseconds(150));
        QCOMPARE(due[3] - due[2], milliseconds(500));
        QCOMPARE(m_desktop->Actions(),
                 (Actions{D::Move(1, 1), D::Click(MouseButton::Left), D::Move(2, 2), D::Click(MouseButton::Right)}));
    }

    void playsOneTaskPerTickAndEnds_data()
    {
        QTest::addColumn<bool>("closeAfterPlaying");
        QTest::newRow("message") << false;
        QTest::newRow("close after playing") << true;
    }

    // The current row always shows the next task; the first one runs at the first tick, not at the
    // start. The list ends with the right and middle buttons pushed: they are let go then, each where
    // it was pressed, the left one only by its own task. A pause that is the last task is dropped: the list ends at its
    // tick.
    void playsOneTaskPerTickAndEnds()
    {
        QFETCH(bool, closeAfterPlaying);
        m_state.options.closeAfterPlaying = closeAfterPlaying;
        m_tasks.SetCurrentRow(0);
        QSignalSpy finished(m_player.get(), &Player::finished);
        QSignalSpy close(m_player.get(), &Player::closeProgramRequested);
        Play({{"1", "1", T(TextId::LeftPushed)},
              {"2", "2", T(TextId::RightPushed)},
              {"3", "3", T(TextId::LeftReleased)},
              {"4", "4", T(TextId::MiddlePushed)},
              {"5", "", T(TextId::Pause)}});
        QVERIFY(m_player->IsPlaying() && m_player->IsStepping());
        for (int row = 1; row <= 5; ++row) {
            QCOMPARE(m_tasks.CurrentRow(), row);
            QCOMPARE(m_desktop->Actions().size(), static_cast<std::size_t>(2 * (row - 1)));
            QVERIFY(finished.isEmpty() && close.isEmpty());
            Ticks(1);
        }
        QCOMPARE(m_desktop->Actions(),
                 (Actions{D::Move(1, 1), D::Down(MouseButton::Left), D::Move(2, 2), D::Down(MouseButton::Right),
                          D::Move(3, 3), D::Up(MouseButton::Left), D::Move(4, 4), D::Down(MouseButton::Middle),
                          D::Move(2, 2), D::Up(MouseButton::Right), D::Move(4, 4), D::Up(MouseButton::Middle), kEnd}));
        QCOMPARE(close.count(), closeAfterPlaying ? 1 : 0);
        QCOMPARE(finished,
                 closeAfterPlaying ? QList<QVariantList>{} : QList<QVariantList>{{T(TextId::AllTasksExecuted)}});
        VerifyIdleAtRowOne();
    }

    // By steps, each press of Ctrl+Shift+F12 runs one task once all three keys are up again, as a
    // person presses and lets go of them: nothing runs when stepping starts, nor while any of the keys
    // is still held, so no task gets the user's Ctrl or Shift; a typing row, a key row and a pause are
    // one step each, and no timer runs a task between presses. Each poll reads the keys held as its token
    // says (C Ctrl, S Shift, F F12, - none); "!" marks the polls at which the next task runs.
    void stepsOnTheReleaseOfTheWholeChord_data()
    {
        QTest::addColumn<QString>("polls");
        const QString press = QStringLiteral("C CS CSF CS C -! ");
        QTest::newRow("chosen from the menu") << QStringLiteral("- - ") + press.repeated(5);
        QTest::newRow("started by the chord, let go in another order")
            << QStringLiteral("CSF SF F - C CS CSF SF F -! CSF CF C -! CSF CS S -! F SF CSF F -! CSF CS C -!");
        QTest::newRow("F12 tapped twice under Ctrl+Shift is one press")
            << QStringLiteral("- C CS CSF CS CSF CS C -! CSF -! CSF C -! CSF -! CSF -!");
    }

    void stepsOnTheReleaseOfTheWholeChord()
    {
        QFETCH(QString, polls);
        m_tasks.AddTask("1", "1", T(TextId::ClickLeft), {});
        m_tasks.AddTask("", "", "Type H i", {});
        m_tasks.AddTask("", "", "Key Control_L+s", {});
        m_tasks.AddTask("5", "", T(TextId::Pause), {});
        m_tasks.AddTask("4", "4", T(TextId::ClickRight), {});
        m_player->Play({1, {}, true});
        m_desktop->ClearActions();
        int step = 0;
        for (const QString& poll : polls.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            for (const auto& [letter, keysym] : {std::pair{'C', KeySymbols::kControl},
                                                 std::pair{'S', KeySymbols::kShift}, std::pair{'F', KeySymbols::kF12}})
                m_desktop->SetKeyDown(keysym, poll.contains(QLatin1Char(letter)));
            const std::size_t actionsBefore = m_desktop->Actions().size();
            const int rowBefore = m_tasks.CurrentRow();
            QVERIFY(!m_player->PlaybackStopCheck());
            while (m_player->Input().IsTyping())
                m_player->Input().TypeNext();
            const bool stepped = poll.endsWith(QLatin1Char('!'));
            QCOMPARE(m_tasks.CurrentRow() != rowBefore, stepped);
            QVERIFY(stepped || m_desktop->Actions().size() == actionsBefore);
            QVERIFY(!m_player->IsStepping() && !m_player->IsPausing());
            if (poll.endsWith(QLatin1Char('!')) && ++step < 5)
                QCOMPARE(m_tasks.CurrentRow(), step + 1);
        }
        const auto key = [](const char* call, const char* name) {
            return D::Key(call, KeySymbols::FromName(name));
        };
        QCOMPARE(m_desktop->Actions(),
                 (Actions{D::Move(1, 1), D::Click(MouseButton::Left), key("KeyTap", "H"), key("KeyTap", "i"),
                          key("KeyDown", "Control_L"), key("KeyTap", "s"), key("KeyUp", "Control_L"), D::Move(4, 4),
                          D::Click(MouseButton::Right), kEnd}));
        VerifyIdleAtRowOne();
    }

    // From the current row, or the selected rows only.
    void playsAPart_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<std::vector<int>>("only");
        QTest::addColumn<Actions>("expected");
        QTest::newRow("from row 3") << 3 << std::vector<int>{}
                                    << Actions{D::Move(3, 3), D::Click(MouseButton::Left), D::Move(4, 4),
                                               D::Click(MouseButton::Left), kEnd};
        QTest::newRow("rows 1 and 4") << 1 << std::vector<int>{1, 4}
                                      << Actions{D::Move(1, 1), D::Click(MouseButton::Left), D::Move(4, 4),
                                                 D::Click(MouseButton::Left), kEnd};
    }

    void playsAPart()
    {
        QFETCH(int, first);
        QFETCH(std::vector<int>, only);
        QFETCH(Actions, expected);
        for (const char* x : {"1", "2", "3", "4"})
            m_tasks.AddTask(x, x, x == QByteArrayView("2") ? T(TextId::Pause) : T(TextId::ClickLeft), {});
        m_player->Play({first, only, false});
        m_desktop->ClearActions();
        Ticks(2);
        QVERIFY(!m_player->IsPlaying());
        QCOMPARE(m_tasks.CurrentRow(), first);
        QCOMPARE(m_desktop->Actions(), expected);
    }

    void pauseHoldsForNPlusOneCountdownTicks_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<double>("speed"); // a pause is the user's own time: the speed leaves it alone
        // The seconds left that each progress report gives, from the click on: the real time until
        // the run goes on, one second past the countdown's 0.
        QTest::addColumn<QList<int>>("secondsLeft");
        QTest::newRow("0") << QStringLiteral("0") << 1.0 << QList<int>{0, 1, 0, 0};
        QTest::newRow("3") << QStringLiteral("3") << 1.0 << QList<int>{0, 4, 3, 2, 1, 0, 0};
        QTest::newRow("3 at speed 2") << QStringLiteral("3") << 2.0 << QList<int>{0, 4, 3, 2, 1, 0, 0};
    }

    void pauseHoldsForNPlusOneCountdownTicks()
    {
        QFETCH(QString, length);
        QFETCH(double, speed);
        QFETCH(QList<int>, secondsLeft);
        m_state.pace.speed = speed;
        Play({{"1", "1", T(TextId::ClickLeft)}, {length, "", T(TextId::Pause)}, {"2", "2", T(TextId::ClickRight)}});
        QList<int> reported;
        connect(m_player.get(), &Player::progressChanged, this,
                [&reported](const PlaybackProgress& progress) { reported.append(progress.pauseSecondsLeft); });
        Ticks(2);
        QCOMPARE(m_player->findChild<QTimer*>(QStringLiteral("tmrPause"))->interval(), 1000);
        Ticks(std::max(0, length.toInt()), &Player::CountPauseDown);
        QVERIFY(m_player->IsPausing() && !m_player->IsStepping());
        Ticks(1, &Player::CountPauseDown);
        QVERIFY(!m_player->IsPausing() && m_player->IsStepping());
        Ticks(1);
        QCOMPARE(m_desktop->Actions(), (Actions{D::Move(1, 1), D::Click(MouseButton::Left), D::Move(2, 2),
                                                D::Click(MouseButton::Right), kEnd}));
        QCOMPARE(reported, secondsLeft);
    }

    // With repeat on, the list starts again at row 1 and never ends, nor closes the program. The
    // shortcut that started playback is still held: it must not stop it. Held again later, during
    // a pause of the second pass, it stops once F11 is released, counts every row of every pass and
    // lets go of the button a pushed task holds.
    void ripetiAndStopKeys()
    {
        m_state.options.repeatForever = true;
        m_state.options.closeAfterPlaying = true;
        QSignalSpy stopped(m_player.get(), &Player::stopped);
        QSignalSpy close(m_player.get(), &Player::closeProgramRequested);
        m_desktop->HoldShortcut(KeySymbols::kF11, 2);
        Play({{"1", "1", T(TextId::LeftPushed)}, {"5", "", T(TextId::Pause)}, {"2", "2", T(TextId::ClickRight)}});
        for (int check = 0; check < 3; ++check) // F11 is up at the third
            QVERIFY(!m_player->PlaybackStopCheck());
        Ticks(2);
        Ticks(6, &Player::CountPauseDown);
        Ticks(3);
        Ticks(1, &Player::CountPauseDown);
        QVERIFY(m_player->IsPlaying() && m_player->IsPausing());
        m_desktop->HoldShortcut(KeySymbols::kF11, 3);
        const int f11Queries = m_desktop->KeyQueries(KeySymbols::kF11);
        // Once the keys are seen nothing runs; the stop comes at the first check that finds F11 up.
        QVERIFY(!m_player->PlaybackStopCheck() && !m_player->IsPausing());
        Ticks(1);
        QVERIFY(!m_player->PlaybackStopCheck() && stopped.isEmpty());
        QVERIFY(m_player->PlaybackStopCheck());
        QCOMPARE(m_desktop->KeyQueries(KeySymbols::kF11), f11Queries + 4);
        QCOMPARE(stopped, QList<QVariantList>{{qint64{5}}});
        QCOMPARE(m_desktop->Actions(),
                 (Actions{D::Move(1, 1), D::Down(MouseButton::Left), D::Move(2, 2), D::Click(MouseButton::Right),
                          D::Move(1, 1), D::Down(MouseButton::Left), D::Move(1, 1), D::Up(MouseButton::Left), kEnd}));
        QVERIFY(close.isEmpty());
        VerifyIdleAtRowOne();
    }

    // A typing task types one key at each step of its own timer; the next task comes one interval
    // after the typing ends. A stop in the middle types nothing more and lets go of the keys.
    void typingGoesOnOverStepsOfItsOwn_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<bool>("untypable"); // no key types "b": the row ends there, skipped
        QTest::newRow("typed to the end") << false << false;
        QTest::newRow("stopped") << true << false;
        QTest::newRow("a character no key types") << false << true;
    }

    void typingGoesOnOverStepsOfItsOwn()
    {
        QFETCH(bool, stop);
        QFETCH(bool, untypable);
        if (untypable)
            m_desktop->SetUntypable('b');
        Play({{"", "", "Type a b c"}, {"1", "1", T(TextId::ClickLeft)}});
        Ticks(2);
        QVERIFY(m_player->Input().IsTyping() && !m_player->IsStepping());
        if (stop)
            m_player->Stop();
        m_player->Input().TypeNext();
        m_player->Input().TypeNext();
        QCOMPARE(m_player->IsStepping(), !stop);
        if (!stop)
            Ticks(1);
        const auto tap = [](char key) {
            return D::Key("KeyTap", quint32(key));
        };
        Actions typed = {tap('a'), tap('b'), tap('c'), D::Move(1, 1), D::Click(MouseButton::Left), kEnd};
        if (untypable)
            typed.erase(typed.begin() + 2);
        QCOMPARE(m_desktop->Actions(), stop ? (Actions{tap('a'), kEnd}) : typed);
        QCOMPARE(m_player->UnplayableRows(), untypable ? std::vector<int>{1} : std::vector<int>{});
        VerifyIdleAtRowOne();
    }

    // The stop-key check keeps away from a task that is due, but never twice in a row: with a
    // playback interval shorter than that quiet time, every other poll still reads the keys.
    void stopKeysAreReadAtLeastEveryOtherPoll()
    {
        FakeDesktop desktop;
        SharedState state;
        TaskList tasks;
        Player player(tasks, desktop, state);
        player.SetStepInterval(1);
        player.Play();
        QVERIFY(!player.PlaybackStopCheck() && !player.PlaybackStopCheck()); // keys up: armed
        const int f11Queries = desktop.KeyQueries(KeySymbols::kF11);
        player.PlaybackStopCheck();
        player.PlaybackStopCheck();
        QVERIFY(desktop.KeyQueries(KeySymbols::kF11) > f11Queries);
    }

    void closingReleasesAHeldButton()
    {
        Play({{"1", "1", T(TextId::LeftPushed)}, {"2", "2", T(TextId::LeftReleased)}});
        Ticks(1);
        m_player.reset();
        QCOMPARE(m_desktop->Actions().back(), D::Up(MouseButton::Left));
    }
};

QTEST_GUILESS_MAIN(TestPlayer)
#include "TestPlayer.moc"
