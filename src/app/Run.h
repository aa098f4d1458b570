#pragma once

#include "player/Player.h"
#include "recorder/Recorder.h"

#include <QObject>
#include <QTimer>

class Desktop;
class TaskList;
struct OptionValues;
struct SharedState;

// The one owner of a run: it holds the recorder, the player and the poll timer, starts a recording
// or a playback only while idle, and says what runs. The poll timer's tick samples the buttons for
// the recorder and reads the stop keys of whichever runs; it runs only while something does.
class Run : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Idle,
        Recording,
        Playing,
    };

    Run(TaskList& tasks, Desktop& desktop, const SharedState& state, QObject* parent = nullptr);

    State Current() const { return m_current; }
    bool IsIdle() const { return m_current == State::Idle; }
    Recorder& TheRecorder() { return m_recorder; }
    Player& ThePlayer() { return m_player; }

    // The two intervals of the options: the poll and the time between two tasks.
    void ApplyIntervals(const OptionValues& options);

    // Start a recording or a playback; each does nothing unless idle.
    void Record();
    void Play();
    // Ends whatever runs as its stop keys do.
    void Stop();
    // One tick of the poll timer: the recorder's sampling and the stop keys.
    void Poll();

signals:
    void stateChanged(Run::State state);

private:
    void Enter(State state);

    Recorder m_recorder;
    Player m_player;
    QTimer m_pollTimer;
    State m_current = State::Idle;
};
