#include "recorder/Recorder.h"

#include "core/AppPaths.h"
#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "tasks/DescriptiveImage.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kSide = DescriptiveImage::kSide;
constexpr int kImageHalf = kSide / 2;
// After a followed button reads up, its release may take a moment longer to come through the
// desktop's event stream: this many short sleeps at most, then the pointer tells the release point.
constexpr int kReleaseEventWaits = 50;
// One frame of a 60 Hz desktop and a little more.
constexpr std::chrono::milliseconds kRedrawAfterRelease{25};
} // namespace

Recorder::Recorder(TaskList& tasks, Desktop& desktop, SharedState& state, QTimer& m_pollTimer, QObject* parent)
    : QObject(parent), m_tasks(tasks), m_desktop(desktop), m_state(state), m_pollTimer(m_pollTimer),
      m_releaseSleep(KeyRelease::SleepFor)
{}

void Recorder::SetReleaseSleep(Sleep sleep)
{
    m_releaseSleep = std::move(sleep);
}

void Recorder::SetOwnWindowTest(OwnWindowTest test)
{
    m_isOwnWindow = std::move(test);
}

void Recorder::Record()
{
    m_pollTimer.start();
    m_desktop.SetPointerShape(AppPaths::RecordingCursor());
    emit minimiseRequested();
    m_state.recording = true;
    m_rowBase = m_tasks.Rows();
    if (m_tasks.Cell(1, TaskList::kColumnTask).isEmpty())
        m_rowBase = m_tasks.Rows() - 1;
    // This recording's first click must not merge with the last click of an earlier recording.
    m_tasks.CloseDoubleClickWindow();
    m_stopKeysArmed = false;
    m_following = m_desktop.FollowButtons(true);
    if (!m_following && !m_saidSamplingOnly) {
        std::fprintf(stderr, "clickwarden: %s\n", qPrintable(TextTable::Text(TextId::NoRecordExtension)));
        m_saidSamplingOnly = true;
    }
}

void Recorder::Tick()
{
    if (!m_state.recording)
        return;
    m_tasks.RaiseTickCounter();
    const bool waited = m_following ? TakeFollowedPresses() : SampleButtons();
    // Ticks that fell due while a release was awaited would otherwise fire back to back and use
    // up the double-click window at once: count it from the end of the capture.
    if (waited)
        m_pollTimer.start();
    RecordingStopCheck();
}

// The presses and releases since the last tick, in the order they came; a press still held is
// followed to its release. Returns whether it waited for one.
bool Recorder::TakeFollowedPresses()
{
    std::vector<Gesture> gestures;
    Receive(gestures, m_desktop.TakeButtonEvents());
    bool waited = false;
    for (std::size_t i = 0; i < gestures.size(); ++i) {
        if (!gestures[i].release) {
            FollowToRelease(gestures, i);
            waited = true;
        }
        const Gesture& gesture = gestures[i];
        if (!gesture.own)
            AddGesture(gesture.press.button, gesture.press.x, gesture.press.y, gesture.release->x, gesture.release->y,
                       gesture.press.time);
    }
    return waited;
}

void Recorder::Receive(std::vector<Gesture>& gestures, const std::vector<ButtonEvent>& events)
{
    for (const ButtonEvent& event : events) {
        if (event.pressed) {
            gestures.push_back(Gesture{event, std::nullopt, IsOwnWindow(event)});
            continue;
        }
        const auto open = std::find_if(gestures.begin(), gestures.end(), [&](const Gesture& gesture) {
            return gesture.press.button == event.button && !gesture.release;
        });
        // A release without its press: the press came before the recording started, or the
        // release point was already taken from the pointer.
        if (open != gestures.end())
            open->release = event;
    }
}

