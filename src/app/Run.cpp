#include "app/Run.h"

#include "app/FrozenScreenPicker.h"
#include "app/OwnWindowPresses.h"
#include "app/PointPicker.h"
#include "core/OptionValues.h"
#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "player/Player.h"
#include "recorder/Recorder.h"
#include "tasks/SharedState.h"

#include <QGuiApplication>
#include <QStyleHints>

Run::Run(TaskList& tasks, Desktop& desktop, const SharedState& state, QObject* parent)
    : QObject(parent), m_state(state), m_ownPresses(std::make_unique<OwnWindowPresses>()),
      m_recorder(std::make_unique<Recorder>(tasks, desktop, state)),
      m_player(std::make_unique<Player>(tasks, desktop, state)),
      m_picker(std::make_unique<PointPicker>(desktop,
                                             [this](const ButtonEvent& press) { return m_ownPresses->IsOwn(press); })),
      m_frozenPicker(std::make_unique<FrozenScreenPicker>(desktop, TextTable::Text(TextId::PickPointHint))),
      m_picksOnPicture(!desktop.SeesUserInput())
{
    // Children as well, so that the timers inside are found by name.
    m_recorder->setParent(this);
    m_player->setParent(this);
    m_picker->setParent(this);
    m_frozenPicker->setParent(this);
    m_pollTimer.setParent(this);
    m_pollTimer.setObjectName(QStringLiteral("tmrRec"));
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    ApplyIntervals(state.options);
    connect(&m_pollTimer, &QTimer::timeout, this, &Run::Poll);
    ConnectRecorder();
    ConnectPlayer();
    ConnectPicker();
}

// The engines go before the presses they ask about.
Run::~Run()
{
    m_frozenPicker.reset();
    m_picker.reset();
    m_player.reset();
    m_recorder.reset();
}

void Run::ConnectRecorder()
{
    m_recorder->SetOwnWindowTest([this](const ButtonEvent& press) { return m_ownPresses->IsOwn(press); });
    m_recorder->SetOwnKeyTest([this](const InputEvent& press) { return m_ownPresses->IsOwnKey(press); });
    connect(m_recorder.get(), &Recorder::minimiseRequested, this, &Run::minimiseRequested);
    connect(m_recorder.get(), &Recorder::ended, this, [this] { Enter(State::Idle); });
    connect(m_recorder.get(), &Recorder::restoreRequested, this, &Run::restoreRequested);
    connect(m_recorder.get(), &Recorder::recordingEnded, this, &Run::recordingEnded);
    connect(m_recorder.get(), &Recorder::recordingEndedEmpty, this, &Run::recordingEndedEmpty);
}

void Run::ConnectPlayer()
{
    Player* player = m_player.get();
    connect(player, &Player::minimiseRequested, this, &Run::minimiseRequested);
    connect(player, &Player::normalRequested, this, &Run::restoreRequested);
    connect(player, &Player::ended, this, [this] { Enter(State::Idle); });
    connect(player, &Player::progressChanged, this, &Run::progressChanged);
    connect(player, &Player::finished, this, &Run::finished);
    connect(player, &Player::stopped, this,
            [this](qint64 executedTasks) { emit stopped(Player::StopMessage(executedTasks)); });
    // A run that skipped tasks says so where a person can see it.
    connect(player, &Player::closeProgramRequested, this,
            [this] { emit closeRequested(m_player->SkippedTasks() > 0 ? m_player->EndMessage() : QString()); });
    connect(player, &Player::taskSkipped, this, &Run::taskSkipped);
    connect(player, &Player::stoppedOnMismatch, this, &Run::stoppedOnMismatch);
    connect(player, &Player::taskFound, this, &Run::taskFound);
    connect(player, &Player::unplayableTask, this, &Run::unplayableTask);
    connect(player, &Player::remark, this, &Run::remark);
}

void Run::ConnectPicker()
{
    const auto picked = [this](int x, int y, const QByteArray& image) {
        Enter(State::Idle);
        emit this->picked(x, y, image);
    };
    const auto cancelled = [this] {
        Enter(State::Idle);
        emit pickCancelled();
    };
    connect(m_picker.get(), &PointPicker::picked, this, picked);
    connect(m_picker.get(), &PointPicker::cancelled, this, cancelled);
    connect(m_frozenPicker.get(), &FrozenScreenPicker::picked, this, picked);
    connect(m_frozenPicker.get(), &FrozenScreenPicker::cancelled, this, cancelled);
}

void Run::ApplyIntervals(const OptionValues& options)
{
    m_pollTimer.setInterval(options.recIntervalMs);
    m_player->SetStepInterval(options.playIntervalMs);
}

bool Run::Record()
{
    if (!IsIdle())
        return false;
    // Double clicks are recognised as the desktop recognises them, with its settings of the moment.
    const QStyleHints* hints = QGuiApplication::styleHints();
    m_recorder->SetDoubleClickLimits(hints->mouseDoubleClickInterval(), hints->mouseDoubleClickDistance());
    m_recorder->Record();
    Enter(State::Recording);
    return true;
}

bool Run::Play(PlayRange range)
{
    if (!IsIdle())
        return false;
    // Playing before the state says so: the start's signals find the window still idle.
    m_player->Play(std::move(range));
    // A run over at once (a listener of its start stopped it) leaves nothing to watch.
    Enter(m_player->IsPlaying() ? State::Playing : State::Idle);
    return true;
}

bool Run::PickPoint(bool images)
{
    if (!IsIdle())
        return false;
    Enter(State::Picking);
    if (m_picksOnPicture) {
        m_frozenPicker->Start(images);
        return true;
    }
    // The pick follows the buttons on a timer of its own, at the poll's pace.
    m_picker->Start(m_state.options.recIntervalMs, images);
    return true;
}

void Run::Stop()
{
    switch (m_current) {
    case State::Playing:
        m_player->Stop();
        break;
    case State::Recording:
        m_recorder->Stop();
        break;
    case State::Picking:
        m_picker->Cancel();
        m_frozenPicker->Cancel();
        break;
    case State::Idle:
        break;
    }
}

void Run::Poll()
{
    if (m_current == State::Recording)
        m_recorder->Tick();
    else if (m_current == State::Playing)
        m_player->PlaybackStopCheck();
}

void Run::HoldTicks(bool hold)
{
    m_player->HoldTicks(hold);
}

PlaybackProgress Run::Progress() const
{
    return m_player->Progress();
}

std::optional<Run::Seen> Run::SeenAt(int row, const QByteArray& storedImage) const
{
    // The task the last run stopped on, as long as it is still the same task.
    const std::optional<ScreenMismatch>& stop = m_player->StoppedOn();
    if (stop && stop->row == row && stop->storedImage == storedImage)
        return Seen{stop->current, {}};
    const Player::FoundPlace* found = m_player->FoundAt(row);
    if (found && !found->screen.isNull() && found->storedImage == storedImage)
        return Seen{found->screen, ScreenCheck::FoundTip(found->offset)};
    return std::nullopt;
}

void Run::Enter(State state)
{
    if (state == m_current)
        return;
    m_current = state;
    // The poll has nothing to watch while idle or picking: it would wake the program 50 times a
    // second for nothing.
    if (state == State::Idle || state == State::Picking)
        m_pollTimer.stop();
    else
        m_pollTimer.start();
    emit stateChanged(state);
}
