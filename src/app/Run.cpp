#include "app/Run.h"

#include "core/OptionValues.h"
#include "tasks/SharedState.h"

Run::Run(TaskList& tasks, Desktop& desktop, const SharedState& state, QObject* parent)
    : QObject(parent), m_recorder(tasks, desktop, state), m_player(tasks, desktop, state)
{
    m_recorder.setParent(this);
    m_player.setParent(this);
    m_pollTimer.setParent(this);
    m_pollTimer.setObjectName(QStringLiteral("tmrRec"));
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    ApplyIntervals(state.options);
    connect(&m_pollTimer, &QTimer::timeout, this, &Run::Poll);
    connect(&m_recorder, &Recorder::restoreRequested, this, [this] { Enter(State::Idle); });
    connect(&m_player, &Player::ended, this, [this] { Enter(State::Idle); });
}

void Run::ApplyIntervals(const OptionValues& options)
{
    m_pollTimer.setInterval(options.recIntervalMs);
    m_player.SetStepInterval(options.playIntervalMs);
}

void Run::Record()
{
    if (!IsIdle())
        return;
    m_recorder.Record();
    Enter(State::Recording);
}

void Run::Play()
{
    if (!IsIdle())
        return;
    // Playing before the state says so: the start's signals find the window still idle.
    m_player.Play();
    Enter(State::Playing);
}

void Run::Stop()
{
    if (m_current == State::Playing)
        m_player.Stop();
    else if (m_current == State::Recording)
        m_recorder.Stop();
}

void Run::Poll()
{
    if (m_current == State::Recording)
        m_recorder.Tick();
    else if (m_current == State::Playing)
        m_player.PlaybackStopCheck();
}

void Run::Enter(State state)
{
    if (state == m_current)
        return;
    m_current = state;
    // The poll has nothing to watch while idle: it would wake the program 50 times a second for nothing.
    if (state == State::Idle)
        m_pollTimer.stop();
    else
        m_pollTimer.start();
    emit stateChanged(state);
}
