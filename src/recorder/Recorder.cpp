#include "recorder/Recorder.h"

#include "core/AppPaths.h"
#include "core/KeySymbols.h"
#include "core/TextTable.h"
#include "recorder/DragPath.h"
#include "tasks/DescriptiveImage.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace {
constexpr int kSide = DescriptiveImage::kSide;
constexpr int kImageHalf = kSide / 2;
// One frame of a 60 Hz desktop and a little more.
constexpr std::chrono::milliseconds kRedrawAfterRelease{25};
} // namespace

Recorder::Recorder(TaskList& tasks, Desktop& desktop, const SharedState& state, QObject* parent)
    : QObject(parent), m_tasks(tasks), m_desktop(desktop), m_state(state)
{
    m_redrawWait.setSingleShot(true);
    m_redrawWait.setInterval(kRedrawAfterRelease);
    connect(&m_redrawWait, &QTimer::timeout, this, &Recorder::AddWaitingGestures);
}

void Recorder::SetOwnWindowTest(OwnWindowTest test)
{
    m_isOwnWindow = std::move(test);
}

void Recorder::SetOwnKeyTest(OwnKeyTest test)
{
    m_isOwnKey = std::move(test);
}

void Recorder::Record()
{
    m_desktop.SetPointerShape(AppPaths::RecordingCursor());
    m_desktop.ClaimHotKeys(true);
    emit minimiseRequested();
    m_recording = true;
    m_stopping = false;
    m_rowBase = m_tasks.Rows();
    if (m_tasks.Cell(1, TaskList::kColumnTask).isEmpty())
        m_rowBase = m_tasks.Rows() - 1;
    // This recording's first click must not merge with the last click of an earlier recording.
    m_doubleClick.Close();
    m_stopKeysArmed = false;
    m_open.clear();
    m_keys.clear();
    m_input = InputMerger();
    m_lastMoment.reset();
    m_following = m_desktop.WatchInput(true);
    if (!m_following && !m_saidSamplingOnly) {
        std::fprintf(stderr, "clickwarden: %s\n", qPrintable(TextTable::Text(TextId::NoRecordExtension)));
        m_saidSamplingOnly = true;
    }
}

void Recorder::Tick()
{
    if (!m_recording)
        return;
    if (m_stopping) {
        StopCheck();
        return;
    }
    m_doubleClick.Tick();
    if (m_following) {
        TakeFollowedEvents();
        TakePointerMoves();
        // Taken after the buttons, so that every key that came before one of those buttons is here.
        TakeInput();
    } else {
        SampleButtons();
    }
    CloseReleasedPresses();
    MoveFinishedOn();
    AddInputTasks(FirstPendingPress());
    StopCheck();
}

// The presses and releases since the last tick, in the order they came.
void Recorder::TakeFollowedEvents()
{
    for (const ButtonEvent& event : m_desktop.TakeButtonEvents()) {
        if (event.pressed) {
            m_open.push_back(Gesture{event, std::nullopt, IsOwnWindow(event), true});
            continue;
        }
        const auto open = std::find_if(m_open.begin(), m_open.end(), [&](const Gesture& gesture) {
            return gesture.press.button == event.button && !gesture.release;
        });
        // A release without its press: the press came before the recording started, or the
        // release point was already taken from the pointer.
        if (open != m_open.end()) {
            open->release = event;
            open->releaseSeen = std::chrono::steady_clock::now();
        }
    }
}

void Recorder::TakePointerMoves()
{
    for (const PointerMove& move : m_desktop.TakePointerMoves()) {
        for (Gesture& gesture : m_open) {
            if (gesture.followed && gesture.press.order < move.order &&
                (!gesture.release || gesture.release->order > move.order))
                gesture.moves.push_back(move);
        }
    }
}

// Where the desktop cannot follow the buttons: a button that reads down and is not open yet is
// a new press, where the pointer is now.
void Recorder::SampleButtons()
{
    for (const MouseButton button : kMouseButtons) {
        const bool open = std::any_of(m_open.begin(), m_open.end(), [&](const Gesture& gesture) {
            return gesture.press.button == button && !gesture.release;
        });
        if (open || !m_desktop.IsButtonDown(button))
            continue;
        const ButtonEvent press{button, true, m_desktop.PointerX(), m_desktop.PointerY(), 0};
        m_open.push_back(Gesture{press, std::nullopt, IsOwnWindow(press), false});
    }
}

