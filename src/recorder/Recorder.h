#pragma once

#include "desktop/Desktop.h"
#include "recorder/DoubleClickRule.h"
#include "recorder/InputMerger.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

class TaskList;
struct SharedState;

// Turns the mouse buttons into tasks at the end of the task list, with a descriptive image each,
// until Ctrl+Shift+F12 is held. At every poll tick (its owner's) it takes the presses and releases
// the desktop followed since the last tick, so that a press shorter than a tick is not lost; a
// press still held stays open across ticks until a later tick brings its release. Where the desktop
// cannot follow the buttons, each tick samples them once instead. It never waits: the image of a
// finished press is taken a moment later on a timer of its own, once the clicked window has redrawn.
// It touches no widget: what the window should do is announced through the signals.
class Recorder : public QObject
{
    Q_OBJECT

public:
    // The option to save images is read, never written.
    Recorder(TaskList& tasks, Desktop& desktop, const SharedState& state, QObject* parent = nullptr);

    // Starts a recording: the pointer takes the recording shape and the window is asked to minimise.
    void Record();
    // The recording part of one poll tick; does nothing unless a recording runs.
    void Tick();
    bool IsRecording() const { return m_recording; }

    // The colours around (x, y) as image text; empty, without reading the screen, when images are off.
    QByteArray CaptureImage(int x, int y);
    // Ends the recording as the stop keys do; a press still held is dropped.
    void Stop();

    // How long after a release its image is taken: a button clicked on is still drawn pressed until
    // its program has read the release. Tests set 0: the tasks are then added within the tick.
    void SetRedrawWait(std::chrono::milliseconds wait) { m_redrawWait.setInterval(wait); }
    // The desktop's double-click time and distance, for the clicks of the next recordings.
    void SetDoubleClickLimits(int intervalMs, int distance) { m_doubleClick.SetLimits(intervalMs, distance); }
    // Tells whether a press went to one of the program's own windows: such a press is no task.
    using OwnWindowTest = std::function<bool(const ButtonEvent& press)>;
    void SetOwnWindowTest(OwnWindowTest test);
    // Tells whether a key press went to one of the program's own windows: such a key is no task.
    using OwnKeyTest = std::function<bool(const InputEvent& press)>;
    void SetOwnKeyTest(OwnKeyTest test);

signals:
    void minimiseRequested();
    // The recording is over, before the window is asked back and the result told.
    void ended();
    void restoreRequested();
    // The recording ended with tasks in the list; eventCount is the number of rows it added.
    void recordingEnded(int eventCount);
    // The recording ended and the list holds no task.
    void recordingEndedEmpty();

private:
    // A press and, once it came, its release.
    struct Gesture
    {
        ButtonEvent press;
        std::optional<ButtonEvent> release;
        bool own = false;                    // on one of the program's own windows
        bool followed = false;               // seen in the desktop's event stream, not by sampling
        std::vector<PointerMove> moves = {}; // where the pointer went between the press and the release
        // When this program saw the press and the release, for a desktop that gives no times.
        std::chrono::steady_clock::time_point pressSeen = std::chrono::steady_clock::now();
        std::chrono::steady_clock::time_point releaseSeen = pressSeen;
    };
    // When a press or a release happened: the desktop's own time where it gave one, and this
    // program's clock as it saw the event.
    struct Moment
    {
        std::optional<quint32> desktopMs;
        std::chrono::steady_clock::time_point seen;
    };

    void TakeFollowedEvents();
    // Gives each move to the presses open at its moment.
    void TakePointerMoves();
    // The path row of a drag, after its press row; false when the pointer's way was not followed.
    bool AddPath(const Gesture& gesture);
    void SampleButtons();
    void CloseReleasedPresses();
    void MoveFinishedOn();
    void AddWaitingGestures();
    bool IsOwnWindow(const ButtonEvent& press) const;
    void AddGesture(const Gesture& gesture);
    // With "Keep the pace" on: a wait task for the time since the last task's moment, before a
    // task that gets a row of its own at this moment (never before the first task of a recording).
    void AddWaitBefore(const Moment& moment);
    // Whether tasks get an image: asked for, or needed by the screen check.
    bool TakesImages() const;
    bool StopKeysDown();
    // Keeps the keys and wheel notches followed since the last call that may become tasks.
    void TakeInput();
    // Adds the tasks of the keys and the wheel that came before the given point of the stream.
    void AddInputTasks(quint64 before);
    // Where in the stream the first gesture not yet added was pressed: keys after it wait for it.
    quint64 FirstPendingPress() const;
    void StopCheck();

    TaskList& m_tasks;
    Desktop& m_desktop;
    const SharedState& m_state;
    OwnWindowTest m_isOwnWindow;
    OwnKeyTest m_isOwnKey;
    InputMerger m_input;
    DoubleClickRule m_doubleClick;
    std::deque<InputEvent> m_keys; // followed, not fed to the merger yet
    bool m_recording = false;
    bool m_following = false;        // the desktop follows the buttons for this recording
    bool m_saidSamplingOnly = false; // the warning that short presses may be missed was printed
    int m_rowBase = 0;
    // The stop keys are also the Record shortcut: they count only after they were seen not all down.
    bool m_stopKeysArmed = false;
    // The stop keys were seen: the recording ends once F12 is up, so the key does not reach the window.
    bool m_stopping = false;
    // Presses in the order they came; the first ones leave once released.
    std::deque<Gesture> m_open;
    // Finished gestures whose images wait for the screen to redraw.
    std::deque<Gesture> m_waiting;
    QTimer m_redrawWait;
    std::optional<Moment> m_lastMoment; // of the last row this recording added
};
