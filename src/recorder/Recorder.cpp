#include "recorder/Recorder.h"

#include "core/AppPaths.h"
#include "core/TextTable.h"
#include "desktop/Desktop.h"
#include "tasks/DescriptiveImage.h"
#include "tasks/SharedState.h"
#include "tasks/TaskKinds.h"
#include "tasks/TaskList.h"

#include <QTimer>

#include <charconv>

namespace {
constexpr int kSide = DescriptiveImage::kSide;
constexpr int kImageHalf = kSide / 2;

// One image field: the colour as a signed decimal number, padded with blanks to the field width.
void AppendField(QByteArray& image, quint32 colour)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<qint32>(colour));
    const auto length = static_cast<int>(result.ptr - digits);
    image.append(digits, length);
    if (length < DescriptiveImage::kFieldWidth)
        image.append(DescriptiveImage::kFieldWidth - length, ' ');
}
} // namespace

Recorder::Recorder(TaskList& tasks, Desktop& desktop, SharedState& state, QTimer& tmrRec, QObject* parent)
    : QObject(parent), m_tasks(tasks), m_desktop(desktop), m_state(state), tmrRec(tmrRec),
      m_releaseSleep(KeyRelease::SleepFor)
{}

void Recorder::SetReleaseSleep(Sleep sleep)
{
    m_releaseSleep = std::move(sleep);
}

void Recorder::mnuComandiRec_Click()
{
    tmrRec.start();
    m_desktop.SetPointerShape(AppPaths::RecordingCursor());
    emit minimiseRequested();
    m_state.recording = true;
    m_rowBase = m_tasks.Rows();
    if (m_tasks.Cell(1, TaskList::kColumnTask).isEmpty())
        m_rowBase = m_tasks.Rows() - 1;
    // This recording's first click must not merge with the last click of an earlier recording.
    m_tasks.CloseDoubleClickWindow();
    m_stopKeysArmed = false;
}

void Recorder::tmrRec_Timer()
{
    if (!m_state.recording)
        return;
    m_tasks.RaiseTickCounter();
    bool captured = false;
    for (const int button : VirtualKey::kButtons) {
        if (m_desktop.IsKeyDown(button)) {
            CaptureButton(button);
            captured = true;
        }
    }
    // Ticks that fell due while a release was awaited would otherwise fire back to back and use
    // up the double-click window at once: count it from the end of the capture.
    if (captured)
        tmrRec.start();
    RecordingStopCheck();
}

void Recorder::CaptureButton(int button)
{
    const int px = m_desktop.PointerX();
    const int py = m_desktop.PointerY();
    KeyRelease::WaitForRelease(m_desktop, button, m_releaseSleep);
    const int rx = m_desktop.PointerX();
    const int ry = m_desktop.PointerY();

    if (rx == px && ry == py) {
        m_tasks.AddTask(QString::number(px), QString::number(py), TaskKinds::Text(TaskKinds::Action::Click, button),
                        CaptureImage(px, py));
        return;
    }
    // Both images are taken after the release: they show the screen as the button left it.
    m_tasks.AddTask(QString::number(px), QString::number(py), TaskKinds::Text(TaskKinds::Action::Down, button),
                    CaptureImage(px, py));
    m_tasks.AddTask(QString::number(rx), QString::number(ry), TaskKinds::Text(TaskKinds::Action::Up, button),
                    CaptureImage(rx, ry));
}

QByteArray Recorder::CaptureImage(int x, int y)
{
    if (!m_state.options.SalvaImmagine)
        return {};
    const std::vector<quint32> block = m_desktop.PixelBlock(x - kImageHalf, y - kImageHalf, kSide, kSide);
    QByteArray image;
    image.reserve(DescriptiveImage::kFieldCount * DescriptiveImage::kFieldWidth);
    // The block comes row by row; the image text goes column by column, each from top to bottom.
    for (int i = 0; i < kSide; ++i) {
        for (int j = 0; j < kSide; ++j)
            AppendField(image, block[static_cast<std::size_t>(j * kSide + i)]);
    }
    return image;
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
    m_desktop.SetPointerShape();
    m_state.recording = false;
    emit restoreRequested();
    tmrRec.stop();
    if (m_tasks.IsEmpty())
        emit recordingEndedEmpty();
    else
        emit recordingEnded(m_tasks.Rows() - m_rowBase);
    return true;
}