// A press still open whose button reads up now was released where the pointer is: sampled presses
// always end so, followed ones when the stream lost the release (a device or a remote desktop may).
void Recorder::CloseReleasedPresses()
{
    for (Gesture& gesture : m_open) {
        if (!gesture.release && !m_desktop.IsButtonDown(gesture.press.button)) {
            gesture.release = ButtonEvent{gesture.press.button, false, m_desktop.PointerX(), m_desktop.PointerY(), 0};
            gesture.releaseSeen = std::chrono::steady_clock::now();
        }
    }
}

// Gestures become tasks in the order of their presses: a press still held keeps those after it.
void Recorder::MoveFinishedOn()
{
    while (!m_open.empty() && m_open.front().release) {
        if (!m_open.front().own)
            m_waiting.push_back(m_open.front());
        m_open.pop_front();
    }
    if (m_waiting.empty())
        return;
    if (m_redrawWait.interval() == 0 || !TakesImages())
        AddWaitingGestures();
    else if (!m_redrawWait.isActive())
        m_redrawWait.start();
}

void Recorder::AddWaitingGestures()
{
    m_redrawWait.stop();
    while (!m_waiting.empty()) {
        AddGesture(m_waiting.front());
        m_waiting.pop_front();
    }
    AddInputTasks(FirstPendingPress());
}

void Recorder::TakeInput()
{
    for (const InputEvent& event : m_desktop.TakeInputEvents()) {
        // A release whose press was left out finds no held key in the merger and makes nothing.
        const bool leftOut =
            event.kind == InputEvent::Kind::Wheel
                ? IsOwnWindow(ButtonEvent{MouseButton::Left, true, event.x, event.y, event.time, event.order})
                : !m_state.keyboard.record ||
                      (event.kind == InputEvent::Kind::Press && m_isOwnKey && m_isOwnKey(event));
        if (!leftOut)
            m_keys.push_back(event);
    }
}

quint64 Recorder::FirstPendingPress() const
{
    quint64 first = UINT64_MAX;
    for (const std::deque<Gesture>* gestures : {&m_waiting, &m_open})
        if (!gestures->empty() && gestures->front().followed)
            first = std::min(first, gestures->front().press.order);
    return first;
}

void Recorder::AddInputTasks(quint64 before)
{
    while (!m_keys.empty() && m_keys.front().order < before) {
        m_input.Feed(m_keys.front());
        m_keys.pop_front();
    }
    for (const InputMerger::Task& made : m_input.Take()) {
        const QString x = made.point ? QString::number(made.point->x()) : QString();
        const QString y = made.point ? QString::number(made.point->y()) : QString();
        AddWaitBefore(Moment{made.time, std::chrono::steady_clock::now()});
        m_doubleClick.AddTask(m_tasks, x, y, made.task.Text(), QByteArray());
    }
}

bool Recorder::IsOwnWindow(const ButtonEvent& press) const
{
    return m_isOwnWindow && m_isOwnWindow(press);
}

