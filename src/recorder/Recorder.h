#pragma once

#include "desktop/KeyRelease.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

class Desktop;
class QTimer;
class TaskList;
struct SharedState;

// Turns the mouse buttons sampled at every tick of the recording poll timer into tasks at the end
// of the task list, with a descriptive image each, until Ctrl+Shift+F12 is held. It touches no
// widget: what the window should do is announced through the signals.
class Recorder : public QObject
{
    Q_OBJECT

public:
    Recorder(TaskList& tasks, Desktop& desktop, SharedState& state, QTimer& tmrRec, QObject* parent = nullptr);

    // Starts a recording: the poll timer runs, the pointer takes the recording shape and the
    // window is asked to minimise.
    void mnuComandiRec_Click();
    // The recording part of one poll tick; does nothing unless a recording runs.
    void tmrRec_Timer();

    // Follows a press of this button until its release and adds a click or a pushed/released pair.
    void CaptureButton(int button);
    // The colours around (x, y) as image text; empty, without reading the screen, when images are off.
    QByteArray CaptureImage(int x, int y);
    // True when Ctrl+Shift+F12 ended the recording (after F12 was released).
    bool RecordingStopCheck();

    // Tests replace the sleep between two queries while a release is awaited.
    using Sleep = KeyRelease::Sleep;
    void SetReleaseSleep(Sleep sleep);

signals:
    void minimiseRequested();
    void restoreRequested();
    // The recording ended with tasks in the list; eventCount is the number of rows it added.
    void recordingEnded(int eventCount);
    // The recording ended and the list holds no task.
    void recordingEndedEmpty();

private:
    bool StopKeysDown();

    TaskList& m_tasks;
    Desktop& m_desktop;
    SharedState& m_state;
    QTimer& tmrRec;
    Sleep m_releaseSleep;
    int m_rowBase = 0;
    // The stop keys are also the Record shortcut: they count only after they were seen not all down.
    bool m_stopKeysArmed = false;
};