void Recorder::FollowToRelease(std::vector<Gesture>& gestures, std::size_t index)
{
    const int button = gestures[index].press.button;
    KeyRelease::WaitForRelease(m_desktop, button, m_releaseSleep);
    for (int wait = 0; !gestures[index].release && wait < kReleaseEventWaits; ++wait) {
        Receive(gestures, m_desktop.TakeButtonEvents());
        if (!gestures[index].release)
            m_releaseSleep(KeyRelease::kQuickPoll);
    }
    if (!gestures[index].release)
        gestures[index].release = ButtonEvent{button, false, m_desktop.PointerX(), m_desktop.PointerY(), 0};
}

// Where the desktop cannot follow the buttons: each button that reads down now is followed to
// its release. Returns whether one was.
bool Recorder::SampleButtons()
{
    bool captured = false;
    for (const int button : VirtualKey::kButtons) {
        if (m_desktop.IsKeyDown(button)) {
            CaptureButton(button);
            captured = true;
        }
    }
    return captured;
}

void Recorder::CaptureButton(int button)
{
    const int px = m_desktop.PointerX();
    const int py = m_desktop.PointerY();
    const bool own = IsOwnWindow(ButtonEvent{button, true, px, py, 0});
    KeyRelease::WaitForRelease(m_desktop, button, m_releaseSleep);
    const int rx = m_desktop.PointerX();
    const int ry = m_desktop.PointerY();
    if (!own)
        AddGesture(button, px, py, rx, ry, std::nullopt);
}

bool Recorder::IsOwnWindow(const ButtonEvent& press) const
{
    return m_isOwnWindow && m_isOwnWindow(press);
}

void Recorder::AddGesture(int button, int px, int py, int rx, int ry, std::optional<quint32> pressTime)
{
    // A button clicked on is still drawn pressed for a moment after the release, until its program
    // has read the release: an image taken then would never match the screen before a replayed click.
    if (m_state.options.saveImages)
        KeyRelease::SleepFor(kRedrawAfterRelease);
    if (rx == px && ry == py) {
        m_tasks.AddTask(QString::number(px), QString::number(py), TaskKinds::Text(TaskKinds::Action::Click, button),
                        CaptureImage(px, py), TaskOrigin::Recorded, pressTime);
        return;
    }
    // Both images are taken after the release: they show the screen as the button left it.
    m_tasks.AddTask(QString::number(px), QString::number(py), TaskKinds::Text(TaskKinds::Action::Down, button),
                    CaptureImage(px, py), TaskOrigin::Recorded, pressTime);
    m_tasks.AddTask(QString::number(rx), QString::number(ry), TaskKinds::Text(TaskKinds::Action::Up, button),
                    CaptureImage(rx, ry));
}

QByteArray Recorder::CaptureImage(int x, int y)
{
    if (!m_state.options.saveImages)
        return {};
    return DescriptiveImage::Encode(m_desktop.PixelBlock(x - kImageHalf, y - kImageHalf, kSide, kSide));
}

bool Recorder::StopKeysDown()
{
    // F12 first: while it is up, as at nearly every tick, Ctrl and Shift cost no query of the desktop.
    return m_desktop.IsKeyDown(VirtualKey::kF12) && m_desktop.IsKeyDown(VirtualKey::kControl) &&
           m_desktop.IsKeyDown(VirtualKey::kShift);
}

bool Recorder::RecordingStopCheck()
{
    const bool down = StopKeysDown();
    if (!down)
        m_stopKeysArmed = true;
    if (!down || !m_stopKeysArmed || m_state.playing)
        return false;

    // The window comes back only once F12 is up, so the key does not reach it.
    KeyRelease::WaitForRelease(m_desktop, VirtualKey::kF12, m_releaseSleep);
    Stop();
    return true;
}

void Recorder::Stop()
{
    if (!m_state.recording)
        return;
    m_desktop.SetPointerShape();
    m_state.recording = false;
    m_desktop.FollowButtons(false);
    m_following = false;
    emit restoreRequested();
    m_pollTimer.stop();
    if (m_tasks.IsEmpty())
        emit recordingEndedEmpty();
    else
        emit recordingEnded(m_tasks.Rows() - m_rowBase);
}
