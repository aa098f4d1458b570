#include "app/PointPicker.h"

#include "tasks/DescriptiveImage.h"

#include <algorithm>

namespace {
constexpr int kImageHalf = DescriptiveImage::kSide / 2;
constexpr quint32 kEscape = 0xff1b;
} // namespace

PointPicker::PointPicker(Desktop& desktop, OwnWindowTest isOwnWindow, QObject* parent)
    : QObject(parent), m_desktop(desktop), m_isOwnWindow(std::move(isOwnWindow))
{
    connect(&m_timer, &QTimer::timeout, this, &PointPicker::Tick);
}

PointPicker::~PointPicker()
{
    if (m_following)
        m_desktop.WatchInput(false);
}

void PointPicker::Start(int intervalMs, bool images)
{
    m_images = images;
    m_press.reset();
    m_following = m_desktop.WatchInput(true);
    m_desktop.TakeButtonEvents(); // what came before the pick began is not the pick
    m_desktop.TakeInputEvents();
    // A button already down when the pick begins (the click on the menu) must come up first.
    m_wasDown = m_desktop.IsButtonDown(MouseButton::Left);
    m_timer.start(intervalMs);
}

void PointPicker::Cancel()
{
    if (!IsPicking())
        return;
    m_timer.stop();
    if (std::exchange(m_following, false))
        m_desktop.WatchInput(false);
    emit cancelled();
}

void PointPicker::Tick()
{
    if (EscapePressed())
        return Cancel();
    if (m_following) {
        for (const ButtonEvent& event : m_desktop.TakeButtonEvents()) {
            if (event.button != MouseButton::Left)
                continue;
            if (event.pressed && !m_press)
                m_press = event;
            else if (!event.pressed && m_press)
                return Finish(*m_press);
        }
        return;
    }
    const bool down = m_desktop.IsButtonDown(MouseButton::Left);
    if (down && !m_wasDown)
        m_press = ButtonEvent{MouseButton::Left, true, m_desktop.PointerX(), m_desktop.PointerY()};
    m_wasDown = down;
    if (!down && m_press)
        Finish(*m_press);
}

bool PointPicker::EscapePressed()
{
    if (!m_following)
        return m_desktop.IsKeyDown(kEscape);
    const std::vector<InputEvent> keys = m_desktop.TakeInputEvents();
    return std::any_of(keys.begin(), keys.end(), [](const InputEvent& key) {
        return key.kind == InputEvent::Kind::Press && key.keysym == kEscape;
    });
}

void PointPicker::Finish(const ButtonEvent& press)
{
    if (m_isOwnWindow && m_isOwnWindow(press))
        return Cancel();
    m_timer.stop();
    if (std::exchange(m_following, false))
        m_desktop.WatchInput(false);
    // The image is taken after the release, as the recorder takes it: the screen as the button left it.
    const QByteArray image =
        m_images ? DescriptiveImage::Encode(m_desktop.PixelBlock(press.x - kImageHalf, press.y - kImageHalf,
                                                                 DescriptiveImage::kSide, DescriptiveImage::kSide))
                 : QByteArray();
    emit picked(press.x, press.y, image);
}
