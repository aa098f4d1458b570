#pragma once

#include "player/PlayRange.h"
#include "player/PlaybackProgress.h"
#include "player/ScreenCheck.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

class Desktop;
class FrozenScreenPicker;
class OwnWindowPresses;
class Player;
class PointPicker;
class Recorder;
class TaskList;
struct OptionValues;
struct SharedState;

// The one door to a run: it holds the recorder, the player, the point picker and the poll timer,
// starts a recording, a playback or a pick only while none of them holds the desktop's input
// stream, and says what runs. What the window shows of a run (the start and the end, progress,
// what the screen check saw, why it ended) comes from here alone. The poll timer's tick samples
// the buttons for the recorder and reads the stop keys of whichever runs; it runs only while
// something does.
class Run : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Idle,
        Recording,
        Playing,
        Picking, // a point is taken from the user's next click
    };

    // What the last playback saw on the screen at a task, for the preview beside the task's image.
    struct Seen
    {
        QImage screen;
        QString tip; // where the image was found; empty where the screen never matched
    };

    Run(TaskList& tasks, Desktop& desktop, const SharedState& state, QObject* parent = nullptr);
    ~Run() override;

    State Current() const { return m_current; }
    bool IsIdle() const { return m_current == State::Idle; }
    bool IsRecording() const { return m_current == State::Recording; }
    bool IsPlaying() const { return m_current == State::Playing; }

    // The two intervals of the options: the poll and the time between two tasks.
    void ApplyIntervals(const OptionValues& options);

    // Start a recording, a playback or a pick; each does nothing and returns false unless idle.
    bool Record();
    bool Play(PlayRange range = {});
    // The point and, where asked, the image of the next left click anywhere on the desktop; where
    // the desktop keeps other windows' clicks from the program, of a click on a still picture of it.
    bool PickPoint(bool images);
    // Whether a pick is taken on a still picture of the screen rather than on the screen itself.
    bool PicksOnPicture() const { return m_picksOnPicture; }
    // Ends whatever runs as its stop keys do; a pick is cancelled.
    void Stop();
    // One tick of the poll timer: the recorder's sampling and the stop keys.
    void Poll();
    // While held, no task of a playback runs (a menu of this program is open).
    void HoldTicks(bool hold);

    PlaybackProgress Progress() const;
    // What the last playback saw at the task in row, as long as the row still holds storedImage.
    std::optional<Seen> SeenAt(int row, const QByteArray& storedImage) const;

    // The engines, for tests that drive them tick by tick.
    Recorder& TheRecorder() { return *m_recorder; }
    Player& ThePlayer() { return *m_player; }
    PointPicker& ThePicker() { return *m_picker; }
    FrozenScreenPicker& TheFrozenPicker() { return *m_frozenPicker; }

signals:
    void stateChanged(Run::State state);
    void progressChanged();
    // The window steps aside for a run, and comes back after it.
    void minimiseRequested();
    void restoreRequested();

    // A recording ended with tasks in the list; eventCount is the number of rows it added.
    void recordingEnded(int eventCount);
    // A recording ended and the list holds no task.
    void recordingEndedEmpty();

    // The whole list has run and the program stays open: the message to show.
    void finished(const QString& message);
    // The stop keys (or Stop) ended playback: the message that tells how many rows it processed.
    void stopped(const QString& message);
    // The whole list has run and the program closes; failure tells what was skipped, if anything was.
    void closeRequested(const QString& failure);
    // The screen never matched a task's image: the task was skipped, or playback stopped there.
    void taskSkipped(const ScreenMismatch& mismatch);
    void stoppedOnMismatch(const ScreenMismatch& mismatch);
    // A task was clicked `offset` away from its point, where its image was found.
    void taskFound(int row, QPoint offset);
    // A row that cannot be played was skipped; problem says why.
    void unplayableTask(int row, const QString& problem);
    // Something a person should hear of once (a screen check over tasks without images, a drag given up).
    void remark(const QString& text);

    // The pick's point and image, or its end without one (a click on this program's own windows).
    void picked(int x, int y, const QByteArray& image);
    void pickCancelled();

private:
    void ConnectRecorder();
    void ConnectPlayer();
    void ConnectPicker();
    void Enter(State state);

    const SharedState& m_state;
    // Tells presses on the program's own windows, which neither the recorder nor the pick takes.
    std::unique_ptr<OwnWindowPresses> m_ownPresses;
    std::unique_ptr<Recorder> m_recorder;
    std::unique_ptr<Player> m_player;
    std::unique_ptr<PointPicker> m_picker;
    std::unique_ptr<FrozenScreenPicker> m_frozenPicker;
    bool m_picksOnPicture = false;
    QTimer m_pollTimer;
    State m_current = State::Idle;
};