void Recorder::AddGesture(const Gesture& gesture)
{
    // What was typed before the press comes first; a key still held becomes a pushed task.
    AddInputTasks(gesture.followed ? gesture.press.order : 0);
    m_input.OtherTask();
    AddInputTasks(0);
    const MouseButton button = gesture.press.button;
    const int px = gesture.press.x;
    const int py = gesture.press.y;
    const int rx = gesture.release->x;
    const int ry = gesture.release->y;
    const std::optional<quint32> pressTime =
        gesture.followed ? std::optional<quint32>(gesture.press.time) : std::nullopt;
    const bool releaseTimed = gesture.followed && gesture.release->time != 0;
    const Moment pressed{pressTime, gesture.pressSeen};
    const Moment released{releaseTimed ? std::optional<quint32>(gesture.release->time) : std::nullopt,
                          gesture.releaseSeen};
    const QString x = QString::number(px);
    const QString y = QString::number(py);
    if (rx == px && ry == py) {
        const QString click = TaskKinds::Text(TaskKinds::Action::Click, button);
        // A click that turns the last row into a double click keeps that row's moment.
        if (!m_doubleClick.Merges(m_tasks, x, y, click, pressTime))
            AddWaitBefore(pressed);
        m_doubleClick.AddTask(m_tasks, x, y, click, CaptureImage(px, py), pressTime);
        return;
    }
    // Both images are taken after the release: they show the screen as the button left it.
    AddWaitBefore(pressed);
    m_doubleClick.AddTask(m_tasks, x, y, TaskKinds::Text(TaskKinds::Action::Down, button), CaptureImage(px, py),
                          pressTime);
    if (AddPath(gesture) && m_state.pace.keepPace) // the path plays its own time: the wait is what follows it
        m_lastMoment = Moment{gesture.moves.back().time, gesture.releaseSeen};
    AddWaitBefore(released);
    m_doubleClick.AddTask(m_tasks, QString::number(rx), QString::number(ry),
                          TaskKinds::Text(TaskKinds::Action::Up, button), CaptureImage(rx, ry));
}

bool Recorder::AddPath(const Gesture& gesture)
{
    InputTask path;
    path.kind = InputTask::Kind::Path;
    path.path = DragPath::Simplify(QPoint(gesture.press.x, gesture.press.y), gesture.press.time, gesture.moves);
    if (path.path.empty())
        return false;
    m_doubleClick.AddTask(m_tasks, QString(), QString(), path.Text(), QByteArray());
    return true;
}

void Recorder::AddWaitBefore(const Moment& moment)
{
    if (!m_state.pace.keepPace)
        return;
    const std::optional<Moment> last = std::exchange(m_lastMoment, moment);
    if (!last)
        return;
    qint64 ms = 0;
    if (last->desktopMs && moment.desktopMs)
        ms = qint32(*moment.desktopMs - *last->desktopMs); // the desktop's clock wraps; a difference does not
    else
        ms = std::chrono::duration_cast<std::chrono::milliseconds>(moment.seen - last->seen).count();
    m_tasks.AddTask(QString::number(std::max<qint64>(0, ms)), QString(), TaskKinds::Text(TaskKinds::Action::Wait),
                    QByteArray());
    m_doubleClick.Close();
}

bool Recorder::TakesImages() const
{
    // A task without an image could never be checked: the check keeps them whatever the switch.
    return m_state.options.saveImages || m_state.screenCheck.enabled;
}

QByteArray Recorder::CaptureImage(int x, int y)
{
    if (!TakesImages())
        return {};
    return DescriptiveImage::Encode(m_desktop.PixelBlock(x - kImageHalf, y - kImageHalf, kSide, kSide));
}

bool Recorder::StopKeysDown()
{
    // F12 first: while it is up, as at nearly every tick, Ctrl and Shift cost no query of the desktop.
    return m_desktop.IsKeyDown(KeySymbols::kF12) && m_desktop.IsKeyDown(KeySymbols::kControl) &&
           m_desktop.IsKeyDown(KeySymbols::kShift);
}

void Recorder::StopCheck()
{
    if (m_stopping) {
        if (!m_desktop.IsKeyDown(KeySymbols::kF12))
            Stop();
        return;
    }
    const bool down = StopKeysDown();
    if (!down)
        m_stopKeysArmed = true;
    m_stopping = down && m_stopKeysArmed;
}

void Recorder::Stop()
{
    if (!m_recording)
        return;
    AddWaitingGestures();
    m_open.clear();
    // The keys up to the stop keys are still on their way: the last of them close what is open.
    if (m_following)
        TakeInput();
    AddInputTasks(UINT64_MAX);
    m_input.Finish();
    AddInputTasks(UINT64_MAX);
    m_desktop.SetPointerShape();
    m_desktop.ClaimHotKeys(false);
    m_recording = false;
    m_stopping = false;
    m_desktop.WatchInput(false);
    m_following = false;
    emit ended();
    emit restoreRequested();
    if (m_tasks.IsEmpty())
        emit recordingEndedEmpty();
    else
        emit recordingEnded(m_tasks.Rows() - m_rowBase);
}
