#pragma once

#include "desktop/Desktop.h"
#include "desktop/KeyRelease.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

class QTimer;
class TaskList;
struct SharedState;

// Turns the mouse buttons into tasks at the end of the task list, with a descriptive image each,
// until Ctrl+Shift+F12 is held. At every tick of the recording poll timer it takes the presses and
// releases the desktop followed since the last tick, so that a press shorter than a tick is not
// lost; a press still held is followed to its release. Where the desktop cannot follow the
// buttons, each tick samples them instead. It touches no widget: what the window should do is
// announced through the signals.
class Recorder : public QObject
{
    Q_OBJECT

public:
    Recorder(TaskList& tasks, Desktop& desktop, SharedState& state, QTimer& m_pollTimer, QObject* parent = nullptr);

    // Starts a recording: the poll timer runs, the pointer takes the recording shape and the
    // window is asked to minimise.
    void Record();
    // The recording part of one poll tick; does nothing unless a recording runs.
    void Tick();

    // Follows a press of this button, seen down by sampling, until its release and adds a click or
    // a pushed/released pair.
    void CaptureButton(int button);
    // The colours around (x, y) as image text; empty, without reading the screen, when images are off.
    QByteArray CaptureImage(int x, int y);
    // True when Ctrl+Shift+F12 ended the recording (after F12 was released).
    bool RecordingStopCheck();
    // Ends the recording as the stop keys do.
    void Stop();

    // Tests replace the sleep between two queries while a release is awaited.
    using Sleep = KeyRelease::Sleep;
    void SetReleaseSleep(Sleep sleep);
    // Tells whether a press went to one of the program's own windows: such a press is no task.
    using OwnWindowTest = std::function<bool(const ButtonEvent& press)>;
    void SetOwnWindowTest(OwnWindowTest test);

signals:
    void minimiseRequested();
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
        bool own = false; // on one of the program's own windows
    };

    bool TakeFollowedPresses();
    bool SampleButtons();
    void Receive(std::vector<Gesture>& gestures, const std::vector<ButtonEvent>& events);
    void FollowToRelease(std::vector<Gesture>& gestures, std::size_t index);
    bool IsOwnWindow(const ButtonEvent& press) const;
    void AddGesture(int button, int px, int py, int rx, int ry, std::optional<quint32> pressTime);
    bool StopKeysDown();

    TaskList& m_tasks;
    Desktop& m_desktop;
    SharedState& m_state;
    QTimer& m_pollTimer;
    Sleep m_releaseSleep;
    OwnWindowTest m_isOwnWindow;
    bool m_following = false;        // the desktop follows the buttons for this recording
    bool m_saidSamplingOnly = false; // the warning that short presses may be missed was printed
    int m_rowBase = 0;
    // The stop keys are also the Record shortcut: they count only after they were seen not all down.
    bool m_stopKeysArmed = false;
};
